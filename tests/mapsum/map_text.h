// Builds map files for the tests from lists of lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet_test {

using Lines = std::vector<std::string>;

// Joins `lines`, each followed by `eol`; with `last_end` false the final line
// has no line end.
inline std::string join(const Lines& lines, std::string_view eol, bool last_end = true) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += lines[i];
        if (i + 1 < lines.size() || last_end) out += eol;
    }
    return out;
}

// Appends the flag lines of hexside sections that are all absent.
inline Lines& no_hexsides(Lines& lines, int count = 10) {
    for (int i = 0; i < count; ++i) lines.push_back("0");
    return lines;
}

// A map of `cols` x `rows`: the given terrain and elevation rows, then ten
// hexside flags of 0.
inline Lines flat_map(int cols, int rows, const Lines& terrain, const Lines& elevation,
                      const std::string& header = "1 2 3") {
    Lines m{"1", std::to_string(cols) + " " + std::to_string(rows), header};
    m.insert(m.end(), terrain.begin(), terrain.end());
    m.insert(m.end(), elevation.begin(), elevation.end());
    return no_hexsides(m);
}

}  // namespace quillet_test
