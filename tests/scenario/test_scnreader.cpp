// The scenario reader: sections, messages, and the lists kept in step with
// what the window was told.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenario/scnerror.h"
#include "scenario/scnreader.h"
#include "tests/scenario/test_scn_fixture.h"

using namespace varno;

using namespace scntest;

namespace {

class ReaderTest : public ::testing::Test {
protected:
    void SetUp() override { SmallOob(scn); }

    // Header, then the given lines.
    std::string File(const std::vector<std::string>& body) {
        std::vector<std::string> all = Nine();
        all.insert(all.end(), body.begin(), body.end());
        return Crlf(all);
    }
    std::string Error(const std::vector<std::string>& body) { return ReadError(scn, File(body), listener); }
    void Read(const std::vector<std::string>& body) { ReadText(scn, File(body), listener); }

    // Every list holds exactly the records whose lines the window was given.
    void ExpectInStep() {
        EXPECT_EQ(listener.of(ScnListBox::SetUnits).size(), scn.SetupList().size());
        EXPECT_EQ(listener.of(ScnListBox::Releases).size(), scn.ReleaseList().size());
        EXPECT_EQ(listener.of(ScnListBox::Reinfor).size(), scn.ReinfList().size());
        EXPECT_EQ(listener.of(ScnListBox::Commands).size(), scn.CommandList().size());
        // a placement whose numbers were bad stays listed but is not drawn
        EXPECT_LE(listener.draws.size(), scn.SetupList().size());
        for (std::size_t i = 0; i < listener.draws.size() && i < scn.SetupList().size(); ++i)
            EXPECT_EQ(listener.draws[i].rec, scn.SetupList()[i]);
        for (std::size_t i = 0; i < scn.SetupList().size() && i < listener.of(ScnListBox::SetUnits).size(); ++i)
            EXPECT_EQ(listener.of(ScnListBox::SetUnits)[i], scn.SetupList()[i]->Unit->Display);
    }

    Scenario scn;
    RecordingListener listener;
};

TEST_F(ReaderTest, MissingFileGivesEmptyScenarioAfterReset) {
    TempDir dir;
    Read({"1 1.3 4 4 120 0 0 0 5 6", "0", "1 0", "1", "1.4 1863 7 1 8 0 3 4 1"});
    ASSERT_EQ(scn.SetupList().size(), 1u);
    listener.cleared.clear();

    ReadScenario(scn, dir / "NEW.SCN", listener);
    EXPECT_TRUE(scn.SetupList().empty());
    EXPECT_TRUE(scn.CommandList().empty());
    EXPECT_TRUE(scn.ScnHeader().empty());
    EXPECT_EQ(scn.CmdGroupCounts, (std::array<std::int32_t, 9>{}));
    const std::vector<ScnListBox> expected = {ScnListBox::SetUnits, ScnListBox::Releases, ScnListBox::Commands,
                                              ScnListBox::Reinfor, ScnListBox::ReinUnits};
    EXPECT_EQ(listener.cleared, expected);
    ExpectInStep();
}

TEST_F(ReaderTest, ReadsFileFromDisk) {
    TempDir dir;
    WriteFile(dir / "A.SCN", File({"1 1.3 4 4 120 0 0 0 5 6"}));
    ReadScenario(scn, dir / "A.SCN", listener);
    ASSERT_EQ(scn.SetupList().size(), 1u);
    EXPECT_EQ(scn.ScnHeader(), Nine());
}

TEST_F(ReaderTest, FolderAtPathIsRefused) {
    TempDir dir;
    fs::create_directory(dir.path() / "D.SCN" / "");
    // A folder is no scenario file, and no new scenario either.
    EXPECT_THROW(ReadScenario(scn, dir / "D.SCN", listener), ScnError);
    EXPECT_TRUE(scn.ScnHeader().empty());
}

TEST_F(ReaderTest, HeaderOnlyIsEmptyScenarioWithThatHeader) {
    Read({});
    EXPECT_EQ(scn.ScnHeader(), Nine());
    EXPECT_TRUE(scn.SetupList().empty() && scn.ReinfList().empty() && scn.ReleaseList().empty() &&
                scn.CommandList().empty() && scn.ScnMisc().empty() && scn.ScnTrailer().empty());
    ExpectInStep();
}

TEST_F(ReaderTest, ShortFileFillsHeaderWithEmptyLines) {
    ReadText(scn, "a\r\nb\r\n", listener);
    EXPECT_EQ(scn.ScnHeader(), (std::vector<std::string>{"a", "b", "", "", "", "", "", "", ""}));
}

TEST_F(ReaderTest, LfOnlyLinesReadAlike) {
    std::string text;
    for (const auto& l : Nine()) text += l + "\n";
    text += "1 1.3 4 4 120 0 0 512 5 6\n3 misc\n";
    ReadText(scn, text, listener);
    EXPECT_EQ(scn.ScnHeader(), Nine());
    ASSERT_EQ(scn.SetupList().size(), 1u);
    EXPECT_EQ(scn.SetupList()[0]->Flags, 512u);
    EXPECT_EQ(scn.ScnMisc(), (std::vector<std::string>{"3 misc"}));
}

TEST_F(ReaderTest, SetupLineFields) {
    Read({"1 1.3 8 7 120 9 3 262145 12 34", "1 2.1 1 4 0 0 0 1024 12 34"});
    ASSERT_EQ(scn.SetupList().size(), 2u);
    const TSetupRec& s = *scn.SetupList()[0];
    EXPECT_EQ(s.Unit, Entry(scn, "1.3"));
    EXPECT_EQ(s.Facing, 8);
    EXPECT_EQ(s.Aux, 7);
    EXPECT_EQ(s.Strength, 120);
    EXPECT_EQ(s.Fatigue, 9);
    EXPECT_EQ(s.Flags, static_cast<std::uint32_t>(sfRouted | sfMounted));
    EXPECT_EQ(s.Col, 12);
    EXPECT_EQ(s.Row, 34);
    EXPECT_EQ(Entry(scn, "1.3")->Setup, scn.SetupList()[0]);
    EXPECT_EQ(listener.of(ScnListBox::SetUnits), (std::vector<std::string>{"120 3 I X 1st Regiment", "Gen. Birch"}));
    ASSERT_EQ(listener.draws.size(), 2u);
    EXPECT_EQ(listener.draws[0].rec, scn.SetupList()[0]);
    EXPECT_EQ(listener.draws[0].col, 12);
    EXPECT_EQ(listener.draws[0].row, 34);
    EXPECT_EQ(listener.draws[1].rec, scn.SetupList()[1]);
    ExpectInStep();
}

TEST_F(ReaderTest, SetupNumbersAreBytesAndFlagsSigned) {
    Read({"1 1.3 4 4 300 0 0 -1 256 2", "1 3 4 4 1 0 0 -2147483648 1 2"});
    ASSERT_EQ(scn.SetupList().size(), 2u);
    EXPECT_EQ(scn.SetupList()[0]->Strength, 44);
    EXPECT_EQ(scn.SetupList()[0]->Flags, 0xFFFFFFFFu);
    EXPECT_EQ(scn.SetupList()[0]->Col, 0);
    EXPECT_EQ(scn.SetupList()[1]->Unit, Entry(scn, "3"));
    EXPECT_EQ(scn.SetupList()[1]->Flags, 0x80000000u);
}

TEST_F(ReaderTest, UnitPlacedTwiceGetsTwoPlacements) {
    Read({"1 1.2 4 4 50 0 0 0 1 1", "1 1.2 4 4 50 0 0 0 2 2"});
    ASSERT_EQ(scn.SetupList().size(), 2u);
    EXPECT_EQ(scn.SetupList()[0]->Unit, scn.SetupList()[1]->Unit);
    EXPECT_EQ(Entry(scn, "1.2")->Setup, scn.SetupList()[1]);
}

struct BadLine {
    const char* name;
    std::vector<std::string> body;
    std::string message;  // expected message
    std::size_t setups, groups, releases, commands;
};

class ReaderFailure : public ReaderTest, public ::testing::WithParamInterface<BadLine> {};

TEST_P(ReaderFailure, MessageAndListsInStep) {
    const BadLine& c = GetParam();
    EXPECT_EQ(Error(c.body), c.message);
    EXPECT_EQ(scn.SetupList().size(), c.setups);
    EXPECT_EQ(scn.ReinfList().size(), c.groups);
    EXPECT_EQ(scn.ReleaseList().size(), c.releases);
    EXPECT_EQ(scn.CommandList().size(), c.commands);
    ExpectInStep();
}

const std::string kLong(300, 'x');

INSTANTIATE_TEST_SUITE_P(
    Messages, ReaderFailure,
    ::testing::Values(
        BadLine{"SetupNotFound",
                {"1 1.3 4 4 1 0 0 0 1 1", "1 9.9 4 4 1 0 0 0 1 1"},
                "Not found: \r1 9.9 4 4 1 0 0 0 1 1",
                1,
                0,
                0,
                0},
        BadLine{"SetupKeyOfZero", {"1 0 4 4 1 0 0 0 1 1"}, "Not found: \r1 0 4 4 1 0 0 0 1 1", 0, 0, 0, 0},
        BadLine{"SetupTwoBlanks", {"1  1.3 4 4 1 0 0 0 1 1"}, "Bad data in 1  1.3 4 4 1 0 0 0 1 1", 1, 0, 0, 0},
        BadLine{"SetupNotANumber", {"1 1.3 4 4 1 0 0 0 x 1"}, "Bad data in 1 1.3 4 4 1 0 0 0 x 1", 1, 0, 0, 0},
        BadLine{"SetupNoNumbers", {"1 1.3"}, "Bad data in 1 1.3", 1, 0, 0, 0},
        // The line quoted to its first 255 characters and "…".
        BadLine{"SetupLongLineMessageCut",
                {"1 1.3 4 4 1 0 0 0 1 x" + kLong},
                "Bad data in " + ("1 1.3 4 4 1 0 0 0 1 x" + kLong).substr(0, 255) + "\xE2\x80\xA6",
                1,
                0,
                0,
                0},
        BadLine{"GroupNotANumber",
                {"2 1863 7 1 8 0 100 0 5 5 x 4"},
                "Bad data in 2 1863 7 1 8 0 100 0 5 5 x 4",
                0,
                0,
                0,
                0},
        BadLine{"GroupCount11",
                {"2 1863 7 1 8 0 100 0 5 5 11 4", "    1.3"},
                "Bad count in 2 1863 7 1 8 0 100 0 5 5 11 4",
                0,
                0,
                0,
                0},
        BadLine{
            "GroupCount0", {"2 1863 7 1 8 0 100 0 5 5 0 4"}, "Bad count in 2 1863 7 1 8 0 100 0 5 5 0 4", 0, 0, 0, 0},
        BadLine{"GroupFirstUnitMissing",
                {"2 1863 7 1 8 0 100 0 5 5 2 4", "    7.7", "    1.3"},
                "Unit not found     7.7",
                0,
                0,
                0,
                0},
        BadLine{"GroupSecondUnitMissing",
                {"2 1863 7 1 8 0 100 0 5 5 2 4", "    1.3", "  7.7"},
                "Unit not found   7.7",
                0,
                1,
                0,
                0},
        BadLine{
            "GroupExtraUnit", {"2 1863 7 1 8 0 100 0 5 5 1 4", "    1.3", "    1.4"}, "Extra unit     1.4", 0, 1, 0, 0},
        BadLine{"ReleaseFewNumbers", {"4 1863 7 1.3"}, "Bad data in 4 1863 7 1.3", 0, 0, 1, 0},
        BadLine{"CommandHeadBad", {"0", "x"}, "Bad data in x", 0, 0, 0, 0},
        BadLine{"CommandHeadNine", {"0", "9 0"}, "Bad data in 9 0", 0, 0, 0, 0},
        BadLine{"CommandCountBad", {"0", "2 0", "1", "1.3 1863 7 1 8 0 3 4 1", "many"}, "Bad data in many", 0, 0, 0, 1},
        BadLine{"CommandCountMissing", {"0", "2 0", "0"}, "Bad data in ", 0, 0, 0, 0},
        BadLine{"CommandNotANumber",
                {"0", "1 0", "2", "1.3 1863 7 1 8 0 3 4 1", "1.4 1863 7 1 8 0 3 x"},
                "Bad data in 1.4 1863 7 1 8 0 3 x",
                0,
                0,
                0,
                2},
        BadLine{"CommandNoNumbers", {"0", "1 0", "1", "1.4"}, "Bad data in 1.4", 0, 0, 0, 1}),
    [](const ::testing::TestParamInfo<BadLine>& i) { return std::string(i.param.name); });

TEST_F(ReaderTest, GroupFields) {
    Read({"2 1863 7 2 14 20 80 3 10 11 3 16", "    1.3", "    1.4", "    2.3", "3 x"});
    ASSERT_EQ(scn.ReinfList().size(), 1u);
    const TReinfGroup& g = *scn.ReinfList()[0];
    EXPECT_EQ(g.Year, 63);
    EXPECT_EQ(g.Month, 7);
    EXPECT_EQ(g.Day, 2);
    EXPECT_EQ(g.Hour, 14);
    EXPECT_EQ(g.Minute, 20);
    EXPECT_EQ(g.Chance, 80);
    EXPECT_EQ(g.ProtHexes, 3);
    EXPECT_EQ(g.Col, 10);
    EXPECT_EQ(g.Row, 11);
    EXPECT_EQ(g.Count, 3);
    EXPECT_EQ(g.Facing, 16);
    EXPECT_EQ(g.Units[0], Entry(scn, "1.3"));
    EXPECT_EQ(g.Units[1], Entry(scn, "1.4"));
    EXPECT_EQ(g.Units[2], Entry(scn, "2.3"));
    EXPECT_EQ(listener.of(ScnListBox::Reinfor), (std::vector<std::string>{"120 3 I X 1st Regiment ..."}));
    EXPECT_EQ(scn.ScnMisc(), (std::vector<std::string>{"3 x"}));
    ExpectInStep();
}

TEST_F(ReaderTest, GroupShortOfUnitsKeepsThoseFound) {
    Read({"2 1863 7 1 8 0 100 0 5 5 3 4", "    1.3", "    1.4", "4 1863 7 1 8 0 2.2"});
    ASSERT_EQ(scn.ReinfList().size(), 1u);
    EXPECT_EQ(scn.ReinfList()[0]->Count, 2);
    EXPECT_EQ(listener.of(ScnListBox::Reinfor), (std::vector<std::string>{"120 3 I X 1st Regiment ..."}));
    ASSERT_EQ(scn.ReleaseList().size(), 1u);
    ExpectInStep();
}

TEST_F(ReaderTest, SingleUnitGroupAndOddIndents) {
    Read({"2 1790 7 1 8 0 100 0 5 5 1 4", "\t1.3", "2 1863 7 1 8 0 100 0 5 5 1 4", "            1.5",
          "2 1863 7 1 8 0 100 0 5 5 1 4", " 2.2"});
    // a tab is not a blank at the start of a unit line: the first group got no unit
    ASSERT_EQ(scn.ReinfList().size(), 0u);
    EXPECT_EQ(scn.ScnMisc().front(), "\t1.3");
    listener = RecordingListener{};
    Read({"2 1790 7 1 8 0 100 0 5 5 1 4", "            1.5", "2 1863 7 1 8 0 100 0 5 5 1 4", " 2.2"});
    ASSERT_EQ(scn.ReinfList().size(), 2u);
    EXPECT_EQ(scn.ReinfList()[0]->Year, 0);  // 1790 counts as 1800
    EXPECT_EQ(scn.ReinfList()[0]->Units[0], Entry(scn, "1.5"));
    EXPECT_EQ(scn.ReinfList()[1]->Units[0], Entry(scn, "2.2"));
    EXPECT_EQ(listener.of(ScnListBox::Reinfor),
              (std::vector<std::string>{"90 2 C X 3rd Cavalry", "100 4 A X 1st Battery"}));
    ExpectInStep();
}

TEST_F(ReaderTest, GroupWithoutUnitLinesIsDropped) {
    Read({"2 1863 7 1 8 0 100 0 5 5 2 4", "2 1863 7 1 8 0 100 0 6 6 1 4", "    2.2", "2 1863 7 1 8 0 100 0 7 7 1 4"});
    ASSERT_EQ(scn.ReinfList().size(), 1u);
    EXPECT_EQ(scn.ReinfList()[0]->Col, 6);
    ExpectInStep();
}

struct ReleaseCase {
    const char* name;
    std::string line;
    int year, chance;
};

class ReleaseLines : public ReaderTest, public ::testing::WithParamInterface<ReleaseCase> {};

TEST_P(ReleaseLines, YearAndChance) {
    const ReleaseCase& c = GetParam();
    Read({c.line});
    ASSERT_EQ(scn.ReleaseList().size(), 1u);
    EXPECT_EQ(scn.ReleaseList()[0]->Year, c.year);
    EXPECT_EQ(scn.ReleaseList()[0]->Chance, c.chance);
    ExpectInStep();
}

INSTANTIATE_TEST_SUITE_P(Layouts, ReleaseLines,
                         ::testing::Values(ReleaseCase{"WithChance", "4 1863 7 1 8 0 50 1.3", 63, 50},
                                           ReleaseCase{"WithoutChance", "4 1863 7 1 8 0 1.3", 63, 100},
                                           ReleaseCase{"ChanceAbove100", "4 1863 7 1 8 0 150 1.3", 63, 100},
                                           ReleaseCase{"ChanceZero", "4 1863 7 1 8 0 0 1.3", 63, 100},
                                           ReleaseCase{"Year1790", "4 1790 7 1 8 0 50 1.3", 0, 50},
                                           ReleaseCase{"OneNumberNameEndsLine", "4 1863 7 1 8 0 3", 63, 100},
                                           ReleaseCase{"OneNumberNameWithChance", "4 1863 7 1 8 0 40 3", 63, 40},
                                           ReleaseCase{"TrailingBlanks", "4 1863 7 1 8 0 40 1.3   ", 63, 40}),
                         [](const ::testing::TestParamInfo<ReleaseCase>& i) { return std::string(i.param.name); });

TEST_F(ReaderTest, ReleaseFieldsAndUnknownNameSkipped) {
    Read({"4 1863 7 8 14 20 80 1.3", "4 1863 7 8 14 20 80 9.9", "4 1864 1 2 3 40 2.2"});
    ASSERT_EQ(scn.ReleaseList().size(), 2u);
    const TReleaseRec& r = *scn.ReleaseList()[0];
    EXPECT_EQ(r.Unit, Entry(scn, "1.3"));
    EXPECT_EQ(r.Month, 7);
    EXPECT_EQ(r.Day, 8);
    EXPECT_EQ(r.Hour, 14);
    EXPECT_EQ(r.Minute, 20);
    EXPECT_EQ(scn.ReleaseList()[1]->Unit, Entry(scn, "2.2"));
    EXPECT_EQ(scn.ReleaseList()[1]->Year, 64);
    EXPECT_EQ(listener.of(ScnListBox::Releases),
              (std::vector<std::string>{"120 3 I X 1st Regiment", "100 4 A X 1st Battery"}));
    EXPECT_TRUE(scn.ScnMisc().empty());
    ExpectInStep();
}

TEST_F(ReaderTest, CommandSectionSmallest) {
    Read({"0", "2 0", "1", "1.3 1863 7 1 8 20 3 4 3", "0"});
    ASSERT_EQ(scn.CommandList().size(), 1u);
    const TCommandRec& c = *scn.CommandList()[0];
    EXPECT_EQ(c.Group, 1);
    EXPECT_EQ(c.Unit, Entry(scn, "1.3"));
    EXPECT_EQ(c.Year, 63);
    EXPECT_EQ(c.Month, 7);
    EXPECT_EQ(c.Day, 1);
    EXPECT_EQ(c.Hour, 8);
    EXPECT_EQ(c.Minute, 20);
    EXPECT_EQ(c.Col, 3);
    EXPECT_EQ(c.Row, 4);
    EXPECT_EQ(c.Command, 3);
    EXPECT_EQ(scn.CmdGroupCounts[0], 2);
    EXPECT_EQ(scn.CmdGroupCounts[1], 1);
    EXPECT_EQ(scn.CmdGroupCounts[2], 0);
    EXPECT_TRUE(scn.ScnTrailer().empty());
    ExpectInStep();
}

TEST_F(ReaderTest, CommandGroupsNumberedByBlockAndUnknownSkipped) {
    Read({"0 anything", "3 0", "2", "1.3 1863 7 1 8 0 3 4 0", "9.9 1863 7 1 8 0 3 4 0", "0", "1",
          "3 1790 1 1 1 1 1 1 4", "T1", "1 looks like a setup", "0", "", "2 trailer"});
    ASSERT_EQ(scn.CommandList().size(), 2u);
    EXPECT_EQ(scn.CommandList()[0]->Group, 1);
    EXPECT_EQ(scn.CommandList()[1]->Group, 3);
    EXPECT_EQ(scn.CommandList()[1]->Unit, Entry(scn, "3"));
    EXPECT_EQ(scn.CommandList()[1]->Year, 0);
    EXPECT_EQ(scn.CmdGroupCounts, (std::array<std::int32_t, 9>{3, 2, 0, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(scn.ScnTrailer(), (std::vector<std::string>{"T1", "1 looks like a setup", "0", "", "2 trailer"}));
    ExpectInStep();
}

TEST_F(ReaderTest, EightCommandGroupsAccepted) {
    std::vector<std::string> body = {"0", "8 0"};
    for (int k = 1; k <= 8; ++k) {
        body.push_back("1");
        body.push_back("1.3 1863 7 1 8 0 3 4 " + std::to_string(k % 5));
    }
    Read(body);
    ASSERT_EQ(scn.CommandList().size(), 8u);
    for (int k = 1; k <= 8; ++k) EXPECT_EQ(scn.CommandList()[k - 1]->Group, k);
    EXPECT_EQ(scn.CmdGroupCounts[0], 8);
}

TEST_F(ReaderTest, MarkerAtEndAndNegativeGroupCount) {
    Read({"0"});
    EXPECT_TRUE(scn.CommandList().empty());
    EXPECT_TRUE(scn.ScnTrailer().empty());
    Read({"0", "-3 0", "T"});
    EXPECT_EQ(scn.CmdGroupCounts[0], -3);
    EXPECT_EQ(scn.ScnTrailer(), (std::vector<std::string>{"T"}));
}

TEST_F(ReaderTest, HugeCommandCountAtEndOfFileEndsPromptly) {
    Read({"0", "1 0", "999999", "1.3 1863 7 1 8 0 3 4 0"});
    EXPECT_EQ(scn.CommandList().size(), 1u);
    EXPECT_EQ(scn.CmdGroupCounts[1], 999999);
}

TEST_F(ReaderTest, EmptyLineEndsTheSections) {
    Read({"", "1 1.3 4 4 1 0 0 0 1 1", "2 1863 7 1 8 0 100 0 5 5 1 4", "    1.3", "4 1863 7 1 8 0 1.3", "0", "1 0", "1",
          "1.4 1863 7 1 8 0 3 4 1"});
    EXPECT_TRUE(scn.SetupList().empty());
    EXPECT_TRUE(scn.ReinfList().empty());
    EXPECT_TRUE(scn.ReleaseList().empty());
    EXPECT_EQ(scn.ScnMisc(), (std::vector<std::string>{"", "1 1.3 4 4 1 0 0 0 1 1", "2 1863 7 1 8 0 100 0 5 5 1 4",
                                                       "    1.3", "4 1863 7 1 8 0 1.3"}));
    EXPECT_EQ(scn.CommandList().size(), 1u);
    ExpectInStep();
}

TEST_F(ReaderTest, SectionsInOrderThenMisc) {
    Read({"1 1.3 4 4 1 0 0 0 1 1", "3 first", "3 second", "4 1863 7 1 8 0 1.3", "M1", "4 not a release", "3 late", "0",
          "0 0", "T"});
    EXPECT_EQ(scn.SetupList().size(), 1u);
    EXPECT_EQ(scn.ReleaseList().size(), 1u);
    EXPECT_EQ(scn.ScnMisc(), (std::vector<std::string>{"3 first", "3 second", "M1", "4 not a release", "3 late"}));
    EXPECT_EQ(scn.ScnTrailer(), (std::vector<std::string>{"T"}));
}

TEST_F(ReaderTest, LastLineOfFileIsRead) {
    for (const std::string& last :
         {std::string("2 1863 7 1 8 0 100 0 5 5 1 4"), std::string("3 end"), std::string("4 1863 7 1 8 0 1.3")}) {
        std::string text = File({"1 1.3 4 4 1 0 0 0 1 1", last});
        text.resize(text.size() - 2);  // no line end after the last line
        ReadText(scn, text, listener);
        EXPECT_EQ(scn.SetupList().size(), 1u);
        EXPECT_EQ(scn.ReinfList().size(), 0u);  // a group without unit lines is not kept
        EXPECT_EQ(scn.ScnMisc().size(), last[0] == '3' ? 1u : 0u);
        EXPECT_EQ(scn.ReleaseList().size(), last[0] == '4' ? 1u : 0u);
    }
}

TEST_F(ReaderTest, VerbatimLinesKeptWhole) {
    const std::string longHeader = "H" + std::string(400, 'h');
    const std::string longMisc = "3" + std::string(300, 'm');
    const std::string longTrailer = std::string(1000, 't');
    std::vector<std::string> all = Nine();
    all[0] = longHeader;
    all.insert(all.end(), {"1 1.3 4 4 1 0 0 0 1 1 " + std::string(400, ' ') + "x", longMisc, "0", "0 0", longTrailer});
    ReadText(scn, Crlf(all), listener);
    EXPECT_EQ(scn.ScnHeader()[0], longHeader);
    EXPECT_EQ(scn.ScnMisc(), (std::vector<std::string>{longMisc}));
    EXPECT_EQ(scn.ScnTrailer(), (std::vector<std::string>{longTrailer}));
    ASSERT_EQ(scn.SetupList().size(), 1u);
}

TEST_F(ReaderTest, ScannedLineCutAt255) {
    // The numbers of a release beyond character 255 are not seen: the last
    // word of the cut line names the unit.
    // "2.2" ends at character 255; "9.9" beyond it names nothing
    Read({"4 1863 7 1 8 0 1.3" + std::string(234, ' ') + "2.2 9.9"});
    ASSERT_EQ(scn.ReleaseList().size(), 1u);
    EXPECT_EQ(scn.ReleaseList()[0]->Unit, Entry(scn, "2.2"));
    Read({"4 1863 7 1 8 0 1.3" + std::string(240, ' ') + "2.2"});
    ASSERT_EQ(scn.ReleaseList().size(), 1u);
    EXPECT_EQ(scn.ReleaseList()[0]->Unit, Entry(scn, "1.3"));
}

TEST_F(ReaderTest, FailureLeavesNoCurrentRecordAndNextReadStartsClean) {
    EXPECT_EQ(Error({"1 1.3 4 4 1 0 0 0 1 1", "2 1863 7 1 8 0 100 0 5 5 2 4", "    1.3", "    7.7"}),
              "Unit not found     7.7");
    ExpectInStep();
    EXPECT_EQ(scn.ReinfList().size(), 1u);
    EXPECT_EQ(scn.ReinfList()[0]->Count, 1);
    Read({"4 1863 7 1 8 0 1.3"});
    EXPECT_TRUE(scn.SetupList().empty());
    EXPECT_TRUE(scn.ReinfList().empty());
    EXPECT_EQ(scn.ReleaseList().size(), 1u);
    ExpectInStep();
}

// Which form the file's releases take decides "V 1.03" after a Read: one line
// with a chance is enough, also one that names no entry.
struct ChanceFormCase {
    const char* name;
    std::vector<std::string> releases;
    bool withChance;
};

class ReleaseChanceForm : public ReaderTest, public ::testing::WithParamInterface<ChanceFormCase> {};

TEST_P(ReleaseChanceForm, SetByTheReleaseLines) {
    scn.ReleaseChanceInFile = !GetParam().withChance;  // left over from an earlier read
    Read(GetParam().releases);
    EXPECT_EQ(scn.ReleaseChanceInFile, GetParam().withChance);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ReleaseChanceForm,
    ::testing::Values(ChanceFormCase{"NoReleases", {}, false},
                      ChanceFormCase{"AllWithout", {"4 1863 7 8 14 20 1.3", "4 1863 7 8 14 20 3"}, false},
                      ChanceFormCase{"OneWith", {"4 1863 7 8 14 20 1.3", "4 1863 7 8 14 20 80 2.2"}, true},
                      ChanceFormCase{"OneNumberNameWith", {"4 1863 7 8 14 20 80 3"}, true},
                      ChanceFormCase{"SkippedLineWith", {"4 1863 7 8 14 20 80 9.9"}, true}),
    [](const ::testing::TestParamInfo<ChanceFormCase>& i) { return std::string(i.param.name); });

// The message keeps the whole line, also past a NUL byte (what() stops there).
TEST_F(ReaderTest, MessageKeepsTheLineAfterANul) {
    const std::string line("1 1.3 x\0y", 9);
    try {
        ReadText(scn, File({line}), listener);
        FAIL() << "no error";
    } catch (const ScnError& e) {
        EXPECT_EQ(e.message(), "Bad data in " + line);
    }
}

TEST_F(ReaderTest, ResetClearsReleaseChanceForm) {
    Read({"4 1863 7 8 14 20 80 1.3"});
    ASSERT_TRUE(scn.ReleaseChanceInFile);
    ResetScenario(scn, listener);
    EXPECT_FALSE(scn.ReleaseChanceInFile);
}

TEST_F(ReaderTest, ReadIncompleteUntilAReadRunsToItsEnd) {
    EXPECT_FALSE(Error({"1 1.3 4 4 1 0 0 0 1 1", "1 9.9 4 4 1 0 0 0 1 1"}).empty());
    EXPECT_TRUE(scn.ReadIncomplete);
    Read({"1 1.3 4 4 1 0 0 0 1 1"});
    EXPECT_FALSE(scn.ReadIncomplete);

    // A new scenario (no file yet) is read completely.
    scn.ReadIncomplete = true;
    TempDir dir;
    ReadScenario(scn, dir / "NEW.SCN", listener);
    EXPECT_FALSE(scn.ReadIncomplete);
}

}  // namespace
