// The map window with the scenario's plan on it, on the largest map a game
// can have with 2,000 reinforcement groups, 2,000 orders, 5,000 placements
// and 1,000 releases over three days (bench/mapgame.h), on the offscreen
// platform, its view 1280 x 1024 in the middle of the map at noon of the
// second day: the view repainted with every overlay on, beside the same
// view without them, at 25, 100 and 400 %; and a step of the clock to the
// next event until the view is repainted.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <stdexcept>

#include "bench/mapgame.h"
#include "bench/mapwindows.h"
#include "mapview/clockbar.h"
#include "mapview/mappicture.h"
#include "mapview/picturebox.h"

using namespace varno;

namespace {

// The windows with the game read, the view 1280 x 1024 at `zoom` in the
// middle of the map, the clock at noon of the second day.
struct Windows : MapWindows {
    QWidget* view = nullptr;
    explicit Windows(int zoom) : MapWindows(QString::fromStdString(TheMapGame().scnPath)) {
        read();
        view = map.Scroll1()->viewport();
        map.resize(1280 + (map.width() - view->width()), 1024 + (map.height() - view->height()));
        QApplication::processEvents();
        if (view->size() != QSize(1280, 1024)) throw std::runtime_error("the view is not 1280 x 1024");
        map.SetZoom(zoom, QPoint(640, 512));
        map.MapBitmap()->level(zoom);  // the smaller copies made
        QScrollBar* h = map.Scroll1()->horizontalScrollBar();
        QScrollBar* v = map.Scroll1()->verticalScrollBar();
        h->setValue(h->maximum() / 2);
        v->setValue(v->maximum() / 2);
        map.SetClock(*ParseClockText("1863-07-02 12:00"));
        view->repaint();
        if (!view->isVisible()) throw std::runtime_error("the map window is not shown");
    }
    // The part of the map in view painted at once (the viewport's own
    // repaint leaves an unchanged child alone).
    void repaint() { map.Image1()->repaint(QRect(-map.Image1()->pos(), view->size())); }
};

// The view repainted, with every overlay on (1) or none (0).
void BM_RepaintView(benchmark::State& state) {
    Windows w(static_cast<int>(state.range(0)));
    w.map.SetOverlays(state.range(1) ? OverlaySet{true, true, true} : OverlaySet{});
    w.view->repaint();
    for (auto _ : state) w.repaint();
}
BENCHMARK(BM_RepaintView)
    ->ArgsProduct({{25, 100, 400}, {0, 1}})
    ->ArgNames({"zoom", "overlays"})
    ->Unit(benchmark::kMillisecond);

// ] with every overlay on: the plan at the next event laid out, the view
// repainted; back to Start after the last event.
void BM_ClockStep(benchmark::State& state) {
    Windows w(static_cast<int>(state.range(0)));
    w.map.SetOverlays({true, true, true});
    w.view->repaint();
    for (auto _ : state) {
        if (!w.map.Clock()->bnNext->isEnabled()) w.map.SetClock(ClockTime::AtStart());
        w.map.mnuNextEvent()->trigger();
        w.repaint();
    }
}
BENCHMARK(BM_ClockStep)->Arg(25)->Arg(100)->Arg(400)->ArgName("zoom")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TheMapGame();  // written once, before any timing
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
