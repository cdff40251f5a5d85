// Quillet's platform layer on POSIX: paths are bytes.
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "mapsum/core/map_platform.h"

namespace quillet::platform {

std::filesystem::path path_from_text(std::string_view text) { return std::filesystem::path(text); }

std::string path_text(const std::filesystem::path& path) { return path.native(); }

bool names_ignore_case() { return false; }

std::vector<std::string> arguments(int argc, char** argv) { return {argv, argv + argc}; }

void binary_standard_streams() {}

file_look look_without_blocking(const std::filesystem::path& path) {
    file_look look;
    // Without O_NONBLOCK opening a FIFO waits for a writer that never comes.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return look;
    struct stat st {};
    if (::fstat(fd, &st) == 0) {
        look.kind = S_ISREG(st.st_mode)   ? file_kind::regular
                    : S_ISDIR(st.st_mode) ? file_kind::directory
                                          : file_kind::other;
        look.size = static_cast<std::uintmax_t>(st.st_size);
    }
    ::close(fd);
    return look;
}

bool may_write(const std::filesystem::path& path) { return ::access(path.c_str(), W_OK) == 0; }

bool create_new_file(const std::filesystem::path& path, bool& exists) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    exists = fd < 0 && errno == EEXIST;
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

bool sync_to_disk(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    // Some file systems cannot sync a folder: nothing to wait for there.
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return ok;
}

bool rename_over(const std::filesystem::path& from, const std::filesystem::path& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace quillet::platform
