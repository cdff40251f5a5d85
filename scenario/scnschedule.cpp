#include "scenario/scnschedule.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "scenario/scenario.h"

namespace varno {

namespace {

int SideOf(const TOobRec& entry) { return entry.Side != 0 ? kSideUnion : kSideConfederate; }

// The men of an order-of-battle entry's own strength; only units count.
std::int64_t UnitMen(const TOobRec* entry) {
    if (!entry || entry->Kind != 'U') return 0;
    return std::int64_t{kMenPerPoint} * entry->Strength;
}

template <class Rec> SchedDate DateOf(const Rec& r) { return PackDate(r.Year, r.Month, r.Day, r.Hour, r.Minute); }

int Field(SchedDate when, int shift) { return static_cast<int>((when >> shift) & 0xFF); }

// The order of events at one date: releases, groups, commands.
int KindRank(ScheduleEventKind k) { return static_cast<int>(k); }

}  // namespace

SchedDate PackDate(int year, int month, int day, int hour, int minute) {
    auto b = [](int v) { return static_cast<SchedDate>(v & 0xFF); };
    return b(year) << 32 | b(month) << 24 | b(day) << 16 | b(hour) << 8 | b(minute);
}

std::string DateText(SchedDate when) {
    char text[32];
    std::snprintf(text, sizeof text, "%d-%02d-%02d %02d:%02d", 1800 + Field(when, 32), Field(when, 24), Field(when, 16),
                  Field(when, 8), Field(when, 0));
    return text;
}

double DateMinutes(SchedDate when) {
    // Month 0 to 12, day 0 to 31, hour 0 to 23, minute 0 to 59: each within
    // the unit of the next larger field, so that a later stored date never
    // lies to the left of an earlier one. A field beyond its range takes its
    // largest value, and so does every smaller field after it.
    int fields[4] = {Field(when, 24), Field(when, 16), Field(when, 8), Field(when, 0)};
    const int top[4] = {12, 31, 23, 59};
    for (int i = 0; i < 4; ++i) {
        if (fields[i] <= top[i]) continue;
        for (int j = i; j < 4; ++j) fields[j] = top[j];
        break;
    }
    const double days = (Field(when, 32) * 13.0 + fields[0]) * 32.0 + fields[1];
    return days * 1440.0 + fields[2] * 60.0 + fields[3];
}

const char* SideName(int side) { return side == kSideUnion ? "Union" : "Confederate"; }

const ScheduleStep& Schedule::StepAt(SchedDate when) const {
    // Steps after the start are in date order.
    auto it = std::upper_bound(Steps.begin() + 1, Steps.end(), when,
                               [](SchedDate w, const ScheduleStep& s) { return w < s.When; });
    return *(it - 1);
}

Schedule ComputeSchedule(const Scenario& scn) {
    Schedule out;
    ScheduleStep start;
    start.Start = true;

    // The releases' units, with the strength of their fixed placements.
    std::unordered_map<const TOobRec*, std::int64_t> fixedMen;
    fixedMen.reserve(scn.ReleaseList().size() * 2);
    for (const TReleaseRec* r : scn.ReleaseList())
        if (r && r->Unit) fixedMen.emplace(r->Unit, 0);

    for (const TSetupRec* s : scn.SetupList()) {
        if (!s || !s->Unit || s->Unit->Kind != 'U') continue;
        const std::int64_t men = std::int64_t{kMenPerPoint} * s->Strength;
        SideStrength& side = start.Sides[static_cast<std::size_t>(SideOf(*s->Unit))];
        if (s->Flags & sfFixed) {
            side.Fixed += static_cast<double>(men);
            side.FixedSure += men;
            if (auto it = fixedMen.find(s->Unit); it != fixedMen.end()) it->second += men;
        } else {
            side.Free += static_cast<double>(men);
            side.FreeSure += men;
        }
    }

    out.Events.reserve(scn.ReleaseList().size() + scn.ReinfList().size() + scn.CommandList().size());
    for (std::size_t i = 0; i < scn.ReleaseList().size(); ++i) {
        const TReleaseRec* r = scn.ReleaseList()[i];
        if (!r) continue;
        ScheduleEvent ev;
        ev.Kind = ScheduleEventKind::Release;
        ev.Index = static_cast<int>(i);
        ev.When = DateOf(*r);
        ev.Chance = r->Chance;
        ev.Side = r->Unit ? SideOf(*r->Unit) : -1;
        out.Events.push_back(ev);
    }
    for (std::size_t i = 0; i < scn.ReinfList().size(); ++i) {
        const TReinfGroup* g = scn.ReinfList()[i];
        if (!g) continue;
        ScheduleEvent ev;
        ev.Kind = ScheduleEventKind::Arrival;
        ev.Index = static_cast<int>(i);
        ev.When = DateOf(*g);
        ev.Chance = g->Chance;
        ev.Col = g->Col;
        ev.Row = g->Row;
        const int count = std::min<int>(g->Count, static_cast<int>(g->Units.size()));
        for (int u = 0; u < count; ++u) {
            const TOobRec* unit = g->Units[static_cast<std::size_t>(u)];
            if (!unit) continue;
            if (ev.Side < 0) ev.Side = SideOf(*unit);
            const std::int64_t men = UnitMen(unit);
            const auto side = static_cast<std::size_t>(SideOf(*unit));
            ev.Adds[side] += static_cast<double>(men) * std::min(ev.Chance, 100) / 100.0;
            if (ev.Chance >= 100) ev.AddsSure[side] += men;
        }
        out.Events.push_back(ev);
    }
    for (std::size_t i = 0; i < scn.CommandList().size(); ++i) {
        const TCommandRec* c = scn.CommandList()[i];
        if (!c) continue;
        ScheduleEvent ev;
        ev.Kind = ScheduleEventKind::Command;
        ev.Index = static_cast<int>(i);
        ev.When = DateOf(*c);
        ev.Group = c->Group;
        ev.Command = c->Command;
        ev.Col = c->Col;
        ev.Row = c->Row;
        ev.Side = c->Unit ? SideOf(*c->Unit) : -1;
        out.Events.push_back(ev);
    }
    std::sort(out.Events.begin(), out.Events.end(), [](const ScheduleEvent& a, const ScheduleEvent& b) {
        if (a.When != b.When) return a.When < b.When;
        if (a.Kind != b.Kind) return KindRank(a.Kind) < KindRank(b.Kind);
        return a.Index < b.Index;
    });

    // The releases in date order: what each frees, from what is still fixed.
    struct Left {
        double expected = 1.0;  // share of the fixed strength not yet released
        bool sure = false;      // released at 100 already
    };
    std::unordered_map<const TOobRec*, Left> left;
    left.reserve(fixedMen.size() * 2);

    out.Steps.reserve(out.Events.size() + 1);
    out.Steps.push_back(start);
    for (ScheduleEvent& ev : out.Events) {
        if (out.Steps.size() == 1 || out.Steps.back().When != ev.When) {
            ScheduleStep next = out.Steps.back();
            next.Start = false;
            next.When = ev.When;
            out.Steps.push_back(next);
        }
        ScheduleStep& step = out.Steps.back();
        if (ev.Kind == ScheduleEventKind::Release && ev.Side >= 0) {
            const TOobRec* unit = scn.ReleaseList()[static_cast<std::size_t>(ev.Index)]->Unit;
            const std::int64_t men = fixedMen[unit];
            if (men == 0) continue;
            Left& l = left[unit];
            const double share = std::clamp(ev.Chance, 0, 100) / 100.0;
            const double freed = static_cast<double>(men) * l.expected * share;
            l.expected *= 1.0 - share;
            const auto side = static_cast<std::size_t>(ev.Side);
            ev.Adds[side] = freed;
            step.Sides[side].Fixed -= freed;
            step.Sides[side].Free += freed;
            if (ev.Chance >= 100 && !l.sure) {
                l.sure = true;
                ev.AddsSure[side] = men;
                step.Sides[side].FixedSure -= men;
                step.Sides[side].FreeSure += men;
            }
        } else if (ev.Kind == ScheduleEventKind::Arrival) {
            for (std::size_t side = 0; side < 2; ++side) {
                step.Sides[side].Arrived += ev.Adds[side];
                step.Sides[side].ArrivedSure += ev.AddsSure[side];
            }
        }
    }
    return out;
}

std::string EventLine(const Scenario& scn, const ScheduleEvent& ev) {
    const auto i = static_cast<std::size_t>(ev.Index);
    switch (ev.Kind) {
    case ScheduleEventKind::Release:
        if (i < scn.ReleaseList().size() && scn.ReleaseList()[i] && scn.ReleaseList()[i]->Unit)
            return scn.ReleaseList()[i]->Unit->Display;
        break;
    case ScheduleEventKind::Arrival:
        if (i < scn.ReinfList().size() && scn.ReinfList()[i] && scn.ReinfList()[i]->Count > 0 &&
            scn.ReinfList()[i]->Units[0])
            return ReinfDisplay(*scn.ReinfList()[i]->Units[0], scn.ReinfList()[i]->Count);
        break;
    case ScheduleEventKind::Command:
        if (i < scn.CommandList().size() && scn.CommandList()[i] && scn.CommandList()[i]->Unit)
            return scn.CommandList()[i]->Unit->Display;
        break;
    }
    return {};
}

std::string CommandName(int command) {
    static const char* const names[] = {"Defend - Extreme", "Defend", "Idle", "Attack", "Attack - Extreme"};
    if (command >= 0 && command < 5) return names[command];
    return std::to_string(command);
}

std::string MenText(double men) {
    char text[48];
    std::snprintf(text, sizeof text, "%.2f", men);
    std::string s = text;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
}

std::string EventText(const Scenario& scn, const ScheduleEvent& ev) {
    std::string text;
    char head[96] = "";
    switch (ev.Kind) {
    case ScheduleEventKind::Release:
        std::snprintf(head, sizeof head, "Release %s at %d%%", DateText(ev.When).c_str(), ev.Chance);
        break;
    case ScheduleEventKind::Arrival:
        std::snprintf(head, sizeof head, "Arrival %s at %d%% hex %d,%d", DateText(ev.When).c_str(), ev.Chance, ev.Col,
                      ev.Row);
        break;
    case ScheduleEventKind::Command:
        std::snprintf(head, sizeof head, "Command group %d %s hex %d,%d ", ev.Group, DateText(ev.When).c_str(), ev.Col,
                      ev.Row);
        break;
    }
    text = head;
    if (ev.Kind == ScheduleEventKind::Command) text += CommandName(ev.Command);
    text += ": " + EventLine(scn, ev);
    if (ev.Kind == ScheduleEventKind::Command) return text;
    const char* what = ev.Kind == ScheduleEventKind::Release ? " freed " : " +";
    bool any = false;
    for (int side = 0; side < 2; ++side) {
        const auto s = static_cast<std::size_t>(side);
        if (ev.Adds[s] == 0 && ev.AddsSure[s] == 0 && side != ev.Side) continue;
        text += std::string("  ") + SideName(side) + what + MenText(ev.Adds[s]) + " (sure " +
                std::to_string(ev.AddsSure[s]) + ")";
        any = true;
    }
    if (!any) text += "  adds nothing";
    return text;
}

std::string StepText(const ScheduleStep& step, int side) {
    const SideStrength& s = step.Sides[side == kSideUnion ? 1 : 0];
    return (step.Start ? std::string("Start") : DateText(step.When)) + " " + SideName(side) + ": free " +
           MenText(s.Free) + " fixed " + MenText(s.Fixed) + " arrived " + MenText(s.Arrived) + " total " +
           MenText(s.Total()) + " (sure " + std::to_string(s.TotalSure()) + ")";
}

std::vector<std::string> ScheduleTable(const Schedule& schedule, bool csv) {
    std::vector<std::string> lines;
    lines.reserve(schedule.Steps.size() * 2 + 1);
    const char* const columns[] = {"date",  "side",      "free",       "fixed",        "arrived",
                                   "total", "free_sure", "fixed_sure", "arrived_sure", "total_sure"};
    auto row = [csv](const std::vector<std::string>& cells) {
        std::string line;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (csv) {
                if (i) line += ',';
                line += cells[i];
            } else {
                // The date and side to the left, the numbers to the right.
                const std::size_t width = i == 0 ? 16 : i == 1 ? 11 : 12;
                std::string cell = cells[i];
                if (cell.size() < width) {
                    const std::string pad(width - cell.size(), ' ');
                    cell = i < 2 ? cell + pad : pad + cell;
                }
                if (i) line += ' ';
                line += cell;
            }
        }
        while (!csv && !line.empty() && line.back() == ' ') line.pop_back();
        return line;
    };
    lines.push_back(row(std::vector<std::string>(std::begin(columns), std::end(columns))));
    for (const ScheduleStep& step : schedule.Steps) {
        for (int side = 0; side < 2; ++side) {
            const SideStrength& s = step.Sides[static_cast<std::size_t>(side)];
            lines.push_back(
                row({step.Start ? "start" : DateText(step.When), SideName(side), MenText(s.Free), MenText(s.Fixed),
                     MenText(s.Arrived), MenText(s.Total()), std::to_string(s.FreeSure), std::to_string(s.FixedSure),
                     std::to_string(s.ArrivedSure), std::to_string(s.TotalSure())}));
        }
    }
    return lines;
}

}  // namespace varno
