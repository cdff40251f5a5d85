#pragma once
// Large synthetic scenarios in the *.SCN layout against a synthetic order of
// battle (synth_oob.h), for the benchmarks.
#include <cstdint>
#include <string>
#include <vector>

struct SynthScnOptions {
    int placements = 10000;
    int groups = 500;        // of 1 to 10 units each
    int releases = 2000;     // both layouts, alternating
    int commands = 2000;     // spread over groups 1 to 8
    std::uint32_t seed = 1;  // same seed and names, same text
};

// The text of a scenario naming only `unitNames` (dot names of at most seven
// numbers, e.g. SynthOobUnitNames()), every line ended by CR LF. It reads
// without error and uses every section: header, placements, groups, section
// 3 lines, releases, miscellaneous lines, commands and trailer.
std::string SynthScnText(const std::vector<std::string>& unitNames, const SynthScnOptions& opts = {});

// Writes SynthScnText(unitNames, opts) to path; false when it cannot.
bool WriteSynthScn(const std::string& path, const std::vector<std::string>& unitNames,
                   const SynthScnOptions& opts = {});
