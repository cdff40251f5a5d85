// The comparison of two scenarios: one table of small scenario pairs, each
// row a change of one kind against the same base, with the lines it prints.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenario/scndiff.h"
#include "tests/scenario/test_scn_fixture.h"

using namespace varno;

namespace {

using scntest::Crlf;

// The base scenario over SmallOob: the wagon 1.2 is placed twice.
std::vector<std::string> Base() {
    std::vector<std::string> l = scntest::Nine();
    for (const char* s : {
             "1 1.3 1 0 120 0 0 0 10 10",
             "1 1.2 1 0 4 0 0 0 5 5",
             "1 1.2 1 0 4 0 0 0 6 6",
             "1 2.1 2 0 0 0 0 512 20 20",
             "2 1863 7 1 14 0 100 0 30 14 2 8",
             "    1.4",
             "    1.5",
             "4 1863 7 1 9 0 80 2.2",
             "3 12 14 10 Upper Ford",
             "0",
             "1 0",
             "2",
             "2.3 1863 7 1 6 0 12 14 3",
             "2.2 1863 7 1 7 0 12 15 1",
             "T1",
         })
        l.push_back(s);
    return l;
}

struct Row {
    const char* What;
    int Line;             // line of Base() replaced (-1: none)
    const char* NewLine;  // its new text ("" removes it); inserted before Line when Insert
    bool Insert;
    std::vector<std::string> Expected;
};

class ScnDiffTable : public ::testing::TestWithParam<Row> {};

ScnDiff Compare(const std::vector<std::string>& oldLines, const std::vector<std::string>& newLines) {
    Scenario a, b;
    scntest::SmallOob(a);
    scntest::SmallOob(b);
    ReadListener quiet;
    scntest::ReadText(a, Crlf(oldLines), quiet);
    scntest::ReadText(b, Crlf(newLines), quiet);
    return CompareScenarios(a, b);
}

TEST_P(ScnDiffTable, PrintsEachChangeOnce) {
    const Row& row = GetParam();
    std::vector<std::string> changed = Base();
    if (row.Line >= 0) {
        if (row.Insert)
            changed.insert(changed.begin() + row.Line, row.NewLine);
        else if (std::string(row.NewLine).empty())
            changed.erase(changed.begin() + row.Line);
        else
            changed[static_cast<std::size_t>(row.Line)] = row.NewLine;
    }
    const ScnDiff diff = Compare(Base(), changed);
    EXPECT_EQ(DiffLines(diff), row.Expected) << row.What;
    EXPECT_FALSE(diff.OobDiffers);
    // The other way round, every addition is a removal and the count is the same.
    const ScnDiff back = Compare(changed, Base());
    const DiffCounts there = CountDiff(diff), here = CountDiff(back);
    EXPECT_EQ(there.Added, here.Removed);
    EXPECT_EQ(there.Removed, here.Added);
    EXPECT_EQ(there.Changed, here.Changed);
    EXPECT_EQ(diff.Equal(), row.Expected.empty());
}

// Base() line numbers: 9 placements begin, 13 group, 16 release, 17 misc,
// 21 and 22 commands, 23 trailer.
INSTANTIATE_TEST_SUITE_P(
    Pairs, ScnDiffTable,
    ::testing::Values(
        Row{"identical", -1, "", false, {}},
        Row{"moved", 9, "1 1.3 1 0 120 0 0 0 14 7", false, {"moved    1.3  1st Regiment  10,10 -> 14,7"}},
        Row{"strength, facing, flags",
            9,
            "1 1.3 4 0 100 0 0 5 10 10",
            false,
            {"changed  1.3  1st Regiment  strength 120 -> 100, facing 1 -> 4, flags - -> LowAmmo+Routed"}},
        Row{"placement added",
            9,
            "1 1.4 1 0 110 0 0 0 11 11",
            true,
            {"added    1.4  2nd Regiment  hex 11,11 strength 110 facing 1 fatigue 0 flags - aux 0"}},
        Row{"first of a wagon's two placements removed",
            10,
            "",
            false,
            {"removed  1.2  Ammunition train  hex 5,5 strength 4 facing 1 fatigue 0 flags - aux 0"}},
        Row{"group's date and chance",
            13,
            "2 1863 7 2 8 30 60 0 30 14 2 8",
            false,
            {"changed  group 1.4  2nd Regiment  date 1863-07-01 14:00 -> 1863-07-02 08:30, chance 100 -> 60"}},
        Row{"release's chance",
            16,
            "4 1863 7 1 9 0 40 2.2",
            false,
            {"changed  release 2.2  1st Battery  chance 80 -> 40"}},
        Row{"release added",
            16,
            "4 1863 7 1 11 0 50 1.3",
            true,
            {"added    release 1.3  1st Regiment  date 1863-07-01 11:00 chance 50"}},
        Row{"command's order",
            21,
            "2.3 1863 7 1 6 0 12 14 4",
            false,
            {"changed  command 2.3  4th Regiment  command Attack -> Attack-Extreme"}},
        Row{"header line", 3, "H4 changed", false, {"changed  header 4  H4 -> H4 changed"}},
        Row{"misc line added", 18, "3 21 22 15 Varno Town", true, {"added    misc 2  3 21 22 15 Varno Town"}},
        Row{"trailer line", 23, "T1 again", false, {"changed  trailer 1  T1 -> T1 again"}}));

// Rows that move lines rather than replace one.
TEST(ScnDiff, PlacementsInAnotherOrderAreNoChange) {
    std::vector<std::string> changed = Base();
    std::swap(changed[9], changed[12]);
    std::swap(changed[10], changed[11]);  // the wagon's two placements
    std::swap(changed[21], changed[22]);
    const ScnDiff diff = Compare(Base(), changed);
    EXPECT_TRUE(diff.Items.empty());
    EXPECT_TRUE(diff.OrderDiffers);
    EXPECT_TRUE(diff.Equal());
    EXPECT_EQ(DiffLines(diff), std::vector<std::string>{"order    the records differ in their order only"});
}

TEST(ScnDiff, GroupMatchedByItsUnits) {
    std::vector<std::string> changed = Base();
    changed[13] = "2 1863 7 1 14 0 100 0 30 14 3 8";
    changed.insert(changed.begin() + 16, "    2.3");
    EXPECT_EQ(DiffLines(Compare(Base(), changed)),
              std::vector<std::string>{"changed  group 1.4  2nd Regiment  units 1.4 1.5 -> 1.4 1.5 2.3"});
    // The same units in another slot order: still the group, its units changed.
    changed = Base();
    std::swap(changed[14], changed[15]);
    EXPECT_EQ(DiffLines(Compare(Base(), changed)),
              std::vector<std::string>{"changed  group 1.5  3rd Cavalry  units 1.4 1.5 -> 1.5 1.4"});
}

TEST(ScnDiff, TextLinesNameEveryRecord) {
    Scenario a;
    scntest::SmallOob(a);
    ReadListener quiet;
    scntest::ReadText(a, Crlf(Base()), quiet);
    const std::vector<std::string> lines = ScenarioTextLines(a);
    ASSERT_EQ(lines.size(), 9u + 4u + 1u + 1u + 1u + 2u + 1u);
    EXPECT_EQ(lines[9], "placement 1.3  1st Regiment  hex 10,10 strength 120 facing 1 fatigue 0 flags - aux 0");
    EXPECT_EQ(lines[13], "group 1.4  2nd Regiment  date 1863-07-01 14:00 chance 100 hex 30,14 facing 8 protected 0 "
                         "units 1.4 1.5");
}

}  // namespace
