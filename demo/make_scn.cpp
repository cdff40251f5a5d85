// Writes DEMO.SCN of the demo game: a scenario against the demo order of
// battle (MAIN.OOB, read through the scenario core so that every dot name it
// writes names an entry) that uses every section of the layout: header,
// placements of units, leaders and wagons (some sharing hexes), groups of 1 to
// 10 units, section 3 lines, releases with and without their chance,
// miscellaneous lines, commands in several groups and trailer lines.
// Usage: demo_make_scn <output directory> [MAIN.OOB to read]
#include <cstdarg>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "demo/scnmaker.h"
#include "scenario/linereader.h"
#include "scenario/oobreader.h"
#include "scenario/records.h"
#include "scenario/scenario.h"

using namespace varno;

namespace {

std::string Line(const char* fmt, ...) {
    char buf[512];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    return std::string(buf) + "\r\n";
}

// The entries of one side that a scenario file can name, by kind.
struct Side {
    std::vector<const TOobRec*> leaders, wagons, units;
};

Side Collect(const Scenario& scn, int side) {
    Side s;
    for (const TOobRec* e : scn.OobList()) {
        if (e->Side != side || e->Levels[7] != 0 || e->Levels[0] == 0) continue;
        if (e->Kind == 'L') s.leaders.push_back(e);
        if (e->Kind == 'S') s.wagons.push_back(e);
        if (e->Kind == 'U') s.units.push_back(e);
    }
    return s;
}

// The i-th entry of a kind, going round when the order of battle has fewer.
const TOobRec* Nth(const std::vector<const TOobRec*>& v, std::size_t i) { return v[i % v.size()]; }

std::string Dot(const TOobRec* e) { return DotName(*e); }

std::string Placement(const TOobRec* e, int facing, int strength, int fatigue, unsigned flags, int col, int row) {
    return Line("1 %s %d 4 %d %d 0 %d %d %d", Dot(e).c_str(), facing, strength & 255, fatigue, static_cast<int>(flags),
                col, row);
}

std::string Build(const Scenario& scn) {
    const Side blue = Collect(scn, 1), grey = Collect(scn, 0);
    for (const Side* s : {&blue, &grey})
        if (s->leaders.empty() || s->wagons.empty() || s->units.size() < 8)
            throw std::runtime_error("the demo order of battle needs leaders, wagons and 8 units on each side");

    std::string t;
    // Header: nine lines of our own, carried verbatim by the editor.
    t += Line("Varno demo scenario: The Fords of Varno Creek");
    t += Line("Start 1863 7 1 5 0");
    t += Line("End 1863 7 3 20 0");
    t += Line("Union: hold both fords and the town at the end of the third day");
    t += Line("Confederate: cross the creek in strength before the Union reserve arrives");
    t += Line("Weather: clear, hot");
    t += Line("Map: MAIN.MAP 40 x 30");
    t += Line("Designed with Varno");
    t += Line("Version 1");

    // Placements. The Union holds the east bank; the Confederates come from
    // the west. Leaders stand with their first unit; each side's wagon is
    // placed twice, once in the town.
    unsigned fixed = 0x200, routed = 0x1, lowAmmo = 0x4, mounted = 0x40000, disorg = 0x1000;
    t += Placement(Nth(blue.leaders, 0), 8, 0, 0, 0, 24, 10);
    t += Placement(Nth(blue.units, 0), 8, Nth(blue.units, 0)->Strength, 0, 0, 24, 10);
    t += Placement(Nth(blue.units, 1), 8, Nth(blue.units, 1)->Strength, 10, fixed, 25, 11);
    t += Placement(Nth(blue.units, 2), 4, Nth(blue.units, 2)->Strength, 0, fixed | lowAmmo, 26, 12);
    t += Placement(Nth(blue.units, 3), 16, Nth(blue.units, 3)->Strength, 30, mounted, 27, 14);
    t += Placement(Nth(blue.units, 4), 8, Nth(blue.units, 4)->Strength, 0, 0, 31, 21);
    t += Placement(Nth(blue.wagons, 0), 8, Nth(blue.wagons, 0)->Strength, 0, 0, 32, 22);
    t += Placement(Nth(blue.wagons, 0), 8, Nth(blue.wagons, 0)->Strength, 0, 0, 31, 21);
    t += Placement(Nth(grey.leaders, 0), 1, 0, 0, 0, 4, 12);
    t += Placement(Nth(grey.units, 0), 1, Nth(grey.units, 0)->Strength, 0, 0, 4, 12);
    t += Placement(Nth(grey.units, 1), 1, Nth(grey.units, 1)->Strength, 20, disorg, 5, 13);
    t += Placement(Nth(grey.units, 2), 2, Nth(grey.units, 2)->Strength, 50, routed | lowAmmo, 3, 14);
    t += Placement(Nth(grey.units, 3), 32, Nth(grey.units, 3)->Strength, 0, fixed, 6, 16);
    t += Placement(Nth(grey.wagons, 0), 1, Nth(grey.wagons, 0)->Strength, 0, 0, 2, 15);
    if (grey.leaders.size() > 1) t += Placement(Nth(grey.leaders, 1), 1, 0, 0, 0x400, 5, 13);

    // Reinforcement groups of 1, 4 and 10 units.
    std::size_t nextBlue = 5, nextGrey = 4;
    t += Line("2 1863 7 1 14 0 100 0 39 14 1 8");
    t += Line("    %s", Dot(Nth(blue.units, nextBlue++)).c_str());
    t += Line("2 1863 7 2 6 20 75 3 0 20 4 1");
    for (int i = 0; i < 4; ++i) t += Line("    %s", Dot(Nth(grey.units, nextGrey++)).c_str());
    t += Line("2 1863 7 2 10 0 50 5 39 2 10 16");
    for (int i = 0; i < 10; ++i) t += Line("    %s", Dot(Nth(blue.units, nextBlue++)).c_str());

    // Section 3: objectives, kept verbatim by the editor.
    t += Line("3 12 14 10 Upper Ford");
    t += Line("3 21 22 15 Varno Town");

    // Releases of the fixed units: two with their chance, two without.
    t += Line("4 1863 7 1 9 0 80 %s", Dot(Nth(blue.units, 1)).c_str());
    t += Line("4 1863 7 1 12 20 %s", Dot(Nth(blue.units, 2)).c_str());
    t += Line("4 1863 7 2 5 40 %s", Dot(Nth(grey.units, 3)).c_str());
    t += Line("4 1863 7 2 8 0 100 %s", Dot(Nth(grey.leaders, 0)).c_str());

    // Miscellaneous lines up to the command marker.
    t += Line("Notes: the fords are the only crossings south of the town");
    t += Line("");
    t += Line("Victory points 10 20 40");

    // Commands for the computer player: three groups.
    t += Line("0");
    t += Line("3 0");
    t += Line("3");
    t += Line("%s 1863 7 1 6 0 12 14 3", Dot(Nth(grey.units, 0)).c_str());
    t += Line("%s 1863 7 1 6 0 12 14 4", Dot(Nth(grey.units, 1)).c_str());
    t += Line("%s 1863 7 1 10 20 13 15 1", Dot(Nth(grey.leaders, 0)).c_str());
    t += Line("2");
    t += Line("%s 1863 7 2 6 20 21 22 3", Dot(Nth(grey.units, 4)).c_str());
    t += Line("%s 1863 7 2 12 0 21 22 0", Dot(Nth(grey.units, 5)).c_str());
    t += Line("1");
    t += Line("%s 1863 7 1 5 0 3 14 2", Dot(Nth(grey.units, 2)).c_str());

    // Trailer lines after the command section.
    t += Line("End of the Fords of Varno Creek");
    t += Line("0 the trailer is kept whatever its lines begin with");
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    return MakeDemoScenario(argc, argv, "demo_make_scn", "DEMO.SCN", std::string(VARNO_DEMO_DIR) + "/MAIN.OOB", Build);
}
