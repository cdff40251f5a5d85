#pragma once
// The backups of a scenario (OLDSCN<n>.TXT of its folder, in any case) and
// their comparison with the scenario as it is held now.
#include <cstdint>
#include <string>
#include <vector>

#include "scenario/scndiff.h"

namespace varno {

struct BackupFile {
    std::string Path;         // folder + name as found
    std::string Name;         // the name as found ("oldscn2.txt")
    std::int64_t Size = 0;    // bytes
    std::int64_t MTime = 0;   // seconds since 1970
    bool IsScenario = false;  // the scenario file itself, not a backup
};

// The scenario file (when it exists) and every regular file of its folder
// named OLDSCN<n>.TXT with n from 1 to 9, in any case; newest first, and
// among files of the same time the scenario file, then by number.
std::vector<BackupFile> ListBackups(const std::string& scnPath);

struct BackupComparison {
    bool Compared = false;  // false: Reason says why not
    std::string Reason;     // the read's error, or that the order of battle differs
    ScnDiff Diff;           // from the backup to `current`
    // The file's first line (a scenario's first header line, its title),
    // also when it is no scenario of this game; empty when unreadable.
    std::string FirstLine;
};

// Reads `path` as a scenario over the order of battle of its own folder and
// compares it with `current`. A file that cannot be read, that is shorter
// than a scenario's header, or whose order of battle is not `current`'s, is
// not a scenario of this game: Reason tells.
// The read makes the folder the working directory, as every Read does.
BackupComparison CompareBackup(const std::string& path, const Scenario& current);

}  // namespace varno
