#include "editor/commands/maplink.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLayout>
#include <QTabWidget>
#include <QWidget>
#include <algorithm>

#include "editor/commands/searchcommands.h"
#include "editor/dialogs.h"
#include "editor/document/manyrecords.h"
#include "editor/document/scndocument.h"
#include "editor/editwidgets.h"
#include "editor/pages/oobcolumn.h"
#include "editor/pages/pagedispatch.h"
#include "editor/pages/setunitspage.h"
#include "editor/reporterror.h"
#include "editor/widgets/listbox.h"
#include "editor/widgets/textconv.h"
#include "mapview/mapform.h"
#include "scenario/ooblookup.h"
#include "scenario/scnclock.h"
#include "scenario/scnedit.h"

namespace varno {

MapLink::MapLink(const PageContext& ctx, TEditWidgets& widgets, TPageDispatch& pages, TManyRecords& many,
                 TSearchCommands& search, TfrmMap* map, Window window)
    : ctx_(ctx), w_(widgets), pages_(pages), many_(many), search_(search), map_(map), window_(std::move(window)) {
    TScnDocument& doc = ctx_.doc;
    QObject::connect(&doc, &TScnDocument::changed, ctx_.window, [this](const DocChange& change) { changed(change); });
    // The map outlines the selected placement and names it in its status line.
    QObject::connect(&doc, &TScnDocument::selectionChanged, ctx_.window, [this](RecordKind kind) {
        if (kind != RecordKind::Placement || !map_) return;
        map_->ScenarioChanged(false);
        map_->ShowCurrentUnit();
    });
}

void MapLink::changed(const DocChange& change) {
    if (!map_) return;
    // Another scenario (Read, Restore, New) is drawn anew once its order of
    // battle was read; any other change draws the stacks of the hexes it touched.
    if (change.Whole) {
        if (change.OobRead) startAgain(*map_);
    } else {
        map_->RedrawHexes(change.Hexes);
    }
    if (change.Records()) map_->ScenarioChanged(ChangesEventDates(change));
    if (change.Whole) map_->ShowCurrentUnit();
}

void MapLink::startAgain(TfrmMap& map) {
    // No outline of the scenario before; a map that cannot be loaded or shown
    // is reported, and the rest goes on.
    map.ClearMarks();
    reportErrors([&] { map.ClearUnits(); });
    reportErrors([&] { map.Show(); });
    map.DrawPlacements();
}

void MapLink::RefreshMap() {
    if (!map_) return;
    // A map that cannot be loaded again is reported; the placements are
    // drawn all the same, as Read does.
    reportErrors([&] { map_->ClearUnits(); });
    map_->DrawPlacements();
}

void MapLink::reportErrors(const std::function<void()>& action) { ReportErrors(ctx_.dialogs, ctx_.window, action); }

const Scenario& MapLink::MapScenario() { return ctx_.scn(); }

const TSetupRec* MapLink::CurrentPlacement() { return ctx_.sel().CurSetup(); }

QString MapLink::SetupLineLabel(const TSetupRec* rec, int n) {
    // A unit's name, or the last n characters of the placement's line.
    if (!rec || n <= 0) return {};
    return Latin1(varno::SetupLineLabel(*rec, static_cast<std::size_t>(n)));
}

void MapLink::SelectPlacement(int index, QObject* sender) {
    window_.act([&] {
        // A pick of one of several selected placements keeps them selected:
        // the drop moves them all.
        const std::vector<const TSetupRec*> chosen = many_.SelectedPlacements();
        const RecordList<TSetupRec> list = ctx_.scn().SetupList();
        const TSetupRec* picked =
            index >= 0 && index < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(index)] : nullptr;
        w_.lbSetUnits->SelectLine(index);
        pages_.SetUnitsClick(sender);
        if (chosen.size() > 1 && std::find(chosen.begin(), chosen.end(), picked) != chosen.end())
            many_.SelectPlacements(chosen, picked);
    });
}

std::vector<const TSetupRec*> MapLink::SelectedPlacements() { return many_.SelectedPlacements(); }

void MapLink::SelectPlacements(const std::vector<const TSetupRec*>& recs, const TSetupRec* current) {
    window_.guarded([&] {
        many_.SelectPlacements(recs, current);
        if (recs.size() == 1 && ctx_.sel().CurSetup()) pages_.SetUnitsClick(map_);
    });
}

void MapLink::MoveSelection(HexPos from, HexPos to) {
    window_.guarded([&] { many_.MoveSelection(from, to); });
}

void MapLink::PasteAt(HexPos hex) {
    window_.guarded([&] { many_.Paste(hex); });
}

void MapLink::PlaceOrganisationAt(HexPos hex) {
    window_.guarded([&] {
        const TOobRec* org = w_.pnlOob->SelectedEntry();
        if (!org) {
            ctx_.status(QStringLiteral("Please select an organisation"));
            return;
        }
        many_.PlaceOrganisation(org, hex);
    });
}

void MapLink::SearchForHex() {
    window_.guarded([&] { search_.mnuSearchHexClick(w_.mnuSearchHex); });
}

void MapLink::MoveCurSetup(int col, int row) {
    window_.act([&] { window_.moveCurSetup(col, row); });
}

std::optional<HexPos> MapLink::PlaceEntry(int index, int col, int row) {
    std::optional<HexPos> left;
    window_.act([&] { left = placeEntry(index, col, row); });
    return left;
}

std::optional<HexPos> MapLink::placeEntry(int index, int col, int row) {
    Scenario& scn = ctx_.scn();
    // The entries the column shows: line i is entry i.
    if (index < 0 || index >= w_.lbUnits->count() || index >= static_cast<int>(scn.OobList().size()))
        return std::nullopt;
    const TOobRec* entry = scn.OobList()[static_cast<std::size_t>(index)];
    // What was typed on the page goes into its placement first, as before Add.
    pages_.StoreSetupEdits();
    const TSetupRec* placed = entry->Kind != 'S' ? entry->Setup : nullptr;
    const HexPos left = placed ? HexPos{placed->Col, placed->Row} : HexPos{col, row};
    // An organisation's line: its leader and units not yet placed, around the hex.
    if (entry->Kind != 'U' && entry->Kind != 'L' && entry->Kind != 'S') {
        many_.PlaceOrganisation(entry, {col, row});
        return HexPos{col, row};
    }
    const TSetupRec* rec = PlaceEntryAt(scn, entry, col, row, w_.pgSetUnits->Defaults(), ctx_.lines, ctx_.step());
    if (!rec) {
        ctx_.status(QStringLiteral("Only units, leaders and wagons can be placed"));
        return std::nullopt;
    }
    // Shown on Set Units from the record, without the page's fields being
    // stored into it first; its entry is shown in the column.
    w_.Notebook1->setCurrentWidget(w_.pgSetUnits);
    w_.lbSetUnits->SelectLine(IndexIn(scn.SetupList(), rec));
    ctx_.sel().SelectNone<TSetupRec>();
    pages_.SetUnitsClick(map_);
    return left;
}

void MapLink::SelectRecord(ScnListBox list, int index) {
    window_.act([&] {
        switch (list) {
        case ScnListBox::SetUnits: pages_.ClickLine(ScnListBox::SetUnits, index); break;
        case ScnListBox::Releases: pages_.SelectOnPage(ScheduleEventKind::Release, index, map_); break;
        case ScnListBox::Reinfor: pages_.SelectOnPage(ScheduleEventKind::Arrival, index, map_); break;
        case ScnListBox::Commands: pages_.SelectOnPage(ScheduleEventKind::Command, index, map_); break;
        default: break;
        }
    });
}

// A group's or a command's hex from the map: what was typed on the pages is
// stored first (a step of its own), then the hex alone is one step, and the
// page shows the record's values again.
void MapLink::MoveGroupTo(int index, int col, int row) {
    Scenario& scn = ctx_.scn();
    if (index < 0 || index >= static_cast<int>(scn.ReinfList().size())) return;
    pages_.StoreAll();
    ctx_.doc.Commit();
    window_.act([&] {
        const TReinfGroup* g = scn.ReinfList()[static_cast<std::size_t>(index)];
        GroupFields fields = FieldsOf(*g);
        fields.Col = col;
        fields.Row = row;
        StoreGroup(scn, g, fields, ctx_.lines, ctx_.step());
        // The page shows the group's new hex when it shows the group (with
        // no group current, showing it again stores nothing over it).
        if (ctx_.sel().CurReinf() == g) {
            w_.lbReinfor->SelectLine(index);
            ctx_.sel().SelectNone<TReinfGroup>();
            pages_.ReinforClick(nullptr);
        }
    });
}

void MapLink::AimCommandAt(int index, int col, int row) {
    Scenario& scn = ctx_.scn();
    if (index < 0 || index >= static_cast<int>(scn.CommandList().size())) return;
    pages_.StoreAll();
    ctx_.doc.Commit();
    window_.act([&] {
        const TCommandRec* c = scn.CommandList()[static_cast<std::size_t>(index)];
        CommandFields fields = FieldsOf(*c);
        fields.Col = col;
        fields.Row = row;
        StoreCommand(scn, c, fields, ctx_.lines, ctx_.step());
        if (ctx_.sel().CurCommand() == c) {
            w_.lbCommands->SelectLine(index);
            ctx_.sel().SelectNone<TCommandRec>();
            pages_.CommandsClick(nullptr);
        }
    });
}

std::optional<MapHost::PictureChoice> MapLink::AskMapPicture(QWidget* parent) {
    OpenFileRequest request;
    request.title = QStringLiteral("Export Map Picture");
    request.fileName = QStringLiteral("map.png");
    request.filters = {QStringLiteral("PNG picture (*.png)"), QStringLiteral("SVG picture (*.svg)")};
    request.defaultSuffix = QStringLiteral("png");
    const QString path = ctx_.dialogs.SaveFile(parent, request);
    if (path.isEmpty()) return std::nullopt;
    const Answer whole = ctx_.dialogs.AskYesNoCancel(
        parent, QStringLiteral("Export the whole map? Yes: the whole map; No: the part in view."));
    if (whole == Answer::Cancel) return std::nullopt;
    return PictureChoice{path, whole == Answer::Yes};
}

QRect MapLink::MainFrame() {
    // Its final size: a layout change still pending (lists just filled, a
    // column width just applied) may yet grow the window to its minimum.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    if (QLayout* layout = ctx_.window->layout()) layout->activate();
    return ctx_.window->frameGeometry();
}

void MapLink::ShowMapError(QWidget* parent, const QString& message) { ctx_.dialogs.ShowError(parent, message); }

}  // namespace varno
