// Writes a synthetic game to time the command-line tools on (the Windows
// build under Wine against the Linux one):
//   gen_scn <placements> <folder>
// gives <folder>/MAIN.OOB (20,000 entries) and <folder>/BIG.SCN.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/synth_oob.h"
#include "bench/synth_scn.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <placements> <folder>\n", argv[0]);
        return 2;
    }
    SynthScnOptions opts;
    opts.placements = std::atoi(argv[1]);
    if (opts.placements < 0 || opts.placements > 10000000) {
        std::fprintf(stderr, "placements must be 0 to 10000000\n");
        return 2;
    }
    const std::string dir = std::string(argv[2]) + "/";
    if (!WriteSynthOob(dir + "MAIN.OOB") || !WriteSynthScn(dir + "BIG.SCN", SynthOobUnitNames(), opts)) {
        std::perror(argv[2]);
        return 1;
    }
    return 0;
}
