// Many records at once on a big scenario (10,000 placements) with the map
// open, on the offscreen platform: every placement selected and moved by one
// hex until the map has repainted; all of them copied and pasted into a
// second window of the same game; the undo of either; a band drawn over the
// whole map. A frame at 60 Hz is 16 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <fstream>
#include <stdexcept>
#include <string>

#include "bench/mapwindows.h"
#include "bench/synth_oob.h"
#include "bench/synth_scn.h"
#include "editor/dialogs.h"
#include "editor/document/manyrecords.h"
#include "editor/document/scndocument.h"
#include "editor/oobform.h"
#include "mapview/hexgeom.h"
#include "mapview/mapform.h"
#include "mapview/picturebox.h"
#include "mapview/unitdlg.h"

using namespace varno;

namespace {

// The synthetic placements lie in columns 0 to 199 and rows 0 to 149: one
// hex more each way keeps a move by one hex on the map.
constexpr int kCols = 202, kRows = 152;

struct Game {
    QTemporaryDir dir;
    QString scn, empty;
    Game() {
        const std::string game = QFile::encodeName(dir.path()).toStdString() + "/";
        if (!WriteSynthOob(game + "MAIN.OOB") || !WriteSynthScn(game + "BIG.SCN", SynthOobUnitNames()) ||
            !WriteSynthScn(game + "EMPTY.SCN", SynthOobUnitNames(), SynthScnOptions{0, 0, 0, 0, 1}))
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
        empty = dir.path() + "/EMPTY.SCN";
    }
};

void Read(TfrmEdit& edit, const QString& path) {
    edit.show();
    edit.Ui().edScenarioPath->setText(path);
    edit.bnReadClick(nullptr);
    QApplication::processEvents();
}

// The big scenario with its map.
struct Windows {
    QuietDialogs dialogs;
    TfrmMap map;
    TdlgChooseUnit chooser;
    TfrmEdit edit;
    explicit Windows(const Game& game) : edit(dialogs, &map) {
        map.SetChooseUnitDialog(&chooser);
        Read(edit, game.scn);
        if (edit.Scn().SetupList().size() < 10000) throw std::runtime_error("the read failed");
        edit.Ui().Notebook1->setCurrentIndex(0);
    }
    TManyRecords& many() { return edit.ManyRecords(); }
    void check() const {
        if (dialogs.errors) throw std::runtime_error("an action was refused");
    }
    // Everything selected, moved one hex right (or back left), the map repainted.
    void selectAllAndMove(bool back) {
        many().SelectAll();
        const TSetupRec* first = edit.Scn().SetupList()[0];
        const HexPos from{first->Col, first->Row};
        many().MoveSelection(from, {from.Col + (back ? -1 : 1), from.Row});
        QApplication::processEvents();
        map.Image1()->repaint();
        check();
    }
    void undo() {
        edit.Ui().mnuUndo->trigger();
        QApplication::processEvents();
        map.Image1()->repaint();
    }
};

void BM_SelectAllAndMoveOneHex(benchmark::State& state) {
    Game game;
    Windows w(game);
    bool back = false;
    for (auto _ : state) {
        w.selectAllAndMove(back);
        back = !back;
    }
    state.counters["placements"] = static_cast<double>(w.edit.Scn().SetupList().size());
}
BENCHMARK(BM_SelectAllAndMoveOneHex)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_UndoMove(benchmark::State& state) {
    Game game;
    Windows w(game);
    for (auto _ : state) {
        state.PauseTiming();
        w.selectAllAndMove(false);
        state.ResumeTiming();
        w.undo();
    }
}
BENCHMARK(BM_UndoMove)->Unit(benchmark::kMillisecond)->Iterations(10);

// A second window of the same game, empty, takes the paste.
struct TwoWindows : Windows {
    QuietDialogs otherDialogs;
    TfrmEdit other;
    explicit TwoWindows(const Game& game) : Windows(game), other(otherDialogs, nullptr) {
        Read(other, game.empty);
        other.Ui().Notebook1->setCurrentIndex(0);
        many().SelectAll();
    }
    void copyAndPaste() {
        many().Copy(false);
        other.ManyRecords().Paste(std::nullopt);
        QApplication::processEvents();
        if (other.Scn().SetupList().size() < 5000) throw std::runtime_error("the paste failed");
    }
    void undoPaste() {
        other.Ui().mnuUndo->trigger();
        QApplication::processEvents();
        if (!other.Scn().SetupList().empty()) throw std::runtime_error("the undo failed");
    }
};

void BM_CopyAndPaste(benchmark::State& state) {
    Game game;
    TwoWindows w(game);
    for (auto _ : state) {
        w.copyAndPaste();
        state.PauseTiming();
        w.undoPaste();
        state.ResumeTiming();
    }
    w.copyAndPaste();
    state.counters["pasted"] = static_cast<double>(w.other.Scn().SetupList().size());
}
BENCHMARK(BM_CopyAndPaste)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_UndoPaste(benchmark::State& state) {
    Game game;
    TwoWindows w(game);
    for (auto _ : state) {
        state.PauseTiming();
        w.copyAndPaste();
        state.ResumeTiming();
        w.undoPaste();
    }
}
BENCHMARK(BM_UndoPaste)->Unit(benchmark::kMillisecond)->Iterations(10);

// A band over the whole map, from nothing selected: every placement.
void BM_BandOverTheWholeMap(benchmark::State& state) {
    Game game;
    Windows w(game);
    const QRect whole(0, 0, 26 * kCols + 46, 30 * kRows + 50);
    for (auto _ : state) {
        state.PauseTiming();
        w.map.SelectBand(QRect(0, 0, 1, 1), false);
        QApplication::processEvents();
        state.ResumeTiming();
        w.map.SelectBand(whole, false);
        QApplication::processEvents();
        w.map.Image1()->repaint();
    }
    state.counters["selected"] = static_cast<double>(w.edit.Document().Sel().Of<TSetupRec>().Count());
}
BENCHMARK(BM_BandOverTheWholeMap)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
