#pragma once
// The commands of varno-cli. Each reads the scenario exactly as Varno's Read
// does, works through the core, writes its results to `out` and its errors
// to `err`, and returns the program's exit status.
#include <iosfwd>
#include <string>

#include "cli/scenariojson.h"

namespace varno {

class Scenario;

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitError = 1;     // the scenario could not be read or saved
inline constexpr int kExitUsage = 2;     // the arguments are wrong
inline constexpr int kExitFindings = 3;  // check: the scenario has overloaded hexes

// "<path>: not enough memory", the message of a std::bad_alloc.
std::string NotEnoughMemory(const std::string& path);

// Varno's Read: MAIN.OOB from the scenario's folder, then the scenario, the
// typed path made absolute first. Never throws; the outcome tells.
ReadOutcome ReadLikeVarno(Scenario& scn, const std::string& typed);

// Counts of the lists, then the overloaded-hex findings; kExitFindings when
// there are any.
int RunCheck(const std::string& typed, std::ostream& out, std::ostream& err);

// The organisation strength list, from the placements or from the order of battle.
int RunStrength(const std::string& typed, bool fromScenario, std::ostream& out, std::ostream& err);

int RunDump(const std::string& typed, std::ostream& out, std::ostream& err);

// The release form of a save: the one the file was read in, or a chosen one.
enum class ReleaseForm { AsRead, V103, Chance };

// force: replace the file also when another program changed it since the read.
int RunSave(const std::string& typed, bool sortByCol, ReleaseForm form, bool force, std::ostream& out,
            std::ostream& err);

}  // namespace varno
