// What a change tells its listeners, read from the step of the action: the
// records of each list it touched (each once, however many operations the
// action took), the lists whose lines moved, the hexes of the stacks.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "scenario/docchange.h"
#include "scenario/editstep.h"
#include "scenario/scnedit.h"
#include "tests/scenario/random_edits.h"
#include "tests/scenario/test_scn_fixture.h"

using namespace varno;
using namespace scntest;

namespace {

void Expect(bool condition, const char* what) { EXPECT_TRUE(condition) << what; }

struct Counts {
    std::size_t entries, placements, releases, groups, commands;
    bool header;
    unsigned lists;
    std::vector<std::pair<int, int>> hexes;
};

unsigned Bit(RecordKind kind) { return 1u << static_cast<unsigned>(kind); }

}  // namespace

TEST(DocChange, NamesWhatTheActionTouched) {
    struct Row {
        const char* action;
        std::function<void(Scenario&, EditListener&, EditStep&)> act;
        Counts expected;
    };
    const Row rows[] = {
        {"a placement added: its entry's link too; at hex 0,0",
         [](Scenario& s, EditListener& l, EditStep& st) { AddSetup(s, Entry(s, "1.3"), {}, l, st); },
         {1, 1, 0, 0, 0, false, Bit(RecordKind::Placement), {{0, 0}}}},
        {"a move: both hexes, no list line moved",
         [](Scenario& s, EditListener& l, EditStep& st) {
             EditStep before;
             const TSetupRec* rec = AddSetup(s, Entry(s, "1.3"), {}, l, before);
             MoveSetup(s, rec, 4, 5, l, st);
         },
         {0, 1, 0, 0, 0, false, 0, {{0, 0}, {4, 5}}}},
        {"one action of many records: three placements named once each",
         [](Scenario& s, EditListener& l, EditStep& st) {
             for (const char* dot : {"1.3", "1.4", "1.5"}) {
                 const TSetupRec* rec = AddSetup(s, Entry(s, dot), {}, l, st);
                 MoveSetup(s, rec, 2, 2, l, st);
             }
         },
         {3, 3, 0, 0, 0, false, Bit(RecordKind::Placement), {{2, 2}, {0, 0}}}},
        {"a group and a command, no stack",
         [](Scenario& s, EditListener& l, EditStep& st) {
             AddGroup(s, Entry(s, "2.3"), {}, l, st);
             AddCommand(s, Entry(s, "2.1"), {}, l, st);
         },
         {0, 0, 0, 1, 1, false, Bit(RecordKind::Group) | Bit(RecordKind::Command), {}}},
        {"a release",
         [](Scenario& s, EditListener& l, EditStep& st) { AddRelease(s, Entry(s, "1.4"), {}, l, st); },
         {0, 0, 1, 0, 0, false, Bit(RecordKind::Release), {}}},
        {"the header",
         [](Scenario& s, EditListener& l, EditStep& st) {
             HeaderLines lines;
             lines.fill("New");
             ReplaceHeader(s, lines, l, st);
         },
         {0, 0, 0, 0, 0, true, 0, {}}},
    };
    for (const Row& row : rows) {
        Scenario scn;
        SmallOob(scn);
        Boxes boxes(Expect);
        EditStep step;
        row.act(scn, boxes, step);
        for (const ChangeCause cause : {ChangeCause::Action, ChangeCause::Undo}) {
            const DocChange c = ChangeOf(step, cause);
            EXPECT_EQ(c.Cause, cause) << row.action;
            EXPECT_FALSE(c.Whole) << row.action;
            EXPECT_EQ(c.Step, &step) << row.action;
            EXPECT_EQ(c.Entries.size(), row.expected.entries) << row.action;
            EXPECT_EQ(c.Placements.size(), row.expected.placements) << row.action;
            EXPECT_EQ(c.Releases.size(), row.expected.releases) << row.action;
            EXPECT_EQ(c.Groups.size(), row.expected.groups) << row.action;
            EXPECT_EQ(c.Commands.size(), row.expected.commands) << row.action;
            EXPECT_EQ(c.Header, row.expected.header) << row.action;
            EXPECT_EQ(c.ListsChanged, row.expected.lists) << row.action;
            EXPECT_EQ(c.Hexes, row.expected.hexes) << row.action;
            EXPECT_TRUE(c.Records()) << row.action;
            for (const RecordKind kind : {RecordKind::Placement, RecordKind::Group})
                EXPECT_EQ(c.Touches(kind),
                          kind == RecordKind::Placement ? row.expected.placements > 0 : row.expected.groups > 0)
                    << row.action;
        }
    }
}

TEST(DocChange, WholeAndSave) {
    const DocChange read = WholeChange(ChangeCause::Read);
    EXPECT_TRUE(read.Whole);
    EXPECT_TRUE(read.Records());
    for (const RecordKind kind : {RecordKind::Entry, RecordKind::Placement, RecordKind::Command}) {
        EXPECT_TRUE(read.Touches(kind));
        EXPECT_TRUE(read.ListChanged(kind));
    }
    DocChange saved;
    saved.Cause = ChangeCause::Save;
    EXPECT_FALSE(saved.Records());
    EXPECT_FALSE(saved.ListChanged(RecordKind::Placement));
}

// A step moves a placement when the placement, in its list before and
// after, stands on another hex after it: what Set Units follows.
TEST(DocChange, MovesNamesThePlacementsOnAnotherHex) {
    Scenario scn;
    SmallOob(scn);
    Selection sel;
    Boxes boxes(Expect);
    RemovedRecords gone;
    RandomSource in(7);
    int moved = 0;
    for (int round = 0; round < 400; ++round) {
        std::map<const TSetupRec*, std::pair<int, int>> before;
        for (const TSetupRec* rec : scn.SetupList()) before[rec] = {rec->Col, rec->Row};
        EditStep step;
        RandomEdit(in, scn, sel, boxes, gone, step, Expect);
        EXPECT_FALSE(step.Moves(nullptr));
        for (const TSetupRec* rec : scn.SetupList()) {
            const auto was = before.find(rec);
            if (was == before.end()) continue;
            const bool moves = was->second != std::pair<int, int>(rec->Col, rec->Row);
            EXPECT_EQ(step.Moves(rec), moves) << "round " << round;
            moved += moves;
        }
    }
    EXPECT_GT(moved, 10);
}
