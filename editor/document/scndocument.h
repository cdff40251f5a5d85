#pragma once
// The scenario being edited: its records, the file they came from, the
// user's selection and the history of the user's changes. Modified follows
// the history: it is clear at the point of the last Read or Save, and set at
// every other point.
//
// The document tells: after every change, whatever made it (an action's
// Commit, Undo, Redo, Read, Restore, New, Save), `changed` carries what
// changed (scenario/docchange.h), and every view listens to it and to
// `selectionChanged`. No one refreshes a view by hand.
#include <QObject>
#include <QUndoStack>
#include <functional>
#include <string>

#include "scenario/docchange.h"
#include "scenario/editstep.h"
#include "scenario/oobreader.h"
#include "scenario/scenario.h"
#include "scenario/scnreader.h"
#include "scenario/scnwriter.h"
#include "scenario/selection.h"

class QAction;

namespace varno {

class EditListener;

class TScnDocument : public QObject {
    Q_OBJECT
public:
    TScnDocument();
    ~TScnDocument() override;

    Scenario& Scn() { return scn_; }
    const Scenario& Scn() const { return scn_; }
    QUndoStack& History() { return history_; }
    // What the user selected: of each kind of record a set and the current
    // one (the record a page's fields edit). Every change of it is told by
    // selectionChanged; an undo or redo gives back the selection its step
    // changed, and a Read starts with nothing selected.
    Selection& Sel() { return selection_; }
    const Selection& Sel() const { return selection_; }

    // The listener the history's undo and redo tell which lines changed.
    EditListener* Lines = nullptr;

    // The step of the user's action under way: every edit operation records
    // into it (pass Step()).
    EditStep& Step() { return pending_; }
    // Ends the action under way: a step that changed something becomes one
    // entry of the history, named `name`, or after its changes when empty.
    void Commit(const QString& name = {});
    // The Edit menu's Undo and Redo follow the history: enabled when there
    // is a step to take back or do again, their texts naming it.
    void ShowHistoryIn(QAction& undo, QAction& redo);
    // A Commit once the program is back in its event loop, for changes made
    // outside the window's handlers (the map's moves and drops).
    void CommitSoon();

    // The file of the scenario in the lists; empty before the first Read.
    const std::string& FilePath() const { return path_; }

    // A scenario file and the order of battle beside it, loaded and judged.
    struct Loaded {
        ScenarioFile File;
        LoadedOob Oob;
        bool Fresh = false;  // File > New: no records read
    };
    // Loads `path` and its folder's order of battle; a file that is no
    // scenario, or a folder without its order of battle, is refused
    // (ScnError). `fresh`: an empty scenario at `path` (File > New),
    // whatever the file holds. Changes nothing.
    static Loaded Load(const std::string& path, bool fresh = false);
    // Makes the loaded files the scenario. A Read that stops at an error
    // keeps what it read and raises. Either way the history starts anew.
    void Read(Loaded loaded, EditListener& lines);
    // Loads the backup at `backupPath` and the order of battle beside
    // `path`, the scenario's file, as Load does; a file gone since it was
    // listed is refused too. Changes nothing.
    static Loaded LoadBackup(const std::string& backupPath, const std::string& path);
    // Makes a loaded backup's records the scenario of `path`: they are not
    // that file's, so the scenario stays modified until it is saved. The file
    // keeps its own stamp (of the last Read or Save of `path`, else as it is
    // now), so that Save still sees another program's change of it.
    void Restore(Loaded backup, const std::string& path, EditListener& lines);
    // Reads `file` (a recovery copy) as the scenario of `path`, with the
    // order of battle beside it, modified until it is saved; its stamp is
    // that of the scenario file the copy began from, so that a Save sees
    // what changed on disk since.
    void ReadUnsaved(const std::string& path, ScenarioFile file, EditListener& lines);
    // Writes the scenario to `path` (the usual backup first) and makes it
    // the scenario's file; the history's present becomes the saved point.
    void Save(const std::string& path, const WriteOptions& opts, const StatusFn& status);

signals:
    // Modified or the file changed: the window's title follows.
    void stateChanged();
    // The selection of records of `kind` changed.
    void selectionChanged(RecordKind kind);
    // The scenario changed: told once after every change, with what it
    // touched. Listeners must not change the document while told.
    void changed(const varno::DocChange& change);

private:
    void startHistory(bool clean);
    // Tells `changed`, clean when `index` (the history's own when -1) is
    // the history's clean point.
    void tell(DocChange change, int index = -1);
    // Makes `loaded` the scenario of `path`, modified until it is saved.
    void readUnsaved(Loaded loaded, const std::string& path, EditListener& lines);
    // On its way out, also when reading stopped at an error: the history
    // starts anew (at the file when `clean`) and the document tells a whole
    // change, with whether the order of battle was read.
    struct Restart {
        TScnDocument& doc;
        ChangeCause cause;
        bool clean;
        bool oobRead = false;
        ~Restart();
    };
    // Reads the order of battle, then the scenario's records, into the lists.
    void readLists(Loaded loaded, EditListener& lines, Restart& restart);
    // A new step for the next action, noting the selection.
    void newStep();

    class Command;

    Scenario scn_;
    Selection selection_;
    QUndoStack history_;
    EditStep pending_;
    bool commitPosted_ = false;
    std::string path_;
};

}  // namespace varno
