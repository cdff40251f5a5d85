// Writing a scenario and reading it back: for many generated valid scenarios
// the second write gives the same bytes and the records read back are the
// records written (in the order the file holds them).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "scenario/oobreader.h"
#include "scenario/scenariobuilder.h"
#include "scenario/scnerror.h"
#include "scenario/scnreader.h"
#include "scenario/scnwriter.h"
#include "tests/scenario/test_scn_fixture.h"

using namespace varno;

using namespace scntest;

namespace {

using Rng = std::mt19937;

int Uniform(Rng& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
std::uint8_t AnyByte(Rng& rng) { return static_cast<std::uint8_t>(Uniform(rng, 0, 255)); }
bool Chance(Rng& rng, int percent) { return Uniform(rng, 1, 100) <= percent; }

// An order of battle of a few hundred entries up to eight levels deep.
void RandomOob(Scenario& scn, Rng& rng) {
    int index = 0;
    std::vector<std::uint8_t> path;
    auto add = [&](char kind) {
        TOobRec* e = &ScenarioBuilder(scn).NewOobRec();
        e->Kind = kind;
        std::copy(path.begin(), path.end(), e->Levels.begin());
        e->Display = std::string(1, kind) + " entry " + std::to_string(index++);
        ScenarioBuilder(scn).IndexDotName(*e);
    };
    // children of the organisation at `path`
    auto fill = [&](auto&& self, int depth) -> void {
        const int children = Uniform(rng, 1, depth == 0 ? 4 : 8);
        for (int i = 1; i <= children; ++i) {
            path.push_back(static_cast<std::uint8_t>(i));
            if (depth < 7 && Chance(rng, depth < 2 ? 70 : 25)) {
                add("ABCDW"[Uniform(rng, 0, 4)]);
                self(self, depth + 1);
            } else {
                add("LSU"[Uniform(rng, 0, 2)]);
            }
            path.pop_back();
        }
    };
    fill(fill, 0);
}

std::string RandomText(Rng& rng, int maxLen, const std::string& firstFrom = "") {
    const int len = Chance(rng, 5) ? Uniform(rng, 256, 600) : Uniform(rng, 0, maxLen);
    std::string s;
    for (int i = 0; i < len; ++i) {
        char c;
        do c = static_cast<char>(Uniform(rng, 1, 255));
        while (c == '\r' || c == '\n');
        s += c;
    }
    if (!firstFrom.empty()) s.insert(s.begin(), firstFrom[Uniform(rng, 0, static_cast<int>(firstFrom.size()) - 1)]);
    return s;
}

struct Generated {
    WriteOptions opts;
};

// A scenario that the editor could hold: every record names an entry that a
// scenario file can name, groups of 1 to 10, commands in groups 1 to 8, and
// miscellaneous lines as the reader leaves them.
Generated RandomScenario(Scenario& scn, Rng& rng) {
    ReadListener quiet;
    ResetScenario(scn, quiet);
    std::vector<const TOobRec*> named;
    for (const TOobRec* e : scn.OobList())
        if (e->Levels[7] == 0) named.push_back(e);
    auto pick = [&] { return named[Uniform(rng, 0, static_cast<int>(named.size()) - 1)]; };

    Generated g;
    g.opts.SortByCol = Chance(rng, 50);
    g.opts.V103 = Chance(rng, 50);

    const int headerLines = Chance(rng, 10) ? Uniform(rng, 0, 8) : 9;
    for (int i = 0; i < headerLines; ++i) ScenarioBuilder(scn).ScnHeader().push_back(RandomText(rng, 40));

    for (int i = Uniform(rng, 0, 30); i > 0; --i) {
        TSetupRec* s = &ScenarioBuilder(scn).NewSetup();
        s->Unit = pick();
        ScenarioBuilder::Edit(s->Unit).Setup = s;
        s->Strength = AnyByte(rng);
        s->Facing = static_cast<std::uint8_t>(1u << Uniform(rng, 0, 5));
        s->Fatigue = AnyByte(rng);
        s->Flags = static_cast<std::uint32_t>(rng());
        s->Col = Chance(rng, 30) ? static_cast<std::uint8_t>(Uniform(rng, 0, 3)) : AnyByte(rng);
        s->Row = AnyByte(rng);
        s->Aux = AnyByte(rng);
    }
    for (int i = Uniform(rng, 0, 8); i > 0; --i) {
        TReinfGroup* r = &ScenarioBuilder(scn).NewReinfGroup();
        r->Year = AnyByte(rng);
        r->Month = AnyByte(rng);
        r->Day = AnyByte(rng);
        r->Hour = AnyByte(rng);
        r->Minute = AnyByte(rng);
        r->Chance = AnyByte(rng);
        r->Col = AnyByte(rng);
        r->Row = AnyByte(rng);
        r->Facing = AnyByte(rng);
        r->ProtHexes = AnyByte(rng);
        r->Count = static_cast<std::uint8_t>(Uniform(rng, 1, 10));
        for (int u = 0; u < r->Count; ++u) r->Units[u] = pick();
    }
    for (int i = Uniform(rng, 0, 10); i > 0; --i) {
        TReleaseRec* r = &ScenarioBuilder(scn).NewRelease();
        r->Unit = pick();
        r->Year = AnyByte(rng);
        r->Month = AnyByte(rng);
        r->Day = AnyByte(rng);
        r->Hour = AnyByte(rng);
        r->Minute = AnyByte(rng);
        r->Chance = static_cast<std::uint8_t>(Uniform(rng, 1, 100));
    }
    // Section 3 lines first; then, after a line that no section takes, lines
    // of any kind but the command marker.
    for (int i = Uniform(rng, 0, 3); i > 0; --i) ScenarioBuilder(scn).ScnMisc().push_back(RandomText(rng, 30, "3"));
    if (Chance(rng, 50)) {
        ScenarioBuilder(scn).ScnMisc().push_back(Chance(rng, 20) ? std::string() : RandomText(rng, 30, "5689ABMxz;#"));
        for (int i = Uniform(rng, 0, 3); i > 0; --i)
            ScenarioBuilder(scn).ScnMisc().push_back(RandomText(rng, 30, "123456789 \tM"));
    }
    for (int i = Uniform(rng, 0, 20); i > 0; --i) {
        TCommandRec* c = &ScenarioBuilder(scn).NewCommand();
        c->Unit = pick();
        c->Group = static_cast<std::uint8_t>(Uniform(rng, 1, 8));
        c->Year = AnyByte(rng);
        c->Month = AnyByte(rng);
        c->Day = AnyByte(rng);
        c->Hour = AnyByte(rng);
        c->Minute = AnyByte(rng);
        c->Col = AnyByte(rng);
        c->Row = AnyByte(rng);
        c->Command = static_cast<std::uint8_t>(Uniform(rng, 0, 4));
    }
    for (int i = Uniform(rng, 0, 4); i > 0; --i)
        ScenarioBuilder(scn).ScnTrailer().push_back(Chance(rng, 15) ? std::string() : RandomText(rng, 30, "0123 4M"));
    return g;
}

// What the lists hold, by value, with the entries they name.
struct Snapshot {
    std::vector<std::string> header, misc, trailer;
    std::vector<TSetupRec> setups;
    std::vector<TReleaseRec> releases;
    std::vector<TReinfGroup> groups;
    std::vector<TCommandRec> commands;
};

Snapshot Take(const Scenario& scn) {
    Snapshot s{scn.ScnHeader(), scn.ScnMisc(), scn.ScnTrailer(), {}, {}, {}, {}};
    for (const TSetupRec* r : scn.SetupList()) s.setups.push_back(*r);
    for (const TReleaseRec* r : scn.ReleaseList()) s.releases.push_back(*r);
    for (const TReinfGroup* r : scn.ReinfList()) s.groups.push_back(*r);
    for (const TCommandRec* r : scn.CommandList()) s.commands.push_back(*r);
    return s;
}

// What a read of the written file must give back: setups in file order,
// a padded header, releases without their chance when it was not written,
// commands block by block with blocks numbered from 1.
Snapshot Expected(const Snapshot& in, const WriteOptions& opts) {
    Snapshot e = in;
    e.header.resize(std::max<std::size_t>(9, e.header.size()));
    if (opts.SortByCol)
        std::stable_sort(e.setups.begin(), e.setups.end(),
                         [](const TSetupRec& a, const TSetupRec& b) { return a.Col < b.Col; });
    if (opts.V103)
        for (TReleaseRec& r : e.releases) r.Chance = 100;
    e.commands.clear();
    std::uint8_t block = 0;
    for (int g = 1; g <= 8; ++g) {
        bool any = false;
        for (TCommandRec c : in.commands) {
            if (c.Group != g) continue;
            if (!any) ++block;
            any = true;
            c.Group = block;
            e.commands.push_back(c);
        }
    }
    return e;
}

void ExpectSame(const Snapshot& got, const Snapshot& want) {
    EXPECT_EQ(got.header, want.header);
    EXPECT_EQ(got.misc, want.misc);
    EXPECT_EQ(got.trailer, want.trailer);
    ASSERT_EQ(got.setups.size(), want.setups.size());
    for (std::size_t i = 0; i < got.setups.size(); ++i) {
        const TSetupRec &a = got.setups[i], &b = want.setups[i];
        EXPECT_TRUE(a.Unit == b.Unit && a.Strength == b.Strength && a.Facing == b.Facing && a.Fatigue == b.Fatigue &&
                    a.Flags == b.Flags && a.Col == b.Col && a.Row == b.Row && a.Aux == b.Aux)
            << "setup " << i;
    }
    ASSERT_EQ(got.releases.size(), want.releases.size());
    for (std::size_t i = 0; i < got.releases.size(); ++i) {
        const TReleaseRec &a = got.releases[i], &b = want.releases[i];
        EXPECT_TRUE(a.Unit == b.Unit && a.Year == b.Year && a.Month == b.Month && a.Day == b.Day && a.Hour == b.Hour &&
                    a.Minute == b.Minute && a.Chance == b.Chance)
            << "release " << i;
    }
    ASSERT_EQ(got.groups.size(), want.groups.size());
    for (std::size_t i = 0; i < got.groups.size(); ++i) {
        const TReinfGroup &a = got.groups[i], &b = want.groups[i];
        EXPECT_TRUE(a.Year == b.Year && a.Month == b.Month && a.Day == b.Day && a.Hour == b.Hour &&
                    a.Minute == b.Minute && a.Chance == b.Chance && a.Col == b.Col && a.Row == b.Row &&
                    a.Count == b.Count && a.Facing == b.Facing && a.ProtHexes == b.ProtHexes &&
                    std::equal(a.Units.begin(), a.Units.begin() + a.Count, b.Units.begin()))
            << "group " << i;
    }
    ASSERT_EQ(got.commands.size(), want.commands.size());
    for (std::size_t i = 0; i < got.commands.size(); ++i) {
        const TCommandRec &a = got.commands[i], &b = want.commands[i];
        EXPECT_TRUE(a.Unit == b.Unit && a.Group == b.Group && a.Year == b.Year && a.Month == b.Month &&
                    a.Day == b.Day && a.Hour == b.Hour && a.Minute == b.Minute && a.Col == b.Col && a.Row == b.Row &&
                    a.Command == b.Command)
            << "command " << i;
    }
}

TEST(RoundTrip, GeneratedScenariosWriteReadWrite) {
    Rng rng(20261207);
    std::size_t totals[5] = {};
    for (int round = 0; round < 400; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        Scenario scn;
        RandomOob(scn, rng);
        const Generated g = RandomScenario(scn, rng);
        const Snapshot before = Take(scn);

        const std::string first = ScenarioText(scn, g.opts, nullptr);
        RecordingListener listener;
        ASSERT_NO_THROW(ReadText(scn, first, listener));
        const std::string second = ScenarioText(scn, g.opts, nullptr);
        ASSERT_EQ(first, second);

        const Snapshot after = Take(scn);
        ExpectSame(after, Expected(before, g.opts));
        // each placed entry points at its last placement
        for (const TSetupRec* s : scn.SetupList()) {
            const auto last = std::find_if(scn.SetupList().rbegin(), scn.SetupList().rend(),
                                           [&](const TSetupRec* o) { return o->Unit == s->Unit; });
            EXPECT_EQ(s->Unit->Setup, *last);
        }
        EXPECT_EQ(listener.draws.size(), scn.SetupList().size());
        totals[0] += scn.SetupList().size();
        totals[1] += scn.ReinfList().size();
        totals[2] += scn.ReleaseList().size();
        totals[3] += scn.CommandList().size();
        totals[4] += scn.ScnMisc().size() + scn.ScnTrailer().size();
        EXPECT_EQ(listener.of(ScnListBox::Commands).size(), scn.CommandList().size());
        if (::testing::Test::HasFailure()) break;
    }
    // the rounds really wrote every kind of record
    for (std::size_t t : totals) EXPECT_GT(t, 400u);
}

TEST(RoundTrip, ThroughFilesWithBackups) {
    Rng rng(7);
    TempDir dir;
    const std::string path = dir / "ROUND.SCN";
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        Scenario scn;
        RandomOob(scn, rng);
        const Generated g = RandomScenario(scn, rng);
        const Snapshot before = Take(scn);
        scn.Modified = true;
        WriteScenario(scn, path, g.opts, nullptr);
        EXPECT_FALSE(scn.Modified);
        const std::string written = ReadFile(path);
        RecordingListener listener;
        ReadScenario(scn, path, listener);
        ExpectSame(Take(scn), Expected(before, g.opts));
        const std::string backup = BackupName(path);
        WriteScenario(scn, path, g.opts, nullptr);
        EXPECT_EQ(ReadFile(path), written);
        // the file just replaced is the newest backup
        EXPECT_EQ(ReadFile(backup), written);
    }
    // twelve rounds of two saves: backups 1 to 9 exist and nothing else
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path()))
        if (e.path().filename() != ".varno.lock") names.push_back(e.path().filename().string());  // the save lock
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"OLDSCN1.TXT", "OLDSCN2.TXT", "OLDSCN3.TXT", "OLDSCN4.TXT", "OLDSCN5.TXT",
                                        "OLDSCN6.TXT", "OLDSCN7.TXT", "OLDSCN8.TXT", "OLDSCN9.TXT", "ROUND.SCN"}));
}

// ---- the demo game's scenario ----

std::string DemoDir() { return std::string(VARNO_DEMO_DIR) + "/"; }

std::vector<std::string> SplitCrlf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> w;
    std::istringstream in(line);
    for (std::string x; in >> x;) w.push_back(x);
    return w;
}

// What a save of the unchanged demo scenario writes, worked out from the
// file's own lines (the writer's layout: section 3 lines after the
// releases): releases take the layout that "V 1.03" asks for, "Sort" orders
// the placements by column; everything else is written as it was read.
std::string PredictedSave(const std::string& original, bool sort, bool v103) {
    const std::vector<std::string> in = SplitCrlf(original);
    std::size_t i = 0;
    std::vector<std::string> header(in.begin(), in.begin() + 9), setups, groups, releases, misc, rest;
    i = 9;
    while (i < in.size() && in[i].starts_with('1')) setups.push_back(in[i++]);
    while (i < in.size() && in[i].starts_with('2')) {
        groups.push_back(in[i++]);
        while (i < in.size() && in[i].starts_with(' ')) groups.push_back(in[i++]);
    }
    while (i < in.size() && in[i].starts_with('4')) releases.push_back(in[i++]);
    while (i < in.size() && !in[i].starts_with('0')) misc.push_back(in[i++]);
    rest.assign(in.begin() + static_cast<std::ptrdiff_t>(i), in.end());

    // the demo must use every section for this to say anything
    EXPECT_GE(setups.size(), 10u);
    EXPECT_GE(groups.size(), 6u);
    EXPECT_GE(misc.size(), 3u);
    EXPECT_TRUE(!misc.empty() && misc.front().starts_with('3')) << "section 3 lines";
    EXPECT_GE(rest.size(), 4u);

    if (sort)
        std::stable_sort(setups.begin(), setups.end(), [](const std::string& a, const std::string& b) {
            return std::stoi(Words(a)[8]) < std::stoi(Words(b)[8]);
        });
    int withChance = 0, without = 0;
    for (std::string& r : releases) {
        std::vector<std::string> w = Words(r);
        if (w.size() == 8) {
            ++withChance;
            if (v103) w.erase(w.begin() + 6);
        } else {
            ++without;
            if (!v103) w.insert(w.begin() + 6, "100");
        }
        r.clear();
        for (const std::string& x : w) r += (r.empty() ? "" : " ") + x;
    }
    EXPECT_GT(withChance + without, 0);

    std::vector<std::string> out = header;
    for (auto* part : {&setups, &groups, &releases, &misc, &rest}) out.insert(out.end(), part->begin(), part->end());
    return Crlf(out);
}

TEST(DemoScenario, ReadThenSaveGivesPredictedBytes) {
    const std::string demo = DemoDir();
    ASSERT_TRUE(fs::exists(demo + "MAIN.OOB")) << demo;
    ASSERT_TRUE(fs::exists(demo + "DEMO.SCN")) << demo;
    const std::string original = ReadFile(demo + "DEMO.SCN");
    for (const bool v103 : {true, false}) {
        for (const bool sort : {false, true}) {
            SCOPED_TRACE(std::string("V 1.03 ") + (v103 ? "on" : "off") + ", sort " + (sort ? "on" : "off"));
            TempDir dir;
            const std::string path = dir / "DEMO.SCN";
            WriteFile(path, original);
            Scenario scn;
            RecordingListener listener;
            LineReader oob(demo + "MAIN.OOB");
            ReadOobText(scn, oob, listener);
            ReadScenario(scn, path, listener);

            // what the read gave: placements sharing hexes, a wagon twice, groups of 1 to 10
            std::set<std::pair<int, int>> hexes;
            std::map<const TOobRec*, int> times;
            std::set<char> kinds;
            for (const TSetupRec* s : scn.SetupList()) {
                hexes.insert({s->Col, s->Row});
                ++times[s->Unit];
                kinds.insert(s->Unit->Kind);
            }
            EXPECT_LT(hexes.size(), scn.SetupList().size());
            EXPECT_EQ(kinds, (std::set<char>{'L', 'S', 'U'}));
            EXPECT_TRUE(
                std::any_of(times.begin(), times.end(), [](auto& t) { return t.first->Kind == 'S' && t.second > 1; }));
            std::set<int> counts;
            for (const TReinfGroup* g : scn.ReinfList()) counts.insert(g->Count);
            EXPECT_TRUE(counts.count(1) && counts.count(10)) << "groups of 1 and of 10 units";
            EXPECT_GE(scn.CmdGroupCounts[0], 2);
            EXPECT_FALSE(scn.ScnTrailer().empty());
            EXPECT_EQ(listener.draws.size(), scn.SetupList().size());

            WriteScenario(scn, path, {.SortByCol = sort, .V103 = v103}, nullptr);
            EXPECT_EQ(ReadFile(path), PredictedSave(original, sort, v103));
            EXPECT_EQ(ReadFile(dir / "OLDSCN1.TXT"), original);
        }
    }
}

// "I changed nothing": the demo files read and saved with the options a Read
// sets (no sorting, releases in the form the file has) are the same bytes.
TEST(DemoScenario, UntouchedFilesSaveByteForByte) {
    for (const char* name : {"DEMO.SCN", "FLAWS.SCN"}) {
        SCOPED_TRACE(name);
        const std::string original = ReadFile(DemoDir() + name);
        TempDir dir;
        const std::string path = dir / name;
        WriteFile(path, original);
        Scenario scn;
        RecordingListener listener;
        LineReader oob(DemoDir() + "MAIN.OOB");
        ReadOobText(scn, oob, listener);
        ReadScenario(scn, path, listener);
        WriteScenario(scn, path, {.SortByCol = false, .V103 = !scn.ReleaseChanceInFile}, nullptr);
        EXPECT_EQ(ReadFile(path), original);
    }
}

}  // namespace
