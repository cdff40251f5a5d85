// Writes MAIN.MAP of the demo game: 40 columns by 30 rows, the layout the
// game's own tools deliver (format line "1"), CR LF line ends.
// Usage: demo_make_map [output directory]
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "mapsum/core/map_checksum.h"

namespace {

constexpr int kColumns = 40;
constexpr int kRows = 30;

// Terrain: open ground with fields, two woods, a town, a ridge of rough
// ground, swamp in the south-west, a road of trails and a river that runs
// from the north edge to the south-east corner.
char terrain(int col, int row) {
    const int river_col = 8 + row + (row / 6) % 2;
    if (col == river_col || (row > 20 && col == river_col + 1)) return 'r';
    if (row == 14 && col > 2 && col < 37) return 't';
    const double dx1 = col - 27, dy1 = row - 6;
    if (dx1 * dx1 + 2 * dy1 * dy1 < 30) return 'w';
    const double dx2 = col - 5, dy2 = row - 4;
    if (dx2 * dx2 + dy2 * dy2 < 10) return 'w';
    if (col >= 30 && col <= 33 && row >= 20 && row <= 23) return (col + row) % 3 ? 'o' : 'T';
    if (row >= 22 && col < 6) return 's';
    if (col + 2 * row > 74 && col + 2 * row < 79) return 'd';
    if ((col / 4 + row / 3) % 5 == 0) return 'f';
    if ((col * 7 + row * 3) % 23 == 0) return 'm';
    return ' ';
}

char elevation(int col, int row) {
    const double h = 1.6 + 1.2 * std::sin(col / 6.0) + 0.9 * std::cos(row / 5.0);
    int level = static_cast<int>(h);
    if (level < 0) level = 0;
    return static_cast<char>('0' + level);
}

// Hexside layers in use: roads, streams and walls. Blank means nothing on
// that hexside; other characters mark which sides carry the feature.
char hexside(int layer, int col, int row) {
    switch (layer) {
    case 0: return row == 14 && col > 2 && col < 37 ? '!' : ' ';
    case 2: return terrain(col, row) == 'r' ? (row % 2 ? '$' : '"') : ' ';
    case 6: return (col == 12 && row < 10) ? '#' : ' ';
    default: return ' ';
    }
}

bool layer_used(int layer) { return layer == 0 || layer == 2 || layer == 6; }

std::string make_map() {
    std::ostringstream out;
    const char* end = "\r\n";
    out << "1" << end << kColumns << ' ' << kRows << end << "1 0 0" << end;
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) out << terrain(c, r);
        out << end;
    }
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) out << elevation(c, r);
        out << end;
    }
    for (int layer = 0; layer < quillet::kHexsideLayers; ++layer) {
        out << (layer_used(layer) ? 1 : 0) << end;
        if (!layer_used(layer)) continue;
        for (int r = 0; r < kRows; ++r) {
            for (int c = 0; c < kColumns; ++c) out << hexside(layer, c, r);
            out << end;
        }
    }
    return out.str();
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path dir = argc > 1 ? argv[1] : ".";
    const std::string map = make_map();
    const quillet::ChecksumResult sum = quillet::compute_map_checksum(map);
    if (!sum.ok) {
        std::cerr << "demo map is not valid: " << sum.message << '\n';
        return 1;
    }
    const std::filesystem::path path = dir / "MAIN.MAP";
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << map;
    file.close();
    if (!file) {
        std::cerr << "cannot write " << path << '\n';
        return 1;
    }
    std::cout << path.string() << ": " << kColumns << " x " << kRows << ", checksum " << sum.checksum << '\n';
    return 0;
}
