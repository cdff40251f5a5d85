// quillet-cli run as a user runs it, on map files the tests write.
#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <vector>

#include "mapsum/core/map_checksum.h"
#include "tests/cli/run_program.h"
#include "tests/mapsum/map_text.h"

namespace {

using clitest::ReadFile;
using clitest::RunResult;
using clitest::TempDir;
using clitest::WriteFile;
using quillet_test::flat_map;
using quillet_test::join;
namespace fs = std::filesystem;

// 8 + 1 + (1+2+...+8): every terrain weight once.
const std::string kMap = join(flat_map(8, 1, {" wfostdr"}, {"01234567"}, "1 2 3"), "\r\n");
const std::string kConverted = join(flat_map(8, 1, {" wfostdr"}, {"01234567"}, "1 2 3 45"), "\r\n");

class QuilletCli : public ::testing::Test {
protected:
    void SetUp() override { WriteFile(dir_.game() / "MAIN.MAP", kMap); }
    RunResult run(const std::vector<std::string>& args) {
        return clitest::Run(QUILLET_CLI, args, dir_.game(), dir_.scratch());
    }
    fs::path at(const std::string& name) const { return dir_.game() / name; }

    TempDir dir_;
};

struct Case {
    const char* name;
    std::string map;  // written as BAD.MAP when not empty
    std::vector<std::string> args;
    int status;
    std::string out, err;  // exactly
};

class QuilletCliTable : public QuilletCli, public ::testing::WithParamInterface<Case> {};

TEST_P(QuilletCliTable, ExitStatusAndTexts) {
    const Case& c = GetParam();
    if (!c.map.empty()) WriteFile(at("BAD.MAP"), c.map);
    const RunResult r = run(c.args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, c.out);
    if (c.status == 2 && c.err.empty())
        EXPECT_NE(r.err.find("Usage: quillet-cli MAP [--convert OUT]\n"), std::string::npos) << r.err;
    else
        EXPECT_EQ(r.err, c.err);
    // Nothing is left half-written.
    EXPECT_FALSE(fs::exists(at("OUT.MAP")));
    EXPECT_EQ(ReadFile(at("MAIN.MAP")), kMap);
}

const std::string kNoFlag = join({"1", "1 1", "0 0 0", " ", "0", "0", "0", "0", "0", "0", "0", "0", "0", "7"}, "\n");
const std::string kShortHeader = join(flat_map(1, 1, {" "}, {"0"}, "1 2"), "\n");
const std::string kMinusOne =
    join({"1", "1 1", "0 0 0", "x", "0", "1", "\x1d", "0", "0", "0", "0", "0", "0", "0", "0", "0"}, "\n");

INSTANTIATE_TEST_SUITE_P(
    Cases, QuilletCliTable,
    ::testing::Values(
        Case{"checksum", "", {"MAIN.MAP"}, 0, "Checksum: 45\n", ""},
        Case{"nameInAnyCase", "", {"main.map"}, 0, "Checksum: 45\n", ""},
        Case{"checksumOfMinusOne", kMinusOne, {"BAD.MAP"}, 0, "Checksum: -1\n", ""},
        Case{"missingMap", "", {"NONE.MAP"}, 2, "", "Can't open MAP file!\n"},
        Case{"folderAsMap", "", {"."}, 2, "", "Can't open MAP file!\n"},
        Case{"endsEarly", "1\n", {"BAD.MAP"}, 1, "", "EOF error!\n"},
        Case{"shortTerrainRow",
             join(flat_map(3, 1, {"ab"}, {"000"}), "\n"),
             {"BAD.MAP"},
             1,
             "",
             "Hex terrain map error!\n"},
        Case{"badFlag", kNoFlag, {"BAD.MAP"}, 1, "", "Hexside terrain flag error!\n"},
        Case{"invalidMapIsNotConverted", "1\n", {"BAD.MAP", "--convert", "OUT.MAP"}, 1, "", "EOF error!\n"},
        Case{"headerTooShortToConvert",
             kShortHeader,
             {"BAD.MAP", "--convert", "OUT.MAP"},
             1,
             "Checksum: 3\n",
             "Map header error!\n"},
        Case{"outputFolderMissing",
             "",
             {"MAIN.MAP", "--convert", "NODIR/OUT.MAP"},
             2,
             "Checksum: 45\n",
             "Can't create new MAIN.MAP file!\n"},
        Case{"noMap", "", {}, 2, "", ""}, Case{"convertWithoutOutput", "", {"MAIN.MAP", "--convert"}, 2, "", ""},
        Case{"twoMaps", "", {"MAIN.MAP", "MAIN.MAP"}, 2, "", ""},
        Case{"version", "", {"--version"}, 0, std::string("quillet-cli ") + QUILLET_VERSION + "\n", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(QuilletCli, ConvertsIntoANewFile) {
    const RunResult r = run({"MAIN.MAP", "--convert", "NEW.MAP"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Checksum: 45\nConversion complete!\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(ReadFile(at("NEW.MAP")),
              join(flat_map(8, 1, {" wfostdr"}, {"01234567"}, "1 2 3 45"), "\r\n").replace(0, 1, "2"));
    EXPECT_EQ(ReadFile(at("MAIN.MAP")), kMap);
}

TEST_F(QuilletCli, ConvertsAMapIntoItself) {
    const RunResult r = run({"MAIN.MAP", "--convert", "MAIN.MAP"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Checksum: 45\nConversion complete!\n");
    const std::string converted = ReadFile(at("MAIN.MAP"));
    EXPECT_EQ(converted, std::string(kConverted).replace(0, 1, "2"));
    // Converting again gives the same file and the same checksum.
    const RunResult again = run({"MAIN.MAP", "--convert", "MAIN.MAP"});
    EXPECT_EQ(again.out, "Checksum: 45\nConversion complete!\n");
    EXPECT_EQ(ReadFile(at("MAIN.MAP")), converted);
}

TEST_F(QuilletCli, PrintsWhatQuilletsCoreComputesForTheDemoMap) {
    const quillet::ChecksumResult sum = quillet::compute_map_checksum(std::string_view(ReadFile(QUILLET_DEMO_MAP)));
    ASSERT_TRUE(sum.ok);
    const RunResult r = run({QUILLET_DEMO_MAP});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Checksum: " + std::to_string(sum.checksum) + "\n");
}

TEST_F(QuilletCli, AnOutputThatCannotBeWrittenFails) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const RunResult r = clitest::Run(QUILLET_CLI, {"MAIN.MAP"}, dir_.game(), dir_.scratch(), "/dev/full");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "quillet-cli: cannot write the output\n");
}

TEST_F(QuilletCli, HelpNamesTheOption) {
    const RunResult r = run({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("--convert"), std::string::npos) << r.out;
    EXPECT_EQ(r.err, "");
}

}  // namespace

namespace {

// A map that is a FIFO is refused at once, and the control characters of its
// name reach the terminal as their pictures.
TEST_F(QuilletCli, AFifoIsRefusedAndControlsShownVisibly) {
#ifdef _WIN32
    // No FIFOs among Windows' files, nor control characters in its names: a
    // device stands for the FIFO.
    const RunResult r = run({at("NUL").string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, at("NUL").string() + " is not a regular file\n");
#else
    const fs::path fifo = at("\x1B[2J.MAP");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    const RunResult r = run({fifo.string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, at("\xE2\x90\x9B[2J.MAP").string() + " is not a regular file\n");
#endif
}

// C1 controls, as UTF-8 or as a Latin-1 byte, and an argument's controls in
// a usage error are shown visibly too; other Latin-1 bytes as UTF-8.
TEST_F(QuilletCli, C1ControlsAndArgumentsAreShownVisibly) {
#ifndef _WIN32  // Windows' names are Unicode: no byte that is no UTF-8, no FIFO
    const fs::path fifo = at("\xC2\x9B"
                             "31m \x9B"
                             "1m \xE9.MAP");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_EQ(run({fifo.string()}).err, at("\xEF\xBF\xBD"
                                           "31m \xEF\xBF\xBD"
                                           "1m \xC3\xA9.MAP")
                                                .string() +
                                            " is not a regular file\n");
#endif
    const RunResult r = run({"MAIN.MAP", "x\x1B]0;owned\x07"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.find('\x1B'), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("x\xE2\x90\x9B]0;owned\xE2\x90\x87"), std::string::npos) << r.err;
}

}  // namespace
