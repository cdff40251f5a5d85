// Writes FLAWS.SCN of the demo game: a short scenario against the demo order
// of battle with deliberate mistakes for Search > Check Scenario and
// `varno-cli check --all` to find (each marked below), beside placements, a
// group, a release and commands that are right.
// Usage: demo_make_flaws <output directory> [MAIN.OOB to read]
#include <cstdarg>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <stdexcept>
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

// The first `n` entries of one kind on one side that a scenario can name.
std::vector<const TOobRec*> Entries(const Scenario& scn, int side, char kind, std::size_t n) {
    std::vector<const TOobRec*> found;
    for (const TOobRec* e : scn.OobList()) {
        if (found.size() == n) break;
        if (e->Side == side && e->Kind == kind && e->Levels[0] != 0 && e->Levels[7] == 0) found.push_back(e);
    }
    if (found.size() < n) throw std::runtime_error("the demo order of battle has too few entries");
    return found;
}

std::string Dot(const TOobRec* e) { return DotName(*e); }

std::string Placement(const TOobRec* e, int facing, int col, int row) {
    return Line("1 %s %d 4 %d 0 0 0 %d %d", Dot(e).c_str(), facing, e->Kind == 'L' ? 0 : e->Strength & 255, col, row);
}

std::string Build(const Scenario& scn) {
    const auto leaders = Entries(scn, 1, 'L', 1);
    const auto units = Entries(scn, 1, 'U', 6);
    const auto wagons = Entries(scn, 1, 'S', 1);

    std::string t;
    t += Line("Varno demo scenario with mistakes: The Fords of Varno Creek, first draft");
    t += Line("Start 1863 7 1 5 0");
    t += Line("End 1863 7 1 20 0");
    t += Line("Union: hold the upper ford");
    t += Line("Confederate: none in this draft");
    t += Line("Weather: clear");
    t += Line("Map: MAIN.MAP 40 x 30");
    t += Line("Designed with Varno; check it with Search > Check Scenario");
    t += Line("Version 0");

    t += Placement(leaders[0], 8, 23, 10);
    t += Placement(units[0], 8, 24, 10);
    t += Placement(units[1], 8, 25, 11);
    t += Placement(units[2], 4, 41, 7);  // mistake: off-map, the map has 40 x 30 hexes
    t += Placement(wagons[0], 8, 26, 11);

    // mistake: bad-date, the group is due on 31 June (a warning)
    t += Line("2 1863 6 31 14 0 100 0 30 14 1 8");
    t += Line("    %s", Dot(units[3]).c_str());

    t += Line("4 1863 7 1 9 0 %s", Dot(units[1]).c_str());
    t += Line("4 1863 7 1 12 0 %s", Dot(units[4]).c_str());  // mistake: release-unplaced, never on the map

    t += Line("0");
    t += Line("1 0");
    t += Line("2");
    t += Line("%s 1863 7 1 6 0 12 14 1", Dot(units[0]).c_str());
    t += Line("%s 1863 7 1 6 0 12 14 1", Dot(leaders[0]).c_str());
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    return MakeDemoScenario(argc, argv, "demo_make_flaws", "FLAWS.SCN", std::string(VARNO_DEMO_DIR) + "/MAIN.OOB",
                            Build);
}
