// The checksum pass over the largest valid map (254 columns, 255 rows, all ten
// hexside layers), against merely reading the same file line by line into a
// 256-byte buffer. BM_MapChecksumVsLineRead reports both times and their
// ratio, which is to stay at or below 1.5.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "mapsum/core/map_checksum.h"

namespace {

namespace fs = std::filesystem;

constexpr int kColumns = 254;
constexpr int kRows = 255;

std::string largest_map() {
    const std::string terrain = " wfostdrXm";
    std::string m = "1\r\n254 255\r\n3 1 0\r\n";
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) m += terrain[(r * 3 + c) % terrain.size()];
        m += "\r\n";
    }
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) m += static_cast<char>('0' + (r + c) % 8);
        m += "\r\n";
    }
    for (int layer = 0; layer < quillet::kHexsideLayers; ++layer) {
        m += "1\r\n";
        for (int r = 0; r < kRows; ++r) {
            for (int c = 0; c < kColumns; ++c) m += (r + c + layer) % 5 ? ' ' : '!' + layer;
            m += "\r\n";
        }
    }
    return m;
}

// Written once per run into the temporary directory, removed at exit.
const fs::path& map_path() {
    struct File {
        fs::path path;
        File() {
            path = fs::temp_directory_path() / ("quillet_bench_" + std::to_string(::getpid()) + ".map");
            std::ofstream(path, std::ios::binary) << largest_map();
        }
        ~File() {
            std::error_code ec;
            fs::remove(path, ec);
        }
    };
    static File file;
    return file.path;
}

std::int32_t checksum_pass() {
    std::ifstream in(map_path(), std::ios::binary);
    const quillet::ChecksumResult r = quillet::compute_map_checksum(in);
    if (!r.ok) std::abort();
    return r.checksum;
}

std::size_t line_read() {
    std::FILE* f = std::fopen(map_path().c_str(), "r");
    if (!f) std::abort();
    char buf[256];
    std::size_t lines = 0;
    while (std::fgets(buf, sizeof buf, f)) {
        benchmark::DoNotOptimize(buf);
        ++lines;
    }
    std::fclose(f);
    return lines;
}

void BM_MapChecksumPass(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(checksum_pass());
    state.SetBytesProcessed(state.iterations() * fs::file_size(map_path()));
}
BENCHMARK(BM_MapChecksumPass);

void BM_MapLineRead(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(line_read());
    state.SetBytesProcessed(state.iterations() * fs::file_size(map_path()));
}
BENCHMARK(BM_MapLineRead);

// Alternates the two in every iteration so that both see the same machine
// load, and reports the mean time of each and their ratio.
void BM_MapChecksumVsLineRead(benchmark::State& state) {
    using clock = std::chrono::steady_clock;
    double checksum_s = 0, read_s = 0;
    for (auto _ : state) {
        const auto t0 = clock::now();
        benchmark::DoNotOptimize(checksum_pass());
        const auto t1 = clock::now();
        benchmark::DoNotOptimize(line_read());
        const auto t2 = clock::now();
        checksum_s += std::chrono::duration<double>(t1 - t0).count();
        read_s += std::chrono::duration<double>(t2 - t1).count();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["checksum_us"] = checksum_s / n * 1e6;
    state.counters["line_read_us"] = read_s / n * 1e6;
    state.counters["ratio"] = checksum_s / read_s;
}
BENCHMARK(BM_MapChecksumVsLineRead)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
