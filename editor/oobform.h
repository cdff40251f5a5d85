#pragma once
// Varno's main window: the scenario file, the order-of-battle column, the
// notebook of the scenario's lists, the menus and the settings. Its rooms are
// classes of their own, built from what each needs, never reaching into the
// window: the column (TOobColumn), the pages (T*Page) and the dispatch
// between them (TPageDispatch), many records at once (TManyRecords), the
// File menu's commands (TFileCommands, through FileHost), the Search menu's
// (TSearchCommands, through SearchLink, which keeps the list window), the
// map's side (MapLink) and the Backups window's (BackupsLink, which keeps
// that window). The window itself holds its widgets and menus privately
// (TEditWidgets, as a window holds a Ui class), wires them to the handlers,
// runs each of the user's actions as one step of the history, and keeps the
// path field, the title, the recovery copy and the settings.
#include <QMainWindow>
#include <functional>
#include <memory>

#include "editor/commands/filehost.h"
#include "editor/dialogs.h"
#include "editor/document/recoveryhost.h"
#include "editor/editwidgets.h"
#include "scenario/scenario.h"
#include "scenario/scnschedule.h"

class QSplitter;

namespace varno {

class TListBox;
class TListLines;
class TfrmList;
class TfrmBackups;
class TfrmMap;
class TfrmSchedule;
class EditListener;
class TSetUnitsPage;
class TReleasesPage;
class TReinforcementsPage;
class TCommandsPage;
class TOobColumn;
class TSearchCommands;
class TScnDocument;
class EditStep;
class TFileCommands;
class TPageDispatch;
class TManyRecords;
class TRecoveryKeeper;
class RecoveryFolder;
class MapLink;
class SearchLink;
class BackupsLink;

class TfrmEdit : public QMainWindow, private FileHost, private RecoveryHost {
    Q_OBJECT
public:
    // `dialogs` answers every question and shows every notice; `map` is the
    // map window that Read, Refresh Map and View > Map work on.
    explicit TfrmEdit(Dialogs& dialogs, TfrmMap* map = nullptr, QWidget* parent = nullptr);
    ~TfrmEdit() override;

    // The scenario the window holds (Modified, the lists, CurOob, ...).
    Scenario& Scn();
    // The scenario with its file and history.
    TScnDocument& Document() { return *doc_; }
    // Keeps a recovery copy of unsaved changes in `folder` from now on (the
    // program does; a window without it keeps none).
    void KeepRecoveryCopies(const RecoveryFolder& folder);
    // The question at start about the copies of programs that did not close
    // normally (after KeepRecoveryCopies).
    void OfferRecovery();
    // The keeper of the recovery copy; null without KeepRecoveryCopies.
    TRecoveryKeeper* Recovery() { return recovery_.get(); }
    // The listener that keeps the window's list boxes in step with the
    // scenario's lists: pass it to the edit operations (scnedit.h).
    EditListener& ListLines();
    // Many records at once: the shared selection, the clipboard, formations.
    TManyRecords& ManyRecords() { return *many_; }
    // The widgets and menus (as a window takes them from a Ui class), for
    // tests and the screenshot and benchmark programs.
    TEditWidgets& Ui() { return ui_; }
    const TEditWidgets& Ui() const { return ui_; }

    // Handlers (here, in the column TOobColumn, in the dispatch between
    // column, pages and map TPageDispatch, whose header says who starts a
    // selection, and in the Search menu's TSearchCommands). None of them
    // lets an error out: the slots wrapped around them show it in an error box.
    void FormShow();
    void FormClose(bool& CanClose);
    void bnBrowseClick(QObject* Sender);
    void bnReadClick(QObject* Sender);
    void bnSaveClick(QObject* Sender);
    // File > Save As...: a new name in the game's folder, which becomes the
    // scenario's file.
    void mnuSaveAsClick(QObject* Sender);
    // File > New...: an empty scenario under a new name in the game's folder.
    void mnuNewClick(QObject* Sender);
    // Edit > Undo and Redo: the history's step back and forward.
    void mnuUndoClick(QObject* Sender);
    void mnuRedoClick(QObject* Sender);
    // Edit > Scenario Header...: the nine header lines, editable.
    void mnuHeaderClick(QObject* Sender);
    void sbRefreshClick(QObject* Sender);
    void mnuViewMapClick(QObject* Sender);
    void lbSetUnitsClick(QObject* Sender);
    void lbReleasesClick(QObject* Sender);
    void lbReinforClick(QObject* Sender);
    void lbReinUnitsClick(QObject* Sender);
    void lbCommandsClick(QObject* Sender);
    void bnAddClick(QObject* Sender);
    void bnRemoveClick(QObject* Sender);
    void cbV103Click(QObject* Sender);
    void Notebook1Change();
    // File > Backups...: the Backups window, its files compared again.
    void mnuBackupsClick(QObject* Sender);
    // Shows the Schedule window, made at first use.
    void mnuScheduleClick(QObject* Sender);

    // The list window of the check and the strength lists; none until first needed.
    TfrmList* frmList() const;
    // The Backups window; none until first opened.
    TfrmBackups* frmBackups() const;
    // The Schedule window; none until first needed. Redrawn on every change.
    TfrmSchedule* frmSchedule() const { return frmSchedule_; }

    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    // The widgets' parts that need the window, and the wiring of all of them.
    void buildControls();
    void connectHandlers();
    void enableScenarioCommands(bool on);
    // A placement moved on the map: its record and the changed mark.
    void mapMoveCurSetup(int col, int row);
    // The paths and the windows' places in VARNO.INI.
    void readSettings();
    void writeSettings();
    // The scenario path as bytes: the ones given (settings, Browse, Read)
    // while the field shows them unchanged, else the field's text encoded.
    std::string scenarioPathBytes() const;
    void setScenarioPath(const std::string& bytes);
    void setStatus(const QString& text);
    // The title names the scenario's file, marked while modified; each
    // page's line names the record its fields belong to.
    void showState();
    // FileHost
    std::string ScenarioPathBytes() const override;
    void SetScenarioPath(const std::string& bytes) override;
    void FileStatus(const QString& text) override;
    void StorePageEdits() override;
    WriteOptions SaveOptions() const override;
    void ScenarioRead(bool complete) override;
    void Guarded(const std::function<void()>& command) override;
    // RecoveryHost
    std::string RecoveryText() override;
    RecoveryNote RecoveryNoteNow() override;
    void RecoveryStatus(const QString& line) override;
    void RecoverCopy(const RecoveryNote& note, std::string copyText, bool changed) override;
    // Runs one action of the user's (a handler, or what the map asks for):
    // its changes become one step of the history.
    void userAction(const std::function<void()>& action);
    // Runs a handler as a user's action and shows any error it raises;
    // false when it raised.
    bool guarded(const std::function<void()>& handler);

    TEditWidgets ui_;
    TfrmMap* frmMap_ = nullptr;
    TfrmSchedule* frmSchedule_ = nullptr;
    Dialogs& dialogs_;
    std::unique_ptr<TScnDocument> doc_;
    std::unique_ptr<TListLines> readView_;
    // The rooms; each link goes before what it reaches.
    std::unique_ptr<TPageDispatch> pages_;
    std::unique_ptr<TManyRecords> many_;  // many records at once: selection, clipboard, formations
    std::unique_ptr<TFileCommands> files_;
    std::unique_ptr<SearchLink> searchLink_;
    std::unique_ptr<TSearchCommands> search_;
    std::unique_ptr<MapLink> mapLink_;
    std::unique_ptr<BackupsLink> backupsLink_;
    // After doc_: it asks the document for the copy's bytes until it goes.
    std::unique_ptr<TRecoveryKeeper> recovery_;
    QString recoveryLine_;  // the recovery's status line shown last
    QSplitter* splitter_ = nullptr;
    int designedWidth_ = 550;
    bool shown_ = false;
    int handlerDepth_ = 0;   // handlers running; the outermost ends the user's step
    std::string pathBytes_;  // the path given, and the text the field shows for it
    QString pathShown_;
};

}  // namespace varno
