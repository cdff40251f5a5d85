// File names of the game's folders, and the line reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "scenario/filenames.h"
#include "scenario/linereader.h"
#include "scenario/scnerror.h"
#include "tests/scenario/test_folder.h"

using namespace varno;

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

TEST(DirPart, EndsAtTheLastSlash) {
    EXPECT_EQ(DirPart("/games/war/SCN1.SCN"), "/games/war/");
    EXPECT_EQ(DirPart("/games/war/"), "/games/war/");
    EXPECT_EQ(DirPart("/x"), "/");
    EXPECT_EQ(DirPart("SCN1.SCN"), "");
    EXPECT_EQ(DirPart(""), "");
    EXPECT_EQ(DirPart("C:\\games\\a.scn"), kWindows ? "C:\\games\\" : "");  // on POSIX only '/' separates
    EXPECT_EQ(DirPart("/Mixed Case/a b.scn"), "/Mixed Case/");
}

TEST(IsGameFileName, TheGamesOwnFilesInAnyCase) {
    for (const char* own : {"MAIN.OOB", "main.oob", "Main.Map", "MAIN1.BMP", "icons2d.bmp", "OLDSCN1.TXT",
                            "oldscn9.txt", "OLDSCN10.TXT", "OldScn0.Txt"})
        EXPECT_TRUE(IsGameFileName(own)) << own;
    for (const char* other : {"MAIN.SCN", "MAIN.OOB.SCN", "XMAIN.OOB", "OLDSCN.TXT", "OLDSCN1A.TXT", "OLDSCN1.TXT.SCN",
                              "OLDSCN-1.TXT", "MAIN2.BMP", "", "OLDSCN1.TX"})
        EXPECT_FALSE(IsGameFileName(other)) << other;
}

class Folder : public scntest::FolderTest {};

// Where names ignore case (Windows) a second spelling writes the same file:
// the folder keeps its first.
TEST_F(Folder, FindFileNoCase) {
    EXPECT_EQ(FindFileNoCase(dir(), "MAIN.OOB"), dir() + "MAIN.OOB");  // none: as spelled
    write("main.oob", "x");
    EXPECT_EQ(FindFileNoCase(dir(), "MAIN.OOB"), dir() + "main.oob");
    write("Main.Oob", "x");
    // the first in byte order
    EXPECT_EQ(FindFileNoCase(dir(), "MAIN.OOB"), dir() + (kWindows ? "main.oob" : "Main.Oob"));
    write("MAIN.OOB", "x");
    // as spelled wins
    EXPECT_EQ(FindFileNoCase(dir(), "MAIN.OOB"), dir() + (kWindows ? "main.oob" : "MAIN.OOB"));
    EXPECT_EQ(FindFileNoCase(dir(), "MAIN.OO"), dir() + "MAIN.OO");
    EXPECT_EQ(FindFileNoCase(dir() + "nowhere/", "MAIN.OOB"), dir() + "nowhere/MAIN.OOB");
    // the working directory when the directory part is empty
    fs::current_path(dir_);
    EXPECT_EQ(FindFileNoCase("", "main.OOB"), kWindows ? "main.oob" : "MAIN.OOB");
}

TEST_F(Folder, FileExists) {
    write("a.scn", "");
    fs::create_directories(dir_ / "sub");
    EXPECT_TRUE(FileExists(dir() + "a.scn"));
    EXPECT_FALSE(FileExists(dir() + "b.scn"));
    EXPECT_FALSE(FileExists(dir() + "sub"));
    EXPECT_FALSE(FileExists(""));
}

TEST_F(Folder, AbsoluteScenarioPath) {
    fs::current_path(dir_);
    const std::string cwd = fs::current_path().string();
    // As typed after the working folder on POSIX; as Windows resolves it there.
    EXPECT_EQ(AbsoluteScenarioPath("x.scn"), cwd + (kWindows ? "\\x.scn" : "/x.scn"));
    EXPECT_EQ(AbsoluteScenarioPath("sub/../Y.SCN"), cwd + (kWindows ? "\\Y.SCN" : "/sub/../Y.SCN"));
    EXPECT_EQ(AbsoluteScenarioPath(""), "");
    if (!kWindows) {
        EXPECT_EQ(AbsoluteScenarioPath("/abs/x.scn"), "/abs/x.scn");
        return;
    }
    EXPECT_EQ(AbsoluteScenarioPath("C:/abs/x.scn"), "C:/abs/x.scn");
    EXPECT_EQ(AbsoluteScenarioPath("\\abs\\x.scn"), cwd.substr(0, 2) + "\\abs\\x.scn");  // the working drive's
}

std::vector<std::string> AllLines(LineReader& in) {
    std::vector<std::string> lines;
    while (!in.atEnd()) lines.emplace_back(in.next());
    return lines;
}

TEST(LineReader, LineEnds) {
    struct Row {
        std::string text;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\r\nb\r", {"a", "b"}},
        {"a\n\r\n\nb", {"a", "", "", "b"}},
        {"x\ry\r\n", {"x\ry"}},  // a CR inside a line is a byte of it
        {std::string("n\0l\xff\r\n", 6), {std::string("n\0l\xff", 4)}},
    };
    for (const Row& row : rows) {
        LineReader in = LineReader::fromText(row.text);
        EXPECT_EQ(AllLines(in), row.lines);
        EXPECT_TRUE(in.next().empty());
    }
}

TEST(LineReader, KeepsLongLinesWhole) {
    const std::string longLine(1000, 'z');
    LineReader in = LineReader::fromText(longLine + "\r\nshort\r\n");
    EXPECT_EQ(in.next(), longLine);
    EXPECT_EQ(in.next(), "short");
}

TEST_F(Folder, LineReaderFromFile) {
    write("T.TXT", "one\r\ntwo\r\n");
    LineReader in(dir() + "T.TXT");
    EXPECT_EQ(AllLines(in), (std::vector<std::string>{"one", "two"}));
    try {
        LineReader missing(dir() + "NONE.TXT");
        FAIL() << "no error";
    } catch (const ScnError& e) {
        const std::string msg = e.what();
        EXPECT_NE(msg.find(dir() + "NONE.TXT"), std::string::npos) << msg;
        EXPECT_NE(msg.find("No such file"), std::string::npos) << msg;
    }
}

}  // namespace
