// The conversion pass, and converting from file to file without ever losing
// the input.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#ifndef _WIN32
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

#include "mapsum/core/map_checksum.h"
#include "tests/mapsum/map_text.h"
#include "tests/tempfolder.h"

using namespace quillet;
using namespace quillet_test;
namespace fs = std::filesystem;

namespace {

std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_file(const fs::path& p, const std::string& data) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << data;
}

// What as_unprivileged_user returns when it cannot give up root.
constexpr int kCannotDrop = 77;

// Runs `body` where file modes bind: as it is for a user; for root in a child
// process that gives up root for the user nobody first, as `setpriv
// --reuid=nobody --regid=nogroup --clear-groups` would, `dir` (and what is in
// it) made nobody's. Returns 0 when `body` found nothing wrong, kCannotDrop
// when root could not become nobody (or nobody cannot reach `dir`); what
// `body` finds wrong is reported as the test's failures either way.
int as_unprivileged_user(const fs::path& dir, const std::function<void()>& body) {
#ifdef _WIN32
    // The read-only attribute binds every user.
    (void)dir;
    body();
    return 0;
#else
    if (::geteuid() != 0) {
        body();
        return 0;
    }
    const passwd* nobody = ::getpwnam("nobody");
    const uid_t uid = nobody ? nobody->pw_uid : 65534;
    const gid_t gid = nobody ? nobody->pw_gid : 65534;
    if (uid == 0) return kCannotDrop;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (::lchown(e.path().c_str(), uid, gid) != 0) return kCannotDrop;
    if (::chown(dir.c_str(), uid, gid) != 0) return kCannotDrop;
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) return kCannotDrop;
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setresgid(gid, gid, gid) != 0 || ::setresuid(uid, uid, uid) != 0 ||
            ::geteuid() == 0 || ::access(dir.c_str(), R_OK | W_OK | X_OK) != 0)
            ::_exit(kCannotDrop);
        body();
        std::fflush(nullptr);
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return 1;
    return WEXITSTATUS(status);
#endif
}

ConvertResult convert(const std::string& data, std::int32_t checksum, std::string& out) {
    std::istringstream in(data);
    std::ostringstream os;
    const ConvertResult r = convert_map_file(in, os, checksum);
    out = os.str();
    return r;
}

// 1 + 1 + 1 (blank) + 1 ("!") = 4
Lines small_map() {
    Lines m{"1", "1 1", "7 8 9", " ", "5", "1", "!"};
    for (int i = 0; i < 9; ++i) m.push_back("0");
    return m;
}

TEST(Convert, WritesFormatTwoTheHeaderWithTheChecksumAndCrLf) {
    Lines m = small_map();
    m.push_back("trailing text");
    std::string out;
    const ConvertResult r = convert(join(m, "\n", false), 4, out);
    ASSERT_TRUE(r.ok) << r.message;
    Lines want = m;
    want[0] = "2";
    want[2] = "7 8 9 4";
    // The last line had no line end and gets none.
    EXPECT_EQ(out, join(want, "\r\n", false));
}

TEST(Convert, ConvertedCopyKeepsTheChecksumAndConvertsToTheSameBytes) {
    for (const char* eol : {"\n", "\r\n"}) {
        const std::string original = join(small_map(), eol);
        const ChecksumResult sum = compute_map_checksum(original);
        ASSERT_TRUE(sum.ok);
        ASSERT_EQ(sum.checksum, 4);
        std::string once, twice;
        ASSERT_TRUE(convert(original, sum.checksum, once).ok);
        const ChecksumResult again = compute_map_checksum(once);
        ASSERT_TRUE(again.ok) << again.message;
        EXPECT_EQ(again.checksum, sum.checksum);
        ASSERT_TRUE(convert(once, again.checksum, twice).ok);
        EXPECT_EQ(twice, once);
        EXPECT_EQ(once.substr(0, 16), "2\r\n1 1\r\n7 8 9 4\r");
    }
}

TEST(Convert, OldChecksumInTheHeaderIsReplaced) {
    std::string out;
    ASSERT_TRUE(convert("2\n1 1\n  -7 +8 009 123 extra\n \n", -5, out).ok);
    EXPECT_EQ(out, "2\r\n1 1\r\n-7 8 9 -5\r\n \r\n");
}

TEST(Convert, LongAndOddLinesAreCopiedUnchanged) {
    const std::string long_line(600, 'q');
    std::string out;
    ASSERT_TRUE(convert("1\n1 1\n0 0 0\n" + long_line + "\na\rb\r\n\n\x80\xff", 1, out).ok);
    EXPECT_EQ(out, "2\r\n1 1\r\n0 0 0 1\r\n" + long_line + "\r\na\rb\r\n\r\n\x80\xff");
}

struct Failure {
    const char* name;
    std::string data;
    const char* message;
};

TEST(Convert, Failures) {
    const Failure failures[] = {
        {"empty", "", "EOF error!"},
        {"format line only", "1\n", "EOF error!"},
        {"no header", "1\n1 1\n", "EOF error!"},
        {"header at the end without line end", "1\n1 1\n1 2 3", "EOF error!"},
        {"two integers at the end", "1\n1 1\n1 2", "EOF error!"},
        {"two integers", "1\n1 1\n1 2\n3 4 5\n", "Map header error!"},
        {"not a number", "1\n1 1\nx 2 3\n", "Map header error!"},
        {"beyond int", "1\n1 1\n1 2 99999999999\n", "Map header error!"},
    };
    for (const Failure& f : failures) {
        std::string out;
        const ConvertResult r = convert(f.data, 0, out);
        EXPECT_FALSE(r.ok) << f.name;
        EXPECT_EQ(r.message, f.message) << f.name;
    }
}

// --- from file to file -----------------------------------------------------

class ConvertFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testfolder::MakeTempFolder(std::string("quillet_convert_") +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_");
        map_ = join(small_map(), "\n");
        write_file(dir_ / "MAIN.MAP", map_);
    }
    void TearDown() override {
        // Windows removes no read-only file: the attribute goes first.
        std::error_code ec;
        if (kWindows)
            for (const auto& e : fs::directory_iterator(dir_, ec))
                fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add, ec);
        fs::remove_all(dir_);
    }

    std::string converted() {
        std::string out;
        EXPECT_TRUE(convert(map_, 4, out).ok);
        return out;
    }
    std::vector<std::string> names() {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(dir_)) out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

    fs::path dir_;
    std::string map_;
};

TEST_F(ConvertFiles, WritesANewFile) {
    const ConvertOutcome r = convert_map_path(dir_ / "MAIN.MAP", dir_ / "NEW.MAP", 4);
    ASSERT_EQ(r.status, ConvertStatus::done) << r.message;
    EXPECT_EQ(read_file(dir_ / "NEW.MAP"), converted());
    EXPECT_EQ(read_file(dir_ / "MAIN.MAP"), map_);
    EXPECT_EQ(names(), (std::vector<std::string>{"MAIN.MAP", "NEW.MAP"}));
}

TEST_F(ConvertFiles, ReplacesAnExistingOutputAndKeepsItsPermissions) {
    if (kWindows) GTEST_SKIP() << "Windows files have no permission bits (ReadOnlyOutputIsNotReplaced holds there)";
    write_file(dir_ / "NEW.MAP", "old");
    fs::permissions(dir_ / "NEW.MAP", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_EQ(convert_map_path(dir_ / "MAIN.MAP", dir_ / "NEW.MAP", 4).status, ConvertStatus::done);
    EXPECT_EQ(read_file(dir_ / "NEW.MAP"), converted());
    EXPECT_EQ(fs::status(dir_ / "NEW.MAP").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ConvertFiles, OutputThatIsTheInputUnderAnotherName) {
    fs::create_directories(dir_ / "sub");
    const fs::path spellings[] = {dir_ / "MAIN.MAP", dir_ / "." / "MAIN.MAP", dir_ / "sub" / ".." / "MAIN.MAP"};
    for (const fs::path& out : spellings) {
        write_file(dir_ / "MAIN.MAP", map_);
        ASSERT_TRUE(fs::equivalent(out, dir_ / "MAIN.MAP"));
        const ConvertOutcome r = convert_map_path(dir_ / "MAIN.MAP", out, 4);
        ASSERT_EQ(r.status, ConvertStatus::done) << out;
        EXPECT_EQ(read_file(dir_ / "MAIN.MAP"), converted()) << out;
    }
    EXPECT_EQ(names(), (std::vector<std::string>{"MAIN.MAP", "sub"}));
}

TEST_F(ConvertFiles, OutputThatIsALinkToTheInput) {
    if (kWindows) GTEST_SKIP() << "symbolic links need a privilege on Windows; game folders hold none";
    fs::create_symlink("MAIN.MAP", dir_ / "LINK.MAP");
    ASSERT_EQ(convert_map_path(dir_ / "MAIN.MAP", dir_ / "LINK.MAP", 4).status, ConvertStatus::done);
    EXPECT_TRUE(fs::is_symlink(dir_ / "LINK.MAP"));
    EXPECT_EQ(read_file(dir_ / "MAIN.MAP"), converted());
}

TEST_F(ConvertFiles, FailedConversionLeavesEveryFileAsItWas) {
    const std::string bad = "1\n1 1\nno header\n \n5\n";
    write_file(dir_ / "BAD.MAP", bad);
    write_file(dir_ / "NEW.MAP", "previous output");
    ConvertOutcome r = convert_map_path(dir_ / "BAD.MAP", dir_ / "NEW.MAP", 4);
    EXPECT_EQ(r.status, ConvertStatus::failed);
    EXPECT_EQ(r.message, "Map header error!");
    EXPECT_EQ(read_file(dir_ / "NEW.MAP"), "previous output");

    r = convert_map_path(dir_ / "BAD.MAP", dir_ / "BAD.MAP", 4);
    EXPECT_EQ(r.status, ConvertStatus::failed);
    EXPECT_EQ(read_file(dir_ / "BAD.MAP"), bad);

    r = convert_map_path(dir_ / "BAD.MAP", dir_ / "NONE.MAP", 4);
    EXPECT_EQ(r.status, ConvertStatus::failed);
    // No half-written copy and no temporary file stay behind.
    EXPECT_EQ(names(), (std::vector<std::string>{"BAD.MAP", "MAIN.MAP", "NEW.MAP"}));
}

TEST_F(ConvertFiles, OutputDirectoryThatDoesNotExist) {
    const ConvertOutcome r = convert_map_path(dir_ / "MAIN.MAP", dir_ / "none" / "NEW.MAP", 4);
    EXPECT_EQ(r.status, ConvertStatus::cant_create_output);
    EXPECT_EQ(r.message, "Can't create new MAIN.MAP file!");
    EXPECT_FALSE(fs::exists(dir_ / "none"));
}

TEST_F(ConvertFiles, OutputThatIsADirectory) {
    fs::create_directories(dir_ / "OUT.MAP");
    const ConvertOutcome r = convert_map_path(dir_ / "MAIN.MAP", dir_ / "OUT.MAP", 4);
    EXPECT_EQ(r.status, ConvertStatus::cant_create_output);
    EXPECT_TRUE(fs::is_directory(dir_ / "OUT.MAP"));
    EXPECT_EQ(names(), (std::vector<std::string>{"MAIN.MAP", "OUT.MAP"}));
}

// The output, after its links, is a regular file or none: a FIFO (or a
// device) is left as it is, and nothing is written beside it.
TEST_F(ConvertFiles, OutputThatIsNoRegularFileIsLeftAlone) {
#ifdef _WIN32
    // No FIFOs among Windows' files: a device stands for them.
    const ConvertOutcome device = convert_map_path(dir_ / "MAIN.MAP", dir_ / "NUL", 4);
    EXPECT_EQ(device.status, ConvertStatus::cant_create_output);
    EXPECT_EQ(device.message, (dir_ / "NUL").string() + " is not a regular file");
    EXPECT_EQ(names(), (std::vector<std::string>{"MAIN.MAP"}));
#else
    ASSERT_EQ(mkfifo((dir_ / "FIFO").c_str(), 0644), 0);
    fs::create_symlink("FIFO", dir_ / "OUT.MAP");
    for (const char* name : {"FIFO", "OUT.MAP"}) {
        const ConvertOutcome r = convert_map_path(dir_ / "MAIN.MAP", dir_ / name, 4);
        EXPECT_EQ(r.status, ConvertStatus::cant_create_output);
        EXPECT_EQ(r.message, (dir_ / name).string() + " is not a regular file");
    }
    EXPECT_TRUE(fs::is_fifo(dir_ / "FIFO"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "OUT.MAP"));
    EXPECT_EQ(names(), (std::vector<std::string>{"FIFO", "MAIN.MAP", "OUT.MAP"}));
#endif
}

TEST_F(ConvertFiles, ReadOnlyOutputIsNotReplaced) {
    write_file(dir_ / "RO.MAP", "keep");
    fs::permissions(dir_ / "RO.MAP", fs::perms::owner_read);
    // Root may write any file: as root the case runs as the user nobody.
    const int status = as_unprivileged_user(dir_, [this] {
        const ConvertOutcome r = convert_map_path(dir_ / "MAIN.MAP", dir_ / "RO.MAP", 4);
        EXPECT_EQ(r.status, ConvertStatus::cant_create_output);
        EXPECT_EQ(read_file(dir_ / "RO.MAP"), "keep");
    });
    if (status == kCannotDrop) GTEST_SKIP() << "root cannot become an unprivileged user here";
    EXPECT_EQ(status, 0);
}

TEST_F(ConvertFiles, InputThatCannotBeOpened) {
    for (const fs::path& in : {dir_ / "MISSING.MAP", dir_}) {
        const ConvertOutcome r = convert_map_path(in, dir_ / "NEW.MAP", 4);
        EXPECT_EQ(r.status, ConvertStatus::cant_open_input);
        EXPECT_EQ(r.message, "Can't open MAP file!");
        EXPECT_FALSE(fs::exists(dir_ / "NEW.MAP"));
    }
}

// A map that is no regular file is judged without blocking, and not opened.
TEST_F(ConvertFiles, OnlyRegularFilesAreMaps) {
#ifdef _WIN32
    // No FIFOs among Windows' files: its devices stand for them.
    const fs::path fifo = dir_ / "NUL";
#else
    const fs::path fifo = dir_ / "FIFO.MAP";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_EQ(map_file_problem("/dev/zero"), "/dev/zero is not a regular file");
#endif
    EXPECT_EQ(map_file_problem(fifo), fifo.string() + " is not a regular file");
    std::ifstream in;
    EXPECT_FALSE(open_map_file(fifo, in));
    EXPECT_EQ(map_file_problem(dir_ / "MAIN.MAP"), "");
    write_file(dir_ / "BIG.MAP", "");
    fs::resize_file(dir_ / "BIG.MAP", kMapFileLimit + 1);
    EXPECT_EQ(map_file_problem(dir_ / "BIG.MAP"), (dir_ / "BIG.MAP").string() + " is too large (268435457 bytes)");
}

TEST_F(ConvertFiles, MapNameMatchesTheFileInAnyCase) {
    // The dialog's default "main.map" finds the game's MAIN.MAP.
    EXPECT_EQ(resolve_map_name(dir_ / "main.map"), dir_ / "MAIN.MAP");
    EXPECT_EQ(resolve_map_name(dir_ / "Main.Map"), dir_ / "MAIN.MAP");
    // A name spelled as it is wins over another spelling (where names ignore
    // case the second spelling writes the first file).
    write_file(dir_ / "main.map", "other");
    EXPECT_EQ(resolve_map_name(dir_ / "main.map"), dir_ / (kWindows ? "MAIN.MAP" : "main.map"));
    EXPECT_EQ(resolve_map_name(dir_ / "MAIN.MAP"), dir_ / "MAIN.MAP");
    // Nothing matches: the name as typed, which then cannot be opened.
    EXPECT_EQ(resolve_map_name(dir_ / "none.map"), dir_ / "none.map");
    EXPECT_EQ(resolve_map_name(dir_ / "nodir" / "main.map"), dir_ / "nodir" / "main.map");
    // A bare name is looked for in the working directory.
    const fs::path saved = fs::current_path();
    fs::current_path(dir_);
    if (!kWindows) fs::remove(dir_ / "main.map");
    EXPECT_EQ(resolve_map_name("Main.map"), fs::path("MAIN.MAP"));
    fs::current_path(saved);
}

// The committed demo map is valid, laid out as the game's tools deliver it,
// and its converted copy carries the same checksum.
TEST(DemoMap, IsValidAndConvertsToTheSameChecksum) {
    const std::string map = read_file(QUILLET_DEMO_MAP);
    ASSERT_FALSE(map.empty());
    EXPECT_EQ(map.substr(0, 12), "1\r\n40 30\r\n1 ");
    std::size_t lf = 0;
    for (std::size_t i = 0; i < map.size(); ++i) {
        if (map[i] != '\n') continue;
        ++lf;
        EXPECT_TRUE(i > 0 && map[i - 1] == '\r') << "bare LF at byte " << i;
    }
    EXPECT_GT(lf, 3u + 2 * 30u + 10u);
    const ChecksumResult sum = compute_map_checksum(map);
    ASSERT_TRUE(sum.ok) << sum.message;
    std::string out;
    ASSERT_TRUE(convert(map, sum.checksum, out).ok);
    const ChecksumResult again = compute_map_checksum(out);
    ASSERT_TRUE(again.ok);
    EXPECT_EQ(again.checksum, sum.checksum);
    EXPECT_EQ(out.substr(0, 10), "2\r\n40 30\r\n");
}

}  // namespace
