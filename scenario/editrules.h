#pragma once
// What the pages let the user do with a record, decided before any change:
// the values a placement of each kind of entry may hold, and what Add on the
// Reinforcements page does with an entry.
#include <cstdint>

#include "scenario/records.h"

namespace varno {

class Scenario;

// The status flags a placement of an entry of kind `kind` may be given on the
// Set Units page, and whether it has a fatigue of its own. Leaders and wagons
// have no ammunition, order or fatigue of their own; only a leader can be a
// wounded colonel; a wagon is neither mounted nor dismounting.
struct SetupFieldRules {
    std::uint32_t Flags = 0;
    bool Fatigue = false;

    bool operator==(const SetupFieldRules&) const = default;
};
SetupFieldRules SetupRulesFor(char kind);

// What Add on the Reinforcements page does with an entry.
enum class ReinfAddChoice {
    Refuse,          // the entry cannot arrive as a reinforcement
    ShowOwnGroup,    // the entry is in a group already: that group is shown
    NewGroup,        // no group is selected: a new group of the entry
    AskJoin,         // ask "Add to currently selected group?" (Yes joins, No makes a new group)
    AskNewWhenFull,  // the selected group is full: ask whether to make a new one
};
// `selected` is the group selected on the page, or null.
ReinfAddChoice DecideReinfAdd(const Scenario& scn, const TOobRec* entry, const TReinfGroup* selected);

}  // namespace varno
