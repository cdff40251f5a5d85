// Writes a synthetic MAIN.OOB: gen_oob <entries> <output file> [seed]
#include <cstdio>
#include <cstdlib>

#include "bench/synth_oob.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <entries> <output file> [seed]\n", argv[0]);
        return 2;
    }
    SynthOobOptions opts;
    opts.entries = std::atoi(argv[1]);
    if (argc > 3) opts.seed = static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10));
    if (opts.entries < 0 || opts.entries > 50000) {
        std::fprintf(stderr, "entries must be 0 to 50000\n");
        return 2;
    }
    if (!WriteSynthOob(argv[2], opts)) {
        std::perror(argv[2]);
        return 1;
    }
    return 0;
}
