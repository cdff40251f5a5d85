#pragma once
// Large synthetic orders of battle in the game's MAIN.OOB layout, for the
// benchmarks and for anyone who needs a big, valid game quickly.
#include <cstdint>
#include <string>
#include <vector>

struct SynthOobOptions {
    int entries = 20000;     // entries (organisations, leaders, wagons, units) in all
    std::uint32_t seed = 1;  // same seed, same text
    const char* eol = "\r\n";
};

// The text of a MAIN.OOB with exactly opts.entries entries: armies of both
// sides, each nested army > corps > division > brigade, with leaders, wagons
// and units of several type letters. Every organisation is closed. Armies sit
// at the top level (about one per 210 entries): keep entries below 50,000 so
// that they stay within the 255 a level can number.
std::string SynthOobText(const SynthOobOptions& opts = {});

// The dot names of the units ('U' entries) of SynthOobText(opts), in file
// order, each with at most seven numbers (so a scenario can name them).
std::vector<std::string> SynthOobUnitNames(const SynthOobOptions& opts = {});

// Writes SynthOobText(opts) to path; false when it cannot.
bool WriteSynthOob(const std::string& path, const SynthOobOptions& opts = {});
