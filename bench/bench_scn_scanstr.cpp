// The field scanner on setup-style lines against sscanf with the equivalent
// C format on the same lines.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "scenario/scanstr.h"

using namespace varno;

namespace {

// Lines as a scenario's placements read: strength, facing, fatigue, aux,
// a skipped number, flags, column, row.
std::vector<std::string> SetupLines(int n) {
    std::vector<std::string> lines;
    std::uint32_t s = 12345;
    auto next = [&s](std::uint32_t below) {
        s = s * 1664525u + 1013904223u;
        return (s >> 8) % below;
    };
    static constexpr std::uint32_t facings[] = {1, 2, 4, 8, 16, 32};
    static constexpr std::uint32_t flags[] = {0, 0, 0, 0x200, 0x1000, 0x40000, 0x100005};
    for (int i = 0; i < n; ++i) {
        lines.push_back(std::to_string(50 + next(200)) + " " + std::to_string(facings[next(6)]) + " " +
                        std::to_string(next(10)) + " 4 " + std::to_string(next(100000)) + " " +
                        std::to_string(flags[next(7)]) + " " + std::to_string(next(120)) + " " +
                        std::to_string(next(90)));
    }
    return lines;
}

const std::vector<std::string>& Lines() {
    static const std::vector<std::string> lines = SetupLines(1000);
    return lines;
}

void BM_ScanStrSetup(benchmark::State& state) {
    const auto& lines = Lines();
    std::uint8_t strength, facing, fatigue, aux, col, row;
    std::int32_t flags;
    void* dest[] = {&strength, &facing, &fatigue, &aux, &flags, &col, &row};
    for (auto _ : state) {
        for (const std::string& line : lines) {
            const int n = ScanStr(line, "%hd %hd %hd %hd %*d %ld %hd %hd", dest, 7);
            benchmark::DoNotOptimize(n);
            benchmark::DoNotOptimize(flags);
            benchmark::DoNotOptimize(row);
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(lines.size()));
}
BENCHMARK(BM_ScanStrSetup);

void BM_SscanfSetup(benchmark::State& state) {
    const auto& lines = Lines();
    unsigned char strength, facing, fatigue, aux, col, row;
    int flags;
    for (auto _ : state) {
        for (const std::string& line : lines) {
            const int n = std::sscanf(line.c_str(), "%hhu %hhu %hhu %hhu %*d %d %hhu %hhu", &strength, &facing,
                                      &fatigue, &aux, &flags, &col, &row);
            benchmark::DoNotOptimize(n);
            benchmark::DoNotOptimize(flags);
            benchmark::DoNotOptimize(row);
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(lines.size()));
}
BENCHMARK(BM_SscanfSetup);

}  // namespace

BENCHMARK_MAIN();
