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
#include <QToolButton>
#include <exception>

#include "editor/backupslink.h"
#include "editor/commandspage.h"
#include "editor/editsettings.h"
#include "editor/filecommands.h"
#include "editor/help/helpmenu.h"
#include "editor/inifile.h"
#include "editor/listbox.h"
#include "editor/listform.h"
#include "editor/listlines.h"
#include "editor/maplink.h"
#include "editor/mnemonicfilter.h"
#include "editor/oobcolumn.h"
#include "editor/pagedispatch.h"
#include "editor/reinforcementspage.h"
#include "editor/releasespage.h"
#include "editor/schedulewindow.h"
#include "editor/scndocument.h"
#include "editor/searchcommands.h"
#include "editor/searchlink.h"
#include "editor/setunitspage.h"
#include "editor/spinedit.h"
#include "editor/textconv.h"
#include "editor/windowplacing.h"
#include "mapview/mapform.h"
#include "mapview/windowfit.h"
#include "scenario/filenames.h"
#include "scenario/scnerror.h"

namespace varno {

namespace {

const QString kChangedQuestion =
    QStringLiteral("The scenario file was changed by another program since it was read. Save anyway?");

}  // namespace

TfrmEdit::TfrmEdit(Dialogs& dialogs, TfrmMap* map, QWidget* parent)
    : QMainWindow(parent), frmMap(map), dialogs_(dialogs), doc_(std::make_unique<TScnDocument>()),
      readView_(std::make_unique<TListLines>()), mapLink_(std::make_unique<MapLink>(*this)),
      backupsLink_(std::make_unique<BackupsLink>(*this)), searchHost_(std::make_unique<SearchLink>(*this)) {
    if (frmMap) frmMap->Host = mapLink_.get();
    readView_->OnOobRead = [this] { mapOobRead(); };
    readView_->OnDrawUnit = [this](const TSetupRec* rec, int col, int row) {
        if (frmMap) frmMap->DrawUnit(rec, col, row);
    };
    readView_->OnChange = [this] {
        scenarioChanged();
        // Changes made outside the window's handlers (the map's) are a step too.
        if (handlerDepth_ == 0) doc_->CommitSoon();
    };
    connect(doc_.get(), &TScnDocument::stateChanged, this, [this] { showState(); });
    // The map outlines the selected placement.
    connect(doc_.get(), &TScnDocument::selectionChanged, this, [this](RecordKind kind) {
        if (kind == RecordKind::Placement && frmMap) frmMap->ScenarioChanged();
    });
    doc_->Lines = readView_.get();
    doc_->AfterStep = [this](const EditStep& step) { showStep(step); };
    setObjectName(QStringLiteral("frmEdit"));
    setWindowTitle(QStringLiteral("Varno"));
    buildControls();
    connectHandlers();
    // The menus' keys (Ctrl+S, Ctrl+O) also work while the map window is active.
    if (frmMap)
        for (QAction* menu : menuBar()->actions())
            if (menu->menu())
                for (QAction* a : menu->menu()->actions())
                    if (!a->shortcut().isEmpty() && a->shortcutContext() == Qt::WindowShortcut) frmMap->addAction(a);
    // The map's View > Hex Numbers also in this View menu.
    if (frmMap) View1->insertAction(mnuStrengthSCN, frmMap->mnuHexNumbers);
    move(75, 120);
    resize(designedWidth_, 478);
    // Alt and a menu's letter open that menu, also where a tab or a button
    // of the window carries the same letter.
    qApp->installEventFilter(new TMnemonicFilter(*this));
}

TfrmEdit::~TfrmEdit() {
    if (frmMap && frmMap->Host == mapLink_.get()) frmMap->Host = nullptr;
}

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
    try {
        userAction(handler);
        return true;
    } catch (const ScnError& e) {
        dialogs_.ShowError(this, MessageText(e.message()));
    } catch (const std::exception& e) {
        dialogs_.ShowError(this, MessageText(e.what()));
    } catch (...) {
        dialogs_.ShowError(this, QStringLiteral("Unknown error"));
    }
    return false;
}

void TfrmEdit::setStatus(const QString& text) { Status->setText(text); }

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
    Notebook1->setCurrentIndex(0);
    readSettings();
    // A place or size stored on another screen is brought back onto this one.
    KeepOnScreen(*this);
    seChance->setEnabled(!cbV103->isChecked());
}

void TfrmEdit::enableScenarioCommands(bool on) {
    for (QMenu* m : {Edit1, View1, Search1}) m->setEnabled(on);
    mnuSave->setEnabled(on);
    sbSave->setEnabled(on);
    mnuRefreshMap->setEnabled(on);
    sbRefresh->setEnabled(on);
    for (QAction* a :
         {mnuSaveAs, mnuSynchOOB, mnuHeader, mnuSearchUnit, mnuSearchHex, mnuErrorCheck, mnuCheckScenario, mnuViewMap})
        a->setEnabled(on);
}

std::string TfrmEdit::scenarioPathBytes() const {
    return edScenarioPath->text() == pathShown_ ? pathBytes_ : PathBytes(edScenarioPath->text());
}

void TfrmEdit::setScenarioPath(const std::string& bytes) {
    pathBytes_ = bytes;
    pathShown_ = PathText(bytes);  // decoded for reading only
    edScenarioPath->setText(pathShown_);
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
    Status->repaint();  // visible while the file is being written
}

void TfrmEdit::StorePageEdits() {
    StoreSetupEdits();
    StoreReleaseEdits();
    StoreGroupEdits();
    StoreCommandEdits();
}

WriteOptions TfrmEdit::SaveOptions() const {
    WriteOptions opts;
    opts.SortByCol = cbSort->isChecked();
    opts.V103 = cbV103->isChecked();
    return opts;
}

void TfrmEdit::ScenarioRead(bool complete) {
    // "V 1.03" takes the form of the file's releases, so that a Save keeps
    // their chances; also after a failed Read, for the releases it got.
    cbV103->setChecked(!Scn().ReleaseChanceInFile);
    seChance->setEnabled(!cbV103->isChecked());
    if (complete) enableScenarioCommands(true);
}

void TfrmEdit::Guarded(const std::function<void()>& command) { guarded(command); }

void TfrmEdit::mapOobRead() {
    if (!frmMap) return;
    frmMap->ClearMarks();
    // The map's troubles do not stop the Read.
    guarded([this] { frmMap->ClearUnits(); });
    guarded([this] { frmMap->Show(); });
}

void TfrmEdit::mnuHeaderClick(QObject* /*Sender*/) { files_->EditHeader(); }

void TfrmEdit::StoreSetupEdits() { pgSetUnits->StoreSetupEdits(); }
void TfrmEdit::StoreReleaseEdits() { pgReleases->StoreReleaseEdits(); }
void TfrmEdit::StoreGroupEdits() { pgReinfor->StoreGroupEdits(); }
void TfrmEdit::StoreCommandEdits() { pgCommands->StoreCommandEdits(); }

QString TfrmEdit::SetupLineLabel(const TSetupRec* rec, int n) const {
    if (!rec || n <= 0) return {};
    return Latin1(varno::SetupLineLabel(*rec, static_cast<std::size_t>(n)));
}

// The dispatch between column, pages and map: TPageDispatch.
void TfrmEdit::bnAddClick(QObject* /*Sender*/) { pages_->Add(); }
void TfrmEdit::bnRemoveClick(QObject* /*Sender*/) { pages_->Remove(); }
void TfrmEdit::lbSetUnitsClick(QObject* Sender) { pages_->SetUnitsClick(Sender); }
void TfrmEdit::lbReleasesClick(QObject* Sender) { pages_->ReleasesClick(Sender); }
void TfrmEdit::lbReinforClick(QObject* Sender) { pages_->ReinforClick(Sender); }
void TfrmEdit::lbReinUnitsClick(QObject* Sender) { pages_->ReinUnitsClick(Sender); }
void TfrmEdit::lbCommandsClick(QObject* Sender) { pages_->CommandsClick(Sender); }
void TfrmEdit::reshowSelectedSetup() { pages_->ReshowSelectedSetup(); }

void TfrmEdit::cbV103Click(QObject* /*Sender*/) { seChance->setEnabled(!cbV103->isChecked()); }

void TfrmEdit::Notebook1Change() { setStatus(QString()); }

// ---------------------------------------------------------------------------
// Map

void TfrmEdit::sbRefreshClick(QObject* /*Sender*/) {
    if (!frmMap) return;
    // A map that cannot be loaded again is reported; the placements are
    // drawn all the same, as Read does.
    guarded([this] { frmMap->ClearUnits(); });
    for (const TSetupRec* rec : Scn().SetupList()) frmMap->DrawUnit(rec, rec->Col, rec->Row);
}

void TfrmEdit::mapMoveCurSetup(int col, int row) {
    const TSetupRec* cur = doc_->Sel().CurSetup();
    if (!cur) return;
    // A move is a change (Modified): closing must ask before it is lost.
    MoveSetup(Scn(), cur, col, row, ListLines(), doc_->Step());
    // Only the hex: other edits typed on the page and not yet stored stay.
    pgSetUnits->ShowHex();
}

void TfrmEdit::mnuViewMapClick(QObject* /*Sender*/) {
    if (!frmMap) return;
    if (QApplication::activeWindow() == this) {
        frmMap->Show();
        frmMap->activateWindow();
    } else {
        show();
        raise();
        activateWindow();
    }
}

// ---------------------------------------------------------------------------
// Windows and the history

void TfrmEdit::mnuScheduleClick(QObject* /*Sender*/) {
    if (!frmSchedule) {
        frmSchedule = new TfrmSchedule(
            Scn(), dialogs_,
            [this](ScheduleEventKind kind, int index) { pages_->SelectOnPage(kind, index, frmSchedule); }, this);
        frmSchedule->setAttribute(Qt::WA_QuitOnClose, false);
    }
    frmSchedule->ScenarioChanged();
    frmSchedule->show();
    frmSchedule->raise();
    frmSchedule->activateWindow();
}

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

void TfrmEdit::showStep(const EditStep& step) {
    pages_->ShowCurrentRecords();
    if (frmMap)
        for (const auto& [col, row] : step.SetupHexes()) frmMap->RedrawHex(col, row, false);
    scenarioChanged();
}

void TfrmEdit::scenarioChanged() {
    if (frmSchedule) frmSchedule->ScenarioChanged();
    if (frmMap) frmMap->ScenarioChanged();
}

TfrmList& TfrmEdit::listWindow() {
    if (!frmList) {
        frmList = new TfrmList(this);
        frmList->setAttribute(Qt::WA_QuitOnClose, false);
    }
    return *frmList;
}

// ---------------------------------------------------------------------------
// The widgets, the menus and their wiring

void TfrmEdit::buildControls() {
    const PageContext ctx{*doc_, *readView_, dialogs_, this, [this](const QString& text) { setStatus(text); }};
    SetupWidgets(*this, ctx);
    splitter_ = Splitter1;
    designedWidth_ = DesignedWidth;
    pnlOob->ShowPlacement = [this](int index) {
        lbSetUnits->SelectLine(index);
        lbSetUnitsClick(nullptr);
    };
    pages_ =
        std::make_unique<TPageDispatch>(*this, *doc_, frmMap, this, [this](const QString& text) { setStatus(text); });
    search_ = std::make_unique<TSearchCommands>(ctx, *pnlOob, *searchHost_);
    files_ = std::make_unique<TFileCommands>(*doc_, *readView_, dialogs_, static_cast<FileHost&>(*this), this, OpenDlg,
                                             *mnuRecent);
    const std::pair<ScnListBox, TListBox*> boxes[] = {
        {ScnListBox::Units, lbUnits},     {ScnListBox::SetUnits, lbSetUnits},   {ScnListBox::Releases, lbReleases},
        {ScnListBox::Reinfor, lbReinfor}, {ScnListBox::ReinUnits, lbReinUnits}, {ScnListBox::Commands, lbCommands}};
    for (const auto& [which, box] : boxes) readView_->SetBox(which, box);
}

void TfrmEdit::connectHandlers() {
    // Every slot goes through guarded(): no error crosses into the toolkit.
    auto on = [this](auto handler) { return [this, handler]() { guarded(handler); }; };

    const std::pair<QAction*, std::function<void(QObject*)>> items[] = {
        {mnuNew, [this](QObject* s) { mnuNewClick(s); }},
        {mnuOpen, [this](QObject* s) { bnReadClick(s); }},
        {mnuBrowse, [this](QObject* s) { bnBrowseClick(s); }},
        {mnuSave, [this](QObject* s) { bnSaveClick(s); }},
        {mnuSaveAs, [this](QObject* s) { mnuSaveAsClick(s); }},
        {mnuBackups, [this](QObject* s) { mnuBackupsClick(s); }},
        {mnuUndo, [this](QObject* s) { mnuUndoClick(s); }},
        {mnuRedo, [this](QObject* s) { mnuRedoClick(s); }},
        {mnuSynchOOB,
         [this](QObject* s) {
             search_->mnuSynchOOBClick(s);
             doc_->Commit(QStringLiteral("Synch w/ OOB"));
         }},
        {mnuHeader, [this](QObject* s) { mnuHeaderClick(s); }},
        {mnuViewMap, [this](QObject* s) { mnuViewMapClick(s); }},
        {mnuRefreshMap, [this](QObject* s) { sbRefreshClick(s); }},
        {mnuStrengthSCN, [this](QObject* s) { search_->mnuStrengthSCNClick(s); }},
        {mnuStrengthOOB, [this](QObject* s) { search_->mnuStrengthOOBClick(s); }},
        {mnuSchedule, [this](QObject* s) { mnuScheduleClick(s); }},
        {mnuSearchUnit, [this](QObject* s) { search_->mnuSearchUnitClick(s); }},
        {mnuSearchHex, [this](QObject* s) { search_->mnuSearchHexClick(s); }},
        {mnuErrorCheck, [this](QObject* s) { search_->mnuErrorCheckClick(s); }},
        {mnuCheckScenario, [this](QObject* s) { search_->mnuCheckScenarioClick(s); }},
    };
    for (const auto& entry : items) {
        QAction* item = entry.first;
        connect(item, &QAction::triggered, this, on([item, handler = entry.second] { handler(item); }));
    }
    connect(mnuExit, &QAction::triggered, this, [this] { close(); });
    // The manual and the About box: a room of their own.
    THelpMenu* help = THelpMenu::ForVarno(*this);
    connect(HelpContents, &QAction::triggered, help, &THelpMenu::ShowContents);
    connect(mnuAbout, &QAction::triggered, help, &THelpMenu::ShowAbout);
    doc_->ShowHistoryIn(*mnuUndo, *mnuRedo);

    connect(bnBrowse, &QToolButton::clicked, this, on([this] { bnBrowseClick(bnBrowse); }));
    connect(sbRead, &QToolButton::clicked, this, on([this] { bnReadClick(sbRead); }));
    connect(sbRefresh, &QToolButton::clicked, this, on([this] { sbRefreshClick(sbRefresh); }));
    connect(sbSave, &QToolButton::clicked, this, on([this] { bnSaveClick(sbSave); }));

    connect(lbUnits, &TListBox::userClick, this, on([this] { pnlOob->lbUnitsClick(lbUnits); }));
    connect(lbUnits, &QListWidget::itemDoubleClicked, this, on([this] { bnAddClick(lbUnits); }));
    connect(lbDesig, &TListBox::userClick, this, on([this] { pnlOob->lbDesigClick(lbDesig); }));
    connect(edDotName, &QLineEdit::textChanged, this, on([this] { pnlOob->edDotNameChange(edDotName); }));
    connect(lbSetUnits, &TListBox::userClick, this, on([this] { lbSetUnitsClick(lbSetUnits); }));
    connect(lbReleases, &TListBox::userClick, this, on([this] { lbReleasesClick(lbReleases); }));
    connect(lbReinfor, &TListBox::userClick, this, on([this] { lbReinforClick(lbReinfor); }));
    connect(lbReinUnits, &TListBox::userClick, this, on([this] { lbReinUnitsClick(lbReinUnits); }));
    connect(lbCommands, &TListBox::userClick, this, on([this] { lbCommandsClick(lbCommands); }));
    connect(bnAdd, &QPushButton::clicked, this, on([this] { bnAddClick(bnAdd); }));
    connect(bnRemove, &QPushButton::clicked, this, on([this] { bnRemoveClick(bnRemove); }));
    connect(cbV103, &QCheckBox::clicked, this, on([this] { cbV103Click(cbV103); }));
    connect(Notebook1, &QTabWidget::currentChanged, this, on([this] { Notebook1Change(); }));

    // The pages from anywhere in the window: Alt and a letter belongs to the menus.
    const auto pageKey = [this](QKeyCombination key, int step) {
        auto* sc = new QShortcut(QKeySequence(key), this);
        connect(sc, &QShortcut::activated, this, [this, step] {
            const int n = Notebook1->count();
            if (n > 0) Notebook1->setCurrentIndex((Notebook1->currentIndex() + step + n) % n);
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
    ApplyPlaces(settings.Places, *this, *splitter_, frmMap);
}

void TfrmEdit::writeSettings() {
    IniFile ini(SettingsFilePath());
    EditSettings{Scn().OobPath, scenarioPathBytes(), CurrentPlaces(*this, *splitter_, frmMap), files_->Recent()}.Write(
        ini);
    ini.UpdateFile();
}

}  // namespace varno
