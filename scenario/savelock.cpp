#include "scenario/savelock.h"

#include <chrono>
#include <thread>

#include "scenario/scnerror.h"

namespace varno {

namespace {

using platform::File;

// A new lock file in a folder the group may write is the group's to write too.
void ShareLikeTheFolder(File& file, const std::string& dir) {
    platform::FileInfo folder, info;
    if (platform::InfoOf(dir, folder) || !(folder.Mode & 020) || file.info(info)) return;
    file.setMode(info.Mode | 060);
}

// Opens the lock file, made when missing (mode 0666 less the umask). Another
// user's lock file that this one may not write is opened read-only: the lock
// needs no more.
File OpenLockFile(const std::string& path, const std::string& dir, std::error_code& err) {
    constexpr unsigned kReadWrite = platform::OpenRead | platform::OpenWrite | platform::OpenNoFollow;
    for (int attempt = 0; attempt < 3; ++attempt) {
        File file = File::Open(path, kReadWrite | platform::OpenCreate | platform::OpenExclusive, err);
        if (!err) {
            ShareLikeTheFolder(file, dir);
            return file;
        }
        if (err != std::errc::file_exists) return file;
        file = File::Open(path, kReadWrite, err);
        if (err == std::errc::permission_denied || err == std::errc::operation_not_permitted ||
            err == std::errc::read_only_file_system)
            file = File::Open(path, platform::OpenRead | platform::OpenNoFollow, err);
        if (!err || err != std::errc::no_such_file_or_directory) return file;
        // Removed between the two opens: made again.
    }
    return {};
}

}  // namespace

SaveLock::SaveLock(const std::string& dir, const std::string& shownPath, int waitMs) {
    const std::string folder = dir.empty() ? std::string("./") : dir;
    const std::string path = folder + LockFileName();
    const std::string cannot = "Cannot write " + shownPath + ": ";
    const std::string notRegular = cannot + "the lock file " + path + " is not a regular file";
    std::error_code err;
    file_ = OpenLockFile(path, folder, err);
    if (err) {
        // A link is refused as a circle of links; a folder cannot be opened for writing.
        if (err == std::errc::too_many_symbolic_link_levels || err == std::errc::is_a_directory)
            throw ScnError(notRegular);
        throw ScnError(cannot + err.message());
    }
    platform::FileInfo info;
    if (file_.info(info) || info.Kind != platform::FileKind::Regular) {
        file_.close();
        throw ScnError(notRegular);
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (true) {
        bool taken = false;
        if ((err = file_.tryLock(taken))) {
            file_.close();
            throw ScnError(cannot + err.message());
        }
        if (taken) return;
        if (std::chrono::steady_clock::now() >= until) {
            file_.close();
            throw ScnError(cannot + "another program is saving it");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

}  // namespace varno
