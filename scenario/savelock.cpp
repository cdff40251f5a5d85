#include "scenario/savelock.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

#include "scenario/scnerror.h"

namespace varno {

SaveLock::SaveLock(const std::string& dir, const std::string& shownPath, int waitMs) {
    const std::string path = dir + LockFileName();
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd_ < 0) throw ScnError("Cannot write " + shownPath + ": " + std::strerror(errno));
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        if (err == EINTR) continue;
        if (err != EWOULDBLOCK || std::chrono::steady_clock::now() >= until) {
            ::close(fd_);
            fd_ = -1;
            if (err == EWOULDBLOCK) throw ScnError("Cannot write " + shownPath + ": another program is saving it");
            throw ScnError("Cannot write " + shownPath + ": " + std::strerror(err));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

SaveLock::~SaveLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace varno
