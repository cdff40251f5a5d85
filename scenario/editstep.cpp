#include "scenario/editstep.h"

#include <algorithm>
#include <unordered_set>

namespace varno {

void EditStep::begin() {
    if (begun_) return;
    begun_ = true;
    if (selection_) before_ = after_ = selection_->State();
}

void EditStep::end() {
    if (begun_ && selection_) after_ = selection_->State();
}

std::vector<std::pair<int, int>> EditStep::SetupHexes() const {
    std::vector<std::pair<int, int>> hexes;
    std::unordered_set<int> seen;
    auto note = [&hexes, &seen](const TSetupRec& rec) {
        if (seen.insert(rec.Col * 256 + rec.Row).second) hexes.emplace_back(rec.Col, rec.Row);
    };
    for (const EditChange& change : changes_) {
        if (const auto* listed = std::get_if<ListEdit<TSetupRec>>(&change)) {
            note(*listed->Rec);
        } else if (const auto* values = std::get_if<ValueEdit<TSetupRec>>(&change)) {
            note(values->Before);
            note(values->After);
        }
    }
    return hexes;
}

bool EditStep::Moves(const TSetupRec* rec) const {
    // From its hex before the step's first change of it to its hex after the last.
    const TSetupRec* first = nullptr;
    const TSetupRec* last = nullptr;
    for (const EditChange& change : changes_)
        if (const auto* values = std::get_if<ValueEdit<TSetupRec>>(&change); rec && values && values->Rec == rec) {
            if (!first) first = &values->Before;
            last = &values->After;
        }
    return first && (first->Col != last->Col || first->Row != last->Row);
}

}  // namespace varno
