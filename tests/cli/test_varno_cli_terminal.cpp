// Every command of varno-cli on game files whose names, header and free
// lines (and the folder's name) hold terminal control sequences: no control
// byte reaches the terminal, and JSON carries them escaped, in the layout a
// JSON document's own dump gives.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/cli/run_program.h"

namespace {

using clitest::RunResult;
using clitest::TempDir;
using clitest::WriteFile;
namespace fs = std::filesystem;

std::string Crlf(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

const std::string kTitle = "\x1B]0;owned\x07";  // sets the terminal's title
const std::string kClear = "\x1B[2J";
const std::string kC1 = "\x9B"
                        "31m";  // CSI as one C1 byte

const std::string kOob = Crlf({
    "Order of battle " + kTitle,
    "Union A First Army" + kClear,
    "Begin",
    "L 1 2 3 Gen. Able" + kTitle,
    "U 120 3 I X 4 5 1st Regiment\x1B[5m\x7F" + kC1,
    "U 30 1 A X 4 5 Battery\x01\x08\x0D.",
    "S 9 2 Wagons" + std::string(1, '\0') + "x",
    "End",
    "Confederate A Second Army",
    "Begin",
    "U 200 1 C R 4 5 2nd Cavalry\x1B[1;1H",
    "End",
});

std::string Scenario(const std::string& header, const std::string& hex) {
    return Crlf({"Title " + kTitle,
                 "Start 1863 7 1 5 0",
                 header,
                 "h4",
                 "h5",
                 "h6",
                 "h7",
                 "h8",
                 "h9",
                 "1 1.1 8 4 0 0 0 0 5 7",
                 "1 1.2 8 4 100 10 0 512 " + hex,
                 "1 1.2 8 4 100 10 0 0 6 7",
                 "1 1.3 4 4 30 0 0 0 2 7",
                 "1 1.4 4 4 9 0 0 0 2 7",
                 "2 1863 7 2 6 20 75 3 0 20 2 1",
                 "    2.1",
                 "3 misc " + kClear,
                 "4 1863 7 8 14 20 80 1.2",
                 "Free line " + kC1,
                 "0",
                 "1 0",
                 "1",
                 "1.3 1863 7 1 6 0 12 14 3",
                 "Trailer " + kTitle});
}

// A byte the terminal takes for a control: below 0x20 (but the line end),
// and, unless the text is JSON (where they are text), DEL or a C1 control
// written as UTF-8 (C2 80 to C2 9F).
std::string ControlIn(const std::string& text, bool json = false) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool c1 = c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(text[i + 1]) <= 0x9F;
        if ((c < 0x20 && c != '\n') || (!json && (c == 0x7F || c1)))
            return "byte " + std::to_string(c) + " at " + std::to_string(i) +
                   " in: " + text.substr(i < 60 ? 0 : i - 60, 120);
    }
    return {};
}

class VarnoCliTerminal : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(game_);
        WriteFile(game_ / "MAIN.OOB", kOob);
        WriteFile(game_ / "OLD.SCN", Scenario("Weather " + kClear, "5 7"));
        WriteFile(game_ / "NEW.SCN", Scenario("Weather " + kTitle, "5 8"));
        WriteFile(game_ / "BAD.SCN", Crlf({"h1", "h2", "h3", "h4", "h5", "h6", "h7", "h8", "h9", "1 9.9 " + kTitle}));
    }
    RunResult run(const std::vector<std::string>& args) { return clitest::Run(VARNO_CLI, args, game_, dir_.scratch()); }
    std::string at(const char* name) const { return (game_ / name).string(); }

    TempDir dir_;
    // No MAIN.MAP: check --all names the folder. Windows refuses control
    // characters in file names: the files' contents and the arguments hold
    // them there.
#ifdef _WIN32
    const fs::path game_ = dir_.game() / "folder";
#else
    const fs::path game_ = dir_.game() / ("folder " + kClear);
#endif
};

TEST_F(VarnoCliTerminal, TextOutputShowsEveryControlAsAPicture) {
    const std::string esc = "\xE2\x90\x9B";  // ␛
    struct Row {
        std::vector<std::string> args;
        int status;
        bool showsEsc;  // the output quotes a name, a line or the folder holding ESC
    };
    const std::vector<Row> rows = {
        {{"check", at("OLD.SCN")}, 3, false},
        {{"check", "--all", at("OLD.SCN")}, 3, true},
        {{"strength", "oob", at("OLD.SCN")}, 0, true},
        {{"strength", "scn", at("OLD.SCN")}, 0, true},
        {{"dump", "--text", at("OLD.SCN")}, 0, true},
        {{"diff", at("OLD.SCN"), at("NEW.SCN")}, 3, true},
        {{"schedule", at("OLD.SCN")}, 0, false},
        {{"schedule", "--csv", at("OLD.SCN")}, 0, false},
        {{"check", at("BAD.SCN")}, 1, true},
        {{"dump", "--text", at("BAD.SCN")}, 1, true},
        {{"diff", at("OLD.SCN"), at("BAD.SCN")}, 1, true},
        {{"diff", at("OLD.SCN"), "NONE" + kClear + ".SCN"}, 1, true},
        {{"check", at("OLD.SCN"), "extra" + kTitle}, 2, true},
        {{"save", at("NEW.SCN")}, 0, false},
    };
    for (const Row& row : rows) {
        const RunResult r = run(row.args);
        const std::string what = row.args[0] + " " + row.args[1];
        EXPECT_EQ(r.status, row.status) << what << ": " << r.err;
        EXPECT_EQ(ControlIn(r.out), "") << what;
        EXPECT_EQ(ControlIn(r.err), "") << what;
        if (row.showsEsc) {
            EXPECT_NE((r.out + r.err).find(esc), std::string::npos) << what << ": " << r.out << r.err;
        }
    }
}

TEST_F(VarnoCliTerminal, JsonEscapesControlsInItsOwnLayout) {
    const std::vector<std::vector<std::string>> commands = {
        {"check", "--all", "--json", at("OLD.SCN")},
        {"dump", at("OLD.SCN")},
        {"dump", at("BAD.SCN")},
        {"diff", "--json", at("OLD.SCN"), at("NEW.SCN")},
        {"schedule", "--json", at("OLD.SCN")},
    };
    for (const std::vector<std::string>& args : commands) {
        const RunResult r = run(args);
        const std::string what = args[0] + " " + args[1];
        EXPECT_EQ(ControlIn(r.out, true), "") << what;
        // The layout of a document's own dump (schedule's keys sorted),
        // and the bytes of the files come back whole.
        if (args[0] == "schedule") {
            EXPECT_EQ(nlohmann::json::parse(r.out).dump(2) + "\n", r.out) << what;
        } else {
            EXPECT_EQ(nlohmann::ordered_json::parse(r.out).dump(2) + "\n", r.out) << what;
        }
        EXPECT_NE(r.out.find("\\u001b"), std::string::npos) << what;
    }
}

}  // namespace
