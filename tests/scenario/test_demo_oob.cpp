// The demo game's order of battle reads cleanly and has what the demo promises.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "scenario/linereader.h"
#include "scenario/oobreader.h"
#include "scenario/scenario.h"

using namespace varno;

namespace fs = std::filesystem;

namespace {

const fs::path kDemo = VARNO_DEMO_DIR;

std::string FileText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Lines : ReadListener {
    std::vector<std::string> lines;
    void lineAdded(ScnListBox, std::string_view l) override { lines.emplace_back(l); }
};

class DemoOob : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = fs::current_path();
        ASSERT_TRUE(fs::exists(kDemo / "MAIN.OOB")) << kDemo;
        ReadOob(scn_, (kDemo / "DEMO.SCN").string(), box_);
    }
    void TearDown() override { fs::current_path(saved_); }
    fs::path saved_;
    Scenario scn_;
    Lines box_;
};

TEST_F(DemoOob, ReadsEveryEntry) {
    // One entry per line that is neither the header, a "Begin" nor an "End" line.
    const std::string text = FileText(kDemo / "MAIN.OOB");
    LineReader in = LineReader::fromText(text);
    in.next();
    std::size_t entries = 0;
    while (!in.atEnd()) {
        std::string_view l = in.next();
        while (!l.empty() && static_cast<unsigned char>(l.front()) <= 32) l.remove_prefix(1);
        if (!l.starts_with("End") && l.find("Begin") == std::string_view::npos) ++entries;
    }
    EXPECT_GE(entries, 300u);
    EXPECT_EQ(scn_.OobList().size(), entries);
    EXPECT_EQ(box_.lines.size(), entries);
}

TEST_F(DemoOob, EveryLineEndsInCrLf) {
    const std::string text = FileText(kDemo / "MAIN.OOB");
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    for (std::size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1))
        ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "at byte " << i;
}

TEST_F(DemoOob, BothSidesDeepNestingAndEveryKind) {
    std::set<char> kinds, unitTypes;
    std::set<int> sides;
    int deepestOrg = 0;
    std::set<std::string> names;
    for (const TOobRec* r : scn_.OobList()) {
        kinds.insert(r->Kind);
        sides.insert(r->Side);
        if (r->Kind == 'U') unitTypes.insert(r->UnitType);
        const std::string name = DotName(*r);
        EXPECT_TRUE(names.insert(name).second) << "dot name twice: " << name;
        const int numbers = static_cast<int>(std::count(name.begin(), name.end(), '.')) + 1;
        if (std::string("ABCDW").find(r->Kind) != std::string::npos) deepestOrg = std::max(deepestOrg, numbers);
        EXPECT_LE(numbers, 7) << name << ": a scenario could not name it";
    }
    EXPECT_EQ(sides, (std::set<int>{0, 1}));
    EXPECT_GE(deepestOrg, 5);
    for (char k : {'A', 'B', 'C', 'D', 'W', 'L', 'S', 'U'}) EXPECT_TRUE(kinds.count(k)) << k;
    for (char t : {'A', 'C', 'H', 'I'}) EXPECT_TRUE(unitTypes.count(t)) << t;
}

// Names the scenario side of the demo relies on.
TEST_F(DemoOob, KnownDotNames) {
    struct Row {
        DotKey key;
        std::string display;
        char kind, unitType;
    };
    const Row rows[] = {
        {{1}, "Army of the Tarn", 'A', 0},
        {{1, 1}, "Gen. Abel Valcourt", 'L', 0},
        {{1, 2}, "Army Supply Train", 'S', 0},
        {{1, 3, 3, 2, 2}, "402 2 I S 1st Fenmarsh Volunteers", 'U', 'I'},
        {{1, 3, 3, 2, 5, 2}, "550 1 I S 4th Brackwater Sharpshooters", 'U', 'I'},
        {{1, 3, 3, 4}, "7 5 A R Redfern Light Battery", 'U', 'A'},
    };
    for (const Row& row : rows) {
        const TOobRec* found = scn_.FindDotName(row.key);
        ASSERT_TRUE(found) << row.display;
        EXPECT_EQ(found->Display, row.display);
        EXPECT_EQ(found->Kind, row.kind);
        EXPECT_EQ(found->UnitType, row.unitType);
    }
}

}  // namespace
