#include "cli/scenariojson.h"

#include "cli/termtext.h"

namespace varno {

using json = nlohmann::ordered_json;

namespace {

int FullYear(std::uint8_t stored) { return 1800 + stored; }

json Lines(const std::vector<std::string>& lines) {
    json out = json::array();
    for (const std::string& l : lines) out.push_back(Latin1ToUtf8(l));
    return out;
}

json Char(char c) {
    if (c == 0) return nullptr;
    return Latin1ToUtf8(std::string_view(&c, 1));
}

// The entry a record names: its index in the order of battle and its dot name.
void PutUnit(json& rec, const TOobRec* unit) {
    if (!unit) {
        rec["unit"] = nullptr;
        rec["dotName"] = nullptr;
        rec["display"] = nullptr;
        return;
    }
    rec["unit"] = unit->Index;
    rec["dotName"] = DotName(*unit);
    rec["display"] = Latin1ToUtf8(unit->Display);
}

json Entry(const TOobRec& e) {
    return json{
        {"index", e.Index},
        {"kind", Char(e.Kind)},
        {"unitType", Char(e.UnitType)},
        {"parent", e.Parent},
        {"side", e.Side == 1 ? "Union" : "Confederate"},
        {"strength", e.Strength},
        {"dotName", DotName(e)},
        {"display", Latin1ToUtf8(e.Display)},
    };
}

json Setup(const TSetupRec& s) {
    json rec;
    PutUnit(rec, s.Unit);
    rec["facing"] = s.Facing;
    rec["aux"] = s.Aux;
    rec["strength"] = s.Strength;
    rec["fatigue"] = s.Fatigue;
    rec["flags"] = s.Flags;
    rec["col"] = s.Col;
    rec["row"] = s.Row;
    return rec;
}

json Group(const TReinfGroup& g) {
    json units = json::array();
    const std::size_t n = g.Count < g.Units.size() ? g.Count : g.Units.size();
    for (std::size_t i = 0; i < n; ++i) {
        json u;
        PutUnit(u, g.Units[i]);
        u.erase("display");
        units.push_back(std::move(u));
    }
    json rec;
    rec["display"] = n > 0 && g.Units[0] ? json(Latin1ToUtf8(ReinfDisplay(*g.Units[0], g.Count))) : json(nullptr);
    rec["year"] = FullYear(g.Year);
    rec["month"] = g.Month;
    rec["day"] = g.Day;
    rec["hour"] = g.Hour;
    rec["minute"] = g.Minute;
    rec["chance"] = g.Chance;
    rec["protHexes"] = g.ProtHexes;
    rec["col"] = g.Col;
    rec["row"] = g.Row;
    rec["count"] = g.Count;
    rec["facing"] = g.Facing;
    rec["units"] = std::move(units);
    return rec;
}

json Release(const TReleaseRec& r) {
    json rec;
    PutUnit(rec, r.Unit);
    rec["year"] = FullYear(r.Year);
    rec["month"] = r.Month;
    rec["day"] = r.Day;
    rec["hour"] = r.Hour;
    rec["minute"] = r.Minute;
    rec["chance"] = r.Chance;
    return rec;
}

json Command(const TCommandRec& c) {
    json rec;
    PutUnit(rec, c.Unit);
    rec["group"] = c.Group;
    rec["year"] = FullYear(c.Year);
    rec["month"] = c.Month;
    rec["day"] = c.Day;
    rec["hour"] = c.Hour;
    rec["minute"] = c.Minute;
    rec["col"] = c.Col;
    rec["row"] = c.Row;
    rec["command"] = c.Command;
    return rec;
}

template <class Rec, class F> json Records(RecordList<Rec> list, F&& toJson) {
    json out = json::array();
    for (const Rec* r : list) out.push_back(toJson(*r));
    return out;
}

}  // namespace

json ScenarioJson(const Scenario& scn, const ReadOutcome& read) {
    json out;
    out["path"] = MessageUtf8(read.Path);
    out["oobPath"] = MessageUtf8(scn.OobPath);
    out["complete"] = read.Complete;
    out["error"] = read.Complete ? json(nullptr) : json(MessageUtf8(read.Error));
    out["releaseChanceInFile"] = scn.ReleaseChanceInFile;
    out["skippedReleaseLines"] = scn.SkippedReleaseLines;
    out["skippedCommandLines"] = scn.SkippedCommandLines;
    out["oob"] = Records(scn.OobList(), Entry);
    out["setups"] = Records(scn.SetupList(), Setup);
    out["reinforcements"] = Records(scn.ReinfList(), Group);
    out["releases"] = Records(scn.ReleaseList(), Release);
    out["commands"] = Records(scn.CommandList(), Command);
    out["cmdGroupCounts"] = scn.CmdGroupCounts;
    out["header"] = Lines(scn.ScnHeader());
    out["misc"] = Lines(scn.ScnMisc());
    out["trailer"] = Lines(scn.ScnTrailer());
    return out;
}

}  // namespace varno
