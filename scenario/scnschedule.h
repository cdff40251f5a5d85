#pragma once
// The schedule of a scenario: how strong each side is, and when. From the
// placements, the releases and the reinforcement groups, a step series per
// side over the scenario's dates, and the events behind the steps (with the
// commands of the computer player by group). Shared by the Schedule window
// and the command line.
//
// How the records count (strength in men: 25 per strength point of a unit,
// as in the strength lists; leaders, wagons and organisations count nothing):
// - A placement of a unit stands on the map from the start: Fixed when it
//   carries the Fixed flag, else Free; its strength is the placement's.
// - A release moves the fixed placements of its unit from Fixed to Free at
//   its date. The expected series moves them by its chance (of what is still
//   fixed after the unit's earlier releases); the sure series only at 100.
//   A release of a unit with no fixed placement changes nothing.
// - A group adds its units (their order-of-battle strength) to Arrived at its
//   date: in the expected series by its chance, in the sure series only at 100.
// - A command changes no series; it is an event of its command group.
// Every unit counts for its own entry's Side (non-zero Union), also a unit of
// a group that holds both sides' units. Dates compare as the records store
// them: year, month, day, hour, minute.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "scenario/docchange.h"
#include "scenario/records.h"

namespace varno {

class Scenario;

// A date as stored, packed so that it compares as the records' fields do.
using SchedDate = std::uint64_t;
SchedDate PackDate(int year, int month, int day, int hour, int minute);
// "1863-07-01 06:00" (the stored year is counted from 1800).
std::string DateText(SchedDate when);
// A position on a time axis, in minutes: never smaller for a later date.
// A field beyond its range counts as its largest value (and so do the
// smaller fields after it).
double DateMinutes(SchedDate when);

inline constexpr int kSideConfederate = 0;
inline constexpr int kSideUnion = 1;
// "Confederate" or "Union".
const char* SideName(int side);

// Strength in men of one side at one moment.
struct SideStrength {
    // Expected: releases and groups counted by their chance.
    double Free = 0, Fixed = 0, Arrived = 0;
    // Sure: releases and groups counted only at 100.
    std::int64_t FreeSure = 0, FixedSure = 0, ArrivedSure = 0;
    double Total() const { return Free + Fixed + Arrived; }
    std::int64_t TotalSure() const { return FreeSure + FixedSure + ArrivedSure; }
};

// The strengths from one date on (the first step: the start of the scenario).
struct ScheduleStep {
    bool Start = false;
    SchedDate When = 0;                   // 0 at the start
    std::array<SideStrength, 2> Sides{};  // by side: kSideConfederate, kSideUnion
};

enum class ScheduleEventKind { Release, Arrival, Command };

// One release, group or command, with what it adds.
struct ScheduleEvent {
    ScheduleEventKind Kind = ScheduleEventKind::Release;
    int Index = 0;  // the record's index in its list (its list line)
    SchedDate When = 0;
    int Chance = 100;      // releases and groups
    int Group = 0;         // commands: the command group, 1 to 8
    int Command = 0;       // commands: 0 Defend - Extreme ... 4 Attack - Extreme
    int Col = 0, Row = 0;  // groups and commands
    int Side = -1;         // side of its (first) unit, -1 when it has none
    // Release: the strength it frees (Fixed to Free); group: the strength it
    // brings (to Arrived); by side. Commands add nothing.
    std::array<double, 2> Adds{};
    std::array<std::int64_t, 2> AddsSure{};
};

struct Schedule {
    std::vector<ScheduleStep> Steps;    // the start, then one per date in order
    std::vector<ScheduleEvent> Events;  // by date, then releases, groups, commands, then list order
    // The step in force at `when` (the start when it is before every date).
    const ScheduleStep& StepAt(SchedDate when) const;
};

// The men a unit's strength stands for; nothing for any other kind.
inline constexpr int kMenPerPoint = 25;

// Null records and records of no unit are passed over (their events remain).
// Linear in the lists plus sorting the dates.
Schedule ComputeSchedule(const Scenario& scn);

// True when `change` may give the scenario another schedule: a release, a
// group or a command touched, a unit's placement put in or taken out, or
// one given another unit, strength or Fixed flag. A placement moved to
// another hex, the header or an entry's link leave it as it was. A whole
// change (Read, Restore, New) always changes it.
bool ChangesSchedule(const DocChange& change);

// The record's line as its list shows it.
std::string EventLine(const Scenario& scn, const ScheduleEvent& ev);
// "Defend - Extreme", "Defend", "Idle", "Attack", "Attack - Extreme", or the number.
std::string CommandName(int command);
// What an event is, in one line: kind, date, chance or group and command,
// its list line and the strength it adds by side, e.g.
// "Arrival 1863-07-01 14:00 at 30% hex 12,4: 1 1 I 21st Foot ...  Union +90 (sure +0)".
std::string EventText(const Scenario& scn, const ScheduleEvent& ev);
// What a step is, for one side: "1863-07-01 14:00 Union: free 1200 fixed 300
// arrived 90 total 1590 (sure 1500)".
std::string StepText(const ScheduleStep& step, int side);

// A number of men: whole, or with up to two decimals ("112.5").
std::string MenText(double men);

// The table of the command line: a header, then one row per step and side
// (date "start" for the first step). CSV when `csv`, else aligned columns.
std::vector<std::string> ScheduleTable(const Schedule& schedule, bool csv);

}  // namespace varno
