#pragma once
// The largest map a game can have (254 x 255 hexes, a picture of 6,650 x
// 7,700 pixels) with a busy plan on it: 5,000 placements (a fifth of them
// fixed), 1,000 releases, 2,000 reinforcement groups of 1 to 3 units and
// 2,000 orders, dated over three days and spread over the whole map. Written
// once into a temporary game folder (MAIN.OOB, BIG.SCN, MAIN.MAP, MAIN1.BMP,
// ICONS2D.BMP) for the map's benchmarks. Needs Qt Gui for the pictures.
#include <string>

namespace varno {
class Scenario;
}

struct MapGame {
    std::string dir;      // the game folder, ending in '/'
    std::string scnPath;  // BIG.SCN in it
};

inline constexpr int kMapGameCols = 254, kMapGameRows = 255;

// The game folder, written at the first call (under `parent`, or a new
// temporary folder when empty); the same one after it.
const MapGame& TheMapGame(const std::string& parent = {});
// Reads the game's order of battle and scenario as Varno's Read does.
void ReadMapGame(varno::Scenario& scn);
