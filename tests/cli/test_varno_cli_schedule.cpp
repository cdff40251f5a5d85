// varno-cli schedule, run as a user runs it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli/run_program.h"

namespace {

namespace fs = std::filesystem;

std::string Crlf(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

class VarnoCliSchedule : public ::testing::Test {
protected:
    void SetUp() override {
        clitest::WriteFile(game() / "MAIN.OOB", Crlf({"h", "Union A First Army", "Begin", "U 10 1 I X 4 5 1st Regiment",
                                                      "U 4 1 A X 4 5 Battery", "End", "Confederate A Second Army",
                                                      "Begin", "U 8 1 C R 4 5 2nd Cavalry", "End"}));
        // The regiment placed fixed (512) at 10 and released at 50 %; the
        // cavalry placed free at 8; the battery arriving at 30 %.
        clitest::WriteFile(game() / "TEST.SCN",
                           Crlf({"Test scenario", "Start 1863 7 1 5 0", "h3", "h4", "h5", "h6", "h7", "h8", "h9",
                                 "1 1.1 8 4 10 0 0 512 5 7", "1 2.1 8 4 8 0 0 0 6 7", "2 1863 7 2 6 20 30 0 3 4 1 1",
                                 "    1.2", "4 1863 7 1 9 0 50 1.1"}));
    }
    fs::path game() const { return dir_.game(); }
    clitest::RunResult run(const std::vector<std::string>& args) {
        return clitest::Run(VARNO_CLI, args, game(), dir_.scratch());
    }

    clitest::TempDir dir_;
};

TEST_F(VarnoCliSchedule, CsvHasOneLinePerDateAndSide) {
    const clitest::RunResult r = run({"schedule", "--csv", (game() / "TEST.SCN").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    // In men, 25 per strength point: the release frees half of 250 in the
    // expected series only, the group brings 30 % of 100.
    EXPECT_EQ(r.out, "date,side,free,fixed,arrived,total,free_sure,fixed_sure,arrived_sure,total_sure\n"
                     "start,Confederate,200,0,0,200,200,0,0,200\n"
                     "start,Union,0,250,0,250,0,250,0,250\n"
                     "1863-07-01 09:00,Confederate,200,0,0,200,200,0,0,200\n"
                     "1863-07-01 09:00,Union,125,125,0,250,0,250,0,250\n"
                     "1863-07-02 06:20,Confederate,200,0,0,200,200,0,0,200\n"
                     "1863-07-02 06:20,Union,125,125,30,280,0,250,0,250\n");
}

}  // namespace
