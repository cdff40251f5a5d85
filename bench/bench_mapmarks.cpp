// What the map window draws over the picture, on the largest map a game can
// have (254 x 255 hexes): a 1280 x 1024 view of hex numbers and outlines at
// 100 % and 400 %, and what the marks cost after a change of the placements
// (the overloaded-hex check again over 10,000 placements, the marks kept).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <random>
#include <vector>

#include "mapview/hexgeom.h"
#include "mapview/mapmarks.h"
#include "scenario/records.h"
#include "scenario/scenario.h"
#include "scenario/scenariobuilder.h"
#include "scenario/scnchecks.h"

using namespace varno;

namespace {

constexpr int kCols = 254, kRows = 255;

// 300 marked hexes spread over the map, one selected, one gone to.
TMapMarks BusyMarks(bool numbers) {
    std::mt19937 rng(3);
    std::vector<HexPos> hexes;
    for (int i = 0; i < 300; ++i) hexes.push_back({static_cast<int>(rng() % kCols), static_cast<int>(rng() % kRows)});
    TMapMarks marks;
    marks.SetMarked(hexes);
    marks.Selected = HexPos{120, 110};
    marks.GoTo = HexPos{125, 112};
    marks.HexNumbers = numbers;
    return marks;
}

// Paints the marks of a 1280 x 1024 view in the middle of the map at
// `percent`, with or without the hex numbers.
void PaintView(benchmark::State& state) {
    const int percent = static_cast<int>(state.range(0));
    const bool numbers = state.range(1) != 0;
    const TMapMarks marks = BusyMarks(numbers);
    QImage view(1280, 1024, QImage::Format_ARGB32_Premultiplied);
    const double scale = percent / 100.0;
    const QRect area(3000, 3300, static_cast<int>(1280 / scale), static_cast<int>(1024 / scale));
    for (auto _ : state) {
        QPainter p(&view);
        p.scale(scale, scale);
        p.translate(-area.topLeft());
        marks.Paint(p, area, kCols, kRows, scale);
        p.end();
        benchmark::DoNotOptimize(view.constBits());
    }
}
BENCHMARK(PaintView)->ArgsProduct({{100, 400}, {0, 1}})->ArgNames({"zoom", "numbers"})->Unit(benchmark::kMillisecond);

// After a change: the check over 10,000 placements and the marks it keeps.
void RecheckMarks(benchmark::State& state) {
    Scenario scn;
    std::mt19937 rng(5);
    for (int i = 0; i < 10000; ++i) {
        TOobRec* e = &ScenarioBuilder(scn).NewOobRec();
        e->Kind = i % 10 == 0 ? 'S' : 'U';
        e->UnitType = 'I';
        TSetupRec* s = &ScenarioBuilder(scn).NewSetup();
        s->Unit = e;
        s->Strength = static_cast<std::uint8_t>(rng() % 200);
        s->Col = static_cast<std::uint8_t>(rng() % 60);
        s->Row = static_cast<std::uint8_t>(rng() % 60);
    }
    TMapMarks marks;
    marks.SetMarked(HexesOf(CheckOverloadedHexes(scn.SetupList())));
    state.counters["marked"] = static_cast<double>(marks.Marked().size());
    for (auto _ : state) benchmark::DoNotOptimize(marks.KeepOnly(HexesOf(CheckOverloadedHexes(scn.SetupList()))));
}
BENCHMARK(RecheckMarks)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    // Fonts without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
