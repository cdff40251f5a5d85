#include "editor/document/manyrecords.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QItemSelection>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <algorithm>

#include "editor/dialogs.h"
#include "editor/document/scndocument.h"
#include "editor/editwidgets.h"
#include "editor/pages/commandspage.h"
#include "editor/pages/oobcolumn.h"
#include "editor/pages/reinforcementspage.h"
#include "editor/pages/releasespage.h"
#include "editor/pages/setunitspage.h"
#include "editor/widgets/listbox.h"
#include "mapview/formation.h"
#include "mapview/mapform.h"
#include "scenario/cliptext.h"
#include "scenario/manyedit.h"
#include "scenario/ooblookup.h"

namespace varno {

namespace {

// The list of each kind of record.
RecordList<TSetupRec> ListOf(const Scenario& scn, const TSetupRec*) { return scn.SetupList(); }
RecordList<TReleaseRec> ListOf(const Scenario& scn, const TReleaseRec*) { return scn.ReleaseList(); }
RecordList<TReinfGroup> ListOf(const Scenario& scn, const TReinfGroup*) { return scn.ReinfList(); }
RecordList<TCommandRec> ListOf(const Scenario& scn, const TCommandRec*) { return scn.CommandList(); }

// The records of `set` in list order: copies read as the file does.
template <class R> std::vector<const R*> InListOrder(const Scenario& scn, const RecordSet<R>& set) {
    std::vector<const R*> out;
    if (set.Empty()) return out;
    for (const R* r : ListOf(scn, static_cast<const R*>(nullptr)))
        if (set.Contains(r)) out.push_back(r);
    return out;
}

}  // namespace

TManyRecords::TManyRecords(TEditWidgets& widgets, TScnDocument& doc, EditListener& lines, Dialogs& dialogs,
                           TfrmMap* map, QWidget* window, std::function<void(const QString&)> status,
                           std::function<void(const std::function<void()>&)> run)
    : w_(widgets), doc_(doc), lines_(lines), dialogs_(dialogs), map_(map), window_(window), status_(std::move(status)),
      run_(std::move(run)) {
    auto action = [this](const char* name, const QString& caption, QKeySequence key, std::function<void()> f) {
        auto* a = new QAction(caption, window_);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, [this, f] { run_(f); });
        return a;
    };
    // From the map window the clipboard takes placements.
    auto fromMap = [this] { return map_ && QApplication::activeWindow() == map_; };
    mnuCut = action("mnuCut", QStringLiteral("Cu&t"), QKeySequence::Cut, [this] { Cut(); });
    mnuCopy = action("mnuCopy", QStringLiteral("&Copy"), QKeySequence::Copy, [this, fromMap] { Copy(fromMap()); });
    mnuPaste = action("mnuPaste", QStringLiteral("&Paste"), QKeySequence::Paste, [this] { Paste(std::nullopt); });
    mnuDuplicate = action("mnuDuplicate", QStringLiteral("&Duplicate"), QKeySequence(Qt::CTRL | Qt::Key_D),
                          [this] { Duplicate(); });
    mnuSelectAll =
        action("mnuSelectAll", QStringLiteral("Select &All"), QKeySequence::SelectAll, [this] { SelectAll(); });

    // The lists show what is selected together, however it was selected
    // (the map follows the selection itself).
    connect(&doc_, &TScnDocument::selectionChanged, this, [this](RecordKind kind) { ShowSelection(kind); });

    // Delete on a page's list removes its selected records.
    TListBox* boxes[] = {w_.lbSetUnits, w_.lbReleases, w_.lbReinfor, w_.lbCommands};
    for (int p = 0; p < 4; ++p) {
        TListBox* box = boxes[p];
        box->setSelectionMode(QAbstractItemView::ExtendedSelection);
        connect(box, &TListBox::deleteKey, w_.bnRemove, &QPushButton::click);
        box->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(box, &QWidget::customContextMenuRequested, this,
                [this, box, p](const QPoint& at) { ListMenu(p)->popup(box->viewport()->mapToGlobal(at)); });
    }
}

void TManyRecords::AddToMenu(QMenu& edit) {
    edit.addSeparator();
    for (QAction* a : {mnuCut, mnuCopy, mnuPaste, mnuDuplicate, mnuSelectAll}) edit.addAction(a);
}

int TManyRecords::page() const { return w_.Notebook1->currentIndex(); }

// ---------------------------------------------------------------------------
// The shared selection

template <class R> void TManyRecords::takeList(TListBox* box) {
    if (showing_) return;
    const RecordList<R> list = ListOf(doc_.Scn(), static_cast<const R*>(nullptr));
    std::vector<int> rows;
    for (const QModelIndex& i : box->selectionModel()->selectedRows()) rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    std::vector<const R*> recs;
    recs.reserve(rows.size());
    for (const int r : rows)
        if (r >= 0 && r < static_cast<int>(list.size())) recs.push_back(list[static_cast<std::size_t>(r)]);
    // One line: the page's click made it current, as the design does.
    if (recs.size() <= 1) return;
    doc_.Sel().SelectMany(recs, doc_.Sel().Of<R>().Current());
}

void TManyRecords::TakeListSelection(int p) {
    switch (p) {
    case 0: takeList<TSetupRec>(w_.lbSetUnits); break;
    case 1: takeList<TReleaseRec>(w_.lbReleases); break;
    case 2: takeList<TReinfGroup>(w_.lbReinfor); break;
    case 3: takeList<TCommandRec>(w_.lbCommands); break;
    default: break;
    }
}

template <class R> void TManyRecords::showList(TListBox* box) {
    const RecordSet<R>& set = doc_.Sel().Of<R>();
    // One record or none: the page selects its line as the design does (and
    // a click that selects many lines makes its record current first).
    if (set.Count() <= 1) return;
    const RecordList<R> list = ListOf(doc_.Scn(), static_cast<const R*>(nullptr));
    QItemSelection lines;
    int first = -1, last = -2, current = -1;
    auto flush = [&] {
        if (first >= 0) lines.select(box->model()->index(first, 0), box->model()->index(last, 0));
    };
    for (int i = 0; i < static_cast<int>(list.size()) && i < box->count(); ++i) {
        const R* r = list[static_cast<std::size_t>(i)];
        if (!set.Contains(r)) continue;
        if (r == set.Current()) current = i;
        if (i != last + 1) {
            flush();
            first = i;
        }
        last = i;
    }
    flush();
    const bool before = std::exchange(showing_, true);
    box->selectionModel()->select(lines, QItemSelectionModel::ClearAndSelect);
    if (current >= 0)
        box->selectionModel()->setCurrentIndex(box->model()->index(current, 0), QItemSelectionModel::NoUpdate);
    showing_ = before;
}

void TManyRecords::ShowSelection(RecordKind kind) {
    switch (kind) {
    case RecordKind::Placement: {
        showList<TSetupRec>(w_.lbSetUnits);
        const std::size_t n = doc_.Sel().Of<TSetupRec>().Count();
        if (n > 1) {
            status_(QStringLiteral("%1 placements selected").arg(n));
            w_.pgSetUnits->ShowTogether();
        }
        break;
    }
    case RecordKind::Release:
        showList<TReleaseRec>(w_.lbReleases);
        if (doc_.Sel().Of<TReleaseRec>().Count() > 1) w_.pgReleases->ShowTogether();
        break;
    case RecordKind::Group:
        showList<TReinfGroup>(w_.lbReinfor);
        if (doc_.Sel().Of<TReinfGroup>().Count() > 1) w_.pgReinfor->ShowTogether();
        break;
    case RecordKind::Command:
        showList<TCommandRec>(w_.lbCommands);
        if (doc_.Sel().Of<TCommandRec>().Count() > 1) w_.pgCommands->ShowTogether();
        break;
    default: break;
    }
}

std::vector<const TSetupRec*> TManyRecords::SelectedPlacements() const {
    const RecordSet<TSetupRec>& set = doc_.Sel().Of<TSetupRec>();
    std::vector<const TSetupRec*> out = set.Records();
    // The current one last: a move goes from its hex.
    if (const TSetupRec* cur = set.Current()) {
        std::erase(out, cur);
        out.push_back(cur);
    }
    return out;
}

void TManyRecords::SelectPlacements(const std::vector<const TSetupRec*>& recs, const TSetupRec* current) {
    // What the page holds goes into the placement it shows first.
    w_.pgSetUnits->StoreSetupEdits();
    w_.Notebook1->setCurrentWidget(w_.pgSetUnits);
    doc_.Sel().SelectMany(recs, current);
    const TSetupRec* cur = doc_.Sel().CurSetup();
    if (recs.size() <= 1) {
        const int index = cur ? IndexIn(doc_.Scn().SetupList(), cur) : -1;
        if (index >= 0)
            w_.lbSetUnits->SelectLine(index);
        else
            w_.lbSetUnits->SelectNone();
    }
    if (cur) w_.pgSetUnits->ShowSetup();
    // Showing the current one alone filled the fields the selection does not share.
    if (doc_.Sel().Of<TSetupRec>().Count() > 1) w_.pgSetUnits->ShowTogether();
}

void TManyRecords::SelectAll() {
    const int p = page();
    TListBox* boxes[] = {w_.lbSetUnits, w_.lbReleases, w_.lbReinfor, w_.lbCommands};
    if (p < 0 || p > 3) return;
    boxes[p]->selectAll();
    TakeListSelection(p);
}

// ---------------------------------------------------------------------------
// Actions

template <class R> bool TManyRecords::removeAll(const char* /*verbOne*/) {
    const RecordSet<R>& set = doc_.Sel().Of<R>();
    if (set.Count() <= 1) return false;
    const std::vector<const R*> recs = set.Records();
    doc_.Commit();  // what the pages stored before is a step of its own
    const std::size_t n = RemoveRecords(doc_.Scn(), recs, lines_, doc_.Step());
    doc_.Sel().template SelectNone<R>();
    doc_.Commit(QString::fromStdString(CountedName("Remove", n, RecordNoun(static_cast<const R*>(nullptr), false),
                                                   RecordNoun(static_cast<const R*>(nullptr), true))));
    return true;
}

bool TManyRecords::RemoveSelected() {
    switch (page()) {
    case 0: return removeAll<TSetupRec>("placement");
    case 1: return removeAll<TReleaseRec>("release");
    case 2: return removeAll<TReinfGroup>("group");
    case 3: return removeAll<TCommandRec>("command");
    default: return false;
    }
}

QMimeData* TManyRecords::copied(bool map) const {
    const Scenario& scn = doc_.Scn();
    const SelectionState& sel = doc_.Sel().State();
    CopiedRecords recs;
    switch (map ? 0 : page()) {
    case 0: recs.Setups = InListOrder(scn, sel.Placements); break;
    case 1: recs.Releases = InListOrder(scn, sel.Releases); break;
    case 2: recs.Groups = InListOrder(scn, sel.Groups); break;
    case 3: recs.Commands = InListOrder(scn, sel.Commands); break;
    default: break;
    }
    if (recs.empty()) return nullptr;
    const std::string text = RecordText(recs);
    auto* data = new QMimeData;
    const QByteArray bytes = QByteArray::fromStdString(text);
    data->setData(QLatin1String(kRecordsMimeType), bytes);
    data->setText(QString::fromLatin1(bytes));
    return data;
}

void TManyRecords::Copy(bool map) {
    QMimeData* data = copied(map);
    if (!data) {
        status_(QStringLiteral("Nothing selected to copy"));
        return;
    }
    QApplication::clipboard()->setMimeData(data);
}

void TManyRecords::Cut() {
    QMimeData* data = copied(false);
    if (!data) {
        status_(QStringLiteral("Nothing selected to cut"));
        return;
    }
    QApplication::clipboard()->setMimeData(data);
    if (RemoveSelected()) return;
    // One record: the page's own Remove, named as a cut.
    doc_.Commit();
    w_.bnRemove->click();
    doc_.Commit(QStringLiteral("Cut"));
}

void TManyRecords::Paste(std::optional<HexPos> at) {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data) return;
    const QByteArray text = data->hasFormat(QLatin1String(kRecordsMimeType))
                                ? data->data(QLatin1String(kRecordsMimeType))
                                : data->text().toUtf8();
    pasteText(text, at, false);
}

void TManyRecords::Duplicate() {
    std::unique_ptr<QMimeData> data(copied(false));
    if (!data) {
        status_(QStringLiteral("Nothing selected to duplicate"));
        return;
    }
    pasteText(data->data(QLatin1String(kRecordsMimeType)), std::nullopt, true);
}

void TManyRecords::pasteText(const QByteArray& text, std::optional<HexPos> at, bool duplicate) {
    Scenario& scn = doc_.Scn();
    PastedText pasted = ReadRecordText(std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
                                       [&scn](const DotKey& key) { return scn.FindDotName(key); });
    KeepAddable(pasted, scn.ReleaseList(), scn.ReinfList());
    const int cols = map_ ? map_->NumCols() : 0, rows = map_ ? map_->NumRows() : 0;
    if (!pasted.Setups.empty() && (at || duplicate)) {
        const TSetupRec& first = pasted.Setups.front();
        const HexPos to = at ? *at : SideStep({first.Col, first.Row}, true);
        if (const std::size_t off = ShiftPlacements(pasted.Setups, to, cols, rows)) {
            dialogs_.ShowError(window_, QStringLiteral("The paste would put %1 of %2 placements off the map.")
                                            .arg(off)
                                            .arg(pasted.Setups.size()));
            return;
        }
    }
    doc_.Commit();
    const AddedRecords added = AddPasted(scn, pasted, lines_, doc_.Step());
    // The pasted records are the selection of their kinds.
    if (!added.Setups.empty()) doc_.Sel().SelectMany(added.Setups, added.Setups.front());
    if (!added.Releases.empty()) doc_.Sel().SelectMany(added.Releases, added.Releases.front());
    if (!added.Groups.empty()) doc_.Sel().SelectMany(added.Groups, added.Groups.front());
    if (!added.Commands.empty()) doc_.Sel().SelectMany(added.Commands, added.Commands.front());
    doc_.Commit(
        QString::fromStdString(CountedName(duplicate ? "Duplicate" : "Paste", added.size(), "record", "records")));
    for (RecordKind k : {RecordKind::Placement, RecordKind::Release, RecordKind::Group, RecordKind::Command})
        ShowSelection(k);
    const std::string message = PasteMessage(pasted);
    if (!message.empty())
        dialogs_.ShowMessage(window_, QString::fromStdString(message));
    else if (added.size() == 0)
        status_(QStringLiteral("Nothing to paste"));
}

void TManyRecords::MoveSelection(HexPos from, HexPos to) {
    if (!map_) return;
    const std::vector<const TSetupRec*> moving = SelectedPlacements();
    if (moving.empty() || from == to) return;
    Scenario& scn = doc_.Scn();
    const FormationMove plan = PlanFormationMove(scn.SetupList(), moving, from, to, map_->NumCols(), map_->NumRows());
    if (const std::string message = FormationMessage(plan); !message.empty()) {
        dialogs_.ShowError(window_, QString::fromStdString(message));
        return;
    }
    w_.pgSetUnits->StoreSetupEdits();
    doc_.Commit();
    const std::size_t n = MakeFormationMove(scn, plan, lines_, doc_.Step());
    // Set Units shows the current placement's new hex when the document tells.
    doc_.Commit(QString::fromStdString(CountedName("Move", n, "placement", "placements")));
}

void TManyRecords::PlaceOrganisation(const TOobRec* org, HexPos hex) {
    if (!org || !map_) return;
    Scenario& scn = doc_.Scn();
    const OrganisationPlacement plan =
        PlanOrganisationPlacement(scn.OobList(), *org, scn.SetupList(), hex, map_->NumCols(), map_->NumRows());
    if (plan.Places.empty()) {
        status_(QString::fromStdString(OrganisationMessage(*org, plan)));
        return;
    }
    w_.pgSetUnits->StoreSetupEdits();
    doc_.Commit();
    const std::vector<const TSetupRec*> made =
        MakeOrganisationPlacement(scn, plan, w_.pgSetUnits->Defaults(), lines_, doc_.Step());
    const std::string name = OrganisationMessage(*org, plan);
    SelectPlacements(made, made.empty() ? nullptr : made.front());
    doc_.Commit(QString::fromStdString(CountedName("Place", made.size(), "placement", "placements")));
    status_(QString::fromStdString(name));
}

// ---------------------------------------------------------------------------
// The lists' context menu

QMenu* TManyRecords::ListMenu(int p) {
    auto* menu = new QMenu(window_);
    menu->setObjectName(QStringLiteral("mnuListContext"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    auto item = [&](const QString& caption, const char* name, std::function<void()> f) {
        QAction* a = menu->addAction(caption, this, [this, f] { run_(f); });
        a->setObjectName(QLatin1String(name));
        return a;
    };
    item(QStringLiteral("&Add"), "mnuListAdd", [this] { w_.bnAdd->click(); });
    item(QStringLiteral("&Remove"), "mnuListRemove", [this] { w_.bnRemove->click(); });
    menu->addSeparator();
    for (QAction* a : {mnuCopy, mnuCut, mnuPaste, mnuSelectAll}) menu->addAction(a);
    menu->addSeparator();
    if (p == 0 && map_) {
        item(QStringLiteral("Show on &Map"), "mnuShowOnMap", [this] {
            if (const TSetupRec* cur = doc_.Sel().CurSetup()) {
                map_->Show();
                map_->FollowPlacement(cur);
            }
        });
    }
    if (CheckRecord) {
        const Selection& sel = doc_.Sel();
        const Scenario& scn = doc_.Scn();
        const ScnListBox lists[] = {ScnListBox::SetUnits, ScnListBox::Releases, ScnListBox::Reinfor,
                                    ScnListBox::Commands};
        const int index = p == 0   ? IndexIn(scn.SetupList(), sel.CurSetup())
                          : p == 1 ? IndexIn(scn.ReleaseList(), sel.CurRelease())
                          : p == 2 ? IndexIn(scn.ReinfList(), sel.CurReinf())
                          : p == 3 ? IndexIn(scn.CommandList(), sel.CurCommand())
                                   : -1;
        QAction* check = item(QStringLiteral("Check This Rec&ord"), "mnuCheckRecord",
                              [this, list = lists[std::clamp(p, 0, 3)], index] { CheckRecord(list, index); });
        check->setEnabled(index >= 0);
    }
    return menu;
}

}  // namespace varno
