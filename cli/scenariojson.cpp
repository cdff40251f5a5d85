#include "cli/scenariojson.h"

#include "cli/jsonwriter.h"
#include "cli/termtext.h"

namespace varno {

namespace {

int FullYear(std::uint8_t stored) { return 1800 + stored; }

void Lines(JsonWriter& json, std::string_view key, const std::vector<std::string>& lines) {
    json.Key(key).BeginArray();
    for (const std::string& l : lines) json.Value(Latin1ToUtf8(l));
    json.EndArray();
}

void Char(JsonWriter& json, std::string_view key, char c) {
    json.Key(key);
    if (c == 0)
        json.Value(nullptr);
    else
        json.Value(Latin1ToUtf8(std::string_view(&c, 1)));
}

// The entry a record names: its index in the order of battle and its dot
// name (and its line, unless `display` is false).
void PutUnit(JsonWriter& json, const TOobRec* unit, bool display = true) {
    if (!unit) {
        json.Member("unit", nullptr).Member("dotName", nullptr);
        if (display) json.Member("display", nullptr);
        return;
    }
    json.Member("unit", unit->Index).Member("dotName", DotName(*unit));
    if (display) json.Member("display", Latin1ToUtf8(unit->Display));
}

void Entry(JsonWriter& json, const TOobRec& e) {
    json.Member("index", e.Index);
    Char(json, "kind", e.Kind);
    Char(json, "unitType", e.UnitType);
    json.Member("parent", e.Parent)
        .Member("side", e.Side == 1 ? "Union" : "Confederate")
        .Member("strength", e.Strength)
        .Member("dotName", DotName(e))
        .Member("display", Latin1ToUtf8(e.Display));
}

void Setup(JsonWriter& json, const TSetupRec& s) {
    PutUnit(json, s.Unit);
    json.Member("facing", s.Facing)
        .Member("aux", s.Aux)
        .Member("strength", s.Strength)
        .Member("fatigue", s.Fatigue)
        .Member("flags", s.Flags)
        .Member("col", s.Col)
        .Member("row", s.Row);
}

void Group(JsonWriter& json, const TReinfGroup& g) {
    const std::size_t n = g.Count < g.Units.size() ? g.Count : g.Units.size();
    json.Key("display");
    if (n > 0 && g.Units[0])
        json.Value(Latin1ToUtf8(ReinfDisplay(*g.Units[0], g.Count)));
    else
        json.Value(nullptr);
    json.Member("year", FullYear(g.Year))
        .Member("month", g.Month)
        .Member("day", g.Day)
        .Member("hour", g.Hour)
        .Member("minute", g.Minute)
        .Member("chance", g.Chance)
        .Member("protHexes", g.ProtHexes)
        .Member("col", g.Col)
        .Member("row", g.Row)
        .Member("count", g.Count)
        .Member("facing", g.Facing);
    json.Key("units").BeginArray();
    for (std::size_t i = 0; i < n; ++i) {
        json.BeginObject();
        PutUnit(json, g.Units[i], false);
        json.EndObject();
    }
    json.EndArray();
}

void Release(JsonWriter& json, const TReleaseRec& r) {
    PutUnit(json, r.Unit);
    json.Member("year", FullYear(r.Year))
        .Member("month", r.Month)
        .Member("day", r.Day)
        .Member("hour", r.Hour)
        .Member("minute", r.Minute)
        .Member("chance", r.Chance);
}

void Command(JsonWriter& json, const TCommandRec& c) {
    PutUnit(json, c.Unit);
    json.Member("group", c.Group)
        .Member("year", FullYear(c.Year))
        .Member("month", c.Month)
        .Member("day", c.Day)
        .Member("hour", c.Hour)
        .Member("minute", c.Minute)
        .Member("col", c.Col)
        .Member("row", c.Row)
        .Member("command", c.Command);
}

template <class Rec, class F> void Records(JsonWriter& json, std::string_view key, RecordList<Rec> list, F&& fields) {
    json.Key(key).BeginArray();
    for (const Rec* r : list) {
        json.BeginObject();
        fields(json, *r);
        json.EndObject();
    }
    json.EndArray();
}

}  // namespace

void WriteScenarioJson(JsonWriter& json, const Scenario& scn, const ReadOutcome& read) {
    json.BeginObject()
        .Member("path", MessageUtf8(read.Path))
        .Member("oobPath", MessageUtf8(scn.OobPath))
        .Member("complete", read.Complete);
    json.Key("error");
    if (read.Complete)
        json.Value(nullptr);
    else
        json.Value(MessageUtf8(read.Error));
    json.Member("releaseChanceInFile", scn.ReleaseChanceInFile)
        .Member("skippedReleaseLines", scn.SkippedReleaseLines)
        .Member("skippedCommandLines", scn.SkippedCommandLines);
    Records(json, "oob", scn.OobList(), Entry);
    Records(json, "setups", scn.SetupList(), Setup);
    Records(json, "reinforcements", scn.ReinfList(), Group);
    Records(json, "releases", scn.ReleaseList(), Release);
    Records(json, "commands", scn.CommandList(), Command);
    json.Key("cmdGroupCounts").BeginArray();
    for (const std::int32_t n : scn.CmdGroupCounts) json.Value(n);
    json.EndArray();
    Lines(json, "header", scn.ScnHeader());
    Lines(json, "misc", scn.ScnMisc());
    Lines(json, "trailer", scn.ScnTrailer());
    json.EndObject();
}

}  // namespace varno
