#pragma once
// One random edit of a scenario, as the editor's pages, map, Edit menu and
// header dialog make them: Add, Remove, store of a page's fields and moves on
// every list, group joins and removals, the strength synch and new header
// lines, with the values the pages can hand over, the selection the pages
// make (the record a page stores into is current, an Add selects what it
// made), and the list boxes a window keeps from what it is told. Shared by the fuzz target
// of the edit operations and the undo property tests; `Source` is libFuzzer's
// FuzzedDataProvider or anything with its ConsumeIntegralInRange,
// ConsumeIntegral and ConsumeBool (RandomSource below).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/cliptext.h"
#include "scenario/manyedit.h"
#include "scenario/scenario.h"
#include "scenario/scnedit.h"
#include "scenario/selection.h"

namespace scntest {

using namespace varno;

// Reports a broken expectation (the fuzz target aborts, a test fails).
using CheckFn = void (*)(bool condition, const char* what);

// FuzzedDataProvider's calls, answered by a seeded generator.
class RandomSource {
public:
    explicit RandomSource(unsigned seed) : rng_(seed) {}
    template <class T> T ConsumeIntegralInRange(T lo, T hi) { return std::uniform_int_distribution<T>(lo, hi)(rng_); }
    template <class T> T ConsumeIntegral() {
        return ConsumeIntegralInRange(std::numeric_limits<T>::min(), std::numeric_limits<T>::max());
    }
    bool ConsumeBool() { return ConsumeIntegralInRange(0, 1) == 1; }

private:
    std::mt19937 rng_;
};

// How the user picks an entry in the order-of-battle column before an edit:
// by default it only becomes the selection's current entry; a window's test
// also shows it selected in its column.
using PickEntryFn = std::function<void(const TOobRec* entry)>;

// The list boxes as a window keeps them from what it is told, every box
// there from the start so that lines compare by their lists.
struct Boxes : EditListener {
    explicit Boxes(CheckFn check) : check(check) {}
    CheckFn check;
    std::map<ScnListBox, std::vector<std::string>> lines{
        {ScnListBox::SetUnits, {}}, {ScnListBox::Releases, {}}, {ScnListBox::Reinfor, {}}, {ScnListBox::Commands, {}}};
    int headers = 0;

    void listCleared(ScnListBox box) override { lines[box].clear(); }
    void lineAdded(ScnListBox box, std::string_view text) override { lines[box].emplace_back(text); }
    void lineRemoved(ScnListBox box, int index) override {
        if (inside(box, index, "a removed line that is not there")) lines[box].erase(lines[box].begin() + index);
    }
    void lineChanged(ScnListBox box, int index, std::string_view text) override {
        if (inside(box, index, "a changed line that is not there")) lines[box][static_cast<std::size_t>(index)] = text;
    }
    void lineInserted(ScnListBox box, int index, std::string_view text) override {
        if (index == static_cast<int>(lines[box].size()) || inside(box, index, "a line put in outside the list"))
            lines[box].insert(lines[box].begin() + index, std::string(text));
    }
    void headerChanged() override { ++headers; }

private:
    bool inside(ScnListBox box, int index, const char* what) {
        const bool ok = index >= 0 && index < static_cast<int>(lines[box].size());
        check(ok, what);
        return ok;
    }
};

// Records taken out of their lists: a page may still hold one.
struct RemovedRecords {
    std::vector<const TSetupRec*> setups;
    std::vector<const TReleaseRec*> releases;
    std::vector<const TReinfGroup*> groups;
    std::vector<const TCommandRec*> commands;
};

template <class Source> DateFields RandomDate(Source& in) {
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
template <class Source, class R>
const R* PickRecord(Source& in, RecordList<R> list, const std::vector<const R*>& removed = {}) {
    if (!removed.empty() && in.ConsumeIntegralInRange(0, 7) == 0)
        return removed[in.ConsumeIntegralInRange(std::size_t{0}, removed.size() - 1)];
    if (list.empty()) return nullptr;
    return list[in.ConsumeIntegralInRange(std::size_t{0}, list.size() - 1)];
}

template <class R> void Forget(std::vector<const R*>& removed, const R* rec, bool done) {
    if (done && rec) removed.push_back(rec);
}

// Header lines as the dialog may hand them over: kept, empty, short, too
// long, or with a line break inside.
template <class Source> HeaderLines RandomHeader(Source& in, const Scenario& scn) {
    HeaderLines lines = HeaderOf(scn);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        switch (in.ConsumeIntegralInRange(0, 5)) {
        case 0: lines[i].clear(); break;
        case 1: lines[i] = "Line " + std::to_string(in.ConsumeIntegralInRange(0, 99)); break;
        case 2: lines[i] = std::string(300, static_cast<char>(in.ConsumeIntegralInRange(0x20, 0xFF))); break;
        case 3: lines[i] = "one\r\ntwo"; break;
        default: break;  // kept as it is
        }
    }
    return lines;
}

// The record a page acts on becomes current, as a click on its line makes it.
template <class R> const R* Current(Selection& sel, const R* rec) {
    if (rec) sel.Select(rec);
    return rec;
}

// Makes one random edit through the operations, each told `step`, with the
// selection the pages make, and returns whether it changed the scenario.
template <class Source> bool RandomEdit(Source& in, Scenario& scn, Selection& sel, EditListener& boxes,
                                        RemovedRecords& gone, EditStep& step, CheckFn check,
                                        const PickEntryFn& pick = {}) {
    const TOobRec* entry = scn.OobList()[in.ConsumeIntegralInRange(std::size_t{0}, scn.OobList().size() - 1)];
    // The user picks the entry in the column first, and now and then another
    // line of a list (joining it to the selection of its kind).
    if (pick)
        pick(entry);
    else
        sel.Select(entry);
    if (in.ConsumeIntegralInRange(0, 3) == 0)
        if (const TSetupRec* other = PickRecord(in, scn.SetupList())) sel.Add(other);
    bool done = false;
    switch (in.ConsumeIntegralInRange(0, 20)) {
    case 0: {
        SetupDefaults d{in.ConsumeIntegralInRange(1, 32), in.ConsumeBool(), in.ConsumeBool()};
        const bool allowed = CanPlace(*entry);
        done = Current(sel, AddSetup(scn, entry, d, boxes, step)) != nullptr;
        check(done == allowed, "AddSetup against CanPlace");
        if (done) check(entry->Setup == scn.SetupList().back(), "a new placement not linked to its entry");
        break;
    }
    case 1: {
        const TSetupRec* rec = PickRecord(in, scn.SetupList(), gone.setups);
        done = RemoveSetup(scn, Current(sel, rec), boxes, step);
        Forget(gone.setups, rec, done);
        break;
    }
    case 2: {
        // The number edits hold any 32-bit value; the check boxes any flags.
        SetupFields f{in.template ConsumeIntegral<std::int32_t>(), in.template ConsumeIntegral<std::int32_t>(),
                      in.template ConsumeIntegral<std::int32_t>(), in.template ConsumeIntegral<std::int32_t>(),
                      in.template ConsumeIntegral<std::int32_t>(), in.template ConsumeIntegral<std::uint32_t>()};
        done = StoreSetup(scn, Current(sel, PickRecord(in, scn.SetupList())), f, boxes, step);
        break;
    }
    case 3:
        done =
            MoveSetup(scn, Current(sel, PickRecord(in, scn.SetupList())), in.template ConsumeIntegral<std::int32_t>(),
                      in.template ConsumeIntegral<std::int32_t>(), boxes, step);
        break;
    case 4: done = Current(sel, AddRelease(scn, entry, RandomDate(in), boxes, step)) != nullptr; break;
    case 5: {
        const TReleaseRec* rec = PickRecord(in, scn.ReleaseList(), gone.releases);
        done = RemoveRelease(scn, Current(sel, rec), boxes, step);
        Forget(gone.releases, rec, done);
        break;
    }
    case 6: {
        ReleaseFields f{RandomDate(in), in.ConsumeIntegralInRange(1, 20) * 5};
        done = StoreRelease(scn, Current(sel, PickRecord(in, scn.ReleaseList())), f, boxes, step);
        break;
    }
    case 7:
    case 11: {
        GroupFields f{RandomDate(in),
                      in.ConsumeIntegralInRange(1, 20) * 5,
                      in.ConsumeIntegralInRange(0, 255),
                      in.ConsumeIntegralInRange(0, 255),
                      in.ConsumeIntegralInRange(1, 32),
                      in.ConsumeIntegralInRange(0, 20)};
        if (in.ConsumeBool()) {
            // The page offers Add only for an entry that may reinforce.
            if (CanReinforce(*entry)) done = Current(sel, AddGroup(scn, entry, f, boxes, step)) != nullptr;
        } else {
            done = StoreGroup(scn, Current(sel, PickRecord(in, scn.ReinfList())), f, boxes, step);
        }
        break;
    }
    case 8:
        if (CanReinforce(*entry))
            done = AddToGroup(scn, Current(sel, PickRecord(in, scn.ReinfList(), gone.groups)), entry, boxes, step);
        break;
    case 9: {
        const TReinfGroup* g = Current(sel, PickRecord(in, scn.ReinfList(), gone.groups));
        const bool last = g && g->Count == 1;
        done = RemoveGroupUnit(scn, g, in.ConsumeIntegralInRange(-1, 10), boxes, step);
        Forget(gone.groups, g, done && last);
        break;
    }
    case 10: {
        const TReinfGroup* g = Current(sel, PickRecord(in, scn.ReinfList(), gone.groups));
        done = RemoveGroup(scn, g, boxes, step);
        Forget(gone.groups, g, done);
        break;
    }
    case 12: {
        CommandFields f{RandomDate(in), in.ConsumeIntegralInRange(1, 8), in.ConsumeIntegralInRange(0, 255),
                        in.ConsumeIntegralInRange(0, 255), in.ConsumeIntegralInRange(-1, 4)};
        if (in.ConsumeBool())
            done = Current(sel, AddCommand(scn, entry, f, boxes, step)) != nullptr;
        else
            done = StoreCommand(scn, Current(sel, PickRecord(in, scn.CommandList())), f, boxes, step);
        break;
    }
    case 13: {
        const TCommandRec* rec = PickRecord(in, scn.CommandList(), gone.commands);
        done = RemoveCommand(scn, Current(sel, rec), boxes, step);
        Forget(gone.commands, rec, done);
        break;
    }
    case 14: done = SynchStrengths(scn, boxes, step) > 0; break;
    case 15: done = ReplaceHeader(scn, RandomHeader(in, scn), boxes, step); break;
    case 16: {
        // A drop on the map: placed anew there, or a placed unit or leader moved there.
        const int col = in.ConsumeIntegralInRange(0, 255), row = in.ConsumeIntegralInRange(0, 255);
        const std::size_t before = scn.SetupList().size();
        const TSetupRec* placed = entry->Kind != 'S' ? entry->Setup : nullptr;
        const bool moves = placed && (placed->Col != col || placed->Row != row);
        const TSetupRec* rec = Current(sel, PlaceEntryAt(scn, entry, col, row, SetupDefaults{}, boxes, step));
        done = rec && (scn.SetupList().size() != before || moves);
        if (rec) check(rec->Col == col && rec->Row == row, "a drop not on its hex");
        break;
    }
    case 18: {
        // Remove on a list's selection: some placements and commands at once.
        std::vector<const TSetupRec*> setups;
        std::vector<const TCommandRec*> commands;
        for (int i = in.ConsumeIntegralInRange(0, 4); i > 0; --i) {
            if (const TSetupRec* r = PickRecord(in, scn.SetupList(), gone.setups)) setups.push_back(r);
            if (const TCommandRec* c = PickRecord(in, scn.CommandList(), gone.commands)) commands.push_back(c);
        }
        std::vector<const TSetupRec*> inList;
        for (const TSetupRec* r : scn.SetupList())
            if (std::find(setups.begin(), setups.end(), r) != setups.end()) inList.push_back(r);
        const std::size_t n = RemoveRecords(scn, setups, boxes, step) + RemoveRecords(scn, commands, boxes, step);
        check(n >= inList.size(), "a selected placement left in its list");
        for (const TSetupRec* r : inList) gone.setups.push_back(r);
        done = n > 0;
        break;
    }
    case 19: {
        // Copy and paste: some records of the scenario as text, pasted back.
        CopiedRecords copied;
        for (int i = in.ConsumeIntegralInRange(0, 3); i > 0; --i) {
            if (const TSetupRec* r = PickRecord(in, scn.SetupList())) copied.Setups.push_back(r);
            if (const TReleaseRec* r = PickRecord(in, scn.ReleaseList())) copied.Releases.push_back(r);
            if (const TReinfGroup* g = PickRecord(in, scn.ReinfList())) copied.Groups.push_back(g);
            if (const TCommandRec* c = PickRecord(in, scn.CommandList())) copied.Commands.push_back(c);
        }
        PastedText pasted = ReadRecordText(RecordText(copied), [&scn](const DotKey& k) { return scn.FindDotName(k); });
        check(pasted.BadLines.empty() && pasted.UnknownUnits == 0, "copied records that do not read back");
        KeepAddable(pasted, scn.ReleaseList(), scn.ReinfList());
        const AddedRecords added = AddPasted(scn, pasted, boxes, step);
        check(added.size() == pasted.records(), "pasted records refused after KeepAddable");
        done = added.size() > 0;
        break;
    }
    case 20: {
        // Edit together: a chance for some releases, a strength for some placements.
        std::vector<const TReleaseRec*> releases;
        std::vector<const TSetupRec*> setups;
        for (int i = in.ConsumeIntegralInRange(1, 4); i > 0; --i) {
            if (const TReleaseRec* r = PickRecord(in, scn.ReleaseList())) releases.push_back(r);
            if (const TSetupRec* r = PickRecord(in, scn.SetupList())) setups.push_back(r);
        }
        Shared<ReleaseFields> rp = ShareFields(releases);
        const Shared<ReleaseFields> rs = rp;
        rp.Values.Chance = in.ConsumeIntegralInRange(1, 20) * 5;
        rp.Mixed &= ~(1u << 5);
        Shared<SetupFields> sp = ShareFields(setups);
        const Shared<SetupFields> ss = sp;
        sp.Values.Strength = in.ConsumeIntegralInRange(0, 255);
        sp.Mixed &= ~(1u << 2);
        done = StoreTogether(scn, releases, rp, ChangesOf(rs, rp), boxes, step) +
                   StoreTogether(scn, setups, sp, ChangesOf(ss, sp), boxes, step) >
               0;
        break;
    }
    default:
        // A store with the record's own values changes nothing.
        if (const TSetupRec* rec = PickRecord(in, scn.SetupList())) {
            check(!StoreSetup(scn, rec, FieldsOf(*rec), boxes, step), "storing a placement's own values");
        }
        break;
    }
    return done;
}

}  // namespace scntest
