// The schedule: each side's strength over the scenario's dates.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "scenario/records.h"
#include "scenario/scenario.h"
#include "scenario/scenariobuilder.h"
#include "scenario/scnschedule.h"

using namespace varno;

namespace {

// A small game made by hand: two sides' organisations, a Union unit in no
// organisation, placements, releases, groups and a command.
struct Game {
    Scenario scn;

    TOobRec* entry(char kind, int parent, int side, int strength, std::string display) {
        TOobRec* e = &ScenarioBuilder(scn).NewOobRec();
        e->Kind = kind;
        e->Parent = parent;
        e->Side = static_cast<std::uint8_t>(side);
        e->Strength = strength;
        e->Display = std::move(display);
        e->Index = static_cast<std::int32_t>(scn.OobList().size() - 1);
        return e;
    }
    void place(TOobRec* unit, int strength, bool fixed) {
        TSetupRec& rec = ScenarioBuilder(scn).NewSetup();
        rec.Unit = unit;
        rec.Strength = static_cast<std::uint8_t>(strength);
        rec.Flags = fixed ? std::uint32_t{sfFixed} : 0u;
    }
    template <class R> static void date(R& r, int y, int mo, int d, int h, int mi) {
        r.Year = static_cast<std::uint8_t>(y);
        r.Month = static_cast<std::uint8_t>(mo);
        r.Day = static_cast<std::uint8_t>(d);
        r.Hour = static_cast<std::uint8_t>(h);
        r.Minute = static_cast<std::uint8_t>(mi);
    }
    void release(TOobRec* unit, int chance, int y, int mo, int d, int h, int mi) {
        TReleaseRec& rec = ScenarioBuilder(scn).NewRelease();
        rec.Unit = unit;
        rec.Chance = static_cast<std::uint8_t>(chance);
        date(rec, y, mo, d, h, mi);
    }
    void group(std::vector<TOobRec*> units, int chance, int y, int mo, int d, int h, int mi) {
        TReinfGroup* g = &ScenarioBuilder(scn).NewReinfGroup();
        for (TOobRec* u : units) g->Units[g->Count++] = u;
        g->Chance = static_cast<std::uint8_t>(chance);
        date(*g, y, mo, d, h, mi);
    }
};

struct Row {
    std::string date;  // "start" or DateText
    int side;
    double free, fixed, arrived;
    std::int64_t freeSure, fixedSure, arrivedSure;
};

TEST(Schedule, CountsEachKindOfRecordForItsSide) {
    Game g;
    TOobRec* confOrg = g.entry('A', -1, 0, 0, "Confederate army");
    TOobRec* fixedUnit = g.entry('U', confOrg->Index, 0, 10, "fixed unit");  // placed at 8, fixed
    TOobRec* freeUnit = g.entry('U', confOrg->Index, 0, 6, "free unit");     // placed at 6
    TOobRec* confLate = g.entry('U', confOrg->Index, 0, 2, "conf arrival");  // in the Union's group
    TOobRec* unionOrg = g.entry('A', -1, 1, 0, "Union army");
    TOobRec* sure = g.entry('U', unionOrg->Index, 1, 12, "sure arrival");
    TOobRec* maybe = g.entry('U', unionOrg->Index, 1, 4, "maybe arrival");
    TOobRec* leader = g.entry('L', unionOrg->Index, 1, 0, "leader");
    TOobRec* loose = g.entry('U', -1, 1, 3, "unit of no organisation");  // placed at 2

    g.place(fixedUnit, 8, true);
    g.place(freeUnit, 6, false);
    g.place(loose, 2, false);
    g.place(leader, 5, false);  // leaders count nothing
    // Lists out of date order: the computation sorts them. 62-01-01 is later
    // than 61-12-31 although its month and day are smaller.
    g.group({maybe, leader}, 30, 62, 1, 1, 6, 0);
    g.group({sure, confLate}, 100, 61, 7, 21, 12, 0);
    g.release(fixedUnit, 100, 61, 12, 31, 0, 0);
    g.release(fixedUnit, 50, 61, 7, 21, 10, 0);
    g.release(freeUnit, 100, 61, 7, 21, 10, 0);  // not fixed: frees nothing
    TCommandRec& command = ScenarioBuilder(g.scn).NewCommand();
    command.Unit = sure;
    command.Group = 3;
    Game::date(command, 61, 7, 21, 12, 0);

    const Schedule s = ComputeSchedule(g.scn);
    // In men: 25 per strength point.
    const std::vector<Row> expected = {
        {"start", 0, 150, 200, 0, 150, 200, 0},
        {"start", 1, 50, 0, 0, 50, 0, 0},
        {"1861-07-21 10:00", 0, 250, 100, 0, 150, 200, 0},  // half of the fixed unit, expected only
        {"1861-07-21 10:00", 1, 50, 0, 0, 50, 0, 0},
        {"1861-07-21 12:00", 0, 250, 100, 50, 150, 200, 50},  // its unit in the Union's group
        {"1861-07-21 12:00", 1, 50, 0, 300, 50, 0, 300},
        {"1861-12-31 00:00", 0, 350, 0, 50, 350, 0, 50},  // the rest, and all of it for sure
        {"1861-12-31 00:00", 1, 50, 0, 300, 50, 0, 300},
        {"1862-01-01 06:00", 0, 350, 0, 50, 350, 0, 50},
        {"1862-01-01 06:00", 1, 50, 0, 330, 50, 0, 300},  // 30 % of 100, never for sure
    };
    ASSERT_EQ(s.Steps.size() * 2, expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Row& r = expected[i];
        const ScheduleStep& step = s.Steps[i / 2];
        const SideStrength& got = step.Sides[static_cast<std::size_t>(r.side)];
        SCOPED_TRACE(r.date + " " + SideName(r.side));
        EXPECT_EQ(step.Start ? "start" : DateText(step.When), r.date);
        EXPECT_DOUBLE_EQ(got.Free, r.free);
        EXPECT_DOUBLE_EQ(got.Fixed, r.fixed);
        EXPECT_DOUBLE_EQ(got.Arrived, r.arrived);
        EXPECT_EQ(got.FreeSure, r.freeSure);
        EXPECT_EQ(got.FixedSure, r.fixedSure);
        EXPECT_EQ(got.ArrivedSure, r.arrivedSure);
    }

    // The events by date, releases before groups before commands.
    ASSERT_EQ(s.Events.size(), 6u);
    const std::vector<std::pair<ScheduleEventKind, int>> order = {
        {ScheduleEventKind::Release, 1}, {ScheduleEventKind::Release, 2}, {ScheduleEventKind::Arrival, 1},
        {ScheduleEventKind::Command, 0}, {ScheduleEventKind::Release, 0}, {ScheduleEventKind::Arrival, 0}};
    for (std::size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(s.Events[i].Kind, order[i].first) << i;
        EXPECT_EQ(s.Events[i].Index, order[i].second) << i;
    }
    EXPECT_EQ(s.Events[3].Group, 3);
    EXPECT_EQ(EventText(g.scn, s.Events[0]),
              "Release 1861-07-21 10:00 at 50%: fixed unit  Confederate freed 100 (sure 0)");
    EXPECT_EQ(
        EventText(g.scn, s.Events[2]),
        "Arrival 1861-07-21 12:00 at 100% hex 0,0: sure arrival ...  Confederate +50 (sure 50)  Union +300 (sure 300)");
    EXPECT_EQ(EventText(g.scn, s.Events[1]),
              "Release 1861-07-21 10:00 at 100%: free unit  Confederate freed 0 (sure 0)");
    EXPECT_EQ(&s.StepAt(PackDate(61, 7, 21, 11, 0)), &s.Steps[1]);
    EXPECT_EQ(&s.StepAt(PackDate(60, 1, 1, 0, 0)), &s.Steps[0]);
}

TEST(Schedule, TheTimeAxisNeverRunsBackwards) {
    std::mt19937 rng(26);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<SchedDate> dates;
    for (int i = 0; i < 5000; ++i)
        dates.push_back(PackDate(byte(rng), byte(rng) % 16, byte(rng) % 40, byte(rng) % 30, byte(rng) % 70));
    std::sort(dates.begin(), dates.end());
    for (std::size_t i = 1; i < dates.size(); ++i)
        ASSERT_LE(DateMinutes(dates[i - 1]), DateMinutes(dates[i]))
            << DateText(dates[i - 1]) << " " << DateText(dates[i]);
}

}  // namespace
