#pragma once
// What one user action changed in a scenario, so that it can be undone and
// done again (Undo and Redo in scenario/scnedit.h).
//
// The edit operations of scenario/scnedit.h take an optional EditStep and
// append to it every change they make, with what it replaced: a record put
// into or taken out of its list (with its index), a record's values before
// and after, an entry's Setup link before and after, the header lines. The
// step also notes the scenario's current pointers (CurOob, CurSetup, ...)
// before its first operation and after its last one.
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

namespace varno {

class Scenario;

// The scenario's current pointers.
struct ScnCursors {
    TOobRec* Oob = nullptr;
    TSetupRec* Setup = nullptr;
    TReleaseRec* Release = nullptr;
    TReinfGroup* Reinf = nullptr;
    TCommandRec* Command = nullptr;
    bool operator==(const ScnCursors&) const = default;

    static ScnCursors Of(const Scenario& scn);
};

// A record put into its list at Index (In), or taken out of it from Index,
// with its values at that moment: it comes back with them.
template <class R> struct ListEdit {
    R* Rec = nullptr;
    int Index = 0;
    bool In = true;
    R Values{};
};

// A record's values before and after a change.
template <class R> struct ValueEdit {
    R* Rec = nullptr;
    R Before, After;
};

// An entry's link to its (last) placement, before and after.
struct SetupLinkEdit {
    TOobRec* Entry = nullptr;
    TSetupRec* Before = nullptr;
    TSetupRec* After = nullptr;
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
    // The current pointers before the step's first operation and after its
    // last one. Undo puts back those that the step changed, Redo the others'
    // after values; a pointer the step left alone stays as the user set it.
    const ScnCursors& before() const { return before_; }
    const ScnCursors& after() const { return after_; }
    // The hexes (col, row) whose stacks the step changes, each once, in the
    // order met: the hex of each placement put in or taken out, and the hexes
    // before and after of each placement whose values changed. A map draws
    // them again after an Undo or Redo, as after a move.
    std::vector<std::pair<int, int>> SetupHexes() const;

    // For the operations: begin() when one starts (notes the pointers once,
    // at the first), add() for each change, end() when it is done. A caller
    // that moves a current pointer itself after the last operation, as part
    // of the action, may call end() again to note it.
    void begin(const Scenario& scn);
    void add(EditChange change) { changes_.push_back(std::move(change)); }
    void end(const Scenario& scn);

private:
    std::vector<EditChange> changes_;
    ScnCursors before_, after_;
    bool begun_ = false;
};

}  // namespace varno
