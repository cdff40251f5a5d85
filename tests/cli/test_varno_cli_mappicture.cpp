// varno-cli map-picture, run as a user runs it on a copy of the demo game
// (with the pictures the build draws for it), without a display.
#include <gtest/gtest.h>

#include <QImage>
#include <nlohmann/json.hpp>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "tests/cli/run_program.h"

namespace {

using clitest::ReadFile;
using clitest::RunResult;
using clitest::WriteFile;
namespace fs = std::filesystem;

class VarnoCliMapPicture : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* f : {"MAIN.OOB", "MAIN.MAP", "DEMO.SCN"})
            WriteFile(game() / f, ReadFile(fs::path(VARNO_DEMO_DIR) / f));
        for (const char* f : {"MAIN1.BMP", "ICONS2D.BMP"})
            WriteFile(game() / f, ReadFile(fs::path(VARNO_DEMO_PICTURES) / f));
    }
    fs::path game() const { return dir_.game(); }
    std::string path(const std::string& name) const { return (game() / name).string(); }
    RunResult run(std::vector<std::string> args) {
        args.insert(args.begin(), {"map-picture", path("DEMO.SCN")});
        return clitest::Run(VARNO_CLI, args, game(), dir_.scratch());
    }
    QImage picture(const std::string& name) const { return QImage(QString::fromStdString(path(name))); }

    clitest::TempDir dir_;
};

TEST_F(VarnoCliMapPicture, WritesTheWholeMapAtTheZoom) {
    const QImage map(QString::fromStdString(path("MAIN1.BMP")));
    ASSERT_FALSE(map.isNull());
    for (const int zoom : {25, 100, 200}) {
        const std::string name = "map" + std::to_string(zoom) + ".png";
        const RunResult r = run({path(name), "--zoom", std::to_string(zoom), "--time", "1863-07-02 10:00"});
        ASSERT_EQ(r.status, 0) << r.err;
        const QImage out = picture(name);
        const QSize size((map.width() * zoom + 99) / 100, (map.height() * zoom + 99) / 100);
        EXPECT_EQ(out.size(), size) << zoom;
        EXPECT_EQ(r.out, "Wrote " + path(name) + ": " + std::to_string(size.width()) + " x " +
                             std::to_string(size.height()) + " pixels at " + std::to_string(zoom) +
                             " %, 1863-07-02 10:00\n");
    }
    // SVG by the name's extension, of the same size.
    const RunResult svg = run({path("map.SVG"), "--zoom", "50"});
    ASSERT_EQ(svg.status, 0) << svg.err;
    const std::string text = ReadFile(game() / "map.SVG");
    EXPECT_NE(text.find("<svg"), std::string::npos);
    EXPECT_NE(text.find("width=\"" + std::to_string((map.width() + 1) / 2) + "\""), std::string::npos);
}

// Without overlays the clock adds only the stacks of the groups arrived by
// then: every pixel that differs from the map at Start lies in the stack
// square of an arrived group's hex; with the overlays on, more differs.
TEST_F(VarnoCliMapPicture, TheClockAddsOnlyArrivedStacksWithoutOverlays) {
    ASSERT_EQ(run({path("start.png"), "--overlays", "none"}).status, 0);
    ASSERT_EQ(run({path("late.png"), "--overlays", "none", "--time", "1863-07-03 20:00"}).status, 0);
    ASSERT_EQ(run({path("all.png"), "--time", "1863-07-03 20:00"}).status, 0);
    const RunResult dump = clitest::Run(VARNO_CLI, {"dump", path("DEMO.SCN")}, game(), dir_.scratch());
    const nlohmann::json scn = nlohmann::json::parse(dump.out);
    std::vector<QRect> squares;  // hex centre: x = 26c + 26, y = 30r + 45 (even c) or 30r + 30
    for (const auto& g : scn["reinforcements"]) {
        const int c = g["col"], r = g["row"];
        squares.emplace_back(26 * c + 26 - 16, (c % 2 ? 30 * r + 30 : 30 * r + 45) - 16, 32, 32);
    }
    ASSERT_FALSE(squares.empty());
    const QImage start = picture("start.png"), late = picture("late.png"), all = picture("all.png");
    ASSERT_EQ(start.size(), late.size());
    int changed = 0, changedByOverlays = 0;
    for (int y = 0; y < start.height(); ++y)
        for (int x = 0; x < start.width(); ++x) {
            if (all.pixel(x, y) != late.pixel(x, y)) ++changedByOverlays;
            if (start.pixel(x, y) == late.pixel(x, y)) continue;
            ++changed;
            bool inSquare = false;
            for (const QRect& s : squares) inSquare |= s.contains(x, y);
            ASSERT_TRUE(inSquare) << x << "," << y;
        }
    EXPECT_GT(changed, 0);
    EXPECT_GT(changedByOverlays, 0);
}

TEST_F(VarnoCliMapPicture, RefusesWhatItCannotDoAndLeavesFilesAlone) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;
    };
    const std::vector<Case> cases = {
        {{path("m.png"), "--zoom", "30"}, 2, "varno-cli: --zoom: 30 is not a zoom step (25, 50, 100, 200 or 400)\n"},
        {{path("m.png"), "--time", "1863-02-30"},
         2,
         "varno-cli: --time: not a time of the calendar: '1863-02-30' (\"1863-07-02 10:00\", \"1863-07-02\" or "
         "\"start\")\n"},
        {{path("m.png"), "--overlays", "arrivals,arrows"},
         2,
         "varno-cli: --overlays: 'arrivals,arrows' names none of arrivals, orders, releases (or all, none)\n"},
        {{path("MAIN1.BMP")}, 1, path("MAIN1.BMP") + ": the picture's name must end in .png or .svg\n"},
        {{path("fifo.png")}, 1, path("fifo.png") + " is not a regular file\n"},
        {{path("nofolder/m.png")}, 1, ""},
    };
    ASSERT_EQ(::mkfifo(path("fifo.png").c_str(), 0600), 0);
    const std::string before = ReadFile(game() / "MAIN1.BMP");
    for (const Case& c : cases) {
        const RunResult r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[0];
        if (c.err.empty()) {
            EXPECT_EQ(r.err.rfind("Cannot write " + c.args[0] + ": ", 0), 0u) << r.err;
        } else {
            EXPECT_EQ(r.err, c.err) << c.args[0];
        }
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(ReadFile(game() / "MAIN1.BMP"), before);
    EXPECT_FALSE(fs::exists(game() / "m.png"));
    // A scenario that cannot be read: its message, exit 1.
    const RunResult missing =
        clitest::Run(VARNO_CLI, {"map-picture", "/nonexistent/X.SCN", path("m.png")}, game(), dir_.scratch());
    EXPECT_EQ(missing.status, 1);
}

}  // namespace
