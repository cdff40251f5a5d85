// Which command lines a desktop program answers before its window system starts.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "scenario/startoptions.h"

using namespace varno;

TEST(StartOptions, AnsweredOrPassedOn) {
    struct Row {
        std::vector<const char*> args;  // after the program name
        std::optional<int> status;
        std::string printed;
    };
    const Row rows[] = {
        {{}, std::nullopt, ""},
        {{"--version"}, 0, "prog 1.2\n"},
        {{"--help"}, 0, "HELP"},
        {{"-h"}, 0, "HELP"},
        {{"-platform", "offscreen", "--version"}, 0, "prog 1.2\n"},
        {{"--version", "--help"}, 0, "prog 1.2\n"},
        {{"-platform", "offscreen"}, std::nullopt, ""},
        {{"--versions"}, std::nullopt, ""},
        {{"-version"}, std::nullopt, ""},
    };
    for (const Row& row : rows) {
        std::vector<const char*> argv{"prog"};
        argv.insert(argv.end(), row.args.begin(), row.args.end());
        std::ostringstream out;
        EXPECT_EQ(AnswerStartOptions(static_cast<int>(argv.size()), argv.data(), "prog 1.2", "HELP", out), row.status)
            << argv.size();
        EXPECT_EQ(out.str(), row.printed) << argv.size();
    }
}
