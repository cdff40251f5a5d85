#include "editor/commands/maplink.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLayout>
#include <QTabWidget>
#include <algorithm>

#include "editor/commands/searchcommands.h"
#include "editor/dialogs.h"
#include "editor/document/manyrecords.h"
#include "editor/document/scndocument.h"
#include "editor/pages/oobcolumn.h"
#include "editor/pages/pagedispatch.h"
#include "editor/pages/setunitspage.h"
#include "editor/reporterror.h"
#include "editor/widgets/listbox.h"
#include "mapview/mapform.h"
#include "scenario/ooblookup.h"
#include "scenario/scnclock.h"
#include "scenario/scnedit.h"

namespace varno {

TfrmEdit::MapLink::MapLink(TfrmEdit& form) : form_(form) {
    TScnDocument& doc = *form.doc_;
    QObject::connect(&doc, &TScnDocument::changed, &form, [this](const DocChange& change) { changed(change); });
    // The map outlines the selected placement and names it in its status line.
    QObject::connect(&doc, &TScnDocument::selectionChanged, &form, [this](RecordKind kind) {
        if (kind != RecordKind::Placement || !form_.frmMap) return;
        form_.frmMap->ScenarioChanged(false);
        form_.frmMap->ShowCurrentUnit();
    });
}

void TfrmEdit::MapLink::changed(const DocChange& change) {
    TfrmMap* map = form_.frmMap;
    if (!map) return;
    // Another scenario (Read, Restore, New) is drawn anew once its order of
    // battle was read; any other change draws the stacks of the hexes it touched.
    if (change.Whole) {
        if (change.OobRead) startAgain(*map);
    } else {
        map->RedrawHexes(change.Hexes);
    }
    if (change.Records()) map->ScenarioChanged(ChangesEventDates(change));
    if (change.Whole) map->ShowCurrentUnit();
}

void TfrmEdit::MapLink::startAgain(TfrmMap& map) {
    // No outline of the scenario before; a map that cannot be loaded or shown
    // is reported, and the rest goes on.
    map.ClearMarks();
    reportErrors([&] { map.ClearUnits(); });
    reportErrors([&] { map.Show(); });
    map.DrawPlacements();
}

void TfrmEdit::MapLink::RefreshMap() {
    TfrmMap* map = form_.frmMap;
    if (!map) return;
    // A map that cannot be loaded again is reported; the placements are
    // drawn all the same, as Read does.
    reportErrors([&] { map->ClearUnits(); });
    map->DrawPlacements();
}

void TfrmEdit::MapLink::reportErrors(const std::function<void()>& action) {
    ReportErrors(form_.dialogs_, &form_, action);
}

const Scenario& TfrmEdit::MapLink::MapScenario() { return form_.Scn(); }

const TSetupRec* TfrmEdit::MapLink::CurrentPlacement() { return form_.doc_->Sel().CurSetup(); }

QString TfrmEdit::MapLink::SetupLineLabel(const TSetupRec* rec, int n) { return form_.SetupLineLabel(rec, n); }

// The map's handlers are not the main window's: each of these is a user's
// action of its own (one step of the history), shown in the window's title
// and its page's editing line.

void TfrmEdit::MapLink::SelectPlacement(int index, QObject* sender) {
    form_.userAction([&] {
        // A pick of one of several selected placements keeps them selected:
        // the drop moves them all.
        const std::vector<const TSetupRec*> chosen = form_.many_->SelectedPlacements();
        const RecordList<TSetupRec> list = form_.Scn().SetupList();
        const TSetupRec* picked =
            index >= 0 && index < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(index)] : nullptr;
        form_.lbSetUnits->SelectLine(index);
        form_.lbSetUnitsClick(sender);
        if (chosen.size() > 1 && std::find(chosen.begin(), chosen.end(), picked) != chosen.end())
            form_.many_->SelectPlacements(chosen, picked);
    });
}

std::vector<const TSetupRec*> TfrmEdit::MapLink::SelectedPlacements() { return form_.many_->SelectedPlacements(); }

void TfrmEdit::MapLink::SelectPlacements(const std::vector<const TSetupRec*>& recs, const TSetupRec* current) {
    form_.guarded([&] {
        form_.many_->SelectPlacements(recs, current);
        if (recs.size() == 1 && form_.doc_->Sel().CurSetup()) form_.lbSetUnitsClick(form_.frmMap);
    });
}

void TfrmEdit::MapLink::MoveSelection(HexPos from, HexPos to) {
    form_.guarded([&] { form_.many_->MoveSelection(from, to); });
}

void TfrmEdit::MapLink::PasteAt(HexPos hex) {
    form_.guarded([&] { form_.many_->Paste(hex); });
}

void TfrmEdit::MapLink::PlaceOrganisationAt(HexPos hex) {
    form_.guarded([&] {
        const TOobRec* org = form_.pnlOob->SelectedEntry();
        if (!org) {
            form_.setStatus(QStringLiteral("Please select an organisation"));
            return;
        }
        form_.many_->PlaceOrganisation(org, hex);
    });
}

void TfrmEdit::MapLink::SearchForHex() {
    form_.guarded([&] { form_.search_->mnuSearchHexClick(form_.mnuSearchHex); });
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
    // An organisation's line: its leader and units not yet placed, around the hex.
    if (entry->Kind != 'U' && entry->Kind != 'L' && entry->Kind != 'S') {
        f.many_->PlaceOrganisation(entry, {col, row});
        return HexPos{col, row};
    }
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

void TfrmEdit::MapLink::SelectRecord(ScnListBox list, int index) {
    TfrmEdit& f = form_;
    f.userAction([&] {
        switch (list) {
        case ScnListBox::SetUnits:
            if (index < 0 || index >= f.lbSetUnits->count()) return;
            f.Notebook1->setCurrentWidget(f.pgSetUnits);
            f.lbSetUnits->SelectLine(index);
            f.lbSetUnitsClick(f.frmMap);
            break;
        case ScnListBox::Releases: f.pages_->SelectOnPage(ScheduleEventKind::Release, index, f.frmMap); break;
        case ScnListBox::Reinfor: f.pages_->SelectOnPage(ScheduleEventKind::Arrival, index, f.frmMap); break;
        case ScnListBox::Commands: f.pages_->SelectOnPage(ScheduleEventKind::Command, index, f.frmMap); break;
        default: break;
        }
    });
}

// A group's or a command's hex from the map: what was typed on the pages is
// stored first (a step of its own), then the hex alone is one step, and the
// page shows the record's values again.
void TfrmEdit::MapLink::MoveGroupTo(int index, int col, int row) {
    TfrmEdit& f = form_;
    Scenario& scn = f.Scn();
    if (index < 0 || index >= static_cast<int>(scn.ReinfList().size())) return;
    f.StorePageEdits();
    f.doc_->Commit();
    f.userAction([&] {
        const TReinfGroup* g = scn.ReinfList()[static_cast<std::size_t>(index)];
        GroupFields fields = FieldsOf(*g);
        fields.Col = col;
        fields.Row = row;
        StoreGroup(scn, g, fields, f.ListLines(), f.doc_->Step());
        // The page shows the group's new hex when it shows the group (with
        // no group current, showing it again stores nothing over it).
        if (f.doc_->Sel().CurReinf() == g) {
            f.lbReinfor->SelectLine(index);
            f.doc_->Sel().SelectNone<TReinfGroup>();
            f.lbReinforClick(nullptr);
        }
    });
}

void TfrmEdit::MapLink::AimCommandAt(int index, int col, int row) {
    TfrmEdit& f = form_;
    Scenario& scn = f.Scn();
    if (index < 0 || index >= static_cast<int>(scn.CommandList().size())) return;
    f.StorePageEdits();
    f.doc_->Commit();
    f.userAction([&] {
        const TCommandRec* c = scn.CommandList()[static_cast<std::size_t>(index)];
        CommandFields fields = FieldsOf(*c);
        fields.Col = col;
        fields.Row = row;
        StoreCommand(scn, c, fields, f.ListLines(), f.doc_->Step());
        if (f.doc_->Sel().CurCommand() == c) {
            f.lbCommands->SelectLine(index);
            f.doc_->Sel().SelectNone<TCommandRec>();
            f.lbCommandsClick(nullptr);
        }
    });
}

std::optional<MapHost::PictureChoice> TfrmEdit::MapLink::AskMapPicture(QWidget* parent) {
    OpenFileRequest request;
    request.title = QStringLiteral("Export Map Picture");
    request.fileName = QStringLiteral("map.png");
    request.filters = {QStringLiteral("PNG picture (*.png)"), QStringLiteral("SVG picture (*.svg)")};
    request.defaultSuffix = QStringLiteral("png");
    const QString path = form_.dialogs_.SaveFile(parent, request);
    if (path.isEmpty()) return std::nullopt;
    const Answer whole = form_.dialogs_.AskYesNoCancel(
        parent, QStringLiteral("Export the whole map? Yes: the whole map; No: the part in view."));
    if (whole == Answer::Cancel) return std::nullopt;
    return PictureChoice{path, whole == Answer::Yes};
}

QRect TfrmEdit::MapLink::MainFrame() {
    // Its final size: a layout change still pending (lists just filled, a
    // column width just applied) may yet grow the window to its minimum.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    if (QLayout* layout = form_.layout()) layout->activate();
    return form_.frameGeometry();
}

void TfrmEdit::MapLink::ShowMapError(QWidget* parent, const QString& message) {
    form_.dialogs_.ShowError(parent, message);
}

}  // namespace varno
