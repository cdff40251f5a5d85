// The scenario writer: the game's layout, built in memory, written to a
// temporary file beside the scenario, then put in its place after a numbered
// backup of the old file.
#include "scenario/scnwriter.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <system_error>
#include <vector>

#include "scenario/atomicsave.h"
#include "scenario/filenames.h"
#include "scenario/platform/platform.h"
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
        out_.append(buf, static_cast<std::size_t>(r.ptr - buf));
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
    const std::vector<std::string>& misc = scn.ScnMisc();
    if (!scn.ReleaseList().empty()) return Begins(misc.front(), '4');
    std::size_t k = 0;
    while (k < misc.size() && Begins(misc[k], '3')) ++k;  // section 3 reads back as itself
    if (k < misc.size() && Begins(misc[k], '4')) return true;
    if (k > 0) return false;
    if (Begins(misc.front(), '2')) return true;
    return scn.ReinfList().empty() ? Begins(misc.front(), '1') : Begins(misc.front(), ' ');
}

// A progress text and where in the file's text its section begins.
struct SectionMark {
    std::size_t Offset;
    std::string_view Status;
};

// The file's text, and the progress texts at the places where they are shown
// while it is written.
std::string BuildText(const Scenario& scn, const WriteOptions& opts, std::vector<SectionMark>& marks) {
    std::string out;
    auto show = [&](std::string_view text) { marks.push_back({out.size(), text}); };
    out.reserve(64 * (scn.SetupList().size() + scn.ReleaseList().size() + scn.CommandList().size() + 16) +
                320 * scn.ReinfList().size() + 256 * (scn.ScnMisc().size() + scn.ScnTrailer().size() + 9));
    Text t(out);

    // The reader takes the first nine lines as the header whatever they hold,
    // so a scenario begun without a file still gets nine.
    for (const std::string& h : scn.ScnHeader()) t.line(h);
    for (std::size_t i = scn.ScnHeader().size(); i < 9; ++i) t.eol();

    if (opts.SortByCol) {
        show("Sorting cols");
        // Column by column, each column in list order; the list keeps its order.
        std::array<std::size_t, 257> start{};
        for (const TSetupRec* s : scn.SetupList()) ++start[s->Col + 1];
        for (std::size_t c = 1; c < start.size(); ++c) start[c] += start[c - 1];
        std::vector<const TSetupRec*> sorted(scn.SetupList().size());
        for (const TSetupRec* s : scn.SetupList()) sorted[start[s->Col]++] = s;
        if (sorted.size() != scn.SetupList().size()) throw ScnError("Error sorting setup list");
        show("saving setups");
        for (const TSetupRec* s : sorted) AppendSetupLine(out, *s);
    } else {
        for (const TSetupRec* s : scn.SetupList()) AppendSetupLine(out, *s);
    }

    show("saving reinforcements");
    for (const TReinfGroup* g : scn.ReinfList()) AppendGroupLines(out, *g);
    for (const TReleaseRec* r : scn.ReleaseList()) AppendReleaseLine(out, *r, !opts.V103);

    if (!scn.ScnMisc().empty()) {
        show("saving miscellaneous");
        if (MiscNeedsSeparator(scn)) t.eol();
        for (const std::string& m : scn.ScnMisc()) t.line(m);
    }

    if (!scn.CommandList().empty()) {
        show("saving commands");
        std::array<std::vector<const TCommandRec*>, 9> byGroup;
        for (const TCommandRec* c : scn.CommandList())
            if (c->Group >= 1 && c->Group <= 8) byGroup[c->Group].push_back(c);
        int groups = 0;
        for (int g = 1; g <= 8; ++g) groups += !byGroup[g].empty();
        t.line("0");
        t.num(groups).line(" 0");
        for (int g = 1; g <= 8; ++g) {
            if (byGroup[g].empty()) continue;
            t.num(static_cast<std::int64_t>(byGroup[g].size())).eol();
            for (const TCommandRec* c : byGroup[g]) AppendCommandLine(out, *c);
        }
    } else if (!scn.ScnTrailer().empty()) {
        // Without a command section the next read would take the trailer for
        // miscellaneous lines (or a bad command section): an empty one keeps
        // it in its place.
        t.line("0");
        t.line("0 0");
    }

    show("saving trailer");
    for (const std::string& l : scn.ScnTrailer()) t.line(l);
    return out;
}

// The command groups' sizes, as the text gives them.
void CountCommandGroups(Scenario& scn) {
    if (scn.CommandList().empty()) return;
    for (int g = 1; g <= 8; ++g) scn.CmdGroupCounts[g] = 0;
    for (const TCommandRec* c : scn.CommandList())
        if (c->Group >= 1 && c->Group <= 8) ++scn.CmdGroupCounts[c->Group];
}

}  // namespace

std::string ScenarioText(Scenario& scn, const WriteOptions& opts, const StatusFn& status) {
    std::vector<SectionMark> marks;
    std::string text = BuildText(scn, opts, marks);
    CountCommandGroups(scn);
    if (status)
        for (const SectionMark& m : marks) status(m.Status);
    return text;
}

std::string ScenarioTextOf(const Scenario& scn, const WriteOptions& opts) {
    std::vector<SectionMark> marks;
    return BuildText(scn, opts, marks);
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
    CountCommandGroups(scn);
    const auto cannotWrite = [&scnPath](const std::string& why) {
        return ScnError("Cannot write " + scnPath + ": " + why);
    };

    // A link is saved through: the target is replaced, the link stays. Never
    // over the game's own files, by their name or through a link. Where names
    // ignore case the file keeps the spelling it has.
    RefuseGameFile(scnPath);
    std::string target = ResolveLinks(scnPath);
    RefuseGameFile(target);
    const std::string dir = DirPart(target);
    if (platform::NamesIgnoreCase()) target = FindFileNoCase(dir, target.substr(dir.size()));
    const std::string base = target.substr(dir.size());
    SaveTarget old;
    if (const std::error_code err = LookAt(target, old)) throw cannotWrite(err.message());  // a circle of links, say
    if (old.Exists && !old.Regular) throw ScnError(scnPath + " is not a regular file");
    if (old.Exists && !old.MayReplace) throw cannotWrite(std::make_error_code(std::errc::permission_denied).message());

    // The new text goes to a temporary file first: until it is complete and
    // on the disk the scenario's name keeps the old bytes. Each progress text
    // is shown as its section is written.
    TempFile temp(dir, base, scnPath);
    temp.Mode(old.Exists ? old.Mode : platform::NewFileMode());
    const std::string_view all(text);
    std::size_t written = 0;
    for (const SectionMark& m : marks) {
        temp.Write(all.substr(written, m.Offset - written));
        written = m.Offset;
        if (status) status(m.Status);
    }
    temp.Write(all.substr(written));
    temp.Finish();

    // From the backup to the rename one saver at a time.
    if (const int err = InjectedFault(SaveStep::Lock)) temp.Fail({err, std::generic_category()});
    SaveLock lock(dir, scnPath, opts.LockWaitMs);
    if (!opts.Force && ChangedSince(scn.ReadStamp, scnPath)) throw cannotWrite(kChangedSinceRead);
    RemoveStrayTemps(dir, base);

    // The old file becomes the first free number, or number 9 (in whatever
    // case it is spelled) once all nine are taken. Until the save is done
    // every step of it is undone on failure: the backups stay as they were.
    std::optional<Backup> backup;
    if (const std::string name = BackupName(target); !name.empty()) {
        const std::string bdir = DirPart(name);
        const std::string taken = FindFileNoCase(bdir, name.substr(bdir.size()));
        backup.emplace(target, name, FileExists(taken) ? taken : std::string(), scnPath);
        backup->Make();
        backup->Name();
    }
    temp.RenameOver(target);
    if (const std::error_code err = SyncFolder(dir)) {
        // Not known to be on the disk: the folder goes back as it was.
        if (!backup)
            RemoveFile(target);
        else
            backup->PutBack();
        throw cannotWrite(err.message());
    }
    if (backup) backup->Keep();
    scn.ReadStamp = StampOf(scnPath, text);
    if (status) status("Done");
    scn.Modified = false;
}

}  // namespace varno
