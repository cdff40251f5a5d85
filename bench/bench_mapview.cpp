// The map window on the largest map a game can have: 254 x 255 hexes (a
// picture of 6,650 x 7,700 pixels) with 5,000 placements spread over it, on
// the offscreen platform. Measures a whole Read until every stack is drawn
// (beside a plain read of the picture file's bytes, its floor), Refresh Map,
// the repaint of a 1280 x 1024 view after a scroll at 25 %, 100 % and 400 %,
// and a zoom step by Ctrl+wheel until the view is repainted; reports the
// process's peak memory and the memory the picture takes beyond its file.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

#include "bench/mapwindows.h"
#include "bench/synth_oob.h"
#include "mapview/mapfiles.h"
#include "mapview/mapform.h"
#include "mapview/mappicture.h"
#include "mapview/picturebox.h"
#include "mapview/zoomgeom.h"

using namespace varno;

namespace {

constexpr int kCols = 254, kRows = 255, kPlacements = 5000;

struct BigGame {
    QTemporaryDir dir;
    QString scn;
    BigGame() {
        const std::string game = QFile::encodeName(dir.path()).toStdString() + "/";
        if (!WriteSynthOob(game + "MAIN.OOB")) throw std::runtime_error("cannot write MAIN.OOB");
        const std::vector<std::string> units = SynthOobUnitNames();
        std::mt19937 rng(7);
        std::ofstream s(game + "BIG.SCN", std::ios::binary);
        for (int i = 1; i <= 9; ++i) s << "header " << i << "\r\n";
        static constexpr int facings[] = {1, 2, 4, 8, 16, 32};
        for (int i = 0; i < kPlacements; ++i)
            s << "1 " << units[rng() % units.size()] << ' ' << facings[rng() % 6] << " 4 100 0 0 "
              << ((rng() % 2) ? 262144 : 0) << ' ' << rng() % kCols << ' ' << rng() % kRows << "\r\n";
        s << "0\r\n1 0\r\n0\r\n";
        std::ofstream m(game + "MAIN.MAP", std::ios::binary);
        m << "1\r\n" << kCols << ' ' << kRows << "\r\n1 0 0\r\n";
        QImage picture(26 * kCols + 46, 30 * kRows + 50, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x) line[x] = qRgb(x % 256, y % 256, (x + y) % 200);
        }
        if (!picture.save(dir.path() + "/MAIN1.BMP", "BMP")) throw std::runtime_error("cannot write MAIN1.BMP");
        QImage sheet(384, 384, QImage::Format_RGB32);
        sheet.fill(Qt::white);
        for (int y = 0; y < 384; ++y)
            for (int x = 0; x < 384; ++x)
                if ((x % 32) > 6 && (x % 32) < 26 && (y % 32) > 6 && (y % 32) < 26)
                    sheet.setPixel(x, y, qRgb(x / 2, y / 2, 90));
        if (!sheet.save(dir.path() + "/ICONS2D.BMP", "BMP")) throw std::runtime_error("cannot write ICONS2D.BMP");
        scn = dir.path() + "/BIG.SCN";
    }
};

BigGame& Game() {
    static BigGame game;
    return game;
}

struct Windows : MapWindows {
    Windows() : MapWindows(Game().scn) {}
};

// A figure of /proc/self/status in MB ("VmHWM", "RssAnon").
double StatusMegabytes(const std::string& key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(key + ":", 0) == 0) return static_cast<double>(std::stol(line.substr(key.size() + 1))) / 1024;
    return -1;
}

long PeakMegabytes() { return static_cast<long>(StatusMegabytes("VmHWM")); }

std::string PicturePath() { return QFile::encodeName(Game().dir.path() + "/MAIN1.BMP").toStdString(); }

// The picture's memory beyond the mapped file, its smaller copies made.
double PictureMegabytes(const TfrmMap& map) {
    return map.MapBitmap() ? static_cast<double>(map.MapBitmap()->heapBytes()) / (1024 * 1024) : -1;
}

// Decoding the whole map picture into 32-bit pixels, as a Read once did
// (and still does for pictures that are not 24-bit BMPs).
void BM_LoadMapPicture(benchmark::State& state) {
    const std::string path = PicturePath();
    for (auto _ : state) benchmark::DoNotOptimize(LoadPicture(path));
}
BENCHMARK(BM_LoadMapPicture)->Unit(benchmark::kMillisecond)->Iterations(5);

// The floor a Read is held to: the picture file's bytes read once, nothing done with them.
void BM_PlainReadOfPicture(benchmark::State& state) {
    const std::string path = PicturePath();
    std::vector<char> buffer(1 << 20);
    std::size_t total = 0;
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0) throw std::runtime_error("cannot open MAIN1.BMP");
        total = 0;
        for (ssize_t n; (n = ::read(fd, buffer.data(), buffer.size())) > 0;) total += static_cast<std::size_t>(n);
        ::close(fd);
        benchmark::DoNotOptimize(total);
    }
    state.counters["file_MB"] = static_cast<double>(total) / (1024 * 1024);
}
BENCHMARK(BM_PlainReadOfPicture)->Unit(benchmark::kMillisecond)->Iterations(5);

// A first Read: order of battle, scenario, map picture, icons, every stack.
void BM_ReadToAllStacksDrawn(benchmark::State& state) {
    Game();
    std::size_t stacks = 0;
    double anon = 0, picture = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<Windows>();
        const double anonBefore = StatusMegabytes("RssAnon");
        state.ResumeTiming();
        w->read();
        stacks = w->map.Stacks().size();
        state.PauseTiming();
        picture = PictureMegabytes(w->map);
        // The first Read takes fresh pages; later ones reuse what the last one freed.
        anon = std::max(anon, StatusMegabytes("RssAnon") - anonBefore);
        w.reset();
        state.ResumeTiming();
    }
    state.counters["stacks"] = static_cast<double>(stacks);
    state.counters["peak_MB"] = static_cast<double>(PeakMegabytes());
    // Beyond the mapped file: the picture's own memory (its smaller copies
    // made), and what the whole first Read added to the process (the order
    // of battle, the lists, the stacks, the picture).
    state.counters["picture_MB"] = picture;
    state.counters["read_anon_MB"] = anon;
}
BENCHMARK(BM_ReadToAllStacksDrawn)->Unit(benchmark::kMillisecond)->Iterations(5);

// Refresh Map on a read game: every stack removed, the map file read again,
// every placement drawn again.
void BM_RefreshMap(benchmark::State& state) {
    Windows w;
    w.read();
    // Once the picture's smaller copies, made once after it is opened, are done.
    w.map.MapBitmap()->level(25);
    for (auto _ : state) {
        w.edit.sbRefreshClick(nullptr);
        QApplication::processEvents();
    }
    state.counters["stacks"] = static_cast<double>(w.map.Stacks().size());
    state.counters["peak_MB"] = static_cast<double>(PeakMegabytes());
}
BENCHMARK(BM_RefreshMap)->Unit(benchmark::kMillisecond)->Iterations(20);

// The map window read, its view 1280 x 1024.
void SizeView(Windows& w) {
    QWidget* view = w.map.Scroll1()->viewport();
    w.map.resize(1280 + (w.map.width() - view->width()), 1024 + (w.map.height() - view->height()));
    QApplication::processEvents();
    if (view->size() != QSize(1280, 1024)) throw std::runtime_error("the view is not 1280 x 1024");
}

// One scroll of a 1280 x 1024 view at a zoom (the argument, in percent),
// then the view repainted at once.
void BM_RepaintViewAfterScroll(benchmark::State& state) {
    Windows w;
    w.read();
    SizeView(w);
    QWidget* view = w.map.Scroll1()->viewport();
    w.map.SetZoom(static_cast<int>(state.range(0)), QPoint(640, 512));
    w.map.MapBitmap()->level(w.map.Zoom());  // the smaller copies made
    view->repaint();
    QScrollBar* h = w.map.Scroll1()->horizontalScrollBar();
    QScrollBar* v = w.map.Scroll1()->verticalScrollBar();
    int k = 0;
    for (auto _ : state) {
        // Whole views apart, so that nothing of the last one is reused.
        ++k;
        h->setValue((k * 1300) % (h->maximum() + 1));
        v->setValue((k * 1100) % (v->maximum() + 1));
        view->repaint();
    }
    state.counters["peak_MB"] = static_cast<double>(PeakMegabytes());
    state.counters["picture_MB"] = PictureMegabytes(w.map);
}
BENCHMARK(BM_RepaintViewAfterScroll)->Arg(25)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

// A notch of Ctrl+wheel in the middle of a 1280 x 1024 view on the largest
// map, until the view is repainted: up from 25 % to 400 % and down again.
void BM_ZoomStep(benchmark::State& state) {
    Windows w;
    w.read();
    SizeView(w);
    QWidget* view = w.map.Scroll1()->viewport();
    w.map.MapBitmap()->level(25);  // the smaller copies made
    w.map.Scroll1()->horizontalScrollBar()->setValue(3000);
    w.map.Scroll1()->verticalScrollBar()->setValue(3500);
    const QPointF centre(640, 512);
    int angle = 120;
    for (auto _ : state) {
        if ((angle > 0 && w.map.Zoom() == kZoomMax) || (angle < 0 && w.map.Zoom() == kZoomMin)) angle = -angle;
        QWheelEvent e(centre, view->mapToGlobal(centre), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::ControlModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &e);
        view->repaint();
    }
    state.counters["picture_MB"] = PictureMegabytes(w.map);
}
BENCHMARK(BM_ZoomStep)->Unit(benchmark::kMillisecond)->Iterations(40);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
