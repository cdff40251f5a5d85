// The designer's checks on the large synthetic game (20,000 entries of the
// order of battle, 10,000 placements): the overloaded-hex check, the two
// strength lists, the search that has to go down to the last line, and the
// whole-scenario check.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench/synth_oob.h"
#include "bench/synth_scn.h"
#include "scenario/oobreader.h"
#include "scenario/scncheckall.h"
#include "scenario/scnchecks.h"
#include "scenario/scnreader.h"

using namespace varno;

namespace fs = std::filesystem;

namespace {

// The synthetic game, read once.
struct Game {
    Scenario scn;
    Game() {
        std::string tmpl = (fs::temp_directory_path() / "varno-bench-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
        const std::string dir = tmpl + "/", scnPath = dir + "SYNTH.SCN";
        const bool written = WriteSynthOob(dir + "MAIN.OOB") && WriteSynthScn(scnPath, SynthOobUnitNames());
        if (written) {
            ReadListener quiet;
            ReadOob(scn, scnPath, quiet);
            ReadScenario(scn, scnPath, quiet);
        }
        std::error_code ec;
        fs::remove_all(dir, ec);
        if (!written) throw std::runtime_error("cannot write the synthetic game");
    }
    bool whole() const { return scn.OobList().size() == 20000 && scn.SetupList().size() == 10000; }
};

Game& TheGame() {
    static Game game;
    return game;
}

// Arg 0: the placements where the synthetic scenario puts them (spread over
// 200 x 150 hexes). Arg 1: all of them crowded into 100 hexes, where the
// check walks long stacks.
void BM_OverloadedHexes(benchmark::State& state) {
    Game& game = TheGame();
    if (!game.whole()) {
        state.SkipWithError("synthetic scenario did not read back whole");
        return;
    }
    std::vector<TSetupRec> crowded;
    std::vector<const TSetupRec*> setups(game.scn.SetupList().begin(), game.scn.SetupList().end());
    if (state.range(0) == 1) {
        crowded.reserve(setups.size());
        for (std::size_t i = 0; i < setups.size(); ++i) {
            crowded.push_back(*setups[i]);
            crowded.back().Col = static_cast<std::uint8_t>(i % 10);
            crowded.back().Row = static_cast<std::uint8_t>(i / 10 % 10);
            setups[i] = &crowded.back();
        }
    }
    std::size_t findings = 0;
    for (auto _ : state) {
        const auto found =
            FindOverloadedHexes(setups, [](std::size_t done, std::size_t) { benchmark::DoNotOptimize(done); });
        findings = found.size();
        benchmark::DoNotOptimize(findings);
    }
    state.counters["findings"] = static_cast<double>(findings);
}

// Arg: 1 from the scenario, 0 from the order of battle.
void BM_StrengthLines(benchmark::State& state) {
    Game& game = TheGame();
    if (!game.whole()) {
        state.SkipWithError("synthetic scenario did not read back whole");
        return;
    }
    std::size_t lines = 0;
    for (auto _ : state) {
        lines = StrengthLines(game.scn.OobList(), state.range(0) != 0).size();
        benchmark::DoNotOptimize(lines);
    }
    state.counters["lines"] = static_cast<double>(lines);
}

// The text of the last line, found only there.
void BM_SearchLastLine(benchmark::State& state) {
    Game& game = TheGame();
    if (!game.whole()) {
        state.SkipWithError("synthetic scenario did not read back whole");
        return;
    }
    const std::string text = FoldAZ(game.scn.OobList().back()->Display);
    const int last = static_cast<int>(game.scn.OobList().size()) - 1;
    if (SearchOob(game.scn.OobList(), text) != last) {
        state.SkipWithError("the last line's text is also on an earlier line");
        return;
    }
    for (auto _ : state) {
        const int found = SearchOob(game.scn.OobList(), text, [](std::size_t line) { benchmark::DoNotOptimize(line); });
        benchmark::DoNotOptimize(found);
    }
}

// The whole-scenario check (Search > Check Scenario, `varno-cli check --all`)
// on the whole synthetic scenario: 10,000 placements, 500 groups, 2,000
// releases and 2,000 commands against 20,000 entries, on a 254 x 255 map.
void BM_CheckScenario(benchmark::State& state) {
    Game& game = TheGame();
    if (!game.whole()) {
        state.SkipWithError("synthetic scenario did not read back whole");
        return;
    }
    const Scenario& scn = game.scn;
    if (scn.ReinfList().size() != 500 || scn.ReleaseList().size() != 2000 || scn.CommandList().size() != 2000) {
        state.SkipWithError("synthetic scenario has other list sizes");
        return;
    }
    ScnCheckReport report;
    for (auto _ : state) {
        report = CheckScenario(scn, MapGrid{254, 255});
        benchmark::DoNotOptimize(report.Findings.data());
    }
    // What the synthetic scenario holds, by kind.
    for (std::size_t k = 0; k < kCheckKindCount; ++k)
        if (report.Counts[k] > 0) state.counters[KindInfo(static_cast<CheckKind>(k)).Code] = report.Counts[k];
}

}  // namespace

BENCHMARK(BM_CheckScenario)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OverloadedHexes)->Arg(0)->Arg(1)->ArgName("crowded")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StrengthLines)->Arg(1)->Arg(0)->ArgName("fromScenario")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SearchLastLine)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
