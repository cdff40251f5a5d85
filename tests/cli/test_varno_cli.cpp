// varno-cli run as a user runs it, on a game folder the tests write.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

#include "tests/cli/run_program.h"

// The build with the GUI draws the map too.
#ifdef VARNO_CLI_MAP_PICTURE
#define kLastCommands ", schedule, map-picture and recover"
#else
#define kLastCommands ", schedule and recover"
#endif

namespace {

using clitest::ReadFile;
using clitest::RunResult;
using clitest::TempDir;
using clitest::WriteFile;
using nlohmann::json;
namespace fs = std::filesystem;

std::string Crlf(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

// Two armies; the battery's name carries a Latin-1 byte (0xE9).
const std::string kOob = Crlf({
    "Test order of battle",
    "Union A First Army",
    "Begin",
    "L 1 2 3 Gen. Able",
    "U 120 3 I X 4 5 1st Regiment",
    "U 30 1 A X 4 5 Battery R\xE9",
    "S 9 2 Wagons",
    "End",
    "Confederate A Second Army",
    "Begin",
    "L 1 2 3 Gen. Baker",
    "U 200 1 C R 4 5 2nd Cavalry",
    "End",
});

const std::vector<std::string> kHeader = {
    "Test scenario", "Start 1863 7 1 5 0", "h3", "h4", "h5", "h6", "h7", "h8", "h9"};

std::vector<std::string> WithHeader(std::vector<std::string> body) {
    body.insert(body.begin(), kHeader.begin(), kHeader.end());
    return body;
}

const std::vector<std::string> kSetups = {
    "1 1.2 8 4 100 10 0 262145 5 7",
    "1 1.4 4 4 40 0 0 0 2 7",
    "1 2.2 32 4 200 0 0 512 5 9",
};
const std::vector<std::string> kGroup = {"2 1863 7 2 6 20 75 3 0 20 2 1", "    1.3", "    2.1"};
const std::vector<std::string> kCommands = {
    "0", "2 0", "1", "2.2 1863 7 1 6 0 12 14 3", "2", "1.2 1863 7 2 7 40 1 2 0", "1.3 1863 7 2 8 0 1 3 1"};

// Every section; the second release without a chance, the first with one
// unless `chanceLine` is false.
std::string FullScenario(bool chanceLine = true) {
    std::vector<std::string> l = WithHeader(kSetups);
    l.insert(l.end(), kGroup.begin(), kGroup.end());
    l.push_back("3 misc line three");
    l.push_back(chanceLine ? "4 1863 7 8 14 20 80 1.2" : "4 1863 7 8 14 20 1.2");
    l.push_back("4 1863 7 8 15 0 1.3");
    l.push_back("Some other line");
    l.insert(l.end(), kCommands.begin(), kCommands.end());
    l.push_back("Trailer line");
    return Crlf(l);
}

// The full scenario as Save writes it: releases in `release1` / `release2`
// form, section 3 after the releases, setups in `setups` order.
std::string SavedScenario(const std::string& release1, const std::string& release2,
                          const std::vector<std::string>& setups = kSetups) {
    std::vector<std::string> l = WithHeader(setups);
    l.insert(l.end(), kGroup.begin(), kGroup.end());
    l.push_back(release1);
    l.push_back(release2);
    l.push_back("3 misc line three");
    l.push_back("Some other line");
    l.insert(l.end(), kCommands.begin(), kCommands.end());
    l.push_back("Trailer line");
    return Crlf(l);
}

const std::string kSaveProgress =
    "saving reinforcements\nsaving miscellaneous\nsaving commands\nsaving trailer\nDone\n";

class VarnoCli : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(game() / "MAIN.OOB", kOob);
        WriteFile(game() / "TEST.SCN", FullScenario());
    }
    fs::path game() const { return dir_.game(); }
    RunResult run(const std::vector<std::string>& args) {
        return clitest::Run(VARNO_CLI, args, game(), dir_.scratch());
    }
    std::string scn() const { return (game() / "TEST.SCN").string(); }

    TempDir dir_;
};

// ---------------------------------------------------------------------------
// Arguments

struct ArgCase {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::string inOut;  // must occur in stdout
    std::string inErr;  // must occur in stderr
};

class VarnoCliArgs : public VarnoCli, public ::testing::WithParamInterface<ArgCase> {};

TEST_P(VarnoCliArgs, ExitStatusAndTexts) {
    const ArgCase& c = GetParam();
    const RunResult r = run(c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_NE(r.out.find(c.inOut), std::string::npos) << r.out;
    EXPECT_NE(r.err.find(c.inErr), std::string::npos) << r.err;
    if (c.status == 2) {
        EXPECT_TRUE(r.out.empty()) << r.out;
    }
    // No argument error touches the scenario.
    EXPECT_FALSE(fs::exists(game() / "OLDSCN1.TXT"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VarnoCliArgs,
    ::testing::Values(
        ArgCase{"version", {"--version"}, 0, std::string("varno-cli ") + VARNO_VERSION + "\n", ""},
        ArgCase{"help", {"--help"}, 0, "strength", ""}, ArgCase{"saveHelp", {"save", "--help"}, 0, "--chance", ""},
        ArgCase{"nothing",
                {},
                2,
                "",
                "Usage: varno-cli check SCENARIO [--all [--json]]\n       varno-cli strength oob|scn SCENARIO\n"},
        ArgCase{"strengthFromWhat",
                {"strength", "units", "TEST.SCN"},
                2,
                "",
                "Usage: varno-cli strength oob|scn SCENARIO\n"},
        ArgCase{"strengthWithoutScenario", {"strength", "oob"}, 2, "", "SCENARIO is required"},
        ArgCase{"unknownCommand", {"frobnicate", "TEST.SCN"}, 2, "", "Usage: varno-cli"},
        ArgCase{"unknownCommandNamed",
                {"bogus", "TEST.SCN"},
                2,
                "",
                "varno-cli: unknown command 'bogus'; the commands are check, strength, dump, diff, save" kLastCommands
                "\n"},
        ArgCase{"noScenario", {"save"}, 2, "", "Usage: varno-cli save SCENARIO [--sort] [--v103|--chance] [--force]\n"},
        ArgCase{"twoScenarios", {"dump", "TEST.SCN", "OTHER.SCN"}, 2, "", "Usage: varno-cli dump SCENARIO\n"},
        ArgCase{"bothForms", {"save", "TEST.SCN", "--v103", "--chance"}, 2, "", "excludes"},
        ArgCase{"unknownFlag", {"save", "TEST.SCN", "--fast"}, 2, "", "Usage: varno-cli save"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// dump

TEST_F(VarnoCli, DumpGivesEveryRecordWithItsFields) {
    const RunResult r = run({"dump", scn()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const json j = json::parse(r.out);

    EXPECT_EQ(j["path"], scn());
    EXPECT_EQ(j["oobPath"], (game() / "MAIN.OOB").string());
    EXPECT_EQ(j["complete"], true);
    EXPECT_TRUE(j["error"].is_null());
    EXPECT_EQ(j["releaseChanceInFile"], true);

    const json& oob = j["oob"];
    ASSERT_EQ(oob.size(), 8u);
    EXPECT_EQ(oob[0], json({{"index", 0},
                            {"kind", "A"},
                            {"unitType", nullptr},
                            {"parent", -1},
                            {"side", "Union"},
                            {"strength", 0},
                            {"dotName", "1"},
                            {"display", "First Army"}}));
    // Latin-1 bytes come out as UTF-8.
    EXPECT_EQ(oob[3], json({{"index", 3},
                            {"kind", "U"},
                            {"unitType", "A"},
                            {"parent", 0},
                            {"side", "Union"},
                            {"strength", 30},
                            {"dotName", "1.3"},
                            {"display", "30 1 A X Battery R\xC3\xA9"}}));
    EXPECT_EQ(oob[4]["kind"], "S");
    EXPECT_EQ(oob[4]["strength"], 9);
    EXPECT_EQ(oob[4]["display"], "Wagons");
    EXPECT_EQ(oob[6]["display"], "Gen. Baker");
    EXPECT_EQ(oob[7]["side"], "Confederate");
    EXPECT_EQ(oob[7]["parent"], 5);
    EXPECT_EQ(oob[7]["dotName"], "2.2");

    ASSERT_EQ(j["setups"].size(), 3u);
    EXPECT_EQ(j["setups"][0], json({{"unit", 2},
                                    {"dotName", "1.2"},
                                    {"display", "120 3 I X 1st Regiment"},
                                    {"facing", 8},
                                    {"aux", 4},
                                    {"strength", 100},
                                    {"fatigue", 10},
                                    {"flags", 262145},
                                    {"col", 5},
                                    {"row", 7}}));
    EXPECT_EQ(j["setups"][2]["flags"], 512);

    ASSERT_EQ(j["reinforcements"].size(), 1u);
    EXPECT_EQ(j["reinforcements"][0], json({{"display", "30 1 A X Battery R\xC3\xA9 ..."},
                                            {"year", 1863},
                                            {"month", 7},
                                            {"day", 2},
                                            {"hour", 6},
                                            {"minute", 20},
                                            {"chance", 75},
                                            {"protHexes", 3},
                                            {"col", 0},
                                            {"row", 20},
                                            {"count", 2},
                                            {"facing", 1},
                                            {"units", json::array({json({{"unit", 3}, {"dotName", "1.3"}}),
                                                                   json({{"unit", 6}, {"dotName", "2.1"}})})}}));

    ASSERT_EQ(j["releases"].size(), 2u);
    EXPECT_EQ(j["releases"][0], json({{"unit", 2},
                                      {"dotName", "1.2"},
                                      {"display", "120 3 I X 1st Regiment"},
                                      {"year", 1863},
                                      {"month", 7},
                                      {"day", 8},
                                      {"hour", 14},
                                      {"minute", 20},
                                      {"chance", 80}}));
    EXPECT_EQ(j["releases"][1]["chance"], 100);
    EXPECT_EQ(j["releases"][1]["dotName"], "1.3");

    ASSERT_EQ(j["commands"].size(), 3u);
    EXPECT_EQ(j["commands"][0], json({{"unit", 7},
                                      {"dotName", "2.2"},
                                      {"display", "200 1 C R 2nd Cavalry"},
                                      {"group", 1},
                                      {"year", 1863},
                                      {"month", 7},
                                      {"day", 1},
                                      {"hour", 6},
                                      {"minute", 0},
                                      {"col", 12},
                                      {"row", 14},
                                      {"command", 3}}));
    EXPECT_EQ(j["commands"][2]["group"], 2);
    EXPECT_EQ(j["commands"][2]["command"], 1);
    EXPECT_EQ(j["cmdGroupCounts"], json({2, 1, 2, 0, 0, 0, 0, 0, 0}));

    EXPECT_EQ(j["header"], json(kHeader));
    EXPECT_EQ(j["misc"], json({"3 misc line three", "Some other line"}));
    EXPECT_EQ(j["trailer"], json({"Trailer line"}));
}

TEST_F(VarnoCli, DumpTakesAPathRelativeToTheWorkingFolder) {
    WriteFile(game() / "TEST.SCN", FullScenario(false));
    const RunResult r = run({"dump", "TEST.SCN"});
    ASSERT_EQ(r.status, 0) << r.err;
    const json j = json::parse(r.out);
    EXPECT_EQ(j["path"], scn());
    EXPECT_EQ(j["releaseChanceInFile"], false);
    EXPECT_EQ(j["setups"].size(), 3u);
}

TEST_F(VarnoCli, DumpOfAScenarioNotYetWrittenIsEmpty) {
    const RunResult r = run({"dump", "NEW.SCN"});
    ASSERT_EQ(r.status, 0) << r.err;
    const json j = json::parse(r.out);
    EXPECT_EQ(j["complete"], true);
    EXPECT_EQ(j["oob"].size(), 8u);
    EXPECT_TRUE(j["setups"].empty());
    EXPECT_TRUE(j["header"].empty());
    EXPECT_FALSE(fs::exists(game() / "NEW.SCN"));
}

TEST_F(VarnoCli, DumpAfterAReadErrorGivesTheStateReachedAndTheError) {
    WriteFile(game() / "TEST.SCN", Crlf(WithHeader({kSetups[0], "1 9.9 8 4 1 1 0 0 1 1", kSetups[1]})));
    const RunResult r = run({"dump", scn()});
    EXPECT_EQ(r.status, 1);
    // On the terminal the carriage return of the message is a line break.
    EXPECT_EQ(r.err, "Not found: \n1 9.9 8 4 1 1 0 0 1 1\n");
    const json j = json::parse(r.out);
    EXPECT_EQ(j["complete"], false);
    EXPECT_EQ(j["error"], "Not found: \r1 9.9 8 4 1 1 0 0 1 1");
    ASSERT_EQ(j["setups"].size(), 1u);
    EXPECT_EQ(j["setups"][0]["dotName"], "1.2");
    EXPECT_EQ(j["oob"].size(), 8u);
}

// Paths are the file system's UTF-8; a line of a game file in a message is Latin-1.
TEST_F(VarnoCli, PathsStayUtf8AndLinesAreReadAsLatin1) {
    const fs::path folder = game() / clitest::PathOf("F\xC3\xA4lt");
    fs::create_directory(folder);
    fs::copy_file(game() / "MAIN.OOB", folder / "MAIN.OOB");
    WriteFile(folder / "T.SCN", Crlf(WithHeader({"1 1.2 8 4 \xE9"})));
    const RunResult r = run({"dump", clitest::TextOf(folder / "T.SCN")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Bad data in 1 1.2 8 4 \xC3\xA9\n");
    const json j = json::parse(r.out);
    EXPECT_EQ(j["path"], clitest::TextOf(folder / "T.SCN"));
    EXPECT_EQ(j["oobPath"], clitest::TextOf(folder / "MAIN.OOB"));
    EXPECT_EQ(j["error"], "Bad data in 1 1.2 8 4 \xC3\xA9");

    fs::remove(folder / "MAIN.OOB");
    const RunResult noOob = run({"check", clitest::TextOf(folder / "T.SCN")});
    EXPECT_EQ(noOob.status, 1);
    EXPECT_EQ(noOob.err, "Order of Battle file not found: " + clitest::TextOf(folder / "MAIN.OOB") + "\n");
}

TEST_F(VarnoCli, AMessageKeepsTheLineWholePastANulByte) {
    WriteFile(game() / "TEST.SCN", Crlf(WithHeader({std::string("1 9.9 8\0 4 x", 12)})));
    const RunResult r = run({"dump", scn()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Not found: \n1 9.9 8\xE2\x90\x80 4 x\n");
    EXPECT_EQ(json::parse(r.out)["error"], std::string("Not found: \r1 9.9 8\0 4 x", 24));
}

TEST_F(VarnoCli, DumpWithoutAnOrderOfBattleFails) {
    fs::remove(game() / "MAIN.OOB");
    const RunResult r = run({"dump", scn()});
    EXPECT_EQ(r.status, 1);
    const std::string message = "Order of Battle file not found: " + (game() / "MAIN.OOB").string();
    EXPECT_EQ(r.err, message + "\n");
    const json j = json::parse(r.out);
    EXPECT_EQ(j["error"], message);
    EXPECT_TRUE(j["oob"].empty());
}

TEST_F(VarnoCli, DumpOfABrokenOrderOfBattleKeepsTheEntriesRead) {
    fs::remove(game() / "MAIN.OOB");
    WriteFile(game() / "main.oob", Crlf({"h", "Union A First Army", "Begin", "L 1 2 3 Gen. Able", "Q bad"}));
    const RunResult r = run({"dump", scn()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Unknown line type L5\n");
    const json j = json::parse(r.out);
    EXPECT_EQ(j["oobPath"], (game() / "main.oob").string());
    EXPECT_EQ(j["oob"].size(), 2u);
    EXPECT_TRUE(j["setups"].empty());
}

// ---------------------------------------------------------------------------
// check

const std::string kCounts = "Entries: 8\nPlacements: 3\nReinforcement groups: 1\nReleases: 2\nCommands: 3\n"
                            "Skipped release lines: 0\nSkipped command lines: 0\n";

TEST_F(VarnoCli, CheckWithoutFindingsPrintsTheCounts) {
    const RunResult r = run({"check", scn()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, kCounts);
    EXPECT_EQ(r.err, "");
}

TEST_F(VarnoCli, CheckListsTheOverloadedHexesInTheirOrder) {
    WriteFile(game() / "TEST.SCN",
              Crlf(WithHeader({
                  "1 1.4 4 4 1 0 0 0 2 7",   // wagon
                  "1 1.2 8 4 30 0 0 0 5 7",  // 30 x 25
                  "1 1.4 4 4 1 0 0 0 2 7",   // a second wagon
                  "1 1.3 8 4 15 0 0 0 5 7",  // type A: 15 x 50, 1500 in all
                  "1 2.2 8 4 20 0 0 0 9 9",
                  "1 2.1 8 4 0 0 0 0 9 9",  // a leader adds nothing
              })));
    const RunResult r = run({"check", scn()});
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_EQ(r.out, "Entries: 8\nPlacements: 6\nReinforcement groups: 0\nReleases: 0\nCommands: 0\n"
                     "Skipped release lines: 0\nSkipped command lines: 0\n"
                     "2,7 Too many wagons\n5,7 Overfilled\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(VarnoCli, AnOutputThatCannotBeWrittenFails) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const RunResult r = clitest::Run(VARNO_CLI, {"dump", scn()}, game(), dir_.scratch(), "/dev/full");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "varno-cli: cannot write the output\n");
}

TEST_F(VarnoCli, CheckOfAnUnreadableScenarioFails) {
    WriteFile(game() / "TEST.SCN", Crlf(WithHeader({"1 1.2 8 4 abc"})));
    const RunResult r = run({"check", scn()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Bad data in 1 1.2 8 4 abc\n");
}

// ---------------------------------------------------------------------------
// strength

struct StrengthCase {
    const char* name;
    std::string from;
    std::string out;
};

class VarnoCliStrength : public VarnoCli, public ::testing::WithParamInterface<StrengthCase> {};

// A brigade inside the army shows indented; wagons and leaders add nothing.
TEST_P(VarnoCliStrength, PrintsTheListLines) {
    WriteFile(game() / "MAIN.OOB",
              Crlf({"h", "Union A First Army", "Begin", "L 1 2 3 Gen. Able", "B 1st Brigade", "Begin",
                    "U 10 1 I X 4 5 1st Regiment", "U 4 1 H X 4 5 Gunn\xE9rs", "S 9 2 Wagons", "End", "End"}));
    WriteFile(game() / "TEST.SCN", Crlf(WithHeader({"1 1.2.1 8 4 7 0 0 0 2 7", "1 1.2.3 8 4 9 0 0 0 2 7"})));
    const RunResult r = run({"strength", GetParam().from, scn()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, GetParam().out);
    EXPECT_EQ(r.err, "");
}

INSTANTIATE_TEST_SUITE_P(From, VarnoCliStrength,
                         ::testing::Values(StrengthCase{"oob", "oob", "First Army    350\n  1st Brigade    350\n"},
                                           StrengthCase{"scn", "scn", "First Army    175\n  1st Brigade    175\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(VarnoCli, StrengthOfAnUnreadableScenarioFails) {
    fs::remove(game() / "MAIN.OOB");
    const RunResult r = run({"strength", "oob", scn()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Order of Battle file not found: "), std::string::npos) << r.err;
}

// ---------------------------------------------------------------------------
// save

struct FormCase {
    const char* name;
    bool chanceInFile;
    std::vector<std::string> flags;
    std::string release1, release2;
};

class VarnoCliSaveForm : public VarnoCli, public ::testing::WithParamInterface<FormCase> {};

TEST_P(VarnoCliSaveForm, WritesTheReleaseFormAsked) {
    const FormCase& c = GetParam();
    WriteFile(game() / "TEST.SCN", FullScenario(c.chanceInFile));
    const std::string before = ReadFile(game() / "TEST.SCN");
    std::vector<std::string> args{"save", scn()};
    args.insert(args.end(), c.flags.begin(), c.flags.end());
    const RunResult r = run(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, kSaveProgress);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(ReadFile(game() / "OLDSCN1.TXT"), before);
    EXPECT_EQ(ReadFile(game() / "TEST.SCN"), SavedScenario(c.release1, c.release2));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, VarnoCliSaveForm,
    ::testing::Values(
        // By default the form the file was read in: with a chance when any line had one.
        FormCase{"asReadWithChance", true, {}, "4 1863 7 8 14 20 80 1.2", "4 1863 7 8 15 0 100 1.3"},
        FormCase{"asReadWithout", false, {}, "4 1863 7 8 14 20 1.2", "4 1863 7 8 15 0 1.3"},
        FormCase{"v103", true, {"--v103"}, "4 1863 7 8 14 20 1.2", "4 1863 7 8 15 0 1.3"},
        FormCase{"chance", false, {"--chance"}, "4 1863 7 8 14 20 100 1.2", "4 1863 7 8 15 0 100 1.3"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VarnoCli, SaveSortsByColumnWhenAsked) {
    const RunResult r = run({"save", scn(), "--sort", "--chance"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Sorting cols\nsaving setups\n" + kSaveProgress);
    EXPECT_EQ(ReadFile(game() / "TEST.SCN"), SavedScenario("4 1863 7 8 14 20 80 1.2", "4 1863 7 8 15 0 100 1.3",
                                                           {kSetups[1], kSetups[0], kSetups[2]}));
}

TEST_F(VarnoCli, EachSaveMakesTheNextBackup) {
    ASSERT_EQ(run({"save", "TEST.SCN", "--chance"}).status, 0);
    const std::string first = ReadFile(game() / "TEST.SCN");
    const RunResult r = run({"save", "TEST.SCN", "--chance"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(game() / "OLDSCN1.TXT"), FullScenario());
    EXPECT_EQ(ReadFile(game() / "OLDSCN2.TXT"), first);
    EXPECT_EQ(ReadFile(game() / "TEST.SCN"), first);
}

TEST_F(VarnoCli, SaveOfAScenarioNotYetWrittenCreatesItWithoutBackup) {
    const RunResult r = run({"save", "NEW.SCN"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "saving reinforcements\nsaving trailer\nDone\n");
    EXPECT_EQ(ReadFile(game() / "NEW.SCN"), Crlf(std::vector<std::string>(9)));  // nine empty header lines
    EXPECT_FALSE(fs::exists(game() / "OLDSCN1.TXT"));
}

TEST_F(VarnoCli, SaveAfterAReadErrorWritesNothing) {
    const std::string bad = Crlf(WithHeader({"2 1863 7 2 6 20 75 3 0 20 11 1", "    1.3"}));
    WriteFile(game() / "TEST.SCN", bad);
    const RunResult r = run({"save", scn()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Bad count in 2 1863 7 2 6 20 75 3 0 20 11 1\n");
    EXPECT_EQ(ReadFile(game() / "TEST.SCN"), bad);
    EXPECT_FALSE(fs::exists(game() / "OLDSCN1.TXT"));
}

TEST_F(VarnoCli, SaveThatCannotCreateTheFileFails) {
    fs::create_directory(game() / "FOLDER.SCN");
    const RunResult r = run({"save", "FOLDER.SCN"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, (game() / "FOLDER.SCN").string() + " is not a regular file\n");
    EXPECT_TRUE(fs::is_directory(game() / "FOLDER.SCN"));
}

// Release and command lines naming no unit: counted by check and dump, and
// named by save before it leaves them out.
TEST_F(VarnoCli, LinesNamingNoUnitAreCounted) {
    WriteFile(game() / "TEST.SCN", Crlf(WithHeader({"4 1863 7 1 9 0 9.9", "4 1863 7 1 9 0 8.8", "0", "1 0", "1",
                                                    "7.7 1863 7 1 8 0 3 4 3"})));
    const RunResult check = run({"check", scn()});
    EXPECT_NE(check.out.find("Skipped release lines: 2\nSkipped command lines: 1\n"), std::string::npos) << check.out;
    const json j = json::parse(run({"dump", scn()}).out);
    EXPECT_EQ(j["skippedReleaseLines"], 2);
    EXPECT_EQ(j["skippedCommandLines"], 1);
    const RunResult save = run({"save", scn(), "--force"});
    EXPECT_EQ(save.status, 0);
    EXPECT_EQ(save.err, "2 release and 1 command lines name units that are not in the order of battle; "
                        "saving will leave them out.\n");
}

// Files that are no scenario are refused without hanging or flooding; file
// text reaches the terminal with its control characters made visible.
TEST_F(VarnoCli, HostileInputsAreRefusedShortAndVisible) {
#ifdef _WIN32
    // No FIFOs among Windows' files: its devices stand for them.
    const std::string device = (game() / "NUL").string();
    EXPECT_EQ(run({"check", device}).err, device + " is not a regular file\n");
#else
    fs::remove(game() / "TEST.SCN");
    ASSERT_EQ(mkfifo(scn().c_str(), 0644), 0);
    EXPECT_EQ(run({"check", scn()}).err, scn() + " is not a regular file\n");
    fs::remove(game() / "TEST.SCN");
#endif
    WriteFile(game() / "TEST.SCN", std::string("\xFF\xFE"
                                               "1\0",
                                               4));
    EXPECT_EQ(run({"check", scn()}).err, scn() + " is not a scenario file: it is UTF-16 text\n");
    WriteFile(game() / "TEST.SCN", Crlf(WithHeader({"1 9.9 \x1B[2J" + std::string(1000, 'x')})));
    const RunResult r = run({"check", scn()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Not found: \n1 9.9 \xE2\x90\x9B[2J" + std::string(245, 'x') + "\xE2\x80\xA6\n");
}

// Only a missing file is a scenario not yet written: a folder or a circle
// of links is refused by every command, and saving it writes nothing.
TEST_F(VarnoCli, AFolderOrALinkLoopIsNoScenario) {
    fs::create_directory(game() / "D.SCN");
#ifndef _WIN32  // symbolic links need a privilege on Windows: the folder alone there
    fs::create_symlink("B.SCN", game() / "A.SCN");
    fs::create_symlink("A.SCN", game() / "B.SCN");
#endif
    const std::string folder = (game() / "D.SCN").string(), loop = (game() / "A.SCN").string();
    const std::vector<std::vector<std::string>> commands = {
        {"check"}, {"check", "--all"}, {"dump"}, {"dump", "--text"}, {"strength", "scn"}, {"schedule"}, {"save"}};
    for (std::vector<std::string> args : commands) {
        args.push_back("D.SCN");
        RunResult r = run(args);
        EXPECT_EQ(r.status, 1) << args[0];
        EXPECT_EQ(r.err, folder + " is not a regular file\n") << args[0];
#ifndef _WIN32
        args.back() = "A.SCN";
        r = run(args);
        EXPECT_EQ(r.status, 1) << args[0];
        EXPECT_EQ(r.err, "Cannot read " + loop + ": " + std::strerror(ELOOP) + "\n") << args[0];
#endif
    }
    EXPECT_EQ(run({"diff", "TEST.SCN", "D.SCN"}).err, folder + " is not a regular file\n");
    EXPECT_TRUE(fs::is_directory(game() / "D.SCN"));
#ifndef _WIN32
    EXPECT_TRUE(fs::is_symlink(game() / "A.SCN"));
    EXPECT_TRUE(fs::is_symlink(game() / "B.SCN"));
#endif
    EXPECT_FALSE(fs::exists(game() / "OLDSCN1.TXT"));
}

// Files as Windows users meet them, on both systems: a name beyond ASCII, a
// name typed in another case, a file marked read-only, a file another
// program holds open. What a save leaves: the folder's names and the
// scenario's first line (or the file's bytes unchanged).
struct HeldCase {
    const char* name;
    const char* notHere;                              // why the case cannot apply on this system
    std::function<void(const fs::path& game)> setUp;  // before the run
    std::string typed;                                // the scenario as typed
    int status;
    std::string err;    // "{path}": the typed path in the game folder
    std::string names;  // the game folder's files afterwards (but MAIN.OOB and the lock)
    std::string file;   // the scenario's file afterwards, and its first line
    std::string firstLine;
};

class VarnoCliHeld : public VarnoCli, public ::testing::WithParamInterface<HeldCase> {};

#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

#ifdef _WIN32
// Held as the game holds its files: others may read, none may replace.
HANDLE held = INVALID_HANDLE_VALUE;
#endif

TEST_P(VarnoCliHeld, SaveLeavesTheFolder) {
    const HeldCase& c = GetParam();
    if (*c.notHere) GTEST_SKIP() << c.notHere;
    c.setUp(game());
    const std::string path = clitest::TextOf(game() / clitest::PathOf(c.typed));
    const RunResult r = run({"save", path});
#ifdef _WIN32
    if (held != INVALID_HANDLE_VALUE) ::CloseHandle(std::exchange(held, INVALID_HANDLE_VALUE));
#endif
    for (const auto& e : fs::directory_iterator(game()))
        fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(r.status, c.status) << r.err;
    std::string err = c.err;
    if (const auto at = err.find("{path}"); at != std::string::npos) err.replace(at, 6, path);
    EXPECT_EQ(r.err, err);
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(game())) names.insert(clitest::TextOf(e.path().filename()));
    names.erase("MAIN.OOB");
    names.erase(".varno.lock");
    std::string listed;
    for (const std::string& n : names) listed += (listed.empty() ? "" : " ") + n;
    EXPECT_EQ(listed, c.names);
    const std::string text = ReadFile(game() / clitest::PathOf(c.file));
    EXPECT_EQ(text.substr(0, text.find('\r')), c.firstLine);
    if (c.status == 0) {
        EXPECT_EQ(run({"check", path}).status, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, VarnoCliHeld,
    ::testing::Values(
        HeldCase{"NameBeyondAscii", "",
                 [](const fs::path& game) {
                     fs::rename(game / "TEST.SCN", game / clitest::PathOf("Gettysburg \xC3\xA9t\xC3\xA9.SCN"));
                 },
                 "Gettysburg \xC3\xA9t\xC3\xA9.SCN", 0, "", "Gettysburg \xC3\xA9t\xC3\xA9.SCN OLDSCN1.TXT",
                 "Gettysburg \xC3\xA9t\xC3\xA9.SCN", "Test scenario"},
        // Windows finds the file in any case and keeps its spelling; on
        // POSIX another spelling is another, new scenario.
        HeldCase{"NameInAnotherCase", "", [](const fs::path&) {}, "test.scn", 0, "",
                 kWindows ? "OLDSCN1.TXT TEST.SCN" : "TEST.SCN test.scn", kWindows ? "TEST.SCN" : "test.scn",
                 kWindows ? "Test scenario" : ""},
        HeldCase{"ReadOnly", "",
                 [](const fs::path& game) {
                     fs::permissions(game / "TEST.SCN",
                                     fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                                     fs::perm_options::remove);
                 },
                 "TEST.SCN", 1, "Cannot write {path}: Permission denied\n", "TEST.SCN", "TEST.SCN", "Test scenario"},
        HeldCase{"HeldByAnotherProgram", kWindows ? "" : "POSIX has no sharing modes: an open file is replaced",
                 [](const fs::path& game) {
#ifdef _WIN32
                     held = ::CreateFileW((game / "TEST.SCN").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, 0, nullptr);
#else
                     (void)game;
#endif
                 },
                 "TEST.SCN", 1, "Cannot write {path}: The file is in use by another program\n", "TEST.SCN", "TEST.SCN",
                 "Test scenario"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
