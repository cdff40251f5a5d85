#pragma once
// Varno's main window: the scenario file, the order-of-battle column, the
// notebook of the scenario's lists, the menus and the settings.
#include <QMainWindow>
#include <memory>

#include "dialogs.h"
#include "Scenario.h"

class QAction;
class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSpinBox;
class QSplitter;
class QTabWidget;
class QToolButton;
class TListBox;
class TfrmList;
class TCheckView;
class TfrmBackups;
class TfrmMap;
class TfrmSchedule;
class EditListener;
class TSetUnitsPage;
class TReleasesPage;
class TReinforcementsPage;
class TCommandsPage;
struct TSetupRec;

class TfrmEdit : public QMainWindow {
    Q_OBJECT
public:
    // `dialogs` answers every question and shows every notice; `map` is the
    // map window that Read, Refresh Map and View > Map work on.
    explicit TfrmEdit(Dialogs& dialogs, TfrmMap* map = nullptr, QWidget* parent = nullptr);
    ~TfrmEdit() override;

    // The scenario the window holds (Modified, the lists, CurOob, ...).
    Scenario& Scn() { return *scn_; }
    // The listener that keeps the window's list boxes in step with the
    // scenario's lists: pass it to the edit operations (ScnEdit.h).
    EditListener& ListLines();

    // Handlers. Sender is the control that started the handler, or none
    // (nullptr) when program code calls it. None of them lets an error out:
    // the slots wrapped around them show it in an error box.
    void FormShow();
    void FormClose(bool& CanClose);
    void bnBrowseClick(QObject* Sender);
    void bnReadClick(QObject* Sender);
    void bnSaveClick(QObject* Sender);
    void sbRefreshClick(QObject* Sender);
    void mnuViewMapClick(QObject* Sender);
    void lbUnitsClick(QObject* Sender);
    void lbDesigClick(QObject* Sender);
    void edDotNameChange(QObject* Sender);
    void lbSetUnitsClick(QObject* Sender);
    void lbReleasesClick(QObject* Sender);
    void lbReinforClick(QObject* Sender);
    void lbReinUnitsClick(QObject* Sender);
    void lbCommandsClick(QObject* Sender);
    void bnAddClick(QObject* Sender);
    void bnRemoveClick(QObject* Sender);
    void cbV103Click(QObject* Sender);
    void Notebook1Change();
    void mnuSynchOOBClick(QObject* Sender);
    void mnuSearchUnitClick(QObject* Sender);
    void mnuErrorCheckClick(QObject* Sender);
    void mnuCheckScenarioClick(QObject* Sender);
    void mnuStrengthSCNClick(QObject* Sender);
    void mnuStrengthOOBClick(QObject* Sender);
    // File > Backups...: the Backups window, its files compared again.
    void mnuBackupsClick(QObject* Sender);
    // Shows the Schedule window, made at first use.
    void mnuScheduleClick(QObject* Sender);
    // Fills the list window with the organisation strengths, from the
    // placements or from the order of battle, and shows it.
    void ShowStrength(bool FromScenario);

    // Each editing page writes its pending field edits into its current record.
    void StoreSetupEdits();
    void StoreReleaseEdits();
    void StoreGroupEdits();
    void StoreCommandEdits();

    // The label of a placement for the map window: a unit's name, or the
    // last n characters of the placement's line.
    QString SetupLineLabel(const TSetupRec* rec, int n) const;

    // Menus and their items.
    QMenu* File1 = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnuBrowse = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuBackups = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* Edit1 = nullptr;
    QAction* mnuSynchOOB = nullptr;
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

    // The file row.
    QLineEdit* edScenarioPath = nullptr;
    QToolButton* bnBrowse = nullptr;
    QToolButton* sbRead = nullptr;
    QToolButton* sbRefresh = nullptr;
    QToolButton* sbSave = nullptr;
    QCheckBox* cbSort = nullptr;

    // The order-of-battle column.
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

    // The open-file dialog of Browse; its initial folder is set at each use.
    OpenFileRequest OpenDlg;

    TfrmMap* frmMap = nullptr;
    // The list window of the check and the strength lists; none until first needed.
    TfrmList* frmList = nullptr;
    // The Backups window; none until first opened.
    TfrmBackups* frmBackups = nullptr;
    // The Schedule window; none until first needed. Redrawn on every change.
    TfrmSchedule* frmSchedule = nullptr;

    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    class ReadView;
    class MapLink;
    class BackupsLink;
    void selectInBrowser(const TOobRec* entry);

    void buildMenus();
    void buildControls();
    void connectHandlers();
    void enableScenarioCommands(bool on);
    void mapOobRead();
    // A placement moved on the map: its record, the page and the changed mark.
    void mapMoveCurSetup(int col, int row);
    void readSettings();
    void writeSettings();
    // The scenario path as bytes: the ones given (settings, Browse, Read)
    // while the field shows them unchanged, else the field's text encoded.
    std::string scenarioPathBytes() const;
    void setScenarioPath(const std::string& bytes);
    QMenu* menuForMnemonic(const QKeyEvent& key) const;
    void setStatus(const QString& text);
    TfrmList& listWindow();
    void reshowSelectedSetup();
    // The scenario's records changed: the windows that draw them follow.
    void scenarioChanged();
    // Runs a handler and shows any error it raises; false when it raised.
    template <class F> bool guarded(F&& handler);

    Dialogs& dialogs_;
    std::unique_ptr<Scenario> scn_;
    std::unique_ptr<ReadView> readView_;
    std::unique_ptr<MapLink> mapLink_;
    TCheckView* checkView_ = nullptr;  // Search > Check Scenario; none until first used
    std::unique_ptr<BackupsLink> backupsLink_;
    QSplitter* splitter_ = nullptr;
    int designedWidth_ = 550;
    bool shown_ = false;
    // Set while a page's selection is being shown in the column: the lookup
    // that follows must not select a placement in turn (for a wagon placed
    // twice it would select the other one).
    bool showingPlacement_ = false;
    std::string pathBytes_;  // the path given, and the text the field shows for it
    QString pathShown_;
};
