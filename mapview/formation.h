#pragma once
// Moving many placements at once on the map, and placing a whole
// organisation around a hex: where each placement goes, what the map's edges
// refuse and what the stacks would hold afterwards. Plain C++ without Qt; the
// window makes the moves through the edit operations.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "mapview/hexgeom.h"
#include "scenario/records.h"
#include "scenario/scnedit.h"

namespace varno {

// A stack takes one more placement of an entry of kind `kind` ('L' a
// leader, anything else counts as a unit) unless it is full; true, and
// counted, when it does.
bool StackTakes(StackCount& count, char kind);

// The placements in the hexes a band from (left, top) to (right, bottom)
// (picture pixels, inclusive) touches, in list order, on a grid of numCols x
// numRows.
std::vector<const TSetupRec*> PlacementsInBand(RecordList<TSetupRec> setups, int left, int top, int right, int bottom,
                                               int numCols, int numRows);

// A move of several placements by one vector, as the user drags, drops or
// nudges them: each keeps its place in the formation.
struct FormationMove {
    // The placements that change hex, with their new hexes, in the order of
    // the list of all placements.
    std::vector<std::pair<const TSetupRec*, HexPos>> Moves;
    std::size_t Moving = 0;  // placements asked to move
    std::size_t OffMap = 0;  // of them, those the move would take off the map
    // The hexes the moving placements enter that would then hold more than a
    // stack takes (drawn in list order, as a Read draws them), in list order.
    std::vector<HexPos> Overfull;

    // The map's edges refuse the whole move.
    bool refused() const { return OffMap > 0; }
};

// Plans moving `moving` (placements of `setups`, the scenario's list) so that
// a placement at `from` comes to `to`. Hexes off the grid of numCols x
// numRows (and beyond the 256 columns and rows a placement holds) count in
// OffMap; a grid of no hexes leaves only that byte limit. When the move is
// refused, Moves is empty. Linear in the list's length.
FormationMove PlanFormationMove(RecordList<TSetupRec> setups, const std::vector<const TSetupRec*>& moving, HexPos from,
                                HexPos to, int numCols, int numRows);

// The one message a planned move gives, or empty: its refusal ("The move
// would take 3 of 24 placements off the map."), else the over-full hexes
// ("Too many units in hex 12,7", "Too many units in 3 hexes: 12,7 13,7 ...").
std::string FormationMessage(const FormationMove& move);

// Makes a planned move (not refused) into the user's step: each placement
// to its hex. Returns how many moved.
std::size_t MakeFormationMove(Scenario& scn, const FormationMove& move, EditListener& listener, EditStep& step);

// Placements not yet in a scenario (pasted ones) moved as a formation so
// that the first comes to `to`: "Paste here" and Duplicate. When any would
// leave the map none moves, and the number that would is returned.
std::size_t ShiftPlacements(std::vector<TSetupRec>& recs, HexPos to, int numCols, int numRows);

// An organisation dropped on a hex: its leaders, units and wagons that have
// no placement yet, in order-of-battle order, each on the first hex of a
// spiral from the drop hex whose stack still takes it (counting what stands
// there already, and never off the grid).
struct OrganisationPlacement {
    std::vector<std::pair<const TOobRec*, HexPos>> Places;
    std::size_t Placed = 0;  // entries of the organisation placed before
    std::size_t NoRoom = 0;  // entries no hex of the grid had room for
};

// `org` is an entry of `oob` (an organisation; any other kind gives no
// places); `setups` the scenario's placements.
OrganisationPlacement PlanOrganisationPlacement(RecordList<TOobRec> oob, const TOobRec& org,
                                                RecordList<TSetupRec> setups, HexPos drop, int numCols, int numRows);

// Places the planned entries into the user's step, each with the defaults
// of new placements; the placements made, in the plan's order.
std::vector<const TSetupRec*> MakeOrganisationPlacement(Scenario& scn, const OrganisationPlacement& plan,
                                                        const SetupDefaults& defaults, EditListener& listener,
                                                        EditStep& step);

// The status text of a placed organisation: "Placed 12 of 2.1: 3 were placed
// already; no room for 1".
std::string OrganisationMessage(const TOobRec& org, const OrganisationPlacement& plan);

}  // namespace varno
