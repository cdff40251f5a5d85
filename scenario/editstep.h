#pragma once
// What one user action changed in a scenario, so that it can be undone and
// done again (Undo and Redo in scenario/scnedit.h).
//
// The edit operations of scenario/scnedit.h take the EditStep of the action
// under way and append to it every change they make, with what it replaced:
// a record put into or taken out of its list (with its index), a record's
// values before and after, an entry's Setup link before and after, the
// header lines. A step that follows a Selection also notes the selection
// before its first change and after the action (end()), so that an undo
// gives the user's selection back with the records.
//
// One user action is one step, also when it takes several operations: pass
// the same EditStep to each of them (an Add that joins a group, a Remove
// that takes a group's last unit and so the group, the strength synch).
// Records are never freed, so the pointers a step holds stay valid for the
// scenario's life; a Read replaces the records, so a Read ends every step
// kept for the scenario before it.
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "scenario/records.h"
#include "scenario/selection.h"

namespace varno {

// A record put into its list at Index (In), or taken out of it from Index,
// with its values at that moment: it comes back with them.
template <class R> struct ListEdit {
    const R* Rec = nullptr;
    int Index = 0;
    bool In = true;
    R Values{};
};

// A record's values before and after a change.
template <class R> struct ValueEdit {
    const R* Rec = nullptr;
    R Before, After;
};

// An entry's link to its (last) placement, before and after.
struct SetupLinkEdit {
    const TOobRec* Entry = nullptr;
    const TSetupRec* Before = nullptr;
    const TSetupRec* After = nullptr;
};

// The scenario's header lines, before and after.
struct HeaderEdit {
    std::vector<std::string> Before, After;
};

using EditChange = std::variant<ListEdit<TSetupRec>, ListEdit<TReleaseRec>, ListEdit<TReinfGroup>,
                                ListEdit<TCommandRec>, ValueEdit<TSetupRec>, ValueEdit<TReleaseRec>,
                                ValueEdit<TReinfGroup>, ValueEdit<TCommandRec>, SetupLinkEdit, HeaderEdit>;

class EditStep {
public:
    // True when no operation of the step changed anything: such a step is
    // nothing to undo (a store of a page's fields that equal its record).
    bool empty() const { return changes_.empty(); }
    // The changes in the order they were made.
    const std::vector<EditChange>& changes() const { return changes_; }
    // The selection before the step's first change and after the action
    // (empty states unless the step follows a selection). Undo puts back, of
    // each kind of record, the selection that the step changed; a kind it
    // left alone stays as the user set it (Selection::Replay).
    const SelectionState& SelectionBefore() const { return before_; }
    const SelectionState& SelectionAfter() const { return after_; }
    // The hexes (col, row) whose stacks the step changes, each once, in the
    // order met: the hex of each placement put in or taken out, and the hexes
    // before and after of each placement whose values changed. A map draws
    // them again after an Undo or Redo, as after a move.
    std::vector<std::pair<int, int>> SetupHexes() const;
    // True when the step gives placement `rec` another hex (a move).
    bool Moves(const TSetupRec* rec) const;

    // The selection whose state the step notes; the document's own.
    void Follow(const Selection& selection) { selection_ = &selection; }
    // For the operations: begin() when one starts (notes the selection once,
    // at the first), add() for each change. end() notes the selection after
    // the action: the document calls it when the action is over.
    void begin();
    void add(EditChange change) { changes_.push_back(std::move(change)); }
    void end();

private:
    std::vector<EditChange> changes_;
    const Selection* selection_ = nullptr;
    SelectionState before_, after_;
    bool begun_ = false;
};

}  // namespace varno
