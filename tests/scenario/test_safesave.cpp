// Saving never leaves a broken scenario: a failure at any step, a killed
// save, a full disk and a second saver all leave the old bytes or the new
// ones under the scenario's name; the refusals name the file.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <random>
#include <set>
#include <string>
#ifndef _WIN32
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

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
    // Every file of the folder but the lock, with its bytes: what a failed
    // save leaves exactly as it was.
    std::map<std::string, std::string> Folder() const {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::directory_iterator(dir.path())) {
            const std::string n = e.path().filename().string();
            if (n != SaveLock::LockFileName())
                files[n] = e.is_regular_file() ? ReadFile(e.path().string()) : "<not a file>";
        }
        return files;
    }
    void EmptyFolder() {
        for (const auto& e : fs::directory_iterator(dir.path())) fs::remove_all(e.path());
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
        if (step == SaveStep::Backup || step == SaveStep::NameBackup)
            EXPECT_EQ(message, "Cannot back up " + Path() + " to OLDSCN1.TXT: " + reason);
        else
            EXPECT_EQ(message, "Cannot write " + Path() + ": " + reason);
        EXPECT_EQ(ReadFile(Path()), oldText);
        EXPECT_TRUE(scn.Modified);
        EXPECT_TRUE(Leftovers().empty());
        for (int n = 1; n <= 9; ++n) fs::remove(dir / ("OLDSCN" + std::to_string(n) + ".TXT"));
    }
}

// The same on a real full file system: a 16 KB tmpfs, mounted in a mount
// namespace of the test's own, where it may mount one (as root).
TEST_F(SafeSaveTest, FullTmpfsKeepsOldFile) {
#ifdef _WIN32
    GTEST_SKIP()
        << "a full disk is a tmpfs of 16 KB mounted in a namespace of its own (Linux); the injected failures stand in";
#else
    placements = 3000;  // about 100 KB
    SetUp();
    const std::string mnt = dir / "small";
    fs::create_directory(mnt);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (unshare(CLONE_NEWNS) != 0) _exit(77);
        // The namespace's mounts are made private, so that the tmpfs stays
        // in it. Where "/" is no mount point (a chroot) that cannot be done:
        // the tmpfs may then show in the namespace the test came from too,
        // so it is unmounted before the child ends (and by the test, should
        // the child die first).
        mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
        if (mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=16k") != 0) _exit(77);
        const std::string path = mnt + "/GAME.SCN";
        WriteFile(path, oldText);
        std::string message;
        try {
            WriteScenario(scn, path, {}, nullptr);
        } catch (const ScnError& e) {
            message = e.message();
        }
        const bool ok = message == "Cannot write " + path + ": " + std::strerror(ENOSPC) && ReadFile(path) == oldText;
        const bool unmounted = umount(mnt.c_str()) == 0;
        _exit(ok && unmounted ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    // Not mounted here: nothing to do (EINVAL).
    umount2(mnt.c_str(), MNT_DETACH);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no tmpfs can be mounted here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
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
#ifdef _WIN32
    GTEST_SKIP() << "the savers are forked processes (POSIX); SecondSaverRefused and the platform table test the lock";
#else
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
#endif
}

TEST_F(SafeSaveTest, ReadOnlyFileRefused) {
    WriteFile(Path(), oldText);
    fs::permissions(Path(), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(SaveError(), "Cannot write " + Path() + ": " + std::strerror(EACCES));
    EXPECT_EQ(ReadFile(Path()), oldText);
    EXPECT_FALSE(fs::exists(dir / "OLDSCN1.TXT"));
}

TEST_F(SafeSaveTest, PermissionBitsKept) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows files have no permission bits; ReadOnlyFileRefused tests the read-only attribute";
#else
    WriteFile(Path(), oldText);
    fs::permissions(Path(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(SaveError(), "");
    EXPECT_EQ(fs::status(Path()).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // The backup is the old file itself (a hard link where the file system has them).
    EXPECT_EQ(ReadFile(dir / "OLDSCN1.TXT"), oldText);
#endif
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
#ifdef _WIN32
    // No FIFOs among Windows' files: a device stands for them.
    const std::string device = dir / "NUL";
    try {
        WriteScenario(scn, device, {}, nullptr);
        FAIL() << "the save must be refused";
    } catch (const ScnError& e) {
        EXPECT_EQ(e.message(), device + " is not a regular file");
    }
    EXPECT_TRUE(Leftovers().empty());
#else
    ASSERT_EQ(mkfifo(Path().c_str(), 0644), 0);
    EXPECT_EQ(SaveError(), Path() + " is not a regular file");
    EXPECT_TRUE(Leftovers().empty());
#endif
}

// A link is saved through: the target gets the new bytes and its backup, the link stays.
TEST_F(SafeSaveTest, SymlinkSavedThrough) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need a privilege on Windows; game folders hold none";
#else
    fs::create_directory(dir / "real");
    WriteFile(dir / "real/T.SCN", oldText);
    fs::create_symlink("real/T.SCN", Path());
    EXPECT_EQ(SaveError(), "");
    EXPECT_TRUE(fs::is_symlink(Path()));
    EXPECT_EQ(ReadFile(dir / "real/T.SCN"), newText);
    EXPECT_EQ(ReadFile(dir / "real/OLDSCN1.TXT"), oldText);
    EXPECT_FALSE(fs::exists(dir / "OLDSCN1.TXT"));
#endif
}

// The game's own files are never a scenario's name, given or behind a link:
// refused before anything in the folder changes.
TEST_F(SafeSaveTest, GameFilesAreNeverSavedOver) {
    for (const char* own : {"MAIN.OOB", "main.map", "Main1.Bmp", "ICONS2D.BMP", "oldscn4.txt", "OLDSCN12.TXT"})
        WriteFile(dir / own, oldText);
#ifndef _WIN32
    // Symbolic links need a privilege on Windows: the names given are tested there.
    fs::create_symlink("main.map", dir / "LINK.SCN");
#endif
    const auto before = Folder();
    for (const char* own : {"MAIN.OOB", "main.map", "Main1.Bmp", "ICONS2D.BMP", "oldscn4.txt", "OLDSCN12.TXT"}) {
        try {
            WriteScenario(scn, dir / own, {}, nullptr);
            ADD_FAILURE() << own << " was written";
        } catch (const ScnError& e) {
            EXPECT_EQ(e.message(), std::string(own) + " is one of the game's files: choose another name");
        }
    }
#ifndef _WIN32
    EXPECT_THROW(WriteScenario(scn, dir / "LINK.SCN", {}, nullptr), ScnError);
#endif
    EXPECT_EQ(Folder(), before);
}

// Random folders of backups (some numbers free, all nine, names in any
// case), a failure at each step in turn: the folder keeps every file and
// its bytes. Then the save without a failure gives the old file the first
// free number, or number 9 in place of the one there.
TEST_F(SafeSaveTest, FailedSaveLeavesTheWholeFolderAsItWas) {
    std::mt19937 rng(36);
    for (int round = 0; round < 24; ++round) {
        EmptyFolder();
        scn.ReadStamp = {};  // not the file of the round before
        int firstFree = 0;
        std::string nine;
        for (int n = 1; n <= 9; ++n) {
            if (round % 3 != 0 && rng() % 3 == 0) {  // every third folder holds all nine
                if (!firstFree) firstFree = n;
                continue;
            }
            const std::string name = std::string(rng() % 4 ? "OLDSCN" : "oldscn") + std::to_string(n) + ".TXT";
            WriteFile(dir / name, "backup " + name);
            if (n == 9) nine = name;
        }
        WriteFile(Path(), oldText);
        const auto before = Folder();
        for (int k = 0; k < kSaveStepCount; ++k) {
            const auto step = static_cast<SaveStep>(k);
            SCOPED_TRACE("round " + std::to_string(round) + ", step " + std::to_string(k));
            scn.Modified = true;
            SetSaveFaultHook([step](SaveStep s) { return s == step ? ENOSPC : 0; });
            const std::string message = SaveError();
            SetSaveFaultHook({});
            EXPECT_NE(message, "");
            EXPECT_EQ(Folder(), before);
            EXPECT_TRUE(scn.Modified);
        }
        EXPECT_EQ(SaveError(), "");
        auto after = before;
        after["GAME.SCN"] = newText;
        if (firstFree) {
            after["OLDSCN" + std::to_string(firstFree) + ".TXT"] = oldText;
        } else {
            after.erase(nine);
            after["OLDSCN9.TXT"] = oldText;
        }
        EXPECT_EQ(Folder(), after);
    }
}

// Temporary files of killed saves are removed by a later save of the
// folder once they are a minute old; other files stay whatever they are called.
TEST_F(SafeSaveTest, StrayTemporariesOfKilledSavesRemoved) {
    WriteFile(Path(), oldText);
    const std::vector<std::string> stale = {".GAME.SCN.a1B2c3", ".OLDSCN.Zz9yX8"};
    std::vector<std::string> kept = {".GAME.SCN.bak",     ".OTHER.SCN.a1B2c3", "GAME.SCN.a1B2c3",
                                     ".GAME.SCN.a1B2c3d", ".OLDSCN.a1-2c3",    ".OLDSCN.lnk123"};
    for (const std::string& n : stale) WriteFile(dir / n, "stray");
    for (const std::string& n : kept)
        if (n != ".OLDSCN.lnk123") WriteFile(dir / n, "stray");
#ifndef _WIN32
    fs::create_symlink("GAME.SCN", dir / ".OLDSCN.lnk123");
#else
    kept.pop_back();  // a link of a temporary's name: symbolic links need a privilege on Windows
#endif
    WriteFile(dir / ".GAME.SCN.young1", "being written");
    const auto twoMinutesAgo = fs::file_time_type::clock::now() - std::chrono::minutes(2);
    for (const auto& e : fs::directory_iterator(dir.path()))
        if (e.path().filename() != ".GAME.SCN.young1" && !e.is_symlink()) fs::last_write_time(e.path(), twoMinutesAgo);
    EXPECT_EQ(SaveError(), "");
    for (const std::string& n : stale) EXPECT_FALSE(fs::exists(dir / n)) << n;
    for (const std::string& n : kept) EXPECT_TRUE(fs::exists(fs::symlink_status(dir / n))) << n;
    EXPECT_TRUE(fs::exists(dir / ".GAME.SCN.young1"));
}

// The lock file is a link or a folder: the message names it and the save stops.
TEST_F(SafeSaveTest, LockFileThatIsNoRegularFile) {
    WriteFile(Path(), oldText);
    const std::string lock = dir / SaveLock::LockFileName();
    for (int kind = 0; kind < 3; ++kind) {
        fs::remove_all(lock);
#ifdef _WIN32
        // Windows: no FIFOs among files, links need a privilege; a folder it is.
        if (kind != 1) continue;
#else
        if (kind == 0) fs::create_symlink("GAME.SCN", lock);
        if (kind == 2) {
            ASSERT_EQ(mkfifo(lock.c_str(), 0666), 0);
        }
#endif
        if (kind == 1) fs::create_directory(lock);
        EXPECT_EQ(SaveError(), "Cannot write " + Path() + ": the lock file " + lock + " is not a regular file");
        EXPECT_EQ(ReadFile(Path()), oldText);
        EXPECT_TRUE(Leftovers().empty());
    }
}

// A lock file another user made, which this one may not write, still locks:
// a read-only descriptor is enough for the lock.
TEST_F(SafeSaveTest, LockFileThatCannotBeWrittenStillLocks) {
#ifdef _WIN32
    // A read-only lock file (the attribute) still locks.
    WriteFile(Path(), oldText);
    const std::string lock = dir / SaveLock::LockFileName();
    WriteFile(lock, "");
    fs::permissions(lock, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_EQ(SaveError(), "");
    {
        WriteOptions quick;
        quick.LockWaitMs = 50;
        SaveLock held(dir.path().string() + "/", "other", 0);
        EXPECT_EQ(SaveError(quick), "Cannot write " + Path() + ": another program is saving it");
    }
    fs::permissions(lock, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(ReadFile(Path()), newText);
#else
    WriteFile(Path(), oldText);
    const std::string lock = dir / SaveLock::LockFileName();
    WriteFile(lock, "");
    ASSERT_EQ(::chmod(lock.c_str(), 0444), 0);
    ASSERT_EQ(::chmod(Path().c_str(), 0666), 0);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // root writes any file: the save runs as another user then.
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) _exit(2);
        if (SaveError() != "") _exit(1);
        WriteOptions quick;
        quick.LockWaitMs = 50;
        SaveLock held(dir.path().string() + "/", "other", 0);
        _exit(SaveError(quick) == "Cannot write " + Path() + ": another program is saving it" ? 0 : 3);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(ReadFile(Path()), newText);
#endif
}

// The lock file is made group-writable in a folder the group may write (a
// shared game folder), whatever the saver's umask.
TEST_F(SafeSaveTest, LockFileSharedWhereTheFolderIs) {
#ifdef _WIN32
    GTEST_SKIP() << "group permission bits and the umask are POSIX's";
#else
    const mode_t mask = ::umask(022);
    for (const mode_t folder : {02775, 0755}) {
        EmptyFolder();
        ASSERT_EQ(::chmod(dir.path().c_str(), folder), 0);
        WriteFile(Path(), oldText);
        scn.ReadStamp = {};
        EXPECT_EQ(SaveError(), "");
        struct stat st {};
        ASSERT_EQ(::stat((dir / SaveLock::LockFileName()).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, folder == 0755 ? 0644u : 0664u);
    }
    ::umask(mask);
#endif
}

// A link that leads round in a circle is refused, and stays a link.
TEST_F(SafeSaveTest, LinkLoopRefused) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need a privilege on Windows; game folders hold none";
#else
    fs::create_symlink("B.SCN", Path());
    fs::create_symlink("GAME.SCN", dir / "B.SCN");
    EXPECT_EQ(SaveError(), "Cannot write " + Path() + ": " + std::strerror(ELOOP));
    EXPECT_TRUE(fs::is_symlink(Path()));
    EXPECT_TRUE(fs::is_symlink(dir / "B.SCN"));
    EXPECT_TRUE(Leftovers() == (std::set<std::string>{"B.SCN"}));
#endif
}

}  // namespace
