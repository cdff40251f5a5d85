#include "bench/mapgame.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>
#include <vector>

#include "bench/synth_oob.h"
#include "scenario/oobreader.h"
#include "scenario/scenario.h"
#include "scenario/scnreader.h"

namespace {

void WriteScenario(const std::string& path) {
    const std::vector<std::string> units = SynthOobUnitNames();
    if (units.size() < 11000) throw std::runtime_error("the synthetic order of battle has too few units");
    std::mt19937 rng(33);
    auto below = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    std::ofstream s(path, std::ios::binary);
    s << "Busy plan on the largest map\r\nStart 1863 7 1 5 0\r\nEnd 1863 7 3 20 0\r\n";
    for (int i = 4; i <= 9; ++i) s << "header " << i << "\r\n";
    static constexpr int facings[] = {1, 2, 4, 8, 16, 32};
    std::size_t next = 0;
    std::vector<std::string> placed, grouped;
    for (int i = 0; i < 5000; ++i) {
        const std::string& u = units[next++];
        placed.push_back(u);
        s << "1 " << u << ' ' << facings[below(6)] << " 4 " << 50 + below(200) << " 0 0 " << (below(5) == 0 ? 512 : 0)
          << ' ' << below(kMapGameCols) << ' ' << below(kMapGameRows) << "\r\n";
    }
    // Three days from 1 July 1863 05:00, in steps of 20 minutes.
    auto date = [&] {
        const int step = below(3 * 24 * 3);
        return std::to_string(1 + step / 72) + ' ' + std::to_string(step % 72 / 3) + ' ' +
               std::to_string(step % 3 * 20);
    };
    static constexpr int chances[] = {100, 100, 75, 50};
    for (int i = 0; i < 2000; ++i) {
        const int count = 1 + below(3);
        s << "2 1863 7 " << date() << ' ' << chances[below(4)] << ' ' << below(21) << ' ' << below(kMapGameCols) << ' '
          << below(kMapGameRows) << ' ' << count << ' ' << facings[below(6)] << "\r\n";
        for (int u = 0; u < count; ++u) {
            grouped.push_back(units[next++]);
            s << "    " << grouped.back() << "\r\n";
        }
    }
    for (int i = 0; i < 1000; ++i)
        s << "4 1863 7 " << date() << ' ' << chances[below(4)] << ' ' << placed[static_cast<std::size_t>(below(5000))]
          << "\r\n";
    // Orders in eight groups, of placed and of arriving units, aimed anywhere.
    s << "0\r\n8 0\r\n";
    for (int g = 0; g < 8; ++g) {
        s << 250 << "\r\n";
        for (int c = 0; c < 250; ++c) {
            const std::string& u = below(2)
                                       ? placed[static_cast<std::size_t>(below(static_cast<int>(placed.size())))]
                                       : grouped[static_cast<std::size_t>(below(static_cast<int>(grouped.size())))];
            s << u << " 1863 7 " << date() << ' ' << below(kMapGameCols) << ' ' << below(kMapGameRows) << ' '
              << below(5) << "\r\n";
        }
    }
    if (!s) throw std::runtime_error("cannot write " + path);
}

void WritePictures(const std::string& dir) {
    const QString d = QString::fromStdString(dir);
    std::ofstream m(dir + "MAIN.MAP", std::ios::binary);
    m << "1\r\n" << kMapGameCols << ' ' << kMapGameRows << "\r\n1 0 0\r\n";
    QImage picture(26 * kMapGameCols + 46, 30 * kMapGameRows + 50, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) line[x] = qRgb(120 + x % 80, 140 + y % 60, 90 + (x + y) % 50);
    }
    if (!picture.save(d + "MAIN1.BMP", "BMP")) throw std::runtime_error("cannot write MAIN1.BMP");
    QImage sheet(384, 384, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    for (int y = 0; y < 384; ++y)
        for (int x = 0; x < 384; ++x)
            if ((x % 32) > 6 && (x % 32) < 26 && (y % 32) > 6 && (y % 32) < 26)
                sheet.setPixel(x, y, qRgb(x / 2, y / 2, 90));
    if (!sheet.save(d + "ICONS2D.BMP", "BMP")) throw std::runtime_error("cannot write ICONS2D.BMP");
}

}  // namespace

const MapGame& TheMapGame(const std::string& parent) {
    static std::unique_ptr<QTemporaryDir> temp;
    static MapGame game;
    if (!game.dir.empty()) return game;
    if (parent.empty()) {
        temp = std::make_unique<QTemporaryDir>();
        game.dir = temp->path().toStdString() + "/";
    } else {
        game.dir = parent + (parent.back() == '/' ? "" : "/");
        QDir().mkpath(QString::fromStdString(game.dir));
    }
    game.scnPath = game.dir + "BIG.SCN";
    if (!WriteSynthOob(game.dir + "MAIN.OOB")) throw std::runtime_error("cannot write MAIN.OOB");
    WriteScenario(game.scnPath);
    WritePictures(game.dir);
    return game;
}

void ReadMapGame(varno::Scenario& scn) {
    varno::ReadListener quiet;
    varno::ReadOob(scn, TheMapGame().scnPath, quiet);
    varno::ReadScenario(scn, TheMapGame().scnPath, quiet);
}
