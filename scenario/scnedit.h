#pragma once
// The changes the editor makes to a scenario's records. Every Add, Remove,
// store of a page's fields and move of a placement goes through these
// operations: they keep the links between records, set Modified when a
// record changes, and tell a listener which list box lines changed, so that
// a window can keep its lists in step (as the readers do).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "scenario/readlistener.h"
#include "scenario/scenario.h"

namespace varno {

// What the operations tell a window. lineAdded (from ReadListener) appends a
// line at the end of the list box; the others name a line by its index,
// which is the record's index in its list.
class EditListener : public ReadListener {
public:
    // The line at `index` is deleted; the lines after it move up.
    virtual void lineRemoved(ScnListBox, int /*index*/) {}
    // The text of the line at `index` becomes `text`.
    virtual void lineChanged(ScnListBox, int /*index*/, std::string_view /*text*/) {}
    // The record shown by the line at `index` has new values (its text is unchanged).
    virtual void recordChanged(ScnListBox, int /*index*/) {}
};

// A date and time as the pages show it: the year in full (1861), not less
// than 1800 - 255 apart; every value is stored as its low 8 bits.
struct DateFields {
    std::int32_t Year = 1861, Month = 1, Day = 1, Hour = 6, Minute = 0;
    bool operator==(const DateFields&) const = default;
};

// The Set Units page's values of a placement; stored as their low 8 bits.
struct SetupFields {
    std::int32_t Col = 0, Row = 0, Strength = 1, Facing = 1, Fatigue = 0;
    std::uint32_t Flags = 0;
    bool operator==(const SetupFields&) const = default;
};

// The defaults row of the Set Units page, for new placements.
struct SetupDefaults {
    std::int32_t Facing = 1;
    bool Mounted = false;
    bool Fixed = false;
};

struct ReleaseFields {
    DateFields When;
    std::int32_t Chance = 100;
    bool operator==(const ReleaseFields&) const = default;
};

struct GroupFields {
    DateFields When;
    std::int32_t Chance = 100, Col = 0, Row = 0, Facing = 1, ProtHexes = 0;
    bool operator==(const GroupFields&) const = default;
};

struct CommandFields {
    DateFields When;
    std::int32_t Group = 1, Col = 0, Row = 0;
    std::int32_t Command = -1;  // 0 to 4; -1 (none chosen) is stored as 255
    bool operator==(const CommandFields&) const = default;
};

// The most units a group made through Add holds; a file may give up to ten.
constexpr int kGroupAddLimit = 8;

// --- Placements -----------------------------------------------------------

// True when `entry` may be placed (again): a unit, leader or wagon, and for
// a unit or leader only while it has no placement.
bool CanPlace(const TOobRec& entry);

// Places `entry` at hex 0, 0 with its order-of-battle strength and the
// defaults' facing and flags (a leader is always mounted). The new record is
// the last of SetupList and CurSetup; the entry's Setup names it. Null (and
// nothing changed) when CanPlace refuses.
TSetupRec* AddSetup(Scenario& scn, TOobRec* entry, const SetupDefaults& defaults, EditListener& listener);

// Takes `rec` out of SetupList. Its entry becomes CurOob and loses its Setup
// link (also a wagon with other placements). No longer current. The record
// stays readable. False when `rec` is not in the list.
bool RemoveSetup(Scenario& scn, TSetupRec* rec, EditListener& listener);

// Writes the page's values into `rec` when any differs from it (a byte read
// as 0 to 255 against the full value). True, and Modified, when it wrote.
bool StoreSetup(Scenario& scn, TSetupRec* rec, const SetupFields& fields, EditListener& listener);

// Moves `rec` to hex (col, row) (low 8 bits each). True, and Modified, when
// the hex changed.
bool MoveSetup(Scenario& scn, TSetupRec* rec, int col, int row, EditListener& listener);

// Puts `entry` on hex (col, row), as one change: a unit or leader already
// placed moves there (MoveSetup); anything else CanPlace allows is placed anew
// (AddSetup) and then moved there. The placement becomes CurSetup and is
// returned; null (nothing changed) for an entry that cannot be placed.
TSetupRec* PlaceEntryAt(Scenario& scn, TOobRec* entry, int col, int row, const SetupDefaults& defaults,
                        EditListener& listener);

// The page's values of a placement, as StoreSetup compares them.
SetupFields FieldsOf(const TSetupRec& rec);

// The label of a placement for the map: for a unit ('U') its name, the text
// after the first four blank-separated words of its line; for any other
// kind the last `n` characters of its line. At most `n` characters.
std::string SetupLineLabel(const TSetupRec& rec, std::size_t n);

// --- Releases -------------------------------------------------------------

// The first release of `entry` in list order, or null.
TReleaseRec* FindRelease(const Scenario& scn, const TOobRec* entry);
// A new release of `entry` at the given date and time with chance 100.
TReleaseRec* AddRelease(Scenario& scn, TOobRec* entry, const DateFields& when, EditListener& listener);
bool RemoveRelease(Scenario& scn, TReleaseRec* rec, EditListener& listener);
bool StoreRelease(Scenario& scn, TReleaseRec* rec, const ReleaseFields& fields, EditListener& listener);
ReleaseFields FieldsOf(const TReleaseRec& rec);

// --- Reinforcement groups -------------------------------------------------

// True when `entry` may join a group: a unit, leader or wagon.
bool CanReinforce(const TOobRec& entry);
// The first group holding `entry` in one of its used slots, or null.
TReinfGroup* FindGroupOf(const Scenario& scn, const TOobRec* entry);
// A new group of `entry` from the fields, with chance 100 whatever they say.
TReinfGroup* AddGroup(Scenario& scn, TOobRec* entry, const GroupFields& fields, EditListener& listener);
// Puts `entry` into the next slot of `group`; the group's line gains " ..."
// with its second unit. False, and nothing changed, when all ten slots are
// used or the group is not in the list.
bool AddToGroup(Scenario& scn, TReinfGroup* group, TOobRec* entry, EditListener& listener);
// Takes the unit of `slot` out of `group`, moving the later units up. The
// group's line is rebuilt when its first unit changed or one unit is left:
// the new first unit's line, "..." when two or more remain. A group's only
// unit removes the group. False when slot or group is not valid.
bool RemoveGroupUnit(Scenario& scn, TReinfGroup* group, int slot, EditListener& listener);
// Takes `group` out of ReinfList (no longer current).
bool RemoveGroup(Scenario& scn, TReinfGroup* group, EditListener& listener);
bool StoreGroup(Scenario& scn, TReinfGroup* group, const GroupFields& fields, EditListener& listener);
GroupFields FieldsOf(const TReinfGroup& group);

// --- Commands -------------------------------------------------------------

TCommandRec* AddCommand(Scenario& scn, TOobRec* entry, const CommandFields& fields, EditListener& listener);
bool RemoveCommand(Scenario& scn, TCommandRec* rec, EditListener& listener);
bool StoreCommand(Scenario& scn, TCommandRec* rec, const CommandFields& fields, EditListener& listener);
CommandFields FieldsOf(const TCommandRec& rec);

}  // namespace varno
