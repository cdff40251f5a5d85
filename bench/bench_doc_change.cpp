// One change on a page of a big scenario (10,000 placements) with every
// window open (map, Schedule, the list window, Backups), on the offscreen
// platform: the strength of a placement typed on Set Units and stored by
// selecting the next line, until the document has told every view and each
// has repainted. A frame at 60 Hz is 16 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench/mapwindows.h"
#include "bench/synth_oob.h"
#include "bench/synth_scn.h"
#include "editor/document/scndocument.h"
#include "editor/pages/setunitspage.h"
#include "editor/widgets/listbox.h"
#include "editor/widgets/numedit.h"
#include "editor/windows/backupswindow.h"
#include "editor/windows/listform.h"
#include "editor/windows/schedulewindow.h"

using namespace varno;

namespace {

constexpr int kCols = 100, kRows = 100;

struct Game {
    QTemporaryDir dir;
    QString scn;
    Game() {
        const std::string game = QFile::encodeName(dir.path()).toStdString() + "/";
        if (!WriteSynthOob(game + "MAIN.OOB") || !WriteSynthScn(game + "BIG.SCN", SynthOobUnitNames()))
            throw std::runtime_error("cannot write the game");
        std::ofstream m(game + "MAIN.MAP", std::ios::binary);
        m << "1\r\n" << kCols << ' ' << kRows << "\r\n1 0 0\r\n";
        QImage picture(26 * kCols + 46, 30 * kRows + 50, QImage::Format_RGB32);
        picture.fill(qRgb(40, 120, 40));
        QImage sheet(384, 384, QImage::Format_RGB32);
        sheet.fill(qRgb(200, 200, 90));
        if (!picture.save(dir.path() + "/MAIN1.BMP", "BMP") || !sheet.save(dir.path() + "/ICONS2D.BMP", "BMP"))
            throw std::runtime_error("cannot write the pictures");
        scn = dir.path() + "/BIG.SCN";
    }
};

struct Windows : MapWindows {
    explicit Windows(const Game& game) : MapWindows(game.scn) {
        edit.show();
        read();
        if (edit.Scn().SetupList().size() < 10000) throw std::runtime_error("the read failed");
        edit.Ui().mnuSchedule->trigger();
        edit.Ui().mnuStrengthSCN->trigger();
        edit.Ui().mnuBackups->trigger();
        QApplication::processEvents();
    }
    // Line `line` of Set Units clicked: the fields shown before are stored.
    void click(int line) {
        edit.Ui().lbSetUnits->SelectLine(line);
        emit edit.Ui().lbSetUnits->userClick();
    }
};

void BM_PageChangeWithEveryWindowOpen(benchmark::State& state) {
    Game game;
    Windows w(game);
    w.click(0);
    QApplication::processEvents();
    int strength = 1;
    for (auto _ : state) {
        state.PauseTiming();
        w.click(0);
        w.edit.Ui().pgSetUnits->edStrength->setText(QString::number(strength = strength % 200 + 1));
        QApplication::processEvents();
        state.ResumeTiming();
        w.click(1);  // stores line 0's strength: one step, told to every window
        QApplication::processEvents();
        for (QWidget* window : {static_cast<QWidget*>(&w.edit), static_cast<QWidget*>(&w.map),
                                static_cast<QWidget*>(w.edit.frmSchedule()), static_cast<QWidget*>(w.edit.frmList()),
                                static_cast<QWidget*>(w.edit.frmBackups())})
            window->repaint();
    }
    state.counters["placements"] = static_cast<double>(w.edit.Scn().SetupList().size());
    state.counters["steps"] = static_cast<double>(w.edit.Document().History().count());
}
BENCHMARK(BM_PageChangeWithEveryWindowOpen)->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
