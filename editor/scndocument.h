#pragma once
// The scenario being edited: its records, the file they came from, and the
// history of the user's changes. Modified follows the history: it is clear
// at the point of the last Read or Save, and set at every other point.
#include <QObject>
#include <QUndoStack>
#include <string>

#include "scenario/oobreader.h"
#include "scenario/scenario.h"
#include "scenario/scnreader.h"
#include "scenario/scnwriter.h"

namespace varno {

class EditListener;

class TScnDocument : public QObject {
    Q_OBJECT
public:
    TScnDocument();

    Scenario& Scn() { return scn_; }
    const Scenario& Scn() const { return scn_; }
    QUndoStack& History() { return history_; }

    // The file of the scenario in the lists; empty before the first Read.
    const std::string& FilePath() const { return path_; }

    // A scenario file and the order of battle beside it, loaded and judged.
    struct Loaded {
        ScenarioFile File;
        LoadedOob Oob;
    };
    // Loads `path` and its folder's order of battle; a file that is no
    // scenario, or a folder without its order of battle, is refused
    // (ScnError). `fresh`: an empty scenario at `path` (File > New),
    // whatever the file holds. Changes nothing.
    static Loaded Load(const std::string& path, bool fresh = false);
    // Makes the loaded files the scenario. A Read that stops at an error
    // keeps what it read and raises. Either way the history starts anew.
    void Read(Loaded loaded, EditListener& lines);
    // Reads a backup's records as the scenario of `path`: they are not that
    // file's, so the scenario stays modified until it is saved.
    void Restore(const std::string& backupPath, const std::string& path, EditListener& lines);
    // Writes the scenario to `path` (the usual backup first) and makes it
    // the scenario's file; the history's present becomes the saved point.
    void Save(const std::string& path, const WriteOptions& opts, const StatusFn& status);

signals:
    // Modified or the file changed: the window's title follows.
    void stateChanged();

private:
    void startHistory(bool clean);

    Scenario scn_;
    QUndoStack history_;
    std::string path_;
};

}  // namespace varno
