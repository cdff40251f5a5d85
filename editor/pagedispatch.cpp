#include "editor/pagedispatch.h"

#include <QLabel>
#include <QTabWidget>

#include "editor/commandspage.h"
#include "editor/editwidgets.h"
#include "editor/listbox.h"
#include "editor/oobcolumn.h"
#include "editor/reinforcementspage.h"
#include "editor/releasespage.h"
#include "editor/scndocument.h"
#include "editor/setunitspage.h"
#include "editor/textconv.h"
#include "mapview/mapform.h"
#include "scenario/ooblookup.h"
#include "scenario/scnedit.h"

namespace varno {

TPageDispatch::TPageDispatch(TEditWidgets& widgets, TScnDocument& doc, TfrmMap* map, QObject* window,
                             std::function<void(const QString&)> status)
    : w_(widgets), doc_(doc), map_(map), window_(window), status_(std::move(status)) {}

void TPageDispatch::Add() {
    const TOobRec* entry = w_.pnlOob->SelectedEntry();
    if (!entry) {
        status_(QStringLiteral("Please select a unit or leader"));
        return;
    }
    doc_.Sel().Select(entry);
    switch (w_.Notebook1->currentIndex()) {
    case 0:
        if (w_.pgSetUnits->Add(entry)) SetUnitsClick(nullptr);
        break;
    case 1:
        if (w_.pgReleases->Add(entry)) ReleasesClick(nullptr);
        break;
    case 2:
        if (w_.pgReinfor->Add(entry)) ReinforClick(nullptr);
        break;
    case 3:
        if (w_.pgCommands->Add(entry)) CommandsClick(nullptr);
        break;
    default: break;
    }
}

void TPageDispatch::Remove() {
    switch (w_.Notebook1->currentIndex()) {
    case 0: w_.pgSetUnits->Remove(); break;
    case 1: w_.pgReleases->Remove(); break;
    case 2:
        if (w_.pgReinfor->Remove()) ReinforClick(nullptr);
        break;
    case 3: w_.pgCommands->Remove(); break;
    default: break;
    }
}

void TPageDispatch::SetUnitsClick(QObject* Sender) {
    const TSetupRec* rec = w_.pgSetUnits->SelectSetup();
    if (!rec) return;
    if (map_) {
        map_->CurUnitName = Latin1(SetupLineLabel(*rec, 50));
        map_->FollowPlacement(rec);
    }
    if (!Sender || !rec->Unit) return;
    w_.pnlOob->ShowEntryOfPlacement(rec->Unit);
}

void TPageDispatch::ReleasesClick(QObject* Sender) {
    const TReleaseRec* rec = w_.pgReleases->SelectRelease();
    if (rec && Sender) w_.pnlOob->SelectEntry(rec->Unit, window_);
}

void TPageDispatch::ReinforClick(QObject* Sender) {
    const TReinfGroup* g = w_.pgReinfor->SelectGroup();
    if (g && Sender && g->Count > 0) w_.pnlOob->SelectEntry(g->Units[0], window_);
}

void TPageDispatch::ReinUnitsClick(QObject* Sender) {
    if (!Sender) return;
    if (const TOobRec* unit = w_.pgReinfor->SelectedUnit()) w_.pnlOob->SelectEntry(unit, window_);
}

void TPageDispatch::CommandsClick(QObject* Sender) {
    const TCommandRec* rec = w_.pgCommands->SelectCommand();
    if (rec && Sender) w_.pnlOob->SelectEntry(rec->Unit, window_);
}

void TPageDispatch::ReshowSelectedSetup() {
    // Storing does nothing while no placement is current.
    if (w_.lbSetUnits->SelectedLine() < 0) return;
    doc_.Sel().SelectNone<TSetupRec>();
    SetUnitsClick(nullptr);
}

void TPageDispatch::SelectOnPage(ScheduleEventKind kind, int index, QObject* Sender) {
    const bool release = kind == ScheduleEventKind::Release, arrival = kind == ScheduleEventKind::Arrival;
    TListBox* box = release ? w_.lbReleases : arrival ? w_.lbReinfor : w_.lbCommands;
    if (index < 0 || index >= box->count()) return;
    w_.Notebook1->setCurrentIndex(release ? 1 : arrival ? 2 : 3);
    box->setCurrentRow(index);
    if (release)
        ReleasesClick(Sender);
    else if (arrival)
        ReinforClick(Sender);
    else
        CommandsClick(Sender);
}

void TPageDispatch::ShowCurrentRecords() {
    // No record is current while its line is shown: nothing is stored.
    Selection& sel = doc_.Sel();
    const Scenario& scn = doc_.Scn();
    const auto reshow = [&sel](TListBox* box, const auto* cur, const auto& list, const std::function<void()>& click) {
        using R = std::remove_cv_t<std::remove_pointer_t<decltype(cur)>>;
        const int index = IndexIn(list, cur);
        if (index < 0) {
            box->SelectNone();
            return;
        }
        box->SelectLine(index);
        sel.SelectNone<R>();
        click();
    };
    reshow(w_.lbSetUnits, sel.CurSetup(), scn.SetupList(), [this] { SetUnitsClick(nullptr); });
    reshow(w_.lbReleases, sel.CurRelease(), scn.ReleaseList(), [this] { ReleasesClick(nullptr); });
    reshow(w_.lbReinfor, sel.CurReinf(), scn.ReinfList(), [this] { ReinforClick(nullptr); });
    reshow(w_.lbCommands, sel.CurCommand(), scn.CommandList(), [this] { CommandsClick(nullptr); });
    if (const TOobRec* entry = sel.CurOob()) w_.pnlOob->SelectEntry(entry, nullptr);
}

void TPageDispatch::ShowEditingLines() {
    const auto show = [](QLabel* label, TListBox* box, int index) {
        const QListWidgetItem* line = index >= 0 ? box->item(index) : nullptr;
        label->setText(line ? QStringLiteral("Editing: %1").arg(line->text())
                            : QStringLiteral("New record: Add uses these values"));
    };
    const Selection& sel = doc_.Sel();
    const Scenario& scn = doc_.Scn();
    show(w_.pgSetUnits->lblEditing, w_.lbSetUnits, IndexIn(scn.SetupList(), sel.CurSetup()));
    show(w_.pgReleases->lblEditing, w_.lbReleases, IndexIn(scn.ReleaseList(), sel.CurRelease()));
    show(w_.pgReinfor->lblEditing, w_.lbReinfor, IndexIn(scn.ReinfList(), sel.CurReinf()));
    show(w_.pgCommands->lblEditing, w_.lbCommands, IndexIn(scn.CommandList(), sel.CurCommand()));
}

}  // namespace varno
