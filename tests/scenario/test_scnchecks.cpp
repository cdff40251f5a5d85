// The stacking check, the strength synchronisation, the strength lists and
// the search of the order-of-battle lines.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "scenario/records.h"
#include "scenario/scenario.h"
#include "scenario/scenariobuilder.h"
#include "scenario/scnchecks.h"
#include "scenario/scnedit.h"

using namespace varno;

namespace {

using Lines = std::vector<std::string>;

// A scenario built by hand: entries of the order of battle and placements.
struct Game {
    Scenario scn;

    // An entry under `parent` (-1: top level), numbered after its siblings.
    TOobRec* entry(char kind, int parent, std::string display, std::int32_t strength = 0, char unitType = 0) {
        int siblings = 0;
        for (const TOobRec* e : scn.OobList()) siblings += e->Parent == parent;
        TOobRec* e = &ScenarioBuilder(scn).NewOobRec();
        e->Kind = kind;
        e->UnitType = kind == 'U' ? unitType : 0;
        e->Parent = parent;
        e->Strength = strength;
        e->Display = std::move(display);
        if (parent >= 0) e->Levels = scn.OobList()[static_cast<std::size_t>(parent)]->Levels;
        std::size_t depth = 0;
        while (depth < 8 && e->Levels[depth] != 0) ++depth;
        e->Levels[depth] = static_cast<std::uint8_t>(siblings + 1);
        return e;
    }

    TSetupRec* place(TOobRec* unit, int strength, int col, int row) {
        TSetupRec* s = &ScenarioBuilder(scn).NewSetup();
        s->Unit = unit;
        s->Strength = static_cast<std::uint8_t>(strength);
        s->Col = static_cast<std::uint8_t>(col);
        s->Row = static_cast<std::uint8_t>(row);
        unit->Setup = s;
        return s;
    }
};

// ---------------------------------------------------------------------------
// The overloaded-hex check

// One placement of a case: what is placed, with which strength, where.
struct Placed {
    char kind, unitType;
    int strength, col, row;
};

std::vector<Placed> Times(int n, Placed p, std::vector<Placed> after = {}) {
    std::vector<Placed> all(static_cast<std::size_t>(n), p);
    all.insert(all.end(), after.begin(), after.end());
    return all;
}

TEST(OverloadedHexes, Findings) {
    const Placed inf30{'U', 'I', 30, 3, 4}, inf15{'U', 'I', 15, 3, 4}, inf20{'U', 'I', 20, 3, 4};
    const Placed art25{'U', 'A', 25, 7, 9}, leader{'L', 0, 0, 7, 9}, wagon{'S', 0, 1, 12, 0};
    const Placed small{'U', 'I', 1, 5, 5}, heavy{'U', 'A', 2, 2, 2};
    struct Row {
        const char* name;
        std::vector<Placed> placed;
        Lines findings;
    };
    const Row rows[] = {
        {"load 1125", {inf30, inf15}, {"3,4 Overfilled"}},
        {"load 1000", {inf20, inf20}, {}},
        {"lone heavy unit", {art25}, {}},
        {"H weighs double too", {{'U', 'H', 11, 4, 4}, {'U', 'H', 10, 4, 4}}, {"4,4 Overfilled"}},
        {"only capital A and H", {{'U', 'a', 39, 4, 4}, {'U', 'h', 1, 4, 4}}, {}},
        {"leaders weigh nothing", {{'L', 0, 255, 4, 4}, {'L', 0, 255, 4, 4}}, {}},
        {"leader joins it", {art25, leader}, {"7,9 Overfilled"}},
        {"two wagons", {wagon, wagon}, {"12,0 Too many wagons"}},
        {"eight units", Times(8, small), {}},
        {"nine units", Times(9, small), {"5,5 Too many Units"}},
        {"ten units", Times(10, small), {"5,5 Too many Units"}},
        {"overfilled, then a wagon", {{'S', 0, 1, 3, 4}, inf30, inf15, {'S', 0, 1, 3, 4}}, {"3,4 Overfilled"}},
        {"two at once", {{'S', 0, 20, 1, 1}, {'S', 0, 1, 1, 1}}, {"1,1 Overfilled", "1,1 Too many wagons"}},
        {"first break only", Times(8, heavy, {{'S', 0, 1, 2, 2}, {'S', 0, 1, 2, 2}}), {"2,2 Too many wagons"}},
        {"ninth overfills", Times(8, heavy, {{'U', 'A', 200, 2, 2}}), {"2,2 Overfilled", "2,2 Too many Units"}},
        {"order of first placement",
         {{'S', 0, 1, 9, 9}, {'S', 0, 1, 1, 1}, {'S', 0, 1, 1, 1}, {'S', 0, 1, 9, 9}},
         {"9,9 Too many wagons", "1,1 Too many wagons"}},
        {"column and row apart", {{'S', 0, 1, 1, 2}, {'S', 0, 1, 2, 1}}, {}},
        {"last hex", {{'S', 0, 1, 255, 255}, {'S', 0, 1, 255, 255}}, {"255,255 Too many wagons"}},
    };
    for (const Row& row : rows) {
        Game g;
        for (const Placed& p : row.placed) g.place(g.entry(p.kind, -1, "x", 0, p.unitType), p.strength, p.col, p.row);
        EXPECT_EQ(FindOverloadedHexes(g.scn.SetupList()), row.findings) << row.name;
        // The same findings with their hexes: the hex each text starts with.
        Lines texts;
        for (const HexFinding& f : CheckOverloadedHexes(g.scn.SetupList())) {
            texts.push_back(f.Text);
            EXPECT_EQ(f.Text.rfind(std::to_string(f.Col) + "," + std::to_string(f.Row) + " ", 0), 0u) << f.Text;
        }
        EXPECT_EQ(texts, row.findings) << row.name;
    }
}

TEST(OverloadedHexes, ProgressEveryTwentyPlacements) {
    Game g;
    for (int i = 0; i < 45; ++i) g.place(g.entry('U', -1, "x", 0, 'I'), 1, i, 0);
    std::vector<std::size_t> seen;
    FindOverloadedHexes(g.scn.SetupList(), [&](std::size_t done, std::size_t count) {
        EXPECT_EQ(count, 45u);
        seen.push_back(done);
    });
    EXPECT_EQ(seen, std::vector<std::size_t>({1, 21, 41}));
}

// The check as the quadratic walk over the list states it, line for line.
Lines QuadraticCheck(RecordList<TSetupRec> setups) {
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
        const Lines fast = FindOverloadedHexes(g.scn.SetupList());
        ASSERT_EQ(fast, QuadraticCheck(g.scn.SetupList())) << "round " << round;
        reported += !fast.empty();
    }
    // The generated scenarios exercise both outcomes.
    EXPECT_GT(reported, 100);
    EXPECT_LT(reported, 590);
}

// ---------------------------------------------------------------------------
// Synchronisation and strength lists

TEST(SynchStrengths, CopiesTheLowByteOfTheOrderOfBattle) {
    Game g;
    const TSetupRec* unit = g.place(g.entry('U', -1, "u", 300, 'I'), 10, 0, 0);
    const TSetupRec* same = g.place(g.entry('U', -1, "v", 12, 'I'), 12, 0, 0);
    const TSetupRec* wagon = g.place(g.entry('S', -1, "w", 3), 9, 0, 0);
    const TSetupRec* leader = g.place(g.entry('L', -1, "l"), 5, 0, 0);
    EditListener quiet;
    EditStep step;
    EXPECT_EQ(SynchStrengths(g.scn, quiet, step), 3u);
    EXPECT_TRUE(g.scn.Modified);
    EXPECT_EQ(std::vector<int>({unit->Strength, same->Strength, wagon->Strength, leader->Strength}),
              std::vector<int>({44, 12, 3, 0}));
    g.scn.Modified = false;
    EXPECT_EQ(SynchStrengths(g.scn, quiet, step), 0u);
    EXPECT_FALSE(g.scn.Modified);
}

// Army 1 > Corps 1.2 > Division 1.2.1 > Brigade 1.2.1.1 > units, with a
// leader, a wagon and a 'W' organisation; Army 2 holds an unplaced unit.
struct OrgGame : Game {
    TOobRec *army, *leader, *wagon, *w, *army2, *u1;
    OrgGame() {
        army = entry('A', -1, "Army of the Test", 7);
        leader = entry('L', army->Index, "General Leader", 9);
        TOobRec* corps = entry('B', army->Index, "I Corps", 7);
        TOobRec* div = entry('C', corps->Index, "1st Division", 7);
        TOobRec* brig = entry('D', div->Index, "1st Brigade", 7);
        u1 = entry('U', brig->Index, "I 1 2 3 1st Foot", 10, 'I');
        place(u1, 20, 1, 1);
        place(entry('U', brig->Index, "A 1 2 3 Battery", 4, 'A'), 3, 1, 1);
        wagon = entry('S', div->Index, "Supply", 6);
        place(wagon, 50, 1, 1);
        w = entry('W', corps->Index, "Wing", 7);
        place(entry('U', w->Index, "C 1 2 3 Horse", 2, 'C'), 1, 1, 1);
        army2 = entry('A', -1, "Other Army", 7);
        entry('U', army2->Index, "I 1 2 3 Reserve", 8, 'I');
    }
};

TEST(StrengthLines, FromTheScenarioAndFromTheOrderOfBattle) {
    OrgGame g;
    const Lines fromScn = {"Army of the Test    600", "  I Corps    600", "    1st Division    575",
                           "      1st Brigade    575"};
    const Lines fromOob = {"Army of the Test    400", "  I Corps    400", "    1st Division    350",
                           "      1st Brigade    350", "Other Army    200"};
    EXPECT_EQ(StrengthLines(g.scn.OobList(), true), fromScn);
    const std::vector<std::int32_t> totals = ComputeOrgTotals(g.scn.OobList(), true);
    EXPECT_EQ(totals[static_cast<std::size_t>(g.w->Index)], 25);  // totalled, not listed
    EXPECT_EQ(totals[static_cast<std::size_t>(g.leader->Index)], 0);
    // A total is a result: every entry keeps the file's value.
    EXPECT_EQ(g.w->Strength, 7);
    EXPECT_EQ(g.leader->Strength, 9);
    EXPECT_EQ(g.wagon->Strength, 6);
    EXPECT_EQ(g.u1->Strength, 10);
    // Each run starts from scratch.
    EXPECT_EQ(StrengthLines(g.scn.OobList(), false), fromOob);
    EXPECT_EQ(StrengthLines(g.scn.OobList(), false), fromOob);
    EXPECT_EQ(StrengthLines(g.scn.OobList(), true), fromScn);
    // Only as many entries as the list box shows: the battery is left out.
    EXPECT_EQ(StrengthLines(g.scn.OobList(), false, 6).back(), "      1st Brigade    250");
    for (const TOobRec* e : g.scn.OobList()) ScenarioBuilder::Edit(e).Setup = nullptr;
    EXPECT_TRUE(StrengthLines(g.scn.OobList(), true).empty());
    EXPECT_EQ(StrengthCaption(true), "Organizational Strength from Start of Scenario");
    EXPECT_EQ(StrengthCaption(false), "Organizational Strength from Order of Battle");
}

TEST(StrengthLines, WideTotalsAndBrokenParents) {
    Game g;
    TOobRec* army = g.entry('A', -1, "Big");
    for (int i = 0; i < 20; ++i) g.entry('U', army->Index, "u", 255, 'I');
    TOobRec* odd = g.entry('U', -1, "odd", 5, 'I');
    odd->Parent = odd->Index;  // names itself: not followed
    EXPECT_EQ(StrengthLines(g.scn.OobList(), false), Lines({"Big  127500"}));
}

// ---------------------------------------------------------------------------
// Search

TEST(Search, CaseBlindForAToZOnly) {
    const Lines oob = {
        "Army of the Potomac",  "I 1 2 3 1st MAINE", "I 1 2 3 20th Maine", "L Gen. \xC9mile", "", "", "", "", "", "",
        "I 1 2 3 Iron Brigade", "S Wagons"};
    std::vector<std::size_t> seen;
    auto search = [&](std::string_view text) {
        seen.clear();
        return SearchLines(
            oob.size(), [&](std::size_t i) { return std::string_view(oob[i]); }, text,
            [&](std::size_t i) { seen.push_back(i); });
    };
    EXPECT_EQ(search("maine"), 1);
    EXPECT_EQ(seen, std::vector<std::size_t>({0}));
    EXPECT_EQ(search("20TH MAINE"), 2);
    EXPECT_EQ(search("army of the potomac"), 0);
    EXPECT_EQ(search("\xC9mile"), 3);
    EXPECT_EQ(search("\xE9mile"), -1);  // no folding outside A to Z
    EXPECT_EQ(search("wAGONS"), 11);
    EXPECT_EQ(seen, std::vector<std::size_t>({0, 10}));
    EXPECT_EQ(search("Wagons and more"), -1);
    EXPECT_EQ(search(""), -1);
    EXPECT_EQ(seen, std::vector<std::size_t>({0, 10}));
    EXPECT_EQ(FoldAZ("AbZ@[`{\xC9"), "abz@[`{\xC9");

    OrgGame g;
    EXPECT_EQ(SearchOob(g.scn.OobList(), "battery"), 6);
    EXPECT_EQ(SearchOob(g.scn.OobList(), "battery", {}, 6), -1);
}

}  // namespace
