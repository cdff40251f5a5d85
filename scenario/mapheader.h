#pragma once
// The grid size of a game's map, from the first two lines of MAIN.MAP. The
// map window and the scenario check both need it; neither reads more of the
// map file than these two lines.
#include <cstdint>
#include <string>
#include <string_view>

namespace varno {

// The size of the map's grid, as MAIN.MAP's second line gives it.
struct MapGrid {
    std::int32_t NumCols = 0;
    std::int32_t NumRows = 0;
};

// The grid size from the first two lines of MAIN.MAP. Throws ScnError with
// "Invalid first line" or "invalid Col Row in file" (a count of 0 or less).
MapGrid ParseMapHeader(std::string_view line1, std::string_view line2);

// Reads the first two lines of the map file at `path` (CR LF or LF) and
// parses them as ParseMapHeader does. Throws ScnError when the file cannot
// be read.
MapGrid ReadMapHeader(const std::string& path);

}  // namespace varno
