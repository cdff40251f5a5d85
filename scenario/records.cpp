#include "scenario/records.h"

#include <charconv>

namespace varno {

std::string DotName(const TOobRec& entry) {
    std::string name;
    AppendDotName(name, entry);
    return name;
}

void AppendDotName(std::string& out, const TOobRec& entry) {
    bool first = true;
    for (std::uint8_t n : entry.Levels) {
        if (n == 0) break;
        if (!first) out += '.';
        first = false;
        char buf[4];
        const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<unsigned>(n));
        out.append(buf, static_cast<std::size_t>(r.ptr - buf));
    }
}

std::string ReinfDisplay(const TOobRec& firstUnit, int unitCount) {
    return unitCount > 1 ? firstUnit.Display + " ..." : firstUnit.Display;
}

}  // namespace varno
