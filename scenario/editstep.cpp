#include "scenario/editstep.h"

#include <algorithm>

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
    auto note = [&hexes](const TSetupRec& rec) {
        const std::pair<int, int> hex{rec.Col, rec.Row};
        if (std::find(hexes.begin(), hexes.end(), hex) == hexes.end()) hexes.push_back(hex);
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

}  // namespace varno
