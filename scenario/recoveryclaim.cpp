#include "scenario/recoveryclaim.h"

#include <charconv>
#include <filesystem>
#include <utility>

#include "scenario/scnerror.h"

namespace varno {

namespace {

using platform::File;

[[noreturn]] void Fail(const std::string& path, std::error_code err) {
    throw ScnError("Cannot lock " + path + ": " + err.message());
}

// This process's id as the lock file's text.
void WritePid(File& file) {
    const std::string text = std::to_string(platform::ProcessId()) + "\n";
    if (!file.resize(0)) static_cast<void>(file.writeAll(text));
}

long ReadPid(File& file) {
    char buf[32];
    std::error_code err;
    const std::size_t n = file.readAt(buf, sizeof buf - 1, 0, err);
    long pid = 0;
    if (n > 0) std::from_chars(buf, buf + n, pid);
    return pid;
}

// The open file still has the name `path`: its holder did not remove it
// between our open and our lock.
bool StillNamed(const File& file, const std::string& path) {
    platform::FileInfo held, named;
    return !file.info(held) && !platform::InfoOf(path, named, false) && named.Kind == held.Kind &&
           held.Device == named.Device && held.Index == named.Index;
}

void RemoveName(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(platform::FsPath(path), ignored);
}

}  // namespace

RecoveryClaim::RecoveryClaim(RecoveryClaim&& other) noexcept
    : dir_(std::move(other.dir_)), id_(std::move(other.id_)), file_(std::move(other.file_)) {}

RecoveryClaim& RecoveryClaim::operator=(RecoveryClaim&& other) noexcept {
    if (this != &other) {
        Release();
        dir_ = std::move(other.dir_);
        id_ = std::move(other.id_);
        file_ = std::move(other.file_);
    }
    return *this;
}

RecoveryClaim::~RecoveryClaim() { Release(); }

std::optional<RecoveryClaim> RecoveryClaim::Take(const std::string& dir, const std::string& id) {
    const std::string path = dir + LockName(id);
    const auto claimOf = [&](File file) {
        RecoveryClaim claim;
        claim.dir_ = dir;
        claim.id_ = id;
        claim.file_ = std::move(file);
        return claim;
    };
    // A holder may remove the file while we open it, another program make it
    // meanwhile: a few rounds settle it.
    for (int round = 0; round < 16; ++round) {
        std::error_code err;
        File file = File::Open(path, platform::OpenRead | platform::OpenWrite | platform::OpenNoFollow, err);
        bool taken = false;
        if (!file.isOpen()) {
            if (err != std::errc::no_such_file_or_directory) Fail(path, err);
            std::string temp = dir + "." + LockName(id) + ".XXXXXX";
            file = platform::CreateTemp(temp, err);
            if (!file.isOpen()) Fail(path, err);
            err = file.tryLock(taken);
            if (err || !taken) {
                RemoveName(temp);
                Fail(path, err ? err : std::make_error_code(std::errc::resource_unavailable_try_again));
            }
            WritePid(file);
            err = platform::RenameToNewName(temp, path);
            if (!err) return claimOf(std::move(file));
            RemoveName(temp);
            file.close();
            if (err == std::errc::file_exists) continue;
            Fail(path, err);
        }
        if ((err = file.tryLock(taken))) Fail(path, err);
        if (!taken) return std::nullopt;
        if (!StillNamed(file, path)) continue;
        WritePid(file);
        return claimOf(std::move(file));
    }
    throw ScnError("Cannot lock " + path + ": it keeps changing");
}

bool RecoveryClaim::Held(const std::string& dir, const std::string& id, long* pid) {
    if (pid) *pid = 0;
    std::error_code err;
    File file = File::Open(dir + LockName(id), platform::OpenRead | platform::OpenNoFollow, err);
    if (!file.isOpen()) return false;
    bool taken = false;
    const bool held = !file.tryLock(taken, true) && !taken;
    if (held && pid) *pid = ReadPid(file);
    return held;  // closing lets go of the shared lock a free file gave us
}

bool RecoveryClaim::Intact() const { return file_.isOpen() && StillNamed(file_, dir_ + LockName(id_)); }

void RecoveryClaim::Release() { static_cast<void>(file_.close()); }

void RecoveryClaim::RemoveLockFile() {
    if (!file_.isOpen()) return;
    // Removed while held: a program that opened it meanwhile finds, once it
    // has the lock, that the name is gone, and does not take it.
    if (StillNamed(file_, dir_ + LockName(id_))) RemoveName(dir_ + LockName(id_));
    Release();
}

}  // namespace varno
