#include "scenario/atomicsave.h"

#include <ctime>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "scenario/filenames.h"
#include "scenario/scnerror.h"

namespace varno {

namespace {

SaveFaultHook& Hook() {
    static SaveFaultHook hook;
    return hook;
}

namespace fs = std::filesystem;
using platform::FsPath;

std::string CannotWrite(const std::string& path, std::error_code err) {
    return "Cannot write " + path + ": " + err.message();
}

std::error_code Injected(SaveStep step) { return {InjectedFault(step), std::generic_category()}; }

bool Exists(const std::string& path) {
    platform::FileInfo info;
    return platform::InfoOf(path, info, false) || info.Kind != platform::FileKind::Missing;
}

// Copies from's bytes into the open file and gives it from's permission
// bits, synced.
std::error_code CopyInto(const std::string& from, platform::File& out, unsigned mode) {
    std::error_code err;
    platform::File in = platform::File::Open(from, platform::OpenRead, err);
    char buf[65536];
    while (!err) {
        const std::size_t n = in.read(buf, sizeof buf, err);
        if (err || n == 0) break;
        err = out.writeAll(std::string_view(buf, n));
    }
    if (!err) err = out.setMode(mode);
    if (!err) err = out.sync();
    return err;
}

// A new file ".OLDSCN.XXXXXX" in dir with from's bytes: a hard link where
// the file system has them and the link could be removed again, else a
// synced copy. Empty with `err` set on failure; nothing is left then.
std::string KeepAside(const std::string& from, const std::string& dir, std::error_code& err) {
    platform::FileInfo info;
    if ((err = platform::InfoOf(from, info))) return {};
    std::string temp = dir + ".OLDSCN.XXXXXX";
    platform::File file = platform::CreateTemp(temp, err);
    if (err) return {};
    if (platform::MayRemoveLinkIn(from, info, dir)) {
        file.close();
        RemoveFile(temp);
        if (!(err = platform::HardLink(from, temp))) return temp;
        if (!platform::NoHardLinks(err)) return {};
        temp = dir + ".OLDSCN.XXXXXX";
        file = platform::CreateTemp(temp, err);
        if (err) return {};
    }
    err = CopyInto(from, file, info.Mode);
    if (const std::error_code closed = file.close(); !err) err = closed;
    if (!err) return temp;
    RemoveFile(temp);
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
        if (!fs::is_symlink(FsPath(cur), ec)) return cur;
        const std::string to = platform::PathString(fs::read_symlink(FsPath(cur), ec));
        if (ec || to.empty()) return cur;
        cur = platform::IsAbsolutePath(to) ? to : DirPart(cur) + to;
    }
    return cur;
}

std::error_code LookAt(const std::string& target, SaveTarget& out) {
    out = {};
    platform::FileInfo info;
    if (const std::error_code err = platform::InfoOf(target, info)) return err;
    if (info.Kind == platform::FileKind::Missing) return {};
    out.Exists = true;
    out.Regular = info.Kind == platform::FileKind::Regular;
    out.Mode = info.Mode;
    out.MayReplace = platform::MayReplace(target, info);
    return {};
}

// ---- the temporary file ----

TempFile::TempFile(const std::string& dir, const std::string& base, const std::string& shown) : shown_(shown) {
    path_ = dir + "." + base + ".XXXXXX";
    if (const std::error_code err = Injected(SaveStep::CreateTemp)) Fail(err);
    std::error_code err;
    file_ = platform::CreateTemp(path_, err);
    if (err) Fail(err);
}

TempFile::~TempFile() {
    file_.close();
    if (!path_.empty()) RemoveFile(path_);
}

void TempFile::Mode(unsigned bits) {
    if (const std::error_code err = file_.setMode(bits)) Fail(err);
}

void TempFile::Write(std::string_view text) {
    std::error_code err = Injected(SaveStep::WriteTemp);
    if (!err) err = file_.writeAll(text);
    if (err) Fail(err);
}

void TempFile::Finish() {
    std::error_code err = Injected(SaveStep::SyncTemp);
    if (!err) err = file_.sync();
    if (const std::error_code closed = file_.close(); !err) err = closed;
    if (err) Fail(err);
}

void TempFile::RenameOver(const std::string& target) {
    std::error_code err = Injected(SaveStep::Rename);
    if (!err) err = platform::RenameOver(path_, target);
    if (err) Fail(err);
    path_.clear();  // it is the target now: nothing to remove
}

void TempFile::Fail(std::error_code err) const { throw ScnError(CannotWrite(shown_, err)); }

// ---- the backup ----

Backup::Backup(std::string old, std::string name, std::string taken, std::string shown)
    : old_(std::move(old)), name_(std::move(name)), taken_(std::move(taken)), shown_(std::move(shown)) {}

Backup::~Backup() {
    if (!temp_.empty()) RemoveFile(temp_);
    switch (state_) {
    case State::Start:
    case State::Made:
        // The number's file was not touched.
        if (!aside_.empty()) RemoveFile(aside_);
        break;
    case State::Named:
        if (aside_.empty() || taken_ != name_) RemoveFile(name_);
        [[fallthrough]];
    case State::PutBack:
        // The number's file back under its name; should even that fail, its
        // bytes stay under the temporary name, never removed.
        if (!aside_.empty()) platform::RenameOver(aside_, taken_);
        break;
    case State::Kept: break;
    }
}

void Backup::fail(std::error_code err) const {
    throw ScnError("Cannot back up " + shown_ + " to " + name_.substr(DirPart(name_).size()) + ": " + err.message());
}

void Backup::Make() {
    if (const std::error_code err = Injected(SaveStep::Backup)) fail(err);
    const std::string dir = DirPart(name_);
    std::error_code err;
    temp_ = KeepAside(old_, dir, err);
    if (temp_.empty()) fail(err);
    if (!taken_.empty()) {
        aside_ = KeepAside(taken_, dir, err);
        if (aside_.empty()) fail(err);
    }
    state_ = State::Made;
}

void Backup::Name() {
    if (const std::error_code err = Injected(SaveStep::NameBackup)) fail(err);
    // Number 9 in another spelling goes; its bytes are kept aside. Where
    // names ignore case that spelling names the backup's own file: it goes
    // first (undone as a named backup is), so that the backup takes its
    // number's usual spelling and is not removed with it.
    const bool otherSpelling = !taken_.empty() && taken_ != name_;
    if (otherSpelling && platform::NamesIgnoreCase()) {
        state_ = State::Named;
        RemoveFile(taken_);
    }
    if (const std::error_code err = platform::RenameOver(temp_, name_)) fail(err);
    // A rename between two names of one file leaves both: the number held
    // the old file itself already.
    if (Exists(temp_)) RemoveFile(temp_);
    temp_.clear();
    state_ = State::Named;
    if (otherSpelling && !platform::NamesIgnoreCase()) RemoveFile(taken_);
}

bool Backup::PutBack() {
    if (!platform::RenameOver(name_, old_)) {
        state_ = State::PutBack;
        return true;
    }
    Keep();
    return false;
}

void Backup::Keep() {
    if (!aside_.empty()) RemoveFile(aside_);
    state_ = State::Kept;
}

// ---- the folder ----

std::error_code SyncFolder(const std::string& dir) {
    if (const std::error_code err = Injected(SaveStep::SyncFolder)) return err;
    return platform::SyncFolder(dir);
}

void RemoveFile(const std::string& path) {
    std::error_code ignored;
    fs::remove(FsPath(path), ignored);
}

void RemoveStrayTemps(const std::string& dir, const std::string& base) {
    const std::string mine = "." + base + ".";
    const std::time_t before = std::time(nullptr) - 60;
    std::error_code ec;
    for (fs::directory_iterator it(FsPath(dir.empty() ? "." : dir), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = platform::PathString(it->path().filename());
        if (!IsTempName(name, mine) && !IsTempName(name, ".OLDSCN.")) continue;
        const std::string path = dir + name;
        platform::FileInfo info;
        if (!platform::InfoOf(path, info, false) && info.Kind == platform::FileKind::Regular &&
            info.ModifiedSeconds < before)
            RemoveFile(path);
    }
}

}  // namespace varno
