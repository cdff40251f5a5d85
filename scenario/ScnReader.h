#pragma once
// Reads a scenario file (*.SCN) against the order of battle just read.
#include <string>

#include "ReadListener.h"
#include "Scenario.h"

// Clears the four lists and the verbatim lists, then reads scnPath. A path
// that names no file gives an empty scenario. Returns normally only when the
// whole file was read; throws ScnError with the user's message otherwise,
// leaving every list in step with what the listener was told.
// ReadIncomplete is set while it reads and cleared only when it returns
// normally; ReleaseChanceInFile tells whether a release line carried a chance.
void ReadScenario(Scenario& scn, const std::string& scnPath, ReadListener& listener);

// The reset that starts every read: empties the four lists (telling the
// listener), the verbatim lists and CmdGroupCounts; no record is current;
// ReleaseChanceInFile is cleared.
void ResetScenario(Scenario& scn, ReadListener& listener);

// The reading of the file's contents alone, after the reset.
void ReadScenarioText(Scenario& scn, class LineReader& in, ReadListener& listener);
