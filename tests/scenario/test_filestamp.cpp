// Telling whether another program changed the scenario file since it was
// read: what no program can set back (the change time) and the bytes.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>

#include "scenario/filestamp.h"
#include "scenario/scnreader.h"
#include "tests/scenario/test_scn_fixture.h"

using namespace scntest;

namespace {

const std::string kRead = "1 1.3 8 4 120 0 0 0 10 12\r\n";

struct ChangeCase {
    const char* name;
    std::function<void(const std::string&)> change;
    bool changed;
};

class ChangedSinceTest : public ::testing::TestWithParam<ChangeCase> {
protected:
    TempDir dir;
};

TEST_P(ChangedSinceTest, SeenByStampsAndBytes) {
    const std::string path = dir / "T.SCN";
    WriteFile(path, kRead);
    const FileStamp read = LoadScenarioFile(path).Stamp;
    ASSERT_TRUE(read.Exists);
    GetParam().change(path);
    EXPECT_EQ(ChangedSince(read, path), GetParam().changed);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ChangedSinceTest,
    ::testing::Values(ChangeCase{"Unchanged", [](const std::string&) {}, false},
                      // 14 bytes changed in place, the old times set back: same size, inode and mtime.
                      ChangeCase{"InPlaceWithTimesSetBack",
                                 [](const std::string& p) {
                                     const auto written = fs::last_write_time(p);
                                     std::fstream f(p, std::ios::in | std::ios::out | std::ios::binary);
                                     f.write("1 1.4 8 4 110 ", 14);
                                     f.close();
                                     fs::last_write_time(p, written);
                                 },
                                 true},
                      ChangeCase{"Appended", [](const std::string& p) { WriteFile(p, kRead + "; theirs\r\n"); }, true},
                      ChangeCase{"Removed", [](const std::string& p) { fs::remove(p); }, true},
                      // Stamps that differ over the same bytes are no change of the scenario.
                      ChangeCase{"TouchedOnly",
                                 [](const std::string& p) {
                                     fs::last_write_time(p, fs::last_write_time(p) + std::chrono::hours(1));
                                 },
                                 false},
                      ChangeCase{"ReplacedBySameBytes",
                                 [](const std::string& p) {
                                     WriteFile(p + ".new", kRead);
                                     fs::rename(p + ".new", p);
                                 },
                                 false}),
    [](const ::testing::TestParamInfo<ChangeCase>& i) { return std::string(i.param.name); });

// Every stamp equal (a change within the clock's tick): the bytes decide.
TEST(ChangedSince, BytesDecideWhenEveryStampIsEqual) {
    TempDir dir;
    const std::string path = dir / "T.SCN";
    WriteFile(path, kRead);
    FileStamp read = LoadScenarioFile(path).Stamp;
    FileStamp other = read;
    WriteFile(dir / "U.SCN", "1 1.4 8 4 110 0 0 0 10 12\r\n");
    other.Hash = LoadScenarioFile(dir / "U.SCN").Stamp.Hash;
    EXPECT_NE(other.Hash, read.Hash);
    EXPECT_FALSE(ChangedSince(read, path));
    EXPECT_TRUE(ChangedSince(other, path));
}

// The hash of bytes read in pieces is that of the whole.
TEST(ByteHash, SameInPiecesAsWhole) {
    std::string data;
    for (int i = 0; i < 1000; ++i) data += static_cast<char>(i * 7919 % 251);
    for (std::size_t piece : {1u, 3u, 31u, 32u, 33u, 999u}) {
        ByteHash h;
        for (std::size_t at = 0; at < data.size(); at += piece) h.Add(std::string_view(data).substr(at, piece));
        EXPECT_EQ(h.Value(), HashOfBytes(data)) << piece;
    }
    EXPECT_NE(HashOfBytes(data), HashOfBytes(data.substr(1)));
    EXPECT_NE(HashOfBytes(std::string(32, '\0')), HashOfBytes(std::string(33, '\0')));
}

}  // namespace
