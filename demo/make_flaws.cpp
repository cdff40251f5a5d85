// Writes FLAWS.SCN of the demo game: a short scenario against the demo order
// of battle with deliberate mistakes for Search > Check Scenario and
// `varno-cli check --all` to find (each marked below), beside placements, a
// group, a release and commands that are right. Written by the scenario
// writer, as DEMO.SCN is.
// Usage: demo_make_flaws <output directory> [MAIN.OOB to read]
#include <stdexcept>
#include <string>
#include <vector>

#include "demo/scnmaker.h"
#include "scenario/records.h"
#include "scenario/scenario.h"
#include "scenario/scenariobuilder.h"

using namespace varno;
using demo::When;

namespace {

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

void Build(Scenario& scn) {
    const auto leaders = Entries(scn, 1, 'L', 1);
    const auto units = Entries(scn, 1, 'U', 6);
    const auto wagons = Entries(scn, 1, 'S', 1);

    ScenarioBuilder(scn).ScnHeader() = {"Varno demo scenario with mistakes: The Fords of Varno Creek, first draft",
                                        "Start 1863 7 1 5 0",
                                        "End 1863 7 1 20 0",
                                        "Union: hold the upper ford",
                                        "Confederate: none in this draft",
                                        "Weather: clear",
                                        "Map: MAIN.MAP 40 x 30",
                                        "Designed with Varno; check it with Search > Check Scenario",
                                        "Version 0"};

    demo::Place(scn, leaders[0], 8, 0, 0, 23, 10);
    demo::Place(scn, units[0], 8, 0, 0, 24, 10);
    demo::Place(scn, units[1], 8, 0, 0, 25, 11);
    demo::Place(scn, units[2], 4, 0, 0, 41, 7);  // mistake: off-map, the map has 40 x 30 hexes
    demo::Place(scn, wagons[0], 8, 0, 0, 26, 11);

    // mistake: bad-date, the group is due on 31 June (a warning)
    demo::Group(scn, When{1863, 6, 31, 14, 0}, 100, 0, 30, 14, 8, {units[3]});

    // Releases in the form without their chance (each counts as 100).
    demo::Release(scn, When{1863, 7, 1, 9, 0}, 100, units[1]);
    demo::Release(scn, When{1863, 7, 1, 12, 0}, 100, units[4]);  // mistake: release-unplaced, never on the map

    demo::Command(scn, 1, units[0], When{1863, 7, 1, 6, 0}, 12, 14, 1);
    demo::Command(scn, 1, leaders[0], When{1863, 7, 1, 6, 0}, 12, 14, 1);
}

}  // namespace

int main(int argc, char** argv) {
    return MakeDemoScenario(argc, argv, "demo_make_flaws", "FLAWS.SCN", std::string(VARNO_DEMO_DIR) + "/MAIN.OOB",
                            Build);
}
