// varno-cli diff and dump --text, run as a user runs them on copies of the
// demo game.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/cli/run_program.h"

namespace {

using clitest::ReadFile;
using clitest::RunResult;
using clitest::TempDir;
using clitest::WriteFile;
using nlohmann::json;
namespace fs = std::filesystem;

// `text` with its first `from` replaced by `to`.
std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at == std::string::npos) throw std::runtime_error("not in the text: " + from);
    return text.replace(at, from.size(), to);
}

class VarnoCliDiff : public ::testing::Test {
protected:
    void SetUp() override {
        demo_ = ReadFile(fs::path(VARNO_DEMO_DIR) / "DEMO.SCN");
        fs::copy_file(fs::path(VARNO_DEMO_DIR) / "MAIN.OOB", tmp_.game() / "MAIN.OOB");
        WriteFile(tmp_.game() / "DEMO.SCN", demo_);
        // 1.3.3.2.3 moved from 25,11 to 26,11; release of 2.1 at 8:00 gets chance 90.
        WriteFile(tmp_.game() / "OLDSCN1.TXT", Replace(Replace(demo_, "183 10 0 512 25 11", "183 10 0 512 26 11"),
                                                       "4 1863 7 2 8 0 100 2.1", "4 1863 7 2 8 0 90 2.1"));
    }
    RunResult cli(const std::vector<std::string>& args) {
        return clitest::Run(VARNO_CLI, args, tmp_.game(), tmp_.scratch());
    }

    TempDir tmp_;
    std::string demo_;
};

struct ArgsRow {
    std::vector<std::string> Args;
    int Status;
    const char* ErrHas;  // part of stderr, "" for none expected
};

class VarnoCliDiffArgs : public VarnoCliDiff, public ::testing::WithParamInterface<ArgsRow> {};

TEST_P(VarnoCliDiffArgs, ExitStatus) {
    WriteFile(tmp_.game() / "BROKEN.SCN", Replace(demo_, "1 1.1 8 4 0 0 0 0 24 10", "1 1.1 8 x"));
    const RunResult r = cli(GetParam().Args);
    EXPECT_EQ(r.status, GetParam().Status) << r.err;
    EXPECT_NE(r.err.find(GetParam().ErrHas), std::string::npos) << r.err;
    const std::vector<std::string>& args = GetParam().Args;
    if (r.status == 0 && args[1] == "--json") {
        EXPECT_EQ(json::parse(r.out)["equal"], true);
    } else if (r.status == 0) {
        EXPECT_EQ(r.out, "");
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, VarnoCliDiffArgs,
                         ::testing::Values(ArgsRow{{"diff", "DEMO.SCN", "DEMO.SCN"}, 0, ""},
                                           ArgsRow{{"diff", "OLDSCN1.TXT", "DEMO.SCN"}, 3, ""},
                                           ArgsRow{{"diff", "--json", "DEMO.SCN", "DEMO.SCN"}, 0, ""},
                                           ArgsRow{
                                               {"diff", "DEMO.SCN", "NONE.SCN"}, 1, "No such scenario file: NONE.SCN"},
                                           ArgsRow{{"diff", "BROKEN.SCN", "DEMO.SCN"}, 1, "Bad data"},
                                           ArgsRow{{"diff", "DEMO.SCN"}, 2, "Usage: varno-cli diff OLD NEW [--json]"},
                                           ArgsRow{{"dump", "--text", "BROKEN.SCN"}, 1, "Bad data"}));

TEST_F(VarnoCliDiff, JsonGivesEachChangedField) {
    const RunResult r = cli({"diff", "--json", "OLDSCN1.TXT", "DEMO.SCN"});
    ASSERT_EQ(r.status, 3) << r.err;
    const json doc = json::parse(r.out);
    EXPECT_EQ(doc["equal"], false);
    EXPECT_EQ(doc["oobDiffers"], false);
    EXPECT_EQ(doc["changed"], 2);
    ASSERT_EQ(doc["differences"].size(), 2u);
    const json& moved = doc["differences"][0];
    EXPECT_EQ(moved["kind"], "placement");
    EXPECT_EQ(moved["change"], "moved");
    EXPECT_EQ(moved["key"], "1.3.3.2.3");
    EXPECT_EQ(moved["oldIndex"], 2);
    EXPECT_EQ(moved["newIndex"], 2);
    EXPECT_EQ(moved["fields"], json::parse(R"([{"field":"hex","old":"26,11","new":"25,11"}])"));
}

TEST_F(VarnoCliDiff, EachScenarioReadsTheOrderOfBattleOfItsFolder) {
    fs::create_directories(tmp_.game() / "other");
    WriteFile(tmp_.game() / "other" / "MAIN.OOB",
              Replace(ReadFile(tmp_.game() / "MAIN.OOB"), "Gen. Abel Valcourt", "Gen. Abel Valcourt-Ney"));
    WriteFile(tmp_.game() / "other" / "DEMO.SCN", demo_);
    // From the folder above: the first read's change of folder moves no path.
    const RunResult r = clitest::Run(VARNO_CLI, {"diff", "game/DEMO.SCN", "game/other/DEMO.SCN"},
                                     tmp_.game().parent_path(), tmp_.scratch());
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.out, "note     the orders of battle differ: entries matched by dot name\n");
}

TEST_F(VarnoCliDiff, DumpTextReadsTheOrderOfBattleOfTheGameFolderAsked) {
    // A textconv gets an earlier version as a file in a folder of its own.
    fs::create_directories(tmp_.scratch() / "copy");
    WriteFile(tmp_.scratch() / "copy" / "X_DEMO.SCN", demo_);
    const std::string copy = (tmp_.scratch() / "copy" / "X_DEMO.SCN").string();
    EXPECT_EQ(cli({"dump", "--text", copy}).status, 1);
    const RunResult r = cli({"dump", "--text", "--game", ".", copy});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, cli({"dump", "--text", "DEMO.SCN"}).out);
    EXPECT_EQ(cli({"dump", "--game", ".", "DEMO.SCN"}).status, 2);  // only with --text
}

}  // namespace
