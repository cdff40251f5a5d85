#pragma once
// The map's clock: a time within the scenario's span, at which the map shows
// the scenario as the designer planned it (scenario/scnplan.h), or Start,
// the scenario as it begins, before any release, arrival or order. Here the
// span, the event dates the clock steps between, and the mapping of times to
// the positions of a slider; plain C++, shared by the map window and
// varno-cli.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/scnschedule.h"  // SchedDate, PackDate, DateText

namespace varno {

class Scenario;

// Start, or a date as the records store it (year counted from 1800).
struct ClockTime {
    bool Start = true;
    SchedDate When = 0;  // meaningful when not Start

    static ClockTime AtStart() { return {}; }
    static ClockTime At(SchedDate when) { return {false, when}; }
    // A record dated `date` has happened at this time: never at Start.
    bool Reached(SchedDate date) const { return !Start && date <= When; }
    bool operator==(const ClockTime&) const = default;
};

// "Start", or "1863-07-02 10:00".
std::string ClockText(ClockTime t);
// The reverse, as a user types it: "start" (any case), "1863-07-02 10:00",
// "1863-07-02T10:00" or "1863-07-02" (midnight). None for anything else or a
// date the calendar does not have.
std::optional<ClockTime> ParseClockText(std::string_view text);

// The date a header line gives after its first word `word` ("Start", "End";
// any case): year (in full), month, day and optionally hour and minute,
// apart by blanks ("Start 1863 7 1 5 0"). The first such line of the header
// counts; none when there is none or its date is not a date.
std::optional<SchedDate> HeaderDate(const std::vector<std::string>& header, std::string_view word);

// The first and last moment the clock can show: the header's Start and End
// dates, widened to the earliest and latest release, group and command.
struct ClockSpan {
    bool Empty = true;  // no dates at all: the clock stays at Start
    SchedDate First = 0, Last = 0;
};
ClockSpan ScenarioSpan(const Scenario& scn);

// The dates of the releases, groups and commands, each once, in order.
std::vector<SchedDate> EventDates(const Scenario& scn);
// The first event after `t` (from Start: the first event); none after the last.
std::optional<ClockTime> NextEvent(const std::vector<SchedDate>& events, ClockTime t);
// The last event before `t`, or Start when there is none; none at Start.
std::optional<ClockTime> PreviousEvent(const std::vector<SchedDate>& events, ClockTime t);

// Minutes on the calendar: the date's day from a fixed origin, times 1440,
// plus its hour and minute. A field the calendar does not have is taken as
// the nearest it has (month 13 as 12, 31 June as 30 June, hour 25 as 23).
std::int64_t CalendarMinutes(SchedDate when);
// The stored date of a calendar minute (within the years a record can store).
SchedDate DateOfCalendarMinutes(std::int64_t minutes);

// A slider over the span: position 0 is Start, position 1 the span's first
// minute, and each position after it a minute later, up to SliderMaximum.
int SliderMaximum(const ClockSpan& span);
int SliderPosition(const ClockSpan& span, ClockTime t);
ClockTime TimeAtSlider(const ClockSpan& span, int position);

}  // namespace varno
