// The map's overlays on the largest map a game can have (254 x 255 hexes)
// with 2,000 reinforcement groups, 2,000 orders, 5,000 placements and 1,000
// releases over three days (bench/mapgame.h): the plan at a time and its
// layout, the overlays painted over a 1280 x 1024 view at 25, 100 and 400 %,
// and varno-cli's map-picture of the whole map at 25 % (the picture read,
// the stacks, the overlays, the PNG written).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <string>

#include "bench/mapgame.h"
#include "mapview/mapscene.h"
#include "mapview/overlaygeom.h"
#include "mapview/overlaypainter.h"
#include "scenario/scenario.h"
#include "scenario/scnclock.h"
#include "scenario/scnplan.h"

using namespace varno;

namespace {

const Scenario& Game() {
    static Scenario scn;
    if (scn.OobList().empty()) ReadMapGame(scn);
    return scn;
}

// Noon of the second day: some groups arrived, orders in effect and to come.
ClockTime SecondNoon() { return *ParseClockText("1863-07-02 12:00"); }

void PlanAndLayout(benchmark::State& state) {
    const Scenario& scn = Game();
    for (auto _ : state) {
        const ScenarioPlan plan = PlanAt(scn, SecondNoon());
        benchmark::DoNotOptimize(LayOutOverlays(scn, plan, {true, true, true}).Arrows.size());
    }
}
BENCHMARK(PlanAndLayout)->Unit(benchmark::kMillisecond);

// The overlays of a 1280 x 1024 view in the middle of the map at `zoom`:
// all of them (only 0), or only releases (1), orders (2) or arrivals (3).
void PaintOverlays(benchmark::State& state) {
    const Scenario& scn = Game();
    const int zoom = static_cast<int>(state.range(0));
    const ScenarioPlan plan = PlanAt(scn, SecondNoon());
    const int which = static_cast<int>(state.range(1));
    const OverlayLayout layout =
        LayOutOverlays(scn, plan, {which == 0 || which == 3, which == 0 || which == 2, which == 0 || which == 1});
    const OverlayPainter painter;
    QImage view(1280, 1024, QImage::Format_ARGB32_Premultiplied);
    view.fill(Qt::white);
    const double scale = zoom / 100.0;
    const QRect area(3325 - static_cast<int>(640 / scale), 3850 - static_cast<int>(512 / scale),
                     static_cast<int>(1280 / scale), static_cast<int>(1024 / scale));
    for (auto _ : state) {
        QPainter p(&view);
        p.scale(scale, scale);
        p.translate(-area.topLeft());
        painter.Paint(p, scn, layout, nullptr, area, scale);
        p.end();
        benchmark::DoNotOptimize(view.constBits());
    }
    state.counters["arrows"] = static_cast<double>(layout.Arrows.size());
}
BENCHMARK(PaintOverlays)
    ->ArgsProduct({{25, 100, 400}, {0, 1, 2, 3}})
    ->ArgNames({"zoom", "only"})
    ->Unit(benchmark::kMillisecond);
// A fixed count, for counting instructions under callgrind: the first paint
// draws the texts' pictures; the others are what a repaint costs.
BENCHMARK(PaintOverlays)->Name("PaintOverlaysCounted")->ArgsProduct({{25, 100, 400}, {0}})->Iterations(11);

// map-picture's work: read the picture and icons, draw the whole map at 25 %
// with every overlay, write the PNG.
void MapPictureWhole(benchmark::State& state) {
    const Scenario& scn = Game();
    const int zoom = static_cast<int>(state.range(0));
    QTemporaryDir out;
    const std::string path = out.path().toStdString() + "/map.png";
    for (auto _ : state) {
        const MapScene scene(scn, SecondNoon(), {true, true, true});
        scene.Write(path, zoom);
    }
}
BENCHMARK(MapPictureWhole)->Arg(25)->ArgName("zoom")->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    // Fonts without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // The game folder is written once, before any timing.
    TheMapGame();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
