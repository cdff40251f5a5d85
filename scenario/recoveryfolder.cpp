#include "scenario/recoveryfolder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <random>

#include "scenario/atomicsave.h"
#include "scenario/inputfile.h"
#include "scenario/platform/platform.h"
#include "scenario/scnerror.h"

namespace varno {

namespace {

namespace fs = std::filesystem;
using platform::FsPath;

constexpr std::size_t kIdLength = 24;  // "YYYYMMDD-HHMMSS-xxxxxxxx"
constexpr std::uint64_t kNoteLimit = 64 * 1024;
constexpr const char* kNoteSuffix = ".desc";
constexpr const char* kDiscarded = "discarded";

enum class FileKind { None, Lock, Note, Copy };

// What a name in the folder is: a file of a copy (or the temporary file of
// one being written, ".<name>.XXXXXX"), or none of ours.
struct NameParts {
    FileKind Kind = FileKind::None;
    std::string Id;
    std::uint64_t Number = 0;  // Copy: its number
    bool Temporary = false;
};

bool Digits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

NameParts ParseName(std::string_view name) {
    NameParts parts;
    if (name.size() > 8 && name.front() == '.' && name[name.size() - 7] == '.') {
        parts.Temporary = true;
        name = name.substr(1, name.size() - 8);
    }
    if (name.size() <= kIdLength || !IsRecoveryId(name.substr(0, kIdLength))) return parts;
    const std::string_view rest = name.substr(kIdLength);
    if (rest == ".lock") {
        parts.Kind = FileKind::Lock;
    } else if (rest == kNoteSuffix) {
        parts.Kind = FileKind::Note;
    } else if (rest.size() > 5 && rest.front() == '-' && rest.substr(rest.size() - 4) == ".SCN" &&
               Digits(rest.substr(1, rest.size() - 5)) && rest.size() - 5 <= 18) {
        parts.Kind = FileKind::Copy;
        parts.Number = std::stoull(std::string(rest.substr(1, rest.size() - 5)));
    } else {
        return parts;
    }
    parts.Id = std::string(name.substr(0, kIdLength));
    return parts;
}

// The names in a folder, "." and ".." left out; ENOENT gives none.
std::vector<std::string> Names(const std::string& dir) {
    std::vector<std::string> names;
    std::error_code err;
    fs::directory_iterator entries(FsPath(dir), err);
    for (; !err && entries != fs::directory_iterator(); entries.increment(err))
        names.push_back(platform::PathString(entries->path().filename()));
    if (err == std::errc::no_such_file_or_directory) return names;
    if (err) throw ScnError("Cannot read " + dir + ": " + err.message());
    std::sort(names.begin(), names.end());
    return names;
}

bool IsFolder(const std::string& path) {
    platform::FileInfo info;
    return !platform::InfoOf(path, info, false) && info.Kind == platform::FileKind::Directory;
}

const std::string& MissingText() {
    static const std::string text = std::make_error_code(std::errc::no_such_file_or_directory).message();
    return text;
}

// A small file of ours, read whole; "" and the reason in *why when it cannot be.
std::string ReadSmall(const std::string& path, std::uint64_t limit, std::string& why) {
    why.clear();
    std::error_code err;
    platform::File file = platform::File::Open(path, platform::OpenRead | platform::OpenNoFollow, err);
    if (!file.isOpen()) {
        why = err == std::errc::too_many_symbolic_link_levels ? "it is a link" : err.message();
        return {};
    }
    platform::FileInfo info;
    std::string text;
    if ((err = file.info(info))) {
        why = err.message();
    } else if (info.Kind != platform::FileKind::Regular) {
        why = "not a regular file";
    } else if (info.Size > limit) {
        why = "too large (" + std::to_string(info.Size) + " bytes)";
    } else {
        text.resize(static_cast<std::size_t>(info.Size) + 1);
        std::size_t got = 0;
        while (got < text.size()) {
            const std::size_t n = file.read(text.data() + got, text.size() - got, err);
            if (err) {
                why = err.message();
                break;
            }
            if (n == 0) break;
            got += n;
        }
        text.resize(got);
    }
    return text;
}

[[noreturn]] void CannotWrite(const std::string& path, std::error_code err) {
    throw ScnError("Cannot write " + path + ": " + err.message());
}

// The folder's entries on the disk, as a save syncs them.
void SyncRecoveryFolder(const std::string& dir) {
    if (const std::error_code err = SyncFolder(dir)) CannotWrite(dir, err);
}

// `bytes` under dir + name with a save's steps: a temporary file beside it,
// written, synced, closed, renamed over the name.
void WriteWhole(const std::string& dir, const std::string& name, std::string_view bytes) {
    TempFile temp(dir, name, dir + name);  // mode 0600
    temp.Write(bytes);
    temp.Finish();
    temp.RenameOver(dir + name);
}

std::int64_t Now() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

std::string NewRecoveryId() {
    std::tm utc{};
    platform::UtcTime(Now(), utc);
    char buf[kIdLength + 1];
    std::random_device random;
    const auto bits = static_cast<unsigned>(random());
    std::strftime(buf, sizeof buf, "%Y%m%d-%H%M%S-", &utc);
    std::snprintf(buf + 16, sizeof buf - 16, "%08x", bits);
    return std::string(buf, kIdLength);
}

bool IsRecoveryId(std::string_view text) {
    if (text.size() != kIdLength || text[8] != '-' || text[15] != '-') return false;
    if (!Digits(text.substr(0, 8)) || !Digits(text.substr(9, 6))) return false;
    return std::all_of(text.begin() + 16, text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

std::string RecoveryCopyName(const std::string& id, std::uint64_t n) { return id + "-" + std::to_string(n) + ".SCN"; }

RecoveryFolder::RecoveryFolder(std::string dir) : dir_(std::move(dir)) {
    if (!dir_.empty() && !platform::IsSeparator(dir_.back())) dir_ += '/';
}

std::string RecoveryFolder::DefaultPath() {
    const std::string state = platform::UserStateFolder();
    const std::string sep = platform::IsSeparator('\\') ? "\\" : "/";  // as the system spells paths
    return state.empty() ? state : state + sep + "varno" + sep + "recovery" + sep;
}

void RecoveryFolder::Create() const {
    if (dir_.empty()) throw ScnError("Cannot create the recovery folder: no home folder");
    // Each missing folder on the way is the user's alone, as the state
    // folder should be.
    for (std::size_t at = 1; at < dir_.size(); ++at) {
        if (!platform::IsSeparator(dir_[at]) || platform::IsSeparator(dir_[at - 1])) continue;
        const std::string part = dir_.substr(0, at);
        const std::error_code err = platform::MakeFolder(part);
        // "C:" and a server's share are no folders to make.
        if (err && err != std::errc::file_exists && !IsFolder(part + '/'))
            throw ScnError("Cannot create " + dir_ + ": " + err.message());
    }
    platform::FileInfo info;
    if (const std::error_code err = platform::InfoOf(dir_, info))
        throw ScnError("Cannot create " + dir_ + ": " + err.message());
    if (info.Kind == platform::FileKind::Missing) throw ScnError("Cannot create " + dir_ + ": " + MissingText());
    if (info.Kind != platform::FileKind::Directory || info.Owner != platform::UserId())
        throw ScnError(dir_ + " is not a folder of yours");
    if ((info.Mode & 07777) != 0700)
        if (const std::error_code err = platform::SetMode(dir_, 0700))
            throw ScnError("Cannot create " + dir_ + ": " + err.message());
}

RecoveryEntry RecoveryFolder::Judge(const std::string& id, bool mine) const {
    RecoveryEntry entry;
    entry.Id = id;
    entry.Name = id + kNoteSuffix;
    entry.State = RecoveryState::Damaged;
    std::string why;
    const std::string text = ReadSmall(dir_ + entry.Name, kNoteLimit, why);
    if (!why.empty()) {
        entry.Reason = why == MissingText() ? kNoSuchCopy : "its description cannot be read: " + why;
        return entry;
    }
    if (std::string bad = ParseNote(text, entry.Note); !bad.empty()) {
        entry.Reason = "its description is damaged: " + bad;
        return entry;
    }
    const NameParts copy = ParseName(entry.Note.CopyName);
    if (copy.Kind != FileKind::Copy || copy.Temporary || copy.Id != id) {
        entry.Reason = "its description names no copy of its own";
        return entry;
    }
    // A running program replaces its copy at any moment: its files are
    // checked only once it is gone.
    if (!mine && RecoveryClaim::Held(dir_, id, &entry.Owner)) {
        entry.State = RecoveryState::InUse;
        return entry;
    }
    try {
        ReadCopy(entry);
    } catch (const ScnError& e) {
        entry.Reason = e.message();
        return entry;
    }
    entry.State =
        ChangedSince(entry.Note.Base, entry.Note.ScenarioPath) ? RecoveryState::Changed : RecoveryState::Recoverable;
    return entry;
}

std::vector<RecoveryEntry> RecoveryFolder::List() const {
    std::vector<RecoveryEntry> copies, others;
    if (dir_.empty()) return copies;
    for (const std::string& name : Names(dir_)) {
        if (name == kDiscarded && IsFolder(dir_ + name)) continue;
        const NameParts parts = ParseName(name);
        if (parts.Kind == FileKind::None) {
            RecoveryEntry foreign;
            foreign.Name = name;
            foreign.Reason = "not a file of Varno's recovery copies";
            others.push_back(std::move(foreign));
        } else if (parts.Kind == FileKind::Note && !parts.Temporary) {
            RecoveryEntry entry = Judge(parts.Id, false);
            (entry.State == RecoveryState::Damaged ? others : copies).push_back(std::move(entry));
        }
    }
    std::stable_sort(copies.begin(), copies.end(),
                     [](const RecoveryEntry& a, const RecoveryEntry& b) { return a.Note.Time > b.Note.Time; });
    std::stable_sort(others.begin(), others.end(),
                     [](const RecoveryEntry& a, const RecoveryEntry& b) { return a.Name < b.Name; });
    copies.insert(copies.end(), std::make_move_iterator(others.begin()), std::make_move_iterator(others.end()));
    return copies;
}

RecoveryEntry RecoveryFolder::Find(const std::string& id, const RecoveryClaim* mine) const {
    return Judge(id, mine && mine->Holds() && mine->Id() == id);
}

std::string RecoveryFolder::ReadCopy(const RecoveryEntry& entry) const {
    const std::string path = dir_ + entry.Note.CopyName;
    std::string why;
    std::string bytes = ReadSmall(path, kTextFileLimit, why);
    if (!why.empty()) throw ScnError("Cannot read " + path + ": " + why);
    if (bytes.size() != entry.Note.CopySize || HashOfBytes(bytes) != entry.Note.CopyHash)
        throw ScnError(path + " does not match its description");
    return bytes;
}

std::uint64_t RecoveryFolder::CopyNumber(const RecoveryEntry& entry) const {
    const NameParts parts = ParseName(entry.Note.CopyName);
    return parts.Kind == FileKind::Copy ? parts.Number : 0;
}

std::vector<std::string> RecoveryFolder::FilesOf(const std::string& id) const {
    std::vector<std::string> files;
    std::string note;
    for (const std::string& name : Names(dir_)) {
        const NameParts parts = ParseName(name);
        if (parts.Id != id || parts.Kind == FileKind::Lock) continue;
        if (parts.Kind == FileKind::Note && !parts.Temporary)
            note = name;
        else
            files.push_back(name);
    }
    if (!note.empty()) files.push_back(note);
    return files;
}

void RecoveryFolder::WriteCopy(const RecoveryClaim& claim, std::uint64_t n, std::string_view text,
                               RecoveryNote& note) const {
    const std::string name = RecoveryCopyName(claim.Id(), n);
    WriteWhole(dir_, name, text);
    note.CopyName = name;
    note.CopySize = text.size();
    note.CopyHash = HashOfBytes(text);
    // The copy's name is on the disk before the description that names it.
    SyncRecoveryFolder(dir_);
    WriteWhole(dir_, claim.Id() + kNoteSuffix, NoteText(note));
    SyncRecoveryFolder(dir_);
    for (const std::string& old : FilesOf(claim.Id())) {
        const NameParts parts = ParseName(old);
        if (parts.Temporary || (parts.Kind == FileKind::Copy && parts.Number != n)) RemoveFile(dir_ + old);
    }
}

void RecoveryFolder::Remove(RecoveryClaim& claim) const {
    if (!claim.Holds()) return;
    std::vector<std::string> files = FilesOf(claim.Id());
    // The description first: from then on the copy is gone for every list.
    std::reverse(files.begin(), files.end());
    for (const std::string& name : files) {
        std::error_code err;
        fs::remove(FsPath(dir_ + name), err);
        if (err) throw ScnError("Cannot remove " + dir_ + name + ": " + err.message());
    }
    claim.RemoveLockFile();
}

void RecoveryFolder::Discard(RecoveryClaim& claim) const {
    if (!claim.Holds()) return;
    const std::string bin = dir_ + kDiscarded + "/";
    const std::string to = bin + claim.Id() + "/";
    for (const std::string& folder : {bin, to}) {
        if (const std::error_code err = platform::MakeFolder(folder); err && err != std::errc::file_exists)
            throw ScnError("Cannot create " + folder + ": " + err.message());
        if (!IsFolder(folder)) throw ScnError(folder + " is not a folder");
    }
    std::vector<std::string> files = FilesOf(claim.Id());
    std::reverse(files.begin(), files.end());
    for (const std::string& name : files) {
        const std::string from = dir_ + name;
        std::error_code err;
        if (ParseName(name).Temporary)
            fs::remove(FsPath(from), err);
        else
            err = platform::RenameOver(from, to + name);
        if (err) throw ScnError("Cannot move " + from + " to " + to + ": " + err.message());
    }
    // The week counts from the discard.
    std::error_code ignored;
    fs::last_write_time(FsPath(to), fs::file_time_type::clock::now(), ignored);
    claim.RemoveLockFile();
}

void RecoveryFolder::Tidy(std::int64_t now) const {
    if (dir_.empty()) return;
    const std::string bin = dir_ + kDiscarded + "/";
    if (IsFolder(bin)) {
        for (const std::string& name : Names(bin)) {
            platform::FileInfo info;
            if (!IsRecoveryId(name) || platform::InfoOf(bin + name, info, false) ||
                info.Kind != platform::FileKind::Directory)
                continue;
            if (info.ModifiedSeconds > now - kDiscardedDays * 24 * 3600) continue;
            const std::string folder = bin + name + "/";
            for (const std::string& file : Names(folder))
                if (ParseName(file).Id == name) RemoveFile(folder + file);
            RemoveFile(folder);  // stays when something not ours is in it
        }
    }
    // Copies without a description: removed ones, or a first write cut
    // short. Their program is gone when their lock can be taken.
    std::vector<std::string> described, ids;
    for (const std::string& name : Names(dir_)) {
        const NameParts parts = ParseName(name);
        if (parts.Kind == FileKind::None) continue;
        if (parts.Kind == FileKind::Note && !parts.Temporary) described.push_back(parts.Id);
        ids.push_back(parts.Id);
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    for (const std::string& id : ids) {
        if (std::find(described.begin(), described.end(), id) != described.end()) continue;
        std::optional<RecoveryClaim> claim = RecoveryClaim::Take(dir_, id);
        if (!claim) continue;
        for (const std::string& name : FilesOf(id)) RemoveFile(dir_ + name);
        claim->RemoveLockFile();
    }
}

}  // namespace varno
