#pragma once
// Reads the game's order of battle, MAIN.OOB, from the scenario's directory.
#include <string>

#include "scenario/readlistener.h"
#include "scenario/scenario.h"

namespace varno {

// scnPath is the scenario path (absolute). Sets OobPath, GameDir, OobList,
// makes GameDir the working directory, reports every lbUnits line to
// `listener`, and then calls listener.oobRead(). Throws ScnError with the
// user's message on any failure; OobList keeps what was read until then.
// Sets ReadIncomplete: the scenario lists belong to the earlier order of
// battle until ReadScenario has run to its end.
void ReadOob(Scenario& scn, const std::string& scnPath, ReadListener& listener);

// The order of battle beside a scenario, found and loaded before anything is
// made from it.
struct LoadedOob {
    std::string Path;  // as found beside the scenario
    std::string Text;
};

// Finds MAIN.OOB beside the scenario at scnPath (absolute) and loads it.
// Throws ScnError, with ReadOob's messages, when it is missing or is no text
// file; changes nothing, so that a caller can refuse a Read before it begins.
LoadedOob LoadOobFile(const std::string& scnPath);

// ReadOob with the file loaded already.
void ReadOob(Scenario& scn, LoadedOob file, ReadListener& listener);

// The reading of the file's contents alone (used by ReadOob, tests and fuzzing):
// empties OobList (telling listener.listCleared(Units)), then reads.
// An entry and its lbUnits line are appended together, so that the list box
// stays parallel to OobList also after a failure. More than 255 entries
// directly in one organisation (or at the top level) are refused: their
// one-byte dot-name numbers would repeat.
void ReadOobText(Scenario& scn, class LineReader& in, ReadListener& listener);

}  // namespace varno
