#include "editor/commands/searchlink.h"

#include "editor/document/scndocument.h"
#include "editor/pages/pagedispatch.h"
#include "editor/windows/listform.h"
#include "mapview/hexgeom.h"
#include "mapview/mapform.h"
#include "scenario/scncheckall.h"

namespace varno {

SearchLink::SearchLink(TScnDocument& doc, TPageDispatch& pages, TfrmMap* map, QWidget& window)
    : doc_(doc), pages_(pages), map_(map), window_(window) {}

void SearchLink::StoreSetupEdits() { pages_.StoreSetupEdits(); }

void SearchLink::StorePageEdits() { pages_.StoreAll(); }

void SearchLink::ReshowSelectedSetup() { pages_.ReshowSelectedSetup(); }

TfrmList& SearchLink::ListWindow() {
    if (!list_) {
        list_ = new TfrmList(&window_);
        list_->Follow(doc_);
        list_->setAttribute(Qt::WA_QuitOnClose, false);
    }
    return *list_;
}

bool SearchLink::ClickLine(ScnListBox list, int line) { return pages_.ClickLine(list, line); }

void SearchLink::CentreMapOn(int col, int row) {
    if (!map_ || !map_->isVisible()) return;
    map_->CentreOn(col, row);
}

void SearchLink::MarkCheckedHexes(const std::vector<HexPos>& hexes) {
    if (map_) map_->ShowCheckFindings(hexes);
}

void SearchLink::GoToHex(int col, int row) {
    if (!map_) return;
    // Outlined first: a map that cannot be loaded is reported, the outline waits.
    map_->GoToHex(col, row);
    if (!map_->isVisible()) {
        map_->Show();
        map_->GoToHex(col, row);  // the view has its size now
    }
}

void SearchLink::ClearGoToHex() {
    if (map_) map_->ClearGoToHex();
}

std::optional<MapGrid> SearchLink::MapGridOfGame() {
    if (map_ && map_->NumCols() > 0 && map_->NumRows() > 0) return MapGrid{map_->NumCols(), map_->NumRows()};
    return LoadCheckMap(doc_.Scn().GameDir).Grid;
}

}  // namespace varno
