// What the platform layer promises, as one table run on Linux and on Windows:
// the reads it refuses, the pieces of a save, the lock, the stamp, names.
// A promise that cannot apply on one system says why; its counterpart there
// is a row of its own.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include "scenario/filenames.h"
#include "scenario/inputfile.h"
#include "scenario/platform/platform.h"
#include "scenario/scnerror.h"
#include "tests/scenario/test_folder.h"

using namespace varno;
using namespace varno::platform;

namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

std::string Slurp(const std::string& path) {
    std::ifstream in(FsPath(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put(const std::string& path, const std::string& bytes) { std::ofstream(FsPath(path), std::ios::binary) << bytes; }

// The folder's names, sorted, blank-separated.
std::string Names(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(FsPath(dir))) names.insert(PathString(e.path().filename()));
    std::string out;
    for (const std::string& n : names) out += (out.empty() ? "" : " ") + n;
    return out;
}

// What a read of the core says: "read" or its refusal.
std::string ReadOutcome(const std::string& path, std::uint64_t limit = 0) {
    try {
        OpenRegularFile(path, limit);
    } catch (const ScnError& e) {
        return e.message();
    }
    return "read";
}

// A save as the writer makes it: a temporary file beside the target, flushed,
// a backup name for the old file, the rename over the target's name.
std::error_code Save(const std::string& dir, const std::string& name, const std::string& bytes) {
    std::string temp = dir + "." + name + ".XXXXXX";
    std::error_code ec;
    File file = CreateTemp(temp, ec);
    if (!ec) ec = file.writeAll(bytes);
    if (!ec) ec = file.sync();
    if (!ec) ec = file.close();
    if (!ec && FileExists(dir + name)) ec = HardLink(dir + name, dir + "OLDSCN1.TXT");
    if (!ec) ec = RenameOver(temp, dir + name);
    if (!ec) ec = SyncFolder(dir);
    if (ec && !temp.empty()) fs::remove(FsPath(temp));
    return ec;
}

std::string Identity(const std::string& path) {
    FileInfo info;
    InfoOf(path, info);
    return std::to_string(info.Device) + ":" + std::to_string(info.Index);
}

struct Promise {
    const char* Name;
    // Runs in a fresh folder (its path ends in a separator) and tells what happened.
    std::function<std::string(const std::string& dir)> Run;
    std::string Want;          // "{dir}" stands for the folder
    const char* NotHere = "";  // why the promise cannot apply on this system
};

const char* const kNoFifo = "Windows keeps no FIFOs among files; the device row stands for them";
const char* const kNoSharing = "POSIX has no sharing modes: an open file does not stop a rename";
const char* const kBytes = "Windows names are UTF-16; the programs hand them over as UTF-8";

const std::string kDevice = kWindows ? "NUL" : "/dev/zero";

std::vector<Promise> Promises() {
    return {
        // Reads take regular files only, of sane size, and say what they refuse.
        {"AFolderIsRefused",
         [](const std::string& dir) {
             fs::create_directory(FsPath(dir + "D.SCN"));
             return ReadOutcome(dir + "D.SCN");
         },
         "{dir}D.SCN is not a regular file"},
        {"ADeviceIsRefused", [](const std::string&) { return ReadOutcome(kDevice); },
         kDevice + " is not a regular file"},
        {"AFifoIsRefusedWithoutWaiting",
         [](const std::string& dir) {
#ifndef _WIN32
             ::mkfifo((dir + "F.SCN").c_str(), 0644);
#endif
             return ReadOutcome(dir + "F.SCN");
         },
         "{dir}F.SCN is not a regular file", kWindows ? kNoFifo : ""},
        {"AMissingFileIsNamed", [](const std::string& dir) { return ReadOutcome(dir + "NONE.SCN"); },
         "Cannot read {dir}NONE.SCN: No such file or directory"},
        {"ALargeFileIsRefused",
         [](const std::string& dir) {
             Put(dir + "BIG.SCN", "0123456789");
             return ReadOutcome(dir + "BIG.SCN", 9) + " / " + ReadOutcome(dir + "BIG.SCN", 10);
         },
         "{dir}BIG.SCN is too large (10 bytes) / read"},
        // Names.
        {"AFixedNameIsFoundInAnyCase",
         [](const std::string& dir) {
             Put(dir + "main.oob", "x");
             return FindFileNoCase(dir, "MAIN.OOB");
         },
         "{dir}main.oob"},
        {"ANameBeyondAsciiSavesAndReads",
         [](const std::string& dir) {
             const std::string name = "Gettysburg \xC3\xA9t\xC3\xA9.SCN";
             std::error_code ec = Save(dir, name, "old\r\n");
             if (!ec) ec = Save(dir, name, "new\r\n");
             return ec ? ec.message() : Names(dir) + " / " + ReadTextFile(dir + name);
         },
         "Gettysburg \xC3\xA9t\xC3\xA9.SCN OLDSCN1.TXT / new\r\n"},
        {"ANameOfOtherBytesStaysBytes",
         [](const std::string& dir) {
             Put(dir + "\xE9t\xE9.SCN", "x");
             return Names(dir) == "\xE9t\xE9.SCN" ? ReadTextFile(dir + "\xE9t\xE9.SCN") : Names(dir);
         },
         "x", kWindows ? kBytes : ""},
        // The pieces of a save.
        {"ASaveReplacesInOneStepAndKeepsTheOldBytes",
         [](const std::string& dir) {
             Put(dir + "A.SCN", "old");
             const std::error_code ec = Save(dir, "A.SCN", "new");
             return ec ? ec.message() : Names(dir) + " / " + Slurp(dir + "A.SCN") + " " + Slurp(dir + "OLDSCN1.TXT");
         },
         "A.SCN OLDSCN1.TXT / new old"},
        {"AReadOnlyFileIsNotReplaced",
         [](const std::string& dir) {
             Put(dir + "RO.SCN", "old");
             fs::permissions(FsPath(dir + "RO.SCN"),
                             fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                             fs::perm_options::remove);
             FileInfo info;
             InfoOf(dir + "RO.SCN", info);
             const bool may = MayReplace(dir + "RO.SCN", info);
             fs::permissions(FsPath(dir + "RO.SCN"), fs::perms::owner_write, fs::perm_options::add);
             return may ? "replaced" : "refused";
         },
         "refused"},
        {"AFileAnotherProgramHoldsIsNotReplaced",
         [](const std::string& dir) {
             Put(dir + "HELD.SCN", "old");
#ifdef _WIN32
             // Held as editors and the game hold files: no sharing of deletes.
             const HANDLE held = ::CreateFileW(FsPath(dir + "HELD.SCN").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                               OPEN_EXISTING, 0, nullptr);
             const std::error_code ec = Save(dir, "HELD.SCN", "new");
             ::CloseHandle(held);
#else
             const std::error_code ec;
#endif
             fs::remove(FsPath(dir + "OLDSCN1.TXT"));
             return std::string(ec ? "refused" : "saved") + " / " + Names(dir) + " / " + Slurp(dir + "HELD.SCN");
         },
         "refused / HELD.SCN / old", kWindows ? "" : kNoSharing},
        {"ANewTemporaryFileHasANameOfItsOwn",
         [](const std::string& dir) {
             std::string a = dir + ".T.XXXXXX", b = a;
             std::error_code ea, eb;
             const File fa = CreateTemp(a, ea), fb = CreateTemp(b, eb);
             const bool fresh =
                 !ea && !eb && a != b && a.substr(dir.size(), 3) == ".T." && a.substr(a.size() - 6) != "XXXXXX";
             const auto files = std::distance(fs::directory_iterator(FsPath(dir)), fs::directory_iterator());
             return std::string(fresh ? "fresh" : "same") + " / " + std::to_string(files);
         },
         "fresh / 2"},
        // One saver at a time.
        {"TheLockIsExclusiveUntilClosed",
         [](const std::string& dir) {
             std::error_code ec;
             const unsigned how = OpenRead | OpenWrite | OpenCreate | OpenNoFollow;
             File first = File::Open(dir + ".varno.lock", how, ec);
             File second = File::Open(dir + ".varno.lock", how, ec);
             bool a = false, b = false, c = false;
             first.tryLock(a);
             second.tryLock(b);
             first.close();
             second.tryLock(c);
             return std::string(a ? "taken" : "busy") + " " + (b ? "taken" : "busy") + " " + (c ? "taken" : "busy");
         },
         "taken busy taken"},
        // The read stamp: a replaced file is another file; a change in place
        // shows in the change time even when the modification time is set back.
        {"AReplacedFileIsAnotherFile",
         [](const std::string& dir) {
             Put(dir + "S.SCN", "one");
             const std::string before = Identity(dir + "S.SCN");
             const bool same = Identity(dir + "S.SCN") == before;
             Save(dir, "S.SCN", "two");
             return std::string(same ? "same" : "moved") + " " +
                    (Identity(dir + "S.SCN") == before ? "same" : "other") + " " +
                    (Identity(dir + "OLDSCN1.TXT") == before ? "backup" : "copy");
         },
         "same other backup"},
        {"AChangeInPlaceShowsInTheChangeTime",
         [](const std::string& dir) {
             // A whole second some time ago: every system keeps it exactly.
             const fs::path path = FsPath(dir + "C.SCN");
             Put(dir + "C.SCN", "one");
             const auto then =
                 std::chrono::floor<std::chrono::seconds>(fs::last_write_time(path)) - std::chrono::hours(1);
             fs::last_write_time(path, then);
             FileInfo before, after;
             InfoOf(dir + "C.SCN", before);
             std::this_thread::sleep_for(std::chrono::milliseconds(50));
             Put(dir + "C.SCN", "two");
             fs::last_write_time(path, then);
             InfoOf(dir + "C.SCN", after);
             return std::string(after.ModifiedNs == before.ModifiedNs ? "modified same" : "modified moved") + ", " +
                    (after.ChangedNs != before.ChangedNs ? "changed moved" : "changed same");
         },
         "modified same, changed moved"},
        // A lock file is named once it is locked: the open file is still
        // the one its new name gives.
        {"AnOpenFileRenamedIsTheFileOfItsNewName",
         [](const std::string& dir) {
             std::string temp = dir + ".L.XXXXXX";
             std::error_code ec;
             const File file = CreateTemp(temp, ec);
             if (!ec) ec = RenameToNewName(temp, dir + "L.lock");
             FileInfo held, named;
             if (!ec) ec = file.info(held);
             if (!ec) ec = InfoOf(dir + "L.lock", named, false);
             if (ec) return ec.message();
             return std::string(held.Device == named.Device && held.Index == named.Index ? "same" : "other") + " / " +
                    Names(dir);
         },
         "same / L.lock"},
        {"AMissingFileHasNoStamp",
         [](const std::string& dir) {
             FileInfo info;
             info.Kind = FileKind::Regular;
             const std::error_code ec = InfoOf(dir + "NONE.SCN", info);
             return std::string(ec ? ec.message() : "no error") + (info.Kind == FileKind::Missing ? ", missing" : "");
         },
         "no error, missing"},
        // The map picture's file.
        {"AMappedFileShortenedUnderUs",
         [](const std::string& dir) {
             const std::string path = dir + "BIG.BMP";
             const std::size_t size = 64 * 1024;
             Put(path, std::string(size, 'x'));
             std::error_code ec;
             MappedFile mapped;
             {
                 const File file = File::Open(path, OpenRead, ec);
                 mapped = MappedFile(file, size);
             }
             fs::resize_file(FsPath(path), 100, ec);
             return std::string(ec ? "refused" : "cut") + " " + char(mapped.data()[99]) +
                    (mapped.data()[size - 1] == 'x' ? "x"
                     : mapped.data()[size - 1] == 0 ? "0"
                                                    : "?");
         },
         kWindows ? "refused xx" : "cut x0"},
    };
}

void PrintTo(const Promise& p, std::ostream* out) { *out << p.Name; }

class PlatformPromise : public ::testing::TestWithParam<Promise> {};

TEST_P(PlatformPromise, Holds) {
    const Promise& p = GetParam();
    if (*p.NotHere) GTEST_SKIP() << p.NotHere;
    scntest::TempDir folder;
    const std::string dir = PathString(folder.path()) + "/";
    std::string want = p.Want;
    if (const auto at = want.find("{dir}"); at != std::string::npos) want.replace(at, 5, dir);
    EXPECT_EQ(p.Run(dir), want);
}

INSTANTIATE_TEST_SUITE_P(Table, PlatformPromise, ::testing::ValuesIn(Promises()),
                         [](const auto& info) { return std::string(info.param.Name); });

// The path rules of each system.
TEST(PlatformPaths, AbsoluteAndFolderParts) {
    struct Case {
        std::string path;
        bool absolute;
        std::string dir;
    };
    const std::vector<Case> cases = kWindows
                                        ? std::vector<Case>{{"C:\\game\\A.SCN", true, "C:\\game\\"},
                                                            {"c:/game/A.SCN", true, "c:/game/"},
                                                            {"\\\\server\\share\\A.SCN", true, "\\\\server\\share\\"},
                                                            {"C:A.SCN", false, ""},
                                                            {"\\game\\A.SCN", false, "\\game\\"},
                                                            {"A.SCN", false, ""}}
                                        : std::vector<Case>{{"/game/A.SCN", true, "/game/"},
                                                            {"game\\A.SCN", false, ""},
                                                            {"game/A.SCN", false, "game/"},
                                                            {"A.SCN", false, ""}};
    for (const Case& c : cases) {
        EXPECT_EQ(IsAbsolutePath(c.path), c.absolute) << c.path;
        EXPECT_EQ(DirPart(c.path), c.dir) << c.path;
        EXPECT_EQ(PathString(FsPath(c.path)), c.path);
    }
}

}  // namespace
