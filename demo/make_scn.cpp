// Writes DEMO.SCN of the demo game: a scenario against the demo order of
// battle (MAIN.OOB, read through the scenario core so that every record
// names an entry) that uses every section of the layout: header, placements
// of units, leaders and wagons (some sharing hexes), groups of 1 to 10 units,
// section 3 lines, releases, miscellaneous lines, commands in several groups
// and trailer lines. The scenario writer writes it, so that Varno saves the
// untouched file byte for byte as it is.
// Usage: demo_make_scn <output directory> [MAIN.OOB to read]
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
const TOobRec* Nth(RecordList<TOobRec> v, std::size_t i) { return v[i % v.size()]; }

void Build(Scenario& scn) {
    const Side blue = Collect(scn, 1), grey = Collect(scn, 0);
    for (const Side* s : {&blue, &grey})
        if (s->leaders.empty() || s->wagons.empty() || s->units.size() < 8)
            throw std::runtime_error("the demo order of battle needs leaders, wagons and 8 units on each side");

    // Header: nine lines of our own, carried verbatim by the editor.
    ScenarioBuilder(scn).ScnHeader() = {"Varno demo scenario: The Fords of Varno Creek",
                                        "Start 1863 7 1 5 0",
                                        "End 1863 7 3 20 0",
                                        "Union: hold both fords and the town at the end of the third day",
                                        "Confederate: cross the creek in strength before the Union reserve arrives",
                                        "Weather: clear, hot",
                                        "Map: MAIN.MAP 40 x 30",
                                        "Designed with Varno",
                                        "Version 1"};

    // Placements. The Union holds the east bank; the Confederates come from
    // the west. Leaders stand with their first unit; each side's wagon is
    // placed twice, once in the town.
    using demo::Place;
    Place(scn, Nth(blue.leaders, 0), 8, 0, 0, 24, 10);
    Place(scn, Nth(blue.units, 0), 8, 0, 0, 24, 10);
    Place(scn, Nth(blue.units, 1), 8, 10, sfFixed, 25, 11);
    Place(scn, Nth(blue.units, 2), 4, 0, sfFixed | sfLowAmmo, 26, 12);
    Place(scn, Nth(blue.units, 3), 16, 30, sfMounted, 27, 14);
    Place(scn, Nth(blue.units, 4), 8, 0, 0, 31, 21);
    Place(scn, Nth(blue.wagons, 0), 8, 0, 0, 32, 22);
    Place(scn, Nth(blue.wagons, 0), 8, 0, 0, 31, 21);
    Place(scn, Nth(grey.leaders, 0), 1, 0, 0, 4, 12);
    Place(scn, Nth(grey.units, 0), 1, 0, 0, 4, 12);
    Place(scn, Nth(grey.units, 1), 1, 20, sfDisorg, 5, 13);
    Place(scn, Nth(grey.units, 2), 2, 50, sfRouted | sfLowAmmo, 3, 14);
    Place(scn, Nth(grey.units, 3), 32, 0, sfFixed, 6, 16);
    Place(scn, Nth(grey.wagons, 0), 1, 0, 0, 2, 15);
    if (grey.leaders.size() > 1) Place(scn, Nth(grey.leaders, 1), 1, 0, sfColonel, 5, 13);
    // Held back until the second day: a Union battalion at the mill, a
    // Confederate one in the southern woods.
    Place(scn, Nth(blue.units, 21), 8, 0, sfFixed, 30, 17);
    Place(scn, Nth(grey.units, 14), 2, 0, sfFixed, 8, 19);

    // Reinforcement groups of 1, 4 and 10 units.
    demo::Group(scn, When{1863, 7, 1, 14, 0}, 100, 0, 39, 14, 8, {Nth(blue.units, 5)});
    demo::Group(scn, When{1863, 7, 2, 6, 20}, 75, 3, 0, 20, 1,
                {Nth(grey.units, 4), Nth(grey.units, 5), Nth(grey.units, 6), Nth(grey.units, 7)});
    const std::size_t b = 6;
    demo::Group(scn, When{1863, 7, 2, 10, 0}, 50, 5, 39, 2, 16,
                {Nth(blue.units, b), Nth(blue.units, b + 1), Nth(blue.units, b + 2), Nth(blue.units, b + 3),
                 Nth(blue.units, b + 4), Nth(blue.units, b + 5), Nth(blue.units, b + 6), Nth(blue.units, b + 7),
                 Nth(blue.units, b + 8), Nth(blue.units, b + 9)});
    // The rest of the plan: each side's reserves from the map's edges over
    // the three days, two Confederate groups on one road at 0,20.
    demo::Group(scn, When{1863, 7, 1, 16, 0}, 100, 2, 0, 8, 2, {Nth(grey.units, 8), Nth(grey.units, 9)});
    demo::Group(scn, When{1863, 7, 2, 8, 0}, 100, 4, 39, 26, 32,
                {Nth(blue.units, 16), Nth(blue.units, 17), Nth(blue.units, 18)});
    demo::Group(scn, When{1863, 7, 2, 14, 0}, 100, 3, 0, 20, 2,
                {Nth(grey.units, 10), Nth(grey.units, 11), Nth(grey.units, 12)});
    demo::Group(scn, When{1863, 7, 2, 18, 0}, 50, 0, 20, 0, 8, {Nth(blue.units, 19), Nth(blue.units, 20)});
    demo::Group(scn, When{1863, 7, 3, 6, 0}, 75, 1, 10, 29, 1, {Nth(grey.units, 13)});

    // Releases of the fixed units, each with its chance: the file carries them.
    demo::Release(scn, When{1863, 7, 1, 9, 0}, 80, Nth(blue.units, 1));
    demo::Release(scn, When{1863, 7, 1, 12, 20}, 100, Nth(blue.units, 2));
    demo::Release(scn, When{1863, 7, 2, 5, 40}, 100, Nth(grey.units, 3));
    demo::Release(scn, When{1863, 7, 2, 8, 0}, 100, Nth(grey.leaders, 0));
    demo::Release(scn, When{1863, 7, 2, 14, 0}, 100, Nth(blue.units, 21));
    demo::Release(scn, When{1863, 7, 2, 12, 0}, 75, Nth(grey.units, 14));
    scn.ReleaseChanceInFile = true;

    // Section 3 (objectives) and the miscellaneous lines up to the command
    // marker, kept verbatim by the editor and written after the releases.
    ScenarioBuilder(scn).ScnMisc() = {"3 12 14 10 Upper Ford", "3 21 22 15 Varno Town",
                                      "Notes: the fords are the only crossings south of the town", "",
                                      "Victory points 10 20 40"};

    // Commands for the computer player: Confederate groups 1 to 3.
    demo::Command(scn, 1, Nth(grey.units, 0), When{1863, 7, 1, 6, 0}, 12, 14, 3);
    demo::Command(scn, 1, Nth(grey.units, 1), When{1863, 7, 1, 6, 0}, 12, 14, 4);
    demo::Command(scn, 1, Nth(grey.leaders, 0), When{1863, 7, 1, 10, 20}, 13, 15, 1);
    demo::Command(scn, 2, Nth(grey.units, 4), When{1863, 7, 2, 6, 20}, 21, 22, 3);
    demo::Command(scn, 2, Nth(grey.units, 5), When{1863, 7, 2, 12, 0}, 21, 22, 0);
    demo::Command(scn, 3, Nth(grey.units, 2), When{1863, 7, 1, 5, 0}, 3, 14, 2);
    demo::Command(scn, 1, Nth(grey.units, 0), When{1863, 7, 2, 9, 0}, 21, 22, 4);
    demo::Command(scn, 2, Nth(grey.units, 8), When{1863, 7, 1, 18, 0}, 12, 10, 3);
    demo::Command(scn, 3, Nth(grey.units, 10), When{1863, 7, 2, 16, 0}, 13, 15, 4);
    // And the Union's, for a computer player on that side.
    demo::Command(scn, 4, Nth(blue.units, 0), When{1863, 7, 1, 6, 0}, 22, 11, 1);
    demo::Command(scn, 4, Nth(blue.units, 3), When{1863, 7, 2, 8, 0}, 20, 16, 3);
    demo::Command(scn, 5, Nth(blue.units, 5), When{1863, 7, 1, 16, 0}, 26, 12, 0);
    demo::Command(scn, 5, Nth(blue.units, 6), When{1863, 7, 2, 12, 0}, 24, 8, 3);
    demo::Command(scn, 6, Nth(blue.units, 16), When{1863, 7, 2, 10, 0}, 30, 22, 4);

    // Trailer lines after the command section.
    ScenarioBuilder(scn).ScnTrailer() = {"End of the Fords of Varno Creek",
                                         "0 the trailer is kept whatever its lines begin with"};
}

}  // namespace

int main(int argc, char** argv) {
    return MakeDemoScenario(argc, argv, "demo_make_scn", "DEMO.SCN", std::string(VARNO_DEMO_DIR) + "/MAIN.OOB", Build);
}
