// The Schedule window's picture of the large synthetic game (20,000 entries,
// 10,000 placements, 500 groups, 2,000 releases, 2,000 commands), on the
// offscreen platform, 1280 x 800: a full redraw after a change (the schedule
// computed again, laid out and painted) and a repaint alone.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "bench/synth_oob.h"
#include "bench/synth_scn.h"
#include "editor/windows/scheduleview.h"
#include "scenario/oobreader.h"
#include "scenario/scnreader.h"

using namespace varno;

namespace fs = std::filesystem;

namespace {

Scenario& TheGame() {
    static Scenario scn;
    static bool read = false;
    if (!read) {
        std::string dir = (fs::temp_directory_path() / "varno-bench-XXXXXX").string();
        if (!::mkdtemp(dir.data())) throw std::runtime_error("mkdtemp failed");
        const std::string scnPath = dir + "/SYNTH.SCN";
        if (!WriteSynthOob(dir + "/MAIN.OOB") || !WriteSynthScn(scnPath, SynthOobUnitNames()))
            throw std::runtime_error("cannot write the synthetic game");
        ReadListener quiet;
        ReadOob(scn, scnPath, quiet);
        ReadScenario(scn, scnPath, quiet);
        fs::remove_all(dir);
        read = true;
    }
    return scn;
}

void Redraw(benchmark::State& state, bool changed) {
    ScheduleView view(TheGame());
    const QSize size(1280, 800);
    view.resize(size);
    QImage image(size, QImage::Format_RGB32);
    {
        QPainter p(&image);
        view.Paint(p, size);
    }
    for (auto _ : state) {
        if (changed) view.Invalidate();
        QPainter p(&image);
        view.Paint(p, size);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["events"] = static_cast<double>(view.Current().Events.size());
}

void BM_ScheduleFullRedraw(benchmark::State& state) { Redraw(state, true); }
void BM_ScheduleRepaint(benchmark::State& state) { Redraw(state, false); }

}  // namespace

BENCHMARK(BM_ScheduleFullRedraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScheduleRepaint)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
