#include "scenario/savelock.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "scenario/scnerror.h"

namespace varno {

namespace {

constexpr int kOpenFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;

// A new lock file in a folder the group may write is the group's to write too.
void ShareLikeTheFolder(int fd, const std::string& dir) {
    struct stat folder {
    }, file{};
    if (::stat(dir.c_str(), &folder) != 0 || !(folder.st_mode & S_IWGRP) || ::fstat(fd, &file) != 0) return;
    ::fchmod(fd, (file.st_mode & 07777) | S_IRGRP | S_IWGRP);
}

// Opens the lock file, made when missing (mode 0666 less the umask). Another
// user's lock file that this one may not write is opened read-only: flock
// needs no more. -1 with errno set on failure.
int OpenLockFile(const std::string& path, const std::string& dir) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | kOpenFlags, 0666);
        if (fd >= 0) {
            ShareLikeTheFolder(fd, dir);
            return fd;
        }
        if (errno != EEXIST) return -1;
        fd = ::open(path.c_str(), O_RDWR | kOpenFlags);
        if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS))
            fd = ::open(path.c_str(), O_RDONLY | kOpenFlags);
        if (fd >= 0 || errno != ENOENT) return fd;
        // Removed between the two opens: made again.
    }
    return -1;
}

}  // namespace

SaveLock::SaveLock(const std::string& dir, const std::string& shownPath, int waitMs) {
    const std::string folder = dir.empty() ? std::string("./") : dir;
    const std::string path = folder + LockFileName();
    const std::string cannot = "Cannot write " + shownPath + ": ";
    const std::string notRegular = cannot + "the lock file " + path + " is not a regular file";
    fd_ = OpenLockFile(path, folder);
    if (fd_ < 0) {
        const int err = errno;
        // O_NOFOLLOW refuses a link with ELOOP; a folder cannot be opened for writing.
        if (err == ELOOP || err == EISDIR) throw ScnError(notRegular);
        throw ScnError(cannot + std::strerror(err));
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        throw ScnError(notRegular);
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        if (err == EINTR) continue;
        if (err != EWOULDBLOCK || std::chrono::steady_clock::now() >= until) {
            ::close(fd_);
            fd_ = -1;
            if (err == EWOULDBLOCK) throw ScnError(cannot + "another program is saving it");
            throw ScnError(cannot + std::strerror(err));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

SaveLock::~SaveLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace varno
