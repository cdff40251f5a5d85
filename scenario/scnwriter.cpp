// The scenario writer: the game's layout, built in memory, written to a
// temporary file beside the scenario, then put in its place after a numbered
// backup of the old file.
#include "scenario/scnwriter.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "scenario/atomicsave.h"
#include "scenario/filenames.h"
#include "scenario/recordlines.h"
#include "scenario/savelock.h"
#include "scenario/scnerror.h"

namespace varno {

namespace {

// Appends numbers and lines to the file's text (the records' lines: recordlines.h).
class Text {
public:
    explicit Text(std::string& out) : out_(out) {}
    Text& num(std::int64_t v) {
        char buf[24];
        const auto r = std::to_chars(buf, buf + sizeof buf, v);
        out_.append(buf, r.ptr);
        return *this;
    }
    void eol() { out_.append("\r\n", 2); }
    void line(std::string_view s) {
        out_.append(s);
        eol();
    }

private:
    std::string& out_;
};

std::string CannotMsg(const char* what, const std::string& path, int err) {
    return std::string(what) + path + ": " + std::strerror(err);
}

// The new text in a temporary file beside the scenario's: removed unless it
// was renamed over the scenario's name.
class TempFile {
public:
    TempFile(const std::string& dir, const std::string& base, const std::string& shown) : shown_(shown) {
        path_ = dir + "." + base + ".XXXXXX";
        if (const int err = InjectedFault(SaveStep::CreateTemp)) fail(err);
        fd_ = ::mkostemp(path_.data(), O_CLOEXEC);
        if (fd_ < 0) {
            path_.clear();
            fail(errno);
        }
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    const std::string& path() const { return path_; }
    void mode(mode_t bits) {
        if (::fchmod(fd_, bits) != 0) fail(errno);
    }
    void write(std::string_view text) {
        if (const int err = InjectedFault(SaveStep::WriteTemp)) fail(err);
        while (!text.empty()) {
            const ssize_t n = ::write(fd_, text.data(), text.size());
            if (n < 0) {
                if (errno == EINTR) continue;
                fail(errno);
            }
            text.remove_prefix(static_cast<std::size_t>(n));
        }
    }
    // Flushed to the disk and closed: only then may it take the scenario's name.
    void finish() {
        if (const int err = InjectedFault(SaveStep::SyncTemp)) fail(err);
        if (::fsync(fd_) != 0) fail(errno);
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) fail(errno);
    }
    // The file now has the scenario's name: nothing to remove.
    void renamed() { path_.clear(); }
    [[noreturn]] void fail(int err) const { throw ScnError(CannotMsg("Cannot write ", shown_, err)); }

private:
    std::string shown_;
    std::string path_;
    int fd_ = -1;
};

// A synced copy of `from` at `to` (a temporary name), for file systems
// without hard links. False with errno set on failure.
bool CopySynced(const std::string& from, const std::string& to) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (out < 0) {
        const int err = errno;
        ::close(in);
        errno = err;
        return false;
    }
    char buf[65536];
    bool ok = true;
    while (ok) {
        const ssize_t n = ::read(in, buf, sizeof buf);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        for (ssize_t done = 0; ok && done < n;) {
            const ssize_t w = ::write(out, buf + done, static_cast<std::size_t>(n - done));
            if (w < 0 && errno != EINTR) ok = false;
            if (w > 0) done += w;
        }
    }
    if (ok && ::fsync(out) != 0) ok = false;
    const int err = errno;
    ::close(in);
    if (::close(out) != 0) ok = false;
    if (!ok) {
        ::unlink(to.c_str());
        errno = err;
    }
    return ok;
}

// The backup holds the old file's bytes under `backup`: a hard link to the
// old file where the file system has them, else a synced copy. Made under a
// temporary name and renamed, so that a backup name in use (number 9) is
// replaced in one step. False with errno set on failure.
bool MakeBackup(const std::string& old, const std::string& backup) {
    if (const int err = InjectedFault(SaveStep::Backup)) {
        errno = err;
        return false;
    }
    std::string temp = DirPart(backup) + ".OLDSCN.XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(temp.c_str());
    if (::link(old.c_str(), temp.c_str()) != 0) {
        const int err = errno;
        if (err != EPERM && err != EOPNOTSUPP && err != EXDEV && err != EMLINK && err != ENOSYS) return false;
        if (!CopySynced(old, temp)) return false;
    }
    if (std::rename(temp.c_str(), backup.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        errno = err;
        return false;
    }
    return true;
}

void SyncFolder(const std::string& dir, const std::string& shown) {
    int err = InjectedFault(SaveStep::SyncFolder);
    if (err == 0) {
        const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            err = errno;
        } else {
            if (::fsync(fd) != 0 && errno != EINVAL) err = errno;
            ::close(fd);
        }
    }
    if (err != 0) throw ScnError(CannotMsg("Cannot write ", shown, err));
}

std::string BackupBase(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "OLDSCN%d.TXT", n);
    return buf;
}

bool Begins(const std::string& line, char c) { return !line.empty() && line.front() == c; }

// True when the first miscellaneous lines, written right after the sections
// before them, would be read back as one more placement, group, unit or
// release: the lines that stood between them in the file read (a release of
// an unknown unit, a release removed since) are gone. An empty line before
// them ends the sections, so the file reads back with every line in its place.
bool MiscNeedsSeparator(const Scenario& scn) {
    const std::vector<std::string>& misc = scn.ScnMisc;
    if (!scn.ReleaseList.empty()) return Begins(misc.front(), '4');
    std::size_t k = 0;
    while (k < misc.size() && Begins(misc[k], '3')) ++k;  // section 3 reads back as itself
    if (k < misc.size() && Begins(misc[k], '4')) return true;
    if (k > 0) return false;
    if (Begins(misc.front(), '2')) return true;
    return scn.ReinfList.empty() ? Begins(misc.front(), '1') : Begins(misc.front(), ' ');
}

// A progress text and where in the file's text its section begins.
struct SectionMark {
    std::size_t Offset;
    std::string_view Status;
};

// The file's text, and the progress texts at the places where they are shown
// while it is written.
std::string BuildText(Scenario& scn, const WriteOptions& opts, std::vector<SectionMark>& marks) {
    std::string out;
    auto show = [&](std::string_view text) { marks.push_back({out.size(), text}); };
    out.reserve(64 * (scn.SetupList.size() + scn.ReleaseList.size() + scn.CommandList.size() + 16) +
                320 * scn.ReinfList.size() + 256 * (scn.ScnMisc.size() + scn.ScnTrailer.size() + 9));
    Text t(out);

    // The reader takes the first nine lines as the header whatever they hold,
    // so a scenario begun without a file still gets nine.
    for (const std::string& h : scn.ScnHeader) t.line(h);
    for (std::size_t i = scn.ScnHeader.size(); i < 9; ++i) t.eol();

    if (opts.SortByCol) {
        show("Sorting cols");
        // Column by column, each column in list order; the list keeps its order.
        std::array<std::size_t, 257> start{};
        for (const TSetupRec* s : scn.SetupList) ++start[s->Col + 1];
        for (std::size_t c = 1; c < start.size(); ++c) start[c] += start[c - 1];
        std::vector<const TSetupRec*> sorted(scn.SetupList.size());
        for (const TSetupRec* s : scn.SetupList) sorted[start[s->Col]++] = s;
        if (sorted.size() != scn.SetupList.size()) throw ScnError("Error sorting setup list");
        show("saving setups");
        for (const TSetupRec* s : sorted) AppendSetupLine(out, *s);
    } else {
        for (const TSetupRec* s : scn.SetupList) AppendSetupLine(out, *s);
    }

    show("saving reinforcements");
    for (const TReinfGroup* g : scn.ReinfList) AppendGroupLines(out, *g);
    for (const TReleaseRec* r : scn.ReleaseList) AppendReleaseLine(out, *r, !opts.V103);

    if (!scn.ScnMisc.empty()) {
        show("saving miscellaneous");
        if (MiscNeedsSeparator(scn)) t.eol();
        for (const std::string& m : scn.ScnMisc) t.line(m);
    }

    if (!scn.CommandList.empty()) {
        show("saving commands");
        std::array<std::vector<const TCommandRec*>, 9> byGroup;
        for (int g = 1; g <= 8; ++g) scn.CmdGroupCounts[g] = 0;
        for (const TCommandRec* c : scn.CommandList) {
            if (c->Group >= 1 && c->Group <= 8) {
                ++scn.CmdGroupCounts[c->Group];
                byGroup[c->Group].push_back(c);
            }
        }
        int groups = 0;
        for (int g = 1; g <= 8; ++g) groups += scn.CmdGroupCounts[g] > 0;
        t.line("0");
        t.num(groups).line(" 0");
        for (int g = 1; g <= 8; ++g) {
            if (byGroup[g].empty()) continue;
            t.num(static_cast<std::int64_t>(byGroup[g].size())).eol();
            for (const TCommandRec* c : byGroup[g]) AppendCommandLine(out, *c);
        }
    } else if (!scn.ScnTrailer.empty()) {
        // Without a command section the next read would take the trailer for
        // miscellaneous lines (or a bad command section): an empty one keeps
        // it in its place.
        t.line("0");
        t.line("0 0");
    }

    show("saving trailer");
    for (const std::string& l : scn.ScnTrailer) t.line(l);
    return out;
}

}  // namespace

std::string ScenarioText(Scenario& scn, const WriteOptions& opts, const StatusFn& status) {
    std::vector<SectionMark> marks;
    std::string text = BuildText(scn, opts, marks);
    if (status)
        for (const SectionMark& m : marks) status(m.Status);
    return text;
}

std::string BackupName(const std::string& scnPath) {
    if (!FileExists(scnPath)) return {};
    const std::string dir = DirPart(scnPath);
    for (int n = 1; n <= 9; ++n) {
        const std::string base = BackupBase(n);
        if (!FileExists(FindFileNoCase(dir, base))) return dir + base;
    }
    return dir + BackupBase(9);
}

void WriteScenario(Scenario& scn, const std::string& scnPath, const WriteOptions& opts, const StatusFn& status) {
    // The whole text is ready before anything on disk changes.
    std::vector<SectionMark> marks;
    const std::string text = BuildText(scn, opts, marks);

    // A link is saved through: the target is replaced, the link stays.
    const std::string target = ResolveLinks(scnPath);
    const std::string dir = DirPart(target);
    const std::string base = target.substr(dir.size());
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) throw ScnError(scnPath + " is not a regular file");
    if (exists && !MayReplace(target, old.st_mode, old.st_uid))
        throw ScnError(CannotMsg("Cannot write ", scnPath, EACCES));

    // The new text goes to a temporary file first: until it is complete and
    // on the disk the scenario's name keeps the old bytes. Each progress text
    // is shown as its section is written.
    TempFile temp(dir, base, scnPath);
    if (exists) {
        temp.mode(old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        temp.mode(0666 & ~mask);
    }
    const std::string_view all(text);
    std::size_t written = 0;
    for (const SectionMark& m : marks) {
        temp.write(all.substr(written, m.Offset - written));
        written = m.Offset;
        if (status) status(m.Status);
    }
    temp.write(all.substr(written));
    temp.finish();

    // From the backup to the rename one saver at a time.
    if (const int err = InjectedFault(SaveStep::Lock)) temp.fail(err);
    SaveLock lock(dir, scnPath, opts.LockWaitMs);
    if (!opts.Force && ChangedSince(scn.ReadStamp, scnPath))
        throw ScnError("Cannot write " + scnPath + ": " + kChangedSinceRead);

    const std::string backup = BackupName(target);
    if (!backup.empty()) {
        // The chosen name is taken only when all nine are: number 9 makes room,
        // whatever the case it is spelled in. The backup replaces a file of the
        // same spelling itself; another spelling goes only once the backup
        // is made, so that a failure loses no version.
        const std::string bdir = DirPart(backup);
        const std::string taken = FindFileNoCase(bdir, backup.substr(bdir.size()));
        // Without a backup the save would overwrite the only earlier version.
        if (!MakeBackup(target, backup))
            throw ScnError("Cannot back up " + scnPath + " to " + backup.substr(bdir.size()) + ": " +
                           std::strerror(errno));
        std::error_code ec;
        if (taken != backup && FileExists(taken) && !std::filesystem::equivalent(taken, backup, ec))
            std::remove(taken.c_str());
    }

    if (const int err = InjectedFault(SaveStep::Rename)) temp.fail(err);
    if (std::rename(temp.path().c_str(), target.c_str()) != 0) temp.fail(errno);
    temp.renamed();
    scn.ReadStamp = StampOf(scnPath);
    SyncFolder(dir, scnPath);
    if (status) status("Done");
    scn.Modified = false;
}

}  // namespace varno
