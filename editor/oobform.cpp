#include "oobform.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "FileNames.h"
#include "OobReader.h"
#include "ReadListener.h"
#include "ScanStr.h"
#include "ScnChecks.h"
#include "ScnError.h"
#include "ScnEdit.h"
#include "ScnReader.h"
#include "ScnWriter.h"
#include "commandspage.h"
#include "inifile.h"
#include "listbox.h"
#include "listform.h"
#include "mapform.h"
#include "maphost.h"
#include "reinforcementspage.h"
#include "releasespage.h"
#include "setunitspage.h"
#include "spinedit.h"
#include "textconv.h"
#include "windowfit.h"

namespace {

const QString kUnsavedQuestion = QStringLiteral("Changes have not been saved is this okay?");
const QString kPartialSaveQuestion = QStringLiteral(
    "The scenario was not read completely. Saving now writes only what was read before the error. Save anyway?");

// The longest order-of-battle line of the demo game: the column starts wide
// enough to show it whole.
const QString kWideUnitLine = QStringLiteral("390 1 I S 28th Yarrow Ford Sharpshooters");

// Selects a line as program code does: the list's own handler does not run.
void SelectLine(QListWidget* box, int row) {
    box->setCurrentRow(row);
}

// The line selected in a list box, or -1.
int SelectedLine(const QListWidget* box) {
    const int row = box->currentRow();
    if (row < 0 || !box->item(row) || !box->item(row)->isSelected()) return -1;
    return row;
}

// The position of an entry in the order of battle, or -1 when it is not in it
// (an entry of an earlier read).
int OobIndex(const Scenario& scn, const TOobRec* entry) {
    if (!entry || entry->Index < 0 || entry->Index >= static_cast<std::int32_t>(scn.OobList.size())) return -1;
    return scn.OobList[entry->Index] == entry ? entry->Index : -1;
}

TListBox* NewListBox(const char* name, QWidget* parent) {
    auto* box = new TListBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setUniformItemSizes(true);
    return box;
}

QLabel* NewLabel(const char* name, const QString& caption, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

}  // namespace

// Keeps the list boxes in step with the lists while the readers build them
// and the pages edit them, and passes the map notifications on.
class TfrmEdit::ReadView : public EditListener {
public:
    explicit ReadView(TfrmEdit& form) : form_(form) {}

    void listCleared(ScnListBox which) override { box(which)->clear(); }
    void lineAdded(ScnListBox which, std::string_view line) override { box(which)->addItem(Latin1(line)); }
    void lineRemoved(ScnListBox which, int index) override { delete box(which)->takeItem(index); }
    void lineChanged(ScnListBox which, int index, std::string_view text) override {
        if (QListWidgetItem* line = box(which)->item(index)) line->setText(Latin1(text));
    }
    void oobRead() override { form_.mapOobRead(); }
    void drawUnit(TSetupRec* rec, int col, int row) override {
        if (form_.frmMap) form_.frmMap->DrawUnit(rec, col, row);
    }

private:
    TListBox* box(ScnListBox which) const {
        switch (which) {
        case ScnListBox::Units: return form_.lbUnits;
        case ScnListBox::SetUnits: return form_.lbSetUnits;
        case ScnListBox::Releases: return form_.lbReleases;
        case ScnListBox::Reinfor: return form_.lbReinfor;
        case ScnListBox::ReinUnits: return form_.lbReinUnits;
        case ScnListBox::Commands: return form_.lbCommands;
        }
        return form_.lbUnits;
    }

    TfrmEdit& form_;
};

// What the map window uses of the main window.
class TfrmEdit::MapLink : public MapHost {
public:
    explicit MapLink(TfrmEdit& form) : form_(form) {}

    Scenario& MapScenario() override { return *form_.scn_; }
    QString SetupLineLabel(const TSetupRec* rec, int n) override { return form_.SetupLineLabel(rec, n); }
    void SelectPlacement(int index, QObject* sender) override {
        SelectLine(form_.lbSetUnits, index);
        form_.lbSetUnitsClick(sender);
    }
    void MoveCurSetup(int col, int row) override { form_.mapMoveCurSetup(col, row); }
    QRect MainFrame() override { return form_.frameGeometry(); }
    void ShowMapError(QWidget* parent, const QString& message) override { form_.dialogs_.ShowError(parent, message); }

private:
    TfrmEdit& form_;
};

TfrmEdit::TfrmEdit(Dialogs& dialogs, TfrmMap* map, QWidget* parent)
    : QMainWindow(parent), frmMap(map), dialogs_(dialogs), scn_(std::make_unique<Scenario>()),
      readView_(std::make_unique<ReadView>(*this)), mapLink_(std::make_unique<MapLink>(*this)) {
    if (frmMap) frmMap->Host = mapLink_.get();
    setObjectName(QStringLiteral("frmEdit"));
    setWindowTitle(QStringLiteral("Varno"));
    buildMenus();
    buildControls();
    connectHandlers();
    // The menus' keys (Ctrl+S, Ctrl+O) also work while the map window is active.
    if (frmMap)
        for (QAction* menu : menuBar()->actions())
            if (menu->menu())
                for (QAction* a : menu->menu()->actions())
                    if (!a->shortcut().isEmpty() && a->shortcutContext() == Qt::WindowShortcut) frmMap->addAction(a);
    move(75, 120);
    resize(designedWidth_, 478);
    // Alt and a menu's letter open that menu, also where a tab or a button
    // of the window carries the same letter.
    qApp->installEventFilter(this);

    OpenDlg.title = QStringLiteral("Open");
    OpenDlg.fileName = QStringLiteral("CH_A.SCN");
    // Game folders come from systems that ignore case: every spelling of the
    // extension is a scenario.
    OpenDlg.filters = {QStringLiteral("Scenario files (*.SCN *.scn *.Scn *.sCn *.scN *.SCn *.ScN *.sCN)"),
                       QStringLiteral("All files (*)")};
    OpenDlg.defaultSuffix = QStringLiteral("SCN");
}

TfrmEdit::~TfrmEdit() {
    if (frmMap && frmMap->Host == mapLink_.get()) frmMap->Host = nullptr;
}

EditListener& TfrmEdit::ListLines() {
    return *readView_;
}

void TfrmEdit::buildMenus() {
    auto item = [](QMenu* menu, const char* name, const QString& caption) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    auto newMenu = [this](const char* name, const QString& caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        return m;
    };

    File1 = newMenu("File1", QStringLiteral("&File"));
    mnuOpen = item(File1, "mnuOpen", QStringLiteral("&Open"));
    mnuOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuBrowse = item(File1, "mnuBrowse", QStringLiteral("&Browse"));
    mnuSave = item(File1, "mnuSave", QStringLiteral("&Save"));
    mnuSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuExit = item(File1, "mnuExit", QStringLiteral("E&xit"));

    Edit1 = newMenu("Edit1", QStringLiteral("&Edit"));
    mnuSynchOOB = item(Edit1, "mnuSynchOOB", QStringLiteral("&Synch w/ OOB"));

    View1 = newMenu("View1", QStringLiteral("&View"));
    mnuViewMap = item(View1, "mnuViewMap", QStringLiteral("&Map"));
    mnuViewMap->setShortcut(QKeySequence(Qt::Key_F5));
    mnuRefreshMap = item(View1, "mnuRefreshMap", QStringLiteral("&Refresh Map"));
    mnuStrengthSCN = item(View1, "mnuStrengthSCN", QStringLiteral("&Strength from SCN"));
    mnuStrengthOOB = item(View1, "mnuStrengthOOB", QStringLiteral("Strength from &OOB"));

    Search1 = newMenu("Search1", QStringLiteral("&Search"));
    mnuSearchUnit = item(Search1, "mnuSearchUnit", QStringLiteral("for &Unit / Leader"));
    mnuSearchUnit->setShortcut(QKeySequence(Qt::Key_F3));
    mnuSearchHex = item(Search1, "mnuSearchHex", QStringLiteral("for &Hex"));
    mnuSearchHex->setEnabled(false);  // no command behind it
    mnuErrorCheck = item(Search1, "mnuErrorCheck", QStringLiteral("for &Overloaded Hexes"));

    // The main menu's shortcuts also work while the map window is active, so
    // that F5 brings the main window back from the map.
    mnuViewMap->setShortcutContext(Qt::ApplicationShortcut);
    mnuSearchUnit->setShortcutContext(Qt::ApplicationShortcut);

    Help1 = newMenu("Help1", QStringLiteral("&Help"));
    HelpContents = item(Help1, "HelpContents", QStringLiteral("&Contents"));
    Help1->setEnabled(false);
}

void TfrmEdit::buildControls() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("Panel1"));
    setCentralWidget(central);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(6, 6, 6, 2);

    // The file row.
    auto* fileRow = new QHBoxLayout;
    edScenarioPath = new QLineEdit(QStringLiteral(".SCN"), central);
    edScenarioPath->setObjectName(QStringLiteral("edScenarioPath"));
    edScenarioPath->setToolTip(QStringLiteral("Enter name of scenario file"));
    auto speedButton = [central](const char* name, const QString& caption, const QString& hint) {
        auto* b = new QToolButton(central);
        b->setObjectName(QLatin1String(name));
        b->setText(caption);
        b->setToolTip(hint);
        return b;
    };
    bnBrowse = speedButton("bnBrowse", QStringLiteral("&Browse"), QStringLiteral("Find File"));
    sbRead = speedButton("sbRead", QStringLiteral("&R"), QStringLiteral("Read File"));
    sbRead->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    sbRead->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    sbRefresh = speedButton("sbRefresh", QString(), QStringLiteral("Refresh Map"));
    sbRefresh->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    sbSave = speedButton("sbSave", QStringLiteral("&S"), QStringLiteral("Save SCN file"));
    sbSave->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    sbSave->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    cbSort = new QCheckBox(QStringLiteral("Sort"), central);
    cbSort->setObjectName(QStringLiteral("cbSort"));
    fileRow->addWidget(edScenarioPath, 1);
    fileRow->addWidget(bnBrowse);
    fileRow->addWidget(sbRead);
    fileRow->addWidget(sbRefresh);
    fileRow->addWidget(sbSave);
    fileRow->addWidget(cbSort);
    outer->addLayout(fileRow);

    // The column and the notebook share the width; the user may move the border.
    auto* body = new QSplitter(Qt::Horizontal, central);
    body->setObjectName(QStringLiteral("Splitter1"));
    body->setChildrenCollapsible(false);
    outer->addWidget(body, 1);

    // The order-of-battle column.
    auto* column = new QVBoxLayout;
    column->addWidget(NewLabel("Label1", QStringLiteral("Order of Battle"), central));
    lbUnits = NewListBox("lbUnits", central);
    column->addWidget(lbUnits, 3);
    column->addWidget(NewLabel("Label2", QStringLiteral("Parent Units"), central));
    lbDesig = NewListBox("lbDesig", central);
    column->addWidget(lbDesig, 1);
    auto* dotRow = new QHBoxLayout;
    lbSide = NewLabel("lbSide", QStringLiteral("Union"), central);
    lbSide->setMinimumWidth(48);
    edDotName = new QLineEdit(QStringLiteral("1.1.1.1.1"), central);
    edDotName->setObjectName(QStringLiteral("edDotName"));
    edDotName->setToolTip(QStringLiteral("internal designation"));
    dotRow->addWidget(lbSide);
    dotRow->addWidget(edDotName, 1);
    column->addLayout(dotRow);
    auto* addRow = new QHBoxLayout;
    bnAdd = new QPushButton(QStringLiteral("&Add"), central);
    bnAdd->setObjectName(QStringLiteral("bnAdd"));
    bnRemove = new QPushButton(QStringLiteral("Re&move"), central);
    bnRemove->setObjectName(QStringLiteral("bnRemove"));
    addRow->addWidget(bnAdd);
    addRow->addWidget(bnRemove);
    column->addLayout(addRow);
    auto* columnBox = new QWidget(body);
    columnBox->setObjectName(QStringLiteral("pnlOob"));
    columnBox->setLayout(column);
    column->setContentsMargins(0, 0, 0, 0);
    body->addWidget(columnBox);

    // The notebook: the pages' fields come with their editing.
    Notebook1 = new QTabWidget(body);
    Notebook1->setObjectName(QStringLiteral("Notebook1"));
    body->addWidget(Notebook1);
    body->setStretchFactor(1, 1);
    splitter_ = body;

    const PageContext ctx{*scn_, *readView_, dialogs_, this, [this](const QString& text) { setStatus(text); }};
    pgSetUnits = new TSetUnitsPage(ctx);
    lbSetUnits = pgSetUnits->lbSetUnits;
    Notebook1->addTab(pgSetUnits, QStringLiteral("Set &Units"));
    pgReleases = new TReleasesPage(ctx);
    lbReleases = pgReleases->lbReleases;
    seChance = pgReleases->seChance;
    cbV103 = pgReleases->cbV103;
    Notebook1->addTab(pgReleases, QStringLiteral("R&eleases"));
    pgReinfor = new TReinforcementsPage(ctx);
    lbReinfor = pgReinfor->lbReinfor;
    lbReinUnits = pgReinfor->lbReinUnits;
    Notebook1->addTab(pgReinfor, QStringLiteral("Rein&forc"));
    pgCommands = new TCommandsPage(ctx);
    lbCommands = pgCommands->lbCommands;
    Notebook1->addTab(pgCommands, QStringLiteral("&Commands (AI)"));

    // The status panel along the bottom.
    Status = new QLabel(this);
    Status->setObjectName(QStringLiteral("Status"));
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(Status, 1);

    // The column starts wide enough for whole unit lines and the notebook gets
    // what its four tabs need; the designed width grows when both do not fit.
    const int tabs = Notebook1->tabBar()->sizeHint().width() + 12;
    const int columnWidth = lbUnits->fontMetrics().horizontalAdvance(kWideUnitLine) + 2 * lbUnits->frameWidth() +
                            style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, lbUnits) + 12;
    designedWidth_ = std::max(550, columnWidth + tabs + 12 + splitter_->handleWidth());
    const int inner = designedWidth_ - 12 - splitter_->handleWidth();
    splitter_->setSizes({columnWidth, inner - columnWidth});
}

template <class F> bool TfrmEdit::guarded(F&& handler) {
    try {
        handler();
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

void TfrmEdit::connectHandlers() {
    // Every slot goes through guarded(): no error crosses into the toolkit.
    auto on = [this](auto handler) { return [this, handler]() { guarded(handler); }; };

    connect(mnuOpen, &QAction::triggered, this, on([this] { bnReadClick(mnuOpen); }));
    connect(mnuBrowse, &QAction::triggered, this, on([this] { bnBrowseClick(mnuBrowse); }));
    connect(mnuSave, &QAction::triggered, this, on([this] { bnSaveClick(mnuSave); }));
    connect(mnuExit, &QAction::triggered, this, [this] { close(); });
    connect(mnuViewMap, &QAction::triggered, this, on([this] { mnuViewMapClick(mnuViewMap); }));
    connect(mnuRefreshMap, &QAction::triggered, this, on([this] { sbRefreshClick(mnuRefreshMap); }));
    connect(mnuSynchOOB, &QAction::triggered, this, on([this] { mnuSynchOOBClick(mnuSynchOOB); }));
    connect(mnuSearchUnit, &QAction::triggered, this, on([this] { mnuSearchUnitClick(mnuSearchUnit); }));
    connect(mnuErrorCheck, &QAction::triggered, this, on([this] { mnuErrorCheckClick(mnuErrorCheck); }));
    connect(mnuStrengthSCN, &QAction::triggered, this, on([this] { mnuStrengthSCNClick(mnuStrengthSCN); }));
    connect(mnuStrengthOOB, &QAction::triggered, this, on([this] { mnuStrengthOOBClick(mnuStrengthOOB); }));

    connect(bnBrowse, &QToolButton::clicked, this, on([this] { bnBrowseClick(bnBrowse); }));
    connect(sbRead, &QToolButton::clicked, this, on([this] { bnReadClick(sbRead); }));
    connect(sbRefresh, &QToolButton::clicked, this, on([this] { sbRefreshClick(sbRefresh); }));
    connect(sbSave, &QToolButton::clicked, this, on([this] { bnSaveClick(sbSave); }));

    connect(lbUnits, &TListBox::userClick, this, on([this] { lbUnitsClick(lbUnits); }));
    connect(lbUnits, &QListWidget::itemDoubleClicked, this, on([this] { bnAddClick(lbUnits); }));
    connect(lbDesig, &TListBox::userClick, this, on([this] { lbDesigClick(lbDesig); }));
    connect(edDotName, &QLineEdit::textChanged, this, on([this] { edDotNameChange(edDotName); }));
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

void TfrmEdit::setStatus(const QString& text) {
    Status->setText(text);
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

QMenu* TfrmEdit::menuForMnemonic(const QKeyEvent& key) const {
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier) return nullptr;
    const QKeySequence pressed(QKeyCombination(Qt::AltModifier, Qt::Key(key.key())));
    for (QAction* a : menuBar()->actions()) {
        if (a->menu() && a->isEnabled() && a->isVisible() && QKeySequence::mnemonic(a->text()) == pressed)
            return a->menu();
    }
    return nullptr;
}

bool TfrmEdit::eventFilter(QObject* watched, QEvent* e) {
    const bool overriding = e->type() == QEvent::ShortcutOverride;
    if (!overriding && e->type() != QEvent::KeyPress) return QMainWindow::eventFilter(watched, e);
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != this) return false;
    QMenu* menu = menuForMnemonic(*static_cast<QKeyEvent*>(e));
    if (!menu) return false;
    // Taken from the shortcuts (which would go to a tab or a button with the
    // same letter first), the key comes as a key press: it opens the menu.
    e->accept();
    if (!overriding) menuBar()->setActiveAction(menu->menuAction());
    return true;
}

void TfrmEdit::FormShow() {
    scn_->Modified = false;
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
    for (QAction* a : {mnuSynchOOB, mnuSearchUnit, mnuErrorCheck, mnuViewMap}) a->setEnabled(on);
}

void TfrmEdit::readSettings() {
    const IniFile ini(SettingsFilePath());
    scn_->OobPath = PathBytes(ini.ReadString(QStringLiteral("Paths"), QStringLiteral("OOBfile"),
                                             QStringLiteral("C:\\KLV\\MAIN.OOB")));
    edScenarioPath->setText(ini.ReadString(QStringLiteral("Paths"), QStringLiteral("SCNfile"), QStringLiteral(".SCN")));
    const auto forms = [&ini](const char* key) {
        return ini.ReadInteger(QStringLiteral("Forms"), QLatin1String(key), -1);
    };
    // The border between the column and the notebook: a section of our own.
    if (const int column = ini.ReadInteger(QStringLiteral("Layout"), QStringLiteral("OobWidth"), -1); column > 0) {
        const QList<int> sizes = splitter_->sizes();
        const int total = sizes.value(0) + sizes.value(1);
        if (total > 0) splitter_->setSizes({column, std::max(0, total - column)});
    }
    // A negative value keeps the designed place; a position the window system
    // refuses is its own business.
    if (const int top = forms("EditTop"); top >= 0) move(x(), top);
    if (const int left = forms("EditLeft"); left >= 0) move(left, y());
    if (frmMap) {
        frmMap->Placed = forms("MapTop") >= 0 || forms("MapLeft") >= 0;
        if (const int top = forms("MapTop"); top >= 0) frmMap->move(frmMap->x(), top);
        if (const int left = forms("MapLeft"); left >= 0) frmMap->move(left, frmMap->y());
        if (const int ht = forms("MapHt"); ht >= 0) frmMap->resize(frmMap->width(), ht);
        if (const int wid = forms("MapWid"); wid >= 0) frmMap->resize(wid, frmMap->height());
    }
}

void TfrmEdit::writeSettings() {
    IniFile ini(SettingsFilePath());
    const QString paths = QStringLiteral("Paths"), forms = QStringLiteral("Forms");
    ini.WriteString(paths, QStringLiteral("OOBfile"), PathText(scn_->OobPath));
    ini.WriteString(paths, QStringLiteral("SCNfile"), edScenarioPath->text());
    ini.WriteInteger(forms, QStringLiteral("EditTop"), y());
    ini.WriteInteger(forms, QStringLiteral("EditLeft"), x());
    // A map window never placed keeps no place: it goes beside the main window.
    const bool mapPlaced = frmMap && frmMap->Placed;
    ini.WriteInteger(forms, QStringLiteral("MapTop"), mapPlaced ? frmMap->y() : -1);
    ini.WriteInteger(forms, QStringLiteral("MapLeft"), mapPlaced ? frmMap->x() : -1);
    ini.WriteInteger(forms, QStringLiteral("MapHt"), frmMap ? frmMap->height() : -1);
    ini.WriteInteger(forms, QStringLiteral("MapWid"), frmMap ? frmMap->width() : -1);
    ini.WriteInteger(QStringLiteral("Layout"), QStringLiteral("OobWidth"), splitter_->sizes().value(0, -1));
    ini.UpdateFile();
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
    if (scn_->Modified && !dialogs_.ConfirmOkCancel(this, kUnsavedQuestion)) {
        CanClose = false;
        return;
    }
    writeSettings();
    // The lists and their records live as long as the window.
}

// ---------------------------------------------------------------------------
// Files

void TfrmEdit::bnBrowseClick(QObject* /*Sender*/) {
    OpenDlg.initialDir = PathText(DirPart(PathBytes(edScenarioPath->text())));
    const QString chosen = dialogs_.OpenFile(this, OpenDlg);
    if (chosen.isEmpty()) return;
    // Kept as chosen: the game's file names may be in any case.
    edScenarioPath->setText(chosen);
    bnReadClick(bnBrowse);
}

void TfrmEdit::bnReadClick(QObject* /*Sender*/) {
    if (scn_->Modified && !dialogs_.ConfirmOkCancel(this, kUnsavedQuestion)) return;
    // Reading makes the game's folder the working directory, where a relative
    // path would name another file: the path is made absolute first.
    const std::string path = AbsoluteScenarioPath(PathBytes(edScenarioPath->text()));
    edScenarioPath->setText(PathText(path));
    ReadOob(*scn_, path, *readView_);
    // "V 1.03" takes the form of the file's releases, so that a Save keeps
    // their chances; also after a failed Read, for the releases it got.
    const auto releaseForm = [this] {
        cbV103->setChecked(!scn_->ReleaseChanceInFile);
        seChance->setEnabled(!cbV103->isChecked());
    };
    try {
        ReadScenario(*scn_, path, *readView_);
    } catch (...) {
        releaseForm();
        throw;
    }
    releaseForm();
    enableScenarioCommands(true);
}

void TfrmEdit::mapOobRead() {
    if (!frmMap) return;
    // The map's troubles do not stop the Read.
    guarded([this] { frmMap->ClearUnits(); });
    guarded([this] { frmMap->Show(); });
}

void TfrmEdit::bnSaveClick(QObject* /*Sender*/) {
    // After a Read that stopped at an error the lists hold part of the file.
    if (scn_->ReadIncomplete && !dialogs_.ConfirmOkCancel(this, kPartialSaveQuestion)) return;
    StoreSetupEdits();
    StoreReleaseEdits();
    StoreGroupEdits();
    StoreCommandEdits();
    WriteOptions opts;
    opts.SortByCol = cbSort->isChecked();
    opts.V103 = cbV103->isChecked();
    WriteScenario(*scn_, PathBytes(edScenarioPath->text()), opts, [this](std::string_view text) {
        setStatus(Latin1(text));
        Status->repaint();  // visible while the file is being written
    });
    // The file now holds what the lists hold: asked once is enough.
    scn_->ReadIncomplete = false;
}

void TfrmEdit::StoreSetupEdits() { pgSetUnits->StoreSetupEdits(); }
void TfrmEdit::StoreReleaseEdits() { pgReleases->StoreReleaseEdits(); }
void TfrmEdit::StoreGroupEdits() { pgReinfor->StoreGroupEdits(); }
void TfrmEdit::StoreCommandEdits() { pgCommands->StoreCommandEdits(); }

QString TfrmEdit::SetupLineLabel(const TSetupRec* rec, int n) const {
    if (!rec || n <= 0) return {};
    return Latin1(::SetupLineLabel(*rec, static_cast<std::size_t>(n)));
}

// Add and Remove work on the notebook's current page; each page's branch
// leaves its list's line to show, which is shown here without following
// into the order-of-battle column.
void TfrmEdit::bnAddClick(QObject* /*Sender*/) {
    Scenario& scn = *scn_;
    const int row = SelectedLine(lbUnits);
    if (row < 0 || row >= static_cast<int>(scn.OobList.size())) {
        setStatus(QStringLiteral("Please select a unit or leader"));
        return;
    }
    scn.CurOob = scn.OobList[row];
    switch (Notebook1->currentIndex()) {
    case 0:
        if (pgSetUnits->Add(scn.CurOob)) lbSetUnitsClick(nullptr);
        break;
    case 1:
        if (pgReleases->Add(scn.CurOob)) lbReleasesClick(nullptr);
        break;
    case 2:
        if (pgReinfor->Add(scn.CurOob)) lbReinforClick(nullptr);
        break;
    case 3:
        if (pgCommands->Add(scn.CurOob)) lbCommandsClick(nullptr);
        break;
    default: break;
    }
}

void TfrmEdit::bnRemoveClick(QObject* /*Sender*/) {
    switch (Notebook1->currentIndex()) {
    case 0: pgSetUnits->Remove(); break;
    case 1: pgReleases->Remove(); break;
    case 2:
        if (pgReinfor->Remove()) lbReinforClick(nullptr);
        break;
    case 3: pgCommands->Remove(); break;
    default: break;
    }
}

void TfrmEdit::cbV103Click(QObject* /*Sender*/) {
    seChance->setEnabled(!cbV103->isChecked());
}

void TfrmEdit::Notebook1Change() {
    setStatus(QString());
}

// ---------------------------------------------------------------------------
// Map

void TfrmEdit::sbRefreshClick(QObject* /*Sender*/) {
    if (!frmMap) return;
    // A map that cannot be loaded again is reported; the placements are
    // drawn all the same, as Read does.
    guarded([this] { frmMap->ClearUnits(); });
    for (TSetupRec* rec : scn_->SetupList) frmMap->DrawUnit(rec, rec->Col, rec->Row);
}

void TfrmEdit::mapMoveCurSetup(int col, int row) {
    TSetupRec* cur = scn_->CurSetup;
    if (!cur) return;
    // A move is a change (Modified): closing must ask before it is lost.
    MoveSetup(*scn_, cur, col, row, ListLines());
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
// The order-of-battle column

void TfrmEdit::lbUnitsClick(QObject* Sender) {
    Scenario& scn = *scn_;
    if (lbUnits->count() == 0) return;
    if (Sender != edDotName) {
        const int row = SelectedLine(lbUnits);
        if (row < 0 || row >= static_cast<int>(scn.OobList.size())) return;
        scn.CurOob = scn.OobList[row];
        // A change of the edit looks the name up at once and shows the entry
        // it finds, with its placement; unchanged text does nothing.
        edDotName->setText(Latin1(DotName(*scn.CurOob)));
    }
    TOobRec* cur = scn.CurOob;
    if (!cur) return;
    lbSide->setText(cur->Side ? QStringLiteral("Union") : QStringLiteral("Confed"));

    lbDesig->clear();
    const auto count = static_cast<std::int32_t>(scn.OobList.size());
    for (const TOobRec* e = cur; e->Parent >= 0 && e->Parent < count;) {
        TOobRec* parent = scn.OobList[e->Parent];
        auto* line = new QListWidgetItem(Latin1(parent->Display), lbDesig);
        line->setData(Qt::UserRole, QVariant::fromValue(static_cast<void*>(parent)));
        if (parent == cur) break;  // a list that loops on itself
        e = parent;
    }

    if (Sender && cur->Setup && !showingPlacement_) {
        const auto& setups = scn.SetupList;
        const auto it = std::find(setups.begin(), setups.end(), cur->Setup);
        if (it != setups.end()) {
            SelectLine(lbSetUnits, static_cast<int>(it - setups.begin()));
            lbSetUnitsClick(nullptr);
        }
    }
}

void TfrmEdit::lbDesigClick(QObject* /*Sender*/) {
    Scenario& scn = *scn_;
    if (lbUnits->count() == 0) return;
    const int row = SelectedLine(lbDesig);
    if (row < 0) return;
    auto* entry = static_cast<TOobRec*>(lbDesig->item(row)->data(Qt::UserRole).value<void*>());
    // A line left over from before a read names an entry that is gone.
    const int index = OobIndex(scn, entry);
    if (index < 0) return;
    SelectLine(lbUnits, index);
    lbUnitsClick(nullptr);
}

void TfrmEdit::edDotNameChange(QObject* /*Sender*/) {
    Scenario& scn = *scn_;
    if (lbUnits->count() == 0) return;
    const QString text = edDotName->text();
    if (text.isEmpty() || text.endsWith(u'.')) return;  // still typing

    DotKey key{};
    void* dest[7];
    for (int k = 0; k < 7; ++k) dest[k] = &key[k];
    const QByteArray bytes = text.toLatin1();
    ScanStr(std::string_view(bytes.constData(), bytes.size()), "%hd.%hd.%hd.%hd.%hd.%hd.%hd", dest, 7);

    if (key[0] == 0) {
        dialogs_.Beep();
        setStatus(QStringLiteral("Invalid dot name"));
        edDotName->clear();
        return;
    }
    if (!scn.FindDotName(key)) {
        dialogs_.Beep();
        setStatus(QStringLiteral("Not found"));
        return;
    }
    setStatus(QString());
    const int index = OobIndex(scn, scn.CurOob);
    if (index < 0) return;
    SelectLine(lbUnits, index);
    lbUnitsClick(edDotName);
}

// Shows an entry in the order-of-battle column, as a click there would (its
// placement, if any, is selected on the Set Units page).
void TfrmEdit::selectInBrowser(const TOobRec* entry) {
    const int index = OobIndex(*scn_, entry);
    if (index < 0) return;
    SelectLine(lbUnits, index);
    lbUnitsClick(this);
}

void TfrmEdit::lbSetUnitsClick(QObject* Sender) {
    Scenario& scn = *scn_;
    TSetupRec* rec = pgSetUnits->SelectSetup();
    if (!rec) return;
    if (frmMap) frmMap->CurUnitName = SetupLineLabel(rec, 50);
    if (!Sender || !rec->Unit) return;
    const int index = OobIndex(scn, rec->Unit);
    if (index < 0) return;
    const QScopedValueRollback guard(showingPlacement_, true);
    SelectLine(lbUnits, index);
    lbUnitsClick(nullptr);
}

// ---------------------------------------------------------------------------
// Search, checks and strength lists

void TfrmEdit::mnuSynchOOBClick(QObject* /*Sender*/) {
    Scenario& scn = *scn_;
    // What the user typed on the Set Units page goes in first; the page then
    // shows the synchronised record, so that no later store undoes the synch.
    StoreSetupEdits();
    if (SynchStrengths(scn.SetupList) > 0) scn.Modified = true;
    reshowSelectedSetup();
}

// Shows the selected placement on the Set Units page again from its record,
// which changed under the page: its fields are not stored into it first
// (storing does nothing while no placement is current).
void TfrmEdit::reshowSelectedSetup() {
    if (SelectedLine(lbSetUnits) < 0) return;
    scn_->CurSetup = nullptr;
    lbSetUnitsClick(nullptr);
}

void TfrmEdit::mnuSearchUnitClick(QObject* /*Sender*/) {
    QString text;
    if (!dialogs_.InputQuery(this, QStringLiteral("Search for Unit / Leader"), QStringLiteral("Name?"), text)) return;
    text.truncate(255);
    Scenario& scn = *scn_;
    // The lines are Latin-1: a text with any other character is in none of them.
    const bool latin1 = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
    const QByteArray bytes = latin1 ? text.toLatin1() : QByteArray();
    const auto lines = std::min(static_cast<std::size_t>(lbUnits->count()), scn.OobList.size());
    // Nothing is repainted during the walk: of the lines it passes to the
    // status panel, only the last one is ever seen.
    int shown = -1;
    const int found = SearchOob(scn.OobList, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                                [&shown](std::size_t line) { shown = static_cast<int>(line); }, lines);
    if (shown >= 0) setStatus(lbUnits->item(shown)->text());
    if (found < 0) return;
    SelectLine(lbUnits, found);
    lbUnitsClick(nullptr);
}

void TfrmEdit::mnuErrorCheckClick(QObject* /*Sender*/) {
    const std::vector<std::string> findings =
        FindOverloadedHexes(scn_->SetupList, [this](std::size_t done, std::size_t count) {
            setStatus(QStringLiteral("%1 out of %2").arg(done).arg(count));
        });
    if (!findings.empty()) {
        TfrmList& list = listWindow();
        QStringList lines;
        for (const std::string& f : findings) lines << Latin1(f);
        list.lbList->clear();
        list.lbList->addItems(lines);
        list.setWindowTitle(QStringLiteral("Overfilled hexes"));
        list.Restore();
        if (list.IsNormalState()) list.resize(200, 300);
        list.ShowList();
    } else if (frmList) {
        frmList->lbList->clear();
    }
    setStatus(QStringLiteral("  Done"));
}

void TfrmEdit::mnuStrengthSCNClick(QObject* /*Sender*/) {
    ShowStrength(true);
}

void TfrmEdit::mnuStrengthOOBClick(QObject* /*Sender*/) {
    ShowStrength(false);
}

void TfrmEdit::ShowStrength(bool FromScenario) {
    TfrmList& list = listWindow();
    list.lbList->clear();
    list.setWindowTitle(Latin1(StrengthCaption(FromScenario)));
    QStringList lines;
    // Only the entries the order-of-battle list shows: a failed read may
    // have left one more in the list.
    for (const std::string& line : StrengthLines(scn_->OobList, FromScenario, static_cast<std::size_t>(lbUnits->count())))
        lines << Latin1(line);
    list.lbList->addItems(lines);
    list.Restore();
    if (list.IsNormalState() && list.height() < 500) list.resize(400, 500);
    list.ShowList();
}

TfrmList& TfrmEdit::listWindow() {
    if (!frmList) {
        frmList = new TfrmList(this);
        frmList->setAttribute(Qt::WA_QuitOnClose, false);
    }
    return *frmList;
}

void TfrmEdit::lbReleasesClick(QObject* Sender) {
    const TReleaseRec* rec = pgReleases->SelectRelease();
    if (rec && Sender) selectInBrowser(rec->Unit);
}

void TfrmEdit::lbReinforClick(QObject* Sender) {
    const TReinfGroup* g = pgReinfor->SelectGroup();
    if (g && Sender && g->Count > 0) selectInBrowser(g->Units[0]);
}

void TfrmEdit::lbReinUnitsClick(QObject* Sender) {
    if (!Sender) return;
    if (const TOobRec* unit = pgReinfor->SelectedUnit()) selectInBrowser(unit);
}

void TfrmEdit::lbCommandsClick(QObject* Sender) {
    const TCommandRec* rec = pgCommands->SelectCommand();
    if (rec && Sender) selectInBrowser(rec->Unit);
}
