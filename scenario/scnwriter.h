#pragma once
// Writes the scenario back in the game's layout after a numbered backup.
#include <functional>
#include <string>
#include <string_view>

#include "scenario/scenario.h"

namespace varno {

struct WriteOptions {
    bool SortByCol = false;  // "Sort": setups ordered by column
    bool V103 = true;        // "V 1.03": releases without their chance
    // Replace the file also when it changed since it was read (the user said so).
    bool Force = false;
    // How long a save waits for another program's save of the folder.
    int LockWaitMs = 2000;
};

// The reason of the refusal to replace a file changed since it was read.
inline constexpr const char* kChangedSinceRead = "it was changed by another program since it was read";

// Progress texts ("saving setups", ..., "Done") go to `status` as they are reached.
using StatusFn = std::function<void(std::string_view)>;

// Saves the scenario at scnPath, lines ended by CR LF, atomically: the text
// goes to a temporary file in the same folder (through a link: the target's
// folder), which is synced; under the folder's save lock, temporary files
// that killed saves left there are removed, the old file's backup is made
// under a temporary name and given its number, the first free OLDSCN<n>.TXT
// (1 to 9; 9 is replaced when all exist); then the temporary file is renamed
// over the scenario and the folder synced. The file keeps its permission
// bits. A failure at any step leaves the scenario and every backup as they
// were (a killed save: the old bytes or the new ones under the name, never
// a part). Clears Modified and sets ReadStamp only when saved. Throws
// ScnError: "Cannot write <path>: <reason>" (also "Permission denied" for a
// file its mode does not let us write, "another program is saving it",
// kChangedSinceRead unless opts.Force), "<path> is not a regular file",
// "Cannot back up <path> to OLDSCN<n>.TXT: <reason>", and for a name (or a
// link's target) that is one of the game's own files (IsGameFileName):
// "<name> is one of the game's files: choose another name".
void WriteScenario(Scenario& scn, const std::string& scnPath, const WriteOptions& opts, const StatusFn& status);

// The scenario's lines alone, as written (tests and benchmarks); the command
// groups' sizes are counted again, as a save counts them.
std::string ScenarioText(Scenario& scn, const WriteOptions& opts, const StatusFn& status);
// The same lines, the scenario left as it is (the Backups window's comparisons).
std::string ScenarioTextOf(const Scenario& scn, const WriteOptions& opts);

// The backup name the next save would use for scnPath (empty when scnPath names no file).
std::string BackupName(const std::string& scnPath);

}  // namespace varno
