// The scenario's lists, allocators, dot names and the lookup by dot name.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "scenario/records.h"
#include "scenario/scenario.h"

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
    for (const auto& levels : names) {
        scn.NewOobRec();
        *scn.CurOob = WithLevels(levels);
        scn.CurOob->Index = static_cast<std::int32_t>(scn.OobList.size() - 1);
        scn.IndexDotName(scn.CurOob);
    }
}

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
        for (const auto& levels : kTree) {
            scn.NewOobRec();
            *scn.CurOob = WithLevels(levels);
        }
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
        scn.CurOob = nullptr;
        const bool found = scn.FindDotName(Key(row.key));
        EXPECT_EQ(found, row.found >= 0);
        if (row.found >= 0) {
            EXPECT_EQ(scn.CurOob, scn.OobList[static_cast<std::size_t>(row.found)]);
        }
    }
}
INSTANTIATE_TEST_SUITE_P(Both, FindDotNameTest, ::testing::Bool());

TEST(FindDotName, FirstEntryInListOrderWins) {
    Scenario scn;
    AddEntries(scn, {{1}, {1, 1}, {1, 1}});
    EXPECT_TRUE(scn.FindDotName(Key({1, 1})));
    EXPECT_EQ(scn.CurOob, scn.OobList[1]);
}

TEST(FindDotName, EntriesChangedAfterIndexingAreStillFoundByTheirName) {
    Scenario scn;
    AddEntries(scn, {{1}, {2}});
    scn.OobList[1]->Levels = Key({3});
    EXPECT_FALSE(scn.FindDotName(Key({2})));
    EXPECT_TRUE(scn.FindDotName(Key({3})));
    EXPECT_EQ(scn.CurOob, scn.OobList[1]);
}

TEST(FindDotName, ClearedListFindsNothing) {
    Scenario scn;
    AddEntries(scn, kTree);
    scn.ClearOob();
    EXPECT_TRUE(scn.OobList.empty());
    EXPECT_FALSE(scn.FindDotName(Key({1})));
    AddEntries(scn, {{1}});
    EXPECT_TRUE(scn.FindDotName(Key({1})));
    EXPECT_EQ(scn.CurOob, scn.OobList[0]);
}

TEST(FindDotName, ManyEntries) {
    Scenario scn;
    std::vector<std::vector<int>> names;
    for (int a = 1; a <= 40; ++a)
        for (int b = 1; b <= 50; ++b) names.push_back({a, b});
    AddEntries(scn, names);
    EXPECT_TRUE(scn.FindDotName(Key({37, 44})));
    EXPECT_EQ(scn.CurOob->Index, 36 * 50 + 43);
    EXPECT_FALSE(scn.FindDotName(Key({37, 51})));
}

// Lists whose names come in increasing order for a while (as the reader
// makes them), then break it (a smaller name, a repeated name, no name), and
// go on: every lookup answers as a walk of the list does (after a change of
// an entry's name: some entry of that name).
TEST(FindDotName, AnswersAsTheWalkWhateverTheOrder) {
    std::mt19937 rng(7);
    auto walk = [](const Scenario& scn, const DotKey& key) -> const TOobRec* {
        for (const TOobRec* e : scn.OobList) {
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
        scn.ClearOob();
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
        if (changed) scn.OobList[rng() % scn.OobList.size()]->Levels = Key({1 + static_cast<int>(rng() % 6), 1});
        for (int a = 0; a <= 6; ++a) {
            for (int b = 0; b <= 10; ++b) {
                const DotKey key = b == 0 ? Key({a}) : Key({a, b});
                SCOPED_TRACE(testing::Message() << "round " << round << " key " << a << "." << b);
                const TOobRec* expected = key[0] == 0 ? nullptr : walk(scn, key);
                scn.CurOob = nullptr;
                EXPECT_EQ(scn.FindDotName(key), expected != nullptr);
                if (expected && !changed) {
                    EXPECT_EQ(scn.CurOob, expected);
                } else if (expected) {
                    EXPECT_EQ(scn.CurOob->Levels, key);
                }
            }
        }
    }
}

TEST(Allocators, ZeroedRecordsAppendedAndMadeCurrent) {
    Scenario scn;
    scn.NewSetup();
    scn.NewSetup();
    ASSERT_EQ(scn.SetupList.size(), 2u);
    EXPECT_EQ(scn.CurSetup, scn.SetupList[1]);
    EXPECT_NE(scn.SetupList[0], scn.SetupList[1]);
    EXPECT_EQ(scn.CurSetup->Strength, 0);
    EXPECT_EQ(scn.CurSetup->Flags, 0u);
    EXPECT_EQ(scn.CurSetup->Unit, nullptr);

    scn.NewRelease();
    EXPECT_EQ(scn.CurRelease, scn.ReleaseList.back());
    EXPECT_EQ(scn.CurRelease->Chance, 0);
    scn.NewReinfGroup();
    EXPECT_EQ(scn.CurReinf, scn.ReinfList.back());
    EXPECT_EQ(scn.CurReinf->Count, 0);
    for (TOobRec* u : scn.CurReinf->Units) EXPECT_EQ(u, nullptr);
    scn.NewCommand();
    EXPECT_EQ(scn.CurCommand, scn.CommandList.back());
    EXPECT_EQ(scn.CurCommand->Group, 0);

    scn.NewOobRec();
    EXPECT_EQ(scn.CurOob, scn.OobList.back());
    EXPECT_EQ(scn.CurOob->Index, 0);
    EXPECT_EQ(scn.CurOob->Kind, 0);
    EXPECT_EQ(scn.CurOob->Setup, nullptr);
    EXPECT_EQ(DotName(*scn.CurOob), "");
}

TEST(Allocators, RecordsOutliveTheirLists) {
    Scenario scn;
    std::vector<TSetupRec*> held;
    for (int i = 0; i < 1000; ++i) {
        scn.NewSetup();
        scn.CurSetup->Strength = static_cast<std::uint8_t>(i);
        held.push_back(scn.CurSetup);
    }
    scn.NewOobRec();
    TOobRec* unit = scn.CurOob;
    unit->Setup = held[5];
    held[5]->Unit = unit;
    // A placement removed from its list, the lists cleared: still readable.
    scn.SetupList.erase(scn.SetupList.begin() + 5);
    scn.SetupList.clear();
    scn.ClearOob();
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
