#include "editor/editwidgets.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/pages/commandspage.h"
#include "editor/pages/oobcolumn.h"
#include "editor/pages/pagecontext.h"
#include "editor/pages/reinforcementspage.h"
#include "editor/pages/releasespage.h"
#include "editor/pages/setunitspage.h"
#include "editor/widgets/listbox.h"
#include "editor/widgets/spinedit.h"
#include "editor/widgets/undokeyfilter.h"

namespace varno {

void TEditWidgets::SetupWidgets(QMainWindow& window, const PageContext& ctx) {
    setupMenus(window);
    setupControls(window, ctx);
    OpenDlg.title = QStringLiteral("Open");
    OpenDlg.fileName = QStringLiteral("CH_A.SCN");
    // Game folders come from systems that ignore case: the dialogs match
    // the filter in any case.
    OpenDlg.filters = {QStringLiteral("Scenarios (*.SCN)"), QStringLiteral("All files (*)")};
    OpenDlg.defaultSuffix = QStringLiteral("SCN");
}

void TEditWidgets::setupMenus(QMainWindow& window) {
    auto item = [](QMenu* menu, const char* name, const QString& caption) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    auto newMenu = [&window](const char* name, const QString& caption) {
        QMenu* m = window.menuBar()->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        return m;
    };

    File1 = newMenu("File1", QStringLiteral("&File"));
    mnuNew = item(File1, "mnuNew", QStringLiteral("&New..."));
    mnuOpen = item(File1, "mnuOpen", QStringLiteral("&Open"));
    mnuOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuBrowse = item(File1, "mnuBrowse", QStringLiteral("&Browse"));
    mnuSave = item(File1, "mnuSave", QStringLiteral("&Save"));
    mnuSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuSaveAs = item(File1, "mnuSaveAs", QStringLiteral("Save &As..."));
    mnuSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    mnuRecent = File1->addMenu(QStringLiteral("&Recent"));
    mnuRecent->setObjectName(QStringLiteral("mnuRecent"));
    mnuBackups = item(File1, "mnuBackups", QStringLiteral("Bac&kups..."));
    mnuExit = item(File1, "mnuExit", QStringLiteral("E&xit"));

    Edit1 = newMenu("Edit1", QStringLiteral("&Edit"));
    mnuUndo = item(Edit1, "mnuUndo", QStringLiteral("&Undo"));
    mnuUndo->setShortcut(QKeySequence::Undo);
    mnuRedo = item(Edit1, "mnuRedo", QStringLiteral("&Redo"));
    mnuRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    Edit1->addSeparator();
    mnuSynchOOB = item(Edit1, "mnuSynchOOB", QStringLiteral("&Synch w/ OOB"));
    mnuHeader = item(Edit1, "mnuHeader", QStringLiteral("Scenario &Header..."));

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
    mnuSearchHex->setEnabled(false);  // until a Read
    mnuErrorCheck = item(Search1, "mnuErrorCheck", QStringLiteral("for &Overloaded Hexes"));
    mnuCheckScenario = item(Search1, "mnuCheckScenario", QStringLiteral("Check &Scenario"));

    // The main menu's shortcuts also work while the map window is active, so
    // that F5 brings the main window back from the map.
    mnuViewMap->setShortcutContext(Qt::ApplicationShortcut);
    mnuSearchUnit->setShortcutContext(Qt::ApplicationShortcut);

    Help1 = newMenu("Help1", QStringLiteral("&Help"));
    HelpContents = item(Help1, "HelpContents", QStringLiteral("&Contents"));
    HelpContents->setShortcut(QKeySequence(Qt::Key_F1));
    mnuAbout = item(Help1, "mnuAbout", QStringLiteral("&About Varno"));
}

void TEditWidgets::setupControls(QMainWindow& window, const PageContext& ctx) {
    auto* central = new QWidget(&window);
    central->setObjectName(QStringLiteral("Panel1"));
    window.setCentralWidget(central);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(6, 6, 6, 2);

    // The file row.
    auto* fileRow = new QHBoxLayout;
    edScenarioPath = new QLineEdit(QStringLiteral(".SCN"), central);
    edScenarioPath->setObjectName(QStringLiteral("edScenarioPath"));
    edScenarioPath->setToolTip(QStringLiteral("Enter name of scenario file"));
    new TUndoKeyFilter(*edScenarioPath);
    auto speedButton = [central](const char* name, const QString& caption, const QString& hint) {
        auto* b = new QToolButton(central);
        b->setObjectName(QLatin1String(name));
        b->setText(caption);
        b->setToolTip(hint);
        return b;
    };
    bnBrowse = speedButton("bnBrowse", QStringLiteral("&Browse"), QStringLiteral("Find File"));
    sbRead = speedButton("sbRead", QStringLiteral("&R"), QStringLiteral("Read File"));
    sbRead->setIcon(window.style()->standardIcon(QStyle::SP_DialogOpenButton));
    sbRead->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    sbRefresh = speedButton("sbRefresh", QString(), QStringLiteral("Refresh Map"));
    sbRefresh->setIcon(window.style()->standardIcon(QStyle::SP_BrowserReload));
    sbSave = speedButton("sbSave", QStringLiteral("&S"), QStringLiteral("Save SCN file"));
    sbSave->setIcon(window.style()->standardIcon(QStyle::SP_DialogSaveButton));
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
    pnlOob = new TOobColumn(ctx, body);
    lbUnits = pnlOob->lbUnits;
    lbDesig = pnlOob->lbDesig;
    lbSide = pnlOob->lbSide;
    edDotName = pnlOob->edDotName;
    bnAdd = pnlOob->bnAdd;
    bnRemove = pnlOob->bnRemove;
    body->addWidget(pnlOob);

    // The notebook: the pages' fields come with their editing.
    Notebook1 = new QTabWidget(body);
    Notebook1->setObjectName(QStringLiteral("Notebook1"));
    body->addWidget(Notebook1);
    body->setStretchFactor(1, 1);
    Splitter1 = body;

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
    // Edit > Undo and Redo keep their keys in every field with nothing typed to undo.
    for (QWidget* page : {static_cast<QWidget*>(pgSetUnits), static_cast<QWidget*>(pgReleases),
                          static_cast<QWidget*>(pgReinfor), static_cast<QWidget*>(pgCommands)})
        TUndoKeyFilter::WatchFieldsOf(*page);

    // The status panel along the bottom.
    Status = new QLabel(&window);
    Status->setObjectName(QStringLiteral("Status"));
    window.statusBar()->setObjectName(QStringLiteral("StatusBar"));
    window.statusBar()->setSizeGripEnabled(false);
    window.statusBar()->addWidget(Status, 1);

    // The column starts wide enough for whole unit lines and the notebook gets
    // what its four tabs need; the designed width grows when both do not fit.
    const int tabs = Notebook1->tabBar()->sizeHint().width() + 12;
    const int columnWidth = pnlOob->WideLineWidth();
    DesignedWidth = std::max(550, columnWidth + tabs + 12 + Splitter1->handleWidth());
    const int inner = DesignedWidth - 12 - Splitter1->handleWidth();
    Splitter1->setSizes({columnWidth, inner - columnWidth});
}

}  // namespace varno
