#include "scenario/mapheader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

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
    const int fd = OpenRegularFile(path, kTextFileLimit);
    std::FILE* f = ::fdopen(fd, "rb");
    if (!f) {
        const int err = errno;
        ::close(fd);
        throw ScnError("Cannot read " + path + ": " + std::strerror(err));
    }
    // Only the first two lines count, and of those no more than a short
    // string holds: a huge map file is not read into memory.
    std::string lines[2];
    bool failed = false;
    for (std::string& line : lines) {
        int c;
        while ((c = std::fgetc(f)) != EOF && c != '\n')
            if (line.size() < 256) line += static_cast<char>(c);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (c == EOF) {
            failed = std::ferror(f) != 0;
            break;
        }
    }
    const int err = errno;
    std::fclose(f);
    if (failed) throw ScnError("Cannot read " + path + ": " + std::strerror(err));
    return ParseMapHeader(lines[0], lines[1]);
}

}  // namespace varno
