#include "scenario/mapheader.h"

#include "scenario/inputfile.h"
#include "scenario/scanstr.h"
#include "scenario/scnerror.h"
#include "scenario/shortstring.h"

namespace varno {

MapGrid ParseMapHeader(std::string_view line1, std::string_view line2) {
    if (line1 != "1") throw ScnError("Invalid first line");
    MapGrid grid;
    void* dest[2] = {&grid.NumCols, &grid.NumRows};
    ScanStr(CutShort(line2), "%d %d", dest, 2);
    // A negative count is no grid either.
    if (grid.NumCols <= 0 || grid.NumRows <= 0) throw ScnError("invalid Col Row in file");
    return grid;
}

MapGrid ReadMapHeader(const std::string& path) {
    // A regular file of sane size only: a FIFO or a device would never end.
    platform::File file = OpenRegularFile(path, kTextFileLimit);
    // Only the first two lines count, and of those no more than a short
    // string holds: a huge map file is not read into memory.
    std::string lines[2];
    std::size_t line = 0;
    char buf[4096];
    while (line < 2) {
        std::error_code ec;
        const std::size_t n = file.read(buf, sizeof buf, ec);
        if (ec) throw ScnError("Cannot read " + path + ": " + ec.message());
        if (n == 0) break;
        for (std::size_t i = 0; i < n && line < 2; ++i) {
            if (buf[i] == '\n')
                ++line;
            else if (lines[line].size() < 256)
                lines[line] += buf[i];
        }
    }
    for (std::string& l : lines)
        if (!l.empty() && l.back() == '\r') l.pop_back();
    return ParseMapHeader(lines[0], lines[1]);
}

}  // namespace varno
