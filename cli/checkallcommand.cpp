#include "cli/checkallcommand.h"

#include <ostream>

#include "cli/clicommands.h"
#include "cli/jsonwriter.h"
#include "cli/termtext.h"
#include "scenario/records.h"
#include "scenario/scenario.h"
#include "scenario/scncheckall.h"

namespace varno {

namespace {

// The names `dump` gives the lists.
const char* ListKey(ScnListBox list) {
    switch (list) {
    case ScnListBox::SetUnits: return "setups";
    case ScnListBox::Reinfor: return "reinforcements";
    case ScnListBox::Releases: return "releases";
    case ScnListBox::Commands: return "commands";
    default: return "oob";
    }
}

void OrNull(JsonWriter& json, std::string_view key, int value) {
    json.Key(key);
    if (value < 0)
        json.Value(nullptr);
    else
        json.Value(value);
}

void FindingJson(JsonWriter& json, const ScnFinding& f) {
    const CheckKindInfo& info = KindInfo(f.Kind);
    json.BeginObject()
        .Member("code", info.Code)
        .Member("severity", info.Warning ? "warning" : "error")
        .Member("list", ListKey(f.List));
    OrNull(json, "index", f.Index);
    if (f.Unit)
        json.Member("dotName", DotName(*f.Unit)).Member("display", Latin1ToUtf8(f.Unit->Display));
    else
        json.Member("dotName", nullptr).Member("display", nullptr);
    OrNull(json, "col", f.Col);
    OrNull(json, "row", f.Row);
    json.Member("text", MessageUtf8(f.Text)).EndObject();
}

}  // namespace

int RunCheckAll(const std::string& typed, bool asJson, std::ostream& out, std::ostream& err) {
    Scenario scn;
    const ReadOutcome read = ReadLikeVarno(scn, typed);
    if (!read.Complete) {
        err << TerminalMessage(read.Error) << '\n';
        return kExitError;
    }
    const CheckMap map = LoadCheckMap(scn.GameDir);
    // A large scenario has as many findings as placements: they are counted
    // first and then written as they are found, never held.
    const ScnCheckReport counted = CountFindings(scn, map.Grid, map.Skipped);
    if (asJson) {
        JsonWriter json(out);
        json.BeginObject().Member("scenario", MessageUtf8(read.Path));
        json.Key("mapGrid");
        if (map.Grid)
            json.BeginObject().Member("cols", map.Grid->NumCols).Member("rows", map.Grid->NumRows).EndObject();
        else
            json.Value(nullptr);
        json.Key("mapSkipped");
        if (counted.MapSkipped.empty())
            json.Value(nullptr);
        else
            json.Value(MessageUtf8(counted.MapSkipped));
        json.Key("counts").BeginObject();
        for (std::size_t k = 0; k < kCheckKindCount; ++k)
            json.Member(KindInfo(static_cast<CheckKind>(k)).Code, counted.Counts[k]);
        json.EndObject();
        json.Key("findings").BeginArray();
        ForEachFinding(scn, map.Grid, counted, [&json](const ScnFinding& f) { FindingJson(json, f); });
        json.EndArray().EndObject();
        json.Flush();
        out << '\n';
    } else {
        TerminalWriter term(out);
        if (!counted.MapSkipped.empty()) term.Line(MessageUtf8(MapSkippedLine(counted)));
        ForEachFinding(scn, map.Grid, counted, [&term](const ScnFinding& f) { term.Latin1Line(FindingLine(f)); });
    }
    for (const int n : counted.Counts)
        if (n > 0) return kExitFindings;
    return kExitOk;
}

}  // namespace varno
