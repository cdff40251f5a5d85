// The whole-scenario check: one small scenario per kind of finding against a
// clean one, and scenarios made only through the edit operations.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "scenario/records.h"
#include "scenario/scenario.h"
#include "scenario/scenariobuilder.h"
#include "scenario/scncheckall.h"
#include "scenario/scnchecks.h"
#include "scenario/scnedit.h"

using namespace varno;

namespace {

// An order of battle and a scenario built by hand.
struct Game {
    Scenario scn;

    TOobRec* entry(char kind, int parent, std::int32_t strength) {
        int siblings = 0;
        for (const TOobRec* e : scn.OobList()) siblings += e->Parent == parent;
        TOobRec* e = &ScenarioBuilder(scn).NewOobRec();
        e->Kind = kind;
        e->Parent = parent;
        e->Strength = strength;
        if (parent >= 0) e->Levels = scn.OobList()[static_cast<std::size_t>(parent)]->Levels;
        std::size_t depth = 0;
        while (depth < 8 && e->Levels[depth] != 0) ++depth;
        e->Levels[depth] = static_cast<std::uint8_t>(siblings + 1);
        e->Display = std::string(1, kind) + " entry " + DotName(*e);
        ScenarioBuilder(scn).IndexDotName(*e);
        return e;
    }
    TOobRec* at(const char* dot) {
        for (const TOobRec* e : scn.OobList())
            if (DotName(*e) == dot) return &ScenarioBuilder::Edit(e);
        throw std::runtime_error(std::string("no entry ") + dot);
    }
    TSetupRec* place(const char* dot, int strength, int col, int row, int facing = 1, std::uint32_t flags = 0) {
        TSetupRec* s = &ScenarioBuilder(scn).NewSetup();
        s->Unit = at(dot);
        s->Strength = static_cast<std::uint8_t>(strength);
        s->Col = static_cast<std::uint8_t>(col);
        s->Row = static_cast<std::uint8_t>(row);
        s->Facing = static_cast<std::uint8_t>(facing);
        s->Flags = flags;
        ScenarioBuilder::Edit(s->Unit).Setup = s;
        return s;
    }
    TReinfGroup* group(std::vector<const char*> dots, int col, int row) {
        TReinfGroup* g = &ScenarioBuilder(scn).NewReinfGroup();
        g->Year = 63, g->Month = 7, g->Day = 2, g->Hour = 6;
        g->Col = static_cast<std::uint8_t>(col), g->Row = static_cast<std::uint8_t>(row);
        g->Facing = 1;
        g->Chance = 100;
        for (const char* d : dots) g->Units[g->Count++] = at(d);
        return g;
    }
    TReleaseRec* release(const char* dot) {
        TReleaseRec* r = &ScenarioBuilder(scn).NewRelease();
        r->Unit = at(dot);
        r->Year = 63, r->Month = 7, r->Day = 1, r->Hour = 9, r->Chance = 100;
        return r;
    }
    TCommandRec* command(const char* dot, int group) {
        TCommandRec* c = &ScenarioBuilder(scn).NewCommand();
        c->Unit = at(dot);
        c->Group = static_cast<std::uint8_t>(group);
        c->Year = 63, c->Month = 7, c->Day = 1, c->Hour = 6, c->Col = 6, c->Row = 6, c->Command = 3;
        return c;
    }
    // The records of the lists, to break a rule.
    TSetupRec& setup(std::size_t i) { return ScenarioBuilder::Edit(scn.SetupList()[i]); }
    TReinfGroup& group(std::size_t i) { return ScenarioBuilder::Edit(scn.ReinfList()[i]); }
    TReleaseRec& release(std::size_t i) { return ScenarioBuilder::Edit(scn.ReleaseList()[i]); }
    TCommandRec& command(std::size_t i) { return ScenarioBuilder::Edit(scn.CommandList()[i]); }
};

// A clean scenario on a 10 x 10 map: army 1 with a leader, units and a
// wagon placed twice (a wagon may be); a group, a release of a placed unit,
// commands for a grouped unit and for the army; army 2 appears nowhere.
void CleanGame(Game& g) {
    g.entry('A', -1, 0);   // 1
    g.entry('L', 0, 0);    // 1.1
    g.entry('U', 0, 100);  // 1.2
    g.entry('U', 0, 50);   // 1.3
    g.entry('S', 0, 5);    // 1.4
    g.entry('U', 0, 80);   // 1.5
    g.entry('A', -1, 0);   // 2
    g.entry('U', 6, 60);   // 2.1
    g.place("1.1", 0, 1, 1, 1, sfMounted);
    g.place("1.2", 100, 2, 2, 8);
    g.place("1.4", 5, 3, 3, 32, sfFixed | sfLowAmmo);
    g.place("1.4", 5, 4, 4, 16);
    g.group({"1.3"}, 5, 5);
    g.release("1.2");
    g.command("1.3", 2);
    g.command("1", 8);
}

constexpr MapGrid kGrid{10, 10};

struct Case {
    const char* name;
    std::function<void(Game&)> change;
    std::vector<std::string> lines;  // FindingLine of every finding, in order
};

std::vector<std::string> Lines(const ScnCheckReport& r) {
    std::vector<std::string> out;
    for (const ScnFinding& f : r.Findings) out.push_back(FindingLine(f));
    return out;
}

// Every field of a finding.
std::string Whole(const ScnFinding& f) {
    return FindingLine(f) + " / list " + std::to_string(static_cast<int>(f.List)) + " line " + std::to_string(f.Index) +
           " hex " + std::to_string(f.Col) + "," + std::to_string(f.Row);
}

class CheckKinds : public ::testing::TestWithParam<Case> {};

TEST_P(CheckKinds, FindEachMistakeOnce) {
    Game g;
    CleanGame(g);
    GetParam().change(g);
    const ScnCheckReport r = CheckScenario(g.scn, kGrid);
    EXPECT_EQ(Lines(r), GetParam().lines);
    EXPECT_TRUE(r.MapSkipped.empty());
    int total = 0;
    for (int c : r.Counts) total += c;
    EXPECT_EQ(total, static_cast<int>(r.Findings.size()));

    // Counted, then told one at a time without being kept: the same findings.
    const ScnCheckReport counted = CountFindings(g.scn, kGrid);
    EXPECT_EQ(counted.Counts, r.Counts);
    EXPECT_TRUE(counted.Findings.empty());
    std::vector<std::string> told, kept;
    ForEachFinding(g.scn, kGrid, counted, [&](const ScnFinding& f) { told.push_back(Whole(f)); });
    for (const ScnFinding& f : r.Findings) kept.push_back(Whole(f));
    EXPECT_EQ(told, kept);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CheckKinds,
    ::testing::Values(
        Case{"clean", [](Game&) {}, {}},
        Case{"placementOffMap",
             [](Game& g) { g.setup(1).Col = 10; },
             {"off-map  1.2  U entry 1.2  placed at 10,2; the map has 10 x 10 hexes"}},
        Case{"groupOffMap",
             [](Game& g) { g.group(0).Row = 12; },
             {"off-map  1.3  U entry 1.3  arrives at 5,12; the map has 10 x 10 hexes"}},
        Case{"lastHexIsOnTheMap", [](Game& g) { g.setup(1).Col = 9, g.setup(1).Row = 9; }, {}},
        Case{"unitPlacedTwice",
             [](Game& g) { g.place("1.2", 100, 7, 7, 8); },
             {"placed-twice  1.2  U entry 1.2  placed again at 7,7; first at 2,2 (Set Units line 2)"}},
        Case{"placedAndGrouped",
             [](Game& g) { g.place("1.3", 50, 7, 7); },
             {"placed-and-grouped  1.3  U entry 1.3  arrives at 5,5 but is placed at 7,7 (Set Units line 5)"}},
        Case{"wagonPlacedAndGrouped",
             [](Game& g) {
                 g.group({"1.4", "1.4"}, 6, 6);
             },
             {}},
        Case{"inTwoGroups",
             [](Game& g) {
                 g.group({"1.5", "1.3"}, 6, 6);
             },
             {"grouped-twice  1.3  U entry 1.3  arrives again at 6,6; first with group line 1"}},
        Case{"twiceInOneGroup",
             [](Game& g) { g.group(0).Units[g.group(0).Count++] = g.at("1.3"); },
             {"grouped-twice  1.3  U entry 1.3  is in this group twice"}},
        Case{"releaseOfAnAbsentUnit",
             [](Game& g) { g.release("1.5"); },
             {"release-unplaced  1.5  U entry 1.5  is released but neither placed nor in a reinforcement group"}},
        Case{"commandOfAnAbsentUnit",
             [](Game& g) { g.command("2.1", 1); },
             {"command-unplaced  2.1  U entry 2.1  has a command but is neither placed nor in a reinforcement group"}},
        Case{"unitWithoutStrength",
             [](Game& g) { g.setup(1).Strength = 0; },
             {"zero-strength  1.2  U entry 1.2  placed with strength 0"}},
        Case{"strongerThanTheOrderOfBattle",
             [](Game& g) { g.setup(1).Strength = 101; },
             {"over-strength  1.2  U entry 1.2  placed with strength 101; the order of battle gives 100"}},
        Case{"unknownFacing",
             [](Game& g) { g.setup(0).Facing = 3; },
             {"bad-facing  1.1  L entry 1.1  faces 3; the game knows 1, 2, 4, 8, 16 and 32"}},
        Case{"groupFacingNothing",
             [](Game& g) { g.group(0).Facing = 0; },
             {"bad-facing  1.3  U entry 1.3  arrives facing 0; the game knows 1, 2, 4, 8, 16 and 32"}},
        Case{"flagWithoutABox",
             [](Game& g) { g.setup(1).Flags |= 0x80000002u; },
             {"unknown-flags  1.2  U entry 1.2  flag bits $80000002 that no Set Units box stands for"}},
        Case{"commandGroup0",
             [](Game& g) { g.command(0).Group = 0; },
             {"bad-group  1.3  U entry 1.3  is in command group 0; groups run from 1 to 8"}},
        Case{"commandGroup9",
             [](Game& g) { g.command(1).Group = 9; },
             {"bad-group  1  A entry 1  is in command group 9; groups run from 1 to 8"}},
        Case{"releaseBefore1861",
             [](Game& g) { g.release(std::size_t{0}).Year = 60; },
             {"odd-year  1.2  U entry 1.2  dated 1860; the pages offer 1861 to 1865"}},
        Case{"the31stOfJune",
             [](Game& g) { g.command(0).Month = 6, g.command(0).Day = 31; },
             {"bad-date  1.3  U entry 1.3  dated 31 June 1863; June has 30 days"}},
        Case{"the29thOfFebruary1863",
             [](Game& g) { g.release(std::size_t{0}).Month = 2, g.release(std::size_t{0}).Day = 29; },
             {"bad-date  1.2  U entry 1.2  dated 29 February 1863; February has 28 days"}},
        Case{"the29thOfFebruary1864",
             [](Game& g) {
                 g.release(std::size_t{0}).Year = 64, g.release(std::size_t{0}).Month = 2,
                 g.release(std::size_t{0}).Day = 29;
             },
             {}},
        Case{"month13", [](Game& g) { g.group(0).Month = 13; }, {"bad-date  1.3  U entry 1.3  dated month 13 of 1863"}},
        Case{"day0",
             [](Game& g) { g.group(0).Day = 0; },
             {"bad-date  1.3  U entry 1.3  dated 0 July 1863; July has 31 days"}},
        Case{"overFullHex",
             [](Game& g) {
                 for (int i = 0; i < 3; ++i) g.entry('S', 0, 30);  // 1.6 to 1.8
                 for (const char* d : {"1.6", "1.7", "1.8"}) g.place(d, 30, 8, 8);
             },
             {"overloaded  8,8 Overfilled", "overloaded  8,8 Too many wagons"}},
        Case{"severalKindsInKindOrder",
             [](Game& g) {
                 g.release(std::size_t{0}).Year = 70;
                 g.setup(1).Col = 20;
             },
             {"off-map  1.2  U entry 1.2  placed at 20,2; the map has 10 x 10 hexes",
              "odd-year  1.2  U entry 1.2  dated 1870; the pages offer 1861 to 1865"}}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(CheckScenario, ARecordsFindingsAreThoseNamingItAndItsOverFullHex) {
    Game g;
    CleanGame(g);
    for (int i = 0; i < 3; ++i) g.entry('S', 0, 30);  // 1.6 to 1.8, an over-full 8,8
    for (const char* d : {"1.6", "1.7", "1.8"}) g.place(d, 30, 8, 8);
    g.setup(1).Col = 20;                  // 1.2 off the map
    g.release(std::size_t{0}).Year = 70;  // 1.2's release too
    g.command(std::size_t{1}).Group = 9;  // the army's command
    const ScnCheckReport all = CheckScenario(g.scn, kGrid);
    const auto of = [&](ScnListBox list, int index) { return Lines(FindingsOfRecord(g.scn, all, list, index)); };
    using L = std::vector<std::string>;
    // The placement, not its release; the release, not its placement.
    EXPECT_EQ(of(ScnListBox::SetUnits, 1), L{"off-map  1.2  U entry 1.2  placed at 20,2; the map has 10 x 10 hexes"});
    EXPECT_EQ(of(ScnListBox::Releases, 0), L{"odd-year  1.2  U entry 1.2  dated 1870; the pages offer 1861 to 1865"});
    EXPECT_EQ(of(ScnListBox::Commands, 1).size(), 1u);
    // Every placement of an over-full hex has its findings, not only the first.
    const L hex{"overloaded  8,8 Overfilled", "overloaded  8,8 Too many wagons"};
    EXPECT_EQ(of(ScnListBox::SetUnits, 4), hex);
    EXPECT_EQ(of(ScnListBox::SetUnits, 6), hex);
    EXPECT_EQ(
        FindingsOfRecord(g.scn, all, ScnListBox::SetUnits, 6).Counts[static_cast<std::size_t>(CheckKind::Overloaded)],
        2);
    EXPECT_TRUE(of(ScnListBox::SetUnits, 0).empty());
    EXPECT_TRUE(of(ScnListBox::Commands, 0).empty());
    EXPECT_TRUE(of(ScnListBox::SetUnits, 99).empty());
}

TEST(CheckScenario, WithoutAGridTheHexesAreNotComparedAndTheReportSaysWhy) {
    Game g;
    CleanGame(g);
    g.setup(1).Col = 200;
    const ScnCheckReport r = CheckScenario(g.scn, std::nullopt, "no MAIN.MAP in /g/");
    EXPECT_TRUE(r.Findings.empty());
    EXPECT_EQ(MapSkippedLine(r), "off-map not checked: no MAIN.MAP in /g/");
    EXPECT_EQ(MapSkippedLine(CountFindings(g.scn, std::nullopt, "no MAIN.MAP in /g/")), MapSkippedLine(r));
    const CheckMap none = LoadCheckMap("/nonexistent-varno-folder/");
    EXPECT_FALSE(none.Grid);
    EXPECT_EQ(none.Skipped, "no MAIN.MAP in /nonexistent-varno-folder/");
}

// ---------------------------------------------------------------------------
// Made only through the edit operations, within the rules: nothing to find.

class Quiet : public EditListener {};

// A random designer who keeps to the rules: one placement a hex on a 12 x 9
// map, units and leaders on the map or in one group, releases and commands
// only for entries that appear and kept appearing, dates the pages offer.
class RuleKeeper {
public:
    explicit RuleKeeper(std::uint32_t seed) : rnd_(seed) {
        g_.entry('A', -1, 0);
        for (int i = 0; i < 4; ++i) g_.entry('L', 0, 0);
        for (int i = 0; i < 20; ++i) g_.entry('U', 0, 1 + static_cast<int>(rnd_() % 255));
        for (int i = 0; i < 3; ++i) g_.entry('S', 0, 1 + static_cast<int>(rnd_() % 20));
    }

    void step() {
        Scenario& scn = g_.scn;
        const TOobRec* e = scn.OobList()[1 + rnd_() % (scn.OobList().size() - 1)];
        switch (rnd_() % 9) {
        case 0:
        case 1:
            if (CanPlace(*e) && !inGroup(e)) {
                if (const TSetupRec* s =
                        AddSetup(scn, e, {pick({1, 2, 4, 8, 16, 32}), rnd_() % 2 == 0, false}, quiet_, step_))
                    moveToFreeHex(s);
            }
            break;
        case 2:
            if (!scn.SetupList().empty()) {
                const TSetupRec* s = scn.SetupList()[rnd_() % scn.SetupList().size()];
                if (!named(s->Unit) || placements(s->Unit) > 1) RemoveSetup(scn, s, quiet_, step_);
            }
            break;
        case 3:
            if (!scn.SetupList().empty()) {
                const TSetupRec* s = scn.SetupList()[rnd_() % scn.SetupList().size()];
                SetupFields f = FieldsOf(*s);
                const int most = s->Unit->Strength & 255;
                f.Strength = s->Unit->Kind == 'L' ? 0 : 1 + static_cast<int>(rnd_() % static_cast<unsigned>(most));
                f.Facing = pick({1, 2, 4, 8, 16, 32});
                f.Flags = rnd_() % 2 ? sfFixed | sfLowAmmo : sfMounted;
                StoreSetup(scn, s, f, quiet_, step_);
                moveToFreeHex(s);
            }
            break;
        case 4:
            if (CanReinforce(*e) && !appears(e)) {
                if (!scn.ReinfList().empty() && rnd_() % 2 && scn.ReinfList().back()->Count < kGroupAddLimit)
                    AddToGroup(scn, scn.ReinfList().back(), e, quiet_, step_);
                else
                    AddGroup(scn, e, {date(), 100, int(rnd_() % 12), int(rnd_() % 9), pick({1, 2, 4, 8, 16, 32}), 0},
                             quiet_, step_);
            }
            break;
        case 5:
            if (!scn.ReinfList().empty()) {
                const TReinfGroup* gr = scn.ReinfList()[rnd_() % scn.ReinfList().size()];
                const int slot = static_cast<int>(rnd_() % gr->Count);
                if (!named(gr->Units[static_cast<std::size_t>(slot)])) RemoveGroupUnit(scn, gr, slot, quiet_, step_);
            }
            break;
        case 6:
            if (appears(e)) {
                const TReleaseRec* r = AddRelease(scn, e, date(), quiet_, step_);
                if (rnd_() % 2) StoreRelease(scn, r, {date(), 1 + int(rnd_() % 100)}, quiet_, step_);
            }
            break;
        case 7:
            if (appears(e) || (e == scn.OobList()[0] && !scn.SetupList().empty()))
                AddCommand(scn, e, {date(), 1 + int(rnd_() % 8), int(rnd_() % 30), int(rnd_() % 30), int(rnd_() % 5)},
                           quiet_, step_);
            break;
        case 8:
            if (!scn.ReleaseList().empty() && rnd_() % 2)
                RemoveRelease(scn, scn.ReleaseList()[0], quiet_, step_);
            else if (!scn.CommandList().empty())
                RemoveCommand(scn, scn.CommandList().back(), quiet_, step_);
            break;
        }
    }

    const Scenario& scn() const { return g_.scn; }

private:
    Game g_;
    std::mt19937 rnd_;
    Quiet quiet_;
    EditStep step_;  // the history is not what is tested

    int pick(std::initializer_list<int> values) { return values.begin()[rnd_() % values.size()]; }
    DateFields date() {
        const int month = 1 + static_cast<int>(rnd_() % 12);
        const int year = 1861 + static_cast<int>(rnd_() % 5);
        const int days = month == 2                                                ? (year == 1864 ? 29 : 28)
                         : (month == 4 || month == 6 || month == 9 || month == 11) ? 30
                                                                                   : 31;
        return {year, month, 1 + static_cast<int>(rnd_() % static_cast<unsigned>(days)), int(rnd_() % 24),
                int(rnd_() % 60)};
    }
    int placements(const TOobRec* e) const {
        int n = 0;
        for (const TSetupRec* s : g_.scn.SetupList()) n += s->Unit == e;
        return n;
    }
    bool inGroup(const TOobRec* e) const { return FindGroupOf(g_.scn, e) != nullptr; }
    bool appears(const TOobRec* e) const { return placements(e) > 0 || inGroup(e); }
    // A release or a command names the entry, or the army while it is the
    // entry's only way of appearing.
    bool named(const TOobRec* e) const {
        for (const TReleaseRec* r : g_.scn.ReleaseList())
            if (r->Unit == e) return true;
        for (const TCommandRec* c : g_.scn.CommandList())
            if (c->Unit == e || c->Unit == g_.scn.OobList()[0]) return true;
        return false;
    }
    void moveToFreeHex(const TSetupRec* s) {
        std::set<int> used;
        for (const TSetupRec* o : g_.scn.SetupList())
            if (o != s) used.insert(o->Col * 256 + o->Row);
        for (int tries = 0; tries < 200; ++tries) {
            const int col = static_cast<int>(rnd_() % 12), row = static_cast<int>(rnd_() % 9);
            if (!used.count(col * 256 + row)) {
                MoveSetup(g_.scn, s, col, row, quiet_, step_);
                return;
            }
        }
        RemoveSetup(g_.scn, s, quiet_, step_);  // the map is full
    }
};

TEST(CheckScenario, AScenarioMadeByEditsWithinTheRulesHasNoFinding) {
    std::size_t records = 0;
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        RuleKeeper designer(seed);
        for (int i = 0; i < 150; ++i) {
            designer.step();
            const ScnCheckReport r = CheckScenario(designer.scn(), MapGrid{12, 9});
            ASSERT_TRUE(r.Findings.empty()) << "seed " << seed << " step " << i << ": " << FindingLine(r.Findings[0]);
        }
        const Scenario& s = designer.scn();
        records += s.SetupList().size() + s.ReinfList().size() + s.ReleaseList().size() + s.CommandList().size();
    }
    EXPECT_GT(records, 40u * 10u);  // the designers did build something
}

}  // namespace
