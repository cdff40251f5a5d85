#include "scenario/records.h"

namespace varno {

std::string DotName(const TOobRec& entry) {
    std::string name;
    for (std::uint8_t n : entry.Levels) {
        if (n == 0) break;
        if (!name.empty()) name += '.';
        name += std::to_string(n);
    }
    return name;
}

std::string ReinfDisplay(const TOobRec& firstUnit, int unitCount) {
    return unitCount > 1 ? firstUnit.Display + " ..." : firstUnit.Display;
}

}  // namespace varno
