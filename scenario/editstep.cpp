#include "scenario/editstep.h"

#include <algorithm>

#include "scenario/scenario.h"

namespace varno {

ScnCursors ScnCursors::Of(const Scenario& scn) {
    return {scn.CurOob, scn.CurSetup, scn.CurRelease, scn.CurReinf, scn.CurCommand};
}

void EditStep::begin(const Scenario& scn) {
    if (begun_) return;
    begun_ = true;
    before_ = after_ = ScnCursors::Of(scn);
}

void EditStep::end(const Scenario& scn) {
    if (begun_) after_ = ScnCursors::Of(scn);
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
