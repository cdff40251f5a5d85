// The platform layer on Linux and other POSIX systems: paths are bytes.
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <pwd.h>
#include <string.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "scenario/platform/platform.h"

namespace varno::platform {

namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

// The bytes a read call gives, asked again while a signal interrupts it; 0
// with `ec` set when it fails.
template <class ReadCall> std::size_t ReadRetried(ReadCall call, std::error_code& ec) {
    while (true) {
        const ssize_t got = call();
        if (got >= 0) {
            ec.clear();
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            ec = LastError();
            return 0;
        }
    }
}

FileKind KindOf(mode_t mode) {
    if (S_ISREG(mode)) return FileKind::Regular;
    if (S_ISDIR(mode)) return FileKind::Directory;
    if (S_ISLNK(mode)) return FileKind::Link;
    return FileKind::Other;
}

void Describe(const struct stat& st, FileInfo& info) {
    info.Kind = KindOf(st.st_mode);
    info.Size = static_cast<std::uint64_t>(st.st_size);
    info.Device = static_cast<std::uint64_t>(st.st_dev);
    info.Index = static_cast<std::uint64_t>(st.st_ino);
    info.ModifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    info.ChangedNs = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    info.ModifiedSeconds = static_cast<std::int64_t>(st.st_mtime);
    info.Mode = st.st_mode & 07777;
    info.Owner = st.st_uid;
}

}  // namespace

std::filesystem::path FsPath(std::string_view path) { return std::filesystem::path(path); }

std::string PathString(const std::filesystem::path& path) { return path.native(); }

bool IsSeparator(char c) { return c == '/'; }

bool IsAbsolutePath(std::string_view path) { return !path.empty() && path.front() == '/'; }

std::string AbsolutePath(const std::string& path) {
    std::error_code ec;
    std::string base = std::filesystem::current_path(ec).native();
    if (ec) return path;
    if (base.empty() || base.back() != '/') base += '/';
    return base + path;
}

bool NamesIgnoreCase() { return false; }

long ProcessId() { return static_cast<long>(::getpid()); }

unsigned UserId() { return static_cast<unsigned>(::geteuid()); }

std::string UserStateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/') return state;
    std::string home;
    if (const char* h = std::getenv("HOME"); h && h[0] != '\0') {
        home = h;
    } else if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_dir) {
        home = pw->pw_dir;
    }
    return home.empty() ? home : home + "/.local/state";
}

bool UtcTime(std::int64_t secondsSince1970, std::tm& out) {
    const auto t = static_cast<std::time_t>(secondsSince1970);
    return ::gmtime_r(&t, &out) != nullptr;
}

bool LocalTime(std::int64_t secondsSince1970, std::tm& out) {
    const auto t = static_cast<std::time_t>(secondsSince1970);
    return ::localtime_r(&t, &out) != nullptr;
}

std::vector<std::string> Arguments(int argc, char** argv) { return {argv, argv + argc}; }

void BinaryStandardStreams() {}

std::error_code InfoOf(const std::string& path, FileInfo& info, bool followLinks) {
    info = FileInfo{};
    struct stat st {};
    if ((followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st)) != 0)
        return errno == ENOENT ? std::error_code() : LastError();
    Describe(st, info);
    return {};
}

File::~File() { close(); }

File::File(File&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

File File::Open(const std::string& path, unsigned flags, std::error_code& ec) {
    int how = (flags & OpenWrite) ? ((flags & OpenRead) ? O_RDWR : O_WRONLY) : O_RDONLY;
    if (flags & OpenCreate) how |= O_CREAT;
    if (flags & OpenExclusive) how |= O_EXCL;
    if (flags & OpenNoFollow) how |= O_NOFOLLOW;
    // Without O_NONBLOCK opening a FIFO waits for a writer that never comes.
    File f;
    f.fd_ = ::open(path.c_str(), how | O_NONBLOCK | O_CLOEXEC, 0666);
    if (f.fd_ < 0) {
        ec = LastError();
        return f;
    }
    const int fl = ::fcntl(f.fd_, F_GETFL);
    if (fl >= 0) ::fcntl(f.fd_, F_SETFL, fl & ~O_NONBLOCK);
    ec.clear();
    return f;
}

bool File::isOpen() const { return fd_ >= 0; }

std::error_code File::info(FileInfo& info) const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return LastError();
    Describe(st, info);
    return {};
}

std::size_t File::read(void* buf, std::size_t n, std::error_code& ec) {
    return ReadRetried([&] { return ::read(fd_, buf, n); }, ec);
}

std::size_t File::readAt(void* buf, std::size_t n, std::uint64_t offset, std::error_code& ec) {
    return ReadRetried([&] { return ::pread(fd_, buf, n, static_cast<off_t>(offset)); }, ec);
}

std::error_code File::writeAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return LastError();
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

std::error_code File::sync() { return ::fsync(fd_) == 0 ? std::error_code() : LastError(); }

std::error_code File::setMode(unsigned mode) {
    return ::fchmod(fd_, static_cast<mode_t>(mode)) == 0 ? std::error_code() : LastError();
}

std::error_code File::tryLock(bool& taken, bool shared) {
    taken = false;
    while (::flock(fd_, (shared ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        return errno == EWOULDBLOCK ? std::error_code() : LastError();
    }
    taken = true;
    return {};
}

std::error_code File::resize(std::uint64_t size) {
    return ::ftruncate(fd_, static_cast<off_t>(size)) == 0 ? std::error_code() : LastError();
}

std::error_code File::close() {
    if (fd_ < 0) return {};
    const int fd = std::exchange(fd_, -1);
    return ::close(fd) == 0 ? std::error_code() : LastError();
}

int File::descriptor() { return fd_; }

File CreateTemp(std::string& pattern, std::error_code& ec) {
    File f;
    f.fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (f.fd_ < 0) {
        ec = LastError();
        pattern.clear();
        return f;
    }
    ec.clear();
    return f;
}

unsigned NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::error_code MakeFolder(const std::string& path) {
    return ::mkdir(path.c_str(), 0700) == 0 ? std::error_code() : LastError();
}

std::error_code SetMode(const std::string& path, unsigned mode) {
    return ::chmod(path.c_str(), static_cast<mode_t>(mode)) == 0 ? std::error_code() : LastError();
}

bool MayReplace(const std::string& path, const FileInfo& info) {
    const uid_t me = ::geteuid();
    if (info.Owner == me) return (info.Mode & S_IWUSR) != 0;
    if (me == 0) return (info.Mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    return ::access(path.c_str(), W_OK) == 0;
}

std::error_code HardLink(const std::string& from, const std::string& to) {
    return ::link(from.c_str(), to.c_str()) == 0 ? std::error_code() : LastError();
}

bool NoHardLinks(std::error_code err) {
    if (err.category() != std::generic_category()) return false;
    const int e = err.value();
    return e == EPERM || e == EOPNOTSUPP || e == EXDEV || e == EMLINK || e == ENOSYS;
}

bool MayRemoveLinkIn(const std::string&, const FileInfo& file, const std::string& dir) {
    struct stat folder {};
    if (::stat(dir.empty() ? "." : dir.c_str(), &folder) != 0 || !(folder.st_mode & S_ISVTX)) return true;
    const uid_t me = ::geteuid();
    return me == 0 || file.Owner == me || folder.st_uid == me;
}

std::error_code RenameToNewName(const std::string& from, const std::string& to) {
    if (::link(from.c_str(), to.c_str()) != 0) return LastError();
    ::unlink(from.c_str());
    return {};
}

std::error_code RenameOver(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0 ? std::error_code() : LastError();
}

std::error_code SyncFolder(const std::string& dir) {
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return LastError();
    std::error_code ec;
    // Some file systems cannot sync a folder: nothing to wait for there.
    if (::fsync(fd) != 0 && errno != EINVAL) ec = LastError();
    ::close(fd);
    return ec;
}

const char* FindLastByte(const char* data, std::size_t n, char c) {
    return static_cast<const char*>(::memrchr(data, c, n));
}

void LowerThreadPriority() {
    // On Linux the niceness is the calling thread's own.
    ::setpriority(PRIO_PROCESS, 0, 10);
}

namespace {

// The mapped ranges the SIGBUS handler answers for. A slot is taken by
// storing its end, then its begin; the handler reads them without a lock.
constexpr int kSlots = 16;
std::atomic<std::uintptr_t> slotBegin[kSlots];
std::atomic<std::uintptr_t> slotEnd[kSlots];
std::uintptr_t pageSize = 4096;
struct sigaction previous;
std::mutex slotsLock;  // taking and freeing slots, installing the handler

void OnSigbus(int sig, siginfo_t* info, void* context) {
    const auto at = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (int k = 0; k < kSlots; ++k) {
        const std::uintptr_t begin = slotBegin[k].load(std::memory_order_acquire);
        if (begin && at >= begin && at < slotEnd[k].load(std::memory_order_acquire)) {
            // A page of the file that is gone: zeros in its place, and the
            // read is done again on them.
            const int saved = errno;
            void* page = reinterpret_cast<void*>(at & ~(pageSize - 1));
            const bool ok =
                ::mmap(page, pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED;
            errno = saved;
            if (ok) return;
        }
    }
    // Not ours: as if we had never been here.
    if (previous.sa_flags & SA_SIGINFO) {
        previous.sa_sigaction(sig, info, context);
    } else if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
        previous.sa_handler(sig);
    } else {
        ::signal(sig, SIG_DFL);  // the fault comes again and ends the program
    }
}

void InstallHandler() {
    static bool installed = false;
    if (installed) return;
    pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    struct sigaction action {};
    action.sa_sigaction = OnSigbus;
    action.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &previous);
    installed = true;
}

int TakeSlot(const void* data, std::size_t size) {
    const std::lock_guard lock(slotsLock);
    InstallHandler();
    for (int k = 0; k < kSlots; ++k)
        if (!slotBegin[k].load()) {
            slotEnd[k].store(reinterpret_cast<std::uintptr_t>(data) + size, std::memory_order_release);
            slotBegin[k].store(reinterpret_cast<std::uintptr_t>(data), std::memory_order_release);
            return k;
        }
    return -1;  // unguarded: only with more files mapped at once than the program ever keeps
}

void FreeSlot(int k) {
    if (k < 0) return;
    const std::lock_guard lock(slotsLock);
    slotBegin[k].store(0, std::memory_order_release);
}

}  // namespace

MappedFile::MappedFile(const File& file, std::size_t length) {
    if (length == 0) return;
    void* p = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, file.fd_, 0);
    if (p == MAP_FAILED) throw std::system_error(errno, std::generic_category());
    data_ = static_cast<const std::uint8_t*>(p);
    size_ = length;
    slot_ = TakeSlot(data_, size_);
}

void MappedFile::release() {
    if (!data_) return;
    FreeSlot(slot_);
    ::munmap(const_cast<std::uint8_t*>(data_), size_);
    data_ = nullptr;
    size_ = 0;
    slot_ = -1;
}

}  // namespace varno::platform
