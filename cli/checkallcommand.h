#pragma once
// varno-cli check --all: the whole-scenario check (scncheckall.h), one
// finding a line or the report as JSON.
#include <iosfwd>
#include <string>

namespace varno {

// Reads the scenario as Varno does, checks it against the MAIN.MAP of its
// folder and prints the findings, each as it is found: kExitOk without any,
// kExitFindings with some, kExitError when the scenario cannot be read.
// The JSON: {"scenario", "mapGrid": {"cols", "rows"} or null, "mapSkipped":
// reason or null, "counts": {code: n, ...} (every kind), "findings":
// [{"code", "severity", "list", "index", "dotName", "display", "col", "row",
// "text"}]}; texts from the order of battle read as Latin-1.
int RunCheckAll(const std::string& typed, bool asJson, std::ostream& out, std::ostream& err);

}  // namespace varno
