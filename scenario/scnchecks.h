#pragma once
// What the designer asks of a scenario beyond editing it: the stacking check
// of the hexes, the organisation strength lists and the search of the
// order-of-battle lines. (The strength synch is an edit: scenario/scnedit.h.)
// Shared by the editor's windows and the command line.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/records.h"

namespace varno {

// ---------------------------------------------------------------------------
// Stacking

// What a placement counts as toward the limits of its hex.
enum class HexCount { Nothing, Wagon, Unit };

struct HexLoad {
    int Load = 0;  // load points
    HexCount Counts = HexCount::Nothing;
};

// The stacking limits of one hex. Leaders count toward none of them.
inline constexpr int kMaxHexLoad = 1000;
inline constexpr int kMaxHexWagons = 1;
inline constexpr int kMaxHexUnits = 8;

// The load of a placement, by the entry it places: a wagon ('S') 50 per point
// of the placement's Strength, a unit ('U') of type 'A' or 'H' 50, any other
// unit 25; leaders, organisations and a placement of no entry nothing.
HexLoad PlacementLoad(const TSetupRec& rec);

// Told (i + 1, count) before placement i is examined, for i = 0, 20, 40, ...
using CheckProgress = std::function<void(std::size_t done, std::size_t count)>;

// The overloaded-hex check. A hex is tested each time a second or later
// placement (in list order) joins it, and reported at the first such moment
// that breaks a limit, with every limit broken then: "%d,%d Overfilled" (load
// above 1000), "%d,%d Too many wagons" (more than 1), "%d,%d Too many Units"
// (more than 8), in that order, with the hex's column and row. Hexes come in
// the order of their first placement; a hex of one placement is never
// reported. Null entries of the list are passed over. Linear in the length of
// the list.
std::vector<std::string> FindOverloadedHexes(RecordList<TSetupRec> setups, const CheckProgress& progress = {});

// One finding of the overloaded-hex check with the hex it names.
struct HexFinding {
    int Col = 0;
    int Row = 0;
    std::string Text;  // as FindOverloadedHexes gives it
    bool operator==(const HexFinding&) const = default;
};

// The same check, each finding with its hex (a hex breaking two limits gives
// two findings).
std::vector<HexFinding> CheckOverloadedHexes(RecordList<TSetupRec> setups, const CheckProgress& progress = {});

// ---------------------------------------------------------------------------
// Strength

// "Organizational Strength from " with "Start of Scenario" or "Order of Battle".
std::string StrengthCaption(bool fromScenario);

// The organisation totals of the first `count` entries of `oob`, by index:
// every unit ('U') adds 25 times its strength (its placement's when
// fromScenario, 0 when it is not placed; else its own) to every organisation
// above it; wagons and leaders count nothing. A total is a result of its
// own: the entries' Strength (the file's values) stays as read.
std::vector<std::int32_t> ComputeOrgTotals(RecordList<TOobRec> oob, bool fromScenario,
                                           std::size_t count = std::numeric_limits<std::size_t>::max());

// The strength list: ComputeOrgTotals, then one line for every organisation
// of Kind 'A' to 'D' with a total other than 0, in list order: two blanks per
// number of its dot name after the first, its order-of-battle line, and the
// total as "  %5d". Bytes as in the order of battle.
std::vector<std::string> StrengthLines(RecordList<TOobRec> oob, bool fromScenario,
                                       std::size_t count = std::numeric_limits<std::size_t>::max());

// ---------------------------------------------------------------------------
// Search

// The text with the letters A to Z made lower case; every other byte as it is.
std::string FoldAZ(std::string_view text);

// Told i before line i is examined, for i = 0, 10, 20, ...
using SearchProgress = std::function<void(std::size_t line)>;

// The index of the first of `count` lines that holds `text`, letters A to Z
// compared without regard to case; -1 when none does. An empty text is in no
// line.
int SearchLines(std::size_t count, const std::function<std::string_view(std::size_t)>& lineAt, std::string_view text,
                const SearchProgress& progress = {});

// SearchLines over the order-of-battle lines (the entries' Display) of the
// first `count` entries of `oob`.
int SearchOob(RecordList<TOobRec> oob, std::string_view text, const SearchProgress& progress = {},
              std::size_t count = std::numeric_limits<std::size_t>::max());

}  // namespace varno
