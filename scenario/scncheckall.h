#pragma once
// The whole-scenario check: every mistake the scenario's records show before
// the game finds it in play (a unit off the map, placed twice, a release for
// a unit that never appears, values the game does not know, odd dates), and
// the over-full hexes of FindOverloadedHexes with their own texts. Shared by
// Search > Check Scenario and `varno-cli check --all`.
#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "scenario/mapheader.h"
#include "scenario/readlistener.h"
#include "scenario/scenario.h"

namespace varno {

// The kinds of finding, in the order a report lists them.
enum class CheckKind {
    OffMap,            // a placement's or group's hex outside the map's grid
    PlacedTwice,       // a unit or leader placed more than once
    PlacedAndGrouped,  // a unit or leader placed and in a reinforcement group
    GroupedTwice,      // a unit or leader in two group slots
    ReleaseUnplaced,   // a release of an entry that never appears
    CommandUnplaced,   // a command of an entry that never appears
    ZeroStrength,      // a unit or wagon placed with strength 0
    OverStrength,      // a placement stronger than its order-of-battle entry
    BadFacing,         // a facing that is not 1, 2, 4, 8, 16 or 32
    UnknownFlags,      // flag bits no Set Units box stands for
    BadCommandGroup,   // a command's group outside 1 to 8
    OddYear,           // a date outside 1861 to 1865 (warning)
    BadDate,           // a month or day the calendar does not have (warning)
    Overloaded,        // FindOverloadedHexes' findings
};
inline constexpr std::size_t kCheckKindCount = static_cast<std::size_t>(CheckKind::Overloaded) + 1;

struct CheckKindInfo {
    const char* Code;   // short and stable, for scripts: "off-map"
    const char* Title;  // for people: "Placed off the map"
    bool Warning;       // a doubt rather than a mistake
};
const CheckKindInfo& KindInfo(CheckKind kind);

// One finding. It names its record by the list that holds it and its index
// there (the line of that page's list) and by the entry it concerns.
struct ScnFinding {
    CheckKind Kind = CheckKind::OffMap;
    ScnListBox List = ScnListBox::SetUnits;  // SetUnits, Reinfor, Releases or Commands
    int Index = -1;                          // in that list; -1 for none
    const TOobRec* Unit = nullptr;           // the entry named; null for an over-full hex
    int Col = -1, Row = -1;                  // the hex to show; -1 when none
    std::string Text;                        // the sentence (ASCII)
};

struct ScnCheckReport {
    std::vector<ScnFinding> Findings;  // by kind, then in list order
    std::array<int, kCheckKindCount> Counts{};
    // Why the hexes were not checked against the map; empty when they were.
    std::string MapSkipped;
};

// The map grid of a game folder (`gameDir` ends in '/'), from its MAIN.MAP
// (found in any case). Never throws: without a readable grid, `Skipped`
// says why.
struct CheckMap {
    std::optional<MapGrid> Grid;
    std::string Skipped;
};
CheckMap LoadCheckMap(const std::string& gameDir);

// Checks the scenario. Without a grid the hexes are not compared with the
// map and the report's MapSkipped holds `mapSkipped` (or a reason of its own).
// Linear in the sizes of the lists and the order of battle.
ScnCheckReport CheckScenario(const Scenario& scn, const std::optional<MapGrid>& grid,
                             const std::string& mapSkipped = {});
inline ScnCheckReport CheckScenario(const Scenario& scn, const CheckMap& map) {
    return CheckScenario(scn, map.Grid, map.Skipped);
}

// The same check for reports too large to hold (a million placements make a
// million findings): CountFindings gives the counts and MapSkipped without
// the findings; ForEachFinding then tells every finding, in the report's
// order, to `found` as it is made, and keeps none. `counted` is
// CountFindings' report (a kind without findings is not looked for again).
using FindingSink = std::function<void(const ScnFinding&)>;
ScnCheckReport CountFindings(const Scenario& scn, const std::optional<MapGrid>& grid,
                             const std::string& mapSkipped = {});
void ForEachFinding(const Scenario& scn, const std::optional<MapGrid>& grid, const ScnCheckReport& counted,
                    const FindingSink& found);

// The findings of one record, the `index`th of `list`: those naming it, and
// for a placement those of the over-full hex it stands in. Counts and
// MapSkipped follow.
ScnCheckReport FindingsOfRecord(const Scenario& scn, const ScnCheckReport& report, ScnListBox list, int index);

// One line per finding: "code  dot.name  list line  sentence", two blanks
// between the parts; the entry's parts are left out when it names none.
// Bytes of the order of battle as they are (Latin-1).
std::string FindingLine(const ScnFinding& finding);

// The note a report carries when the map was not checked: "off-map not
// checked: <reason>"; empty when it was.
std::string MapSkippedLine(const ScnCheckReport& report);

}  // namespace varno
