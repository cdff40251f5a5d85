// Recovery copies: the description keeps every byte, a copy is whole or
// not there, a program's hold ends with the program, and nothing in the
// folder that is not a whole copy of ours is ever taken or removed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <fstream>
#include <map>
#include <mutex>
#include <random>
#include <set>
#ifdef _WIN32
#include <cstdlib>
#else
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "scenario/atomicsave.h"
#include "scenario/platform/platform.h"
#include "scenario/recoveryfolder.h"
#include "scenario/recoverypace.h"
#include "scenario/recoverywriter.h"
#include "scenario/scnerror.h"
#include "tests/scenario/test_folder.h"

using namespace varno;
using namespace scntest;

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::set<std::string> NamesIn(const fs::path& dir) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec)) names.insert(e.path().filename().string());
    return names;
}

RecoveryNote SomeNote(const std::string& scenario) {
    RecoveryNote note;
    note.ScenarioPath = scenario;
    note.Base = StampOf(scenario, Slurp(scenario));
    note.Time = 1736244000;
    note.Step = "Move 2.1.3 to 12,7";
    note.Version = "0.1";
    return note;
}

TEST(RecoveryNote, EveryByteOfPathAndStepComesBack) {
    const std::string odd = std::string("/home/a b/%41\xe9\r\n\t/", 17) + std::string(1, '\0') + "X.SCN";
    struct Case {
        std::string path, step;
        FileStamp base;
    };
    FileStamp missing;
    missing.Known = true;
    FileStamp present = missing;
    present.Exists = true;
    present.Device = 2049;
    present.Inode = 1234567;
    present.Size = 4096;
    present.MtimeNs = 1736244000123456789;
    present.CtimeNs = 1736244000987654321;
    FileStamp hashed = present;
    hashed.Hashed = true;
    hashed.Hash = 0xFEDCBA9876543210ull;
    const Case cases[] = {
        {"/g/DEMO.SCN", "Move 2.1.3 to 12,7", present},
        {"/g/DEMO.SCN", "Move 2.1.3 to 12,7", hashed},
        {odd, odd, missing},
        {"/g/NEW.SCN", "", FileStamp{}},
        {"/%%25", "Recovered changes", present},
    };
    for (const Case& c : cases) {
        RecoveryNote note;
        note.ScenarioPath = c.path;
        note.Base = c.base;
        if (note.Base.Known) note.Base.Path = c.path;
        note.Time = -5;
        note.Step = c.step;
        note.Version = "0.1 beta";
        note.CopyName = "20250107-101500-3fa2c1d0-7.SCN";
        note.CopySize = 123;
        note.CopyHash = ~0ull;
        RecoveryNote back;
        EXPECT_EQ(ParseNote(NoteText(note), back), "") << NoteText(note);
        EXPECT_EQ(back, note) << NoteText(note);
        // One line a key: a path's line breaks never split it.
        const std::string text = NoteText(note);
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7);
    }
}

TEST(RecoveryNote, WhatIsNoDescriptionSaysWhy) {
    RecoveryNote good = SomeNote("/g/DEMO.SCN");
    good.CopyName = "20250107-101500-3fa2c1d0-1.SCN";
    const std::string text = NoteText(good);
    auto without = [&](const std::string& key) {
        const std::size_t at = text.find("\n" + key + " ");
        return text.substr(0, at) + text.substr(text.find('\n', at + 1));
    };
    auto replaced = [&](const std::string& key, const std::string& value) {
        const std::size_t at = text.find("\n" + key + " ") + key.size() + 2;
        return text.substr(0, at) + value + text.substr(text.find('\n', at));
    };
    const std::pair<std::string, std::string> cases[] = {
        {"", "not a recovery description"},
        {"1 placement\r\n", "not a recovery description"},
        {"Varno recovery copy x\n", "not a recovery description"},
        {"Varno recovery copy 2\n" + text, "written by a newer Varno (format 2)"},
        {without("path"), "no path line"},
        {without("copy"), "no copy line"},
        {replaced("time", "soon"), "bad time line"},
        {replaced("base", "1 2 3 4 5"), "bad base line"},
        {replaced("base", "1 2 3 4 5 xyz"), "bad base line"},
        {replaced("path", "%4"), "bad path line"},
        {replaced("path", "a\tb"), "bad path line"},
        {replaced("copy", "../x.SCN 1 ff"), "bad copy line"},
        {replaced("copy", "x.SCN 1"), "bad copy line"},
    };
    for (const auto& [input, why] : cases) {
        RecoveryNote note;
        EXPECT_EQ(ParseNote(input, note), why) << input;
    }
    RecoveryNote note;
    EXPECT_EQ(ParseNote(text + "later-key whatever\n", note), "") << "keys of later versions are left alone";
}

// Whatever the changes' rhythm, copies are at least the interval apart and
// each change is in a copy taken within the interval after it.
TEST(RecoveryPace, NeverMoreOftenThanTheIntervalNeverLaterThanItAfterAChange) {
    using Clock = RecoveryPace::Clock;
    using std::chrono::milliseconds;
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        RecoveryPace pace;
        std::vector<Clock::time_point> changes;
        Clock::time_point t{};
        const int gapMax = std::uniform_int_distribution<int>(1, 5000)(random);
        for (int i = 0; i < 100; ++i) {
            t += milliseconds(std::uniform_int_distribution<int>(0, gapMax)(random));
            changes.push_back(t);
        }
        // (time, number of changes the copy holds)
        std::vector<std::pair<Clock::time_point, std::size_t>> copies;
        auto takeDue = [&](Clock::time_point until, std::size_t held) {
            if (pace.Due() && *pace.Due() <= until) {
                copies.emplace_back(*pace.Due(), held);
                pace.Taken(*pace.Due());
            }
        };
        for (std::size_t i = 0; i < changes.size(); ++i) {
            takeDue(changes[i], i);
            EXPECT_LE(pace.Changed(changes[i]), changes[i] + RecoveryPace::kInterval);
            takeDue(changes[i], i + 1);  // due at once
        }
        takeDue(Clock::time_point::max(), changes.size());
        EXPECT_FALSE(pace.Due());
        for (std::size_t k = 1; k < copies.size(); ++k)
            ASSERT_GE(copies[k].first - copies[k - 1].first, RecoveryPace::kInterval) << round;
        for (std::size_t i = 0; i < changes.size(); ++i) {
            const auto first = std::find_if(copies.begin(), copies.end(), [&](const auto& c) { return c.second > i; });
            ASSERT_NE(first, copies.end());
            ASSERT_LE(first->first, changes[i] + RecoveryPace::kInterval) << round << " " << i;
        }
    }
    // Given up: nothing due.
    RecoveryPace pace;
    pace.Changed(Clock::time_point{});
    pace.Cancel();
    EXPECT_FALSE(pace.Due());
}

class RecoveryTest : public FolderTest {
protected:
    void SetUp() override { write("GAME.SCN", "the file as read\r\n"); }
    void TearDown() override {
        SetSaveFaultHook({});
        FolderTest::TearDown();
    }
    std::string Scenario() const { return dir() + "GAME.SCN"; }
    std::string RecoveryDir() const { return dir() + "state/varno/recovery/"; }
    // A copy written by a writer that is gone again, as after a crash.
    std::string Orphan(const std::string& text) {
        std::string id;
        {
            RecoveryWriter writer(folder, nullptr);
            writer.Write(text, SomeNote(Scenario()));
            writer.Wait();
            id = writer.Id();
        }
        return id;
    }

    RecoveryFolder folder{dir() + "state/varno/recovery"};
};

TEST_F(RecoveryTest, TheFolderIsTheUsersAlone) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows folders have no permission bits: the user's own folder under %LOCALAPPDATA% keeps "
                    "others out";
#else
    folder.Create();
    for (const std::string& path : {dir() + "state", dir() + "state/varno", RecoveryDir()}) {
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0) << path;
        EXPECT_EQ(st.st_mode & 07777, 0700u) << path;
    }
    ::chmod(RecoveryDir().c_str(), 0755);
    folder.Create();
    struct stat st {};
    ::stat(RecoveryDir().c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0700u) << "an existing folder is closed to others";

    write("file", "");
    RecoveryFolder blocked(dir() + "file/varno/recovery");
    try {
        blocked.Create();
        FAIL() << "a folder under a file";
    } catch (const ScnError& e) {
        EXPECT_EQ(e.message(), "Cannot create " + dir() + "file/varno/recovery/: Not a directory");
    }
    EXPECT_THROW(blocked.List(), ScnError);
    EXPECT_TRUE(RecoveryFolder(dir() + "none/varno/recovery").List().empty()) << "no folder, no copies";
#endif
}

TEST_F(RecoveryTest, ADefaultFolderFollowsTheStateHome) {
#ifdef _WIN32
    const char* saved = std::getenv("LOCALAPPDATA");
    const std::string keep = saved ? saved : "";
    _putenv_s("LOCALAPPDATA", "C:\\Users\\player\\AppData\\Local");
    EXPECT_EQ(RecoveryFolder::DefaultPath(), "C:\\Users\\player\\AppData\\Local\\varno\\recovery\\");
    _putenv_s("LOCALAPPDATA", "relative");  // not absolute: not taken
    EXPECT_EQ(RecoveryFolder::DefaultPath(), "");
    _putenv_s("LOCALAPPDATA", keep.c_str());
    // Made as it is named: the folders on the way, from the drive on.
    RecoveryFolder(dir() + "Local\\varno\\recovery\\").Create();
    EXPECT_TRUE(fs::is_directory(dir() + "Local/varno/recovery"));
#else
    const char* saved = std::getenv("XDG_STATE_HOME");
    const std::string keep = saved ? saved : "";
    ::setenv("XDG_STATE_HOME", "/x/state", 1);
    EXPECT_EQ(RecoveryFolder::DefaultPath(), "/x/state/varno/recovery/");
    ::setenv("XDG_STATE_HOME", "relative/state", 1);  // not absolute: not taken
    ::setenv("HOME", "/home/player", 1);
    EXPECT_EQ(RecoveryFolder::DefaultPath(), "/home/player/.local/state/varno/recovery/");
    if (saved)
        ::setenv("XDG_STATE_HOME", keep.c_str(), 1);
    else
        ::unsetenv("XDG_STATE_HOME");
#endif
}

TEST_F(RecoveryTest, TheLatestWriteIsTheOneCopyAndItsProgramHoldsIt) {
    std::vector<std::string> reports;
    std::mutex m;
    RecoveryWriter writer(folder, [&](const std::string& failure) {
        std::lock_guard lock(m);
        reports.push_back(failure);
    });
    for (int i = 0; i < 50; ++i) writer.Write("version " + std::to_string(i) + "\r\n", SomeNote(Scenario()));
    writer.Wait();
    const std::string id = writer.Id();
    ASSERT_TRUE(IsRecoveryId(id)) << id;
    for (const std::string& r : reports) EXPECT_EQ(r, "");
    EXPECT_LE(reports.size(), 50u);
    // The description and one copy beside the lock: older copies are gone.
    const std::set<std::string> names = NamesIn(RecoveryDir());
    ASSERT_EQ(names.size(), 3u);
    EXPECT_TRUE(names.count(id + ".desc") && names.count(id + ".lock"));

    std::vector<RecoveryEntry> list = folder.List();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].State, RecoveryState::InUse);
    EXPECT_EQ(list[0].Owner, platform::ProcessId());
    EXPECT_FALSE(RecoveryClaim::Take(folder.Path(), id)) << "a running program's copy is not taken";

    // Its content is the last write's, whole.
    const RecoveryEntry mine = folder.Find(id);
    EXPECT_EQ(folder.ReadCopy(mine), "version 49\r\n");
    EXPECT_EQ(mine.Note.Step, "Move 2.1.3 to 12,7");

    writer.Remove();
    writer.Wait();
    EXPECT_TRUE(NamesIn(RecoveryDir()).empty());
}

TEST_F(RecoveryTest, ACopyIsFreeOnceItsProgramIsKilled) {
#ifdef _WIN32
    GTEST_SKIP() << "no fork on Windows; another program's hold is seen by varno-cli recover --list's test";
#else
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RecoveryWriter writer(folder, nullptr);
        writer.Write("unsaved work\r\n", SomeNote(Scenario()));
        writer.Wait();
        const std::string id = writer.Id() + "\n";
        [[maybe_unused]] const ssize_t n = ::write(ready[1], id.data(), id.size());
        for (;;) ::pause();
    }
    ::close(ready[1]);
    char buf[64] = {};
    ASSERT_GT(::read(ready[0], buf, sizeof buf - 1), 0);
    ::close(ready[0]);
    const std::string id(buf, 24);

    EXPECT_EQ(folder.Find(id).State, RecoveryState::InUse);
    EXPECT_EQ(folder.Find(id).Owner, static_cast<long>(child));
    EXPECT_FALSE(RecoveryClaim::Take(folder.Path(), id));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);

    RecoveryEntry entry = folder.Find(id);
    EXPECT_EQ(entry.State, RecoveryState::Recoverable);
    std::optional<RecoveryClaim> first = RecoveryClaim::Take(folder.Path(), id);
    ASSERT_TRUE(first);
    // Two programs never take the same copy.
    EXPECT_FALSE(RecoveryClaim::Take(folder.Path(), id));
    EXPECT_EQ(folder.ReadCopy(folder.Find(id, &*first)), "unsaved work\r\n");

    // Another program changes the scenario file: the copy says so.
    write("GAME.SCN", "their version\r\n");
    EXPECT_EQ(folder.Find(id, &*first).State, RecoveryState::Changed);
#endif
}

TEST_F(RecoveryTest, AFailedWriteKeepsTheCopyBeforeAndSaysWhy) {
    for (const SaveStep step :
         {SaveStep::CreateTemp, SaveStep::WriteTemp, SaveStep::SyncTemp, SaveStep::Rename, SaveStep::SyncFolder}) {
        std::string failure = "none";
        {
            RecoveryWriter writer(folder, [&](const std::string& f) { failure = f; });
            writer.Write("first\r\n", SomeNote(Scenario()));
            writer.Wait();
            ASSERT_EQ(failure, "");
            // Fails at each write of this step from now on: the copy, or its description.
            SetSaveFaultHook([step](SaveStep s) { return s == step ? ENOSPC : 0; });
            writer.Write("second\r\n", SomeNote(Scenario()));
            writer.Wait();
            SetSaveFaultHook({});
        }
        EXPECT_NE(failure.find(": No space left on device"), std::string::npos) << failure;
        EXPECT_EQ(failure.rfind("Cannot write " + RecoveryDir(), 0), 0u) << failure;
        // The copy listed is the whole first one: the description names the
        // second only once the second is on the disk.
        const std::vector<RecoveryEntry> list = folder.List();
        ASSERT_EQ(list.size(), 1u);
        ASSERT_EQ(list[0].State, RecoveryState::Recoverable) << list[0].Reason;
        EXPECT_EQ(folder.ReadCopy(list[0]), "first\r\n");
        // No temporary file is left.
        for (const std::string& name : NamesIn(RecoveryDir())) EXPECT_NE(name.front(), '.') << name;
        std::optional<RecoveryClaim> claim = RecoveryClaim::Take(folder.Path(), list[0].Id);
        folder.Remove(*claim);
        EXPECT_TRUE(NamesIn(RecoveryDir()).empty());
    }
}

TEST_F(RecoveryTest, DamagedAndForeignFilesAreListedAndLeftAlone) {
    const std::string whole = Orphan("whole\r\n");
    const std::string cut = Orphan("cut short\r\n");
    const std::string gone = Orphan("gone\r\n");
    const std::string junk = Orphan("junk\r\n");
    const RecoveryEntry cutEntry = folder.Find(cut);
    std::ofstream(folder.Path() + cutEntry.Note.CopyName, std::ios::binary) << "cut";
    fs::remove(folder.Path() + folder.Find(gone).Note.CopyName);
    std::ofstream(folder.Path() + junk + ".desc", std::ios::binary) << "\x89PNG";
    std::ofstream(folder.Path() + "notes.txt") << "mine";
    fs::create_directory(folder.Path() + "photos");
    const std::set<std::string> before = NamesIn(RecoveryDir());

    std::map<std::string, std::pair<RecoveryState, std::string>> seen;
    for (const RecoveryEntry& e : folder.List()) seen[e.Id.empty() ? e.Name : e.Id] = {e.State, e.Reason};
    const std::string copyPath = folder.Path() + cutEntry.Note.CopyName;
    EXPECT_EQ(seen[whole], std::make_pair(RecoveryState::Recoverable, std::string()));
    EXPECT_EQ(seen[cut], std::make_pair(RecoveryState::Damaged, copyPath + " does not match its description"));
    EXPECT_EQ(seen[gone].first, RecoveryState::Damaged);
    EXPECT_NE(seen[gone].second.find("No such file or directory"), std::string::npos) << seen[gone].second;
    EXPECT_EQ(seen[junk], std::make_pair(RecoveryState::Damaged,
                                         std::string("its description is damaged: not a recovery description")));
    EXPECT_EQ(seen["notes.txt"],
              std::make_pair(RecoveryState::Foreign, std::string("not a file of Varno's recovery copies")));
    EXPECT_EQ(seen["photos"].first, RecoveryState::Foreign);
    EXPECT_EQ(seen.size(), 6u);

    folder.Tidy(std::time(nullptr));
    EXPECT_EQ(NamesIn(RecoveryDir()), before) << "a list and a tidy leave every file";
}

TEST_F(RecoveryTest, ADiscardedCopyIsKeptAWeek) {
    const std::string id = Orphan("given up\r\n");
    std::optional<RecoveryClaim> claim = RecoveryClaim::Take(folder.Path(), id);
    ASSERT_TRUE(claim);
    const std::string copyName = folder.Find(id, &*claim).Note.CopyName;
    folder.Discard(*claim);
    EXPECT_EQ(NamesIn(RecoveryDir()), std::set<std::string>{"discarded"});
    const std::string bin = RecoveryDir() + "discarded/" + id + "/";
    EXPECT_EQ(NamesIn(bin), (std::set<std::string>{id + ".desc", copyName}));
    EXPECT_EQ(Slurp(bin + copyName), "given up\r\n");
    EXPECT_TRUE(folder.List().empty());

    const std::int64_t now = std::time(nullptr);
    folder.Tidy(now + 6 * 24 * 3600);
    EXPECT_TRUE(fs::exists(bin));
    folder.Tidy(now + 8 * 24 * 3600);
    EXPECT_FALSE(fs::exists(bin));
    EXPECT_TRUE(fs::exists(RecoveryDir() + "discarded"));
}

TEST_F(RecoveryTest, LeftoversOfCopiesWithoutDescriptionGoOnceTheirProgramIsGone) {
    folder.Create();
    const std::string held = NewRecoveryId();
    const std::string gone = "20240101-000000-0000beef";
    std::optional<RecoveryClaim> claim = RecoveryClaim::Take(folder.Path(), held);
    for (const std::string& id : {held, gone}) {
        std::ofstream(folder.Path() + RecoveryCopyName(id, 3)) << "a write cut short";
        std::ofstream(folder.Path() + "." + id + ".desc.Ab12Cd") << "half a description";
    }
    std::ofstream(folder.Path() + gone + ".lock") << "999999\n";
    folder.Tidy(std::time(nullptr));
    const std::set<std::string> left = NamesIn(RecoveryDir());
    EXPECT_EQ(left, (std::set<std::string>{held + ".lock", RecoveryCopyName(held, 3), "." + held + ".desc.Ab12Cd"}));
}

TEST_F(RecoveryTest, AnAdoptedCopyIsReplacedByTheNextWrite) {
    const std::string orphan = Orphan("recovered\r\n");
    std::optional<RecoveryClaim> claim = RecoveryClaim::Take(folder.Path(), orphan);
    const std::uint64_t number = folder.CopyNumber(folder.Find(orphan, &*claim));
    ASSERT_EQ(number, 1u);
    RecoveryWriter writer(folder, nullptr);
    writer.Write("own before\r\n", SomeNote(Scenario()));
    writer.Wait();
    const std::string own = writer.Id();
    writer.Adopt(std::move(*claim), number);
    writer.Write("edited after\r\n", SomeNote(Scenario()));
    writer.Wait();
    EXPECT_EQ(writer.Id(), orphan);
    const std::set<std::string> names = NamesIn(RecoveryDir());
    EXPECT_EQ(names, (std::set<std::string>{orphan + ".lock", orphan + ".desc", RecoveryCopyName(orphan, 2)}));
    RecoveryEntry entry = folder.Find(orphan);
    EXPECT_EQ(entry.State, RecoveryState::InUse);
}

}  // namespace
