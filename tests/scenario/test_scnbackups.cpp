// The backups of a scenario: which files are listed, in which order, and
// which of them are compared.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "scenario/oobreader.h"
#include "scenario/scenariobuilder.h"
#include "scenario/scnbackups.h"
#include "scenario/scnreader.h"
#include "tests/scenario/test_scn_fixture.h"

using namespace varno;

namespace {

namespace fs = std::filesystem;

class ScnBackups : public scntest::FolderTest {
protected:
    void age(const std::string& name, int minutesAgo) {
        fs::last_write_time(dir_ / name, fs::file_time_type::clock::now() - std::chrono::minutes(minutesAgo));
    }
    // The demo as DEMO.SCN (read into `current`), a backup with a bad line,
    // one with a placement moved, one of a single line.
    void demoFolder(Scenario& current) {
        fs::copy_file(fs::path(VARNO_DEMO_DIR) / "MAIN.OOB", dir_ / "MAIN.OOB");
        const std::string demo = scntest::ReadFile(std::string(VARNO_DEMO_DIR) + "/DEMO.SCN");
        write("DEMO.SCN", demo);
        write("OLDSCN1.TXT", demo.substr(0, demo.find("1 1.1 8 4")) + "1 1.1 8 x\r\n");
        std::string moved = demo;
        moved.replace(moved.find("0 0 24 10"), 9, "0 0 23 10");
        write("OLDSCN2.TXT", moved);
        ReadListener quiet;
        ReadOob(current, dir() + "DEMO.SCN", quiet);
        ReadScenario(current, dir() + "DEMO.SCN", quiet);
    }
    std::vector<std::string> names(const std::string& scn) {
        std::vector<std::string> out;
        for (const BackupFile& b : ListBackups(dir() + scn)) out.push_back(b.Name + (b.IsScenario ? "*" : ""));
        return out;
    }
};

TEST_F(ScnBackups, ListsTheScenarioAndItsBackupsNewestFirstInAnyCase) {
    const std::vector<std::pair<std::string, int>> files = {
        {"DEMO.SCN", 0},    {"OLDSCN1.TXT", 30}, {"oldscn2.txt", 20}, {"OldScn3.Txt", 40}, {"OLDSCN10.TXT", 1},
        {"OLDSCN0.TXT", 1}, {"OLDSCN.TXT", 1},   {"OTHER.SCN", 1},    {"OLDSCN4.TXT~", 1},
    };
    for (const auto& [name, ago] : files) {
        write(name, "x");
        age(name, ago);
    }
    fs::create_directory(dir_ / "OLDSCN5.TXT");  // not a regular file
    EXPECT_EQ(names("DEMO.SCN"), (std::vector<std::string>{"DEMO.SCN*", "oldscn2.txt", "OLDSCN1.TXT", "OldScn3.Txt"}));
    // A scenario not yet written still has its folder's backups.
    EXPECT_EQ(names("NEW.SCN").size(), 3u);
    const BackupFile first = ListBackups(dir() + "DEMO.SCN").front();
    EXPECT_EQ(first.Size, 1);
    EXPECT_EQ(first.Path, dir() + "DEMO.SCN");
}

TEST_F(ScnBackups, ComparesOnlyScenariosOfTheSameOrderOfBattle) {
    Scenario current;
    demoFolder(current);
    const BackupComparison same = CompareBackup(dir() + "DEMO.SCN", current);
    EXPECT_TRUE(same.Compared);
    EXPECT_TRUE(same.Diff.Equal());
    const BackupComparison broken = CompareBackup(dir() + "OLDSCN1.TXT", current);
    EXPECT_FALSE(broken.Compared);
    EXPECT_NE(broken.Reason.find("Bad data"), std::string::npos) << broken.Reason;
    write("OLDSCN3.TXT", "Notes of another game\r\n");
    EXPECT_EQ(CompareBackup(dir() + "OLDSCN3.TXT", current).Reason, "Not a scenario: fewer than nine lines");
    // Each file names the scenario it holds by its first line, whatever it is.
    EXPECT_EQ(CompareBackup(dir() + "OLDSCN3.TXT", current).FirstLine, "Notes of another game");
    const std::string demo = scntest::ReadFile(dir() + "DEMO.SCN");
    EXPECT_EQ(same.FirstLine + "\r\n", demo.substr(0, demo.find("\r\n") + 2));
    const BackupComparison one = CompareBackup(dir() + "OLDSCN2.TXT", current);
    ASSERT_TRUE(one.Compared);
    EXPECT_EQ(DiffLines(one.Diff), std::vector<std::string>{"moved    1.1  Gen. Abel Valcourt  23,10 -> 24,10"});

    ScenarioBuilder::Edit(current.OobList()[1]).Display += " (renamed)";
    const BackupComparison other = CompareBackup(dir() + "OLDSCN2.TXT", current);
    EXPECT_FALSE(other.Compared);
    EXPECT_EQ(other.Reason, "Another order of battle");
}

// The comparer works from the scenario as it was made (later edits are not
// seen), agrees with CompareBackup on every file, and does not read a file
// over the limit.
TEST_F(ScnBackups, TheComparerComparesTheScenarioAsItWasMade) {
    Scenario current;
    demoFolder(current);
    write("OLDSCN3.TXT", "Notes of another game\r\n");
    BackupComparer comparer(current);
    for (const char* name : {"DEMO.SCN", "OLDSCN1.TXT", "OLDSCN2.TXT", "OLDSCN3.TXT", "OLDSCN5.TXT"}) {
        const BackupComparison direct = CompareBackup(dir() + name, current), made = comparer.Compare(dir() + name);
        EXPECT_EQ(made.Compared, direct.Compared) << name;
        EXPECT_EQ(made.Reason, direct.Reason) << name;
        EXPECT_EQ(DiffLines(made.Diff), DiffLines(direct.Diff)) << name;
    }
    const std::uint64_t version = comparer.Version();
    EXPECT_EQ(BackupComparer(current).Version(), version);
    ScenarioBuilder::Edit(current.SetupList()[0]).Col += 1;
    EXPECT_TRUE(comparer.Compare(dir() + "DEMO.SCN").Diff.Equal());
    EXPECT_NE(BackupComparer(current).Version(), version);

    write("OLDSCN4.TXT", "");
    fs::resize_file(dir_ / "OLDSCN4.TXT", kBackupCompareLimit + 1);
    EXPECT_EQ(comparer.Compare(dir() + "OLDSCN4.TXT").Reason, "too large to compare (67108865 bytes; at most 64 MiB)");
}

}  // namespace
