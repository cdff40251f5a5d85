// The map's clock: its span, the event steps and the slider's positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "scenario/records.h"
#include "scenario/scenario.h"
#include "scenario/scenariobuilder.h"
#include "scenario/scnclock.h"

using namespace varno;

namespace {

SchedDate D(int year, int month, int day, int hour = 0, int minute = 0) {
    return PackDate(year - 1800, month, day, hour, minute);
}

TEST(Clock, TextsAUserTypes) {
    struct Case {
        const char* text;
        bool ok;
        ClockTime time;
    };
    const Case cases[] = {
        {"Start", true, ClockTime::AtStart()},
        {" start ", true, ClockTime::AtStart()},
        {"1863-07-02 10:00", true, ClockTime::At(D(1863, 7, 2, 10, 0))},
        {"1863-07-02T06:20", true, ClockTime::At(D(1863, 7, 2, 6, 20))},
        {"1863-07-02", true, ClockTime::At(D(1863, 7, 2))},
        {"1864-02-29 00:00", true, ClockTime::At(D(1864, 2, 29))},
        {"1863-02-29 00:00", false, {}},  // not a leap year
        {"1863-06-31", false, {}},
        {"1863-07-02 24:00", false, {}},
        {"1863-07-02 10:60", false, {}},
        {"1799-12-31", false, {}},  // a record cannot store it
        {"2056-01-01", false, {}},
        {"1863-7-2 10:00", false, {}},
        {"1863-07-02 10:00x", false, {}},
        {"", false, {}},
        {"tomorrow", false, {}},
    };
    for (const Case& c : cases) {
        const auto got = ParseClockText(c.text);
        EXPECT_EQ(got.has_value(), c.ok) << c.text;
        if (got && c.ok) {
            EXPECT_EQ(*got, c.time) << c.text;
            // What ClockText writes reads back.
            EXPECT_EQ(ParseClockText(ClockText(*got)), got) << c.text;
        }
    }
    EXPECT_EQ(ClockText(ClockTime::At(D(1863, 7, 2, 10, 0))), "1863-07-02 10:00");
}

TEST(Clock, HeaderDatesAreFoundByTheirLinesFirstWord) {
    struct Case {
        std::vector<std::string> header;
        std::optional<SchedDate> start, end;
    };
    const Case cases[] = {
        {{"Title", "Start 1863 7 1 5 0", "End 1863 7 3 20 0"}, D(1863, 7, 1, 5, 0), D(1863, 7, 3, 20, 0)},
        {{"  start\t1863 7 1", "END 1863  7  3 20"}, D(1863, 7, 1), D(1863, 7, 3, 20, 0)},
        {{"Start 1863 7 1 5 0\r"}, D(1863, 7, 1, 5, 0), std::nullopt},
        {{"Started 1863 7 1", "End: 1863 7 3"}, std::nullopt, std::nullopt},  // other words
        {{"Start 1863 13 1", "End 1863 7"}, std::nullopt, std::nullopt},      // not dates
        {{"Start 1863 7 1 5 0 9", "End 1863 7 x"}, std::nullopt, std::nullopt},
        // The first line of the word counts, also when it is no date.
        {{"Start soon", "Start 1863 7 1"}, std::nullopt, std::nullopt},
        {{}, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HeaderDate(c.header, "Start"), c.start) << c.header.size();
        EXPECT_EQ(HeaderDate(c.header, "End"), c.end) << c.header.size();
    }
}

struct Timed {
    Scenario scn;
    TOobRec* unit = nullptr;
    Timed() {
        unit = &ScenarioBuilder(scn).NewOobRec();
        unit->Kind = 'U';
    }
    template <class R> static void date(R& r, SchedDate d) {
        r.Year = static_cast<std::uint8_t>(d >> 32);
        r.Month = static_cast<std::uint8_t>(d >> 24);
        r.Day = static_cast<std::uint8_t>(d >> 16);
        r.Hour = static_cast<std::uint8_t>(d >> 8);
        r.Minute = static_cast<std::uint8_t>(d);
    }
    void release(SchedDate d) {
        TReleaseRec& rel = ScenarioBuilder(scn).NewRelease();
        rel.Unit = unit;
        date(rel, d);
    }
    void group(SchedDate d) {
        TReinfGroup& grp = ScenarioBuilder(scn).NewReinfGroup();
        grp.Units[0] = unit;
        grp.Count = 1;
        date(grp, d);
    }
    void command(SchedDate d) {
        TCommandRec& cmd = ScenarioBuilder(scn).NewCommand();
        cmd.Unit = unit;
        date(cmd, d);
    }
};

TEST(Clock, TheSpanIsTheHeadersDatesWidenedToTheRecords) {
    struct Case {
        const char* what;
        std::vector<std::string> header;
        std::vector<SchedDate> releases, groups, commands;
        bool empty;
        SchedDate first, last;
    };
    const SchedDate start = D(1863, 7, 1, 5), end = D(1863, 7, 3, 20);
    const std::vector<std::string> header = {"Start 1863 7 1 5 0", "End 1863 7 3 20 0"};
    const Case cases[] = {
        {"header only", header, {}, {}, {}, false, start, end},
        {"records inside", header, {D(1863, 7, 2)}, {D(1863, 7, 1, 6)}, {D(1863, 7, 3)}, false, start, end},
        {"a command before the start", header, {}, {}, {D(1863, 6, 30, 22)}, false, D(1863, 6, 30, 22), end},
        {"a group after the end", header, {}, {D(1863, 7, 4, 6)}, {}, false, start, D(1863, 7, 4, 6)},
        {"a release on each side", header, {D(1862, 1, 1), D(1864, 1, 1)}, {}, {}, false, D(1862, 1, 1), D(1864, 1, 1)},
        {"no header dates", {"Title"}, {D(1863, 7, 2)}, {D(1863, 7, 1, 6)}, {}, false, D(1863, 7, 1, 6), D(1863, 7, 2)},
        {"an end before the start",
         {"Start 1863 7 3", "End 1863 7 1"},
         {},
         {},
         {},
         false,
         D(1863, 7, 1),
         D(1863, 7, 3)},
        {"nothing", {"Title"}, {}, {}, {}, true, 0, 0},
    };
    for (const Case& c : cases) {
        Timed t;
        ScenarioBuilder(t.scn).ScnHeader() = c.header;
        for (SchedDate d : c.releases) t.release(d);
        for (SchedDate d : c.groups) t.group(d);
        for (SchedDate d : c.commands) t.command(d);
        const ClockSpan span = ScenarioSpan(t.scn);
        EXPECT_EQ(span.Empty, c.empty) << c.what;
        if (c.empty) {
            EXPECT_EQ(SliderMaximum(span), 0) << c.what;
            EXPECT_EQ(TimeAtSlider(span, 5), ClockTime::AtStart()) << c.what;
            continue;
        }
        EXPECT_EQ(DateText(span.First), DateText(c.first)) << c.what;
        EXPECT_EQ(DateText(span.Last), DateText(c.last)) << c.what;
    }
}

TEST(Clock, StepsFromEventToEventAndBackToStart) {
    Timed t;
    // Two records on one date count as one step; the lists are not in order.
    t.command(D(1863, 7, 2, 6, 20));
    t.release(D(1863, 7, 1, 9));
    t.group(D(1863, 7, 2, 6, 20));
    t.command(D(1863, 7, 1, 5));
    const std::vector<SchedDate> events = EventDates(t.scn);
    const std::vector<std::string> forward = {"1863-07-01 05:00", "1863-07-01 09:00", "1863-07-02 06:20"};
    std::vector<std::string> seen;
    ClockTime at = ClockTime::AtStart();
    EXPECT_FALSE(PreviousEvent(events, at));
    while (const auto next = NextEvent(events, at)) {
        seen.push_back(ClockText(*next));
        at = *next;
    }
    EXPECT_EQ(seen, forward);
    seen.clear();
    while (const auto prev = PreviousEvent(events, at)) {
        seen.push_back(ClockText(*prev));
        at = *prev;
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"1863-07-01 09:00", "1863-07-01 05:00", "Start"}));
    // Between events the steps go to the neighbours.
    const ClockTime between = ClockTime::At(D(1863, 7, 1, 12));
    EXPECT_EQ(ClockText(*NextEvent(events, between)), "1863-07-02 06:20");
    EXPECT_EQ(ClockText(*PreviousEvent(events, between)), "1863-07-01 09:00");
    EXPECT_FALSE(NextEvent({}, ClockTime::AtStart()));
    EXPECT_EQ(PreviousEvent({}, between), ClockTime::AtStart());
}

TEST(Clock, CalendarMinutesCountRealDays) {
    EXPECT_EQ(CalendarMinutes(D(1863, 7, 2)) - CalendarMinutes(D(1863, 7, 1)), 1440);
    EXPECT_EQ(CalendarMinutes(D(1863, 7, 1)) - CalendarMinutes(D(1863, 6, 30, 23, 59)), 1);
    EXPECT_EQ(CalendarMinutes(D(1864, 3, 1)) - CalendarMinutes(D(1864, 2, 28)), 2 * 1440);  // leap year
    EXPECT_EQ(CalendarMinutes(D(1900, 3, 1)) - CalendarMinutes(D(1900, 2, 28)), 1440);      // no leap year
    // Fields the calendar lacks count as the nearest it has.
    EXPECT_EQ(CalendarMinutes(D(1863, 6, 31)), CalendarMinutes(D(1863, 6, 30)));
    EXPECT_EQ(CalendarMinutes(PackDate(63, 13, 40, 30, 70)), CalendarMinutes(D(1863, 12, 31, 23, 59)));
    EXPECT_EQ(CalendarMinutes(PackDate(63, 0, 0, 0, 0)), CalendarMinutes(D(1863, 1, 1)));
}

TEST(Clock, SliderPositionsAndTimesRoundTripOverTheSpan) {
    ClockSpan span{false, D(1863, 6, 30, 22, 0), D(1864, 3, 2, 5, 40)};
    const int top = SliderMaximum(span);
    EXPECT_EQ(SliderPosition(span, ClockTime::AtStart()), 0);
    EXPECT_EQ(TimeAtSlider(span, 0), ClockTime::AtStart());
    EXPECT_EQ(TimeAtSlider(span, 1), ClockTime::At(span.First));
    EXPECT_EQ(TimeAtSlider(span, top), ClockTime::At(span.Last));
    // Outside the span: held at its ends.
    EXPECT_EQ(TimeAtSlider(span, top + 100), ClockTime::At(span.Last));
    EXPECT_EQ(SliderPosition(span, ClockTime::At(D(1850, 1, 1))), 1);
    EXPECT_EQ(SliderPosition(span, ClockTime::At(D(1870, 1, 1))), top);
    std::mt19937 rng(33);
    std::uniform_int_distribution<int> pos(1, top);
    int last = 0;
    SchedDate lastDate = 0;
    std::vector<int> positions;
    for (int i = 0; i < 2000; ++i) positions.push_back(pos(rng));
    std::sort(positions.begin(), positions.end());
    for (const int p : positions) {
        const ClockTime t = TimeAtSlider(span, p);
        ASSERT_FALSE(t.Start);
        ASSERT_EQ(SliderPosition(span, t), p) << ClockText(t);
        ASSERT_TRUE(ParseClockText(ClockText(t))) << ClockText(t);  // a date of the calendar
        if (p > last) {
            ASSERT_GT(t.When, lastDate) << ClockText(t);  // later positions, later dates
        }
        last = p;
        lastDate = t.When;
    }
    // A single moment: Start and that moment.
    const ClockSpan one{false, span.First, span.First};
    EXPECT_EQ(SliderMaximum(one), 1);
    EXPECT_EQ(TimeAtSlider(one, 1), ClockTime::At(span.First));
}

}  // namespace
