// The scenario writer: line layouts, section order, progress texts, numbered
// backups and failures that must not lose the user's changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

#include "scenario/scenariobuilder.h"
#include "scenario/scnerror.h"
#include "scenario/scnreader.h"
#include "scenario/scnwriter.h"
#include "tests/scenario/test_scn_fixture.h"

using namespace varno;

using namespace scntest;

namespace {

class WriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        SmallOob(scn);
        ScenarioBuilder(scn).ScnHeader() = Nine();
    }

    TSetupRec* Place(const std::string& dot, int col, int row = 1) {
        TSetupRec* s = &ScenarioBuilder(scn).NewSetup();
        s->Unit = Entry(scn, dot);
        s->Facing = 4;
        s->Aux = 4;
        s->Strength = 100;
        s->Col = static_cast<std::uint8_t>(col);
        s->Row = static_cast<std::uint8_t>(row);
        return s;
    }
    TCommandRec* Command(const std::string& dot, int group, int col = 3) {
        TCommandRec* c = &ScenarioBuilder(scn).NewCommand();
        c->Unit = Entry(scn, dot);
        c->Group = static_cast<std::uint8_t>(group);
        c->Year = 63;
        c->Month = 7;
        c->Day = 1;
        c->Hour = 8;
        c->Col = static_cast<std::uint8_t>(col);
        c->Row = 4;
        c->Command = 3;
        return c;
    }
    // The lines of the written text after the header.
    std::vector<std::string> Body(const WriteOptions& opts = {}) {
        const std::string text = ScenarioText(scn, opts, nullptr);
        std::vector<std::string> lines;
        std::size_t pos = 0;
        while (pos < text.size()) {
            const std::size_t end = text.find("\r\n", pos);
            if (end == std::string::npos) {
                ADD_FAILURE() << "text does not end in CR LF";
                break;
            }
            lines.push_back(text.substr(pos, end - pos));
            pos = end + 2;
        }
        EXPECT_GE(lines.size(), 9u);
        return std::vector<std::string>(lines.begin() + std::min<std::size_t>(9, lines.size()), lines.end());
    }

    Scenario scn;
};

TEST_F(WriterTest, SetupLine) {
    TSetupRec* s = Place("1.3", 12, 34);
    s->Facing = 8;
    s->Aux = 7;
    s->Strength = 255;
    s->Fatigue = 9;
    s->Flags = sfRouted | sfMounted;
    Place("2.1", 0, 0)->Flags = 0x80000001u;
    EXPECT_EQ(Body(),
              (std::vector<std::string>{"1 1.3 8 7 255 9 0 262145 12 34", "1 2.1 4 4 100 0 0 -2147483647 0 0"}));
}

TEST_F(WriterTest, SortByColumnKeepsListOrder) {
    Place("1.3", 5, 1);
    Place("1.4", 2, 1);
    Place("1.5", 5, 2);
    Place("2.2", 0, 1);
    const std::vector<const TSetupRec*> before(scn.SetupList().begin(), scn.SetupList().end());
    EXPECT_EQ(Body({.SortByCol = true}),
              (std::vector<std::string>{"1 2.2 4 4 100 0 0 0 0 1", "1 1.4 4 4 100 0 0 0 2 1", "1 1.3 4 4 100 0 0 0 5 1",
                                        "1 1.5 4 4 100 0 0 0 5 2"}));
    EXPECT_EQ(std::vector<const TSetupRec*>(scn.SetupList().begin(), scn.SetupList().end()), before);
    EXPECT_EQ(Body()[0], "1 1.3 4 4 100 0 0 0 5 1");
}

TEST_F(WriterTest, SortHandlesColumn255) {
    Place("1.3", 255);
    Place("1.4", 0);
    EXPECT_EQ(Body({.SortByCol = true}),
              (std::vector<std::string>{"1 1.4 4 4 100 0 0 0 0 1", "1 1.3 4 4 100 0 0 0 255 1"}));
}

TEST_F(WriterTest, GroupLineAndUnitLines) {
    TReinfGroup* g = &ScenarioBuilder(scn).NewReinfGroup();
    *g = TReinfGroup{};
    g->Year = 63;
    g->Month = 7;
    g->Day = 2;
    g->Hour = 14;
    g->Minute = 20;
    g->Chance = 80;
    g->ProtHexes = 3;
    g->Col = 10;
    g->Row = 11;
    g->Count = 3;
    g->Facing = 16;
    g->Units = {Entry(scn, "1.3"), Entry(scn, "1.4"), Entry(scn, "1.2.1")};
    EXPECT_EQ(Body(),
              (std::vector<std::string>{"2 1863 7 2 14 20 80 3 10 11 3 16", "    1.3", "    1.4", "    1.2.1"}));
}

TEST_F(WriterTest, ReleaseLayoutsByV103) {
    TReleaseRec* r = &ScenarioBuilder(scn).NewRelease();
    r->Unit = Entry(scn, "1.2.1");
    r->Year = 63;
    r->Month = 7;
    r->Day = 8;
    r->Hour = 14;
    r->Minute = 20;
    r->Chance = 80;
    EXPECT_EQ(Body({.V103 = true}), (std::vector<std::string>{"4 1863 7 8 14 20 1.2.1"}));
    EXPECT_EQ(Body({.V103 = false}), (std::vector<std::string>{"4 1863 7 8 14 20 80 1.2.1"}));
}

TEST_F(WriterTest, SectionOrderWithMiscAfterReleases) {
    Place("1.3", 1);
    TReleaseRec& release = ScenarioBuilder(scn).NewRelease();
    release.Unit = Entry(scn, "2.2");
    release.Year = 64;
    ScenarioBuilder(scn).ScnMisc() = {"3 section three", "M misc"};
    Command("1.4", 1);
    ScenarioBuilder(scn).ScnTrailer() = {"T1", ""};
    EXPECT_EQ(Body(), (std::vector<std::string>{"1 1.3 4 4 100 0 0 0 1 1", "4 1864 0 0 0 0 2.2", "3 section three",
                                                "M misc", "0", "1 0", "1", "1.4 1863 7 1 8 0 3 4 3", "T1", ""}));
}

TEST_F(WriterTest, CommandsRecountedAndRenumberedOnReading) {
    Command("1.3", 5, 1);
    Command("1.4", 2, 2);
    Command("1.5", 5, 3);
    Command("2.2", 0, 4);  // outside 1 to 8: not written
    Command("2.3", 9, 5);
    scn.CmdGroupCounts = {7, 9, 9, 9, 9, 9, 9, 9, 9};
    EXPECT_EQ(Body(), (std::vector<std::string>{"0", "2 0", "1", "1.4 1863 7 1 8 0 2 4 3", "2",
                                                "1.3 1863 7 1 8 0 1 4 3", "1.5 1863 7 1 8 0 3 4 3"}));
    EXPECT_EQ(scn.CmdGroupCounts, (std::array<std::int32_t, 9>{7, 0, 1, 0, 0, 2, 0, 0, 0}));

    Scenario back;
    SmallOob(back);
    RecordingListener listener;
    ReadText(back, ScenarioText(scn, {}, nullptr), listener);
    ASSERT_EQ(back.CommandList().size(), 3u);
    EXPECT_EQ(back.CommandList()[0]->Group, 1);
    EXPECT_EQ(back.CommandList()[1]->Group, 2);
    EXPECT_EQ(back.CommandList()[2]->Group, 2);
    EXPECT_EQ(back.CmdGroupCounts, (std::array<std::int32_t, 9>{2, 1, 2, 0, 0, 0, 0, 0, 0}));
}

TEST_F(WriterTest, NoCommandsAndNoTrailerWritesNoMarker) {
    ScenarioBuilder(scn).ScnMisc() = {"M"};
    EXPECT_EQ(Body(), (std::vector<std::string>{"M"}));
}

TEST_F(WriterTest, TrailerWithoutCommandsKeepsItsPlace) {
    ScenarioBuilder(scn).ScnMisc() = {"M"};
    ScenarioBuilder(scn).ScnTrailer() = {"0 begins like a marker", "T"};
    EXPECT_EQ(Body(), (std::vector<std::string>{"M", "0", "0 0", "0 begins like a marker", "T"}));

    Scenario back;
    SmallOob(back);
    RecordingListener listener;
    ReadText(back, ScenarioText(scn, {}, nullptr), listener);
    EXPECT_EQ(back.ScnMisc(), scn.ScnMisc());
    EXPECT_EQ(back.ScnTrailer(), scn.ScnTrailer());
    EXPECT_TRUE(back.CommandList().empty());
}

TEST_F(WriterTest, NewScenarioGetsNineHeaderLines) {
    ScenarioBuilder(scn).ScnHeader() = {"Title"};
    Place("1.3", 1);
    const std::string text = ScenarioText(scn, {}, nullptr);
    EXPECT_EQ(text, Crlf({"Title", "", "", "", "", "", "", "", "", "1 1.3 4 4 100 0 0 0 1 1"}));
    Scenario back;
    SmallOob(back);
    RecordingListener listener;
    ReadText(back, text, listener);
    EXPECT_EQ(back.SetupList().size(), 1u);
}

TEST_F(WriterTest, VerbatimLinesWrittenWhole) {
    ScenarioBuilder(scn).ScnHeader()[3] = std::string(600, 'h');
    ScenarioBuilder(scn).ScnMisc() = {"3" + std::string(400, 'm')};
    ScenarioBuilder(scn).ScnTrailer() = {std::string(300, 't')};
    const std::vector<std::string> body = Body();
    EXPECT_EQ(body.front(), scn.ScnMisc()[0]);
    EXPECT_EQ(body.back(), scn.ScnTrailer()[0]);
    EXPECT_NE(ScenarioText(scn, {}, nullptr).find(scn.ScnHeader()[3] + "\r\n"), std::string::npos);
}

struct StatusCase {
    const char* name;
    bool sort, misc, commands, trailer;
    std::vector<std::string> texts;
};

class WriterStatus : public WriterTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(WriterStatus, ProgressTextsInOrder) {
    const StatusCase& c = GetParam();
    if (c.misc) ScenarioBuilder(scn).ScnMisc() = {"3 x"};
    if (c.commands) Command("1.3", 1);
    if (c.trailer) ScenarioBuilder(scn).ScnTrailer() = {"T"};
    TempDir dir;
    std::vector<std::string> seen;
    scn.Modified = true;
    WriteScenario(scn, dir / "S.SCN", {.SortByCol = c.sort}, [&](std::string_view s) { seen.emplace_back(s); });
    EXPECT_EQ(seen, c.texts);
    EXPECT_FALSE(scn.Modified);
}

INSTANTIATE_TEST_SUITE_P(
    Sections, WriterStatus,
    ::testing::Values(StatusCase{"Everything",
                                 true,
                                 true,
                                 true,
                                 true,
                                 {"Sorting cols", "saving setups", "saving reinforcements", "saving miscellaneous",
                                  "saving commands", "saving trailer", "Done"}},
                      StatusCase{
                          "Nothing", false, false, false, false, {"saving reinforcements", "saving trailer", "Done"}},
                      StatusCase{"SortWithoutSetups",
                                 true,
                                 false,
                                 false,
                                 true,
                                 {"Sorting cols", "saving setups", "saving reinforcements", "saving trailer", "Done"}}),
    [](const ::testing::TestParamInfo<StatusCase>& i) { return std::string(i.param.name); });

// Miscellaneous lines that followed a release in the file read now follow
// the sections before them, when that release was of an unknown unit (and so
// skipped) or was removed. Whatever they begin with, the saved file reads
// back with the same lists and the same miscellaneous lines; an empty line
// is put before them only where they would otherwise be read as a section.
struct MiscCase {
    const char* name;
    std::vector<std::string> body;  // the lines after the header of the file read
    bool removeReleases;
    bool separated;  // an empty line is written before the miscellaneous lines
};

class MiscAfterSections : public ::testing::TestWithParam<MiscCase> {};

TEST_P(MiscAfterSections, SavedFileReadsBackTheSame) {
    const MiscCase& c = GetParam();
    std::vector<std::string> file = Nine();
    file.insert(file.end(), c.body.begin(), c.body.end());
    Scenario scn;
    SmallOob(scn);
    RecordingListener listener;
    ReadText(scn, Crlf(file), listener);
    if (c.removeReleases) ScenarioBuilder(scn).ReleaseList().clear();
    const std::vector<std::string> misc = scn.ScnMisc();

    const std::string written = ScenarioText(scn, {}, nullptr);
    Scenario back;
    SmallOob(back);
    RecordingListener backListener;
    ASSERT_EQ(ReadError(back, written, backListener), "");
    EXPECT_EQ(back.SetupList().size(), scn.SetupList().size());
    EXPECT_EQ(back.ReinfList().size(), scn.ReinfList().size());
    EXPECT_EQ(back.ReleaseList().size(), scn.ReleaseList().size());
    std::vector<std::string> expected = misc;
    if (c.separated) expected.insert(expected.begin(), "");
    EXPECT_EQ(back.ScnMisc(), expected);
    // Saving what was read back writes the same file again.
    EXPECT_EQ(ScenarioText(back, {}, nullptr), written);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MiscAfterSections,
    ::testing::Values(
        MiscCase{"IndentedAfterAGroup",
                 {"2 1863 7 1 14 0 100 0 39 14 3 8", "    1.1", "    1.2", "4 1863 7 1 8 0 50 9.9", "    8.82", ""},
                 false,
                 true},
        MiscCase{"GroupLineAfterAGroup",
                 {"2 1863 7 1 14 0 100 0 39 14 1 8", "    1.1", "4 1863 7 1 8 0 50 9.9", "2 not a group"},
                 false,
                 true},
        MiscCase{"SetupLineAfterSetups", {"1 1.1 8 4 0 0 0 0 24 10", "4 1863 7 1 8 0 50 1.3", "1 note"}, true, true},
        MiscCase{"ReleaseLineAfterSectionThree",
                 {"1 1.1 8 4 0 0 0 0 24 10", "4 1863 7 1 8 0 50 9.9", "3 late", "4 1863 7 1 8 0 50 1.3"},
                 false,
                 true},
        MiscCase{"SectionThreeNeedsNothing",
                 {"2 1863 7 1 14 0 100 0 39 14 1 8", "    1.1", "3 a", "M", "  b"},
                 false,
                 false},
        MiscCase{"AfterReleasesNeedsNothing",
                 {"4 1863 7 1 8 0 50 1.3", "4 1863 7 1 8 0 50 9.9", "  indented", "2 x", "1 y"},
                 false,
                 false},
        MiscCase{"IndentedAfterSetupsNeedsNothing",
                 {"1 1.1 8 4 0 0 0 0 24 10", "4 1863 7 1 8 0 50 9.9", "  x"},
                 false,
                 false}),
    [](const ::testing::TestParamInfo<MiscCase>& i) { return std::string(i.param.name); });

// ---- numbered backups ----

class BackupTest : public WriterTest {
protected:
    std::string Path() const { return dir / "GAME.SCN"; }
    void Old(const std::string& text) { WriteFile(Path(), text); }
    void Save() { WriteScenario(scn, Path(), {}, nullptr); }
    TempDir dir;
};

TEST_F(BackupTest, NoOldFileNoBackup) {
    EXPECT_EQ(BackupName(Path()), "");
    Save();
    EXPECT_EQ(ReadFile(Path()), Crlf(Nine()));
    // The scenario and the folder's save lock, nothing else.
    std::size_t files = 0;
    for (const auto& e : fs::directory_iterator(dir.path())) files += e.path().filename() != ".varno.lock";
    EXPECT_EQ(files, 1u);
}

TEST_F(BackupTest, OldFileMovedToFirstFreeNumber) {
    WriteFile(dir / "OLDSCN1.TXT", "one");
    WriteFile(dir / "OLDSCN3.TXT", "three");
    Old("previous");
    EXPECT_EQ(BackupName(Path()), dir / "OLDSCN2.TXT");
    Save();
    EXPECT_EQ(ReadFile(dir / "OLDSCN1.TXT"), "one");
    EXPECT_EQ(ReadFile(dir / "OLDSCN2.TXT"), "previous");
    EXPECT_EQ(ReadFile(dir / "OLDSCN3.TXT"), "three");
    EXPECT_EQ(ReadFile(Path()), Crlf(Nine()));
    // the next save takes number 4
    Save();
    EXPECT_EQ(ReadFile(dir / "OLDSCN4.TXT"), Crlf(Nine()));
}

TEST_F(BackupTest, ExistingNamesMatchedIgnoringCase) {
    WriteFile(dir / "oldscn1.txt", "one");
    WriteFile(dir / "OldScn2.Txt", "two");
    Old("previous");
    Save();
    EXPECT_EQ(ReadFile(dir / "oldscn1.txt"), "one");
    EXPECT_EQ(ReadFile(dir / "OldScn2.Txt"), "two");
    EXPECT_EQ(ReadFile(dir / "OLDSCN3.TXT"), "previous");
}

TEST_F(BackupTest, AllNineTakenReplacesNumberNine) {
    for (int n = 1; n <= 9; ++n) WriteFile(dir / ("OLDSCN" + std::to_string(n) + ".TXT"), "b" + std::to_string(n));
    Old("v1");
    EXPECT_EQ(BackupName(Path()), dir / "OLDSCN9.TXT");
    Save();
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(ReadFile(dir / ("OLDSCN" + std::to_string(n) + ".TXT")), "b" + std::to_string(n));
    EXPECT_EQ(ReadFile(dir / "OLDSCN9.TXT"), "v1");
    ScenarioBuilder(scn).ScnHeader()[0] = "changed";
    Save();
    EXPECT_EQ(ReadFile(dir / "OLDSCN9.TXT"), Crlf(Nine()));
    EXPECT_EQ(ReadFile(Path()).substr(0, 9), "changed\r\n");
}

TEST_F(BackupTest, LowerCaseNumberNineReplacedWhenAllTaken) {
    for (int n = 1; n <= 8; ++n) WriteFile(dir / ("OLDSCN" + std::to_string(n) + ".TXT"), "b");
    WriteFile(dir / "oldscn9.txt", "old nine");
    Old("v1");
    Save();
    // Listed, not looked up: where names ignore case both spellings "exist".
    std::vector<std::string> nines;
    for (const auto& e : fs::directory_iterator(dir.path()))
        if (e.path().filename().string().find('9') != std::string::npos) nines.push_back(e.path().filename().string());
    EXPECT_EQ(nines, std::vector<std::string>{"OLDSCN9.TXT"});
    EXPECT_EQ(ReadFile(dir / "OLDSCN9.TXT"), "v1");
}

// The old file cannot take its backup name (here a folder holds it): the
// save stops before writing, and the file keeps the previous version.
TEST_F(BackupTest, BackupRefusedStopsBeforeWriting) {
    fs::create_directories(dir.path() / "OLDSCN1.TXT" / "busy");
    Old("the previous scenario");
    Place("1.3", 1);
    scn.Modified = true;
    std::vector<std::string> seen;
    try {
        WriteScenario(scn, Path(), {}, [&](std::string_view s) { seen.emplace_back(s); });
        FAIL() << "the save must fail";
    } catch (const ScnError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot back up " + Path() + " to OLDSCN1.TXT: " + std::strerror(EISDIR));
    }
    EXPECT_EQ(ReadFile(Path()), "the previous scenario");
    EXPECT_TRUE(scn.Modified);
    // The text was written (to a temporary file), the save never done.
    EXPECT_TRUE(std::find(seen.begin(), seen.end(), "Done") == seen.end());
}

TEST_F(BackupTest, BareFileNameBacksUpInWorkingDirectory) {
    const fs::path was = fs::current_path();
    fs::current_path(dir.path());
    Old("previous");
    WriteScenario(scn, "GAME.SCN", {}, nullptr);
    fs::current_path(was);
    EXPECT_EQ(ReadFile(dir / "OLDSCN1.TXT"), "previous");
}

TEST_F(BackupTest, UnwritableFolderReportsFileAndReason) {
    WriteFile(dir / "PLAIN", "a file, not a folder");
    const std::string path = dir / "PLAIN/GAME.SCN";
    scn.Modified = true;
    std::vector<std::string> seen;
    try {
        WriteScenario(scn, path, {}, [&](std::string_view s) { seen.emplace_back(s); });
        FAIL() << "the save must fail";
    } catch (const ScnError& e) {
        const std::string msg = e.what();
        EXPECT_NE(msg.find(path), std::string::npos) << msg;
        // Windows finds no such path where POSIX finds no folder.
#ifdef _WIN32
        EXPECT_NE(msg.find(std::strerror(ENOENT)), std::string::npos) << msg;
#else
        EXPECT_NE(msg.find(std::strerror(ENOTDIR)), std::string::npos) << msg;
#endif
    }
    EXPECT_TRUE(scn.Modified);
    // The file was never created: no section was reached.
    EXPECT_TRUE(seen.empty());
}

TEST_F(BackupTest, FolderGoneReportsFileAndReason) {
    const std::string path = dir / "GONE/GAME.SCN";
    scn.Modified = true;
    try {
        WriteScenario(scn, path, {}, nullptr);
        FAIL() << "the save must fail";
    } catch (const ScnError& e) {
        EXPECT_NE(std::string(e.what()).find(std::strerror(ENOENT)), std::string::npos) << e.what();
    }
    EXPECT_TRUE(scn.Modified);
}

// Runs a save while files may grow to 1000 bytes only (as on a full disk);
// the error's message, empty when the save did not fail.
template <class F> std::string FailedWithin1000Bytes(F save) {
#ifdef _WIN32
    (void)save;
    return {};
#else
    struct rlimit was {};
    if (getrlimit(RLIMIT_FSIZE, &was) != 0) return "getrlimit failed";
    struct rlimit small = was;
    small.rlim_cur = 1000;
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    std::string message;
    if (setrlimit(RLIMIT_FSIZE, &small) != 0)
        message = "setrlimit failed";
    else {
        try {
            save();
        } catch (const ScnError& e) {
            message = e.what();
        }
        setrlimit(RLIMIT_FSIZE, &was);
    }
    signal(SIGXFSZ, oldHandler);
    return message;
#endif
}

// A file size limit stands for the full disk: POSIX only.
#ifdef _WIN32
#define SKIP_WITHOUT_FILE_SIZE_LIMIT()                                                                                 \
    GTEST_SKIP() << "a file size limit (RLIMIT_FSIZE) stands for a full disk on POSIX; the injected failures stand in"
#else
#define SKIP_WITHOUT_FILE_SIZE_LIMIT()
#endif

// The file system refuses the text (as a full disk does): the old file stays
// whole, no backup number is used, the error names the file and the reason.
TEST_F(BackupTest, WriteRefusedKeepsOldFileAndModified) {
    SKIP_WITHOUT_FILE_SIZE_LIMIT();
    Old("the previous scenario");
    for (int i = 0; i < 200; ++i) Place("1.3", i);
    scn.Modified = true;

    const std::string message = FailedWithin1000Bytes([&] { Save(); });

    EXPECT_NE(message.find(Path()), std::string::npos) << message;
    EXPECT_NE(message.find(std::strerror(EFBIG)), std::string::npos) << message;
    EXPECT_TRUE(scn.Modified);
    EXPECT_EQ(ReadFile(Path()), "the previous scenario");
    EXPECT_FALSE(fs::exists(dir / "OLDSCN1.TXT"));
}

// The status shows the last section reached: here the trailer does not fit.
TEST_F(BackupTest, FailedSaveShowsTheSectionItReached) {
    SKIP_WITHOUT_FILE_SIZE_LIMIT();
    Place("1.3", 1);
    ScenarioBuilder(scn).ScnMisc() = {"3 misc"};
    ScenarioBuilder(scn).ScnTrailer().assign(100, std::string(40, 't'));
    scn.Modified = true;

    std::vector<std::string> seen;
    const std::string message = FailedWithin1000Bytes(
        [&] { WriteScenario(scn, Path(), {}, [&](std::string_view s) { seen.emplace_back(s); }); });

    EXPECT_NE(message.find(std::strerror(EFBIG)), std::string::npos) << message;
    EXPECT_EQ(seen, (std::vector<std::string>{"saving reinforcements", "saving miscellaneous", "saving trailer"}));
    EXPECT_TRUE(scn.Modified);
    // Nothing of the cut text is left: there was no file, there is none.
    EXPECT_FALSE(fs::exists(Path()));
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 0u);
}

TEST_F(BackupTest, SavedFileReadsBack) {
    Place("1.3", 4, 5);
    ScenarioBuilder(scn).ScnTrailer() = {"T"};
    scn.Modified = true;
    Save();
    EXPECT_FALSE(scn.Modified);
    Scenario back;
    SmallOob(back);
    RecordingListener listener;
    ReadScenario(back, Path(), listener);
    ASSERT_EQ(back.SetupList().size(), 1u);
    EXPECT_EQ(back.SetupList()[0]->Col, 4);
    EXPECT_EQ(back.ScnTrailer(), scn.ScnTrailer());
}

}  // namespace
