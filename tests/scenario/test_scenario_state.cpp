// The scenario's lists, allocators, dot names and the lookup by dot name.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "scenario/records.h"
#include "scenario/scenario.h"
#include "scenario/scenariobuilder.h"

using namespace varno;

namespace {

TOobRec WithLevels(std::vector<int> levels) {
    TOobRec r;
    for (std::size_t i = 0; i < levels.size(); ++i) r.Levels[i] = static_cast<std::uint8_t>(levels[i]);
    return r;
}

TEST(DotName, Texts) {
    struct Row {
        std::vector<int> levels;
        std::string name;
    };
    const Row rows[] = {
        {{3, 1, 2}, "3.1.2"}, {{1, 2, 3, 4, 5, 6, 7, 8}, "1.2.3.4.5.6.7.8"}, {{255, 100, 10}, "255.100.10"}, {{}, ""},
        {{0, 4}, ""},  // the name ends at the first 0
        {{2, 0, 4}, "2"},
    };
    for (const Row& row : rows) EXPECT_EQ(DotName(WithLevels(row.levels)), row.name);
}

// Adds entries with the given names, in order, as the reader does.
void AddEntries(Scenario& scn, const std::vector<std::vector<int>>& names) {
    ScenarioBuilder build(scn);
    for (const auto& levels : names) {
        TOobRec& rec = build.NewOobRec();
        rec = WithLevels(levels);
        rec.Index = static_cast<std::int32_t>(scn.OobList().size() - 1);
        build.IndexDotName(rec);
    }
}

// An entry's dot name changed after it was indexed.
void Rename(const TOobRec* entry, const DotKey& levels) { ScenarioBuilder::Edit(entry).Levels = levels; }

DotKey Key(std::vector<int> numbers) {
    DotKey key{};
    for (std::size_t i = 0; i < numbers.size(); ++i) key[i] = static_cast<std::uint8_t>(numbers[i]);
    return key;
}

const std::vector<std::vector<int>> kTree = {{1}, {1, 2}, {1, 2, 1}, {2}, {2, 1}, {1, 2, 3, 4, 5, 6, 7, 8}};

class FindDotNameTest : public ::testing::TestWithParam<bool> {};

// Indexed (as the reader leaves the list) and not indexed (a list built by
// hand) give the same answers.
TEST_P(FindDotNameTest, Lookup) {
    const bool indexed = GetParam();
    Scenario scn;
    if (indexed) {
        AddEntries(scn, kTree);
    } else {
        for (const auto& levels : kTree) ScenarioBuilder(scn).NewOobRec() = WithLevels(levels);
    }
    struct Row {
        std::vector<int> key;
        int found;  // index, -1 none
    };
    const Row rows[] = {
        {{1, 2}, 1},  // '1.2' and not '1.2.1'
        {{1, 2, 1}, 2}, {{1, 2, 2}, -1},
        {{2}, 3},       {{2, 1}, 4},
        {{3}, -1},      {{0, 1}, -1},                 // a key that begins with 0 matches nothing
        {{}, -1},       {{1, 2, 3, 4, 5, 6, 7}, -1},  // seven numbers do not name the eight-number entry
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.found);
        const TOobRec* found = scn.FindDotName(Key(row.key));
        EXPECT_EQ(found != nullptr, row.found >= 0);
        if (row.found >= 0) {
            EXPECT_EQ(found, scn.OobList()[static_cast<std::size_t>(row.found)]);
        }
    }
}
INSTANTIATE_TEST_SUITE_P(Both, FindDotNameTest, ::testing::Bool());

TEST(FindDotName, FirstEntryInListOrderWins) {
    Scenario scn;
    AddEntries(scn, {{1}, {1, 1}, {1, 1}});
    EXPECT_EQ(scn.FindDotName(Key({1, 1})), scn.OobList()[1]);
}

TEST(FindDotName, EntriesChangedAfterIndexingAreStillFoundByTheirName) {
    Scenario scn;
    AddEntries(scn, {{1}, {2}});
    Rename(scn.OobList()[1], Key({3}));
    EXPECT_FALSE(scn.FindDotName(Key({2})));
    EXPECT_EQ(scn.FindDotName(Key({3})), scn.OobList()[1]);
}

TEST(FindDotName, ClearedListFindsNothing) {
    Scenario scn;
    AddEntries(scn, kTree);
    ScenarioBuilder(scn).ClearOob();
    EXPECT_TRUE(scn.OobList().empty());
    EXPECT_FALSE(scn.FindDotName(Key({1})));
    AddEntries(scn, {{1}});
    EXPECT_EQ(scn.FindDotName(Key({1})), scn.OobList()[0]);
}

TEST(FindDotName, ManyEntries) {
    Scenario scn;
    std::vector<std::vector<int>> names;
    for (int a = 1; a <= 40; ++a)
        for (int b = 1; b <= 50; ++b) names.push_back({a, b});
    AddEntries(scn, names);
    const TOobRec* found = scn.FindDotName(Key({37, 44}));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->Index, 36 * 50 + 43);
    EXPECT_FALSE(scn.FindDotName(Key({37, 51})));
}

// Lists whose names come in increasing order for a while (as the reader
// makes them), then break it (a smaller name, a repeated name, no name), and
// go on: every lookup answers as a walk of the list does (after a change of
// an entry's name: some entry of that name).
TEST(FindDotName, AnswersAsTheWalkWhateverTheOrder) {
    std::mt19937 rng(7);
    auto walk = [](const Scenario& scn, const DotKey& key) -> const TOobRec* {
        for (const TOobRec* e : scn.OobList()) {
            for (std::size_t i = 0; i < 8; ++i) {
                if (key[i] != e->Levels[i]) break;
                if (key[i] == 0 || i == 7) return e;
            }
        }
        return nullptr;
    };
    for (int round = 0; round < 200; ++round) {
        Scenario scn;
        if (round % 2) AddEntries(scn, {{9}, {9, 9}});  // a list cleared before the read
        ScenarioBuilder(scn).ClearOob();
        const int count = 1 + static_cast<int>(rng() % 60);
        const int breakAt = static_cast<int>(rng() % static_cast<unsigned>(count + 1));
        std::vector<std::vector<int>> names;
        for (int i = 0; i < count; ++i) {
            if (i < breakAt) {
                names.push_back({1 + i / 10, 1 + i % 10});  // increasing
            } else {
                const int a = static_cast<int>(rng() % 4), b = static_cast<int>(rng() % 3);
                names.push_back(b == 0 ? std::vector<int>{a} : std::vector<int>{a, b});  // any, also 0 and repeats
            }
        }
        AddEntries(scn, names);
        // A name changed after indexing: still found, though the entry that
        // kept it in the index may answer before an earlier one of the list.
        const bool changed = round % 3 == 0;
        if (changed) Rename(scn.OobList()[rng() % scn.OobList().size()], Key({1 + static_cast<int>(rng() % 6), 1}));
        for (int a = 0; a <= 6; ++a) {
            for (int b = 0; b <= 10; ++b) {
                const DotKey key = b == 0 ? Key({a}) : Key({a, b});
                SCOPED_TRACE(testing::Message() << "round " << round << " key " << a << "." << b);
                const TOobRec* expected = key[0] == 0 ? nullptr : walk(scn, key);
                const TOobRec* found = scn.FindDotName(key);
                EXPECT_EQ(found != nullptr, expected != nullptr);
                if (expected && !changed) {
                    EXPECT_EQ(found, expected);
                } else if (expected && found) {
                    EXPECT_EQ(found->Levels, key);
                }
            }
        }
    }
}

TEST(Allocators, ZeroedRecordsAppended) {
    Scenario scn;
    ScenarioBuilder build(scn);
    const TSetupRec& first = build.NewSetup();
    const TSetupRec& setup = build.NewSetup();
    ASSERT_EQ(scn.SetupList().size(), 2u);
    EXPECT_EQ(&first, scn.SetupList()[0]);
    EXPECT_EQ(&setup, scn.SetupList()[1]);
    EXPECT_EQ(setup.Strength, 0);
    EXPECT_EQ(setup.Flags, 0u);
    EXPECT_EQ(setup.Unit, nullptr);

    const TReleaseRec& release = build.NewRelease();
    EXPECT_EQ(&release, scn.ReleaseList().back());
    EXPECT_EQ(release.Chance, 0);
    const TReinfGroup& group = build.NewReinfGroup();
    EXPECT_EQ(&group, scn.ReinfList().back());
    EXPECT_EQ(group.Count, 0);
    for (const TOobRec* u : group.Units) EXPECT_EQ(u, nullptr);
    const TCommandRec& command = build.NewCommand();
    EXPECT_EQ(&command, scn.CommandList().back());
    EXPECT_EQ(command.Group, 0);

    const TOobRec& entry = build.NewOobRec();
    EXPECT_EQ(&entry, scn.OobList().back());
    EXPECT_EQ(entry.Index, 0);
    EXPECT_EQ(entry.Kind, 0);
    EXPECT_EQ(entry.Setup, nullptr);
    EXPECT_EQ(DotName(entry), "");
}

TEST(Allocators, RecordsOutliveTheirLists) {
    Scenario scn;
    ScenarioBuilder build(scn);
    std::vector<TSetupRec*> held;
    for (int i = 0; i < 1000; ++i) {
        TSetupRec& rec = build.NewSetup();
        rec.Strength = static_cast<std::uint8_t>(i);
        held.push_back(&rec);
    }
    TOobRec* unit = &build.NewOobRec();
    unit->Setup = held[5];
    held[5]->Unit = unit;
    // A placement removed from its list, the lists cleared: still readable.
    build.SetupList().erase(build.SetupList().begin() + 5);
    build.SetupList().clear();
    build.ClearOob();
    for (int i = 0; i < 1000; ++i) EXPECT_EQ(held[static_cast<std::size_t>(i)]->Strength, static_cast<std::uint8_t>(i));
    EXPECT_EQ(held[5]->Unit, unit);
    EXPECT_EQ(unit->Setup, held[5]);
}

TEST(ReinfDisplay, FirstUnitAndMore) {
    TOobRec first;
    first.Display = "120 3 I X 1st Regiment";
    EXPECT_EQ(ReinfDisplay(first, 1), "120 3 I X 1st Regiment");
    EXPECT_EQ(ReinfDisplay(first, 2), "120 3 I X 1st Regiment ...");
    EXPECT_EQ(ReinfDisplay(first, 10), "120 3 I X 1st Regiment ...");
}

}  // namespace
