// The stacking check, the strength synchronisation, the strength lists and
// the search of the order-of-battle lines.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "Records.h"
#include "ScnChecks.h"
#include "Scenario.h"

namespace {

using Lines = std::vector<std::string>;

// A scenario built by hand: entries of the order of battle and placements.
struct Game {
    Scenario scn;

    // An entry under `parent` (-1: top level), numbered after its siblings.
    TOobRec* entry(char kind, int parent, std::string display, std::int32_t strength = 0, char unitType = 0) {
        int siblings = 0;
        for (const TOobRec* e : scn.OobList) siblings += e->Parent == parent;
        scn.NewOobRec();
        TOobRec* e = scn.CurOob;
        e->Kind = kind;
        e->UnitType = kind == 'U' ? unitType : 0;
        e->Parent = parent;
        e->Strength = strength;
        e->Display = std::move(display);
        if (parent >= 0) e->Levels = scn.OobList[static_cast<std::size_t>(parent)]->Levels;
        std::size_t depth = 0;
        while (depth < 8 && e->Levels[depth] != 0) ++depth;
        e->Levels[depth] = static_cast<std::uint8_t>(siblings + 1);
        return e;
    }

    TSetupRec* place(TOobRec* unit, int strength, int col, int row) {
        scn.NewSetup();
        TSetupRec* s = scn.CurSetup;
        s->Unit = unit;
        s->Strength = static_cast<std::uint8_t>(strength);
        s->Col = static_cast<std::uint8_t>(col);
        s->Row = static_cast<std::uint8_t>(row);
        unit->Setup = s;
        return s;
    }
};

// ---------------------------------------------------------------------------
// Hex load

struct LoadRow {
    char kind, unitType;
    int strength, load;
    HexCount counts;
};

class PlacementLoadTest : public ::testing::TestWithParam<LoadRow> {};

TEST_P(PlacementLoadTest, ByKindAndType) {
    const LoadRow& row = GetParam();
    Game g;
    TSetupRec* s = g.place(g.entry(row.kind, -1, "x", 0, row.unitType), row.strength, 0, 0);
    const HexLoad load = PlacementLoad(*s);
    EXPECT_EQ(load.Load, row.load);
    EXPECT_EQ(load.Counts, row.counts);
}

INSTANTIATE_TEST_SUITE_P(Table, PlacementLoadTest,
                         ::testing::Values(LoadRow{'S', 0, 3, 150, HexCount::Wagon},
                                           LoadRow{'U', 'A', 25, 1250, HexCount::Unit},
                                           LoadRow{'U', 'H', 1, 50, HexCount::Unit},
                                           LoadRow{'U', 'I', 30, 750, HexCount::Unit},
                                           LoadRow{'U', 'C', 255, 6375, HexCount::Unit},
                                           LoadRow{'U', 'a', 4, 100, HexCount::Unit},  // only capitals weigh double
                                           LoadRow{'L', 0, 200, 0, HexCount::Nothing},
                                           LoadRow{'B', 0, 9, 0, HexCount::Nothing}));

TEST(PlacementLoad, PlacementOfNoEntryWeighsNothing) {
    TSetupRec s;
    s.Strength = 40;
    EXPECT_EQ(PlacementLoad(s).Load, 0);
    EXPECT_EQ(PlacementLoad(s).Counts, HexCount::Nothing);
}

// ---------------------------------------------------------------------------
// Overloaded hexes

// One placement of a case: what is placed, with which strength, where.
struct Placed {
    char kind, unitType;
    int strength, col, row;
};

struct CheckRow {
    const char* name;
    std::vector<Placed> placed;
    Lines findings;
};

Lines RunCheck(const std::vector<Placed>& placed) {
    Game g;
    for (const Placed& p : placed) g.place(g.entry(p.kind, -1, "x", 0, p.unitType), p.strength, p.col, p.row);
    return FindOverloadedHexes(g.scn.SetupList);
}

std::vector<Placed> Repeat(int n, Placed p) {
    return std::vector<Placed>(static_cast<std::size_t>(n), p);
}

std::vector<Placed> Join(std::vector<Placed> a, const std::vector<Placed>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class OverloadedHexTest : public ::testing::TestWithParam<CheckRow> {};

TEST_P(OverloadedHexTest, Findings) {
    EXPECT_EQ(RunCheck(GetParam().placed), GetParam().findings);
}

const Placed kInf30{'U', 'I', 30, 3, 4}, kInf15{'U', 'I', 15, 3, 4}, kInf20{'U', 'I', 20, 3, 4};
const Placed kArt25{'U', 'A', 25, 7, 9}, kLeader{'L', 0, 0, 7, 9};
const Placed kWagon{'S', 0, 1, 12, 0}, kSmall{'U', 'I', 1, 5, 5};

INSTANTIATE_TEST_SUITE_P(
    Table, OverloadedHexTest,
    ::testing::Values(
        CheckRow{"Load1125", {kInf30, kInf15}, {"3,4 Overfilled"}},
        CheckRow{"Load1000", {kInf20, kInf20}, {}},
        CheckRow{"LoneHeavyUnit", {kArt25}, {}},
        CheckRow{"LeaderJoinsHeavyUnit", {kArt25, kLeader}, {"7,9 Overfilled"}},
        CheckRow{"LeaderFirstThenHeavyUnit", {kLeader, kArt25}, {"7,9 Overfilled"}},
        CheckRow{"TwoWagons", {kWagon, kWagon}, {"12,0 Too many wagons"}},
        CheckRow{"EightUnits", Repeat(8, kSmall), {}},
        CheckRow{"NineUnits", Repeat(9, kSmall), {"5,5 Too many Units"}},
        CheckRow{"TenUnits", Repeat(10, kSmall), {"5,5 Too many Units"}},
        CheckRow{"OverfilledThenWagon",
                 {{'S', 0, 1, 3, 4}, kInf30, kInf15, {'S', 0, 1, 3, 4}},
                 {"3,4 Overfilled"}},
        CheckRow{"OverfilledAndWagonsAtOnce",
                 {{'S', 0, 20, 1, 1}, {'S', 0, 1, 1, 1}},
                 {"1,1 Overfilled", "1,1 Too many wagons"}},
        CheckRow{"OnlyTheFirstBreakCounts",
                 Join(Repeat(8, {'U', 'A', 2, 2, 2}), {{'S', 0, 1, 2, 2}, {'S', 0, 1, 2, 2}, {'U', 'A', 200, 2, 2}}),
                 {"2,2 Too many wagons"}},
        CheckRow{"NinthUnitAlsoOverfills",
                 Join(Repeat(8, {'U', 'A', 2, 2, 2}), {{'U', 'A', 200, 2, 2}}),
                 {"2,2 Overfilled", "2,2 Too many Units"}},
        CheckRow{"OrderOfFirstPlacement",
                 {{'S', 0, 1, 9, 9}, {'S', 0, 1, 1, 1}, {'S', 0, 1, 1, 1}, {'S', 0, 1, 9, 9}},
                 {"9,9 Too many wagons", "1,1 Too many wagons"}},
        CheckRow{"ColumnAndRowApart", {{'S', 0, 1, 1, 2}, {'S', 0, 1, 2, 1}}, {}},
        CheckRow{"HighBytes", {{'S', 0, 1, 255, 255}, {'S', 0, 1, 255, 255}}, {"255,255 Too many wagons"}},
        CheckRow{"Empty", {}, {}}),
    [](const ::testing::TestParamInfo<CheckRow>& info) { return std::string(info.param.name); });

TEST(OverloadedHexes, ProgressEveryTwentyPlacements) {
    Game g;
    for (int i = 0; i < 45; ++i) g.place(g.entry('U', -1, "x", 0, 'I'), 1, i, 0);
    std::vector<std::pair<std::size_t, std::size_t>> seen;
    FindOverloadedHexes(g.scn.SetupList, [&](std::size_t done, std::size_t count) { seen.emplace_back(done, count); });
    const std::vector<std::pair<std::size_t, std::size_t>> expected = {{1, 45}, {21, 45}, {41, 45}};
    EXPECT_EQ(seen, expected);
}

// The check as the quadratic walk over the list states it, line for line.
Lines QuadraticCheck(const std::vector<TSetupRec*>& setups) {
    std::set<std::string> examined;
    Lines findings;
    auto hex = [](const TSetupRec& r) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%d,%d", r.Col, r.Row);
        return std::string(buf);
    };
    for (std::size_t i = 0; i < setups.size(); ++i) {
        const TSetupRec& p = *setups[i];
        if (!examined.insert(hex(p)).second) continue;
        int wagons = 0, units = 0;
        long load = 0;
        auto count = [&](const TSetupRec& r) {
            const TOobRec& e = *r.Unit;
            if (e.Kind == 'S') {
                ++wagons;
                load += 50 * r.Strength;
            } else if (e.Kind == 'U') {
                ++units;
                load += (e.UnitType == 'A' || e.UnitType == 'H' ? 50 : 25) * r.Strength;
            }
        };
        count(p);
        for (std::size_t j = i + 1; j < setups.size(); ++j) {
            const TSetupRec& q = *setups[j];
            if (q.Col != p.Col || q.Row != p.Row) continue;
            count(q);
            if (load > 1000 || wagons > 1 || units > 8) {
                if (load > 1000) findings.push_back(hex(p) + " Overfilled");
                if (wagons > 1) findings.push_back(hex(p) + " Too many wagons");
                if (units > 8) findings.push_back(hex(p) + " Too many Units");
                break;
            }
        }
    }
    return findings;
}

TEST(OverloadedHexes, SameFindingsAsTheQuadraticWalk) {
    std::mt19937 rng(20261207);
    const char kinds[] = {'U', 'U', 'U', 'U', 'S', 'L'};
    const char types[] = {'I', 'C', 'A', 'H', 'x'};
    int reported = 0;
    for (int round = 0; round < 600; ++round) {
        Game g;
        const int placements = static_cast<int>(rng() % 150);
        // Few hexes, so that they fill up; now and then the whole map.
        const int span = round % 10 == 0 ? 256 : 1 + static_cast<int>(rng() % 6);
        const int maxStrength = 1 + static_cast<int>(rng() % 60);
        for (int i = 0; i < placements; ++i) {
            TOobRec* e = g.entry(kinds[rng() % 6], -1, "x", 0, types[rng() % 5]);
            g.place(e, static_cast<int>(rng() % static_cast<unsigned>(maxStrength)), static_cast<int>(rng() % span),
                    static_cast<int>(rng() % span));
        }
        const Lines fast = FindOverloadedHexes(g.scn.SetupList);
        ASSERT_EQ(fast, QuadraticCheck(g.scn.SetupList)) << "round " << round;
        reported += !fast.empty();
    }
    // The generated scenarios exercise both outcomes.
    EXPECT_GT(reported, 100);
    EXPECT_LT(reported, 590);
}

// ---------------------------------------------------------------------------
// Synchronisation

TEST(SynchStrengths, CopiesTheLowByteOfTheOrderOfBattle) {
    Game g;
    TSetupRec* unit = g.place(g.entry('U', -1, "u", 300, 'I'), 10, 0, 0);
    TSetupRec* same = g.place(g.entry('U', -1, "v", 12, 'I'), 12, 0, 0);
    TSetupRec* wagon = g.place(g.entry('S', -1, "w", 3), 9, 0, 0);
    TSetupRec* leader = g.place(g.entry('L', -1, "l"), 5, 0, 0);
    EXPECT_EQ(SynchStrengths(g.scn.SetupList), 3u);
    EXPECT_EQ(unit->Strength, 44);
    EXPECT_EQ(same->Strength, 12);
    EXPECT_EQ(wagon->Strength, 3);
    EXPECT_EQ(leader->Strength, 0);
    EXPECT_EQ(SynchStrengths(g.scn.SetupList), 0u);
}

// ---------------------------------------------------------------------------
// Strength lists

// Army 1 > Corps 1.1 > Division 1.1.1 > Brigade 1.1.1.1 > units, with a
// leader, a wagon and a 'W' organisation; Army 2 holds an unplaced unit.
struct OrgGame : Game {
    TOobRec *army, *corps, *div, *brig, *u1, *u2, *wagon, *leader, *w, *wu, *army2, *u3;
    OrgGame() {
        army = entry('A', -1, "Army of the Test", 7);
        leader = entry('L', army->Index, "General Leader", 0);
        corps = entry('B', army->Index, "I Corps", 7);
        div = entry('C', corps->Index, "1st Division", 7);
        brig = entry('D', div->Index, "1st Brigade", 7);
        u1 = entry('U', brig->Index, "I 1 2 3 1st Foot", 10, 'I');
        u2 = entry('U', brig->Index, "A 1 2 3 Battery", 4, 'A');
        wagon = entry('S', div->Index, "Supply", 6);
        w = entry('W', corps->Index, "Wing", 7);
        wu = entry('U', w->Index, "C 1 2 3 Horse", 2, 'C');
        army2 = entry('A', -1, "Other Army", 7);
        u3 = entry('U', army2->Index, "I 1 2 3 Reserve", 8, 'I');
        place(u1, 20, 1, 1);
        place(u2, 3, 1, 1);
        place(wagon, 50, 1, 1);
        place(wu, 1, 1, 1);
    }
};

TEST(StrengthLines, FromTheScenario) {
    OrgGame g;
    const Lines expected = {
        "Army of the Test    600",
        "  I Corps    600",
        "    1st Division    575",
        "      1st Brigade    575",
    };
    EXPECT_EQ(StrengthLines(g.scn.OobList, true), expected);
    EXPECT_EQ(g.w->Strength, 25);       // totalled, not listed
    EXPECT_EQ(g.army2->Strength, 0);    // its unit is not placed
    EXPECT_EQ(g.leader->Strength, 0);
    EXPECT_EQ(g.wagon->Strength, 6);    // wagons keep their strength
    EXPECT_EQ(g.u1->Strength, 10);
}

TEST(StrengthLines, FromTheOrderOfBattle) {
    OrgGame g;
    const Lines expected = {
        "Army of the Test    400",
        "  I Corps    400",
        "    1st Division    350",
        "      1st Brigade    350",
        "Other Army    200",
    };
    EXPECT_EQ(StrengthLines(g.scn.OobList, false), expected);
    // A second run starts from scratch.
    EXPECT_EQ(StrengthLines(g.scn.OobList, false), expected);
    EXPECT_EQ(StrengthLines(g.scn.OobList, true).front(), "Army of the Test    600");
}

TEST(StrengthLines, NothingPlacedListsNothing) {
    OrgGame g;
    for (TOobRec* e : g.scn.OobList) e->Setup = nullptr;
    EXPECT_TRUE(StrengthLines(g.scn.OobList, true).empty());
    EXPECT_EQ(StrengthCaption(true), "Organizational Strength from Start of Scenario");
    EXPECT_EQ(StrengthCaption(false), "Organizational Strength from Order of Battle");
}

TEST(StrengthLines, OnlyTheFirstCountEntries) {
    OrgGame g;
    // The list box shows only the first six lines: the battery is not counted.
    const Lines lines = StrengthLines(g.scn.OobList, false, 6);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3], "      1st Brigade    250");
}

TEST(StrengthLines, WideTotalsAndBrokenParents) {
    Game g;
    TOobRec* army = g.entry('A', -1, "Big");
    for (int i = 0; i < 20; ++i) g.entry('U', army->Index, "u", 255, 'I');
    TOobRec* odd = g.entry('U', -1, "odd", 5, 'I');
    odd->Parent = odd->Index;  // names itself: not followed
    EXPECT_EQ(StrengthLines(g.scn.OobList, false), Lines({"Big  127500"}));
}

// ---------------------------------------------------------------------------
// Search

const Lines kOob = {"Army of the Potomac", "I 1 2 3 1st MAINE", "I 1 2 3 20th Maine", "L Gen. \xC9mile",
              "I 1 2 3 5th Ohio", "", "", "", "", "", "I 1 2 3 Iron Brigade", "S Wagons"};

int Search(std::string_view text) {
    return SearchLines(kOob.size(), [](std::size_t i) { return std::string_view(kOob[i]); }, text);
}

TEST(Search, CaseBlindForAToZ) {
    EXPECT_EQ(Search("maine"), 1);
    EXPECT_EQ(Search("20TH MAINE"), 2);
    EXPECT_EQ(Search("iRoN"), 10);
    EXPECT_EQ(Search("army of the potomac"), 0);
    EXPECT_EQ(FoldAZ("AbZ@[`{\xC9"), "abz@[`{\xC9");
}

TEST(Search, OtherLettersAreCompared) {
    EXPECT_EQ(Search("\xC9mile"), 3);
    EXPECT_EQ(Search("\xE9mile"), -1);  // no folding outside A to Z
}

TEST(Search, NoMatch) {
    EXPECT_EQ(Search("Texas"), -1);
    EXPECT_EQ(Search(""), -1);
    EXPECT_EQ(Search("Wagons and more"), -1);
}

TEST(Search, ProgressEveryTenLinesUpToTheMatch) {
    std::vector<std::size_t> seen;
    auto record = [&](std::size_t i) { seen.push_back(i); };
    auto line = [](std::size_t i) { return std::string_view(kOob[i]); };
    EXPECT_EQ(SearchLines(kOob.size(), line, "wagons", record), 11);
    EXPECT_EQ(seen, std::vector<std::size_t>({0, 10}));
    seen.clear();
    EXPECT_EQ(SearchLines(kOob.size(), line, "maine", record), 1);
    EXPECT_EQ(seen, std::vector<std::size_t>({0}));
    seen.clear();
    EXPECT_EQ(SearchLines(kOob.size(), line, "", record), -1);
    EXPECT_EQ(seen, std::vector<std::size_t>({0, 10}));
}

TEST(Search, OrderOfBattleLines) {
    OrgGame g;
    EXPECT_EQ(SearchOob(g.scn.OobList, "battery"), g.u2->Index);
    EXPECT_EQ(SearchOob(g.scn.OobList, "battery", {}, 6), -1);
    EXPECT_EQ(SearchOob(g.scn.OobList, "RESERVE"), g.u3->Index);
}

}  // namespace
