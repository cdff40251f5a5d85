#include "cli/schedulecommand.h"

#include <ostream>

#include "cli/clicommands.h"
#include "cli/jsonwriter.h"
#include "cli/termtext.h"
#include "scenario/scenario.h"
#include "scenario/scnschedule.h"

namespace varno {

namespace {

// The members of each object in the order of their keys' bytes.
void SideJson(JsonWriter& json, std::string_view side, const SideStrength& s) {
    json.Key(side)
        .BeginObject()
        .Member("arrived", s.Arrived)
        .Member("arrivedSure", s.ArrivedSure)
        .Member("fixed", s.Fixed)
        .Member("fixedSure", s.FixedSure)
        .Member("free", s.Free)
        .Member("freeSure", s.FreeSure)
        .Member("total", s.Total())
        .Member("totalSure", s.TotalSure())
        .EndObject();
}

const char* KindName(ScheduleEventKind k) {
    switch (k) {
    case ScheduleEventKind::Release: return "release";
    case ScheduleEventKind::Arrival: return "arrival";
    case ScheduleEventKind::Command: return "command";
    }
    return "";
}

void EventJson(JsonWriter& json, const Scenario& scn, const ScheduleEvent& ev) {
    const bool command = ev.Kind == ScheduleEventKind::Command;
    json.BeginObject();
    if (!command) {
        json.Key("adds").BeginObject();
        for (const int side : {kSideConfederate, kSideUnion})
            json.Key(SideName(side))
                .BeginObject()
                .Member("expected", ev.Adds[static_cast<std::size_t>(side)])
                .Member("sure", ev.AddsSure[static_cast<std::size_t>(side)])
                .EndObject();
        json.EndObject().Member("chance", ev.Chance);
    }
    if (command) json.Member("command", CommandName(ev.Command));
    json.Member("date", DateText(ev.When));
    if (command) json.Member("group", ev.Group);
    if (ev.Kind != ScheduleEventKind::Release) json.Key("hex").BeginArray().Value(ev.Col).Value(ev.Row).EndArray();
    json.Member("index", ev.Index).Member("kind", KindName(ev.Kind)).Member("line", Latin1ToUtf8(EventLine(scn, ev)));
    json.Key("side");
    ev.Side < 0 ? json.Value(nullptr) : json.Value(SideName(ev.Side));
    json.EndObject();
}

void ScheduleJson(JsonWriter& json, const Scenario& scn, const Schedule& s) {
    json.BeginObject().Key("events").BeginArray();
    for (const ScheduleEvent& ev : s.Events) EventJson(json, scn, ev);
    json.EndArray().Key("steps").BeginArray();
    for (const ScheduleStep& step : s.Steps) {
        json.BeginObject();
        SideJson(json, SideName(kSideConfederate), step.Sides[kSideConfederate]);
        SideJson(json, SideName(kSideUnion), step.Sides[kSideUnion]);
        json.Member("date", step.Start ? std::string("start") : DateText(step.When)).EndObject();
    }
    json.EndArray().EndObject();
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
        JsonWriter json(out);
        ScheduleJson(json, scn, s);
        json.Flush();
        out << '\n';
        return kExitOk;
    }
    TerminalWriter term(out);
    for (const std::string& line : ScheduleTable(s, format == ScheduleFormat::Csv)) term.Line(line);
    return kExitOk;
}

}  // namespace varno
