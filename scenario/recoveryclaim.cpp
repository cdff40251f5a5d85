#include "scenario/recoveryclaim.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "scenario/scnerror.h"

namespace varno {

namespace {

[[noreturn]] void Fail(const std::string& path, int err) {
    throw ScnError("Cannot lock " + path + ": " + std::strerror(err));
}

// This process's id as the lock file's text.
void WritePid(int fd) {
    const std::string text = std::to_string(static_cast<long>(::getpid())) + "\n";
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const ssize_t n = ::pwrite(fd, text.data(), text.size(), 0);
    }
}

long ReadPid(int fd) {
    char buf[32];
    const ssize_t n = ::pread(fd, buf, sizeof buf - 1, 0);
    long pid = 0;
    if (n > 0) std::from_chars(buf, buf + n, pid);
    return pid;
}

// The descriptor still names the file at `path`: its holder did not remove
// it between our open and our lock.
bool StillNamed(int fd, const std::string& path) {
    struct stat held {
    }, named{};
    return ::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

}  // namespace

RecoveryClaim::RecoveryClaim(RecoveryClaim&& other) noexcept
    : dir_(std::move(other.dir_)), id_(std::move(other.id_)), fd_(std::exchange(other.fd_, -1)) {}

RecoveryClaim& RecoveryClaim::operator=(RecoveryClaim&& other) noexcept {
    if (this != &other) {
        Release();
        dir_ = std::move(other.dir_);
        id_ = std::move(other.id_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

RecoveryClaim::~RecoveryClaim() { Release(); }

std::optional<RecoveryClaim> RecoveryClaim::Take(const std::string& dir, const std::string& id) {
    const std::string path = dir + LockName(id);
    // A holder may remove the file while we open it, another program make it
    // meanwhile: a few rounds settle it.
    for (int round = 0; round < 16; ++round) {
        int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) {
            if (errno != ENOENT) Fail(path, errno);
            std::string temp = dir + "." + LockName(id) + ".XXXXXX";
            fd = ::mkostemp(temp.data(), O_CLOEXEC);
            if (fd < 0) Fail(path, errno);
            if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
                const int err = errno;
                ::unlink(temp.c_str());
                ::close(fd);
                Fail(path, err);
            }
            WritePid(fd);
            const bool named = ::link(temp.c_str(), path.c_str()) == 0;
            const int err = errno;
            ::unlink(temp.c_str());
            if (named) {
                RecoveryClaim claim;
                claim.dir_ = dir;
                claim.id_ = id;
                claim.fd_ = fd;
                return claim;
            }
            ::close(fd);
            if (err == EEXIST) continue;
            Fail(path, err);
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int err = errno;
            ::close(fd);
            if (err == EWOULDBLOCK) return std::nullopt;
            Fail(path, err);
        }
        if (!StillNamed(fd, path)) {
            ::close(fd);
            continue;
        }
        WritePid(fd);
        RecoveryClaim claim;
        claim.dir_ = dir;
        claim.id_ = id;
        claim.fd_ = fd;
        return claim;
    }
    throw ScnError("Cannot lock " + path + ": it keeps changing");
}

bool RecoveryClaim::Held(const std::string& dir, const std::string& id, long* pid) {
    if (pid) *pid = 0;
    const int fd = ::open((dir + LockName(id)).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return false;
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    if (held && pid) *pid = ReadPid(fd);
    ::close(fd);  // closing lets go of the shared lock a free file gave us
    return held;
}

bool RecoveryClaim::Intact() const { return fd_ >= 0 && StillNamed(fd_, dir_ + LockName(id_)); }

void RecoveryClaim::Release() {
    if (fd_ >= 0) ::close(std::exchange(fd_, -1));
}

void RecoveryClaim::RemoveLockFile() {
    if (fd_ < 0) return;
    // Removed while held: a program that opened it meanwhile finds, once it
    // has the lock, that the name is gone, and does not take it.
    if (StillNamed(fd_, dir_ + LockName(id_))) ::unlink((dir_ + LockName(id_)).c_str());
    Release();
}

}  // namespace varno
