#pragma once
// The main window's widgets and menus, as Qt's generated Ui classes hold a
// window's widgets: made once by Setup, then used by the window, which also
// wires them to its handlers. The names are the design's control names.
#include "editor/dialogs.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPushButton;
class QSpinBox;
class QSplitter;
class QTabWidget;
class QToolButton;

namespace varno {

class TCommandsPage;
class TListBox;
class TOobColumn;
class TReinforcementsPage;
class TReleasesPage;
class TSetUnitsPage;
struct PageContext;

class TEditWidgets {
public:
    // Makes the menus, the file row, the order-of-battle column, the notebook
    // with its four pages and the status panel in `window`.
    void SetupWidgets(QMainWindow& window, const PageContext& ctx);

    // Menus and their items.
    QMenu* File1 = nullptr;
    QAction* mnuNew = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnuBrowse = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuSaveAs = nullptr;
    QMenu* mnuRecent = nullptr;
    QAction* mnuBackups = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* Edit1 = nullptr;
    QAction* mnuUndo = nullptr;
    QAction* mnuRedo = nullptr;
    QAction* mnuSynchOOB = nullptr;
    QAction* mnuHeader = nullptr;
    QMenu* View1 = nullptr;
    QAction* mnuViewMap = nullptr;
    QAction* mnuRefreshMap = nullptr;
    QAction* mnuStrengthSCN = nullptr;
    QAction* mnuStrengthOOB = nullptr;
    QAction* mnuSchedule = nullptr;
    QMenu* Search1 = nullptr;
    QAction* mnuSearchUnit = nullptr;
    QAction* mnuSearchHex = nullptr;
    QAction* mnuErrorCheck = nullptr;
    QAction* mnuCheckScenario = nullptr;
    QMenu* Help1 = nullptr;
    QAction* HelpContents = nullptr;
    QAction* mnuAbout = nullptr;

    // The open-file dialog of Browse; its initial folder is set at each use.
    OpenFileRequest OpenDlg;

    // The file row.
    QLineEdit* edScenarioPath = nullptr;
    QToolButton* bnBrowse = nullptr;
    QToolButton* sbRead = nullptr;
    QToolButton* sbRefresh = nullptr;
    QToolButton* sbSave = nullptr;
    QCheckBox* cbSort = nullptr;

    // The order-of-battle column and its controls.
    TOobColumn* pnlOob = nullptr;
    TListBox* lbUnits = nullptr;
    TListBox* lbDesig = nullptr;
    QLabel* lbSide = nullptr;
    QLineEdit* edDotName = nullptr;
    QPushButton* bnAdd = nullptr;
    QPushButton* bnRemove = nullptr;

    // The notebook, its pages, and the pages' lists and controls that the
    // rest of the window uses.
    QTabWidget* Notebook1 = nullptr;
    TSetUnitsPage* pgSetUnits = nullptr;
    TReleasesPage* pgReleases = nullptr;
    TReinforcementsPage* pgReinfor = nullptr;
    TCommandsPage* pgCommands = nullptr;
    TListBox* lbSetUnits = nullptr;
    TListBox* lbReleases = nullptr;
    QSpinBox* seChance = nullptr;
    QCheckBox* cbV103 = nullptr;
    TListBox* lbReinfor = nullptr;
    TListBox* lbReinUnits = nullptr;
    TListBox* lbCommands = nullptr;

    QLabel* Status = nullptr;

    // The border between the column and the notebook.
    QSplitter* Splitter1 = nullptr;
    // The window's width as designed, grown to show whole unit lines and the
    // notebook's four tabs.
    int DesignedWidth = 550;

private:
    void setupMenus(QMainWindow& window);
    void setupControls(QMainWindow& window, const PageContext& ctx);
};

}  // namespace varno
