#pragma once
// The scenario as the designer planned it at one time of the map's clock
// (scenario/scnclock.h): which fixed placements are still fixed, which
// reinforcement groups have arrived, which orders of the computer player are
// in effect, and where each order's unit stands. Nothing moves: the plan is
// the records' own places and dates. Plain C++, for the map's overlays, the
// picture varno-cli draws and the tests.
//
// The rules at a time T (never at Start, where nothing has happened yet):
// - A placement with the Fixed flag stays fixed until the earliest release of
//   its entry; at a release dated T or before it is free. A release's chance
//   does not delay it: the plan is what happens when every chance comes true.
// - A group has arrived when its date is T or before.
// - An order (command) is in effect from its date until a later order of the
//   same entry takes effect: of an entry's orders dated T or before, the
//   latest (by date, then list order) is in effect, the earlier ones are
//   superseded; orders dated after T are still to come.
#include <cstdint>
#include <vector>

#include "scenario/scnclock.h"

namespace varno {

class Scenario;
struct TOobRec;

// Where an order's entry stands, for the tail of its arrow.
enum class UnitPlaceKind : std::uint8_t {
    Nowhere,   // neither placed nor in a group: the order gets no arrow
    Placed,    // on the map from the start, at its placement's hex
    Arriving,  // arrives with a reinforcement group, at the group's hex
};

struct UnitPlace {
    UnitPlaceKind Kind = UnitPlaceKind::Nowhere;
    int Col = 0, Row = 0;
    int Index = -1;  // the placement's index in SetupList, or the group's in ReinfList
};

// Where every entry of the order of battle stands, found once for many
// orders: a unit, leader or wagon at its first placement in list order, else
// with the first group (in list order) that holds it; an organisation where
// the first entry below it (in order-of-battle order) that is placed stands,
// else where the first one below it in a group arrives. Lives no longer
// than the scenario's order of battle is left as it is.
class UnitPlaces {
public:
    explicit UnitPlaces(const Scenario& scn);
    UnitPlace Of(const TOobRec* entry) const;

private:
    RecordList<TOobRec> oob_;
    std::vector<UnitPlace> byEntry_;  // by OobList index
};

enum class OrderState : std::uint8_t {
    Later,       // dated after the time (every order at Start)
    InEffect,    // the entry's latest order dated at the time or before
    Superseded,  // a later order of the same entry is in effect
};

struct ScenarioPlan {
    ClockTime Time;
    // By SetupList index: the placement is fixed at Time.
    std::vector<bool> FixedNow;
    // By SetupList index: the release that frees a fixed placement (its
    // entry's earliest, by date and then list order), -1 when there is none
    // or the placement is not fixed.
    std::vector<int> FreedBy;
    // By ReinfList index: the group has arrived by Time.
    std::vector<bool> Arrived;
    // By CommandList index.
    std::vector<OrderState> Orders;
    std::vector<UnitPlace> OrderFrom;
};

// Linear in the lists and the order of battle, plus sorting each entry's orders.
ScenarioPlan PlanAt(const Scenario& scn, ClockTime t);

}  // namespace varno
