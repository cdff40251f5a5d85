#pragma once
// What one change of the edited scenario changed, as its document tells the
// views after it: a user's action (a page, the map, the strength synch),
// an undo, a redo, a Read, a Restore, a New or a Save. Every view listens to
// this one notification and redraws what it names; nothing refreshes a view
// by hand.
//
// Listeners read what concerns them:
// - the records each list gained, lost or had changed (a step of many
//   records names them all: an action on many placements is one change);
// - the hexes whose stacks changed (the map draws them again);
// - `Whole`: the scenario is another one (Read, Restore, New): start over;
//   `OobRead` says whether its order of battle was read;
// - `Clean`: after the change the scenario equals its file (a Save, or an
//   undo back to the point of the last Read or Save), else it is modified.
#include <utility>
#include <vector>

#include "scenario/records.h"
#include "scenario/selection.h"

namespace varno {

class EditStep;

enum class ChangeCause { Action, Undo, Redo, Read, Restore, New, Save };

struct DocChange {
    ChangeCause Cause = ChangeCause::Action;
    // Every record is another scenario's: nothing below lists them.
    bool Whole = false;
    // Whole: the order of battle was read, so the placements listed (all of
    // the file's, or those read before an error) name its entries. A Read
    // that stopped in the order of battle leaves the placements of the
    // scenario before, whose entries are gone: nothing may draw them.
    bool OobRead = false;
    // The records put into their lists, taken out or given other values,
    // each once, in the order met (entries: those whose placement link changed).
    std::vector<const TOobRec*> Entries;
    std::vector<const TSetupRec*> Placements;
    std::vector<const TReleaseRec*> Releases;
    std::vector<const TReinfGroup*> Groups;
    std::vector<const TCommandRec*> Commands;
    // The header lines changed.
    bool Header = false;
    // Kinds whose lists gained or lost a record (their lines moved), as
    // bits 1 << RecordKind.
    unsigned ListsChanged = 0;
    // The hexes (col, row) whose stacks changed, each once.
    std::vector<std::pair<int, int>> Hexes;
    // The scenario equals its file after the change.
    bool Clean = false;
    // The step of an action, undo or redo; valid while listeners are told.
    const EditStep* Step = nullptr;

    // True when records of `kind` changed (any, for a whole change).
    bool Touches(RecordKind kind) const;
    // True when a list of `kind` gained or lost a record.
    bool ListChanged(RecordKind kind) const { return Whole || (ListsChanged & (1u << static_cast<unsigned>(kind))); }
    // True when any record or the header changed (false for a Save).
    bool Records() const;
};

// The change an action's step (done, undone or done again) made.
DocChange ChangeOf(const EditStep& step, ChangeCause cause);
// A change of everything: the scenario is another one.
DocChange WholeChange(ChangeCause cause);

}  // namespace varno
