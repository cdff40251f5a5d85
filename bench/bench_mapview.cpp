// The map window on the largest map a game can have: 254 x 255 hexes (a
// picture of 6,650 x 7,700 pixels) with 5,000 placements spread over it, on
// the offscreen platform. Measures a whole Read until every stack is drawn,
// Refresh Map, and the repaint of a 1280 x 1024 view after a scroll; reports
// the process's peak memory.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>

#include "bench/synth_oob.h"
#include "editor/dialogs.h"
#include "editor/oobform.h"
#include "mapview/mapfiles.h"
#include "mapview/mapform.h"
#include "mapview/picturebox.h"
#include "mapview/unitdlg.h"

using namespace varno;

namespace {

constexpr int kCols = 254, kRows = 255, kPlacements = 5000;

class QuietDialogs : public Dialogs {
public:
    int errors = 0;
    void ShowError(QWidget*, const QString&) override { ++errors; }
    void ShowMessage(QWidget*, const QString&) override {}
    bool ConfirmOkCancel(QWidget*, const QString&) override { return true; }
    Answer AskYesNoCancel(QWidget*, const QString&) override { return Answer::Yes; }
    Answer AskInformation(QWidget*, const QString&, Buttons) override { return Answer::Ok; }
    bool InputQuery(QWidget*, const QString&, const QString&, QString&) override { return false; }
    QString OpenFile(QWidget*, const OpenFileRequest&) override { return {}; }
    void Beep() override {}
};

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

struct Windows {
    QuietDialogs dialogs;
    TfrmMap map;
    TdlgChooseUnit chooser;
    TfrmEdit edit;
    Windows() : edit(dialogs, &map) {
        map.dlgChooseUnit = &chooser;
        edit.edScenarioPath->setText(Game().scn);
    }
    void read() {
        edit.bnReadClick(nullptr);
        QApplication::processEvents();
        if (dialogs.errors || map.Stacks().empty()) throw std::runtime_error("the read failed");
    }
};

long PeakMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6)) / 1024;
    return -1;
}

// Decoding the map picture alone, the largest part of a first Read.
void BM_LoadMapPicture(benchmark::State& state) {
    const std::string path = QFile::encodeName(Game().dir.path() + "/MAIN1.BMP").toStdString();
    for (auto _ : state) benchmark::DoNotOptimize(LoadPicture(path));
}
BENCHMARK(BM_LoadMapPicture)->Unit(benchmark::kMillisecond)->Iterations(5);

// A first Read: order of battle, scenario, map picture, icons, every stack.
void BM_ReadToAllStacksDrawn(benchmark::State& state) {
    Game();
    std::size_t stacks = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<Windows>();
        state.ResumeTiming();
        w->read();
        stacks = w->map.Stacks().size();
        state.PauseTiming();
        w.reset();
        state.ResumeTiming();
    }
    state.counters["stacks"] = static_cast<double>(stacks);
    state.counters["peak_MB"] = static_cast<double>(PeakMegabytes());
}
BENCHMARK(BM_ReadToAllStacksDrawn)->Unit(benchmark::kMillisecond)->Iterations(5);

// Refresh Map on a read game: every stack removed, the map file read again,
// every placement drawn again.
void BM_RefreshMap(benchmark::State& state) {
    Windows w;
    w.read();
    for (auto _ : state) {
        w.edit.sbRefreshClick(nullptr);
        QApplication::processEvents();
    }
    state.counters["stacks"] = static_cast<double>(w.map.Stacks().size());
    state.counters["peak_MB"] = static_cast<double>(PeakMegabytes());
}
BENCHMARK(BM_RefreshMap)->Unit(benchmark::kMillisecond)->Iterations(20);

// One scroll of a 1280 x 1024 view, then the view repainted at once.
void BM_RepaintViewAfterScroll(benchmark::State& state) {
    Windows w;
    w.read();
    QWidget* view = w.map.Scroll1->viewport();
    w.map.resize(1280 + (w.map.width() - view->width()), 1024 + (w.map.height() - view->height()));
    QApplication::processEvents();
    if (view->size() != QSize(1280, 1024)) throw std::runtime_error("the view is not 1280 x 1024");
    QScrollBar* h = w.map.Scroll1->horizontalScrollBar();
    QScrollBar* v = w.map.Scroll1->verticalScrollBar();
    int k = 0;
    for (auto _ : state) {
        // Whole views apart, so that nothing of the last one is reused.
        ++k;
        h->setValue((k * 1300) % (h->maximum() + 1));
        v->setValue((k * 1100) % (v->maximum() + 1));
        view->repaint();
    }
    state.counters["peak_MB"] = static_cast<double>(PeakMegabytes());
}
BENCHMARK(BM_RepaintViewAfterScroll)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
