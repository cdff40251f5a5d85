// Reading a large MAIN.OOB: from the file (as a Read does) and from memory.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <unistd.h>

#include "bench/synth_oob.h"
#include "scenario/linereader.h"
#include "scenario/oobreader.h"
#include "scenario/scenario.h"

using namespace varno;

namespace fs = std::filesystem;

namespace {

// What a window does with each line, reduced to keeping it.
struct Keep : ReadListener {
    std::size_t lines = 0, bytes = 0;
    void listCleared(ScnListBox) override { lines = bytes = 0; }
    void lineAdded(ScnListBox, std::string_view line) override {
        ++lines;
        bytes += line.size();
    }
};

void BM_ReadOobFile(benchmark::State& state) {
    SynthOobOptions opts;
    opts.entries = static_cast<int>(state.range(0));
    const fs::path saved = fs::current_path();
    const fs::path dir = fs::temp_directory_path() / ("varno_bench_oob_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    WriteSynthOob((dir / "MAIN.OOB").string(), opts);
    const std::string scn = (dir / "BENCH.SCN").string();
    Keep keep;
    for (auto _ : state) {
        state.PauseTiming();
        auto s = std::make_unique<Scenario>();
        state.ResumeTiming();
        ReadOob(*s, scn, keep);
        benchmark::DoNotOptimize(s->OobList().data());
        state.PauseTiming();
        if (s->OobList().size() != static_cast<std::size_t>(opts.entries)) state.SkipWithError("wrong entry count");
        s.reset();
        state.ResumeTiming();
    }
    state.counters["entries"] = static_cast<double>(opts.entries);
    fs::current_path(saved);
    fs::remove_all(dir);
}
BENCHMARK(BM_ReadOobFile)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_ReadOobText(benchmark::State& state) {
    SynthOobOptions opts;
    opts.entries = static_cast<int>(state.range(0));
    const std::string text = SynthOobText(opts);
    Keep keep;
    for (auto _ : state) {
        state.PauseTiming();
        auto s = std::make_unique<Scenario>();
        LineReader in = LineReader::fromText(text);
        state.ResumeTiming();
        ReadOobText(*s, in, keep);
        benchmark::DoNotOptimize(s->OobList().data());
        state.PauseTiming();
        s.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ReadOobText)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
