#include "editor/maplink.h"

#include <QTabWidget>

#include "editor/listbox.h"
#include "editor/scndocument.h"
#include "editor/setunitspage.h"
#include "mapview/mapform.h"
#include "scenario/ooblookup.h"
#include "scenario/scnedit.h"

namespace varno {

const Scenario& TfrmEdit::MapLink::MapScenario() { return form_.Scn(); }

const TSetupRec* TfrmEdit::MapLink::CurrentPlacement() { return form_.doc_->Sel().CurSetup(); }

QString TfrmEdit::MapLink::SetupLineLabel(const TSetupRec* rec, int n) { return form_.SetupLineLabel(rec, n); }

// The map's handlers are not the main window's: each of these is a user's
// action of its own (one step of the history), shown in the window's title
// and its page's editing line.

void TfrmEdit::MapLink::SelectPlacement(int index, QObject* sender) {
    form_.userAction([&] {
        form_.lbSetUnits->SelectLine(index);
        form_.lbSetUnitsClick(sender);
    });
}

void TfrmEdit::MapLink::MoveCurSetup(int col, int row) {
    form_.userAction([&] { form_.mapMoveCurSetup(col, row); });
}

std::optional<HexPos> TfrmEdit::MapLink::PlaceEntry(int index, int col, int row) {
    std::optional<HexPos> left;
    form_.userAction([&] { left = placeEntry(index, col, row); });
    return left;
}

std::optional<HexPos> TfrmEdit::MapLink::placeEntry(int index, int col, int row) {
    TfrmEdit& f = form_;
    Scenario& scn = f.Scn();
    // The entries the column shows: line i is entry i.
    if (index < 0 || index >= f.lbUnits->count() || index >= static_cast<int>(scn.OobList().size()))
        return std::nullopt;
    const TOobRec* entry = scn.OobList()[static_cast<std::size_t>(index)];
    // What was typed on the page goes into its placement first, as before Add.
    f.StoreSetupEdits();
    const TSetupRec* placed = entry->Kind != 'S' ? entry->Setup : nullptr;
    const HexPos left = placed ? HexPos{placed->Col, placed->Row} : HexPos{col, row};
    const TSetupRec* rec = PlaceEntryAt(scn, entry, col, row, f.pgSetUnits->Defaults(), f.ListLines(), f.doc_->Step());
    if (!rec) {
        f.setStatus(QStringLiteral("Only units, leaders and wagons can be placed"));
        return std::nullopt;
    }
    // Shown on Set Units from the record, without the page's fields being
    // stored into it first; its entry is shown in the column.
    f.Notebook1->setCurrentWidget(f.pgSetUnits);
    f.lbSetUnits->SelectLine(IndexIn(scn.SetupList(), rec));
    f.doc_->Sel().SelectNone<TSetupRec>();
    f.lbSetUnitsClick(f.frmMap);
    return left;
}

QRect TfrmEdit::MapLink::MainFrame() { return form_.frameGeometry(); }

void TfrmEdit::MapLink::ShowMapError(QWidget* parent, const QString& message) {
    form_.dialogs_.ShowError(parent, message);
}

}  // namespace varno
