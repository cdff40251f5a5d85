// varno-cli check --all, run as a user runs it on a copy of the demo game.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "tests/cli/run_program.h"

namespace {

using clitest::ReadFile;
using clitest::RunResult;
using clitest::TempDir;
using clitest::WriteFile;
using nlohmann::json;
namespace fs = std::filesystem;

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
        lines.push_back(text.substr(start, nl - start));
    return lines;
}

class VarnoCliCheckAll : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* f : {"MAIN.OOB", "MAIN.MAP", "FLAWS.SCN"})
            WriteFile(game() / f, ReadFile(fs::path(VARNO_DEMO_DIR) / f));
    }
    fs::path game() const { return dir_.game(); }
    RunResult run(const std::vector<std::string>& args) {
        return clitest::Run(VARNO_CLI, args, game(), dir_.scratch());
    }
    std::string path(const char* name) const { return (game() / name).string(); }

    TempDir dir_;
};

TEST_F(VarnoCliCheckAll, TheJsonCarriesTheSameFindings) {
    const RunResult text = run({"check", path("FLAWS.SCN"), "--all"});
    const RunResult r = run({"check", "--all", "--json", path("FLAWS.SCN")});
    EXPECT_EQ(r.status, 3) << r.err;
    const json j = json::parse(r.out);
    EXPECT_EQ(j["scenario"], path("FLAWS.SCN"));
    EXPECT_EQ(j["mapGrid"], (json{{"cols", 40}, {"rows", 30}}));
    EXPECT_TRUE(j["mapSkipped"].is_null());
    EXPECT_EQ(j["counts"].size(), 14u);
    const std::vector<std::string> lines = SplitLines(text.out);
    ASSERT_EQ(j["findings"].size(), lines.size());
    int total = 0;
    for (const auto& [code, n] : j["counts"].items()) total += n.get<int>();
    EXPECT_EQ(total, static_cast<int>(lines.size()));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const json& f = j["findings"][i];
        const std::string code = f["code"];
        EXPECT_EQ(lines[i], code + "  " + f["dotName"].get<std::string>() + "  " + f["display"].get<std::string>() +
                                "  " + f["text"].get<std::string>());
        EXPECT_EQ(f["severity"], code == "bad-date" ? "warning" : "error");
        const std::string list = code == "off-map" ? "setups" : code == "bad-date" ? "reinforcements" : "releases";
        EXPECT_EQ(f["list"], list);
        EXPECT_TRUE(f["index"].is_number());
    }
}

TEST_F(VarnoCliCheckAll, NoFindingsExit0AndAMissingMapIsSaid) {
    // A scenario not yet written reads as an empty one.
    RunResult r = run({"check", path("NEW.SCN"), "--all"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    fs::remove(game() / "MAIN.MAP");
    r = run({"check", path("NEW.SCN"), "--all"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "off-map not checked: no MAIN.MAP in " + (game() / "").string() + "\n");
    r = run({"check", path("NEW.SCN"), "--all", "--json"});
    EXPECT_EQ(r.status, 0);
    const json j = json::parse(r.out);
    EXPECT_TRUE(j["mapGrid"].is_null());
    EXPECT_EQ(j["mapSkipped"], "no MAIN.MAP in " + (game() / "").string());
    EXPECT_EQ(j["findings"], json::array());
}

TEST_F(VarnoCliCheckAll, AReadErrorExits1AndJsonNeedsAll) {
    std::string bad;
    for (int i = 0; i < 9; ++i) bad += "header\r\n";
    WriteFile(game() / "BAD.SCN", bad + "1 1.1 8 4 abc\r\n");
    const RunResult r = run({"check", path("BAD.SCN"), "--all", "--json"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("abc"), std::string::npos) << r.err;
    const RunResult usage = run({"check", path("FLAWS.SCN"), "--json"});
    EXPECT_EQ(usage.status, 2);
    EXPECT_EQ(usage.out, "");
}

}  // namespace
