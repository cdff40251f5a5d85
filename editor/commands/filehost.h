#pragma once
// What the File menu's commands (TFileCommands) need of the main window: the
// path field, the status panel, the pages' pending edits, the save options
// and the window's state after a Read.
#include <QString>
#include <functional>
#include <string>

#include "scenario/scnwriter.h"

namespace varno {

class FileHost {
public:
    virtual ~FileHost() = default;
    // The path field as bytes: the ones given while the field shows them
    // unchanged, else its text encoded.
    virtual std::string ScenarioPathBytes() const = 0;
    virtual void SetScenarioPath(const std::string& bytes) = 0;
    // Shown at once, also while a file is being written.
    virtual void FileStatus(const QString& text) = 0;
    // Every page writes its pending field edits into its current record.
    virtual void StorePageEdits() = 0;
    // The options of a save: Sort and V 1.03.
    virtual WriteOptions SaveOptions() const = 0;
    // A Read made records (`complete`: the whole file): "V 1.03" takes the
    // form of the file's releases, and a complete one enables the commands.
    virtual void ScenarioRead(bool complete) = 0;
    // Runs a command started outside the window's own handlers (a Recent
    // item), showing any error it raises.
    virtual void Guarded(const std::function<void()>& command) = 0;
};

}  // namespace varno
