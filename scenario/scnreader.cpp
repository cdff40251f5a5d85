// The scenario reader: turns a *.SCN file into the four scenario lists and the
// verbatim line lists, against the order of battle read just before.
#include "scenario/scnreader.h"

#include <cstdint>
#include <string>
#include <string_view>

#include "scenario/filenames.h"
#include "scenario/inputfile.h"
#include "scenario/linereader.h"
#include "scenario/messagetext.h"
#include "scenario/recordlines.h"
#include "scenario/scanstr.h"
#include "scenario/scenariobuilder.h"
#include "scenario/scnerror.h"

namespace varno {

namespace {

// The line being judged. Past the end of the file there is none, and a line
// that does not exist (like an empty one) begins with nothing.
struct Cursor {
    LineReader& in;
    std::string_view line;
    bool has = false;

    void advance() {
        if (in.atEnd()) {
            has = false;
            line = {};
        } else {
            line = in.next();
            has = true;
        }
    }
    bool startsWith(char c) const { return has && !line.empty() && line.front() == c; }
};

// A message quoting a line of the file, cut to its first 255 characters.
std::string Msg(const char* what, std::string_view line) { return std::string(what) + QuoteLine(line); }

// Section 1: one placement.
void ReadSetup(Scenario& scn, std::string_view line, ReadListener& listener) {
    const SetupLineValues read = ReadSetupLine(line);
    const TOobRec* unit = scn.FindDotName(read.Key);
    if (!unit) throw ScnError(Msg("Not found: \r", line));

    TSetupRec* rec = &ScenarioBuilder(scn).NewSetup();
    rec->Unit = unit;
    ScenarioBuilder::Edit(unit).Setup = rec;
    listener.lineAdded(ScnListBox::SetUnits, unit->Display);

    if (!read.Numbers) throw ScnError(Msg("Bad data in ", line));
    *rec = read.Values;
    rec->Unit = unit;
    listener.drawUnit(rec, rec->Col, rec->Row);
}

// Section 2: one group line and its unit lines. Leaves the cursor on the
// first line after the group.
void ReadGroup(Scenario& scn, Cursor& cur, ReadListener& listener) {
    const std::string_view line = cur.line;
    ScenarioBuilder build(scn);
    TReinfGroup* g = &build.NewReinfGroup();
    // A group without a unit has no list box line, so it must not stay in the list.
    auto drop = [&] {
        if (!build.ReinfList().empty() && build.ReinfList().back() == g) build.ReinfList().pop_back();
    };

    const GroupLineValues read = ReadGroupLine(line);
    if (!read.Numbers) {
        drop();
        throw ScnError(Msg("Bad data in ", line));
    }
    const std::int32_t count = read.UnitCount;
    if (count < 1 || count > 10) {
        drop();
        throw ScnError(Msg("Bad count in ", line));
    }
    *g = read.Values;

    cur.advance();
    while (g->Count < count && cur.startsWith(' ')) {
        const TOobRec* unit = scn.FindDotName(ReadGroupUnitLine(cur.line));
        if (!unit) {
            if (g->Count == 0) drop();
            throw ScnError(Msg("Unit not found ", cur.line));
        }
        g->Units[g->Count++] = unit;
        if (g->Count == 1) {
            g->Line = ReinfDisplay(*unit, count);
            listener.lineAdded(ScnListBox::Reinfor, g->Line);
        }
        cur.advance();
    }
    if (g->Count == 0) drop();
    if (cur.startsWith(' ')) throw ScnError(Msg("Extra unit ", cur.line));
}

// Section 4: one release. A dot name that names no entry skips the line.
void ReadRelease(Scenario& scn, std::string_view line, ReadListener& listener) {
    const ReleaseLineValues read = ReadReleaseLine(line);
    // The file's form counts every release line, also one that is skipped below.
    if (read.HasChance) scn.ReleaseChanceInFile = true;
    const TOobRec* unit = scn.FindDotName(read.Key);
    if (!unit) {
        ++scn.SkippedReleaseLines;
        return;
    }

    TReleaseRec* r = &ScenarioBuilder(scn).NewRelease();
    r->Unit = unit;
    listener.lineAdded(ScnListBox::Releases, r->Unit->Display);

    r->Month = read.Values.Month;
    r->Day = read.Values.Day;
    r->Hour = read.Values.Hour;
    r->Minute = read.Values.Minute;
    if (read.Fields < 5) throw ScnError(Msg("Bad data in ", line));
    r->Year = read.Values.Year;
    r->Chance = read.Values.Chance;
}

// One command line of group `group`. A dot name that names no entry skips it.
void ReadCommand(Scenario& scn, std::string_view line, std::uint8_t group, ReadListener& listener) {
    const CommandLineValues read = ReadCommandLine(line);
    const TOobRec* unit = scn.FindDotName(read.Key);
    if (!unit) {
        ++scn.SkippedCommandLines;
        return;
    }

    TCommandRec* c = &ScenarioBuilder(scn).NewCommand();
    *c = read.Values;
    c->Group = group;
    c->Unit = unit;
    listener.lineAdded(ScnListBox::Commands, c->Unit->Display);
    if (!read.Numbers) {
        c->Year = 0;  // the numbers read so far stay, as the line gave them
        throw ScnError(Msg("Bad data in ", line));
    }
}

}  // namespace

void ResetScenario(Scenario& scn, ReadListener& listener) {
    ScenarioBuilder build(scn);
    build.SetupList().clear();
    build.SetupList().reserve(100);
    listener.listCleared(ScnListBox::SetUnits);
    build.ScnHeader().clear();
    build.ScnMisc().clear();
    build.ScnTrailer().clear();
    build.ReleaseList().clear();
    build.ReleaseList().reserve(100);
    listener.listCleared(ScnListBox::Releases);
    build.CommandList().clear();
    build.CommandList().reserve(100);
    listener.listCleared(ScnListBox::Commands);
    build.ReinfList().clear();
    listener.listCleared(ScnListBox::Reinfor);
    listener.listCleared(ScnListBox::ReinUnits);
    scn.CmdGroupCounts.fill(0);
    scn.ReleaseChanceInFile = false;
    scn.SkippedReleaseLines = 0;
    scn.SkippedCommandLines = 0;
}

ScenarioFile LoadScenarioFile(const std::string& scnPath) {
    ScenarioFile file;
    file.Path = scnPath;
    // No file yet: a new scenario starts empty. Anything else at the path
    // (a folder, a circle of links) is refused as the read refuses it.
    if (NoFileAt(scnPath)) {
        file.Stamp = StampOf(scnPath);
        return file;
    }
    file.Exists = true;
    file.Text = ReadTextFile(scnPath);
    if (const std::string why = NotTextReason(file.Text); !why.empty())
        throw ScnError(scnPath + " is not a scenario file: " + why);
    file.Stamp = StampOf(scnPath, file.Text);
    return file;
}

void ReadScenario(Scenario& scn, const ScenarioFile& file, ReadListener& listener) {
    scn.ReadIncomplete = true;
    ResetScenario(scn, listener);
    scn.ReadStamp = file.Stamp;
    if (!file.Exists) {
        scn.ReadIncomplete = false;
        return;
    }
    // The lines are views of the loaded text; the lists copy what they keep.
    LineReader in = LineReader::overText(file.Text);
    ReadScenarioText(scn, in, listener);
}

void ReadScenario(Scenario& scn, const std::string& scnPath, ReadListener& listener) {
    ReadScenario(scn, LoadScenarioFile(scnPath), listener);
}

void ReadScenarioText(Scenario& scn, LineReader& in, ReadListener& listener) {
    ScenarioBuilder build(scn);
    Cursor cur{in, {}, false};
    scn.ReadIncomplete = true;  // until the last line is in

    // Header: nine lines whatever they hold; missing ones are empty.
    for (int i = 0; i < 9; ++i) build.ScnHeader().emplace_back(in.atEnd() ? std::string_view{} : in.next());

    // Section 1: placements.
    while (true) {
        cur.advance();
        if (!cur.startsWith('1')) break;
        ReadSetup(scn, cur.line, listener);
    }

    // Section 2: reinforcement groups.
    while (cur.startsWith('2')) ReadGroup(scn, cur, listener);

    // Section 3: kept as it is, at the head of the miscellaneous lines.
    while (cur.startsWith('3')) {
        build.ScnMisc().emplace_back(cur.line);
        cur.advance();
    }

    // Section 4: releases.
    while (cur.startsWith('4')) {
        ReadRelease(scn, cur.line, listener);
        cur.advance();
    }

    // Everything up to the command marker is kept as it is.
    bool marker = cur.startsWith('0');
    if (cur.has && !marker) {
        build.ScnMisc().emplace_back(cur.line);
        while (!in.atEnd()) {
            const std::string_view line = in.next();
            if (!line.empty() && line.front() == '0') {
                marker = true;
                break;
            }
            build.ScnMisc().emplace_back(line);
        }
    }

    if (marker && !in.atEnd()) {
        const std::string_view first = in.next();
        std::int32_t groups = 0, ignored = 0;
        void* dest[2] = {&groups, &ignored};
        if (ScanStr(CutShort(first), "%d %d", dest, 2) < 2) throw ScnError(Msg("Bad data in ", first));
        // Only groups 1 to 8 can be held, shown and written back.
        if (groups > 8) throw ScnError(Msg("Bad data in ", first));
        scn.CmdGroupCounts[0] = groups;
        for (int k = 1; k <= groups; ++k) {
            const std::string_view countLine = in.next();  // empty past the end
            void* countDest[1] = {&scn.CmdGroupCounts[k]};
            if (ScanStr(CutShort(countLine), "%d", countDest, 1) < 1) throw ScnError(Msg("Bad data in ", countLine));
            // Past the end every further command line would be empty and name
            // no unit, so stopping there reads the same.
            for (std::int32_t j = 0; j < scn.CmdGroupCounts[k] && !in.atEnd(); ++j)
                ReadCommand(scn, in.next(), static_cast<std::uint8_t>(k), listener);
        }
    }

    // Trailer: the rest of the file.
    while (!in.atEnd()) build.ScnTrailer().emplace_back(in.next());
    scn.ReadIncomplete = false;
}

}  // namespace varno
