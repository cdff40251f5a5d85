// Saving never leaves a broken scenario: a failure at any step, a killed
// save, a full disk and a second saver all leave the old bytes or the new
// ones under the scenario's name; the refusals name the file.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <sched.h>
#include <set>
#include <signal.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "scenario/atomicsave.h"
#include "scenario/savelock.h"
#include "scenario/scenariobuilder.h"
#include "scenario/scnerror.h"
#include "scenario/scnreader.h"
#include "scenario/scnwriter.h"
#include "tests/scenario/test_scn_fixture.h"

using namespace varno;

using namespace scntest;

namespace {

class SafeSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        SmallOob(scn);
        ScenarioBuilder(scn).ScnHeader() = Nine();
        for (int i = 0; i < placements; ++i) {
            TSetupRec& rec = ScenarioBuilder(scn).NewSetup();
            rec.Unit = Entry(scn, "1.3");
            rec.Col = static_cast<std::uint8_t>(i % 200);
            rec.Row = static_cast<std::uint8_t>(i % 150);
        }
        scn.Modified = true;
        newText = ScenarioText(scn, {}, nullptr);
    }
    void TearDown() override { SetSaveFaultHook({}); }

    std::string Path() const { return dir / "GAME.SCN"; }
    // The folder's files other than the scenario, the backups and the lock:
    // temporary files a save left behind.
    std::set<std::string> Leftovers() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir.path())) {
            const std::string n = e.path().filename().string();
            if (n != "GAME.SCN" && n.rfind("OLDSCN", 0) != 0 && n != SaveLock::LockFileName()) names.insert(n);
        }
        return names;
    }
    std::string SaveError(const WriteOptions& opts = {}) {
        try {
            WriteScenario(scn, Path(), opts, nullptr);
        } catch (const ScnError& e) {
            return e.message();
        }
        return {};
    }

    int placements = 40;
    Scenario scn;
    std::string newText;
    const std::string oldText = "the previous scenario\r\n";
    TempDir dir;
};

// Every step of the save fails in turn: until the rename the file holds the
// old bytes and nothing else is left; after it the new ones.
TEST_F(SafeSaveTest, FailureAtEveryStepLeavesOldOrNewBytes) {
    for (int k = 0; k < kSaveStepCount; ++k) {
        const auto step = static_cast<SaveStep>(k);
        SCOPED_TRACE("step " + std::to_string(k));
        WriteFile(Path(), oldText);
        scn.Modified = true;
        SetSaveFaultHook([step](SaveStep s) { return s == step ? EIO : 0; });
        const std::string message = SaveError();
        SetSaveFaultHook({});
        const std::string reason = std::strerror(EIO);
        if (step == SaveStep::Backup)
            EXPECT_EQ(message, "Cannot back up " + Path() + " to OLDSCN1.TXT: " + reason);
        else
            EXPECT_EQ(message, "Cannot write " + Path() + ": " + reason);
        EXPECT_EQ(ReadFile(Path()), step == SaveStep::SyncFolder ? newText : oldText);
        EXPECT_TRUE(scn.Modified);
        EXPECT_TRUE(Leftovers().empty());
        for (int n = 1; n <= 9; ++n) fs::remove(dir / ("OLDSCN" + std::to_string(n) + ".TXT"));
    }
}

// The same on a real full file system: a 16 KB tmpfs, where the test may mount one.
TEST_F(SafeSaveTest, FullTmpfsKeepsOldFile) {
    placements = 3000;  // about 100 KB
    SetUp();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const std::string mnt = dir / "small";
        fs::create_directory(mnt);
        if (unshare(CLONE_NEWNS) != 0 || mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=16k") != 0)
            _exit(77);
        const std::string path = mnt + "/GAME.SCN";
        WriteFile(path, oldText);
        std::string message;
        try {
            WriteScenario(scn, path, {}, nullptr);
        } catch (const ScnError& e) {
            message = e.message();
        }
        const bool ok = message == "Cannot write " + path + ": " + std::strerror(ENOSPC) && ReadFile(path) == oldText;
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no tmpfs can be mounted here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// While another program saves in the folder a save waits, then gives up.
TEST_F(SafeSaveTest, SecondSaverRefused) {
    WriteFile(Path(), oldText);
    SaveLock other(dir.path().string() + "/", "other", 0);
    WriteOptions opts;
    opts.LockWaitMs = 100;
    EXPECT_EQ(SaveError(opts), "Cannot write " + Path() + ": another program is saving it");
    EXPECT_EQ(ReadFile(Path()), oldText);
    EXPECT_TRUE(Leftovers().empty());
}

// Two programs saving one file at once, many times: always one whole version.
TEST_F(SafeSaveTest, TwoSaversNeverMix) {
    placements = 3000;
    SetUp();
    ScenarioBuilder(scn).ScnHeader()[0] = "second";
    const std::string secondText = ScenarioText(scn, {}, nullptr);
    for (int round = 0; round < 10; ++round) {
        WriteFile(Path(), oldText);
        pid_t kids[2];
        for (int k = 0; k < 2; ++k) {
            kids[k] = fork();
            ASSERT_GE(kids[k], 0);
            if (kids[k] == 0) {
                ScenarioBuilder(scn).ScnHeader()[0] = k == 0 ? "H1" : "second";
                WriteOptions opts;
                opts.Force = true;
                try {
                    WriteScenario(scn, Path(), opts, nullptr);
                } catch (...) {
                    _exit(1);
                }
                _exit(0);
            }
        }
        for (const pid_t kid : kids) {
            int status = 0;
            waitpid(kid, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        const std::string now = ReadFile(Path());
        ASSERT_TRUE(now == newText || now == secondText) << now.size();
    }
}

TEST_F(SafeSaveTest, ReadOnlyFileRefused) {
    WriteFile(Path(), oldText);
    fs::permissions(Path(), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(SaveError(), "Cannot write " + Path() + ": " + std::strerror(EACCES));
    EXPECT_EQ(ReadFile(Path()), oldText);
    EXPECT_FALSE(fs::exists(dir / "OLDSCN1.TXT"));
}

TEST_F(SafeSaveTest, PermissionBitsKept) {
    WriteFile(Path(), oldText);
    fs::permissions(Path(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(SaveError(), "");
    EXPECT_EQ(fs::status(Path()).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // The backup is the old file itself (a hard link where the file system has them).
    EXPECT_EQ(ReadFile(dir / "OLDSCN1.TXT"), oldText);
}

TEST_F(SafeSaveTest, ChangedSinceReadNeedsForce) {
    WriteFile(Path(), oldText);
    RecordingListener listener;
    Scenario read;
    SmallOob(read);
    ReadScenario(read, Path(), listener);
    WriteFile(Path(), "another program's version, longer\r\n");
    read.Modified = true;
    try {
        WriteScenario(read, Path(), {}, nullptr);
        FAIL() << "the save must be refused";
    } catch (const ScnError& e) {
        EXPECT_EQ(e.message(), "Cannot write " + Path() + ": " + kChangedSinceRead);
    }
    EXPECT_EQ(ReadFile(Path()), "another program's version, longer\r\n");
    WriteOptions force;
    force.Force = true;
    WriteScenario(read, Path(), force, nullptr);
    EXPECT_EQ(ReadFile(dir / "OLDSCN1.TXT"), "another program's version, longer\r\n");
    // Its own save is no change by another program.
    WriteScenario(read, Path(), {}, nullptr);
}

TEST_F(SafeSaveTest, NotRegularFileRefused) {
    ASSERT_EQ(mkfifo(Path().c_str(), 0644), 0);
    EXPECT_EQ(SaveError(), Path() + " is not a regular file");
    EXPECT_TRUE(Leftovers().empty());
}

// A link is saved through: the target gets the new bytes and its backup, the link stays.
TEST_F(SafeSaveTest, SymlinkSavedThrough) {
    fs::create_directory(dir / "real");
    WriteFile(dir / "real/T.SCN", oldText);
    fs::create_symlink("real/T.SCN", Path());
    EXPECT_EQ(SaveError(), "");
    EXPECT_TRUE(fs::is_symlink(Path()));
    EXPECT_EQ(ReadFile(dir / "real/T.SCN"), newText);
    EXPECT_EQ(ReadFile(dir / "real/OLDSCN1.TXT"), oldText);
    EXPECT_FALSE(fs::exists(dir / "OLDSCN1.TXT"));
}

}  // namespace
