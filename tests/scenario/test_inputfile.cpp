// Reading only regular files of sane size, refusing files that are no text
// of ours, and the message rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "scenario/inputfile.h"
#include "scenario/messagetext.h"
#include "scenario/oobreader.h"
#include "scenario/scnerror.h"
#include "scenario/scnreader.h"
#include "scenario/skippedlines.h"
#include "tests/scenario/test_scn_fixture.h"

using namespace varno;

using namespace scntest;

namespace {

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const ScnError& e) {
        return e.message();
    }
    return {};
}

struct TextCase {
    const char* name;
    std::string data;
    std::string reason;
};

class NotTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(NotTextTest, Reason) { EXPECT_EQ(NotTextReason(GetParam().data), GetParam().reason); }

INSTANTIATE_TEST_SUITE_P(
    Table, NotTextTest,
    ::testing::Values(
        TextCase{"Plain", "a\r\nb\nc", ""}, TextCase{"Empty", "", ""},
        TextCase{"Utf16Le",
                 std::string("\xFF\xFE"
                             "a\0",
                             4),
                 "it is UTF-16 text"},
        TextCase{"Utf16Be", std::string("\xFE\xFF\0a", 4), "it is UTF-16 text"},
        TextCase{"Utf32Le", std::string("\xFF\xFE\0\0", 4), "it is UTF-32 text"},
        // Without a byte-order mark: NUL bytes at every other position.
        TextCase{"Utf16LeWithoutMark",
                 std::string("H\0"
                             "1\0\r\0\n\0"
                             "2\0\r\0\n\0",
                             14),
                 "it is UTF-16 text"},
        TextCase{"Utf16BeWithoutMark",
                 std::string("\0H\0"
                             "1\0\r\0\n",
                             8),
                 "it is UTF-16 text"},
        TextCase{"Utf16WithSomeWideCharacters",
                 std::string("\x1E\x20"
                             "a\0b\0c\0\r\0\n\0",
                             12),
                 "it is UTF-16 text"},
        TextCase{"Utf32LeWithoutMark", std::string("a\0\0\0\n\0\0\0", 8), "most of its lines hold NUL bytes"},
        TextCase{"CrOnly", "a\rb\rc\r", "its lines end in CR alone"}, TextCase{"OneStrayCr", "a\rx\nb\nc\n", ""},
        TextCase{"CrAtTheVeryEnd", "a\r\nb\r", ""},
        TextCase{"CrBeforeCrLf", "a\r\r\nb\r\r\n", "its lines end in CR alone"},
        TextCase{"ManyBareCrs", std::string(256, '\r') + "x" + std::string(256, '\n'), "its lines end in CR alone"},
        TextCase{"ManyBareCrsFewerThanLines", std::string(256, '\r') + "x" + std::string(257, '\n'), ""},
        TextCase{"LongLineLater", "a\nb\nc\n" + std::string(kTextLineLimit + 1, 'x') + "\nd\n",
                 "line 4 is longer than 65536 bytes"},
        TextCase{"LongestAllowedThenLongestAllowedCrLf",
                 std::string(kTextLineLimit, 'x') + "\n" + std::string(kTextLineLimit, 'y') + "\r\n" +
                     std::string(kTextLineLimit / 2, 'z') + "\n" + std::string(kTextLineLimit, 'w'),
                 ""},
        TextCase{"LongLastLine", std::string(kTextLineLimit, 'x') + "\n" + std::string(kTextLineLimit + 1, 'y'),
                 "line 2 is longer than 65536 bytes"},
        TextCase{"NulInMostLines", std::string("a\0\nb\0\nc\n", 7), "most of its lines hold NUL bytes"},
        TextCase{"NulInOneLine", std::string("a\0\nb\nc\n", 6), ""},
        TextCase{"LongLine", "a\n" + std::string(kTextLineLimit + 1, 'x'), "line 2 is longer than 65536 bytes"},
        TextCase{"LongestAllowed", std::string(kTextLineLimit, 'x') + "\r\n", ""}),
    [](const ::testing::TestParamInfo<TextCase>& i) { return std::string(i.param.name); });

// The rule a line at a time, byte by byte, as the reason is defined: random
// texts of CR, LF, NUL and letters get the same reason from both.
std::string NotTextByLines(const std::string& data) {
    // UTF-16 without a mark, judged on the first kilobyte.
    const std::size_t pairs = std::min<std::size_t>(data.size(), 1024) / 2;
    std::size_t nul[2] = {0, 0};
    for (std::size_t i = 0; i < pairs * 2; ++i) nul[i % 2] += data[i] == '\0';
    for (int side = 0; side < 2; ++side)
        if (pairs >= 2 && nul[side] * 4 >= pairs * 3 && nul[1 - side] * 4 <= pairs) return "it is UTF-16 text";
    std::size_t lines = 0, nulLines = 0, lineFeeds = 0, bareCrs = 0, longest = 0, longestAt = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= data.size(); ++i) {
        const bool lf = i < data.size() && data[i] == '\n';
        if (!lf && i < data.size()) continue;
        if (lf || i > start) {
            const std::string line = data.substr(start, i - start);
            ++lines;
            nulLines += line.find('\0') != std::string::npos;
            std::size_t len = line.size();
            if (len > 0 && line[len - 1] == '\r') --len;
            for (std::size_t k = 0; k + 1 < line.size(); ++k) bareCrs += line[k] == '\r';
            if (len > longest) {
                longest = len;
                longestAt = lines;
            }
        }
        lineFeeds += lf;
        start = i + 1;
    }
    if (bareCrs > 0 && bareCrs >= lineFeeds) return "its lines end in CR alone";
    if (longest > kTextLineLimit) return "line " + std::to_string(longestAt) + " is too long";
    if (nulLines > 0 && nulLines * 2 > lines) return "most of its lines hold NUL bytes";
    return {};
}

TEST(NotText, SameReasonAsTheRuleLineByLine) {
    std::mt19937 rng(11);
    // Half the rounds without NUL, which takes the counting path.
    const char alphabet[] = {'a', 'b', '\r', '\n', 'a', '\n', '\r', '\0'};
    for (int round = 0; round < 20000; ++round) {
        // Now and then longer than the 255-byte blocks the CRs are counted in.
        std::string data(round % 50 == 0 ? 300 + rng() % 600 : rng() % 40, 'a');
        for (char& c : data) c = alphabet[rng() % (round % 2 ? sizeof alphabet : sizeof alphabet - 1)];
        SCOPED_TRACE(testing::PrintToString(data));
        EXPECT_EQ(NotTextReason(data), NotTextByLines(data));
    }
}

class InputFileTest : public FolderTest {};

TEST_F(InputFileTest, FifoAndDeviceRefusedWithoutBlocking) {
#ifdef _WIN32
    // No FIFOs among Windows' files: a device stands for them, in any folder.
    const std::string device = dir() + "NUL";
    EXPECT_EQ(ErrorOf([&] { ReadTextFile(device); }), device + " is not a regular file");
#else
    const std::string fifo = dir() + "FIFO";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_EQ(ErrorOf([&] { ReadTextFile(fifo); }), fifo + " is not a regular file");
    EXPECT_EQ(ErrorOf([] { ReadTextFile("/dev/zero"); }), "/dev/zero is not a regular file");
#endif
}

TEST_F(InputFileTest, TooLargeRefused) {
    const std::string big = dir() + "BIG";
    write("BIG", "");
    ASSERT_EQ(truncate(big.c_str(), static_cast<off_t>(kTextFileLimit + 1)), 0);  // sparse
    EXPECT_EQ(ErrorOf([&] { ReadTextFile(big); }), big + " is too large (268435457 bytes)");
}

// A scenario or order of battle that is no text of ours is refused before
// anything is made from it: the lists stay as they were.
TEST_F(InputFileTest, ScenarioAndOobRefusedBeforeAnythingChanges) {
    write("T.SCN", std::string("\xFF\xFE"
                               "1\0",
                               4));
    Scenario scn;
    SmallOob(scn);
    ScenarioBuilder(scn).NewSetup().Unit = scn.OobList()[3];
    EXPECT_EQ(ErrorOf([&] { LoadScenarioFile(dir() + "T.SCN"); }),
              dir() + "T.SCN is not a scenario file: it is UTF-16 text");
    RecordingListener listener;
    EXPECT_EQ(ErrorOf([&] { ReadScenario(scn, dir() + "T.SCN", listener); }),
              dir() + "T.SCN is not a scenario file: it is UTF-16 text");
    EXPECT_EQ(scn.SetupList().size(), 1u);

    write("MAIN.OOB", "header\rUnion A x\rBegin\r");
    const std::size_t entries = scn.OobList().size();
    EXPECT_EQ(ErrorOf([&] { ReadOob(scn, dir() + "T.SCN", listener); }),
              dir() + "MAIN.OOB is not an order of battle file: its lines end in CR alone");
    EXPECT_EQ(scn.OobList().size(), entries);
    EXPECT_FALSE(scn.ReadIncomplete);
}

// Only a missing file is a new scenario (also through a link that leads to
// none); a folder or a circle of links is refused as every other non-file.
TEST_F(InputFileTest, OnlyAMissingFileIsANewScenario) {
    fs::create_directory(dir_ / "D.SCN");
    EXPECT_EQ(ErrorOf([&] { LoadScenarioFile(dir() + "D.SCN"); }), dir() + "D.SCN is not a regular file");
#ifdef _WIN32  // symbolic links need a privilege on Windows: the folder and a new name there
    for (const char* name : {"NEW.SCN"}) {
#else
    fs::create_symlink("B.SCN", dir_ / "A.SCN");
    fs::create_symlink("A.SCN", dir_ / "B.SCN");
    fs::create_symlink("NONE.SCN", dir_ / "L.SCN");
    EXPECT_EQ(ErrorOf([&] { LoadScenarioFile(dir() + "A.SCN"); }),
              "Cannot read " + dir() + "A.SCN: " + std::strerror(ELOOP));
    for (const char* name : {"NEW.SCN", "L.SCN"}) {
#endif
        const ScenarioFile file = LoadScenarioFile(dir() + name);
        EXPECT_FALSE(file.Exists) << name;
        EXPECT_TRUE(file.Stamp.Known) << name;
    }
}

TEST(MessageTextTest, QuotedLineCutTo255) {
    EXPECT_EQ(QuoteLine(std::string(255, 'a')), std::string(255, 'a'));
    EXPECT_EQ(QuoteLine(std::string(10'000'000, 'a')), std::string(255, 'a') + "\xE2\x80\xA6");
}

TEST(MessageTextTest, ControlsShownAsPictures) {
    // A message keeps its line breaks; a line shows them; a line of a game
    // file reads every byte as Latin-1.
    struct Case {
        std::string in, message, line, latin1;
    };
    const std::string nul = "\xE2\x90\x80", esc = "\xE2\x90\x9B", cr = "\xE2\x90\x8D", lf = "\xE2\x90\x8A",
                      c1 = "\xEF\xBF\xBD";
    const Case cases[] = {
        {"plain", "plain", "plain", "plain"},
        {std::string("a\0b", 3), "a" + nul + "b", "a" + nul + "b", "a" + nul + "b"},
        {"\x1B[31mred", esc + "[31mred", esc + "[31mred", esc + "[31mred"},
        {"tab\there", "tab\xE2\x90\x89here", "tab\xE2\x90\x89here", "tab\xE2\x90\x89here"},
        {"del\x7F", "del\xE2\x90\xA1", "del\xE2\x90\xA1", "del\xE2\x90\xA1"},
        {"Not found: \rline\n", "Not found: \rline\n", "Not found: " + cr + "line" + lf,
         "Not found: " + cr + "line" + lf},
        {"caf\xE9", "caf\xC3\xA9", "caf\xC3\xA9", "caf\xC3\xA9"},  // Latin-1
        // UTF-8 kept, the stray byte Latin-1; in a game file's line both bytes are Latin-1.
        {"caf\xC3\xA9 \xE9", "caf\xC3\xA9 \xC3\xA9", "caf\xC3\xA9 \xC3\xA9", "caf\xC3\x83\xC2\xA9 \xC3\xA9"},
        {"c1\x9B", "c1" + c1, "c1" + c1, "c1" + c1},
        {"c1\xC2\x9B", "c1" + c1, "c1" + c1, "c1\xC3\x82" + c1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DisplayMessage(c.in), c.message) << c.in;
        EXPECT_EQ(DisplayLine(c.in), c.line) << c.in;
        EXPECT_EQ(DisplayLatin1Line(c.in), c.latin1) << c.in;
    }
}

}  // namespace
