#include "scenario/scnedit.h"

#include <algorithm>
#include <vector>

#include "scenario/ooblookup.h"

namespace varno {

namespace {

std::uint8_t Low8(std::int32_t v) { return static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) & 0xFFu); }
std::uint8_t StoredYear(std::int32_t shown) { return Low8(shown - 1800); }

// Takes the record at `index` out of its list and tells the listener.
template <class T> void RemoveAt(std::vector<T*>& list, int index, ScnListBox box, EditListener& listener) {
    list.erase(list.begin() + index);
    listener.lineRemoved(box, index);
}

// Takes a timed record out of its list: it stops being current, the
// scenario counts as changed. False when the record is not in the list.
template <class T>
bool RemoveRecord(Scenario& scn, std::vector<T*>& list, T*& current, T* rec, ScnListBox box, EditListener& listener) {
    const int index = IndexIn(list, static_cast<const T*>(rec));
    if (index < 0) return false;
    if (current == rec) current = nullptr;
    scn.Modified = true;
    RemoveAt(list, index, box, listener);
    return true;
}

template <class R> void PutDate(R& rec, const DateFields& f) {
    rec.Year = StoredYear(f.Year);
    rec.Month = Low8(f.Month);
    rec.Day = Low8(f.Day);
    rec.Hour = Low8(f.Hour);
    rec.Minute = Low8(f.Minute);
}

template <class R> DateFields DateOf(const R& rec) {
    return {rec.Year + 1800, rec.Month, rec.Day, rec.Hour, rec.Minute};
}

bool IsPlaceable(char kind) { return kind == 'U' || kind == 'L' || kind == 'S'; }

}  // namespace

// --- Placements -------------------------------------------------------------

bool CanPlace(const TOobRec& entry) {
    if (!IsPlaceable(entry.Kind)) return false;
    // A wagon may stand in several places; a unit or leader in one.
    return entry.Kind == 'S' || entry.Setup == nullptr;
}

TSetupRec* AddSetup(Scenario& scn, TOobRec* entry, const SetupDefaults& defaults, EditListener& listener) {
    if (!entry || !CanPlace(*entry)) return nullptr;
    scn.NewSetup();
    TSetupRec* rec = scn.CurSetup;
    entry->Setup = rec;
    rec->Unit = entry;
    rec->Strength = Low8(entry->Strength);
    rec->Aux = 4;
    rec->Facing = Low8(defaults.Facing);
    if (entry->Kind == 'L') {
        rec->Flags = sfMounted;  // leaders ride, whatever the defaults say
    } else {
        rec->Flags = defaults.Mounted ? std::uint32_t{sfMounted} : 0u;
        if (defaults.Fixed) rec->Flags |= sfFixed;
    }
    scn.Modified = true;
    listener.lineAdded(ScnListBox::SetUnits, entry->Display);
    return rec;
}

bool RemoveSetup(Scenario& scn, TSetupRec* rec, EditListener& listener) {
    const int index = IndexIn(scn.SetupList, rec);
    if (index < 0) return false;
    if (rec->Unit) {
        scn.CurOob = rec->Unit;
        rec->Unit->Setup = nullptr;
    }
    // A removed placement must not take the page's fields at the next store.
    if (scn.CurSetup == rec) scn.CurSetup = nullptr;
    scn.Modified = true;
    RemoveAt(scn.SetupList, index, ScnListBox::SetUnits, listener);
    return true;
}

TSetupRec* PlaceEntryAt(Scenario& scn, TOobRec* entry, int col, int row, const SetupDefaults& defaults,
                        EditListener& listener) {
    if (!entry || !IsPlaceable(entry->Kind)) return nullptr;
    TSetupRec* rec = entry->Kind != 'S' ? entry->Setup : nullptr;
    if (!rec) rec = AddSetup(scn, entry, defaults, listener);
    if (!rec) return nullptr;
    scn.CurSetup = rec;
    MoveSetup(scn, rec, col, row, listener);
    return rec;
}

SetupFields FieldsOf(const TSetupRec& rec) {
    return {rec.Col, rec.Row, rec.Strength, rec.Facing, rec.Fatigue, rec.Flags};
}

bool StoreSetup(Scenario& scn, TSetupRec* rec, const SetupFields& f, EditListener& listener) {
    if (!rec) return false;
    if (f == FieldsOf(*rec)) return false;
    rec->Flags = f.Flags;
    rec->Fatigue = Low8(f.Fatigue);
    rec->Strength = Low8(f.Strength);
    rec->Facing = Low8(f.Facing);
    rec->Row = Low8(f.Row);
    rec->Col = Low8(f.Col);
    scn.Modified = true;
    if (const int index = IndexIn(scn.SetupList, rec); index >= 0) listener.recordChanged(ScnListBox::SetUnits, index);
    return true;
}

bool MoveSetup(Scenario& scn, TSetupRec* rec, int col, int row, EditListener& listener) {
    if (!rec) return false;
    const std::uint8_t c = Low8(col), r = Low8(row);
    if (rec->Col == c && rec->Row == r) return false;
    rec->Col = c;
    rec->Row = r;
    scn.Modified = true;
    if (const int index = IndexIn(scn.SetupList, rec); index >= 0) listener.recordChanged(ScnListBox::SetUnits, index);
    return true;
}

std::string SetupLineLabel(const TSetupRec& rec, std::size_t n) {
    if (!rec.Unit) return {};
    const std::string& line = rec.Unit->Display;
    if (rec.Unit->Kind == 'U') {
        // A unit's line begins with four fields; its name follows them.
        std::size_t i = 0;
        for (int word = 0; word < 4; ++word) {
            while (i + 1 < line.size() && line[i] != ' ') ++i;
            while (i + 1 < line.size() && line[i] == ' ') ++i;
        }
        return line.substr(std::min(i, line.size()), n);
    }
    return line.size() <= n ? line : line.substr(line.size() - n);
}

// --- Releases ---------------------------------------------------------------

TReleaseRec* FindRelease(const Scenario& scn, const TOobRec* entry) {
    for (TReleaseRec* r : scn.ReleaseList)
        if (r->Unit == entry) return r;
    return nullptr;
}

TReleaseRec* AddRelease(Scenario& scn, TOobRec* entry, const DateFields& when, EditListener& listener) {
    if (!entry) return nullptr;
    scn.NewRelease();
    TReleaseRec* rec = scn.CurRelease;
    rec->Unit = entry;
    PutDate(*rec, when);
    rec->Chance = 100;
    scn.Modified = true;
    listener.lineAdded(ScnListBox::Releases, entry->Display);
    return rec;
}

bool RemoveRelease(Scenario& scn, TReleaseRec* rec, EditListener& listener) {
    return RemoveRecord(scn, scn.ReleaseList, scn.CurRelease, rec, ScnListBox::Releases, listener);
}

ReleaseFields FieldsOf(const TReleaseRec& rec) { return {DateOf(rec), rec.Chance}; }

bool StoreRelease(Scenario& scn, TReleaseRec* rec, const ReleaseFields& f, EditListener& listener) {
    if (!rec) return false;
    if (f == FieldsOf(*rec)) return false;
    PutDate(*rec, f.When);
    rec->Chance = Low8(f.Chance);
    scn.Modified = true;
    if (const int index = IndexIn(scn.ReleaseList, rec); index >= 0)
        listener.recordChanged(ScnListBox::Releases, index);
    return true;
}

// --- Reinforcement groups ---------------------------------------------------

bool CanReinforce(const TOobRec& entry) { return IsPlaceable(entry.Kind); }

TReinfGroup* FindGroupOf(const Scenario& scn, const TOobRec* entry) {
    for (TReinfGroup* g : scn.ReinfList) {
        const int used = std::min<int>(g->Count, static_cast<int>(g->Units.size()));
        for (int i = 0; i < used; ++i)
            if (g->Units[i] == entry) return g;
    }
    return nullptr;
}

TReinfGroup* AddGroup(Scenario& scn, TOobRec* entry, const GroupFields& f, EditListener& listener) {
    if (!entry) return nullptr;
    scn.NewReinfGroup();
    TReinfGroup* g = scn.CurReinf;
    PutDate(*g, f.When);
    g->Chance = 100;  // a new group arrives on time, whatever the field shows
    g->Col = Low8(f.Col);
    g->Row = Low8(f.Row);
    g->Facing = Low8(f.Facing);
    g->ProtHexes = Low8(f.ProtHexes);
    g->Count = 1;
    g->Units[0] = entry;
    scn.Modified = true;
    listener.lineAdded(ScnListBox::Reinfor, entry->Display);
    return g;
}

bool AddToGroup(Scenario& scn, TReinfGroup* group, TOobRec* entry, EditListener& listener) {
    const int index = IndexIn(scn.ReinfList, group);
    if (index < 0 || !entry || group->Count >= group->Units.size()) return false;
    group->Units[group->Count] = entry;
    ++group->Count;
    scn.Modified = true;
    if (group->Count == 2 && group->Units[0])
        listener.lineChanged(ScnListBox::Reinfor, index, group->Units[0]->Display + " ...");
    listener.recordChanged(ScnListBox::Reinfor, index);
    return true;
}

bool RemoveGroupUnit(Scenario& scn, TReinfGroup* group, int slot, EditListener& listener) {
    const int index = IndexIn(scn.ReinfList, group);
    if (index < 0 || slot < 0 || slot >= group->Count || slot >= static_cast<int>(group->Units.size())) return false;
    if (group->Count <= 1) return RemoveGroup(scn, group, listener);

    auto& units = group->Units;
    const int last = static_cast<int>(units.size()) - 1;
    // Each later slot moves one place down, up to the first empty one.
    int i = slot;
    for (; i < last; ++i) {
        units[i] = units[i + 1];
        if (!units[i + 1]) break;
    }
    if (i == last) units[last] = nullptr;
    --group->Count;
    scn.Modified = true;
    if ((slot == 0 || group->Count == 1) && units[0]) {
        std::string line = units[0]->Display;
        if (group->Count >= 2) line += "...";
        listener.lineChanged(ScnListBox::Reinfor, index, line);
    }
    listener.recordChanged(ScnListBox::Reinfor, index);
    return true;
}

bool RemoveGroup(Scenario& scn, TReinfGroup* group, EditListener& listener) {
    return RemoveRecord(scn, scn.ReinfList, scn.CurReinf, group, ScnListBox::Reinfor, listener);
}

GroupFields FieldsOf(const TReinfGroup& g) { return {DateOf(g), g.Chance, g.Col, g.Row, g.Facing, g.ProtHexes}; }

bool StoreGroup(Scenario& scn, TReinfGroup* g, const GroupFields& f, EditListener& listener) {
    if (!g) return false;
    if (f == FieldsOf(*g)) return false;
    PutDate(*g, f.When);
    g->Chance = Low8(f.Chance);
    g->Col = Low8(f.Col);
    g->Row = Low8(f.Row);
    g->Facing = Low8(f.Facing);
    g->ProtHexes = Low8(f.ProtHexes);
    scn.Modified = true;
    if (const int index = IndexIn(scn.ReinfList, g); index >= 0) listener.recordChanged(ScnListBox::Reinfor, index);
    return true;
}

// --- Commands ---------------------------------------------------------------

TCommandRec* AddCommand(Scenario& scn, TOobRec* entry, const CommandFields& f, EditListener& listener) {
    if (!entry) return nullptr;
    scn.NewCommand();
    TCommandRec* rec = scn.CurCommand;
    rec->Unit = entry;
    PutDate(*rec, f.When);
    rec->Group = Low8(f.Group);
    rec->Col = Low8(f.Col);
    rec->Row = Low8(f.Row);
    rec->Command = Low8(f.Command);
    scn.Modified = true;
    listener.lineAdded(ScnListBox::Commands, entry->Display);
    return rec;
}

bool RemoveCommand(Scenario& scn, TCommandRec* rec, EditListener& listener) {
    return RemoveRecord(scn, scn.CommandList, scn.CurCommand, rec, ScnListBox::Commands, listener);
}

CommandFields FieldsOf(const TCommandRec& rec) { return {DateOf(rec), rec.Group, rec.Col, rec.Row, rec.Command}; }

bool StoreCommand(Scenario& scn, TCommandRec* rec, const CommandFields& f, EditListener& listener) {
    if (!rec) return false;
    if (f == FieldsOf(*rec)) return false;
    PutDate(*rec, f.When);
    rec->Group = Low8(f.Group);
    rec->Col = Low8(f.Col);
    rec->Row = Low8(f.Row);
    rec->Command = Low8(f.Command);
    scn.Modified = true;
    if (const int index = IndexIn(scn.CommandList, rec); index >= 0)
        listener.recordChanged(ScnListBox::Commands, index);
    return true;
}

}  // namespace varno
