#pragma once
// varno-cli check --all: the whole-scenario check (scncheckall.h), one
// finding a line or the report as JSON.
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>

#include "scenario/scncheckall.h"

namespace varno {

// The report as JSON: {"scenario", "mapGrid": {"cols", "rows"} or null,
// "mapSkipped": reason or null, "counts": {code: n, ...} (every kind),
// "findings": [{"code", "severity", "list", "index", "dotName", "display",
// "col", "row", "text"}]}. Texts from the order of battle read as Latin-1.
nlohmann::ordered_json CheckReportJson(const std::string& path, const std::optional<MapGrid>& grid,
                                       const ScnCheckReport& report);

// Reads the scenario as Varno does, checks it against the MAIN.MAP of its
// folder and prints the findings: kExitOk without any, kExitFindings with
// some, kExitError when the scenario cannot be read.
int RunCheckAll(const std::string& typed, bool asJson, std::ostream& out, std::ostream& err);

}  // namespace varno
