#pragma once
// Reads a scenario file (*.SCN) against the order of battle just read.
#include <string>

#include "scenario/filestamp.h"
#include "scenario/readlistener.h"
#include "scenario/scenario.h"

namespace varno {

// Clears the four lists and the verbatim lists, then reads scnPath. A path
// that names no file gives an empty scenario. Returns normally only when the
// whole file was read; throws ScnError with the user's message otherwise,
// leaving every list in step with what the listener was told.
// ReadIncomplete is set while it reads and cleared only when it returns
// normally; ReleaseChanceInFile tells whether a release line carried a chance.
void ReadScenario(Scenario& scn, const std::string& scnPath, ReadListener& listener);

// A scenario file loaded and judged before anything is made from it.
struct ScenarioFile {
    std::string Path;
    bool Exists = false;
    std::string Text;
    FileStamp Stamp;
};
// Loads scnPath (no file: Exists false). Throws ScnError when it cannot be
// read, is no regular file or too large, or is not a text file of ours:
// "<path> is not a scenario file: <reason>". Changes nothing.
ScenarioFile LoadScenarioFile(const std::string& scnPath);
// ReadScenario on a file loaded before (so that a file refused by
// LoadScenarioFile stops a Read before the order of battle is read).
void ReadScenario(Scenario& scn, const ScenarioFile& file, ReadListener& listener);

// The reset that starts every read: empties the four lists (telling the
// listener), the verbatim lists and CmdGroupCounts;
// ReleaseChanceInFile and the skipped-line counts are cleared.
void ResetScenario(Scenario& scn, ReadListener& listener);

// The reading of the file's contents alone, after the reset.
void ReadScenarioText(Scenario& scn, class LineReader& in, ReadListener& listener);

}  // namespace varno
