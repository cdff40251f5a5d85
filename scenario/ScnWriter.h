#pragma once
// Writes the scenario back in the game's layout after a numbered backup.
#include <functional>
#include <string>
#include <string_view>

#include "Scenario.h"

struct WriteOptions {
    bool SortByCol = false;  // "Sort": setups ordered by column
    bool V103 = true;        // "V 1.03": releases without their chance
};

// Progress texts ("saving setups", ..., "Done") go to `status` as they are reached.
using StatusFn = std::function<void(std::string_view)>;

// Moves an existing file at scnPath to the first free OLDSCN<n>.TXT (1 to 9;
// 9 is replaced when all exist) and writes the scenario there, lines ended by
// CR LF. Clears Modified only when the file was written and closed. Throws
// ScnError naming the file and the system's reason on failure; when the old
// file cannot be moved to its backup name nothing is written ("Cannot back
// up <path> to OLDSCN<n>.TXT: <reason>").
void WriteScenario(Scenario& scn, const std::string& scnPath, const WriteOptions& opts, const StatusFn& status);

// The scenario's lines alone, as written (tests and benchmarks).
std::string ScenarioText(Scenario& scn, const WriteOptions& opts, const StatusFn& status);

// The backup name the next save would use for scnPath (empty when scnPath names no file).
std::string BackupName(const std::string& scnPath);
