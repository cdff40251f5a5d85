#include "cli/checkallcommand.h"

#include <ostream>

#include "cli/clicommands.h"
#include "cli/termtext.h"
#include "scenario/records.h"
#include "scenario/scenario.h"

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

nlohmann::ordered_json OrNull(int value) {
    return value < 0 ? nlohmann::ordered_json() : nlohmann::ordered_json(value);
}

}  // namespace

nlohmann::ordered_json CheckReportJson(const std::string& path, const std::optional<MapGrid>& grid,
                                       const ScnCheckReport& report) {
    using json = nlohmann::ordered_json;
    json j;
    j["scenario"] = MessageUtf8(path);
    j["mapGrid"] = grid ? json{{"cols", grid->NumCols}, {"rows", grid->NumRows}} : json();
    j["mapSkipped"] = report.MapSkipped.empty() ? json() : json(MessageUtf8(report.MapSkipped));
    json counts = json::object();
    for (std::size_t k = 0; k < kCheckKindCount; ++k)
        counts[KindInfo(static_cast<CheckKind>(k)).Code] = report.Counts[k];
    j["counts"] = counts;
    json findings = json::array();
    for (const ScnFinding& f : report.Findings) {
        const CheckKindInfo& info = KindInfo(f.Kind);
        findings.push_back(json{
            {"code", info.Code},
            {"severity", info.Warning ? "warning" : "error"},
            {"list", ListKey(f.List)},
            {"index", OrNull(f.Index)},
            {"dotName", f.Unit ? json(DotName(*f.Unit)) : json()},
            {"display", f.Unit ? json(Latin1ToUtf8(f.Unit->Display)) : json()},
            {"col", OrNull(f.Col)},
            {"row", OrNull(f.Row)},
            {"text", f.Text},
        });
    }
    j["findings"] = findings;
    return j;
}

int RunCheckAll(const std::string& typed, bool asJson, std::ostream& out, std::ostream& err) {
    Scenario scn;
    const ReadOutcome read = ReadLikeVarno(scn, typed);
    if (!read.Complete) {
        err << TerminalMessage(read.Error) << '\n';
        return kExitError;
    }
    const CheckMap map = LoadCheckMap(scn.GameDir);
    const ScnCheckReport report = CheckScenario(scn, map);
    if (asJson) {
        out << CheckReportJson(read.Path, map.Grid, report).dump(2) << '\n';
    } else {
        if (!report.MapSkipped.empty()) out << MessageUtf8(MapSkippedLine(report)) << '\n';
        for (const ScnFinding& f : report.Findings) out << Latin1ToUtf8(FindingLine(f)) << '\n';
    }
    return report.Findings.empty() ? kExitOk : kExitFindings;
}

}  // namespace varno
