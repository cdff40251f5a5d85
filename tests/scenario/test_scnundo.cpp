// Undo and redo of the edit operations. On the demo game, random sequences
// of every operation: each one undone gives back the scenario's text, the
// list lines a window keeps, the entries' placement links and the current
// records it found; redone, those it left; the whole history undone gives
// the game as read, redone the state of the edits done once. Then the rules
// the sequences cannot show: header lines, putting records back, the
// current pointers a step leaves alone, a step that does not fit, and the
// names the Edit menu shows for the steps.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "scenario/oobreader.h"
#include "scenario/scenariobuilder.h"
#include "scenario/scnedit.h"
#include "scenario/scnerror.h"
#include "scenario/scnreader.h"
#include "scenario/scnwriter.h"
#include "scenario/stepname.h"
#include "tests/scenario/random_edits.h"
#include "tests/scenario/test_scn_fixture.h"

using namespace varno;

namespace {

using scntest::RandomSource;

void Expect(bool condition, const char* what) { EXPECT_TRUE(condition) << what; }

using scntest::Boxes;

// What an undo must give back: the file's text, the lines, the links of the
// entries to their placements and the records selected.
struct State {
    std::string text;
    std::map<ScnListBox, std::vector<std::string>> lines;
    std::vector<const TSetupRec*> links;
    SelectionState selected;
    bool operator==(const State&) const = default;
};

State StateOf(Scenario& scn, const Boxes& boxes, const SelectionState& selected = {}) {
    State s{ScenarioText(scn, {.SortByCol = false, .V103 = false}, nullptr), boxes.lines, {}, selected};
    for (const TOobRec* e : scn.OobList()) s.links.push_back(e->Setup);
    return s;
}

void ReadDemo(Scenario& scn, Boxes& boxes) {
    const std::string path = std::string(VARNO_DEMO_DIR) + "/DEMO.SCN";
    ReadOob(scn, path, boxes);
    ReadScenario(scn, path, boxes);
}

TEST(UndoProperty, EveryEditUndoneAndRedoneOnTheDemoGame) {
    int changed = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        Scenario scn;
        Boxes boxes(Expect);
        ReadDemo(scn, boxes);
        const State read = StateOf(scn, boxes);
        RandomSource in(seed);
        scntest::RemovedRecords gone;
        std::vector<EditStep> history;

        Selection sel;
        for (int i = 0; i < 60; ++i) {
            const State before = StateOf(scn, boxes);
            EditStep step;
            step.Follow(sel);
            const bool done = scntest::RandomEdit(in, scn, sel, boxes, gone, step, Expect);
            ASSERT_EQ(step.empty(), !done) << "edit " << i;
            // As a document ends the action: what it took out is no longer selected.
            sel.Forget(step, true);
            step.end();
            const State after = StateOf(scn, boxes, sel.State());
            Undo(scn, step, boxes);
            sel.Replay(step, false);
            ASSERT_TRUE(StateOf(scn, boxes) == before) << "undo of edit " << i;
            if (done) {
                ASSERT_TRUE(sel.State() == step.SelectionBefore()) << "selection after the undo of edit " << i;
            }
            Redo(scn, step, boxes);
            sel.Replay(step, true);
            ASSERT_TRUE(StateOf(scn, boxes, sel.State()) == after) << "redo of edit " << i;
            if (done) history.push_back(std::move(step));
        }
        changed += static_cast<int>(history.size());

        const State end = StateOf(scn, boxes);
        for (auto it = history.rbegin(); it != history.rend(); ++it) Undo(scn, *it, boxes);
        const State undone = StateOf(scn, boxes);
        EXPECT_EQ(undone.text, read.text);
        EXPECT_TRUE(undone.lines == read.lines);
        EXPECT_TRUE(undone.links == read.links);
        for (const EditStep& step : history) Redo(scn, step, boxes);
        EXPECT_TRUE(StateOf(scn, boxes) == end);
    }
    // The sequences change the game most of the time.
    EXPECT_GT(changed, 40 * 20);
}

// Another scenario's records put in (a recovered copy): one step between the
// two states, lines and links as a Read of the other would leave them.
TEST(UndoProperty, AnotherScenariosRecordsPutInAsOneStep) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        Scenario scn, other;
        Boxes boxes(Expect), otherBoxes(Expect);
        ReadDemo(scn, boxes);
        ReadDemo(other, otherBoxes);
        RandomSource in(seed);
        scntest::RemovedRecords gone;
        Selection sel;
        for (int i = 0; i < 30; ++i) {
            EditStep edit;
            scntest::RandomEdit(in, other, sel, otherBoxes, gone, edit, Expect);
        }
        // The other scenario as a Read of its text leaves it.
        const std::string text = ScenarioText(other, {.SortByCol = false, .V103 = false}, nullptr);
        Scenario copy;
        Boxes copyBoxes(Expect);
        ReadOob(copy, std::string(VARNO_DEMO_DIR) + "/DEMO.SCN", copyBoxes);
        ScenarioFile file;
        file.Path = "COPY.SCN";
        file.Exists = true;
        file.Text = text;
        ReadScenario(copy, file, copyBoxes);

        const State before = StateOf(scn, boxes);
        EditStep step;
        ReplaceRecords(scn, copy, boxes, step);
        const State after = StateOf(scn, boxes);
        EXPECT_EQ(after.text, text);
        EXPECT_TRUE(after.lines == copyBoxes.lines);
        for (std::size_t k = 0; k < scn.OobList().size(); ++k)
            EXPECT_EQ(scn.OobList()[k]->Setup != nullptr, copy.OobList()[k]->Setup != nullptr) << k;
        Undo(scn, step, boxes);
        EXPECT_TRUE(StateOf(scn, boxes) == before);
        Redo(scn, step, boxes);
        EXPECT_TRUE(StateOf(scn, boxes) == after);
    }
}

class UndoTest : public ::testing::Test {
protected:
    void SetUp() override { ReadDemo(scn, boxes); }
    Scenario scn;
    Boxes boxes{Expect};
};

TEST_F(UndoTest, HeaderLinesAreKeptAsBytesCutAtABreakAndAt255) {
    const std::string longLine(300, '\xE9');
    struct Row {
        std::string given, kept;
    };
    const Row rows[] = {
        {"Plain line", "Plain line"},
        {"two\r\nlines", "two"},
        {"lf\nonly", "lf"},
        {longLine, longLine.substr(0, kHeaderLineMax)},
        {"", ""},
        {std::string("nul\0kept", 8), std::string("nul\0kept", 8)},
    };
    for (const Row& row : rows) {
        HeaderLines lines = HeaderOf(scn);
        lines[4] = row.given;
        const HeaderLines old = HeaderOf(scn);
        EditStep step;
        const bool changed = ReplaceHeader(scn, lines, boxes, step);
        EXPECT_EQ(HeaderOf(scn)[4], row.kept);
        EXPECT_EQ(changed, old[4] != row.kept);
        Undo(scn, step, boxes);
        EXPECT_TRUE(HeaderOf(scn) == old);
    }
}

// A line longer than the limit, as read: given back unchanged it stays whole
// and nothing changes; only a changed line is cut.
TEST_F(UndoTest, AnUnchangedLongHeaderLineIsKeptWhole) {
    const std::string longLine(400, 'x');
    ScenarioBuilder(scn).ScnHeader()[3] = longLine;
    scn.Modified = false;
    HeaderLines lines = HeaderOf(scn);
    EditStep step;
    EXPECT_FALSE(ReplaceHeader(scn, lines, boxes, step));
    EXPECT_FALSE(scn.Modified);
    lines[5] = "changed";
    ASSERT_TRUE(ReplaceHeader(scn, lines, boxes, step));
    EXPECT_EQ(HeaderOf(scn)[3], longLine);
    lines[3] += "y";
    ASSERT_TRUE(ReplaceHeader(scn, lines, boxes, step));
    EXPECT_EQ(HeaderOf(scn)[3], longLine.substr(0, kHeaderLineMax));
}

// A new scenario has no header lines: nine empty ones change nothing.
TEST_F(UndoTest, HeaderOfANewScenarioIsNineEmptyLines) {
    Scenario fresh;
    EditStep step;
    EXPECT_FALSE(ReplaceHeader(fresh, HeaderLines{}, boxes, step));
    EXPECT_FALSE(fresh.Modified);
    ASSERT_TRUE(ReplaceHeader(fresh, HeaderLines{"Title"}, boxes, step));
    EXPECT_EQ(fresh.ScnHeader().size(), 9u);
    Undo(fresh, step, boxes);
    EXPECT_TRUE(fresh.ScnHeader().empty());
    EXPECT_EQ(boxes.headers, 2);
}

// Each kind of step by the name the Edit menu shows.
TEST_F(UndoTest, AStepIsNamedAfterWhatTheUserDid) {
    const TSetupRec* placed = scn.SetupList()[0];
    const TOobRec* loose = nullptr;  // a unit not placed yet
    for (const TOobRec* e : scn.OobList())
        if (!loose && e->Kind == 'U' && !e->Setup) loose = e;
    ASSERT_NE(loose, nullptr);
    const std::string dot = DotName(*placed->Unit), looseDot = DotName(*loose);
    SetupFields stronger = FieldsOf(*placed);
    stronger.Strength += 1;
    const std::pair<std::string, std::function<bool(EditStep&)>> rows[] = {
        {"Move " + dot + " to 7,9", [&](EditStep& s) { return MoveSetup(scn, placed, 7, 9, boxes, s); }},
        {"Change placement " + dot, [&](EditStep& s) { return StoreSetup(scn, placed, stronger, boxes, s); }},
        {"Remove placement " + dot, [&](EditStep& s) { return RemoveSetup(scn, placed, boxes, s); }},
        {"Add placement " + looseDot, [&](EditStep& s) { return AddSetup(scn, loose, {}, boxes, s) != nullptr; }},
        {"Place " + looseDot + " at 3,4",
         [&](EditStep& s) { return PlaceEntryAt(scn, loose, 3, 4, {}, boxes, s) != nullptr; }},
        {"Change header", [&](EditStep& s) { return ReplaceHeader(scn, HeaderLines{"New"}, boxes, s); }},
        {"", [](EditStep&) { return true; }},
    };
    for (const auto& [name, act] : rows) {
        EditStep step;
        ASSERT_TRUE(act(step)) << name;
        EXPECT_EQ(StepName(scn, step), name);
        Undo(scn, step, boxes);
    }
}

TEST_F(UndoTest, InsertPutsOnlyARecordNotInItsListAtAnIndexInside) {
    ASSERT_GE(scn.ReleaseList().size(), 2u);
    const TReleaseRec* rec = scn.ReleaseList()[1];
    const int n = static_cast<int>(scn.ReleaseList().size());
    EditStep out;
    EXPECT_FALSE(InsertRelease(scn, rec, 0, boxes, out)) << "already in the list";
    EXPECT_FALSE(InsertRelease(scn, nullptr, 0, boxes, out));
    ASSERT_TRUE(RemoveRelease(scn, rec, boxes, out));
    EXPECT_FALSE(InsertRelease(scn, rec, -1, boxes, out));
    EXPECT_FALSE(InsertRelease(scn, rec, n, boxes, out)) << "one past the shorter list";
    scn.Modified = false;
    EditStep step;
    ASSERT_TRUE(InsertRelease(scn, rec, 0, boxes, step));
    EXPECT_TRUE(scn.Modified);
    EXPECT_EQ(scn.ReleaseList()[0], rec);
    EXPECT_EQ(boxes.lines[ScnListBox::Releases][0], rec->Unit->Display);
    Undo(scn, step, boxes);
    EXPECT_EQ(static_cast<int>(scn.ReleaseList().size()), n - 1);
}

TEST_F(UndoTest, ASelectionTheStepLeftAloneStaysAsTheUserSetIt) {
    ASSERT_GE(scn.SetupList().size(), 2u);
    ASSERT_FALSE(scn.ReleaseList().empty());
    Selection sel;
    sel.Select(scn.ReleaseList()[0]);
    const TOobRec* entry = scn.ReleaseList()[0]->Unit;
    EditStep step;
    step.Follow(sel);
    ASSERT_NE(sel.CurRelease(), nullptr);
    sel.Select(AddRelease(scn, entry, DateFields{}, boxes, step));
    step.end();
    // The user selects another placement before the undo.
    sel.Select(scn.SetupList()[1]);
    Undo(scn, step, boxes);
    sel.Replay(step, false);
    EXPECT_EQ(sel.CurRelease(), scn.ReleaseList()[0]);
    EXPECT_EQ(sel.CurSetup(), scn.SetupList()[1]);
    Redo(scn, step, boxes);
    sel.Replay(step, true);
    EXPECT_EQ(sel.CurRelease(), scn.ReleaseList().back());
}

TEST_F(UndoTest, AStepNamesTheHexesWhoseStacksItChanges) {
    ASSERT_GE(scn.SetupList().size(), 2u);
    const TSetupRec* moved = scn.SetupList()[0];
    const TSetupRec* removed = scn.SetupList()[1];
    const std::pair<int, int> from{moved->Col, moved->Row}, gone{removed->Col, removed->Row};
    const std::pair<int, int> to{from.first + 1, from.second};
    EditStep step;
    ASSERT_TRUE(MoveSetup(scn, moved, to.first, to.second, boxes, step));
    ASSERT_TRUE(RemoveSetup(scn, removed, boxes, step));
    ASSERT_TRUE(ReplaceHeader(scn, HeaderLines{"Header only"}, boxes, step));
    std::vector<std::pair<int, int>> expected{from, to};
    if (gone != from && gone != to) expected.push_back(gone);
    EXPECT_EQ(step.SetupHexes(), expected);
}

TEST_F(UndoTest, ARecordComesBackWithTheValuesItHadWhenItWent) {
    const TOobRec* entry = scn.SetupList()[0]->Unit;
    EditStep step;
    const TCommandRec* rec = AddCommand(scn, entry, CommandFields{}, boxes, step);
    ASSERT_NE(rec, nullptr);
    const State added = StateOf(scn, boxes);
    Undo(scn, step, boxes);
    // A page that still held the record stores into it while it is out.
    CommandFields late;
    late.Col = 9;
    EditStep lateStep;
    ASSERT_TRUE(StoreCommand(scn, rec, late, boxes, lateStep));
    Redo(scn, step, boxes);
    EXPECT_TRUE(StateOf(scn, boxes) == added);
}

TEST_F(UndoTest, RecordsOfAnotherOrderOfBattleAreRefused) {
    Scenario other;
    Boxes otherBoxes(Expect);
    ReadDemo(other, otherBoxes);
    ScenarioBuilder::Edit(other.OobList()[other.SetupList().front()->Unit->Index]).Levels[0] = 9;  // not the same entry
    const State before = StateOf(scn, boxes);
    EditStep step;
    EXPECT_THROW(ReplaceRecords(scn, other, boxes, step), ScnError);
    EXPECT_TRUE(step.empty());
    EXPECT_TRUE(StateOf(scn, boxes) == before);
}

TEST_F(UndoTest, AStepThatDoesNotFitTheScenarioIsRefused) {
    EditStep step;
    ASSERT_TRUE(RemoveSetup(scn, scn.SetupList()[0], boxes, step));
    Undo(scn, step, boxes);
    EXPECT_THROW(Undo(scn, step, boxes), std::logic_error);
}

TEST_F(UndoTest, UndoAndRedoLeaveModifiedAlone) {
    EditStep step;
    SynchStrengths(scn, boxes, step);
    MoveSetup(scn, scn.SetupList()[0], 3, 4, boxes, step);
    ASSERT_FALSE(step.empty());
    for (const bool modified : {false, true}) {
        scn.Modified = modified;
        Undo(scn, step, boxes);
        EXPECT_EQ(scn.Modified, modified);
        Redo(scn, step, boxes);
        EXPECT_EQ(scn.Modified, modified);
    }
}

}  // namespace
