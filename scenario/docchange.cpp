#include "scenario/docchange.h"

#include <algorithm>
#include <type_traits>
#include <unordered_set>
#include <variant>

#include "scenario/editstep.h"

namespace varno {

namespace {

// Each record once, in the order of the changes.
template <class R> void Note(std::vector<const R*>& list, std::unordered_set<const void*>& seen, const R* rec) {
    if (rec && seen.insert(rec).second) list.push_back(rec);
}

template <class R> unsigned Bit() { return 1u << static_cast<unsigned>(KindOf<R>::value); }

}  // namespace

bool DocChange::Touches(RecordKind kind) const {
    if (Whole) return true;
    switch (kind) {
    case RecordKind::Entry: return !Entries.empty();
    case RecordKind::Placement: return !Placements.empty();
    case RecordKind::Release: return !Releases.empty();
    case RecordKind::Group: return !Groups.empty();
    case RecordKind::Command: return !Commands.empty();
    }
    return false;
}

bool DocChange::Records() const {
    return Whole || Header || !Entries.empty() || !Placements.empty() || !Releases.empty() || !Groups.empty() ||
           !Commands.empty();
}

DocChange ChangeOf(const EditStep& step, ChangeCause cause) {
    DocChange out;
    out.Cause = cause;
    out.Step = &step;
    const auto listOf = [&out](const auto* rec) -> auto& {
        using R = std::remove_cv_t<std::remove_pointer_t<decltype(rec)>>;
        if constexpr (std::is_same_v<R, TSetupRec>)
            return out.Placements;
        else if constexpr (std::is_same_v<R, TReleaseRec>)
            return out.Releases;
        else if constexpr (std::is_same_v<R, TReinfGroup>)
            return out.Groups;
        else
            return out.Commands;
    };
    std::unordered_set<const void*> seen;
    for (const EditChange& change : step.changes()) {
        std::visit(
            [&](const auto& c) {
                using C = std::decay_t<decltype(c)>;
                if constexpr (std::is_same_v<C, SetupLinkEdit>) {
                    Note(out.Entries, seen, c.Entry);
                } else if constexpr (std::is_same_v<C, HeaderEdit>) {
                    out.Header = true;
                } else {
                    Note(listOf(c.Rec), seen, c.Rec);
                    using R = std::remove_cv_t<std::remove_pointer_t<decltype(c.Rec)>>;
                    if constexpr (std::is_same_v<C, ListEdit<R>>) out.ListsChanged |= Bit<R>();
                }
            },
            change);
    }
    out.Hexes = step.SetupHexes();
    return out;
}

DocChange WholeChange(ChangeCause cause) {
    DocChange out;
    out.Cause = cause;
    out.Whole = true;
    return out;
}

}  // namespace varno
