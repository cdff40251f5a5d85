#include "editor/commands/searchlink.h"

#include <QTabWidget>

#include "editor/pages/commandspage.h"
#include "editor/pages/reinforcementspage.h"
#include "editor/pages/releasespage.h"
#include "editor/pages/setunitspage.h"
#include "editor/widgets/listbox.h"
#include "mapview/hexgeom.h"
#include "mapview/mapform.h"
#include "scenario/scncheckall.h"

namespace varno {

void TfrmEdit::SearchLink::StorePageEdits() { form_.StorePageEdits(); }

bool TfrmEdit::SearchLink::ClickLine(ScnListBox list, int line) {
    TfrmEdit& f = form_;
    QWidget* page = nullptr;
    TListBox* box = nullptr;
    void (TfrmEdit::*click)(QObject*) = nullptr;
    switch (list) {
    case ScnListBox::SetUnits:
        page = f.pgSetUnits;
        box = f.lbSetUnits;
        click = &TfrmEdit::lbSetUnitsClick;
        break;
    case ScnListBox::Releases:
        page = f.pgReleases;
        box = f.lbReleases;
        click = &TfrmEdit::lbReleasesClick;
        break;
    case ScnListBox::Reinfor:
        page = f.pgReinfor;
        box = f.lbReinfor;
        click = &TfrmEdit::lbReinforClick;
        break;
    case ScnListBox::ReinUnits:
        box = f.lbReinUnits;
        click = &TfrmEdit::lbReinUnitsClick;
        break;
    case ScnListBox::Commands:
        page = f.pgCommands;
        box = f.lbCommands;
        click = &TfrmEdit::lbCommandsClick;
        break;
    default: return false;
    }
    if (line < 0 || line >= box->count()) return false;
    if (page) f.Notebook1->setCurrentWidget(page);
    box->SelectLine(line);
    (f.*click)(box);
    return true;
}

void TfrmEdit::SearchLink::CentreMapOn(int col, int row) {
    TfrmMap* map = form_.frmMap;
    if (!map || !map->isVisible()) return;
    map->CentreOn(col, row);
}

void TfrmEdit::SearchLink::MarkCheckedHexes(const std::vector<HexPos>& hexes) {
    if (form_.frmMap) form_.frmMap->ShowCheckFindings(hexes);
}

void TfrmEdit::SearchLink::GoToHex(int col, int row) {
    TfrmMap* map = form_.frmMap;
    if (!map) return;
    // Outlined first: a map that cannot be loaded is reported, the outline waits.
    map->GoToHex(col, row);
    if (!map->isVisible()) {
        map->Show();
        map->GoToHex(col, row);  // the view has its size now
    }
}

void TfrmEdit::SearchLink::ClearGoToHex() {
    if (form_.frmMap) form_.frmMap->ClearGoToHex();
}

std::optional<MapGrid> TfrmEdit::SearchLink::MapGridOfGame() {
    if (const TfrmMap* map = form_.frmMap; map && map->NumCols() > 0 && map->NumRows() > 0)
        return MapGrid{map->NumCols(), map->NumRows()};
    return LoadCheckMap(form_.Scn().GameDir).Grid;
}

}  // namespace varno
