#include "scenario/selection.h"

#include <algorithm>
#include <type_traits>
#include <unordered_map>
#include <variant>

#include "scenario/editstep.h"

namespace varno {

template <class R> bool RecordSet<R>::Select(const R* rec) {
    if (!rec) {
        if (records_.empty() && !current_) return false;
        records_.clear();
        members_.clear();
        current_ = nullptr;
        return true;
    }
    if (current_ == rec && records_.size() == 1) return false;
    records_.assign(1, rec);
    members_ = {rec};
    current_ = rec;
    return true;
}

template <class R> bool RecordSet<R>::Add(const R* rec) {
    if (!rec) return false;
    const bool joins = members_.insert(rec).second;
    if (joins) records_.push_back(rec);
    if (!joins && current_ == rec) return false;
    current_ = rec;
    return true;
}

template <class R> bool RecordSet<R>::Remove(const R* rec) {
    if (!Contains(rec)) return false;
    members_.erase(rec);
    records_.erase(std::find(records_.begin(), records_.end(), rec));
    if (current_ == rec) current_ = records_.empty() ? nullptr : records_.back();
    return true;
}

template <class R> bool RecordSet<R>::Assign(const std::vector<const R*>& recs, const R* current) {
    std::vector<const R*> records;
    std::unordered_set<const R*> members;
    records.reserve(recs.size());
    for (const R* r : recs)
        if (r && members.insert(r).second) records.push_back(r);
    if (!current || !members.count(current)) current = records.empty() ? nullptr : records.back();
    if (records == records_ && current == current_) return false;
    records_ = std::move(records);
    members_ = std::move(members);
    current_ = current;
    return true;
}

template class RecordSet<TOobRec>;
template class RecordSet<TSetupRec>;
template class RecordSet<TReleaseRec>;
template class RecordSet<TReinfGroup>;
template class RecordSet<TCommandRec>;

void Selection::Clear() {
    Select<TOobRec>(nullptr);
    Select<TSetupRec>(nullptr);
    Select<TReleaseRec>(nullptr);
    Select<TReinfGroup>(nullptr);
    Select<TCommandRec>(nullptr);
}

void Selection::Replay(const EditStep& step, bool forward) {
    const SelectionState &before = step.SelectionBefore(), &after = step.SelectionAfter();
    const SelectionState& to = forward ? after : before;
    const auto one = [&](auto* kind) {
        using R = std::remove_const_t<std::remove_pointer_t<decltype(kind)>>;
        if (!(before.Of<R>() == after.Of<R>())) put<R>(to.Of<R>());
    };
    one(static_cast<TOobRec*>(nullptr));
    one(static_cast<TSetupRec*>(nullptr));
    one(static_cast<TReleaseRec*>(nullptr));
    one(static_cast<TReinfGroup*>(nullptr));
    one(static_cast<TCommandRec*>(nullptr));
    Forget(step, forward);
}

void Selection::Forget(const EditStep& step, bool forward) {
    // A record is in its list after the replay as the last change of the
    // step that moved it left it: played forward the change's own way, played
    // back the other way round.
    std::unordered_map<const void*, bool> in;
    const auto& changes = step.changes();
    const auto note = [&](const EditChange& change) {
        std::visit(
            [&](const auto& e) {
                if constexpr (requires { e.In; }) in[e.Rec] = e.In == forward;
            },
            change);
    };
    if (forward)
        std::for_each(changes.begin(), changes.end(), note);
    else
        std::for_each(changes.rbegin(), changes.rend(), note);
    for (const EditChange& change : changes)
        std::visit(
            [&](const auto& e) {
                if constexpr (requires { e.In; })
                    if (!in[e.Rec]) Remove(e.Rec);
            },
            change);
}

}  // namespace varno
