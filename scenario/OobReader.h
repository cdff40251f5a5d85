#pragma once
// Reads the game's order of battle, MAIN.OOB, from the scenario's directory.
#include <string>

#include "ReadListener.h"
#include "Scenario.h"

// scnPath is the scenario path (absolute). Sets OobPath, GameDir, OobList,
// CurOob, makes GameDir the working directory, reports every lbUnits line to
// `listener`, and then calls listener.oobRead(). Throws ScnError with the
// user's message on any failure; OobList keeps what was read until then.
void ReadOob(Scenario& scn, const std::string& scnPath, ReadListener& listener);

// The reading of the file's contents alone (used by ReadOob, tests and fuzzing).
void ReadOobText(Scenario& scn, class LineReader& in, ReadListener& listener);
