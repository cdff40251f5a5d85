#include "scenario/scnedit.h"

#include <algorithm>
#include <stdexcept>
#include <type_traits>
#include <variant>
#include <vector>

#include "scenario/ooblookup.h"
#include "scenario/scenariobuilder.h"
#include "scenario/scnerror.h"

namespace varno {

namespace {

std::uint8_t Low8(std::int32_t v) { return static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) & 0xFFu); }
std::uint8_t StoredYear(std::int32_t shown) { return Low8(shown - 1800); }

// Where each kind of record lives: its list, its list box, and the text of
// its line.
std::vector<TSetupRec*>& ListOf(Scenario& scn, const TSetupRec*) { return ScenarioBuilder(scn).SetupList(); }
std::vector<TReleaseRec*>& ListOf(Scenario& scn, const TReleaseRec*) { return ScenarioBuilder(scn).ReleaseList(); }
std::vector<TReinfGroup*>& ListOf(Scenario& scn, const TReinfGroup*) { return ScenarioBuilder(scn).ReinfList(); }
std::vector<TCommandRec*>& ListOf(Scenario& scn, const TCommandRec*) { return ScenarioBuilder(scn).CommandList(); }
ScnListBox BoxOf(const TSetupRec*) { return ScnListBox::SetUnits; }
ScnListBox BoxOf(const TReleaseRec*) { return ScnListBox::Releases; }
ScnListBox BoxOf(const TReinfGroup*) { return ScnListBox::Reinfor; }
ScnListBox BoxOf(const TCommandRec*) { return ScnListBox::Commands; }
template <class R> std::string LineOf(const R& rec) { return rec.Unit ? rec.Unit->Display : std::string(); }
std::string LineOf(const TReinfGroup& group) { return group.Line; }

// A record of the scenario, to change: the operations are the one place
// (besides the readers) that changes records.
template <class R> R& Mut(const R* rec) { return ScenarioBuilder::Edit(rec); }

// Notes the start of an operation in the step.
class Recording {
public:
    explicit Recording(EditStep& step) : step_(step) { step_.begin(); }
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;
    void add(EditChange change) { step_.add(std::move(change)); }

private:
    EditStep& step_;
};

// The position of `rec` in its list, or -1. An action on many records goes
// through them in list order (a removal and an undo backwards), so the
// record is looked for first beside the one found last: linear, not
// quadratic, over a selection of thousands.
template <class R> int FindInList(RecordList<R> list, const R* rec) {
    static thread_local std::size_t last = 0;
    if (!rec) return -1;
    for (const std::size_t i : {last + 1, last, last - 1})
        if (i < list.size() && list[i] == rec) {
            last = i;
            return static_cast<int>(i);
        }
    const int index = IndexIn<R>(list, rec);
    if (index >= 0) last = static_cast<std::size_t>(index);
    return index;
}

// Takes the record at `index` out of its list; the listener hears of it.
template <class R> void TakeOut(Scenario& scn, const R* rec, int index, EditListener& listener) {
    auto& list = ListOf(scn, rec);
    list.erase(list.begin() + index);
    listener.lineRemoved(BoxOf(rec), index);
}

template <class R> void PutIn(Scenario& scn, const R* rec, int index, EditListener& listener) {
    auto& list = ListOf(scn, rec);
    list.insert(list.begin() + index, &Mut(rec));
    listener.lineInserted(BoxOf(rec), index, LineOf(*rec));
}

// Takes a record out of its list, as a Remove: the scenario counts as
// changed. False when the record is not in the list.
template <class R> bool RemoveRecord(Scenario& scn, const R* rec, EditListener& listener, EditStep& step) {
    Recording note(step);
    const int index = FindInList<R>(ListOf(scn, rec), rec);
    if (index < 0) return false;
    scn.Modified = true;
    TakeOut(scn, rec, index, listener);
    note.add(ListEdit<R>{rec, index, false, *rec});
    return true;
}

template <class R> bool InsertRecord(Scenario& scn, const R* rec, int index, EditListener& listener, EditStep& step) {
    Recording note(step);
    auto& list = ListOf(scn, rec);
    if (!rec || index < 0 || index > static_cast<int>(list.size()) || IndexIn<R>(list, rec) >= 0) return false;
    scn.Modified = true;
    PutIn(scn, rec, index, listener);
    note.add(ListEdit<R>{rec, index, true, *rec});
    return true;
}

// The record just appended to its list by an Add.
template <class R> void NoteAdded(Recording& note, Scenario& scn, const R* rec) {
    note.add(ListEdit<R>{rec, static_cast<int>(ListOf(scn, rec).size()) - 1, true, *rec});
}

// Tells the listener that a record in its list has new values.
template <class R> void NoteChanged(Scenario& scn, const R* rec, EditListener& listener) {
    if (const int index = FindInList<R>(ListOf(scn, rec), rec); index >= 0) listener.recordChanged(BoxOf(rec), index);
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

std::uint8_t OobStrength(const TOobRec& entry) { return Low8(entry.Strength); }

const TSetupRec* AddSetup(Scenario& scn, const TOobRec* entry, const SetupDefaults& defaults, EditListener& listener,
                          EditStep& step) {
    if (!entry || !CanPlace(*entry)) return nullptr;
    Recording note(step);
    TSetupRec* rec = &ScenarioBuilder(scn).NewSetup();
    note.add(SetupLinkEdit{entry, entry->Setup, rec});
    Mut(entry).Setup = rec;
    rec->Unit = entry;
    rec->Strength = OobStrength(*entry);
    rec->Aux = 4;
    rec->Facing = Low8(defaults.Facing);
    if (entry->Kind == 'L') {
        rec->Flags = sfMounted;  // leaders ride, whatever the defaults say
    } else {
        rec->Flags = defaults.Mounted ? std::uint32_t{sfMounted} : 0u;
        if (defaults.Fixed) rec->Flags |= sfFixed;
    }
    scn.Modified = true;
    NoteAdded(note, scn, rec);
    listener.lineAdded(ScnListBox::SetUnits, entry->Display);
    return rec;
}

bool RemoveSetup(Scenario& scn, const TSetupRec* rec, EditListener& listener, EditStep& step) {
    if (FindInList(scn.SetupList(), rec) < 0) return false;
    Recording note(step);
    if (rec->Unit) {
        note.add(SetupLinkEdit{rec->Unit, rec->Unit->Setup, nullptr});
        Mut(rec->Unit).Setup = nullptr;
    }
    return RemoveRecord(scn, rec, listener, step);
}

const TSetupRec* PlaceEntryAt(Scenario& scn, const TOobRec* entry, int col, int row, const SetupDefaults& defaults,
                              EditListener& listener, EditStep& step) {
    if (!entry || !IsPlaceable(entry->Kind)) return nullptr;
    const TSetupRec* rec = entry->Kind != 'S' ? entry->Setup : nullptr;
    if (!rec) rec = AddSetup(scn, entry, defaults, listener, step);
    if (!rec) return nullptr;
    MoveSetup(scn, rec, col, row, listener, step);
    return rec;
}

SetupFields FieldsOf(const TSetupRec& rec) {
    return {rec.Col, rec.Row, rec.Strength, rec.Facing, rec.Fatigue, rec.Flags};
}

bool StoreSetup(Scenario& scn, const TSetupRec* rec, const SetupFields& f, EditListener& listener, EditStep& step) {
    if (!rec) return false;
    if (f == FieldsOf(*rec)) return false;
    Recording note(step);
    const TSetupRec before = *rec;
    TSetupRec& r = Mut(rec);
    r.Flags = f.Flags;
    r.Fatigue = Low8(f.Fatigue);
    r.Strength = Low8(f.Strength);
    r.Facing = Low8(f.Facing);
    r.Row = Low8(f.Row);
    r.Col = Low8(f.Col);
    scn.Modified = true;
    note.add(ValueEdit<TSetupRec>{rec, before, *rec});
    NoteChanged(scn, rec, listener);
    return true;
}

bool MoveSetup(Scenario& scn, const TSetupRec* rec, int col, int row, EditListener& listener, EditStep& step) {
    if (!rec) return false;
    const std::uint8_t c = Low8(col), r = Low8(row);
    if (rec->Col == c && rec->Row == r) return false;
    Recording note(step);
    const TSetupRec before = *rec;
    Mut(rec).Col = c;
    Mut(rec).Row = r;
    scn.Modified = true;
    note.add(ValueEdit<TSetupRec>{rec, before, *rec});
    NoteChanged(scn, rec, listener);
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

const TReleaseRec* FindRelease(const Scenario& scn, const TOobRec* entry) {
    for (const TReleaseRec* r : scn.ReleaseList())
        if (r->Unit == entry) return r;
    return nullptr;
}

const TReleaseRec* AddRelease(Scenario& scn, const TOobRec* entry, const DateFields& when, EditListener& listener,
                              EditStep& step) {
    if (!entry) return nullptr;
    Recording note(step);
    TReleaseRec* rec = &ScenarioBuilder(scn).NewRelease();
    rec->Unit = entry;
    PutDate(*rec, when);
    rec->Chance = 100;
    scn.Modified = true;
    NoteAdded(note, scn, rec);
    listener.lineAdded(ScnListBox::Releases, entry->Display);
    return rec;
}

bool RemoveRelease(Scenario& scn, const TReleaseRec* rec, EditListener& listener, EditStep& step) {
    return RemoveRecord(scn, rec, listener, step);
}

ReleaseFields FieldsOf(const TReleaseRec& rec) { return {DateOf(rec), rec.Chance}; }

bool StoreRelease(Scenario& scn, const TReleaseRec* rec, const ReleaseFields& f, EditListener& listener,
                  EditStep& step) {
    if (!rec) return false;
    if (f == FieldsOf(*rec)) return false;
    Recording note(step);
    const TReleaseRec before = *rec;
    PutDate(Mut(rec), f.When);
    Mut(rec).Chance = Low8(f.Chance);
    scn.Modified = true;
    note.add(ValueEdit<TReleaseRec>{rec, before, *rec});
    NoteChanged(scn, rec, listener);
    return true;
}

// --- Reinforcement groups ---------------------------------------------------

namespace {

// The page's values into a group (low 8 bits each), as Add and a store write them.
void PutFields(TReinfGroup& g, const GroupFields& f) {
    PutDate(g, f.When);
    g.Chance = Low8(f.Chance);
    g.Col = Low8(f.Col);
    g.Row = Low8(f.Row);
    g.Facing = Low8(f.Facing);
    g.ProtHexes = Low8(f.ProtHexes);
}

}  // namespace

bool CanReinforce(const TOobRec& entry) { return IsPlaceable(entry.Kind); }

const TReinfGroup* FindGroupOf(const Scenario& scn, const TOobRec* entry) {
    for (const TReinfGroup* g : scn.ReinfList()) {
        const int used = std::min<int>(g->Count, static_cast<int>(g->Units.size()));
        for (int i = 0; i < used; ++i)
            if (g->Units[i] == entry) return g;
    }
    return nullptr;
}

const TReinfGroup* AddGroup(Scenario& scn, const TOobRec* entry, const GroupFields& f, EditListener& listener,
                            EditStep& step) {
    if (!entry) return nullptr;
    Recording note(step);
    TReinfGroup* g = &ScenarioBuilder(scn).NewReinfGroup();
    PutFields(*g, f);
    g->Chance = 100;  // a new group arrives on time, whatever the field shows
    g->Count = 1;
    g->Units[0] = entry;
    g->Line = entry->Display;
    scn.Modified = true;
    NoteAdded(note, scn, g);
    listener.lineAdded(ScnListBox::Reinfor, g->Line);
    return g;
}

bool AddToGroup(Scenario& scn, const TReinfGroup* group, const TOobRec* entry, EditListener& listener, EditStep& step) {
    const int index = IndexIn(scn.ReinfList(), group);
    if (index < 0 || !entry || group->Count >= group->Units.size()) return false;
    Recording note(step);
    const TReinfGroup before = *group;
    TReinfGroup& g = Mut(group);
    g.Units[g.Count] = entry;
    ++g.Count;
    scn.Modified = true;
    const bool newLine = g.Count == 2 && g.Units[0];
    if (newLine) g.Line = g.Units[0]->Display + " ...";
    note.add(ValueEdit<TReinfGroup>{group, before, *group});
    if (newLine) listener.lineChanged(ScnListBox::Reinfor, index, group->Line);
    listener.recordChanged(ScnListBox::Reinfor, index);
    return true;
}

bool RemoveGroupUnit(Scenario& scn, const TReinfGroup* group, int slot, EditListener& listener, EditStep& step) {
    const int index = IndexIn(scn.ReinfList(), group);
    if (index < 0 || slot < 0 || slot >= group->Count || slot >= static_cast<int>(group->Units.size())) return false;
    if (group->Count <= 1) return RemoveGroup(scn, group, listener, step);

    Recording note(step);
    const TReinfGroup before = *group;
    TReinfGroup& g = Mut(group);
    auto& units = g.Units;
    const int last = static_cast<int>(units.size()) - 1;
    // Each later slot moves one place down, up to the first empty one.
    int i = slot;
    for (; i < last; ++i) {
        units[i] = units[i + 1];
        if (!units[i + 1]) break;
    }
    if (i == last) units[last] = nullptr;
    --g.Count;
    scn.Modified = true;
    const bool newLine = (slot == 0 || g.Count == 1) && units[0];
    if (newLine) g.Line = units[0]->Display + (g.Count >= 2 ? "..." : "");
    note.add(ValueEdit<TReinfGroup>{group, before, *group});
    if (newLine) listener.lineChanged(ScnListBox::Reinfor, index, group->Line);
    listener.recordChanged(ScnListBox::Reinfor, index);
    return true;
}

bool RemoveGroup(Scenario& scn, const TReinfGroup* group, EditListener& listener, EditStep& step) {
    return RemoveRecord(scn, group, listener, step);
}

GroupFields FieldsOf(const TReinfGroup& g) { return {DateOf(g), g.Chance, g.Col, g.Row, g.Facing, g.ProtHexes}; }

bool StoreGroup(Scenario& scn, const TReinfGroup* g, const GroupFields& f, EditListener& listener, EditStep& step) {
    if (!g) return false;
    if (f == FieldsOf(*g)) return false;
    Recording note(step);
    const TReinfGroup before = *g;
    PutFields(Mut(g), f);
    scn.Modified = true;
    note.add(ValueEdit<TReinfGroup>{g, before, *g});
    NoteChanged(scn, g, listener);
    return true;
}

// --- Commands ---------------------------------------------------------------

namespace {

void PutFields(TCommandRec& rec, const CommandFields& f) {
    PutDate(rec, f.When);
    rec.Group = Low8(f.Group);
    rec.Col = Low8(f.Col);
    rec.Row = Low8(f.Row);
    rec.Command = Low8(f.Command);
}

}  // namespace

const TCommandRec* AddCommand(Scenario& scn, const TOobRec* entry, const CommandFields& f, EditListener& listener,
                              EditStep& step) {
    if (!entry) return nullptr;
    Recording note(step);
    TCommandRec* rec = &ScenarioBuilder(scn).NewCommand();
    rec->Unit = entry;
    PutFields(*rec, f);
    scn.Modified = true;
    NoteAdded(note, scn, rec);
    listener.lineAdded(ScnListBox::Commands, entry->Display);
    return rec;
}

bool RemoveCommand(Scenario& scn, const TCommandRec* rec, EditListener& listener, EditStep& step) {
    return RemoveRecord(scn, rec, listener, step);
}

CommandFields FieldsOf(const TCommandRec& rec) { return {DateOf(rec), rec.Group, rec.Col, rec.Row, rec.Command}; }

bool StoreCommand(Scenario& scn, const TCommandRec* rec, const CommandFields& f, EditListener& listener,
                  EditStep& step) {
    if (!rec) return false;
    if (f == FieldsOf(*rec)) return false;
    Recording note(step);
    const TCommandRec before = *rec;
    PutFields(Mut(rec), f);
    scn.Modified = true;
    note.add(ValueEdit<TCommandRec>{rec, before, *rec});
    NoteChanged(scn, rec, listener);
    return true;
}

// --- Copies of records -------------------------------------------------------

const TSetupRec* AddSetupCopy(Scenario& scn, const TSetupRec& values, EditListener& listener, EditStep& step) {
    const TOobRec* entry = values.Unit;
    if (!entry || !CanPlace(*entry)) return nullptr;
    Recording note(step);
    TSetupRec* rec = &ScenarioBuilder(scn).NewSetup();
    *rec = values;
    note.add(SetupLinkEdit{entry, entry->Setup, rec});
    Mut(entry).Setup = rec;
    scn.Modified = true;
    NoteAdded(note, scn, rec);
    listener.lineAdded(ScnListBox::SetUnits, entry->Display);
    return rec;
}

const TReleaseRec* AddReleaseCopy(Scenario& scn, const TReleaseRec& values, EditListener& listener, EditStep& step) {
    if (!values.Unit) return nullptr;
    Recording note(step);
    TReleaseRec* rec = &ScenarioBuilder(scn).NewRelease();
    *rec = values;
    scn.Modified = true;
    NoteAdded(note, scn, rec);
    listener.lineAdded(ScnListBox::Releases, rec->Unit->Display);
    return rec;
}

const TReinfGroup* AddGroupCopy(Scenario& scn, const TReinfGroup& values, EditListener& listener, EditStep& step) {
    if (values.Count < 1 || values.Count > values.Units.size()) return nullptr;
    for (std::size_t i = 0; i < values.Count; ++i)
        if (!values.Units[i]) return nullptr;
    Recording note(step);
    TReinfGroup* g = &ScenarioBuilder(scn).NewReinfGroup();
    *g = values;
    for (std::size_t i = g->Count; i < g->Units.size(); ++i) g->Units[i] = nullptr;
    g->Line = ReinfDisplay(*g->Units[0], g->Count);
    scn.Modified = true;
    NoteAdded(note, scn, g);
    listener.lineAdded(ScnListBox::Reinfor, g->Line);
    return g;
}

const TCommandRec* AddCommandCopy(Scenario& scn, const TCommandRec& values, EditListener& listener, EditStep& step) {
    if (!values.Unit) return nullptr;
    Recording note(step);
    TCommandRec* rec = &ScenarioBuilder(scn).NewCommand();
    *rec = values;
    scn.Modified = true;
    NoteAdded(note, scn, rec);
    listener.lineAdded(ScnListBox::Commands, rec->Unit->Display);
    return rec;
}

// --- Putting a record back ----------------------------------------------------

bool InsertSetup(Scenario& scn, const TSetupRec* rec, int index, EditListener& listener, EditStep& step) {
    return InsertRecord(scn, rec, index, listener, step);
}
bool InsertRelease(Scenario& scn, const TReleaseRec* rec, int index, EditListener& listener, EditStep& step) {
    return InsertRecord(scn, rec, index, listener, step);
}
bool InsertGroup(Scenario& scn, const TReinfGroup* group, int index, EditListener& listener, EditStep& step) {
    return InsertRecord(scn, group, index, listener, step);
}
bool InsertCommand(Scenario& scn, const TCommandRec* rec, int index, EditListener& listener, EditStep& step) {
    return InsertRecord(scn, rec, index, listener, step);
}

// --- The strength synch and the header ----------------------------------------

std::size_t SynchStrengths(Scenario& scn, EditListener& listener, EditStep& step) {
    std::size_t changed = 0;
    for (const TSetupRec* rec : scn.SetupList()) {
        if (!rec || !rec->Unit) continue;
        SetupFields f = FieldsOf(*rec);
        f.Strength = OobStrength(*rec->Unit);
        if (StoreSetup(scn, rec, f, listener, step)) ++changed;
    }
    return changed;
}

HeaderLines HeaderOf(const Scenario& scn) {
    HeaderLines lines;
    for (std::size_t i = 0; i < lines.size() && i < scn.ScnHeader().size(); ++i) lines[i] = scn.ScnHeader()[i];
    return lines;
}

bool ReplaceHeader(Scenario& scn, const HeaderLines& lines, EditListener& listener, EditStep& step) {
    const HeaderLines now = HeaderOf(scn);
    HeaderLines kept;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // A line given as it is stays whole, whatever its length.
        const std::string_view line = lines[i];
        kept[i] = line == now[i] ? now[i]
                                 : line.substr(0, std::min({line.find_first_of("\r\n"), line.size(), kHeaderLineMax}));
    }
    // A save writes at least nine lines, the read ones first.
    if (kept == now && scn.ScnHeader().size() <= kept.size()) return false;
    Recording note(step);
    HeaderEdit edit{scn.ScnHeader(), std::vector<std::string>(kept.begin(), kept.end())};
    ScenarioBuilder(scn).ScnHeader() = edit.After;
    scn.Modified = true;
    note.add(std::move(edit));
    listener.headerChanged();
    return true;
}

// --- A whole scenario's records ------------------------------------------------

namespace {

// A record of another scenario put at the end of its list with its values,
// its entries those of this scenario's order of battle.
template <class R> R* AppendCopy(Scenario& scn, Recording& note, R& rec, const R& values, EditListener& listener) {
    rec = values;
    NoteAdded(note, scn, &rec);
    listener.lineAdded(BoxOf(&rec), LineOf(rec));
    return &rec;
}

}  // namespace

void ReplaceRecords(Scenario& scn, const Scenario& from, EditListener& listener, EditStep& step) {
    // Every entry `from` names, found before anything changes.
    auto entryOf = [&scn](const TOobRec* e) -> const TOobRec* {
        if (!e) return nullptr;
        const RecordList<TOobRec> oob = scn.OobList();
        if (e->Index < 0 || static_cast<std::size_t>(e->Index) >= oob.size() ||
            oob[static_cast<std::size_t>(e->Index)]->Levels != e->Levels)
            throw ScnError("The order of battle changed: " + DotName(*e) + " is not where it was");
        return oob[static_cast<std::size_t>(e->Index)];
    };
    for (const TSetupRec* s : from.SetupList()) entryOf(s->Unit);
    for (const TReleaseRec* r : from.ReleaseList()) entryOf(r->Unit);
    for (const TCommandRec* c : from.CommandList()) entryOf(c->Unit);
    for (const TReinfGroup* g : from.ReinfList())
        for (const TOobRec* u : g->Units) entryOf(u);

    Recording note(step);
    while (!scn.CommandList().empty()) RemoveCommand(scn, scn.CommandList().back(), listener, step);
    while (!scn.ReleaseList().empty()) RemoveRelease(scn, scn.ReleaseList().back(), listener, step);
    while (!scn.ReinfList().empty()) RemoveGroup(scn, scn.ReinfList().back(), listener, step);
    while (!scn.SetupList().empty()) RemoveSetup(scn, scn.SetupList().back(), listener, step);

    ScenarioBuilder build(scn);
    for (const TSetupRec* s : from.SetupList()) {
        TSetupRec values = *s;
        values.Unit = entryOf(s->Unit);
        TSetupRec* rec = AppendCopy(scn, note, build.NewSetup(), values, listener);
        if (rec->Unit) {
            // The entry's link names its last placement, as a Read leaves it.
            note.add(SetupLinkEdit{rec->Unit, rec->Unit->Setup, rec});
            Mut(rec->Unit).Setup = rec;
        }
    }
    for (const TReinfGroup* g : from.ReinfList()) {
        TReinfGroup values = *g;
        for (const TOobRec*& u : values.Units) u = entryOf(u);
        AppendCopy(scn, note, build.NewReinfGroup(), values, listener);
    }
    for (const TReleaseRec* r : from.ReleaseList()) {
        TReleaseRec values = *r;
        values.Unit = entryOf(r->Unit);
        AppendCopy(scn, note, build.NewRelease(), values, listener);
    }
    for (const TCommandRec* c : from.CommandList()) {
        TCommandRec values = *c;
        values.Unit = entryOf(c->Unit);
        AppendCopy(scn, note, build.NewCommand(), values, listener);
    }
    ReplaceHeader(scn, HeaderOf(from), listener, step);
    scn.Modified = true;
}

// --- Undo and redo ------------------------------------------------------------

namespace {

[[noreturn]] void Mismatch() { throw std::logic_error("the scenario is not as the undone step left it"); }

// Plays one change forward (redo) or back (undo).
struct Replay {
    Scenario& scn;
    EditListener& listener;
    bool forward;

    template <class R> void operator()(const ListEdit<R>& e) const {
        auto& list = ListOf(scn, e.Rec);
        if (e.In == forward) {
            if (e.Index < 0 || e.Index > static_cast<int>(list.size()) || IndexIn<R>(list, e.Rec) >= 0) Mismatch();
            Mut(e.Rec) = e.Values;
            PutIn(scn, e.Rec, e.Index, listener);
        } else {
            if (e.Index < 0 || e.Index >= static_cast<int>(list.size()) || list[e.Index] != e.Rec) Mismatch();
            TakeOut(scn, e.Rec, e.Index, listener);
        }
    }
    template <class R> void operator()(const ValueEdit<R>& e) const {
        const R& values = forward ? e.After : e.Before;
        if constexpr (std::is_same_v<R, TReinfGroup>) {
            const bool newLine = e.Rec->Line != values.Line;
            Mut(e.Rec) = values;
            const int index = IndexIn(scn.ReinfList(), e.Rec);
            if (newLine && index >= 0) listener.lineChanged(ScnListBox::Reinfor, index, e.Rec->Line);
        } else {
            Mut(e.Rec) = values;
        }
        NoteChanged(scn, e.Rec, listener);
    }
    void operator()(const SetupLinkEdit& e) const { Mut(e.Entry).Setup = forward ? e.After : e.Before; }
    void operator()(const HeaderEdit& e) const {
        ScenarioBuilder(scn).ScnHeader() = forward ? e.After : e.Before;
        listener.headerChanged();
    }
};

}  // namespace

void Undo(Scenario& scn, const EditStep& step, EditListener& listener) {
    const Replay back{scn, listener, false};
    for (auto it = step.changes().rbegin(); it != step.changes().rend(); ++it) std::visit(back, *it);
}

void Redo(Scenario& scn, const EditStep& step, EditListener& listener) {
    const Replay again{scn, listener, true};
    for (const EditChange& change : step.changes()) std::visit(again, change);
}

}  // namespace varno
