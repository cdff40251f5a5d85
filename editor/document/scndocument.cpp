#include "editor/document/scndocument.h"

#include <QAction>
#include <QTimer>
#include <QUndoCommand>

#include "scenario/filestamp.h"
#include "scenario/scnedit.h"
#include "scenario/scnerror.h"
#include "scenario/stepname.h"

namespace varno {

// One entry of the history: the step of one user action. It was done when
// it is pushed, so its first redo passes.
class TScnDocument::Command : public QUndoCommand {
public:
    Command(TScnDocument& doc, EditStep step, const QString& name)
        : QUndoCommand(name), doc_(doc), step_(std::move(step)) {}

    void undo() override {
        Undo(doc_.scn_, step_, *doc_.Lines);
        doc_.selection_.Replay(step_, false);
        // The history moves its index after this returns.
        doc_.tell(ChangeOf(step_, ChangeCause::Undo), doc_.history_.index() - 1);
    }
    void redo() override {
        if (std::exchange(done_, true)) {
            Redo(doc_.scn_, step_, *doc_.Lines);
            doc_.selection_.Replay(step_, true);
            doc_.tell(ChangeOf(step_, ChangeCause::Redo), doc_.history_.index() + 1);
        }
    }

    const EditStep& Step() const { return step_; }

private:
    TScnDocument& doc_;
    EditStep step_;
    bool done_ = false;
};

TScnDocument::TScnDocument() {
    selection_.Changed = [this](RecordKind kind) { emit selectionChanged(kind); };
    newStep();
    connect(&history_, &QUndoStack::cleanChanged, this, [this](bool clean) {
        scn_.Modified = !clean;
        emit stateChanged();
    });
}

TScnDocument::~TScnDocument() {
    // The history emptied on its way out tells no one: its window is going.
    history_.disconnect();
    blockSignals(true);
}

void TScnDocument::newStep() {
    pending_ = EditStep{};
    pending_.Follow(selection_);
}

void TScnDocument::Commit(const QString& name) {
    if (pending_.empty()) {
        newStep();  // an action that changed nothing: its notes go
        return;
    }
    // What the action took out of the lists is no longer selected.
    selection_.Forget(pending_, true);
    pending_.end();
    EditStep step = std::exchange(pending_, EditStep{});
    pending_.Follow(selection_);
    const QString text = name.isEmpty() ? QString::fromStdString(StepName(scn_, step)) : name;
    auto* command = new Command(*this, std::move(step), text);
    history_.push(command);
    tell(ChangeOf(command->Step(), ChangeCause::Action));
}

void TScnDocument::tell(DocChange change, int index) {
    change.Clean = history_.cleanIndex() == (index < 0 ? history_.index() : index);
    emit changed(change);
}

void TScnDocument::ShowHistoryIn(QAction& undo, QAction& redo) {
    undo.setEnabled(history_.canUndo());
    redo.setEnabled(history_.canRedo());
    connect(&history_, &QUndoStack::canUndoChanged, &undo, &QAction::setEnabled);
    connect(&history_, &QUndoStack::canRedoChanged, &redo, &QAction::setEnabled);
    connect(&history_, &QUndoStack::undoTextChanged, &undo, [&undo](const QString& text) {
        undo.setText(text.isEmpty() ? QStringLiteral("&Undo") : QStringLiteral("&Undo %1").arg(text));
    });
    connect(&history_, &QUndoStack::redoTextChanged, &redo, [&redo](const QString& text) {
        redo.setText(text.isEmpty() ? QStringLiteral("&Redo") : QStringLiteral("&Redo %1").arg(text));
    });
}

void TScnDocument::CommitSoon() {
    if (std::exchange(commitPosted_, true)) return;
    QTimer::singleShot(0, this, [this] {
        commitPosted_ = false;
        Commit();
    });
}

void TScnDocument::startHistory(bool clean) {
    // The records the history held, and the selection, are no longer the scenario's.
    newStep();
    history_.clear();
    if (clean)
        history_.setClean();
    else
        history_.resetClean();  // no step of the history is the file
    scn_.Modified = !clean;
    emit stateChanged();
}

TScnDocument::Loaded TScnDocument::Load(const std::string& path, bool fresh) {
    Loaded loaded;
    loaded.Fresh = fresh;
    if (fresh) {
        loaded.File.Path = path;
        // Its Save replaces the file that is there, without asking whether
        // another program changed it.
        loaded.File.Stamp = StampOf(path);
        loaded.File.Stamp.Known = true;
    } else {
        loaded.File = LoadScenarioFile(path);
    }
    loaded.Oob = LoadOobFile(path);
    return loaded;
}

void TScnDocument::Read(Loaded loaded, EditListener& lines) {
    path_ = loaded.File.Path;
    // Also a Read that stopped at an error changed the lists.
    Restart restart{*this, loaded.Fresh ? ChangeCause::New : ChangeCause::Read, true};
    readLists(std::move(loaded), lines, restart);
}

TScnDocument::Restart::~Restart() {
    doc.startHistory(clean);
    DocChange change = WholeChange(cause);
    change.OobRead = oobRead;
    doc.tell(std::move(change));
}

void TScnDocument::readLists(Loaded loaded, EditListener& lines, Restart& restart) {
    // The entries, then the records, are another scenario's from the moment
    // each list is read again.
    selection_.SelectNone<TOobRec>();
    ReadOob(scn_, std::move(loaded.Oob), lines);
    restart.oobRead = true;
    selection_.Clear();
    ReadScenario(scn_, loaded.File, lines);
}

TScnDocument::Loaded TScnDocument::LoadBackup(const std::string& backupPath, const std::string& path) {
    Loaded loaded{LoadScenarioFile(backupPath), LoadOobFile(path)};
    if (!loaded.File.Exists) throw ScnError("Cannot read " + backupPath + ": the file is gone");
    return loaded;
}

void TScnDocument::Restore(Loaded backup, const std::string& path, EditListener& lines) {
    // The records are the backup's, the file is still the document's: Save
    // compares it with what was seen of it, not with the backup.
    if (scn_.ReadStamp.Known && scn_.ReadStamp.Path == path) {
        backup.File.Stamp = scn_.ReadStamp;
    } else {
        backup.File.Stamp = StampOf(path);
        backup.File.Stamp.Known = true;
    }
    readUnsaved(std::move(backup), path, lines);
}

void TScnDocument::ReadUnsaved(const std::string& path, ScenarioFile file, EditListener& lines) {
    readUnsaved(Loaded{std::move(file), LoadOobFile(path)}, path, lines);
}

void TScnDocument::readUnsaved(Loaded loaded, const std::string& path, EditListener& lines) {
    path_ = path;
    Restart restart{*this, ChangeCause::Restore, false};
    readLists(std::move(loaded), lines, restart);
}

void TScnDocument::Save(const std::string& path, const WriteOptions& opts, const StatusFn& status) {
    // What the pages stored for the save is part of the history before it.
    Commit();
    WriteScenario(scn_, path, opts, status);
    // The file now holds what the lists hold: asked once is enough.
    scn_.ReadIncomplete = false;
    path_ = path;
    history_.setClean();
    scn_.Modified = false;
    emit stateChanged();
    DocChange saved;
    saved.Cause = ChangeCause::Save;
    tell(saved);
}

}  // namespace varno
