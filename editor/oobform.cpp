#include "editor/oobform.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>

#include "editor/commands/backupslink.h"
#include "editor/commands/filecommands.h"
#include "editor/commands/maplink.h"
#include "editor/commands/searchcommands.h"
#include "editor/commands/searchlink.h"
#include "editor/document/manyrecords.h"
#include "editor/document/recoverykeeper.h"
#include "editor/document/scndocument.h"
#include "editor/help/helpmenu.h"
#include "editor/pages/commandspage.h"
#include "editor/pages/listlines.h"
#include "editor/pages/oobcolumn.h"
#include "editor/pages/pagedispatch.h"
#include "editor/pages/reinforcementspage.h"
#include "editor/pages/releasespage.h"
#include "editor/pages/setunitspage.h"
#include "editor/reporterror.h"
#include "editor/settings/editsettings.h"
#include "editor/settings/inifile.h"
#include "editor/settings/windowplacing.h"
#include "editor/widgets/listbox.h"
#include "editor/widgets/mnemonicfilter.h"
#include "editor/widgets/spinedit.h"
#include "editor/widgets/textconv.h"
#include "editor/windows/backupswindow.h"
#include "editor/windows/listform.h"
#include "editor/windows/recoveryoffer.h"
#include "editor/windows/scheduleview.h"
#include "editor/windows/schedulewindow.h"
#include "mapview/mapform.h"
#include "mapview/windowfit.h"
#include "scenario/filenames.h"
#include "scenario/oobreader.h"
#include "scenario/scnedit.h"
#include "scenario/scnerror.h"
#include "scenario/scnreader.h"
#include "scenario/scnwriter.h"

namespace varno {

TfrmEdit::TfrmEdit(Dialogs& dialogs, TfrmMap* map, QWidget* parent)
    : QMainWindow(parent), frmMap_(map), dialogs_(dialogs), doc_(std::make_unique<TScnDocument>()),
      readView_(std::make_unique<TListLines>()) {
    readView_->OnChange = [this] {
        // Changes made outside the window's handlers (the map's) are a step too.
        if (handlerDepth_ == 0) doc_->CommitSoon();
    };
    connect(doc_.get(), &TScnDocument::stateChanged, this, [this] { showState(); });
    doc_->Lines = readView_.get();
    // Every view (pages, map, Schedule, lists, Backups) listens to the
    // document itself.
    setObjectName(QStringLiteral("frmEdit"));
    setWindowTitle(QStringLiteral("Varno"));
    buildControls();
    connectHandlers();
    // The menus' keys (Ctrl+S, Ctrl+O) also work while the map window is active.
    if (frmMap_)
        for (QAction* menu : menuBar()->actions())
            if (menu->menu())
                for (QAction* a : menu->menu()->actions())
                    if (!a->shortcut().isEmpty() && a->shortcutContext() == Qt::WindowShortcut) frmMap_->addAction(a);
    // The map's View > Hex Numbers also in this View menu.
    if (frmMap_) ui_.View1->insertAction(ui_.mnuStrengthSCN, frmMap_->mnuHexNumbers());
    move(75, 120);
    resize(designedWidth_, 478);
    // Alt and a menu's letter open that menu, also where a tab or a button
    // of the window carries the same letter.
    qApp->installEventFilter(new TMnemonicFilter(*this));
}

TfrmEdit::~TfrmEdit() {
    if (frmMap_ && frmMap_->Host() == mapLink_.get()) frmMap_->SetHost(nullptr);
}

TfrmList* TfrmEdit::frmList() const { return searchLink_->ShownListWindow(); }

TfrmBackups* TfrmEdit::frmBackups() const { return backupsLink_->Window(); }

EditListener& TfrmEdit::ListLines() { return *readView_; }

Scenario& TfrmEdit::Scn() { return doc_->Scn(); }

void TfrmEdit::userAction(const std::function<void()>& action) {
    // What the action changed is one step of the history, also when it
    // stopped at an error, and shows in the title and the pages' lines.
    struct State {
        TfrmEdit& w;
        ~State() {
            if (--w.handlerDepth_ == 0) w.doc_->Commit();
            w.showState();
        }
    } state{*this};
    ++handlerDepth_;
    action();
}

bool TfrmEdit::guarded(const std::function<void()>& handler) {
    return ReportErrors(dialogs_, this, [&] { userAction(handler); });
}

void TfrmEdit::setStatus(const QString& text) { ui_.Status->setText(text); }

void TfrmEdit::showState() {
    const std::string& path = doc_->FilePath();
    setWindowTitle(path.empty() ? QStringLiteral("Varno")
                                : QStringLiteral("Varno - %1[*]").arg(PathText(path.substr(DirPart(path).size()))));
    setWindowModified(Scn().Modified);
    pages_->ShowEditingLines();
}

// ---------------------------------------------------------------------------
// Showing and closing

void TfrmEdit::setVisible(bool visible) {
    // Start-up runs once, just before the window is first shown (not when it
    // is restored): the place read from the settings is then the one the
    // window system is asked for, the frame's, which is what closing stores.
    // Moved after showing, the client area would go there instead and the
    // window would creep by its frame at every start.
    if (visible && !shown_) {
        shown_ = true;
        guarded([this] { FormShow(); });
    }
    QMainWindow::setVisible(visible);
}

void TfrmEdit::FormShow() {
    Scn().Modified = false;
    enableScenarioCommands(false);
    // The lists are empty: the scenario was made with the window.
    ui_.Notebook1->setCurrentIndex(0);
    readSettings();
    // A place or size stored on another screen is brought back onto this one.
    KeepOnScreen(*this);
    ui_.seChance->setEnabled(!ui_.cbV103->isChecked());
}

void TfrmEdit::enableScenarioCommands(bool on) {
    for (QMenu* m : {ui_.Edit1, ui_.View1, ui_.Search1}) m->setEnabled(on);
    ui_.mnuSave->setEnabled(on);
    ui_.sbSave->setEnabled(on);
    ui_.mnuRefreshMap->setEnabled(on);
    ui_.sbRefresh->setEnabled(on);
    for (QAction* a : {ui_.mnuSaveAs, ui_.mnuSynchOOB, ui_.mnuHeader, ui_.mnuSearchUnit, ui_.mnuSearchHex,
                       ui_.mnuErrorCheck, ui_.mnuCheckScenario, ui_.mnuViewMap})
        a->setEnabled(on);
}

std::string TfrmEdit::scenarioPathBytes() const {
    return ui_.edScenarioPath->text() == pathShown_ ? pathBytes_ : PathBytes(ui_.edScenarioPath->text());
}

void TfrmEdit::setScenarioPath(const std::string& bytes) {
    pathBytes_ = bytes;
    pathShown_ = PathText(bytes);  // decoded for reading only
    ui_.edScenarioPath->setText(pathShown_);
}

void TfrmEdit::closeEvent(QCloseEvent* e) {
    bool canClose = true;
    if (!guarded([&] { FormClose(canClose); })) canClose = false;
    if (canClose)
        e->accept();
    else
        e->ignore();
}

void TfrmEdit::FormClose(bool& CanClose) {
    if (!files_->MayDiscard()) {
        CanClose = false;
        return;
    }
    // The changes are given up: so is their copy.
    if (recovery_) recovery_->Drop();
    // Closing always closes: a settings file that cannot be written is
    // reported once, and the window goes all the same.
    guarded([this] { writeSettings(); });
    // The lists and their records live as long as the window.
}

// ---------------------------------------------------------------------------
// Files

void TfrmEdit::bnBrowseClick(QObject* /*Sender*/) { files_->Browse(); }
void TfrmEdit::bnReadClick(QObject* /*Sender*/) { files_->Read(); }
void TfrmEdit::bnSaveClick(QObject* /*Sender*/) { files_->Save(); }
void TfrmEdit::mnuSaveAsClick(QObject* /*Sender*/) { files_->SaveAs(); }
void TfrmEdit::mnuNewClick(QObject* /*Sender*/) { files_->New(); }

// The window's side of the File menu's commands.
std::string TfrmEdit::ScenarioPathBytes() const { return scenarioPathBytes(); }
void TfrmEdit::SetScenarioPath(const std::string& bytes) { setScenarioPath(bytes); }

void TfrmEdit::FileStatus(const QString& text) {
    setStatus(text);
    ui_.Status->repaint();  // visible while the file is being written
}

void TfrmEdit::StorePageEdits() { pages_->StoreAll(); }

WriteOptions TfrmEdit::SaveOptions() const {
    WriteOptions opts;
    opts.SortByCol = ui_.cbSort->isChecked();
    opts.V103 = ui_.cbV103->isChecked();
    return opts;
}

void TfrmEdit::ScenarioRead(bool complete) {
    // "V 1.03" takes the form of the file's releases, so that a Save keeps
    // their chances; also after a failed Read, for the releases it got.
    ui_.cbV103->setChecked(!Scn().ReleaseChanceInFile);
    ui_.seChance->setEnabled(!ui_.cbV103->isChecked());
    if (complete) enableScenarioCommands(true);
}

void TfrmEdit::Guarded(const std::function<void()>& command) { guarded(command); }

// ---------------------------------------------------------------------------
// Recovery copies

void TfrmEdit::KeepRecoveryCopies(const RecoveryFolder& folder) {
    recovery_ = std::make_unique<TRecoveryKeeper>(static_cast<RecoveryHost&>(*this), folder);
    // Every change the document tells (a step done, undone or redone, a Read,
    // a Restore, a Save): a copy is due while the scenario differs from its file.
    TRecoveryKeeper* keeper = recovery_.get();
    connect(doc_.get(), &TScnDocument::changed, keeper, [this, keeper](const DocChange& change) {
        keeper->DocumentChanged(!change.Clean && !doc_->FilePath().empty());
    });
}

void TfrmEdit::OfferRecovery() {
    if (recovery_) varno::OfferRecovery(*recovery_, static_cast<RecoveryHost&>(*this), dialogs_, this);
}

std::string TfrmEdit::RecoveryText() { return ScenarioText(Scn(), SaveOptions(), nullptr); }

RecoveryNote TfrmEdit::RecoveryNoteNow() {
    RecoveryNote note;
    note.ScenarioPath = doc_->FilePath();
    note.Base = Scn().ReadStamp;
    note.Step = doc_->History().undoText().toStdString();
    note.Version = VARNO_VERSION;
    return note;
}

void TfrmEdit::RecoveryStatus(const QString& line) {
    if (!line.isEmpty()) {
        recoveryLine_ = line;
        setStatus(line);
    } else if (ui_.Status->text() == recoveryLine_) {
        setStatus(QString());
    }
}

void TfrmEdit::RecoverCopy(const RecoveryNote& note, std::string copyText, bool changed) {
    userAction([&] {
        setScenarioPath(note.ScenarioPath);
        if (changed) {
            // Their file stays as it is: the copy is a document of its own,
            // whose Save asks before it replaces the file.
            doc_->ReadUnsaved(note.ScenarioPath, CopyAsScenarioFile(note, std::move(copyText)), *readView_);
            ScenarioRead(true);
            return;
        }
        // The file as it is on disk, then the copy's records as one step:
        // Undo shows the file.
        files_->Read(false, false);
        Scenario copy;
        ReadListener quiet;
        ReadOob(copy, note.ScenarioPath, quiet);
        ReadScenario(copy, CopyAsScenarioFile(note, std::move(copyText)), quiet);
        ReplaceRecords(Scn(), copy, ListLines(), doc_->Step());
        doc_->Commit(QStringLiteral("Recovered changes"));
    });
}

void TfrmEdit::mnuHeaderClick(QObject* /*Sender*/) { files_->EditHeader(); }

// The dispatch between column, pages and map: TPageDispatch.
void TfrmEdit::bnAddClick(QObject* /*Sender*/) { pages_->Add(); }
void TfrmEdit::bnRemoveClick(QObject* /*Sender*/) {
    if (!many_->RemoveSelected()) pages_->Remove();
}
void TfrmEdit::lbSetUnitsClick(QObject* Sender) { pages_->SetUnitsClick(Sender); }
void TfrmEdit::lbReleasesClick(QObject* Sender) { pages_->ReleasesClick(Sender); }
void TfrmEdit::lbReinforClick(QObject* Sender) { pages_->ReinforClick(Sender); }
void TfrmEdit::lbReinUnitsClick(QObject* Sender) { pages_->ReinUnitsClick(Sender); }
void TfrmEdit::lbCommandsClick(QObject* Sender) { pages_->CommandsClick(Sender); }

void TfrmEdit::cbV103Click(QObject* /*Sender*/) { ui_.seChance->setEnabled(!ui_.cbV103->isChecked()); }

void TfrmEdit::Notebook1Change() { setStatus(QString()); }

// ---------------------------------------------------------------------------
// Map

void TfrmEdit::sbRefreshClick(QObject* /*Sender*/) { mapLink_->RefreshMap(); }

void TfrmEdit::mapMoveCurSetup(int col, int row) {
    const TSetupRec* cur = doc_->Sel().CurSetup();
    if (!cur) return;
    // A move is a change (Modified): closing must ask before it is lost.
    // Set Units shows the new hex when the document tells.
    MoveSetup(Scn(), cur, col, row, ListLines(), doc_->Step());
}

void TfrmEdit::mnuViewMapClick(QObject* /*Sender*/) {
    if (!frmMap_) return;
    if (QApplication::activeWindow() == this) {
        frmMap_->Show();
        frmMap_->activateWindow();
    } else {
        show();
        raise();
        activateWindow();
    }
}

// ---------------------------------------------------------------------------
// Windows and the history

void TfrmEdit::mnuScheduleClick(QObject* /*Sender*/) {
    if (!frmSchedule_) {
        frmSchedule_ = new TfrmSchedule(
            Scn(), dialogs_,
            [this](ScheduleEventKind kind, int index) { pages_->SelectOnPage(kind, index, frmSchedule_); }, this);
        frmSchedule_->setAttribute(Qt::WA_QuitOnClose, false);
        frmSchedule_->Follow(*doc_);
        // The map's clock is a line on the Schedule; a time clicked there is the map's.
        if (frmMap_) {
            frmSchedule_->View->SetClock(frmMap_->ClockNow());
            connect(frmMap_, &TfrmMap::clockChanged, frmSchedule_->View, &ScheduleView::SetClock);
            connect(frmSchedule_->View, &ScheduleView::timeClicked, frmMap_, &TfrmMap::SetClock);
        }
    }
    frmSchedule_->ScenarioChanged();
    ShowToolWindow(*frmSchedule_, *this);
}

void TfrmEdit::mnuBackupsClick(QObject* /*Sender*/) { backupsLink_->ShowWindow(); }

void TfrmEdit::mnuUndoClick(QObject* /*Sender*/) {
    // Fields typed and not stored yet are a change of their own: the first
    // to go back.
    StorePageEdits();
    doc_->Commit();
    doc_->History().undo();
}

void TfrmEdit::mnuRedoClick(QObject* /*Sender*/) {
    StorePageEdits();
    doc_->Commit();  // a new change ends what could be done again
    doc_->History().redo();
}

// ---------------------------------------------------------------------------
// The widgets, the menus and their wiring

void TfrmEdit::buildControls() {
    const PageContext ctx{*doc_, *readView_, dialogs_, this, [this](const QString& text) { setStatus(text); }};
    ui_.SetupWidgets(*this, ctx);
    splitter_ = ui_.Splitter1;
    designedWidth_ = ui_.DesignedWidth;
    ui_.pnlOob->ShowPlacement = [this](int index) {
        ui_.lbSetUnits->SelectLine(index);
        lbSetUnitsClick(nullptr);
    };
    pages_ =
        std::make_unique<TPageDispatch>(ui_, *doc_, frmMap_, this, [this](const QString& text) { setStatus(text); });
    many_ = std::make_unique<TManyRecords>(
        ui_, *doc_, *readView_, dialogs_, frmMap_, this, [this](const QString& text) { setStatus(text); },
        [this](const std::function<void()>& action) { guarded(action); });
    many_->AddToMenu(*ui_.Edit1);
    files_ = std::make_unique<TFileCommands>(*doc_, *readView_, dialogs_, static_cast<FileHost&>(*this), this,
                                             ui_.OpenDlg, *ui_.mnuRecent);
    searchLink_ = std::make_unique<SearchLink>(*doc_, *pages_, frmMap_, *this);
    search_ = std::make_unique<TSearchCommands>(ctx, *ui_.pnlOob, *searchLink_);
    many_->CheckRecord = [this](ScnListBox page, int index) { search_->CheckRecord(page, index); };
    mapLink_ =
        std::make_unique<MapLink>(ctx, ui_, *pages_, *many_, *search_, frmMap_,
                                  MapLink::Window{[this](const std::function<void()>& action) { userAction(action); },
                                                  [this](const std::function<void()>& action) { guarded(action); },
                                                  [this](int col, int row) { mapMoveCurSetup(col, row); }});
    if (frmMap_) frmMap_->SetHost(mapLink_.get());
    backupsLink_ = std::make_unique<BackupsLink>(*doc_, dialogs_, *pages_, *files_, frmMap_, *this);
    const std::pair<ScnListBox, TListBox*> boxes[] = {
        {ScnListBox::Units, ui_.lbUnits},         {ScnListBox::SetUnits, ui_.lbSetUnits},
        {ScnListBox::Releases, ui_.lbReleases},   {ScnListBox::Reinfor, ui_.lbReinfor},
        {ScnListBox::ReinUnits, ui_.lbReinUnits}, {ScnListBox::Commands, ui_.lbCommands}};
    for (const auto& [which, box] : boxes) readView_->SetBox(which, box);
}

void TfrmEdit::connectHandlers() {
    // Every slot goes through guarded(): no error crosses into the toolkit.
    auto on = [this](auto handler) { return [this, handler]() { guarded(handler); }; };

    const std::pair<QAction*, std::function<void(QObject*)>> items[] = {
        {ui_.mnuNew, [this](QObject* s) { mnuNewClick(s); }},
        {ui_.mnuOpen, [this](QObject* s) { bnReadClick(s); }},
        {ui_.mnuBrowse, [this](QObject* s) { bnBrowseClick(s); }},
        {ui_.mnuSave, [this](QObject* s) { bnSaveClick(s); }},
        {ui_.mnuSaveAs, [this](QObject* s) { mnuSaveAsClick(s); }},
        {ui_.mnuBackups, [this](QObject* s) { mnuBackupsClick(s); }},
        {ui_.mnuUndo, [this](QObject* s) { mnuUndoClick(s); }},
        {ui_.mnuRedo, [this](QObject* s) { mnuRedoClick(s); }},
        {ui_.mnuSynchOOB,
         [this](QObject* s) {
             search_->mnuSynchOOBClick(s);
             doc_->Commit(QStringLiteral("Synch w/ OOB"));
         }},
        {ui_.mnuHeader, [this](QObject* s) { mnuHeaderClick(s); }},
        {ui_.mnuViewMap, [this](QObject* s) { mnuViewMapClick(s); }},
        {ui_.mnuRefreshMap, [this](QObject* s) { sbRefreshClick(s); }},
        {ui_.mnuStrengthSCN, [this](QObject* s) { search_->mnuStrengthSCNClick(s); }},
        {ui_.mnuStrengthOOB, [this](QObject* s) { search_->mnuStrengthOOBClick(s); }},
        {ui_.mnuSchedule, [this](QObject* s) { mnuScheduleClick(s); }},
        {ui_.mnuSearchUnit, [this](QObject* s) { search_->mnuSearchUnitClick(s); }},
        {ui_.mnuSearchHex, [this](QObject* s) { search_->mnuSearchHexClick(s); }},
        {ui_.mnuErrorCheck, [this](QObject* s) { search_->mnuErrorCheckClick(s); }},
        {ui_.mnuCheckScenario, [this](QObject* s) { search_->mnuCheckScenarioClick(s); }},
    };
    for (const auto& entry : items) {
        QAction* item = entry.first;
        connect(item, &QAction::triggered, this, on([item, handler = entry.second] { handler(item); }));
    }
    connect(ui_.mnuExit, &QAction::triggered, this, [this] { close(); });
    // The manual and the About box: a room of their own.
    THelpMenu* help = THelpMenu::ForVarno(*this);
    connect(ui_.HelpContents, &QAction::triggered, help, &THelpMenu::ShowContents);
    connect(ui_.mnuAbout, &QAction::triggered, help, &THelpMenu::ShowAbout);
    doc_->ShowHistoryIn(*ui_.mnuUndo, *ui_.mnuRedo);

    connect(ui_.bnBrowse, &QToolButton::clicked, this, on([this] { bnBrowseClick(ui_.bnBrowse); }));
    connect(ui_.sbRead, &QToolButton::clicked, this, on([this] { bnReadClick(ui_.sbRead); }));
    connect(ui_.sbRefresh, &QToolButton::clicked, this, on([this] { sbRefreshClick(ui_.sbRefresh); }));
    connect(ui_.sbSave, &QToolButton::clicked, this, on([this] { bnSaveClick(ui_.sbSave); }));

    connect(ui_.lbUnits, &TListBox::userClick, this, on([this] { ui_.pnlOob->lbUnitsClick(ui_.lbUnits); }));
    connect(ui_.lbUnits, &QListWidget::itemDoubleClicked, this, on([this] { bnAddClick(ui_.lbUnits); }));
    connect(ui_.lbDesig, &TListBox::userClick, this, on([this] { ui_.pnlOob->lbDesigClick(ui_.lbDesig); }));
    connect(ui_.edDotName, &QLineEdit::textChanged, this, on([this] { ui_.pnlOob->edDotNameChange(ui_.edDotName); }));
    connect(ui_.lbSetUnits, &TListBox::userClick, this, on([this] { lbSetUnitsClick(ui_.lbSetUnits); }));
    connect(ui_.lbReleases, &TListBox::userClick, this, on([this] { lbReleasesClick(ui_.lbReleases); }));
    connect(ui_.lbReinfor, &TListBox::userClick, this, on([this] { lbReinforClick(ui_.lbReinfor); }));
    connect(ui_.lbReinUnits, &TListBox::userClick, this, on([this] { lbReinUnitsClick(ui_.lbReinUnits); }));
    connect(ui_.lbCommands, &TListBox::userClick, this, on([this] { lbCommandsClick(ui_.lbCommands); }));
    // After the page's own click, once the click has settled them: the lines selected together.
    const TListBox* pageLists[] = {ui_.lbSetUnits, ui_.lbReleases, ui_.lbReinfor, ui_.lbCommands};
    for (int p = 0; p < 4; ++p)
        connect(pageLists[p], &TListBox::linesChosen, this, on([this, p] { many_->TakeListSelection(p); }));
    connect(ui_.bnAdd, &QPushButton::clicked, this, on([this] { bnAddClick(ui_.bnAdd); }));
    connect(ui_.bnRemove, &QPushButton::clicked, this, on([this] { bnRemoveClick(ui_.bnRemove); }));
    connect(ui_.cbV103, &QCheckBox::clicked, this, on([this] { cbV103Click(ui_.cbV103); }));
    connect(ui_.Notebook1, &QTabWidget::currentChanged, this, on([this] { Notebook1Change(); }));

    // The pages from anywhere in the window: Alt and a letter belongs to the menus.
    const auto pageKey = [this](QKeyCombination key, int step) {
        auto* sc = new QShortcut(QKeySequence(key), this);
        connect(sc, &QShortcut::activated, this, [this, step] {
            const int n = ui_.Notebook1->count();
            if (n > 0) ui_.Notebook1->setCurrentIndex((ui_.Notebook1->currentIndex() + step + n) % n);
        });
    };
    pageKey(Qt::CTRL | Qt::Key_Tab, 1);
    pageKey(Qt::CTRL | Qt::Key_PageDown, 1);
    pageKey(Qt::CTRL | Qt::Key_PageUp, -1);
}

// ---------------------------------------------------------------------------
// Settings

void TfrmEdit::readSettings() {
    const EditSettings settings = EditSettings::Read(IniFile(SettingsFilePath()));
    Scn().OobPath = settings.OobPath;
    setScenarioPath(settings.ScnPath);
    files_->SetRecent(settings.Recent);
    ApplyPlaces(settings.Places, *this, *splitter_, frmMap_);
}

void TfrmEdit::writeSettings() {
    IniFile ini(SettingsFilePath());
    EditSettings{Scn().OobPath, scenarioPathBytes(), CurrentPlaces(*this, *splitter_, frmMap_), files_->Recent()}.Write(
        ini);
    ini.UpdateFile();
}

}  // namespace varno
