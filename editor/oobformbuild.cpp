// The main window's widgets and menus, made in code, and the wiring of their
// signals to the handlers.
#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
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

#include "editor/commandspage.h"
#include "editor/listbox.h"
#include "editor/listlines.h"
#include "editor/oobcolumn.h"
#include "editor/oobform.h"
#include "editor/reinforcementspage.h"
#include "editor/releasespage.h"
#include "editor/searchcommands.h"
#include "editor/searchlink.h"
#include "editor/setunitspage.h"
#include "editor/spinedit.h"
#include "scenario/readlistener.h"

namespace varno {

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
    mnuBackups = item(File1, "mnuBackups", QStringLiteral("Bac&kups..."));
    mnuExit = item(File1, "mnuExit", QStringLiteral("E&xit"));

    Edit1 = newMenu("Edit1", QStringLiteral("&Edit"));
    mnuSynchOOB = item(Edit1, "mnuSynchOOB", QStringLiteral("&Synch w/ OOB"));

    View1 = newMenu("View1", QStringLiteral("&View"));
    mnuViewMap = item(View1, "mnuViewMap", QStringLiteral("&Map"));
    mnuViewMap->setShortcut(QKeySequence(Qt::Key_F5));
    mnuRefreshMap = item(View1, "mnuRefreshMap", QStringLiteral("&Refresh Map"));
    mnuStrengthSCN = item(View1, "mnuStrengthSCN", QStringLiteral("&Strength from SCN"));
    mnuStrengthOOB = item(View1, "mnuStrengthOOB", QStringLiteral("Strength from &OOB"));
    mnuSchedule = item(View1, "mnuSchedule", QStringLiteral("S&chedule"));

    Search1 = newMenu("Search1", QStringLiteral("&Search"));
    mnuSearchUnit = item(Search1, "mnuSearchUnit", QStringLiteral("for &Unit / Leader"));
    mnuSearchUnit->setShortcut(QKeySequence(Qt::Key_F3));
    mnuSearchHex = item(Search1, "mnuSearchHex", QStringLiteral("for &Hex"));
    mnuSearchHex->setEnabled(false);  // no command behind it
    mnuErrorCheck = item(Search1, "mnuErrorCheck", QStringLiteral("for &Overloaded Hexes"));
    mnuCheckScenario = item(Search1, "mnuCheckScenario", QStringLiteral("Check &Scenario"));

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
    const PageContext ctx{*scn_, *readView_, dialogs_, this, [this](const QString& text) { setStatus(text); }};
    pnlOob = new TOobColumn(ctx, body);
    lbUnits = pnlOob->lbUnits;
    lbDesig = pnlOob->lbDesig;
    lbSide = pnlOob->lbSide;
    edDotName = pnlOob->edDotName;
    bnAdd = pnlOob->bnAdd;
    bnRemove = pnlOob->bnRemove;
    pnlOob->ShowPlacement = [this](int index) {
        lbSetUnits->SelectLine(index);
        lbSetUnitsClick(nullptr);
    };
    body->addWidget(pnlOob);
    search_ = std::make_unique<TSearchCommands>(ctx, *pnlOob, *searchHost_);

    // The notebook: the pages' fields come with their editing.
    Notebook1 = new QTabWidget(body);
    Notebook1->setObjectName(QStringLiteral("Notebook1"));
    body->addWidget(Notebook1);
    body->setStretchFactor(1, 1);
    splitter_ = body;

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
    const std::pair<ScnListBox, TListBox*> boxes[] = {
        {ScnListBox::Units, lbUnits},     {ScnListBox::SetUnits, lbSetUnits},   {ScnListBox::Releases, lbReleases},
        {ScnListBox::Reinfor, lbReinfor}, {ScnListBox::ReinUnits, lbReinUnits}, {ScnListBox::Commands, lbCommands}};
    for (const auto& [which, box] : boxes) readView_->SetBox(which, box);

    // The status panel along the bottom.
    Status = new QLabel(this);
    Status->setObjectName(QStringLiteral("Status"));
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(Status, 1);

    // The column starts wide enough for whole unit lines and the notebook gets
    // what its four tabs need; the designed width grows when both do not fit.
    const int tabs = Notebook1->tabBar()->sizeHint().width() + 12;
    const int columnWidth = pnlOob->WideLineWidth();
    designedWidth_ = std::max(550, columnWidth + tabs + 12 + splitter_->handleWidth());
    const int inner = designedWidth_ - 12 - splitter_->handleWidth();
    splitter_->setSizes({columnWidth, inner - columnWidth});
}

void TfrmEdit::connectHandlers() {
    // Every slot goes through guarded(): no error crosses into the toolkit.
    auto on = [this](auto handler) { return [this, handler]() { guarded(handler); }; };

    connect(mnuOpen, &QAction::triggered, this, on([this] { bnReadClick(mnuOpen); }));
    connect(mnuBrowse, &QAction::triggered, this, on([this] { bnBrowseClick(mnuBrowse); }));
    connect(mnuSave, &QAction::triggered, this, on([this] { bnSaveClick(mnuSave); }));
    connect(mnuBackups, &QAction::triggered, this, on([this] { mnuBackupsClick(mnuBackups); }));
    connect(mnuExit, &QAction::triggered, this, [this] { close(); });
    connect(mnuViewMap, &QAction::triggered, this, on([this] { mnuViewMapClick(mnuViewMap); }));
    connect(mnuRefreshMap, &QAction::triggered, this, on([this] { sbRefreshClick(mnuRefreshMap); }));
    connect(mnuSynchOOB, &QAction::triggered, this, on([this] { search_->mnuSynchOOBClick(mnuSynchOOB); }));
    connect(mnuSearchUnit, &QAction::triggered, this, on([this] { search_->mnuSearchUnitClick(mnuSearchUnit); }));
    connect(mnuErrorCheck, &QAction::triggered, this, on([this] { search_->mnuErrorCheckClick(mnuErrorCheck); }));
    connect(mnuStrengthSCN, &QAction::triggered, this, on([this] { search_->mnuStrengthSCNClick(mnuStrengthSCN); }));
    connect(mnuStrengthOOB, &QAction::triggered, this, on([this] { search_->mnuStrengthOOBClick(mnuStrengthOOB); }));
    connect(mnuCheckScenario, &QAction::triggered, this,
            on([this] { search_->mnuCheckScenarioClick(mnuCheckScenario); }));
    connect(mnuSchedule, &QAction::triggered, this, on([this] { mnuScheduleClick(mnuSchedule); }));

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

}  // namespace varno
