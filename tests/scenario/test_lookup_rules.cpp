// The core's lookups (dot-name keys, the parent walk, list positions) and the
// pages' edit rules (what a placement may hold, what Reinforcements' Add does).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenario/editrules.h"
#include "scenario/ooblookup.h"
#include "scenario/scnedit.h"
#include "tests/scenario/test_scn_fixture.h"

using namespace varno;

namespace {

using scntest::AddEntry;

TEST(ParseDotName, Keys) {
    struct Row {
        const char* text;
        DotKey key;
    };
    const Row rows[] = {
        {"1", {1}},
        {"1.2.3", {1, 2, 3}},
        {"1.2.3.4.5.6.7", {1, 2, 3, 4, 5, 6, 7}},
        {"1.2.3.4.5.6.7.8", {1, 2, 3, 4, 5, 6, 7}},  // an eighth number is not read
        {"300.2", {44, 2}},                          // low 8 bits
        {" 4.5", {4, 5}},                            // leading blanks skipped
        {"x.1", {}},                                 // no number first: names no entry
        {"", {}},
        {"0.3", {0, 3}},
    };
    for (const Row& r : rows) EXPECT_EQ(ParseDotName(r.text), r.key) << r.text;
}

// Parents as dot names, nearest first, of entry `pos` in a list whose
// Parent fields are `parents`.
std::vector<int> Chain(const std::vector<std::int32_t>& parents, std::size_t pos, std::size_t count) {
    Scenario scn;
    for (std::size_t i = 0; i < parents.size(); ++i) {
        std::string name = "e";
        name += std::to_string(i);  // not "e" + ...: GCC 12 -O3 warns of an overlap there (-Wrestrict)
        AddEntry(scn, std::to_string(i + 1), name)->Parent = parents[i];
    }
    std::vector<int> out;
    ForEachParent(scn.OobList(), pos, count, [&out](const TOobRec* p) { out.push_back(p->Index); });
    return out;
}

TEST(ForEachParent, WalksUpAndAlwaysEnds) {
    struct Row {
        const char* what;
        std::vector<std::int32_t> parents;
        std::size_t pos, count;
        std::vector<int> chain;
    };
    const Row rows[] = {
        {"top level", {-1, 0, 1}, 0, 3, {}},
        {"three deep", {-1, 0, 1, 2}, 3, 4, {2, 1, 0}},
        {"siblings", {-1, 0, 0}, 2, 3, {0}},
        {"itself", {0}, 0, 1, {}},
        {"a loop ends at the later parent", {-1, 2, 1}, 2, 3, {1}},
        {"parent out of the list", {-1, 7}, 1, 2, {}},
        {"parent past count", {-1, 0, 1}, 2, 2, {}},
        {"pos past count", {-1, 0}, 1, 1, {}},
    };
    for (const Row& r : rows) EXPECT_EQ(Chain(r.parents, r.pos, r.count), r.chain) << r.what;
}

TEST(DecideReinfAdd, Choices) {
    Scenario scn;
    TOobRec* org = AddEntry(scn, "1", "org", 'A');
    TOobRec* inGroup = AddEntry(scn, "1.1", "in a group");
    TOobRec* free = AddEntry(scn, "1.2", "free", 'L');
    EditListener none;
    EditStep step;
    const TReinfGroup* g = AddGroup(scn, inGroup, GroupFields{}, none, step);
    ASSERT_NE(g, nullptr);
    TReinfGroup full = *g;
    full.Count = kGroupAddLimit;

    struct Row {
        const char* what;
        const TOobRec* entry;
        const TReinfGroup* selected;
        ReinfAddChoice choice;
    };
    const Row rows[] = {
        {"no entry", nullptr, g, ReinfAddChoice::Refuse},
        {"an organisation", org, g, ReinfAddChoice::Refuse},
        {"already in a group", inGroup, nullptr, ReinfAddChoice::ShowOwnGroup},
        {"already in a group, another selected", inGroup, &full, ReinfAddChoice::ShowOwnGroup},
        {"none selected", free, nullptr, ReinfAddChoice::NewGroup},
        {"room in the selected", free, g, ReinfAddChoice::AskJoin},
        {"selected is full", free, &full, ReinfAddChoice::AskNewWhenFull},
    };
    for (const Row& r : rows) EXPECT_EQ(DecideReinfAdd(scn, r.entry, r.selected), r.choice) << r.what;
}

}  // namespace
