// The large synthetic game: an order of battle of 20,000 entries and a
// scenario of 10,000 placements, 500 groups, 2,000 releases and 2,000
// commands. Measures a whole Read (order of battle and scenario) and a Save.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench/synth_oob.h"
#include "bench/synth_scn.h"
#include "scenario/oobreader.h"
#include "scenario/scnreader.h"
#include "scenario/scnwriter.h"

using namespace varno;

namespace fs = std::filesystem;

namespace {

struct Game {
    std::string dir, scnPath, savePath;
    Game() {
        std::string tmpl = (fs::temp_directory_path() / "varno-bench-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
        dir = tmpl + "/";
        scnPath = dir + "SYNTH.SCN";
        fs::create_directory(dir + "SAVE");
        savePath = dir + "SAVE/SYNTH.SCN";
        if (!WriteSynthOob(dir + "MAIN.OOB") || !WriteSynthScn(scnPath, SynthOobUnitNames()))
            throw std::runtime_error("cannot write the synthetic game");
    }
    ~Game() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

Game& TheGame() {
    static Game game;
    return game;
}

void ReadGame(Scenario& scn, const Game& game) {
    ReadListener quiet;
    ReadOob(scn, game.scnPath, quiet);
    ReadScenario(scn, game.scnPath, quiet);
}

void BM_ReadOobAndScenario(benchmark::State& state) {
    const Game& game = TheGame();
    for (auto _ : state) {
        auto scn = std::make_unique<Scenario>();
        ReadGame(*scn, game);
        benchmark::DoNotOptimize(scn->CommandList().size());
        state.PauseTiming();  // freeing the records is no part of a Read
        scn.reset();
        state.ResumeTiming();
    }
}

void BM_SaveScenario(benchmark::State& state) {
    const Game& game = TheGame();
    Scenario scn;
    ReadGame(scn, game);
    if (scn.OobList().size() != 20000 || scn.SetupList().size() != 10000 || scn.ReinfList().size() != 500 ||
        scn.ReleaseList().size() != 2000 || scn.CommandList().size() != 2000) {
        state.SkipWithError("synthetic scenario did not read back whole");
        return;
    }
    const WriteOptions opts{.SortByCol = state.range(0) != 0, .V103 = true};
    for (auto _ : state) {
        scn.Modified = true;
        WriteScenario(scn, game.savePath, opts, [](std::string_view) {});
        benchmark::DoNotOptimize(scn.Modified);
    }
}

void BM_ScenarioText(benchmark::State& state) {
    const Game& game = TheGame();
    Scenario scn;
    ReadGame(scn, game);
    for (auto _ : state) benchmark::DoNotOptimize(ScenarioText(scn, {}, nullptr).size());
}

}  // namespace

BENCHMARK(BM_ReadOobAndScenario)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveScenario)->Arg(0)->Arg(1)->ArgName("sort")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScenarioText)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
