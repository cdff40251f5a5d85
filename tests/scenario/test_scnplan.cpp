// The scenario as planned at a time of the map's clock: fixed and free
// placements, arrived groups, orders in effect and where their units stand;
// and that what the map shows at a time adds up to the schedule's totals.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "scenario/records.h"
#include "scenario/scenario.h"
#include "scenario/scenariobuilder.h"
#include "scenario/scnplan.h"
#include "scenario/scnschedule.h"

using namespace varno;

namespace {

SchedDate D(int day, int hour, int minute = 0) { return PackDate(63, 7, day, hour, minute); }

template <class R> void SetDate(R& r, SchedDate d) {
    r.Year = static_cast<std::uint8_t>(d >> 32);
    r.Month = static_cast<std::uint8_t>(d >> 24);
    r.Day = static_cast<std::uint8_t>(d >> 16);
    r.Hour = static_cast<std::uint8_t>(d >> 8);
    r.Minute = static_cast<std::uint8_t>(d);
}

struct Game {
    Scenario scn;
    TOobRec* entry(char kind, int parent, int side = 1, int strength = 0) {
        TOobRec* e = &ScenarioBuilder(scn).NewOobRec();
        e->Kind = kind;
        e->Parent = parent;
        e->Side = static_cast<std::uint8_t>(side);
        e->Strength = strength;
        e->Display = std::string(1, kind) + " entry " + std::to_string(e->Index);
        return e;
    }
    TSetupRec* place(TOobRec* e, int col, int row, bool fixed = false, int strength = 0) {
        TSetupRec* s = &ScenarioBuilder(scn).NewSetup();
        s->Unit = e;
        s->Col = static_cast<std::uint8_t>(col);
        s->Row = static_cast<std::uint8_t>(row);
        s->Flags = fixed ? std::uint32_t{sfFixed} : 0u;
        s->Strength = static_cast<std::uint8_t>(strength);
        return s;
    }
    void release(TOobRec* e, SchedDate d, int chance = 100) {
        TReleaseRec& rel = ScenarioBuilder(scn).NewRelease();
        rel.Unit = e;
        rel.Chance = static_cast<std::uint8_t>(chance);
        SetDate(rel, d);
    }
    TReinfGroup* group(std::vector<TOobRec*> units, SchedDate d, int col, int row, int chance = 100) {
        TReinfGroup* g = &ScenarioBuilder(scn).NewReinfGroup();
        for (TOobRec* u : units) g->Units[g->Count++] = u;
        g->Col = static_cast<std::uint8_t>(col);
        g->Row = static_cast<std::uint8_t>(row);
        g->Chance = static_cast<std::uint8_t>(chance);
        SetDate(*g, d);
        return g;
    }
    void command(TOobRec* e, SchedDate d, int col = 0, int row = 0) {
        TCommandRec& cmd = ScenarioBuilder(scn).NewCommand();
        cmd.Unit = e;
        cmd.Col = static_cast<std::uint8_t>(col);
        cmd.Row = static_cast<std::uint8_t>(row);
        SetDate(cmd, d);
    }
};

TEST(Plan, WhereAnOrdersEntryStands) {
    Game g;
    TOobRec* army = g.entry('A', -1);
    TOobRec* corps = g.entry('B', army->Index);
    TOobRec* leader = g.entry('L', corps->Index);
    TOobRec* placed = g.entry('U', corps->Index);
    TOobRec* arriving = g.entry('U', corps->Index);
    TOobRec* both = g.entry('U', corps->Index);  // placed and in a group: the placement counts
    TOobRec* wagon = g.entry('S', army->Index);  // placed twice: the first placement counts
    TOobRec* twice = g.entry('U', army->Index);  // in two groups: the first group counts
    TOobRec* nowhere = g.entry('U', army->Index);
    TOobRec* division = g.entry('C', army->Index);  // only arriving entries below it
    TOobRec* late = g.entry('U', division->Index);
    TOobRec* empty = g.entry('C', army->Index);  // nothing below it stands anywhere
    g.entry('U', empty->Index);
    TOobRec* other = g.entry('A', -1, 0);  // an organisation placed by a file
    TOobRec* stray = g.entry('U', other->Index);

    g.place(placed, 5, 6);
    g.place(both, 7, 8);
    g.place(wagon, 9, 10);
    g.place(wagon, 11, 12);
    g.place(other, 1, 1);
    g.place(stray, 2, 2);
    g.group({arriving, both}, D(2, 6), 20, 21);
    g.group({twice}, D(2, 8), 22, 23);
    g.group({twice, late}, D(3, 8), 24, 25);

    Scenario foreign;  // an entry of another order of battle stands nowhere here
    const TOobRec* foreignEntry = &ScenarioBuilder(foreign).NewOobRec();

    struct Case {
        const char* what;
        const TOobRec* entry;
        UnitPlaceKind kind;
        int col, row, index;
    };
    const Case cases[] = {
        {"placed", placed, UnitPlaceKind::Placed, 5, 6, 0},
        {"arriving", arriving, UnitPlaceKind::Arriving, 20, 21, 0},
        {"placed and grouped", both, UnitPlaceKind::Placed, 7, 8, 1},
        {"wagon placed twice", wagon, UnitPlaceKind::Placed, 9, 10, 2},
        {"in two groups", twice, UnitPlaceKind::Arriving, 22, 23, 1},
        {"nowhere", nowhere, UnitPlaceKind::Nowhere, 0, 0, -1},
        {"leader nowhere", leader, UnitPlaceKind::Nowhere, 0, 0, -1},
        {"corps: its first placed entry", corps, UnitPlaceKind::Placed, 5, 6, 0},
        {"army: the first placed entry below it", army, UnitPlaceKind::Placed, 5, 6, 0},
        {"division: its arriving entry", division, UnitPlaceKind::Arriving, 24, 25, 2},
        {"organisation with nothing placed", empty, UnitPlaceKind::Nowhere, 0, 0, -1},
        {"organisation placed itself", other, UnitPlaceKind::Placed, 1, 1, 4},
        {"no entry", nullptr, UnitPlaceKind::Nowhere, 0, 0, -1},
        {"another game's entry", foreignEntry, UnitPlaceKind::Nowhere, 0, 0, -1},
    };
    const UnitPlaces places(g.scn);
    for (const Case& c : cases) {
        const UnitPlace p = places.Of(c.entry);
        EXPECT_EQ(p.Kind, c.kind) << c.what;
        EXPECT_EQ(p.Col, c.col) << c.what;
        EXPECT_EQ(p.Row, c.row) << c.what;
        EXPECT_EQ(p.Index, c.index) << c.what;
    }
}

TEST(Plan, WhatHappenedByEachTime) {
    Game g;
    TOobRec* army = g.entry('A', -1);
    TOobRec* a = g.entry('U', army->Index);
    TOobRec* b = g.entry('U', army->Index);
    TOobRec* c = g.entry('U', army->Index);
    TOobRec* d = g.entry('U', army->Index);
    g.place(a, 1, 1, true);   // 0: released twice, the earlier release frees it
    g.place(b, 2, 2, true);   // 1: never released
    g.place(c, 3, 3, false);  // 2: free; its release changes nothing
    g.place(a, 4, 4, true);   // 3: a second placement of the same entry
    g.release(a, D(2, 9));
    g.release(a, D(1, 9), 20);  // earlier, at 20 %: the plan takes it as it comes
    g.release(c, D(1, 6));
    g.group({d}, D(1, 12), 9, 9);
    g.group({d}, D(2, 6), 9, 9);
    g.command(a, D(1, 6));  // 0
    g.command(a, D(2, 6));  // 1: supersedes 0 from day 2
    g.command(b, D(1, 6));  // 2
    g.command(b, D(1, 6));  // 3: same date, later in the list: in effect instead of 2
    g.command(d, D(3, 6));  // 4

    using S = OrderState;
    struct Case {
        ClockTime t;
        std::vector<bool> fixed;
        std::vector<bool> arrived;
        std::vector<OrderState> orders;
    };
    const Case cases[] = {
        {ClockTime::AtStart(),
         {true, true, false, true},
         {false, false},
         {S::Later, S::Later, S::Later, S::Later, S::Later}},
        {ClockTime::At(D(1, 5, 59)),
         {true, true, false, true},
         {false, false},
         {S::Later, S::Later, S::Later, S::Later, S::Later}},
        {ClockTime::At(D(1, 6)),
         {true, true, false, true},
         {false, false},
         {S::InEffect, S::Later, S::Superseded, S::InEffect, S::Later}},
        {ClockTime::At(D(1, 9)),
         {false, true, false, false},
         {false, false},
         {S::InEffect, S::Later, S::Superseded, S::InEffect, S::Later}},
        {ClockTime::At(D(1, 12)),
         {false, true, false, false},
         {true, false},
         {S::InEffect, S::Later, S::Superseded, S::InEffect, S::Later}},
        {ClockTime::At(D(2, 6)),
         {false, true, false, false},
         {true, true},
         {S::Superseded, S::InEffect, S::Superseded, S::InEffect, S::Later}},
        {ClockTime::At(D(4, 0)),
         {false, true, false, false},
         {true, true},
         {S::Superseded, S::InEffect, S::Superseded, S::InEffect, S::InEffect}},
    };
    for (const Case& c : cases) {
        const ScenarioPlan plan = PlanAt(g.scn, c.t);
        SCOPED_TRACE(ClockText(c.t));
        EXPECT_EQ(plan.FixedNow, c.fixed);
        EXPECT_EQ(plan.Arrived, c.arrived);
        EXPECT_EQ(plan.Orders, c.orders);
        // The release that frees a fixed placement, whatever the time.
        EXPECT_EQ(plan.FreedBy, (std::vector<int>{1, -1, -1, 1}));
        EXPECT_EQ(plan.OrderFrom[4].Kind, UnitPlaceKind::Arriving);
        EXPECT_EQ(plan.OrderFrom[4].Index, 0);
    }
}

// A random game: organisations of both sides with units, leaders and
// wagons; placements (some fixed), releases, groups and commands on a few
// dates. `sure`: every release and group at 100 %.
void RandomGame(Game& g, std::mt19937& rng, bool sure) {
    auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    const char kinds[] = {'U', 'U', 'U', 'L', 'S'};
    std::vector<TOobRec*> entries;
    for (int side = 0; side < 2; ++side) {
        TOobRec* army = g.entry('A', -1, side);
        for (int i = 0; i < 12; ++i) entries.push_back(g.entry(kinds[pick(5)], army->Index, side, 1 + pick(40)));
    }
    entries.push_back(g.entry('U', -1, 1, 7));  // a unit of no organisation
    const std::vector<SchedDate> dates = {D(1, 6), D(1, 9), D(1, 9, 20), D(2, 6), D(2, 14), D(3, 5)};
    const int chances[] = {5, 25, 50, 75, 100};
    auto chance = [&] { return sure ? 100 : chances[pick(5)]; };
    for (int i = 0, n = 3 + pick(15); i < n; ++i)
        g.place(entries[static_cast<std::size_t>(pick(static_cast<int>(entries.size())))], pick(10), pick(10),
                pick(2) == 0, pick(256));
    for (int i = 0, n = pick(10); i < n; ++i)
        g.release(entries[static_cast<std::size_t>(pick(static_cast<int>(entries.size())))],
                  dates[static_cast<std::size_t>(pick(6))], chance());
    for (int i = 0, n = pick(6); i < n; ++i) {
        std::vector<TOobRec*> units;
        for (int u = 0, m = 1 + pick(10); u < m; ++u)
            units.push_back(entries[static_cast<std::size_t>(pick(static_cast<int>(entries.size())))]);
        g.group(units, dates[static_cast<std::size_t>(pick(6))], pick(10), pick(10), chance());
    }
    for (int i = 0, n = pick(6); i < n; ++i)
        g.command(entries[static_cast<std::size_t>(pick(static_cast<int>(entries.size())))],
                  dates[static_cast<std::size_t>(pick(6))]);
}

// What the map shows at a time, in men by side: placed units free or fixed
// (hatched), and the units of the groups it shows arrived, counted at their
// group's chance (expected) and only at 100 % (sure).
struct Shown {
    double free[2] = {}, fixed[2] = {}, arrived[2] = {};
    std::int64_t arrivedSure[2] = {};
};

Shown MenShown(const Scenario& scn, const ScenarioPlan& plan) {
    Shown s;
    for (std::size_t i = 0; i < scn.SetupList().size(); ++i) {
        const TSetupRec* r = scn.SetupList()[i];
        if (r->Unit->Kind != 'U') continue;
        const double men = kMenPerPoint * r->Strength;
        (plan.FixedNow[i] ? s.fixed : s.free)[r->Unit->Side != 0] += men;
    }
    for (std::size_t i = 0; i < scn.ReinfList().size(); ++i) {
        if (!plan.Arrived[i]) continue;
        const TReinfGroup* g = scn.ReinfList()[i];
        for (int u = 0; u < g->Count; ++u) {
            const TOobRec* e = g->Units[static_cast<std::size_t>(u)];
            if (e->Kind != 'U') continue;
            const int side = e->Side != 0;
            s.arrived[side] += kMenPerPoint * e->Strength * g->Chance / 100.0;
            if (g->Chance >= 100) s.arrivedSure[side] += kMenPerPoint * e->Strength;
        }
    }
    return s;
}

TEST(Plan, TheUnitsShownAtATimeAddUpToTheSchedule) {
    std::mt19937 rng(3301);
    for (int round = 0; round < 300; ++round) {
        const bool sure = round % 3 == 0;
        Game g;
        RandomGame(g, rng, sure);
        const Schedule schedule = ComputeSchedule(g.scn);
        // Start, every event's date, and the minutes just before them.
        std::vector<ClockTime> times = {ClockTime::AtStart()};
        for (const ScheduleStep& step : schedule.Steps) {
            if (step.Start) continue;
            times.push_back(ClockTime::At(step.When));
            times.push_back(ClockTime::At(step.When - 1));
        }
        for (const ClockTime& t : times) {
            const ScenarioPlan plan = PlanAt(g.scn, t);
            const Shown shown = MenShown(g.scn, plan);
            const ScheduleStep& step = t.Start ? schedule.Steps.front() : schedule.StepAt(t.When);
            for (int side = 0; side < 2; ++side) {
                const SideStrength& s = step.Sides[static_cast<std::size_t>(side)];
                SCOPED_TRACE("round " + std::to_string(round) + " at " + ClockText(t) + " " + SideName(side));
                // Every placement is on the map, free or fixed.
                EXPECT_DOUBLE_EQ(shown.free[side] + shown.fixed[side], s.Free + s.Fixed);
                EXPECT_DOUBLE_EQ(shown.free[side] + shown.fixed[side], double(s.FreeSure + s.FixedSure));
                // The arrived groups, by their chance and for sure.
                EXPECT_NEAR(shown.arrived[side], s.Arrived, 1e-6);
                EXPECT_EQ(shown.arrivedSure[side], s.ArrivedSure);
                // Hatched stacks are fixed in both series; a release below
                // 100 % frees them on the map, and only partly in the schedule.
                EXPECT_LE(shown.fixed[side], s.Fixed + 1e-6);
                EXPECT_LE(s.Fixed, double(s.FixedSure) + 1e-6);
                if (sure) {
                    EXPECT_DOUBLE_EQ(shown.fixed[side], double(s.FixedSure));
                    EXPECT_DOUBLE_EQ(shown.free[side], double(s.FreeSure));
                    EXPECT_NEAR(shown.arrived[side] + shown.free[side] + shown.fixed[side], double(s.TotalSure()),
                                1e-6);
                }
            }
        }
    }
}

}  // namespace
