#pragma once
// What the Backups window uses of the editor: the scenario file's path, the
// scenario as it is held now, the selection of a placement and the restore.
// BackupsLink implements it.
#include <string>

namespace varno {

class Dialogs;
class Scenario;

class BackupsHost {
public:
    virtual ~BackupsHost() = default;
    // The scenario file as the main window names it, made absolute; empty when none.
    virtual std::string BackupsScenarioPath() = 0;
    // The scenario as it is in the editor now: the pages' pending edits are stored first.
    virtual const Scenario& BackupsCurrentScenario() = 0;
    // Selects placement `index` of SetupList on the Set Units page as a click
    // does, and shows it on the map.
    virtual void BackupsSelectPlacement(int index) = 0;
    // Reads the records of `backupPath` as the scenario under the scenario's
    // own path, as Read does (the question about unsaved changes first), and
    // marks the scenario changed. False when the user keeps the changes.
    // Raises ScnError when the file cannot be read; a file refused before
    // anything was read changes nothing.
    virtual bool BackupsRestore(const std::string& backupPath) = 0;
    // The questions and error boxes.
    virtual Dialogs& BackupsDialogs() = 0;
};

}  // namespace varno
