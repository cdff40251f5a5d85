// Any sequence of the editor's operations on a scenario: Add, Remove, store
// of a page's fields and moves, on every list, with the values the pages can
// hand over. After each operation the list box lines a window keeps from what
// it was told must match the lists, and Modified must say whether something
// changed. At the end the scenario is written, read back and compared with
// what the lists held.
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
#include "scenario/scnedit.h"
#include "scenario/scnerror.h"
#include "scenario/scnreader.h"
#include "scenario/scnwriter.h"

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
                scn.NewOobRec();
                TOobRec* e = scn.CurOob;
                e->Levels = {a, b, c, 0, 0, 0, 0, 0};
                e->Kind = b == 0 ? 'A' : (b == 4 && c == 0) ? 'B' : kKinds[n++ % 6];
                e->Side = a == 1;
                e->Strength = 100 + n;
                e->Display = std::string(1, e->Kind) + " " + DotName(*e);
                scn.IndexDotName(e);
            }
}

// The list boxes as a window keeps them from what it is told.
struct Boxes : EditListener {
    std::map<ScnListBox, std::vector<std::string>> lines;
    void lineAdded(ScnListBox box, std::string_view text) override { lines[box].emplace_back(text); }
    void lineRemoved(ScnListBox box, int index) override {
        auto& l = lines[box];
        check(index >= 0 && index < static_cast<int>(l.size()), "a removed line that is not there");
        l.erase(l.begin() + index);
    }
    void lineChanged(ScnListBox box, int index, std::string_view text) override {
        auto& l = lines[box];
        check(index >= 0 && index < static_cast<int>(l.size()), "a changed line that is not there");
        l[static_cast<std::size_t>(index)] = text;
    }
    void listCleared(ScnListBox box) override { lines[box].clear(); }
};

template <class R> void CheckUnitLines(const std::vector<std::string>& lines, const std::vector<R*>& list) {
    check(lines.size() == list.size(), "list box and list differ in length");
    for (std::size_t i = 0; i < list.size(); ++i) check(lines[i] == list[i]->Unit->Display, "a wrong list box line");
}

void CheckBoxes(Boxes& boxes, const Scenario& scn) {
    CheckUnitLines(boxes.lines[ScnListBox::SetUnits], scn.SetupList);
    CheckUnitLines(boxes.lines[ScnListBox::Releases], scn.ReleaseList);
    CheckUnitLines(boxes.lines[ScnListBox::Commands], scn.CommandList);
    const auto& groups = boxes.lines[ScnListBox::Reinfor];
    check(groups.size() == scn.ReinfList.size(), "group list box and list differ in length");
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const TReinfGroup* g = scn.ReinfList[i];
        check(g->Count >= 1 && g->Count <= 10, "a group without units or with more than ten");
        for (int u = 0; u < g->Count; ++u)
            check(g->Units[static_cast<std::size_t>(u)] != nullptr, "an empty used slot");
        check(groups[i].starts_with(g->Units[0]->Display), "a group line not of its first unit");
    }
}

DateFields Date(FuzzedDataProvider& in) {
    DateFields d;
    d.Year = in.ConsumeIntegralInRange(1861, 1865);
    d.Month = in.ConsumeIntegralInRange(1, 12);
    d.Day = in.ConsumeIntegralInRange(1, 31);
    d.Hour = in.ConsumeIntegralInRange(0, 23);
    d.Minute = in.ConsumeIntegralInRange(0, 2) * 20;
    return d;
}

// A record of `list`. Now and then, for the operations that look the record
// up in its list, one that was taken out of it (a page stores only into its
// current record, which a removal clears).
template <class R> R* Pick(FuzzedDataProvider& in, const std::vector<R*>& list, const std::vector<R*>& removed = {}) {
    if (!removed.empty() && in.ConsumeIntegralInRange(0, 7) == 0)
        return removed[in.ConsumeIntegralInRange<std::size_t>(0, removed.size() - 1)];
    if (list.empty()) return nullptr;
    return list[in.ConsumeIntegralInRange<std::size_t>(0, list.size() - 1)];
}

template <class R> void Forget(std::vector<R*>& removed, R* rec, bool done) {
    if (done && rec) removed.push_back(rec);
}

std::string Dot(const TOobRec* e) { return e ? DotName(*e) : std::string("-"); }

void CompareLists(const Scenario& held, const Scenario& back) {
    check(back.SetupList.size() == held.SetupList.size(), "placements lost or added");
    for (std::size_t i = 0; i < held.SetupList.size(); ++i) {
        const TSetupRec& a = *held.SetupList[i];
        const TSetupRec& b = *back.SetupList[i];
        check(Dot(a.Unit) == Dot(b.Unit) && a.Facing == b.Facing && a.Aux == b.Aux && a.Strength == b.Strength &&
                  a.Fatigue == b.Fatigue && a.Flags == b.Flags && a.Col == b.Col && a.Row == b.Row,
              "a placement reads back different");
    }
    check(back.ReleaseList.size() == held.ReleaseList.size(), "releases lost or added");
    for (std::size_t i = 0; i < held.ReleaseList.size(); ++i) {
        const TReleaseRec& a = *held.ReleaseList[i];
        const TReleaseRec& b = *back.ReleaseList[i];
        check(Dot(a.Unit) == Dot(b.Unit) && a.Year == b.Year && a.Month == b.Month && a.Day == b.Day &&
                  a.Hour == b.Hour && a.Minute == b.Minute && a.Chance == b.Chance,
              "a release reads back different");
    }
    check(back.ReinfList.size() == held.ReinfList.size(), "groups lost or added");
    for (std::size_t i = 0; i < held.ReinfList.size(); ++i) {
        const TReinfGroup& a = *held.ReinfList[i];
        const TReinfGroup& b = *back.ReinfList[i];
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
    std::vector<const TCommandRec*> held_commands(held.CommandList.begin(), held.CommandList.end());
    std::stable_sort(held_commands.begin(), held_commands.end(),
                     [](const TCommandRec* x, const TCommandRec* y) { return x->Group < y->Group; });
    check(back.CommandList.size() == held_commands.size(), "commands lost or added");
    int block = 0, lastGroup = -1;
    for (std::size_t i = 0; i < held_commands.size(); ++i) {
        const TCommandRec& a = *held_commands[i];
        const TCommandRec& b = *back.CommandList[i];
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
    for (int i = 1; i <= 9; ++i) scn.ScnHeader.push_back("H" + std::to_string(i));
    Boxes boxes;
    std::vector<TSetupRec*> goneSetups;
    std::vector<TReleaseRec*> goneReleases;
    std::vector<TReinfGroup*> goneGroups;
    std::vector<TCommandRec*> goneCommands;

    for (int step = 0; step < 64 && in.remaining_bytes() > 0; ++step) {
        TOobRec* entry = scn.OobList[in.ConsumeIntegralInRange<std::size_t>(0, scn.OobList.size() - 1)];
        scn.Modified = false;
        bool done = false;
        switch (in.ConsumeIntegralInRange(0, 14)) {
        case 0: {
            SetupDefaults d{in.ConsumeIntegralInRange(1, 32), in.ConsumeBool(), in.ConsumeBool()};
            const bool allowed = CanPlace(*entry);
            done = AddSetup(scn, entry, d, boxes) != nullptr;
            check(done == allowed, "AddSetup against CanPlace");
            if (done) check(entry->Setup == scn.SetupList.back(), "a new placement not linked to its entry");
            break;
        }
        case 1: {
            TSetupRec* rec = Pick(in, scn.SetupList, goneSetups);
            done = RemoveSetup(scn, rec, boxes);
            Forget(goneSetups, rec, done);
            break;
        }
        case 2: {
            // The number edits hold any 32-bit value; the check boxes any flags.
            SetupFields f{in.ConsumeIntegral<std::int32_t>(), in.ConsumeIntegral<std::int32_t>(),
                          in.ConsumeIntegral<std::int32_t>(), in.ConsumeIntegral<std::int32_t>(),
                          in.ConsumeIntegral<std::int32_t>(), in.ConsumeIntegral<std::uint32_t>()};
            done = StoreSetup(scn, Pick(in, scn.SetupList), f, boxes);
            break;
        }
        case 3:
            done = MoveSetup(scn, Pick(in, scn.SetupList), in.ConsumeIntegral<std::int32_t>(),
                             in.ConsumeIntegral<std::int32_t>(), boxes);
            break;
        case 4: done = AddRelease(scn, entry, Date(in), boxes) != nullptr; break;
        case 5: {
            TReleaseRec* rec = Pick(in, scn.ReleaseList, goneReleases);
            done = RemoveRelease(scn, rec, boxes);
            Forget(goneReleases, rec, done);
            break;
        }
        case 6: {
            ReleaseFields f{Date(in), in.ConsumeIntegralInRange(1, 20) * 5};
            done = StoreRelease(scn, Pick(in, scn.ReleaseList), f, boxes);
            break;
        }
        case 7:
        case 11: {
            GroupFields f{Date(in),
                          in.ConsumeIntegralInRange(1, 20) * 5,
                          in.ConsumeIntegralInRange(0, 255),
                          in.ConsumeIntegralInRange(0, 255),
                          in.ConsumeIntegralInRange(1, 32),
                          in.ConsumeIntegralInRange(0, 20)};
            if (in.ConsumeBool()) {
                // The page offers Add only for an entry that may reinforce.
                if (CanReinforce(*entry)) done = AddGroup(scn, entry, f, boxes) != nullptr;
            } else {
                done = StoreGroup(scn, Pick(in, scn.ReinfList), f, boxes);
            }
            break;
        }
        case 8:
            if (CanReinforce(*entry)) done = AddToGroup(scn, Pick(in, scn.ReinfList, goneGroups), entry, boxes);
            break;
        case 9: {
            TReinfGroup* g = Pick(in, scn.ReinfList, goneGroups);
            const bool last = g && g->Count == 1;
            done = RemoveGroupUnit(scn, g, in.ConsumeIntegralInRange(-1, 10), boxes);
            Forget(goneGroups, g, done && last);
            break;
        }
        case 10: {
            TReinfGroup* g = Pick(in, scn.ReinfList, goneGroups);
            done = RemoveGroup(scn, g, boxes);
            Forget(goneGroups, g, done);
            break;
        }
        case 12: {
            CommandFields f{Date(in), in.ConsumeIntegralInRange(1, 8), in.ConsumeIntegralInRange(0, 255),
                            in.ConsumeIntegralInRange(0, 255), in.ConsumeIntegralInRange(-1, 4)};
            if (in.ConsumeBool())
                done = AddCommand(scn, entry, f, boxes) != nullptr;
            else
                done = StoreCommand(scn, Pick(in, scn.CommandList), f, boxes);
            break;
        }
        case 13: {
            TCommandRec* rec = Pick(in, scn.CommandList, goneCommands);
            done = RemoveCommand(scn, rec, boxes);
            Forget(goneCommands, rec, done);
            break;
        }
        default:
            // A store with the record's own values changes nothing.
            if (TSetupRec* rec = Pick(in, scn.SetupList)) {
                check(!StoreSetup(scn, rec, FieldsOf(*rec), boxes), "storing a placement's own values");
            }
            break;
        }
        check(scn.Modified == done, done ? "a change that does not set Modified" : "Modified set without a change");
        CheckBoxes(boxes, scn);
    }

    const std::string written = ScenarioText(scn, {.SortByCol = false, .V103 = false}, nullptr);
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
