// File names of the game's folders, and the line reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "scenario/filenames.h"
#include "scenario/linereader.h"
#include "scenario/scnerror.h"
#include "tests/scenario/test_folder.h"

using namespace varno;

namespace fs = std::filesystem;

namespace {

TEST(DirPart, EndsAtTheLastSlash) {
    EXPECT_EQ(DirPart("/games/war/SCN1.SCN"), "/games/war/");
    EXPECT_EQ(DirPart("/games/war/"), "/games/war/");
    EXPECT_EQ(DirPart("/x"), "/");
    EXPECT_EQ(DirPart("SCN1.SCN"), "");
    EXPECT_EQ(DirPart(""), "");
    EXPECT_EQ(DirPart("C:\\games\\a.scn"), "");  // only '/' separates
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

TEST_F(Folder, FindFileNoCase) {
    EXPECT_EQ(FindFileNoCase(dir(), "MAIN.OOB"), dir() + "MAIN.OOB");  // none: as spelled
    write("main.oob", "x");
    EXPECT_EQ(FindFileNoCase(dir(), "MAIN.OOB"), dir() + "main.oob");
    write("Main.Oob", "x");
    EXPECT_EQ(FindFileNoCase(dir(), "MAIN.OOB"), dir() + "Main.Oob");  // the first in byte order
    write("MAIN.OOB", "x");
    EXPECT_EQ(FindFileNoCase(dir(), "MAIN.OOB"), dir() + "MAIN.OOB");  // as spelled wins
    EXPECT_EQ(FindFileNoCase(dir(), "MAIN.OO"), dir() + "MAIN.OO");
    EXPECT_EQ(FindFileNoCase(dir() + "nowhere/", "MAIN.OOB"), dir() + "nowhere/MAIN.OOB");
    // the working directory when the directory part is empty
    fs::current_path(dir_);
    EXPECT_EQ(FindFileNoCase("", "main.OOB"), "MAIN.OOB");
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
    EXPECT_EQ(AbsoluteScenarioPath("/abs/x.scn"), "/abs/x.scn");
    EXPECT_EQ(AbsoluteScenarioPath("x.scn"), fs::current_path().string() + "/x.scn");
    EXPECT_EQ(AbsoluteScenarioPath("sub/../Y.SCN"), fs::current_path().string() + "/sub/../Y.SCN");
    EXPECT_EQ(AbsoluteScenarioPath(""), "");
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
