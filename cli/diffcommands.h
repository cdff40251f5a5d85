#pragma once
// varno-cli's comparison of two scenarios and its readable dump (scndiff.h).
#include <iosfwd>
#include <string>

namespace varno {

// Reads both scenarios, each over the order of battle of its own folder, and
// prints their differences one a line, or as JSON. kExitOk when equal,
// kExitFindings when they differ, kExitError when one cannot be read.
int RunDiff(const std::string& oldTyped, const std::string& newTyped, bool asJson, std::ostream& out,
            std::ostream& err);

// The scenario's records as readable lines (for a repository's textconv).
// A gameDir that is not empty names the folder whose MAIN.OOB is read,
// instead of the scenario's own.
int RunDumpText(const std::string& typed, const std::string& gameDir, std::ostream& out, std::ostream& err);

}  // namespace varno
