// The map window's loading, without a window: any bytes as the first lines
// of MAIN.MAP, as the map picture MAIN1.BMP or as the icon sheet ICONS2D.BMP,
// through the functions the window calls. The first byte chooses the file;
// the rest is its contents. Each either loads or throws ScnError.
#include <QByteArray>
#include <QCoreApplication>
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "mapview/hexgeom.h"
#include "mapview/mapfiles.h"
#include "scenario/scnerror.h"

using namespace varno;

namespace {

void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz_mapview_files: %s\n", what);
    std::abort();
}

// ReadMapHeader reads a file: one scratch file per process, on a memory file
// system when there is one.
std::string ScratchMap() {
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/varno-fuzz-map-" + std::to_string(getpid()) + ".MAP";
}

struct Scratch {
    const std::string path = ScratchMap();
    ~Scratch() { std::remove(path.c_str()); }
};

void MapHeader(const std::uint8_t* data, std::size_t size) {
    static const Scratch scratch;
    const std::string& path = scratch.path;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    check(f != nullptr, "cannot write the scratch map file");
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
    try {
        const MapGrid grid = ReadMapHeader(path);
        check(grid.NumCols > 0 && grid.NumRows > 0, "a grid without hexes was accepted");
        // The window finds hexes on the picture with it.
        for (int x : {0, 1, 1000, 100000})
            if (const auto hex = HexAt(x, x, grid.NumCols, grid.NumRows))
                check(hex->Col >= 0 && hex->Col < grid.NumCols && hex->Row >= 0 && hex->Row < grid.NumRows &&
                          hex->Col < 256 && hex->Row < 256,
                      "a hex outside the grid");
    } catch (const ScnError&) {}
}

void Picture(const std::uint8_t* data, std::size_t size, bool iconSheet) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const QImage image = DecodePicture(bytes, iconSheet ? "ICONS2D.BMP" : "MAIN1.BMP");
        check(!image.isNull(), "a picture that did not load was returned");
        if (iconSheet) {
            const std::vector<QImage> icons = CutIcons(image);
            check(icons.size() == static_cast<std::size_t>(kIconCount), "a wrong number of icons");
            for (const QImage& icon : icons) check(icon.width() == 32 && icon.height() == 32, "an icon not 32 x 32");
        }
    } catch (const ScnError&) {}
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The picture formats come from the same plugins as in the program.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    switch (data[0] % 3) {
    case 0: MapHeader(data + 1, size - 1); break;
    case 1: Picture(data + 1, size - 1, false); break;
    default: Picture(data + 1, size - 1, true); break;
    }
    return 0;
}
