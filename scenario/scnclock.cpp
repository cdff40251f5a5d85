#include "scenario/scnclock.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "scenario/scenario.h"

namespace varno {

namespace {

int Field(SchedDate when, int shift) { return static_cast<int>((when >> shift) & 0xFF); }

bool Leap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && Leap(year) ? 29 : days[month - 1];
}

// Days from 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * static_cast<unsigned>(m > 2 ? m - 3 : m + 9) + 2) / 5 + static_cast<unsigned>(d) - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct Civil {
    std::int64_t y;
    int m, d;
};

Civil CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

bool ValidDate(int year, int month, int day, int hour, int minute) {
    return year >= 1800 && year <= 2055 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month) &&
           hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59;
}

// The numbers of a text apart by the characters of `separators` (one or
// more of them between two numbers); none when anything else stands there.
std::optional<std::vector<int>> Numbers(std::string_view text, std::string_view separators) {
    std::vector<int> out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (separators.find(text[i]) != std::string_view::npos) {
            ++i;
            continue;
        }
        int v = 0;
        const auto [end, ec] = std::from_chars(text.data() + i, text.data() + text.size(), v);
        if (ec != std::errc() || v < 0) return std::nullopt;
        out.push_back(v);
        i = static_cast<std::size_t>(end - text.data());
        if (i < text.size() && separators.find(text[i]) == std::string_view::npos) return std::nullopt;
    }
    return out;
}

bool SameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

template <class Rec> SchedDate DateOf(const Rec& r) { return PackDate(r.Year, r.Month, r.Day, r.Hour, r.Minute); }

template <class F> void ForEachRecordDate(const Scenario& scn, F&& f) {
    for (const TReleaseRec* r : scn.ReleaseList())
        if (r) f(DateOf(*r));
    for (const TReinfGroup* g : scn.ReinfList())
        if (g) f(DateOf(*g));
    for (const TCommandRec* c : scn.CommandList())
        if (c) f(DateOf(*c));
}

}  // namespace

std::string ClockText(ClockTime t) { return t.Start ? std::string("Start") : DateText(t.When); }

std::optional<ClockTime> ParseClockText(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (SameWord(text, "start")) return ClockTime::AtStart();
    // "YYYY-MM-DD" with an optional " HH:MM" or "THH:MM".
    if (text.size() != 10 && text.size() != 16) return std::nullopt;
    if (text[4] != '-' || text[7] != '-') return std::nullopt;
    if (text.size() == 16 && ((text[10] != ' ' && text[10] != 'T') || text[13] != ':')) return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (i != 4 && i != 7 && i != 10 && i != 13 && !std::isdigit(static_cast<unsigned char>(text[i])))
            return std::nullopt;
    auto num = [&](std::size_t at, std::size_t len) {
        int v = 0;
        std::from_chars(text.data() + at, text.data() + at + len, v);
        return v;
    };
    const int year = num(0, 4), month = num(5, 2), day = num(8, 2);
    const int hour = text.size() == 16 ? num(11, 2) : 0, minute = text.size() == 16 ? num(14, 2) : 0;
    if (!ValidDate(year, month, day, hour, minute)) return std::nullopt;
    return ClockTime::At(PackDate(year - 1800, month, day, hour, minute));
}

std::optional<SchedDate> HeaderDate(const std::vector<std::string>& header, std::string_view word) {
    for (const std::string& line : header) {
        std::string_view rest = line;
        while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
        const std::size_t end = rest.find_first_of(" \t");
        if (end == std::string_view::npos || !SameWord(rest.substr(0, end), word)) continue;
        rest.remove_prefix(end);
        while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t' || rest.back() == '\r'))
            rest.remove_suffix(1);
        const auto n = Numbers(rest, " \t");
        if (!n || n->size() < 3 || n->size() > 5) return std::nullopt;
        const int hour = n->size() > 3 ? (*n)[3] : 0, minute = n->size() > 4 ? (*n)[4] : 0;
        if (!ValidDate((*n)[0], (*n)[1], (*n)[2], hour, minute)) return std::nullopt;
        return PackDate((*n)[0] - 1800, (*n)[1], (*n)[2], hour, minute);
    }
    return std::nullopt;
}

ClockSpan ScenarioSpan(const Scenario& scn) {
    ClockSpan span;
    auto widen = [&span](SchedDate d) {
        if (span.Empty) {
            span = {false, d, d};
            return;
        }
        span.First = std::min(span.First, d);
        span.Last = std::max(span.Last, d);
    };
    if (const auto start = HeaderDate(scn.ScnHeader(), "Start")) widen(*start);
    if (const auto end = HeaderDate(scn.ScnHeader(), "End")) widen(*end);
    ForEachRecordDate(scn, widen);
    return span;
}

std::vector<SchedDate> EventDates(const Scenario& scn) {
    std::vector<SchedDate> dates;
    dates.reserve(scn.ReleaseList().size() + scn.ReinfList().size() + scn.CommandList().size());
    ForEachRecordDate(scn, [&dates](SchedDate d) { dates.push_back(d); });
    std::sort(dates.begin(), dates.end());
    dates.erase(std::unique(dates.begin(), dates.end()), dates.end());
    return dates;
}

std::optional<ClockTime> NextEvent(const std::vector<SchedDate>& events, ClockTime t) {
    if (events.empty()) return std::nullopt;
    if (t.Start) return ClockTime::At(events.front());
    const auto it = std::upper_bound(events.begin(), events.end(), t.When);
    if (it == events.end()) return std::nullopt;
    return ClockTime::At(*it);
}

std::optional<ClockTime> PreviousEvent(const std::vector<SchedDate>& events, ClockTime t) {
    if (t.Start) return std::nullopt;
    const auto it = std::lower_bound(events.begin(), events.end(), t.When);
    if (it == events.begin()) return ClockTime::AtStart();
    return ClockTime::At(*(it - 1));
}

std::int64_t CalendarMinutes(SchedDate when) {
    const int year = 1800 + Field(when, 32);
    const int month = std::clamp(Field(when, 24), 1, 12);
    const int day = std::clamp(Field(when, 16), 1, DaysInMonth(year, month));
    const int hour = std::min(Field(when, 8), 23), minute = std::min(Field(when, 0), 59);
    return DaysFromCivil(year, month, day) * 1440 + hour * 60 + minute;
}

SchedDate DateOfCalendarMinutes(std::int64_t minutes) {
    const std::int64_t lowest = CalendarMinutes(PackDate(0, 1, 1, 0, 0));
    const std::int64_t highest = CalendarMinutes(PackDate(255, 12, 31, 23, 59));
    minutes = std::clamp(minutes, lowest, highest);
    const std::int64_t days = minutes / 1440 - (minutes % 1440 < 0);
    const std::int64_t inDay = minutes - days * 1440;
    const Civil c = CivilFromDays(days);
    return PackDate(static_cast<int>(c.y - 1800), c.m, c.d, static_cast<int>(inDay / 60), static_cast<int>(inDay % 60));
}

int SliderMaximum(const ClockSpan& span) {
    if (span.Empty) return 0;
    return 1 + static_cast<int>(std::max<std::int64_t>(0, CalendarMinutes(span.Last) - CalendarMinutes(span.First)));
}

int SliderPosition(const ClockSpan& span, ClockTime t) {
    if (t.Start || span.Empty) return 0;
    const std::int64_t offset = CalendarMinutes(t.When) - CalendarMinutes(span.First);
    return 1 + static_cast<int>(std::clamp<std::int64_t>(offset, 0, SliderMaximum(span) - 1));
}

ClockTime TimeAtSlider(const ClockSpan& span, int position) {
    if (position <= 0 || span.Empty) return ClockTime::AtStart();
    position = std::min(position, SliderMaximum(span));
    return ClockTime::At(DateOfCalendarMinutes(CalendarMinutes(span.First) + position - 1));
}

}  // namespace varno
