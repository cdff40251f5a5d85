#pragma once
// The steps of an atomic save, made of the platform layer's file calls and
// kept here so that the writer only puts them together; and a hook through
// which tests make any step fail as the system would.
#include <functional>
#include <string>
#include <string_view>
#include <system_error>

#include "scenario/platform/platform.h"

namespace varno {

enum class SaveStep { CreateTemp, WriteTemp, SyncTemp, Lock, Backup, NameBackup, Rename, SyncFolder };
inline constexpr int kSaveStepCount = 8;

// Called before each step; a non-zero result is taken as the errno of that
// step's failure. Empty (the default): no step fails but by itself.
using SaveFaultHook = std::function<int(SaveStep)>;
void SetSaveFaultHook(SaveFaultHook hook);
// The error a step is to fail with, 0 for none.
int InjectedFault(SaveStep step);

// The file a path names, through symbolic links (relative links from the
// link's folder); the path itself when it is no link. Up to 40 links.
std::string ResolveLinks(const std::string& path);

// What a save is about to replace (a path with its links resolved).
struct SaveTarget {
    bool Exists = false;
    bool Regular = false;
    unsigned Mode = 0;        // the permission bits
    bool MayReplace = false;  // the mode lets this process write it, also for root
};
// Looks at target; the error when it cannot be looked at (a missing file is
// no error).
std::error_code LookAt(const std::string& target, SaveTarget& out);

// The new text in a temporary file beside the target, ".<name>.XXXXXX":
// removed unless it took the target's name. Every failure throws ScnError
// "Cannot write <shown>: <reason>".
class TempFile {
public:
    TempFile(const std::string& dir, const std::string& base, const std::string& shown);
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile();
    void Mode(unsigned bits);
    void Write(std::string_view text);
    // Flushed to the disk and closed: only then may it take the target's name.
    void Finish();
    // Renamed over target in one step (SaveStep::Rename).
    void RenameOver(const std::string& target);
    [[noreturn]] void Fail(std::error_code err) const;

private:
    std::string shown_;
    std::string path_;
    platform::File file_;
};

// The old file's backup under its number, made in steps that are undone
// unless Keep() ends the save, so that a failed save leaves every backup as
// it was: the old file is linked (or copied) under a temporary name, and
// the file that holds the number, if any, is kept aside the same way before
// the backup takes its name. Failures throw ScnError "Cannot back up
// <shown> to <name>: <reason>".
class Backup {
public:
    // `old`: the file to keep; `name`: the backup's path; `taken`: the path
    // of the file that holds that number now in any spelling, empty when
    // the number is free.
    Backup(std::string old, std::string name, std::string taken, std::string shown);
    Backup(const Backup&) = delete;
    Backup& operator=(const Backup&) = delete;
    ~Backup();
    // The old bytes under a temporary name (SaveStep::Backup).
    void Make();
    // The backup takes its number (SaveStep::NameBackup).
    void Name();
    // After the old file was replaced: the backup goes back to the old
    // file's name, so that undoing leaves the folder as it was. False when
    // it could not (the save then stands as done).
    bool PutBack();
    // The save is done: the file the number held goes.
    void Keep();

private:
    [[noreturn]] void fail(std::error_code err) const;

    std::string old_, name_, taken_, shown_;
    std::string temp_;   // the backup before it is named
    std::string aside_;  // the bytes of `taken`, kept until Keep
    enum class State { Start, Made, Named, PutBack, Kept } state_ = State::Start;
};

// Syncs the folder's entries to the disk (SaveStep::SyncFolder).
std::error_code SyncFolder(const std::string& dir);

// Removes a file a failed save made; best effort.
void RemoveFile(const std::string& path);

// Removes what saves that were killed left in dir: regular files named as
// the temporary files of a save of `base` (".<base>.XXXXXX") and of the
// backups (".OLDSCN.XXXXXX") that were last written more than a minute
// ago. Called with the folder's save lock held.
void RemoveStrayTemps(const std::string& dir, const std::string& base);

}  // namespace varno
