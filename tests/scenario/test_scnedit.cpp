// The edit operations on a scenario: what they change in the records and
// lists, Modified, and what they tell the window about its list lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenario/scnedit.h"
#include "scenario/scnwriter.h"
#include "tests/scenario/test_scn_fixture.h"

using namespace varno;

namespace {

using scntest::Entry;
using scntest::SmallOob;

// Keeps a copy of every list box as the window would, from the notifications.
struct Mirror : EditListener {
    std::map<ScnListBox, std::vector<std::string>> lines;
    std::vector<std::pair<ScnListBox, int>> changed;

    void lineAdded(ScnListBox box, std::string_view text) override { lines[box].emplace_back(text); }
    void lineRemoved(ScnListBox box, int index) override {
        auto& l = lines[box];
        ASSERT_GE(index, 0);
        ASSERT_LT(index, static_cast<int>(l.size()));
        l.erase(l.begin() + index);
    }
    void lineChanged(ScnListBox box, int index, std::string_view text) override {
        auto& l = lines[box];
        ASSERT_GE(index, 0);
        ASSERT_LT(index, static_cast<int>(l.size()));
        l[index] = text;
    }
    void recordChanged(ScnListBox box, int index) override { changed.emplace_back(box, index); }
    const std::vector<std::string>& of(ScnListBox box) { return lines[box]; }
};

class ScnEditTest : public ::testing::Test {
protected:
    void SetUp() override { SmallOob(scn); }
    const TOobRec* E(const char* dot) { return Entry(scn, dot); }
    Scenario scn;
    Mirror mirror;
    EditStep step;
};

TEST_F(ScnEditTest, AddSetupFlagsByKindAndDefaults) {
    struct Row {
        const char* dot;
        bool mounted, fixed;
        std::uint32_t flags;
    };
    const Row rows[] = {
        {"1.3", true, true, sfMounted | sfFixed},
        {"2.1", false, true, sfMounted},  // a leader always rides, never fixed by the defaults
        {"1.2", true, false, sfMounted},  // a wagon takes the defaults
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.dot);
        const TSetupRec* rec = AddSetup(scn, E(row.dot), {16, row.mounted, row.fixed}, mirror, step);
        ASSERT_NE(rec, nullptr);
        EXPECT_EQ(rec->Flags, row.flags);
        EXPECT_EQ(rec->Facing, 16);
        EXPECT_EQ(rec->Aux, 4);
        EXPECT_EQ(rec->Col, 0);
        EXPECT_EQ(rec->Unit, E(row.dot));
        EXPECT_EQ(E(row.dot)->Setup, rec);
        EXPECT_EQ(scn.SetupList().back(), rec);
        EXPECT_EQ(mirror.of(ScnListBox::SetUnits).back(), E(row.dot)->Display);
    }
    EXPECT_TRUE(scn.Modified);
}

TEST_F(ScnEditTest, AddSetupRefusesOrganisationsAndSecondPlacements) {
    EXPECT_EQ(AddSetup(scn, E("1"), {}, mirror, step), nullptr);
    EXPECT_FALSE(scn.Modified);
    ASSERT_NE(AddSetup(scn, E("1.3"), {}, mirror, step), nullptr);
    scn.Modified = false;
    EXPECT_EQ(AddSetup(scn, E("1.3"), {}, mirror, step), nullptr);
    EXPECT_FALSE(scn.Modified);
    EXPECT_EQ(scn.SetupList().size(), 1u);
    EXPECT_EQ(mirror.of(ScnListBox::SetUnits).size(), 1u);
}

TEST_F(ScnEditTest, AWagonIsPlacedTwiceAndEitherRemovalClearsItsLink) {
    for (int removed = 0; removed < 2; ++removed) {
        Scenario s;
        SmallOob(s);
        Mirror m;
        EditStep step;
        const TOobRec* wagon = Entry(s, "1.2");
        const TSetupRec* first = AddSetup(s, wagon, {}, m, step);
        const TSetupRec* second = AddSetup(s, wagon, {}, m, step);
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(wagon->Setup, second);
        EXPECT_EQ(m.of(ScnListBox::SetUnits).size(), 2u);
        const TSetupRec* gone = removed == 0 ? first : second;
        ASSERT_TRUE(RemoveSetup(s, gone, m, step));
        EXPECT_EQ(wagon->Setup, nullptr);
        ASSERT_EQ(s.SetupList().size(), 1u);
        EXPECT_EQ(s.SetupList()[0], removed == 0 ? second : first);
        EXPECT_EQ(m.of(ScnListBox::SetUnits).size(), 1u);
        EXPECT_EQ(gone->Unit, wagon);  // still readable
    }
}

// A drop on the map: an entry not yet placed (and any wagon) is added at the
// hex, a placed unit or leader moves there, an organisation is refused.
TEST_F(ScnEditTest, PlaceEntryAtAddsOrMoves) {
    ASSERT_NE(AddSetup(scn, E("1.3"), {}, mirror, step), nullptr);
    ASSERT_NE(AddSetup(scn, E("2.1"), {}, mirror, step), nullptr);
    ASSERT_NE(AddSetup(scn, E("1.2"), {}, mirror, step), nullptr);
    struct Row {
        const char* dot;
        int col, row;
        int added;          // SetupList grew by; -1 refused
        std::uint8_t c, r;  // its hex (low 8 bits)
    };
    const Row rows[] = {
        {"1.4", 7, 3, 1, 7, 3},      // not placed yet: added there
        {"1.3", 5, 6, 0, 5, 6},      // a placed unit moves
        {"2.1", 0, 0, 0, 0, 0},      // a placed leader moves (already there: no change)
        {"1.2", 9, 9, 1, 9, 9},      // a wagon is placed once more
        {"1", 4, 4, -1, 0, 0},       // an organisation cannot be placed
        {"1.5", 260, 257, 1, 4, 1},  // bytes, as every move
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.dot);
        const std::size_t before = scn.SetupList().size();
        const TOobRec* entry = E(row.dot);
        const TSetupRec* const old = entry->Kind == 'S' ? nullptr : entry->Setup;
        scn.Modified = false;
        const TSetupRec* rec = PlaceEntryAt(scn, entry, row.col, row.row, {32, false, true}, mirror, step);
        EXPECT_EQ(rec == nullptr, row.added < 0);
        EXPECT_EQ(scn.SetupList().size(), before + (row.added > 0 ? 1 : 0));
        EXPECT_EQ(mirror.of(ScnListBox::SetUnits).size(), scn.SetupList().size());
        // Modified only where something changed.
        EXPECT_EQ(scn.Modified, row.added > 0 || (rec && (row.c != 0 || row.r != 0)));
        if (!rec) continue;
        EXPECT_EQ(rec->Unit, entry);
        EXPECT_EQ(rec->Col, row.c);
        EXPECT_EQ(rec->Row, row.r);
        EXPECT_EQ(rec->Facing, row.added > 0 ? 32 : old->Facing);  // the defaults of a new placement
        EXPECT_EQ(rec, row.added > 0 ? scn.SetupList().back() : old);
    }
}

TEST_F(ScnEditTest, RemoveSetupLetsTheUnitBePlacedAgain) {
    const TSetupRec* rec = AddSetup(scn, E("1.4"), {}, mirror, step);
    scn.Modified = false;
    ASSERT_TRUE(RemoveSetup(scn, rec, mirror, step));
    EXPECT_TRUE(scn.Modified);
    EXPECT_FALSE(RemoveSetup(scn, rec, mirror, step));  // no longer in the list
    EXPECT_TRUE(mirror.of(ScnListBox::SetUnits).empty());
    EXPECT_NE(AddSetup(scn, E("1.4"), {}, mirror, step), nullptr);
}

TEST_F(ScnEditTest, StoreSetupComparesFullValuesAndStoresLowBits) {
    const TSetupRec* rec = AddSetup(scn, E("1.3"), {}, mirror, step);
    scn.Modified = false;
    EXPECT_FALSE(StoreSetup(scn, rec, FieldsOf(*rec), mirror, step));
    EXPECT_FALSE(scn.Modified);
    EXPECT_TRUE(mirror.changed.empty());

    SetupFields f = FieldsOf(*rec);
    f.Col = 300;
    ASSERT_TRUE(StoreSetup(scn, rec, f, mirror, step));
    EXPECT_EQ(rec->Col, 44);
    EXPECT_TRUE(scn.Modified);
    EXPECT_EQ(mirror.changed.back(), std::make_pair(ScnListBox::SetUnits, 0));
    // The edit still reads 300: every store writes again.
    scn.Modified = false;
    EXPECT_TRUE(StoreSetup(scn, rec, f, mirror, step));
    EXPECT_TRUE(scn.Modified);

    f.Col = -1;
    f.Flags = sfRouted | sfNoAmmo;
    ASSERT_TRUE(StoreSetup(scn, rec, f, mirror, step));
    EXPECT_EQ(rec->Col, 255);
    EXPECT_EQ(rec->Flags, sfRouted | sfNoAmmo);
}

TEST_F(ScnEditTest, MoveSetupChangesTheHexOnlyWhenItDiffers) {
    const TSetupRec* rec = AddSetup(scn, E("1.3"), {}, mirror, step);
    scn.Modified = false;
    EXPECT_FALSE(MoveSetup(scn, rec, 0, 0, mirror, step));
    EXPECT_FALSE(scn.Modified);
    EXPECT_TRUE(MoveSetup(scn, rec, 12, 7, mirror, step));
    EXPECT_EQ(rec->Col, 12);
    EXPECT_EQ(rec->Row, 7);
    EXPECT_TRUE(scn.Modified);
    EXPECT_EQ(mirror.changed.back(), std::make_pair(ScnListBox::SetUnits, 0));
    EXPECT_FALSE(MoveSetup(scn, nullptr, 1, 1, mirror, step));
}

TEST(SetupLineLabel, UnitNamesAndTails) {
    struct Row {
        char kind;
        std::string line;
        std::size_t n;
        std::string label;
    };
    const Row rows[] = {
        {'U', "500 3 I X 1st Maine", 50, "1st Maine"},
        {'U', "500 3 I X 1st Maine", 3, "1st"},
        {'U', "500  3 I   X  Long Name", 50, "Long Name"},
        {'U', "500 3", 50, "3"},  // never past the last character
        {'U', "", 50, ""},
        {'L', "Gen. Beta", 50, "Gen. Beta"},
        {'S', "Army Supply Train", 5, "Train"},
    };
    for (const Row& row : rows) {
        TOobRec e;
        e.Kind = row.kind;
        e.Display = row.line;
        TSetupRec rec;
        rec.Unit = &e;
        EXPECT_EQ(SetupLineLabel(rec, row.n), row.label) << row.line;
    }
}

TEST_F(ScnEditTest, ReleasesAddStoreRemove) {
    const TReleaseRec* r = AddRelease(scn, E("1"), {1863, 7, 2, 8, 20}, mirror, step);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->Year, 63);
    EXPECT_EQ(r->Minute, 20);
    EXPECT_EQ(r->Chance, 100);
    EXPECT_EQ(FindRelease(scn, E("1")), r);
    EXPECT_EQ(FindRelease(scn, E("1.3")), nullptr);
    EXPECT_EQ(mirror.of(ScnListBox::Releases), std::vector<std::string>{E("1")->Display});

    scn.Modified = false;
    ReleaseFields f = FieldsOf(*r);
    EXPECT_EQ(f.When.Year, 1863);
    EXPECT_FALSE(StoreRelease(scn, r, f, mirror, step));
    EXPECT_FALSE(scn.Modified);
    f.Chance = 45;
    f.When.Minute = 30;
    EXPECT_TRUE(StoreRelease(scn, r, f, mirror, step));
    EXPECT_EQ(r->Chance, 45);
    EXPECT_EQ(r->Minute, 30);
    EXPECT_TRUE(scn.Modified);

    ASSERT_TRUE(RemoveRelease(scn, r, mirror, step));
    EXPECT_TRUE(mirror.of(ScnListBox::Releases).empty());
    EXPECT_EQ(FindRelease(scn, E("1")), nullptr);
}

TEST_F(ScnEditTest, GroupLinesGrowAndShrink) {
    const TReinfGroup* g = AddGroup(scn, E("1.3"), {{1862, 3, 4, 5, 40}, 50, 10, 11, 8, 2}, mirror, step);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Chance, 100);  // a new group arrives on time
    EXPECT_EQ(g->Year, 62);
    EXPECT_EQ(g->Col, 10);
    EXPECT_EQ(g->Facing, 8);
    EXPECT_EQ(g->ProtHexes, 2);
    EXPECT_EQ(g->Count, 1);
    const std::string first = E("1.3")->Display;
    EXPECT_EQ(mirror.of(ScnListBox::Reinfor), std::vector<std::string>{first});

    ASSERT_TRUE(AddToGroup(scn, g, E("1.4"), mirror, step));
    EXPECT_EQ(mirror.of(ScnListBox::Reinfor)[0], first + " ...");
    ASSERT_TRUE(AddToGroup(scn, g, E("1.5"), mirror, step));
    EXPECT_EQ(mirror.of(ScnListBox::Reinfor)[0], first + " ...");  // unchanged by the third
    EXPECT_EQ(FindGroupOf(scn, E("1.5")), g);
    EXPECT_EQ(FindGroupOf(scn, E("2.2")), nullptr);

    // The first of three goes: the second leads, "..." without a blank.
    ASSERT_TRUE(RemoveGroupUnit(scn, g, 0, mirror, step));
    EXPECT_EQ(g->Count, 2);
    EXPECT_EQ(g->Units[0], E("1.4"));
    EXPECT_EQ(g->Units[1], E("1.5"));
    EXPECT_EQ(g->Units[2], nullptr);
    EXPECT_EQ(mirror.of(ScnListBox::Reinfor)[0], E("1.4")->Display + "...");
    // One of two goes: no points.
    ASSERT_TRUE(RemoveGroupUnit(scn, g, 1, mirror, step));
    EXPECT_EQ(g->Count, 1);
    EXPECT_EQ(mirror.of(ScnListBox::Reinfor)[0], E("1.4")->Display);
    // The only unit goes with its group.
    ASSERT_TRUE(RemoveGroupUnit(scn, g, 0, mirror, step));
    EXPECT_TRUE(scn.ReinfList().empty());
    EXPECT_TRUE(mirror.of(ScnListBox::Reinfor).empty());
}

TEST_F(ScnEditTest, RemovingAMiddleUnitKeepsTheLine) {
    const TReinfGroup* g = AddGroup(scn, E("1.3"), {}, mirror, step);
    AddToGroup(scn, g, E("1.4"), mirror, step);
    AddToGroup(scn, g, E("1.5"), mirror, step);
    const std::string line = mirror.of(ScnListBox::Reinfor)[0];
    ASSERT_TRUE(RemoveGroupUnit(scn, g, 1, mirror, step));
    EXPECT_EQ(mirror.of(ScnListBox::Reinfor)[0], line);
    EXPECT_EQ(g->Units[1], E("1.5"));
    EXPECT_FALSE(RemoveGroupUnit(scn, g, 2, mirror, step));  // past Count
    EXPECT_FALSE(RemoveGroupUnit(scn, g, -1, mirror, step));
}

TEST_F(ScnEditTest, AFullGroupOfTenTakesNoMore) {
    const TReinfGroup* g = AddGroup(scn, E("1.1"), {}, mirror, step);
    const char* more[] = {"1.2", "1.3", "1.4", "1.5", "2.1", "2.2", "2.3", "1.2.1", "3"};
    for (const char* dot : more) ASSERT_TRUE(AddToGroup(scn, g, E(dot), mirror, step));
    EXPECT_EQ(g->Count, 10);
    EXPECT_FALSE(AddToGroup(scn, g, E("2"), mirror, step));
    // The last slot is emptied when the first goes.
    ASSERT_TRUE(RemoveGroupUnit(scn, g, 0, mirror, step));
    EXPECT_EQ(g->Units[8], E("3"));
    EXPECT_EQ(g->Units[9], nullptr);
}

// What the operations build is what the writer writes.
TEST_F(ScnEditTest, EditedRecordsAreWritten) {
    ScenarioBuilder(scn).ScnHeader() = scntest::Nine();
    ScenarioBuilder::Edit(E("1.3")).Strength = 120;
    const TSetupRec* s = AddSetup(scn, E("1.3"), {2, false, true}, mirror, step);
    MoveSetup(scn, s, 5, 6, mirror, step);
    const TReinfGroup* g = AddGroup(scn, E("2.2"), {{1863, 7, 2, 6, 0}, 100, 3, 4, 1, 0}, mirror, step);
    AddToGroup(scn, g, E("2.3"), mirror, step);
    AddRelease(scn, E("1.4"), {1863, 7, 1, 12, 40}, mirror, step);
    AddCommand(scn, E("2.1"), {{1863, 7, 1, 9, 20}, 2, 7, 8, 3}, mirror, step);
    const std::string text = ScenarioText(scn, WriteOptions{false, false}, nullptr);
    const std::string expected =
        scntest::Crlf({"H1", "H2", "H3", "H4", "H5", "H6", "H7", "H8", "H9", "1 1.3 2 4 120 0 0 512 5 6",
                       "2 1863 7 2 6 0 100 0 3 4 2 1", "    2.2", "    2.3", "4 1863 7 1 12 40 100 1.4", "0", "1 0",
                       "1", "2.1 1863 7 1 9 20 7 8 3"});
    EXPECT_EQ(text, expected);
}

}  // namespace
