#pragma once
// The changes the editor makes to a scenario's records. Every Add, Remove,
// store of a page's fields, move of a placement, the strength synch and a
// new header go through these operations: they keep the links between
// records, set Modified when a record changes, and tell a listener which
// list box lines changed, so that a window can keep its lists in step (as
// the readers do).
//
// Each operation takes the records it acts on as arguments and the EditStep
// (scenario/editstep.h) of the user's action under way, which it appends its
// changes to; there is no way to change a record without one (a Scenario
// shows its records as const). Undo and Redo (at the end) take a step back
// and do it again, with the same notifications. A document keeps one step
// per user action:
//
//     EditStep step;
//     if (StoreSetup(scn, rec, fields, listener, step)) push(std::move(step));
//     ...
//     Undo(scn, step, listener);   // records, lines, links
//     Redo(scn, step, listener);   // as the action left them
//
// The operations leave the selection alone: the caller selects what the
// action made (the record an Add returns), and a document takes removed
// records out of its selection (selection.h).
//
// The action is done when its step is pushed: a QUndoCommand holding the
// step lets its first redo() (which QUndoStack::push calls) pass, and calls
// Redo from the second on. Undo and Redo leave Modified alone: a document
// derives it from its history. A window that draws placements redraws the
// step's SetupHexes() after either.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "scenario/editstep.h"
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
    // A line `text` is put in at `index` (0 to the line count); the lines
    // from there on move down. Undo and Redo bring records back so.
    virtual void lineInserted(ScnListBox, int /*index*/, std::string_view /*text*/) {}
    // The scenario's header lines were replaced.
    virtual void headerChanged() {}
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
// the last of SetupList; the entry's Setup names it. Null (and nothing
// changed) when CanPlace refuses.
const TSetupRec* AddSetup(Scenario& scn, const TOobRec* entry, const SetupDefaults& defaults, EditListener& listener,
                          EditStep& step);

// Takes `rec` out of SetupList. Its entry loses its Setup link (also a
// wagon with other placements). The record stays readable. False when `rec`
// is not in the list.
bool RemoveSetup(Scenario& scn, const TSetupRec* rec, EditListener& listener, EditStep& step);

// Writes the page's values into `rec` when any differs from it (a byte read
// as 0 to 255 against the full value). True, and Modified, when it wrote.
bool StoreSetup(Scenario& scn, const TSetupRec* rec, const SetupFields& fields, EditListener& listener, EditStep& step);

// Moves `rec` to hex (col, row) (low 8 bits each). True, and Modified, when
// the hex changed.
bool MoveSetup(Scenario& scn, const TSetupRec* rec, int col, int row, EditListener& listener, EditStep& step);

// Puts `entry` on hex (col, row), as one change (one step): a unit or leader
// already placed moves there (MoveSetup); anything else CanPlace allows is
// placed anew (AddSetup) and then moved there. The placement is returned
// (also one already there), null for an entry that cannot be placed.
const TSetupRec* PlaceEntryAt(Scenario& scn, const TOobRec* entry, int col, int row, const SetupDefaults& defaults,
                              EditListener& listener, EditStep& step);

// The page's values of a placement, as StoreSetup compares them.
SetupFields FieldsOf(const TSetupRec& rec);

// The label of a placement for the map: for a unit ('U') its name, the text
// after the first four blank-separated words of its line; for any other
// kind the last `n` characters of its line. At most `n` characters.
std::string SetupLineLabel(const TSetupRec& rec, std::size_t n);

// --- Releases -------------------------------------------------------------

// The first release of `entry` in list order, or null.
const TReleaseRec* FindRelease(const Scenario& scn, const TOobRec* entry);
// A new release of `entry` at the given date and time with chance 100.
const TReleaseRec* AddRelease(Scenario& scn, const TOobRec* entry, const DateFields& when, EditListener& listener,
                              EditStep& step);
bool RemoveRelease(Scenario& scn, const TReleaseRec* rec, EditListener& listener, EditStep& step);
bool StoreRelease(Scenario& scn, const TReleaseRec* rec, const ReleaseFields& fields, EditListener& listener,
                  EditStep& step);
ReleaseFields FieldsOf(const TReleaseRec& rec);

// --- Reinforcement groups -------------------------------------------------

// True when `entry` may join a group: a unit, leader or wagon.
bool CanReinforce(const TOobRec& entry);
// The first group holding `entry` in one of its used slots, or null.
const TReinfGroup* FindGroupOf(const Scenario& scn, const TOobRec* entry);
// A new group of `entry` from the fields, with chance 100 whatever they say.
const TReinfGroup* AddGroup(Scenario& scn, const TOobRec* entry, const GroupFields& fields, EditListener& listener,
                            EditStep& step);
// Puts `entry` into the next slot of `group`; the group's line gains " ..."
// with its second unit. False, and nothing changed, when all ten slots are
// used or the group is not in the list.
bool AddToGroup(Scenario& scn, const TReinfGroup* group, const TOobRec* entry, EditListener& listener, EditStep& step);
// Takes the unit of `slot` out of `group`, moving the later units up. The
// group's line is rebuilt when its first unit changed or one unit is left:
// the new first unit's line, "..." when two or more remain. A group's only
// unit removes the group. False when slot or group is not valid.
bool RemoveGroupUnit(Scenario& scn, const TReinfGroup* group, int slot, EditListener& listener, EditStep& step);
// Takes `group` out of ReinfList.
bool RemoveGroup(Scenario& scn, const TReinfGroup* group, EditListener& listener, EditStep& step);
bool StoreGroup(Scenario& scn, const TReinfGroup* group, const GroupFields& fields, EditListener& listener,
                EditStep& step);
GroupFields FieldsOf(const TReinfGroup& group);

// --- Commands -------------------------------------------------------------

const TCommandRec* AddCommand(Scenario& scn, const TOobRec* entry, const CommandFields& fields, EditListener& listener,
                              EditStep& step);
bool RemoveCommand(Scenario& scn, const TCommandRec* rec, EditListener& listener, EditStep& step);
bool StoreCommand(Scenario& scn, const TCommandRec* rec, const CommandFields& fields, EditListener& listener,
                  EditStep& step);
CommandFields FieldsOf(const TCommandRec& rec);

// --- Copies of records ------------------------------------------------------

// A record with every value of `values` (a pasted record, whose links name
// entries of this scenario), appended to its list: a placement also becomes
// its entry's Setup, a group gets its list line. Null, and nothing changed,
// when the record cannot be added: a placement CanPlace refuses, a group
// without units or with more than ten, a record without its entry.
const TSetupRec* AddSetupCopy(Scenario& scn, const TSetupRec& values, EditListener& listener, EditStep& step);
const TReleaseRec* AddReleaseCopy(Scenario& scn, const TReleaseRec& values, EditListener& listener, EditStep& step);
const TReinfGroup* AddGroupCopy(Scenario& scn, const TReinfGroup& values, EditListener& listener, EditStep& step);
const TCommandRec* AddCommandCopy(Scenario& scn, const TCommandRec& values, EditListener& listener, EditStep& step);

// --- Putting a record back --------------------------------------------------

// Puts `rec`, a record of this scenario taken out of its list before, back
// at `index` (0 to the list's length) and tells the listener lineInserted.
// Nothing else changes: the links and current pointers its removal changed
// come back with the Undo of that removal. True, and Modified, when it was
// put in; false when rec is null, in the list already, or index is outside.
bool InsertSetup(Scenario& scn, const TSetupRec* rec, int index, EditListener& listener, EditStep& step);
bool InsertRelease(Scenario& scn, const TReleaseRec* rec, int index, EditListener& listener, EditStep& step);
bool InsertGroup(Scenario& scn, const TReinfGroup* group, int index, EditListener& listener, EditStep& step);
bool InsertCommand(Scenario& scn, const TCommandRec* rec, int index, EditListener& listener, EditStep& step);

// --- The strength synch and the header ----------------------------------------

// The strength a placement of `entry` takes from the order of battle: the low
// 8 bits of its Strength (units, wagons and leaders alike).
std::uint8_t OobStrength(const TOobRec& entry);

// Edit > Synch w/ OOB: stores every placement (of an entry) with its
// OobStrength, through StoreSetup, so that one step holds all of it.
// Returns how many placements changed (Modified when any did).
std::size_t SynchStrengths(Scenario& scn, EditListener& listener, EditStep& step);

// The longest header line kept, in bytes.
constexpr std::size_t kHeaderLineMax = 255;
using HeaderLines = std::array<std::string, 9>;

// Replaces the nine header lines. A line given as the scenario holds it is
// kept whole, whatever its length; any other is kept as bytes, up to its
// first CR or LF (a line break would split it in the file) and at most
// kHeaderLineMax bytes. True, Modified and headerChanged when the file's header changes (a
// scenario without header lines has nine empty ones).
bool ReplaceHeader(Scenario& scn, const HeaderLines& lines, EditListener& listener, EditStep& step);
// The nine header lines as a save writes them.
HeaderLines HeaderOf(const Scenario& scn);

// --- A whole scenario's records ------------------------------------------------

// Makes the records and header lines of `scn` those of `from`, a scenario
// read against an order of battle of the same entries (matched by index and
// dot name): every placement, group, release and command of `scn` is taken
// out, those of `from` are put in with their values, in their order, and the
// header replaced, so that one step holds it all and its Undo gives back
// the scenario as it was. The miscellaneous and trailer lines stay (no edit
// changes them). Throws ScnError, changing nothing, when `from` names an
// entry that `scn`'s order of battle does not have.
void ReplaceRecords(Scenario& scn, const Scenario& from, EditListener& listener, EditStep& step);

// --- Undo and redo ------------------------------------------------------------

// Takes back what `step` changed, last change first: records go back into
// their lists at their old index (lineInserted), out of them (lineRemoved),
// get their old values (lineChanged when a group's line differs, then
// recordChanged), links and header lines their old values (headerChanged).
// Modified and the selection are left alone (Selection::Replay). Throws std::logic_error when the scenario is not
// as the step left it (a step undone twice, or out of order).
void Undo(Scenario& scn, const EditStep& step, EditListener& listener);
// Does `step` again after its Undo, first change first, leaving the records,
// lines and links as the step left them.
void Redo(Scenario& scn, const EditStep& step, EditListener& listener);

}  // namespace varno
