// The schedule of the large synthetic game (20,000 entries, 10,000
// placements, 500 groups, 2,000 releases, 2,000 commands): each side's
// strength over the dates, with the events behind the steps.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "bench/synth_oob.h"
#include "bench/synth_scn.h"
#include "scenario/oobreader.h"
#include "scenario/scnreader.h"
#include "scenario/scnschedule.h"

using namespace varno;

namespace fs = std::filesystem;

namespace {

void BM_ComputeSchedule(benchmark::State& state) {
    std::string dir = (fs::temp_directory_path() / "varno-bench-XXXXXX").string();
    if (!::mkdtemp(dir.data())) throw std::runtime_error("mkdtemp failed");
    const std::string scnPath = dir + "/SYNTH.SCN";
    if (!WriteSynthOob(dir + "/MAIN.OOB") || !WriteSynthScn(scnPath, SynthOobUnitNames()))
        throw std::runtime_error("cannot write the synthetic game");
    Scenario scn;
    ReadListener quiet;
    ReadOob(scn, scnPath, quiet);
    ReadScenario(scn, scnPath, quiet);
    fs::remove_all(dir);
    if (scn.OobList().size() != 20000 || scn.SetupList().size() != 10000 || scn.ReinfList().size() != 500 ||
        scn.ReleaseList().size() != 2000 || scn.CommandList().size() != 2000) {
        state.SkipWithError("synthetic scenario did not read back whole");
        return;
    }
    std::size_t steps = 0;
    for (auto _ : state) {
        const Schedule s = ComputeSchedule(scn);
        steps = s.Steps.size();
        benchmark::DoNotOptimize(s.Steps.back().Sides[0].Free);
    }
    state.counters["steps"] = static_cast<double>(steps);
}

}  // namespace

BENCHMARK(BM_ComputeSchedule)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
