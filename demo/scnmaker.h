#pragma once
// The main of a demo scenario maker and the records it builds: reads the
// order of battle (the demo's, or the one named), lets the maker put the
// scenario's records and lines together, and writes them as FILE in the
// output directory through the scenario writer, with the options a Save
// takes after a Read of that file (no sorting; releases with their chance
// exactly when the scenario says its file carries them). So a Read and Save
// of an untouched demo file gives the same bytes.
// Usage: <program> <output directory> [MAIN.OOB to read]
#include <cstdint>
#include <exception>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iostream>
#include <stdexcept>
#include <string>

#include "scenario/linereader.h"
#include "scenario/oobreader.h"
#include "scenario/readlistener.h"
#include "scenario/records.h"
#include "scenario/scenario.h"
#include "scenario/scenariobuilder.h"
#include "scenario/scnwriter.h"

namespace demo {

// A date and time as a scenario's records give it: the full year.
struct When {
    int Year, Month, Day, Hour, Minute;
};

inline std::uint8_t Byte(int v) { return static_cast<std::uint8_t>(v); }

template <class Rec> void SetWhen(Rec& r, const When& w) {
    r.Year = Byte(w.Year - 1800);
    r.Month = Byte(w.Month);
    r.Day = Byte(w.Day);
    r.Hour = Byte(w.Hour);
    r.Minute = Byte(w.Minute);
}

// A placement at the start with the entry's strength (a leader's is 0), kept
// as its low 8 bits as the editor keeps it.
inline void Place(varno::Scenario& scn, const varno::TOobRec* e, int facing, int fatigue, std::uint32_t flags, int col,
                  int row) {
    varno::TSetupRec& s = varno::ScenarioBuilder(scn).NewSetup();
    s.Unit = e;
    s.Facing = Byte(facing);
    s.Aux = 4;
    s.Strength = Byte(e->Kind == 'L' ? 0 : e->Strength & 255);
    s.Fatigue = Byte(fatigue);
    s.Flags = flags;
    s.Col = Byte(col);
    s.Row = Byte(row);
    varno::ScenarioBuilder::Edit(e).Setup = &s;
}

inline void Group(varno::Scenario& scn, const When& when, int chance, int protHexes, int col, int row, int facing,
                  std::initializer_list<const varno::TOobRec*> units) {
    if (units.size() < 1 || units.size() > 10) throw std::runtime_error("a group holds 1 to 10 units");
    varno::TReinfGroup& g = varno::ScenarioBuilder(scn).NewReinfGroup();
    SetWhen(g, when);
    g.Chance = Byte(chance);
    g.ProtHexes = Byte(protHexes);
    g.Col = Byte(col);
    g.Row = Byte(row);
    g.Facing = Byte(facing);
    for (const varno::TOobRec* u : units) g.Units[g.Count++] = u;
}

inline void Release(varno::Scenario& scn, const When& when, int chance, const varno::TOobRec* e) {
    varno::TReleaseRec& r = varno::ScenarioBuilder(scn).NewRelease();
    SetWhen(r, when);
    r.Chance = Byte(chance);
    r.Unit = e;
}

inline void Command(varno::Scenario& scn, int group, const varno::TOobRec* e, const When& when, int col, int row,
                    int command) {
    varno::TCommandRec& c = varno::ScenarioBuilder(scn).NewCommand();
    c.Group = Byte(group);
    c.Unit = e;
    SetWhen(c, when);
    c.Col = Byte(col);
    c.Row = Byte(row);
    c.Command = Byte(command);
}

}  // namespace demo

inline int MakeDemoScenario(int argc, char** argv, const char* program, const std::string& file,
                            const std::string& defaultOob, const std::function<void(varno::Scenario&)>& build) {
    if (argc < 2) {
        std::cerr << "usage: " << program << " <output directory> [MAIN.OOB]\n";
        return 2;
    }
    try {
        const std::string oobPath = argc > 2 ? argv[2] : defaultOob;
        varno::Scenario scn;
        varno::ReadListener quiet;
        varno::LineReader in(oobPath);
        varno::ReadOobText(scn, in, quiet);
        build(scn);
        varno::WriteOptions opts;
        opts.V103 = !scn.ReleaseChanceInFile;
        const std::string text = varno::ScenarioText(scn, opts, nullptr);
        const std::string out = std::string(argv[1]) + "/" + file;
        std::ofstream f(out, std::ios::binary | std::ios::trunc);
        f.write(text.data(), static_cast<std::streamsize>(text.size()));
        f.close();
        if (!f) {
            std::cerr << "cannot write " << out << "\n";
            return 1;
        }
    } catch (const std::exception& e) {
        std::cerr << program << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}
