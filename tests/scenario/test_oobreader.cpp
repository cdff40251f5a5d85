// The order-of-battle reader: entries, dot names, lbUnits lines and messages.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "scenario/filenames.h"
#include "scenario/linereader.h"
#include "scenario/oobreader.h"
#include "scenario/scenario.h"
#include "scenario/scenariobuilder.h"
#include "scenario/scnerror.h"
#include "tests/scenario/test_folder.h"

using namespace varno;

namespace fs = std::filesystem;

namespace {

// Records what a window would do with its lbUnits box.
struct UnitsBox : ReadListener {
    std::vector<std::string> lines;
    int clears = 0, oobReads = 0;
    std::vector<std::string> events;
    void listCleared(ScnListBox box) override {
        if (box == ScnListBox::Units) {
            lines.clear();
            ++clears;
        }
        events.push_back("clear");
    }
    void lineAdded(ScnListBox box, std::string_view line) override {
        if (box == ScnListBox::Units) lines.emplace_back(line);
        events.push_back("add");
    }
    void oobRead() override {
        ++oobReads;
        events.push_back("read");
    }
};

// Joins lines with CR LF, the game's line end, after a header line.
std::string Oob(const std::vector<std::string>& lines, const char* eol = "\r\n") {
    std::string text = std::string("Order of battle") + eol;
    for (const auto& l : lines) text += l + eol;
    return text;
}

void ReadText(Scenario& scn, const std::string& text, ReadListener& box) {
    LineReader in = LineReader::fromText(text);
    ReadOobText(scn, in, box);
}

std::string ErrorOf(const std::string& text) {
    Scenario scn;
    UnitsBox box;
    try {
        ReadText(scn, text, box);
    } catch (const ScnError& e) {
        return e.what();
    }
    return "(no error)";
}

std::vector<std::string> DotNames(const Scenario& scn) {
    std::vector<std::string> names;
    for (const TOobRec* r : scn.OobList()) names.push_back(DotName(*r));
    return names;
}

const std::vector<std::string> kArmy = {
    "Union A First Army",              // 2  '1'
    "Begin",                           // 3
    "  L 1 2 3 Gen. Arden Vale",       // 4  '1.1'
    "  U 120 3 I X 4 5 1st Regiment",  // 5 '1.2'
    "End",                             // 6
    "Confederate A Second Army",       // 7  '2'
    "-- Begin --",                     // 8
    "\tB North Corps",                 // 9  '2.1'
    "\t  Begin  ",                     // 10
    "\t\tS 4 7 Supply Train",          // 11 '2.1.1'
    "\t\tU 300 2 C Y 9 9 Grey Horse",  // 12 '2.1.2'
    "\tEnd",                           // 13
    "\tU 88 1 A Z 1 1 Long Guns",      // 14 '2.2'
    "Ending",                          // 15
};

// The lbUnits line of a unit by its definition: words 2 to 5 with the blanks
// between them, then the text from word 8 on; words are runs of characters
// other than the space.
std::string UnitLineByWords(const std::string& s) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (s[i] != ' ' && (i == 0 || s[i - 1] == ' ')) starts.push_back(i);
    auto start = [&](std::size_t k) { return k <= starts.size() ? starts[k - 1] : s.size() - 1; };
    return s.substr(start(2), start(6) - start(2)) + s.substr(start(8));
}

TEST(OobReader, UnitLinesWithAnyBlanksAndNames) {
    std::mt19937 rng(5);
    auto blanks = [&] { return std::string(1 + rng() % 3, ' '); };
    const char* const words[] = {"1st", "Regiment", "of\tFoot", "X", "Grey-Horse"};
    for (int round = 0; round < 300; ++round) {
        std::string line = "U" + blanks() + std::to_string(rng() % 1000) + blanks() + std::to_string(rng() % 9) +
                           blanks() + "I" + blanks() + "W" + blanks() + std::to_string(rng() % 9) + blanks() +
                           std::to_string(rng() % 9);
        for (unsigned w = rng() % 4; w > 0; --w) line += blanks() + words[rng() % 5];
        if (rng() % 3 == 0) line += blanks();
        SCOPED_TRACE(line);
        Scenario scn;
        UnitsBox box;
        ReadText(scn, Oob({"Union " + line}), box);
        ASSERT_EQ(box.lines.size(), 1u);
        EXPECT_EQ(box.lines[0], UnitLineByWords(line));
    }
}

TEST(OobReader, ReadsTheArmyExample) {
    Scenario scn;
    UnitsBox box;
    ReadText(scn, Oob(kArmy), box);

    EXPECT_EQ(DotNames(scn), (std::vector<std::string>{"1", "1.1", "1.2", "2", "2.1", "2.1.1", "2.1.2", "2.2"}));
    EXPECT_EQ(box.lines,
              (std::vector<std::string>{"First Army", "Gen. Arden Vale", "120 3 I X 1st Regiment", "Second Army",
                                        "North Corps", "Supply Train", "300 2 C Y Grey Horse", "88 1 A Z Long Guns"}));
    ASSERT_EQ(scn.OobList().size(), 8u);
    struct Want {
        char kind, unitType;
        int parent, side, strength;
    };
    const Want want[] = {{'A', 0, -1, 1, 0}, {'L', 0, 0, 1, 0}, {'U', 'I', 0, 1, 120}, {'A', 0, -1, 0, 0},
                         {'B', 0, 3, 0, 0},  {'S', 0, 4, 0, 4}, {'U', 'C', 4, 0, 300}, {'U', 'A', 3, 0, 88}};
    for (std::size_t i = 0; i < 8; ++i) {
        const TOobRec& r = *scn.OobList()[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(r.Kind, want[i].kind);
        EXPECT_EQ(r.UnitType, want[i].unitType);
        EXPECT_EQ(r.Parent, want[i].parent);
        EXPECT_EQ(r.Side, want[i].side);
        EXPECT_EQ(r.Strength, want[i].strength);
        EXPECT_EQ(r.Index, static_cast<int>(i));
        EXPECT_EQ(r.Display, box.lines[i]);
        EXPECT_EQ(r.Setup, nullptr);
    }
    EXPECT_EQ(box.clears, 1);
    EXPECT_EQ(box.events.front(), "clear");
}

TEST(OobReader, TopLevelNumbersRunAcrossBothSides) {
    Scenario scn;
    UnitsBox box;
    ReadText(scn,
             Oob({"Union A First Army", "Begin", "L 1 2 3 Gen. Tobin Ashcroft", "U 300 2 I R 1 1 Rifles", "End",
                  "Confederate A Second Army", "Begin", "L 4 5 6 Gen. Milo Quarrie", "End"}),
             box);
    EXPECT_EQ(DotNames(scn), (std::vector<std::string>{"1", "1.1", "1.2", "2", "2.1"}));
    EXPECT_EQ(scn.OobList()[3]->Side, 0);
    EXPECT_EQ(scn.OobList()[4]->Side, 0);
    EXPECT_EQ(scn.OobList()[1]->Side, 1);
}

TEST(OobReader, LfAloneReadsLikeCrLf) {
    Scenario a, b;
    UnitsBox boxA, boxB;
    ReadText(a, Oob(kArmy, "\r\n"), boxA);
    ReadText(b, Oob(kArmy, "\n"), boxB);
    EXPECT_EQ(DotNames(a), DotNames(b));
    EXPECT_EQ(boxA.lines, boxB.lines);
    for (const auto& l : boxA.lines) EXPECT_EQ(l.find('\r'), std::string::npos) << l;
}

TEST(OobReader, HeaderOnlyGivesAnEmptyList) {
    for (const std::string text : {"", "Header", "Header\r\n", "Header\n"}) {
        Scenario scn;
        UnitsBox box;
        ReadText(scn, text, box);
        EXPECT_TRUE(scn.OobList().empty()) << text;
        EXPECT_EQ(box.clears, 1);
    }
}

TEST(OobReader, TopLevelUnitHasDepthZero) {
    Scenario scn;
    UnitsBox box;
    ReadText(scn, Oob({"Union U 50 1 H Q 0 0 Big Guns", "Confederate L 1 1 1 Col. Pell Marsh"}), box);
    ASSERT_EQ(scn.OobList().size(), 2u);
    EXPECT_EQ(DotName(*scn.OobList()[0]), "1");
    EXPECT_EQ(scn.OobList()[0]->Parent, -1);
    EXPECT_EQ(scn.OobList()[0]->UnitType, 'H');
    EXPECT_EQ(DotName(*scn.OobList()[1]), "2");
    EXPECT_EQ(scn.OobList()[1]->Side, 0);
    EXPECT_EQ(box.lines, (std::vector<std::string>{"50 1 H Q Big Guns", "Col. Pell Marsh"}));
}

TEST(OobReader, TheLinesOfEachEntryKind) {
    struct Row {
        std::string line, display;
        char kind;
        int strength;
    };
    const Row rows[] = {
        {"Union A Army of the Ridge", "Army of the Ridge", 'A', 0},
        {"Union W Wing", "Wing", 'W', 0},
        {"Union D Div", "Div", 'D', 0},
        {"Union L 1 2 3 Maj. Quill", "Maj. Quill", 'L', 0},
        // wider numbers show in part: the name is taken from fixed positions
        {"Union L 10 2 3 Maj. Quill", " Maj. Quill", 'L', 0},
        {"Union L 10 20 30 Maj. Quill", "30 Maj. Quill", 'L', 0},
        {"Union S 5 3 Wagons", "Wagons", 'S', 5},
        {"Union S 55 3 Wagons", " Wagons", 'S', 55},
        {"Union U 120 3 I X 4 5 1st Regiment", "120 3 I X 1st Regiment", 'U', 120},
        {"Union U 7 3 I X 4 5", "7 3 I X 5", 'U', 7},  // no name: word 8 is the last character
        {"Union U 7  3 I  X 4 5  Two  Blanks", "7  3 I  X Two  Blanks", 'U', 7},
        {"Union U -5 3 I X 4 5 Lost", "-5 3 I X Lost", 'U', -5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        Scenario scn;
        UnitsBox box;
        std::vector<std::string> lines = {row.line};
        if (row.kind >= 'A' && row.kind <= 'W' && std::string("ABCDW").find(row.kind) != std::string::npos)
            lines.push_back("Begin");
        ReadText(scn, Oob(lines), box);
        ASSERT_EQ(scn.OobList().size(), 1u);
        EXPECT_EQ(scn.OobList()[0]->Kind, row.kind);
        EXPECT_EQ(scn.OobList()[0]->Strength, row.strength);
        EXPECT_EQ(box.lines.at(0), row.display);
    }
}

TEST(OobReader, Messages) {
    struct Row {
        std::vector<std::string> lines;
        std::string message;
    };
    const Row rows[] = {
        {{"End"}, "Too many \"End\"s L2"},
        {{"Union A X", "Begin", "End", "End"}, "Too many \"End\"s L5"},
        {{"Union U 1 1 I X 1 1 Foot", "  End"}, "Too many \"End\"s L3"},
        {{"A Army"}, "Side missing L2"},
        {{"union A Army"}, "Side missing L2"},
        {{"Union A X", "Begin", "End", ""}, "Side missing L5"},
        {{"Union A X", "Begin", "End", " \t "}, "Side missing L5"},
        {{"Union A X", "Begin", ""}, "Unknown line type L4"},
        {{"Union A X", "Begin", "   "}, "Unknown line type L4"},
        {{"Union X Other"}, "Unknown line type L2"},
        {{"Union"}, "Unknown line type L2"},
        {{"Union A X", "Begin", "u 1 1 I X 1 1"}, "Unknown line type L4"},
        {{"Union A X", "Begni"}, "Missing begin L3"},
        {{"Union A X"}, "Missing begin L3"},  // the file ends where "Begin" should be
        {{"Union A X", "begin"}, "Missing begin L3"},
        {{"Union L 1 x 3 Gen. Bad"}, "Bad data L 1 x 3 Gen. Bad"},
        {{"Union A X", "Begin", "\tL 1 2 Gen. Short"}, "Bad data L 1 2 Gen. Short"},
        {{"Confederate S x 1 Cart"}, "Bad data S x 1 Cart"},
        {{"Union U 1 2 I X 4 Foot"}, "Bad data U 1 2 I X 4 Foot"},
        {{"Union U 1 x I X 4 5 Foot"}, "Bad data U 1 x I X 4 5 Foot"},
        // The quoted line: its first 255 characters, "…" when there are more.
        {{"Union U 1 x I X 4 5 " + std::string(300, 'F')},
         "Bad data U 1 x I X 4 5 " + std::string(241, 'F') + "\xE2\x80\xA6"},
        {{"Union U 1 x I X 4 5 " + std::string(241, 'F')}, "Bad data U 1 x I X 4 5 " + std::string(241, 'F')},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        EXPECT_EQ(ErrorOf(Oob(row.lines)), row.message);
    }
}

// Nest organisations `orgs` deep, then put one unit at the innermost level.
std::vector<std::string> Nested(int orgs, bool unitInside) {
    std::vector<std::string> lines;
    for (int i = 0; i < orgs; ++i) {
        lines.push_back(std::string(i == 0 ? "Union " : "") + "B Level " + std::to_string(i + 1));
        lines.push_back("Begin");
    }
    if (unitInside) lines.push_back("U 10 1 I X 0 0 Deep Unit");
    return lines;
}

TEST(OobReader, SevenLevelsOfOrganisationsAndAnEightNumberUnit) {
    Scenario scn;
    UnitsBox box;
    ReadText(scn, Oob(Nested(7, true)), box);
    ASSERT_EQ(scn.OobList().size(), 8u);
    EXPECT_EQ(DotName(*scn.OobList()[7]), "1.1.1.1.1.1.1.1");
    EXPECT_EQ(scn.OobList()[7]->Parent, 6);
}

TEST(OobReader, AnEighthOrganisationLevelFails) {
    Scenario scn;
    UnitsBox box;
    try {
        ReadText(scn, Oob(Nested(8, false)), box);
        FAIL() << "no error";
    } catch (const ScnError& e) {
        EXPECT_STREQ(e.what(), "Too many org. levels L16");
    }
    // Everything read before stays, the list box in step with the list.
    EXPECT_EQ(scn.OobList().size(), 8u);
    EXPECT_EQ(box.lines.size(), scn.OobList().size());
}

TEST(OobReader, AFailingEntryLeavesTheListsInStep) {
    Scenario scn;
    UnitsBox box;
    EXPECT_THROW(ReadText(scn, Oob({"Union A Army", "Begin", "L 1 2 3 Gen. Good", "U 1 2 I X Q"}), box), ScnError);
    EXPECT_EQ(scn.OobList().size(), box.lines.size());
    EXPECT_EQ(scn.OobList().size(), 2u);
    EXPECT_EQ(box.oobReads, 0);
}

TEST(OobReader, EmptyOrganisations) {
    Scenario scn;
    UnitsBox box;
    ReadText(scn,
             Oob({"Union A Empty Army",  // 1
                  "Begin", "End",
                  "Union A Full Army",  // 2
                  "Begin",
                  "B Empty Corps",  // 2.1
                  "Begin", "End",
                  "U 10 1 I X 0 0 After",  // 2.2, parent is the full army
                  "B Corps",               // 2.3
                  "Begin",
                  "C Empty Div",  // 2.3.1
                  "Begin", "End",
                  "L 1 1 1 Col. Stay",                                 // 2.3.2, parent 2.3
                  "End", "End", "Confederate U 5 1 C X 0 0 Scouts"}),  // 3
             box);
    EXPECT_EQ(DotNames(scn), (std::vector<std::string>{"1", "2", "2.1", "2.2", "2.3", "2.3.1", "2.3.2", "3"}));
    const int parents[] = {-1, -1, 1, 1, 1, 4, 4, -1};
    for (std::size_t i = 0; i < scn.OobList().size(); ++i) EXPECT_EQ(scn.OobList()[i]->Parent, parents[i]) << i;
    // Every parent is an organisation before its entry.
    for (const TOobRec* r : scn.OobList()) {
        if (r->Parent < 0) continue;
        EXPECT_LT(r->Parent, r->Index);
        EXPECT_NE(std::string("ABCDW").find(scn.OobList()[static_cast<std::size_t>(r->Parent)]->Kind),
                  std::string::npos);
    }
}

TEST(OobReader, LongLinesAreCutTo255) {
    const std::string name(400, 'n');
    Scenario scn;
    UnitsBox box;
    ReadText(scn, Oob({"Union U 1 2 I X 3 4 " + name}), box);
    ASSERT_EQ(box.lines.size(), 1u);
    // "U 1 2 I X 3 4 " is 14 characters of the 255 that the line keeps after the side word
    EXPECT_EQ(box.lines[0], "1 2 I X " + std::string(255 - 14 - 6, 'n'));
}

TEST(OobReader, FindsEveryEntryByItsDotName) {
    Scenario scn;
    UnitsBox box;
    ReadText(scn, Oob(kArmy), box);
    for (const TOobRec* r : scn.OobList()) {
        DotKey key{};
        for (int i = 0; i < 7; ++i) key[static_cast<std::size_t>(i)] = r->Levels[static_cast<std::size_t>(i)];
        EXPECT_EQ(scn.FindDotName(key), r) << DotName(*r);
    }
}

TEST(OobReader, MoreThan255EntriesInOneOrganisationAreRefused) {
    std::vector<std::string> lines = {"Union A Big", "Begin"};
    for (int i = 0; i < 255; ++i) lines.push_back("U 1 1 I X 0 0 Co " + std::to_string(i));
    {
        Scenario scn;
        UnitsBox box;
        ReadText(scn, Oob(lines), box);
        EXPECT_EQ(DotName(*scn.OobList().back()), "1.255");
    }
    lines.push_back("Q a line of no type");
    EXPECT_EQ(ErrorOf(Oob(lines)), "Unknown line type L259");
    lines.back() = "U 1 1 I X 0 0 One Too Many";
    EXPECT_EQ(ErrorOf(Oob(lines)), "Too many entries in one organisation L259");
    lines.back() = "B One Too Many";
    EXPECT_EQ(ErrorOf(Oob(lines)), "Too many entries in one organisation L259");
    // at the top level, across both sides
    std::vector<std::string> top;
    for (int i = 0; i < 256; ++i) top.push_back(std::string(i % 2 ? "Union" : "Confederate") + " U 1 1 I X 0 0 Co");
    EXPECT_EQ(ErrorOf(Oob(top)), "Too many entries in one organisation L257");
}

// ReadOob on files in a folder of its own.
class OobFile : public scntest::FolderTest {};

TEST_F(OobFile, ReadsMainOobOfTheScenarioFolder) {
    write("MAIN.OOB", Oob(kArmy));
    Scenario scn;
    UnitsBox box;
    ReadOob(scn, dir() + "TEST.SCN", box);
    EXPECT_EQ(scn.OobPath, dir() + "MAIN.OOB");
    EXPECT_EQ(scn.GameDir, dir());
    EXPECT_EQ(fs::current_path(), dir_);
    EXPECT_EQ(scn.OobList().size(), 8u);
    EXPECT_EQ(box.oobReads, 1);
    EXPECT_EQ(box.events.back(), "read");
}

TEST_F(OobFile, AFailedOrderOfBattleLeavesTheReadIncomplete) {
    write("MAIN.OOB", Oob({"Union U 1 1 I X 0 0 Foot", "Nobody"}));
    Scenario scn;
    UnitsBox box;
    EXPECT_THROW(ReadOob(scn, dir() + "TEST.SCN", box), ScnError);
    EXPECT_TRUE(scn.ReadIncomplete);
}

// Loading alone refuses what ReadOob refuses and changes nothing, not even
// the working directory: a Read can be refused before it begins.
TEST_F(OobFile, LoadingRefusesBeforeAnythingChanges) {
    const fs::path before = fs::current_path();
    EXPECT_THROW(LoadOobFile(dir() + "TEST.SCN"), ScnError);
    write("MAIN.OOB", std::string("\xFF\xFE"
                                  "U\0",
                                  4));
    EXPECT_THROW(LoadOobFile(dir() + "TEST.SCN"), ScnError);
    write("MAIN.OOB", Oob(kArmy));
    const LoadedOob file = LoadOobFile(dir() + "TEST.SCN");
    EXPECT_EQ(file.Path, dir() + "MAIN.OOB");
    EXPECT_EQ(file.Text, Oob(kArmy));
    EXPECT_EQ(fs::current_path(), before);
}

TEST_F(OobFile, FindsTheFileInAnyCase) {
    write("Main.oob", Oob({"Union U 1 1 I X 0 0 Foot"}));
    Scenario scn;
    UnitsBox box;
    ReadOob(scn, dir() + "a.scn", box);
    EXPECT_EQ(scn.OobPath, dir() + "Main.oob");
    EXPECT_EQ(scn.OobList().size(), 1u);
}

TEST_F(OobFile, MissingFileIsNamed) {
    Scenario scn;
    UnitsBox box;
    try {
        ReadOob(scn, dir() + "TEST.SCN", box);
        FAIL() << "no error";
    } catch (const ScnError& e) {
        EXPECT_EQ(std::string(e.what()), "Order of Battle file not found: " + dir() + "MAIN.OOB");
    }
    EXPECT_EQ(box.oobReads, 0);
    EXPECT_EQ(fs::current_path(), saved_);
}

TEST_F(OobFile, ARelativePathMadeAbsoluteStillNamesItsFile) {
    fs::create_directories(dir_ / "game");
    write("game/MAIN.OOB", Oob({"Union U 1 1 I X 0 0 Foot"}));
    fs::current_path(dir_);
    Scenario scn;
    UnitsBox box;
    const std::string path = AbsoluteScenarioPath("game/x.scn");
    EXPECT_EQ(path, (dir_ / "game" / "x.scn").string());
    ReadOob(scn, path, box);
    EXPECT_EQ(fs::current_path(), dir_ / "game");
    // A second Read of the same path, from the new working directory.
    ReadOob(scn, path, box);
    EXPECT_EQ(scn.OobList().size(), 1u);
}

TEST_F(OobFile, ASecondReadReplacesTheOrderOfBattle) {
    write("MAIN.OOB", Oob(kArmy));
    Scenario scn;
    UnitsBox box;
    ReadOob(scn, dir() + "s.scn", box);
    const TOobRec* old = scn.OobList()[2];
    write("MAIN.OOB", Oob({"Confederate U 9 1 H X 0 0 Heavy Guns"}));
    ReadOob(scn, dir() + "s.scn", box);
    ASSERT_EQ(scn.OobList().size(), 1u);
    EXPECT_EQ(box.lines, (std::vector<std::string>{"9 1 H X Heavy Guns"}));
    // Records of the earlier read are still readable.
    EXPECT_EQ(old->Display, "120 3 I X 1st Regiment");
    DotKey key{1, 2};
    EXPECT_FALSE(scn.FindDotName(key));
}

}  // namespace
