#pragma once
// The backups of a scenario (OLDSCN<n>.TXT of its folder, in any case) and
// their comparison with the scenario as it is held now.
#include <cstdint>
#include <memory>
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
// not a scenario of this game: Reason tells. Never throws: a lack of memory
// is a Reason too. The working directory stays as it is.
BackupComparison CompareBackup(const std::string& path, const Scenario& current);

// The largest file the Backups window compares.
inline constexpr std::uint64_t kBackupCompareLimit = 64ull * 1024 * 1024;

// Compares files with the scenario as it was when the comparer was made,
// in a thread of its own: made on the editor's thread from the scenario's
// text as a save writes it (every release chance kept) and its order of
// battle's path, it needs nothing of the editor afterwards. A file over
// kBackupCompareLimit is not read: "too large to compare (<n> bytes; at
// most 64 MiB)". Compare never throws.
class BackupComparer {
public:
    explicit BackupComparer(const Scenario& current);
    ~BackupComparer();
    BackupComparer(const BackupComparer&) = delete;
    BackupComparer& operator=(const BackupComparer&) = delete;

    // The same for the same scenario: comparisons made for one version hold
    // for it while the files keep their stamps.
    std::uint64_t Version() const { return version_; }
    // Compares the file at `path` (one thread at a time).
    BackupComparison Compare(const std::string& path);

private:
    // Compare without the file's first line.
    BackupComparison compareFile(const std::string& path);
    std::string text_, oobPath_;
    std::uint64_t version_ = 0;
    std::unique_ptr<Scenario> current_;  // read from text_ at the first Compare
    std::string currentError_;
};

}  // namespace varno
