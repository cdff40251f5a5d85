#include "scenario/atomicsave.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "scenario/filenames.h"
#include "scenario/scnerror.h"

namespace varno {

namespace {

SaveFaultHook& Hook() {
    static SaveFaultHook hook;
    return hook;
}

std::string CannotWrite(const std::string& path, int err) { return "Cannot write " + path + ": " + std::strerror(err); }

std::string Folder(const std::string& dir) { return dir.empty() ? std::string(".") : dir; }

// Would this process be let remove a link to `file` from dir again? Not in a
// folder with the sticky bit (a shared one) where neither the file nor the
// folder is its own: it then copies instead of linking.
bool MayRemoveLink(const struct stat& file, const std::string& dir) {
    struct stat folder {};
    if (::stat(Folder(dir).c_str(), &folder) != 0 || !(folder.st_mode & S_ISVTX)) return true;
    const uid_t me = ::geteuid();
    return me == 0 || file.st_uid == me || folder.st_uid == me;
}

// Copies from's bytes into fd and gives it from's permission bits, synced.
// False with errno set on failure; fd stays open.
bool CopyInto(const std::string& from, int fd, mode_t mode) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    char buf[65536];
    bool ok = true;
    while (ok) {
        const ssize_t n = ::read(in, buf, sizeof buf);
        if (n == 0) break;
        if (n < 0) {
            ok = errno == EINTR;
            continue;
        }
        for (ssize_t done = 0; ok && done < n;) {
            const ssize_t w = ::write(fd, buf + done, static_cast<std::size_t>(n - done));
            if (w < 0 && errno != EINTR) ok = false;
            if (w > 0) done += w;
        }
    }
    if (ok && (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)) ok = false;
    const int err = errno;
    ::close(in);
    errno = err;
    return ok;
}

// A new file ".OLDSCN.XXXXXX" in dir with from's bytes: a hard link where
// the file system has them and the link could be removed again, else a
// synced copy. Empty with errno set on failure; nothing is left then.
std::string KeepAside(const std::string& from, const std::string& dir) {
    struct stat st {};
    if (::stat(from.c_str(), &st) != 0) return {};
    std::string temp = dir + ".OLDSCN.XXXXXX";
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return {};
    if (MayRemoveLink(st, dir)) {
        ::close(fd);
        ::unlink(temp.c_str());
        if (::link(from.c_str(), temp.c_str()) == 0) return temp;
        if (errno != EPERM && errno != EOPNOTSUPP && errno != EXDEV && errno != EMLINK && errno != ENOSYS) return {};
        temp = dir + ".OLDSCN.XXXXXX";
        fd = ::mkostemp(temp.data(), O_CLOEXEC);
        if (fd < 0) return {};
    }
    const bool copied = CopyInto(from, fd, st.st_mode & 07777);
    int err = errno;
    const bool closed = ::close(fd) == 0;
    if (copied && closed) return temp;
    if (copied) err = errno;
    ::unlink(temp.c_str());
    errno = err;
    return {};
}

bool IsTempName(std::string_view name, std::string_view prefix) {
    if (name.size() != prefix.size() + 6 || name.substr(0, prefix.size()) != prefix) return false;
    for (const char c : name.substr(prefix.size()))
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
    return true;
}

}  // namespace

void SetSaveFaultHook(SaveFaultHook hook) { Hook() = std::move(hook); }

int InjectedFault(SaveStep step) { return Hook() ? Hook()(step) : 0; }

std::string ResolveLinks(const std::string& path) {
    std::string cur = path;
    for (int i = 0; i < 40; ++i) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(cur, ec)) return cur;
        const std::string to = std::filesystem::read_symlink(cur, ec).string();
        if (ec || to.empty()) return cur;
        cur = to.front() == '/' ? to : DirPart(cur) + to;
    }
    return cur;
}

int LookAt(const std::string& target, SaveTarget& out) {
    out = {};
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) return errno == ENOENT ? 0 : errno;
    out.Exists = true;
    out.Regular = S_ISREG(st.st_mode);
    out.Mode = st.st_mode & 07777;
    const uid_t me = ::geteuid();
    if (st.st_uid == me)
        out.MayReplace = (st.st_mode & S_IWUSR) != 0;
    else if (me == 0)
        out.MayReplace = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    else
        out.MayReplace = ::access(target.c_str(), W_OK) == 0;
    return 0;
}

unsigned NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// ---- the temporary file ----

TempFile::TempFile(const std::string& dir, const std::string& base, const std::string& shown) : shown_(shown) {
    path_ = dir + "." + base + ".XXXXXX";
    if (const int err = InjectedFault(SaveStep::CreateTemp)) Fail(err);
    fd_ = ::mkostemp(path_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        path_.clear();
        Fail(errno);
    }
}

TempFile::~TempFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!path_.empty()) ::unlink(path_.c_str());
}

void TempFile::Mode(unsigned bits) {
    if (::fchmod(fd_, static_cast<mode_t>(bits)) != 0) Fail(errno);
}

void TempFile::Write(std::string_view text) {
    if (const int err = InjectedFault(SaveStep::WriteTemp)) Fail(err);
    while (!text.empty()) {
        const ssize_t n = ::write(fd_, text.data(), text.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail(errno);
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
}

void TempFile::Finish() {
    if (const int err = InjectedFault(SaveStep::SyncTemp)) Fail(err);
    if (::fsync(fd_) != 0) Fail(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) Fail(errno);
}

void TempFile::RenameOver(const std::string& target) {
    if (const int err = InjectedFault(SaveStep::Rename)) Fail(err);
    if (std::rename(path_.c_str(), target.c_str()) != 0) Fail(errno);
    path_.clear();  // it is the target now: nothing to remove
}

void TempFile::Fail(int err) const { throw ScnError(CannotWrite(shown_, err)); }

// ---- the backup ----

Backup::Backup(std::string old, std::string name, std::string taken, std::string shown)
    : old_(std::move(old)), name_(std::move(name)), taken_(std::move(taken)), shown_(std::move(shown)) {}

Backup::~Backup() {
    if (!temp_.empty()) ::unlink(temp_.c_str());
    switch (state_) {
    case State::Start:
    case State::Made:
        // The number's file was not touched.
        if (!aside_.empty()) ::unlink(aside_.c_str());
        break;
    case State::Named:
        if (aside_.empty() || taken_ != name_) ::unlink(name_.c_str());
        [[fallthrough]];
    case State::PutBack:
        // The number's file back under its name; should even that fail, its
        // bytes stay under the temporary name, never removed.
        if (!aside_.empty()) std::rename(aside_.c_str(), taken_.c_str());
        break;
    case State::Kept: break;
    }
}

void Backup::fail(int err) const {
    throw ScnError("Cannot back up " + shown_ + " to " + name_.substr(DirPart(name_).size()) + ": " +
                   std::strerror(err));
}

void Backup::Make() {
    if (const int err = InjectedFault(SaveStep::Backup)) fail(err);
    const std::string dir = DirPart(name_);
    temp_ = KeepAside(old_, dir);
    if (temp_.empty()) fail(errno);
    if (!taken_.empty()) {
        aside_ = KeepAside(taken_, dir);
        if (aside_.empty()) fail(errno);
    }
    state_ = State::Made;
}

void Backup::Name() {
    if (const int err = InjectedFault(SaveStep::NameBackup)) fail(err);
    if (std::rename(temp_.c_str(), name_.c_str()) != 0) fail(errno);
    // A rename between two names of one file leaves both: the number held
    // the old file itself already.
    if (::access(temp_.c_str(), F_OK) == 0) ::unlink(temp_.c_str());
    temp_.clear();
    state_ = State::Named;
    // Number 9 in another spelling goes now; its bytes are kept aside.
    if (!taken_.empty() && taken_ != name_) ::unlink(taken_.c_str());
}

bool Backup::PutBack() {
    if (std::rename(name_.c_str(), old_.c_str()) == 0) {
        state_ = State::PutBack;
        return true;
    }
    Keep();
    return false;
}

void Backup::Keep() {
    if (!aside_.empty()) ::unlink(aside_.c_str());
    state_ = State::Kept;
}

// ---- the folder ----

int SyncFolder(const std::string& dir) {
    if (const int err = InjectedFault(SaveStep::SyncFolder)) return err;
    const int fd = ::open(Folder(dir).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    int err = 0;
    if (::fsync(fd) != 0 && errno != EINVAL) err = errno;
    ::close(fd);
    return err;
}

void RemoveFile(const std::string& path) { ::unlink(path.c_str()); }

void RemoveStrayTemps(const std::string& dir, const std::string& base) {
    DIR* d = ::opendir(Folder(dir).c_str());
    if (!d) return;
    const std::string mine = "." + base + ".";
    const std::time_t before = std::time(nullptr) - 60;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view name = e->d_name;
        if (!IsTempName(name, mine) && !IsTempName(name, ".OLDSCN.")) continue;
        const std::string path = dir + std::string(name);
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_mtime < before) ::unlink(path.c_str());
    }
    ::closedir(d);
}

}  // namespace varno
