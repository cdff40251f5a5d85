#include "cli/schedulecommand.h"

#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/clicommands.h"
#include "cli/termtext.h"
#include "scenario/scenario.h"
#include "scenario/scnschedule.h"

namespace varno {

namespace {

nlohmann::json SideJson(const SideStrength& s) {
    return {{"free", s.Free},
            {"fixed", s.Fixed},
            {"arrived", s.Arrived},
            {"total", s.Total()},
            {"freeSure", s.FreeSure},
            {"fixedSure", s.FixedSure},
            {"arrivedSure", s.ArrivedSure},
            {"totalSure", s.TotalSure()}};
}

const char* KindName(ScheduleEventKind k) {
    switch (k) {
    case ScheduleEventKind::Release: return "release";
    case ScheduleEventKind::Arrival: return "arrival";
    case ScheduleEventKind::Command: return "command";
    }
    return "";
}

nlohmann::json ScheduleJson(const Scenario& scn, const Schedule& s) {
    nlohmann::json steps = nlohmann::json::array();
    for (const ScheduleStep& step : s.Steps) {
        steps.push_back({{"date", step.Start ? "start" : DateText(step.When)},
                         {SideName(kSideConfederate), SideJson(step.Sides[kSideConfederate])},
                         {SideName(kSideUnion), SideJson(step.Sides[kSideUnion])}});
    }
    nlohmann::json events = nlohmann::json::array();
    for (const ScheduleEvent& ev : s.Events) {
        nlohmann::json e = {{"kind", KindName(ev.Kind)},
                            {"index", ev.Index},
                            {"date", DateText(ev.When)},
                            {"line", Latin1ToUtf8(EventLine(scn, ev))},
                            {"side", ev.Side < 0 ? nlohmann::json() : nlohmann::json(SideName(ev.Side))}};
        if (ev.Kind == ScheduleEventKind::Command) {
            e["group"] = ev.Group;
            e["command"] = CommandName(ev.Command);
        } else {
            e["chance"] = ev.Chance;
            for (int side = 0; side < 2; ++side)
                e["adds"][SideName(side)] = {{"expected", ev.Adds[static_cast<std::size_t>(side)]},
                                             {"sure", ev.AddsSure[static_cast<std::size_t>(side)]}};
        }
        if (ev.Kind != ScheduleEventKind::Release) e["hex"] = {ev.Col, ev.Row};
        events.push_back(std::move(e));
    }
    return {{"steps", std::move(steps)}, {"events", std::move(events)}};
}

}  // namespace

int RunSchedule(const std::string& typed, ScheduleFormat format, std::ostream& out, std::ostream& err) {
    Scenario scn;
    const ReadOutcome read = ReadLikeVarno(scn, typed);
    if (!read.Complete) {
        err << TerminalMessage(read.Error) << '\n';
        return kExitError;
    }
    const Schedule s = ComputeSchedule(scn);
    if (format == ScheduleFormat::Json) {
        out << ScheduleJson(scn, s).dump(2) << '\n';
        return kExitOk;
    }
    for (const std::string& line : ScheduleTable(s, format == ScheduleFormat::Csv)) out << line << '\n';
    return kExitOk;
}

}  // namespace varno
