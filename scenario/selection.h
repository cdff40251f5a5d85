#pragma once
// What the user has selected in a scenario: for each kind of record a set of
// records, with one of them current (the record the page's fields edit, the
// placement the map outlines). The editor's document owns one and tells its
// views when it changes; the command line and the tests use it as it is.
//
// The records are the scenario's own (const: a selection never changes a
// record). A record taken out of its list leaves the selection: the document
// takes the removed records out after every change, undo and redo.
#include <cstddef>
#include <functional>
#include <unordered_set>
#include <vector>

#include "scenario/records.h"

namespace varno {

class EditStep;

// The kinds of record a selection holds.
enum class RecordKind { Entry, Placement, Release, Group, Command };

template <class R> struct KindOf;
template <> struct KindOf<TOobRec> { static constexpr RecordKind value = RecordKind::Entry; };
template <> struct KindOf<TSetupRec> { static constexpr RecordKind value = RecordKind::Placement; };
template <> struct KindOf<TReleaseRec> { static constexpr RecordKind value = RecordKind::Release; };
template <> struct KindOf<TReinfGroup> { static constexpr RecordKind value = RecordKind::Group; };
template <> struct KindOf<TCommandRec> { static constexpr RecordKind value = RecordKind::Command; };

// The selected records of one kind, in the order they were selected, and the
// current one among them (none when the set is empty).
template <class R> class RecordSet {
public:
    const R* Current() const { return current_; }
    const std::vector<const R*>& Records() const { return records_; }
    std::size_t Count() const { return records_.size(); }
    bool Empty() const { return records_.empty(); }
    bool Contains(const R* rec) const { return rec && members_.count(rec) != 0; }
    bool operator==(const RecordSet& o) const { return current_ == o.current_ && records_ == o.records_; }

    // `rec` alone, current (null: nothing). True when that changed anything.
    bool Select(const R* rec);
    // `rec` joins the set (if not in it) and becomes current.
    bool Add(const R* rec);
    // `rec` leaves the set; when it was current, the last one selected
    // before it becomes current.
    bool Remove(const R* rec);
    // `recs` (each once, in their order), with `current` current: one of
    // them, else the last. True when that changed anything.
    bool Assign(const std::vector<const R*>& recs, const R* current);

private:
    const R* current_ = nullptr;
    std::vector<const R*> records_;
    std::unordered_set<const R*> members_;
};

// The selected records of every kind, as a value: the history keeps it
// before and after each step.
struct SelectionState {
    RecordSet<TOobRec> Entries;
    RecordSet<TSetupRec> Placements;
    RecordSet<TReleaseRec> Releases;
    RecordSet<TReinfGroup> Groups;
    RecordSet<TCommandRec> Commands;
    bool operator==(const SelectionState&) const = default;

    template <class R> RecordSet<R>& Of();
    template <class R> const RecordSet<R>& Of() const { return const_cast<SelectionState*>(this)->Of<R>(); }
};

template <> inline RecordSet<TOobRec>& SelectionState::Of<TOobRec>() { return Entries; }
template <> inline RecordSet<TSetupRec>& SelectionState::Of<TSetupRec>() { return Placements; }
template <> inline RecordSet<TReleaseRec>& SelectionState::Of<TReleaseRec>() { return Releases; }
template <> inline RecordSet<TReinfGroup>& SelectionState::Of<TReinfGroup>() { return Groups; }
template <> inline RecordSet<TCommandRec>& SelectionState::Of<TCommandRec>() { return Commands; }

// The selection model: the state, changed only through the methods below,
// each of which tells Changed the kind it changed (nothing when it changed
// nothing).
class Selection {
public:
    std::function<void(RecordKind)> Changed;

    const SelectionState& State() const { return state_; }
    template <class R> const RecordSet<R>& Of() const { return state_.Of<R>(); }

    // The current record of each kind (the names of the design's current
    // pointers): the one the page's fields edit.
    const TOobRec* CurOob() const { return state_.Entries.Current(); }
    const TSetupRec* CurSetup() const { return state_.Placements.Current(); }
    const TReleaseRec* CurRelease() const { return state_.Releases.Current(); }
    const TReinfGroup* CurReinf() const { return state_.Groups.Current(); }
    const TCommandRec* CurCommand() const { return state_.Commands.Current(); }

    // `rec` alone, as the current record of its kind; null: none of that kind.
    template <class R> void Select(const R* rec) { tell<R>(state_.Of<R>().Select(rec)); }
    template <class R> void SelectNone() { Select<R>(nullptr); }
    // `rec` joins the selection of its kind and becomes current.
    template <class R> void Add(const R* rec) { tell<R>(state_.Of<R>().Add(rec)); }
    // `rec` leaves the selection.
    template <class R> void Remove(const R* rec) { tell<R>(state_.Of<R>().Remove(rec)); }
    // Many records at once (a band on the map, the lines of a list), told once.
    template <class R> void SelectMany(const std::vector<const R*>& recs, const R* current) {
        tell<R>(state_.Of<R>().Assign(recs, current));
    }
    // Nothing selected (a Read: the records are another scenario's).
    void Clear();
    // After `step` was undone (forward false) or done again: each kind whose
    // selection the step changed gets the state it had before the step (or
    // after it); a kind it left alone stays as the user set it. The records
    // the replay took out of their lists leave the selection.
    void Replay(const EditStep& step, bool forward);
    // The records `step` took out of their lists (done, or undone when
    // `forward` is false) leave the selection.
    void Forget(const EditStep& step, bool forward);

private:
    template <class R> void tell(bool changed) {
        if (changed && Changed) Changed(KindOf<R>::value);
    }
    template <class R> void put(const RecordSet<R>& set) {
        if (state_.Of<R>() == set) return;
        state_.Of<R>() = set;
        tell<R>(true);
    }

    SelectionState state_;
};

}  // namespace varno
