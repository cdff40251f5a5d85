#include "editor/pages/pagedispatch.h"

#include <QLabel>
#include <QTabWidget>

#include "editor/document/scndocument.h"
#include "editor/editwidgets.h"
#include "editor/pages/commandspage.h"
#include "editor/pages/oobcolumn.h"
#include "editor/pages/reinforcementspage.h"
#include "editor/pages/releasespage.h"
#include "editor/pages/setunitspage.h"
#include "editor/widgets/listbox.h"
#include "editor/widgets/textconv.h"
#include "mapview/mapform.h"
#include "scenario/ooblookup.h"
#include "scenario/scnedit.h"

namespace varno {

TPageDispatch::TPageDispatch(TEditWidgets& widgets, TScnDocument& doc, TfrmMap* map, QObject* window,
                             std::function<void(const QString&)> status)
    : w_(widgets), doc_(doc), map_(map), window_(window),
      status_(std::move(status)), pages_{{{widgets.pgSetUnits, widgets.pgSetUnits, &TPageDispatch::SetUnitsClick},
                                          {widgets.pgReleases, widgets.pgReleases, &TPageDispatch::ReleasesClick},
                                          {widgets.pgReinfor, widgets.pgReinfor, &TPageDispatch::ReinforClick},
                                          {widgets.pgCommands, widgets.pgCommands, &TPageDispatch::CommandsClick}}} {
    // An undo or redo changes records under the pages: each shows its current
    // record again. (An action's page shows what it did; a Read fills them.)
    // An action that moved the current placement (on the map) shows only its
    // hex, so that other fields typed and not stored stay.
    QObject::connect(&doc_, &TScnDocument::changed, window_, [this](const DocChange& change) {
        if (change.Cause == ChangeCause::Undo || change.Cause == ChangeCause::Redo)
            ShowCurrentRecords();
        else if (change.Cause == ChangeCause::Action && change.Step && change.Step->Moves(doc_.Sel().CurSetup()))
            w_.pgSetUnits->ShowHex();
        ShowEditingLines();
    });
    // Each page's line names its current record, however it became current.
    QObject::connect(&doc_, &TScnDocument::selectionChanged, window_, [this] { ShowEditingLines(); });
}

const TPageDispatch::Page* TPageDispatch::current() const {
    for (const Page& p : pages_)
        if (p.widget == w_.Notebook1->currentWidget()) return &p;
    return nullptr;
}

void TPageDispatch::Add() {
    const TOobRec* entry = w_.pnlOob->SelectedEntry();
    if (!entry) {
        status_(QStringLiteral("Please select a unit or leader"));
        return;
    }
    doc_.Sel().Select(entry);
    if (const Page* p = current(); p && p->page->AddEntry(entry)) (this->*p->click)(nullptr);
}

void TPageDispatch::Remove() {
    if (const Page* p = current(); p && p->page->RemoveSelected()) (this->*p->click)(nullptr);
}

void TPageDispatch::StoreAll() {
    for (const Page& p : pages_) p.page->StoreEdits();
}

void TPageDispatch::StoreSetupEdits() { w_.pgSetUnits->StoreSetupEdits(); }

void TPageDispatch::SetUnitsClick(QObject* Sender) {
    const TSetupRec* rec = w_.pgSetUnits->SelectSetup();
    if (!rec) return;
    if (map_) map_->FollowPlacement(rec);
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

bool TPageDispatch::ClickLine(ScnListBox list, int line) {
    QWidget* page = nullptr;
    TListBox* box = nullptr;
    void (TPageDispatch::*click)(QObject*) = nullptr;
    switch (list) {
    case ScnListBox::SetUnits:
        page = w_.pgSetUnits;
        box = w_.lbSetUnits;
        click = &TPageDispatch::SetUnitsClick;
        break;
    case ScnListBox::Releases:
        page = w_.pgReleases;
        box = w_.lbReleases;
        click = &TPageDispatch::ReleasesClick;
        break;
    case ScnListBox::Reinfor:
        page = w_.pgReinfor;
        box = w_.lbReinfor;
        click = &TPageDispatch::ReinforClick;
        break;
    case ScnListBox::ReinUnits:
        box = w_.lbReinUnits;
        click = &TPageDispatch::ReinUnitsClick;
        break;
    case ScnListBox::Commands:
        page = w_.pgCommands;
        box = w_.lbCommands;
        click = &TPageDispatch::CommandsClick;
        break;
    default: return false;
    }
    if (line < 0 || line >= box->count()) return false;
    if (page) w_.Notebook1->setCurrentWidget(page);
    box->SelectLine(line);
    (this->*click)(box);
    return true;
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
    // A new release or group always gets chance 100 (the field then shows
    // it): the line says so rather than promise the field's value.
    const QString newRecord = QStringLiteral("New record: Add uses these values");
    const QString newTimed = newRecord + QStringLiteral(", with chance 100");
    const Selection& sel = doc_.Sel();
    const std::size_t together[] = {sel.Of<TSetupRec>().Count(), sel.Of<TReleaseRec>().Count(),
                                    sel.Of<TReinfGroup>().Count(), sel.Of<TCommandRec>().Count()};
    const char* nouns[] = {"placements", "releases", "groups", "commands"};
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        const Page& p = pages_[i];
        if (together[i] > 1) {
            p.page->EditingLine()->setText(QStringLiteral("Editing %1 %2 together: blank fields keep their own values")
                                               .arg(together[i])
                                               .arg(QLatin1String(nouns[i])));
            continue;
        }
        const int index = p.page->CurrentLine();
        const QListWidgetItem* line = index >= 0 ? p.page->RecordLines()->item(index) : nullptr;
        const bool timed = p.widget == w_.pgReleases || p.widget == w_.pgReinfor;
        p.page->EditingLine()->setText(line    ? QStringLiteral("Editing: %1").arg(line->text())
                                       : timed ? newTimed
                                               : newRecord);
    }
}

}  // namespace varno
