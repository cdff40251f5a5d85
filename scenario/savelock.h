#pragma once
// One save at a time in a game folder: an exclusive lock (flock; LockFileEx
// on Windows) on the folder's lock file, `.varno.lock`, held from the backup
// to the rename. The folder, not the file: the numbered backups belong to
// the folder.
#include <string>

#include "scenario/platform/platform.h"

namespace varno {

class SaveLock {
public:
    // Waits up to waitMs for another saver to finish; then throws ScnError
    // "Cannot write <shownPath>: another program is saving it". A lock file
    // made here is group-writable where the folder is (a shared folder);
    // one this user may not write is locked through a read-only descriptor.
    // A lock file that is a link, a folder or another non-file: "Cannot
    // write <shownPath>: the lock file <dir>/.varno.lock is not a regular file".
    SaveLock(const std::string& dir, const std::string& shownPath, int waitMs);
    SaveLock(const SaveLock&) = delete;
    SaveLock& operator=(const SaveLock&) = delete;

    static std::string LockFileName() { return ".varno.lock"; }

private:
    platform::File file_;  // closing it frees the lock
};

}  // namespace varno
