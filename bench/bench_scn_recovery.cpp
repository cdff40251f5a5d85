// The recovery copy of the large synthetic scenario (20,000 entries, 10,000
// placements, 500 groups, 2,000 releases, 2,000 commands): the part the
// editing thread does (the bytes Save would write, the description, the
// hand-over to the worker), and a whole write until it is on the disk.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "bench/synth_oob.h"
#include "bench/synth_scn.h"
#include "scenario/oobreader.h"
#include "scenario/recoverywriter.h"
#include "scenario/scnreader.h"
#include "scenario/scnwriter.h"

using namespace varno;

namespace fs = std::filesystem;

namespace {

struct Game {
    std::string dir, scnPath;
    Scenario scn;
    Game() {
        std::string tmpl = (fs::temp_directory_path() / "varno-bench-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
        dir = tmpl + "/";
        scnPath = dir + "SYNTH.SCN";
        if (!WriteSynthOob(dir + "MAIN.OOB") || !WriteSynthScn(scnPath, SynthOobUnitNames()))
            throw std::runtime_error("cannot write the synthetic game");
        ReadListener quiet;
        ReadOob(scn, scnPath, quiet);
        ReadScenario(scn, scnPath, quiet);
        if (scn.SetupList().size() != 10000) throw std::runtime_error("synthetic scenario did not read back whole");
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

// What the editing thread does for one copy.
void HandOver(Scenario& scn, const std::string& path, RecoveryWriter& writer) {
    RecoveryNote note;
    note.ScenarioPath = path;
    note.Base = scn.ReadStamp;
    note.Time =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
    note.Step = "Move 1.1.1.1.2 to 12,7";
    note.Version = "bench";
    writer.Write(ScenarioText(scn, {}, nullptr), std::move(note));
}

// The editing thread's part, while the worker writes the copies it is given
// (the latest each time it is free).
void BM_RecoveryEditingThread(benchmark::State& state) {
    Game& game = TheGame();
    RecoveryWriter writer(RecoveryFolder(game.dir + "state/"), nullptr);
    for (auto _ : state) HandOver(game.scn, game.scnPath, writer);
    writer.Remove();
    writer.Wait();
}

// One copy from the hand-over until it is on the disk (synced), as the
// worker does it.
void BM_RecoveryWholeWrite(benchmark::State& state) {
    Game& game = TheGame();
    RecoveryWriter writer(RecoveryFolder(game.dir + "state/"), nullptr);
    for (auto _ : state) {
        HandOver(game.scn, game.scnPath, writer);
        writer.Wait();
    }
    writer.Remove();
    writer.Wait();
}

}  // namespace

BENCHMARK(BM_RecoveryEditingThread)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecoveryWholeWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
