// Any sequence of the editor's operations on a scenario: Add, Remove, store
// of a page's fields and moves, on every list, the synch and new header
// lines, with the values the pages can hand over. After each operation the
// list box lines a window keeps from what it was told must match the lists,
// and Modified must say whether something changed; the operation's undo
// must give back the scenario's text, the lines and the current pointers it
// found, and its redo those it left. At the end the scenario is written,
// read back and compared with what the lists held.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <map>
#include <string>
#include <vector>

#include "scenario/linereader.h"
#include "scenario/scenario.h"
#include "scenario/scenariobuilder.h"
#include "scenario/scnedit.h"
#include "scenario/scnerror.h"
#include "scenario/scnreader.h"
#include "scenario/scnwriter.h"
#include "tests/scenario/random_edits.h"

using namespace varno;

namespace {

void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz_scn_edits: %s\n", what);
    std::abort();
}

// A small order of battle: two armies with organisations, units, leaders and
// wagons down to four levels.
void FixedOob(Scenario& scn) {
    static const char kKinds[] = {'U', 'L', 'S', 'U', 'B', 'U'};
    int n = 0;
    for (std::uint8_t a = 1; a <= 2; ++a)
        for (std::uint8_t b = 0; b <= 4; ++b)
            for (std::uint8_t c = 0; c <= (b == 4 ? 3 : 0); ++c) {
                TOobRec* e = &ScenarioBuilder(scn).NewOobRec();
                e->Levels = {a, b, c, 0, 0, 0, 0, 0};
                e->Kind = b == 0 ? 'A' : (b == 4 && c == 0) ? 'B' : kKinds[n++ % 6];
                e->Side = a == 1;
                e->Strength = 100 + n;
                e->Display = std::string(1, e->Kind) + " " + DotName(*e);
                ScenarioBuilder(scn).IndexDotName(*e);
            }
}

using scntest::Boxes;

template <class R> void CheckUnitLines(const std::vector<std::string>& lines, RecordList<R> list) {
    check(lines.size() == list.size(), "list box and list differ in length");
    for (std::size_t i = 0; i < list.size(); ++i) check(lines[i] == list[i]->Unit->Display, "a wrong list box line");
}

void CheckBoxes(Boxes& boxes, const Scenario& scn) {
    CheckUnitLines(boxes.lines[ScnListBox::SetUnits], scn.SetupList());
    CheckUnitLines(boxes.lines[ScnListBox::Releases], scn.ReleaseList());
    CheckUnitLines(boxes.lines[ScnListBox::Commands], scn.CommandList());
    const auto& groups = boxes.lines[ScnListBox::Reinfor];
    check(groups.size() == scn.ReinfList().size(), "group list box and list differ in length");
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const TReinfGroup* g = scn.ReinfList()[i];
        check(g->Count >= 1 && g->Count <= 10, "a group without units or with more than ten");
        for (int u = 0; u < g->Count; ++u)
            check(g->Units[static_cast<std::size_t>(u)] != nullptr, "an empty used slot");
        check(groups[i].starts_with(g->Units[0]->Display), "a group line not of its first unit");
    }
}

std::string Dot(const TOobRec* e) { return e ? DotName(*e) : std::string("-"); }

void CompareLists(const Scenario& held, const Scenario& back) {
    check(back.SetupList().size() == held.SetupList().size(), "placements lost or added");
    for (std::size_t i = 0; i < held.SetupList().size(); ++i) {
        const TSetupRec& a = *held.SetupList()[i];
        const TSetupRec& b = *back.SetupList()[i];
        check(Dot(a.Unit) == Dot(b.Unit) && a.Facing == b.Facing && a.Aux == b.Aux && a.Strength == b.Strength &&
                  a.Fatigue == b.Fatigue && a.Flags == b.Flags && a.Col == b.Col && a.Row == b.Row,
              "a placement reads back different");
    }
    check(back.ReleaseList().size() == held.ReleaseList().size(), "releases lost or added");
    for (std::size_t i = 0; i < held.ReleaseList().size(); ++i) {
        const TReleaseRec& a = *held.ReleaseList()[i];
        const TReleaseRec& b = *back.ReleaseList()[i];
        check(Dot(a.Unit) == Dot(b.Unit) && a.Year == b.Year && a.Month == b.Month && a.Day == b.Day &&
                  a.Hour == b.Hour && a.Minute == b.Minute && a.Chance == b.Chance,
              "a release reads back different");
    }
    check(back.ReinfList().size() == held.ReinfList().size(), "groups lost or added");
    for (std::size_t i = 0; i < held.ReinfList().size(); ++i) {
        const TReinfGroup& a = *held.ReinfList()[i];
        const TReinfGroup& b = *back.ReinfList()[i];
        check(a.Year == b.Year && a.Month == b.Month && a.Day == b.Day && a.Hour == b.Hour && a.Minute == b.Minute &&
                  a.Chance == b.Chance && a.Col == b.Col && a.Row == b.Row && a.Count == b.Count &&
                  a.Facing == b.Facing && a.ProtHexes == b.ProtHexes,
              "a group reads back different");
        for (int u = 0; u < a.Count; ++u)
            check(Dot(a.Units[static_cast<std::size_t>(u)]) == Dot(b.Units[static_cast<std::size_t>(u)]),
                  "a group's unit reads back different");
    }
    // Commands come back block by block, and the blocks are numbered from 1
    // in the order of the groups that have commands.
    std::vector<const TCommandRec*> held_commands(held.CommandList().begin(), held.CommandList().end());
    std::stable_sort(held_commands.begin(), held_commands.end(),
                     [](const TCommandRec* x, const TCommandRec* y) { return x->Group < y->Group; });
    check(back.CommandList().size() == held_commands.size(), "commands lost or added");
    int block = 0, lastGroup = -1;
    for (std::size_t i = 0; i < held_commands.size(); ++i) {
        const TCommandRec& a = *held_commands[i];
        const TCommandRec& b = *back.CommandList()[i];
        if (a.Group != lastGroup) {
            ++block;
            lastGroup = a.Group;
        }
        check(b.Group == block && Dot(a.Unit) == Dot(b.Unit) && a.Year == b.Year && a.Month == b.Month &&
                  a.Day == b.Day && a.Hour == b.Hour && a.Minute == b.Minute && a.Col == b.Col && a.Row == b.Row &&
                  a.Command == b.Command,
              "a command reads back different");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    Scenario scn;
    FixedOob(scn);
    for (int i = 1; i <= 9; ++i) ScenarioBuilder(scn).ScnHeader().push_back("H" + std::to_string(i));
    Boxes boxes(check);
    Selection sel;
    scntest::RemovedRecords gone;
    const WriteOptions asRead{.SortByCol = false, .V103 = false};

    for (int step = 0; step < 64 && in.remaining_bytes() > 0; ++step) {
        scn.Modified = false;
        const std::string textBefore = ScenarioText(scn, asRead, nullptr);
        const auto linesBefore = boxes.lines;
        EditStep edit;
        edit.Follow(sel);
        const bool done = scntest::RandomEdit(in, scn, sel, boxes, gone, edit, check);
        sel.Forget(edit, true);
        edit.end();
        check(scn.Modified == done, done ? "a change that does not set Modified" : "Modified set without a change");
        check(edit.empty() == !done, "a step that does not hold what its operation changed");
        CheckBoxes(boxes, scn);

        const std::string textAfter = ScenarioText(scn, asRead, nullptr);
        const auto linesAfter = boxes.lines;
        const SelectionState selectedAfter = sel.State();
        Undo(scn, edit, boxes);
        sel.Replay(edit, false);
        check(ScenarioText(scn, asRead, nullptr) == textBefore, "an undo that does not give back the text");
        check(boxes.lines == linesBefore, "an undo that does not give back the list lines");
        check(!done || sel.State() == edit.SelectionBefore(), "an undo that does not give back the selection");
        Redo(scn, edit, boxes);
        sel.Replay(edit, true);
        check(ScenarioText(scn, asRead, nullptr) == textAfter, "a redo that does not give the text of the edit");
        check(boxes.lines == linesAfter, "a redo that does not give the list lines of the edit");
        check(sel.State() == selectedAfter, "a redo that does not give the selection of the edit");
    }

    const std::string written = ScenarioText(scn, asRead, nullptr);
    Scenario back;
    FixedOob(back);
    ReadListener quiet;
    ResetScenario(back, quiet);
    LineReader text = LineReader::fromText(written);
    try {
        ReadScenarioText(back, text, quiet);
    } catch (const ScnError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        check(false, "the saved scenario does not read back");
    }
    CompareLists(scn, back);
    return 0;
}
