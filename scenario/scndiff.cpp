// The record-by-record comparison of two scenarios (rules in scndiff.h).
#include "scenario/scndiff.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <memory>
#include <string_view>
#include <utility>

#include "scenario/scnedit.h"

namespace varno {

namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

// One record as the lines and the differences show it: all text.
struct Described {
    std::string Label;  // the dot name (a group: its first unit's)
    std::string Name;   // the unit's (a group: its first unit's) name
    Fields F;
};

std::string Num(int v) { return std::to_string(v); }
std::string Hex(int col, int row) { return Num(col) + ',' + Num(row); }

std::string Date(int year, int month, int day, int hour, int minute) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d", 1800 + year, month, day, hour, minute);
    return buf;
}

std::string Dot(const TOobRec* unit) { return unit ? DotName(*unit) : std::string("?"); }

std::string Name(const TOobRec* unit) {
    if (!unit) return {};
    TSetupRec probe;
    probe.Unit = const_cast<TOobRec*>(unit);
    return SetupLineLabel(probe, 255);
}

Described Of(const TSetupRec& s) {
    Described d;
    d.Label = Dot(s.Unit);
    d.Name = Name(s.Unit);
    d.F = {{"hex", Hex(s.Col, s.Row)},  {"strength", Num(s.Strength)}, {"facing", Num(s.Facing)},
           {"fatigue", Num(s.Fatigue)}, {"flags", FlagNames(s.Flags)}, {"aux", Num(s.Aux)}};
    return d;
}

Described Of(const TReinfGroup& g) {
    Described d;
    const std::size_t n = std::min<std::size_t>(g.Count, g.Units.size());
    std::string units;  // in slot order
    for (std::size_t i = 0; i < n; ++i) {
        const std::string dot = Dot(g.Units[i]);
        if (i == 0) d.Label = dot;
        units += (i ? " " : "") + dot;
    }
    d.Name = n > 0 ? Name(g.Units[0]) : std::string();
    d.F = {{"date", Date(g.Year, g.Month, g.Day, g.Hour, g.Minute)},
           {"chance", Num(g.Chance)},
           {"hex", Hex(g.Col, g.Row)},
           {"facing", Num(g.Facing)},
           {"protected", Num(g.ProtHexes)},
           {"units", units}};
    return d;
}

Described Of(const TReleaseRec& r) {
    Described d;
    d.Label = Dot(r.Unit);
    d.Name = Name(r.Unit);
    d.F = {{"date", Date(r.Year, r.Month, r.Day, r.Hour, r.Minute)}, {"chance", Num(r.Chance)}};
    return d;
}

Described Of(const TCommandRec& c) {
    Described d;
    d.Label = Dot(c.Unit);
    d.Name = Name(c.Unit);
    d.F = {{"date", Date(c.Year, c.Month, c.Day, c.Hour, c.Minute)},
           {"group", Num(c.Group)},
           {"hex", Hex(c.Col, c.Row)},
           {"command", CommandName(c.Command)}};
    return d;
}

// A record's key in one round of the matching, as bytes: fixed-size fields
// one after the other, so that two records have the same bytes exactly when
// the texts the rules compare (dot names, values) are the same. Made again
// whenever it is needed; only its hash is kept.
class KeyBytes {
public:
    void clear() { n_ = 0; }
    void put(unsigned v) { b_[n_++] = static_cast<unsigned char>(v); }
    void put32(std::uint32_t v) {
        for (int k = 0; k < 4; ++k) put((v >> (8 * k)) & 0xFF);
    }
    // The entry's dot name: its numbers up to the first 0 (those after it
    // are no part of the name), or no entry at all ("?").
    void dot(const TOobRec* unit) {
        put(unit ? 1 : 0);
        bool ended = !unit;
        for (std::size_t k = 0; k < 8; ++k) {
            ended = ended || unit->Levels[k] == 0;
            put(ended ? 0 : unit->Levels[k]);
        }
    }
    void date(int year, int month, int day, int hour, int minute) {
        put(year), put(month), put(day), put(hour), put(minute);
    }
    std::string_view bytes() const { return {reinterpret_cast<const char*>(b_.data()), n_}; }
    bool operator==(const KeyBytes& o) const { return bytes() == o.bytes(); }
    std::uint64_t hash() const {  // FNV-1a, then mixed as splitmix64 does
        std::uint64_t h = 0xCBF29CE484222325ull;
        for (std::size_t i = 0; i < n_; ++i) h = (h ^ b_[i]) * 0x100000001B3ull;
        h = (h ^ (h >> 30)) * 0xBF58476D1CE4E5B9ull;
        h = (h ^ (h >> 27)) * 0x94D049BB133111EBull;
        return h ^ (h >> 31);
    }

private:
    std::array<unsigned char, 128> b_{};  // a group: 1 + 10 * 9 + 10 bytes at most
    std::size_t n_ = 0;
};

constexpr int kValues = -1;  // the key of the values alone, to tell a change

// The keys of the rounds (scndiff.h), and kValues. Round 0 is always the
// whole record, its values and its unit.
void KeyOf(const TSetupRec& s, int round, KeyBytes& k) {
    k.clear();
    if (round >= 0) k.dot(s.Unit);
    if (round == 1) return;
    k.put(s.Col), k.put(s.Row), k.put(s.Strength), k.put(s.Facing), k.put(s.Fatigue), k.put32(s.Flags), k.put(s.Aux);
}

void KeyOf(const TReinfGroup& g, int round, KeyBytes& k) {
    k.clear();
    const std::size_t n = std::min<std::size_t>(g.Count, g.Units.size());
    if (round == 2) {  // the first unit (none: as an empty dot name)
        if (n > 0) {
            k.dot(g.Units[0]);
        } else {
            k.put(1);
            for (int i = 0; i < 8; ++i) k.put(0);
        }
        return;
    }
    k.put(static_cast<unsigned>(n));
    if (round == 1) {  // the units in any slot order
        std::array<KeyBytes, 10> dots;
        for (std::size_t i = 0; i < n; ++i) dots[i].dot(g.Units[i]);
        std::sort(dots.begin(), dots.begin() + static_cast<std::ptrdiff_t>(n),
                  [](const KeyBytes& a, const KeyBytes& b) { return a.bytes() < b.bytes(); });
        for (std::size_t i = 0; i < n; ++i)
            for (const char c : dots[i].bytes()) k.put(static_cast<unsigned char>(c));
        return;
    }
    // The values hold the units in slot order: the whole record.
    for (std::size_t i = 0; i < n; ++i) k.dot(g.Units[i]);
    k.date(g.Year, g.Month, g.Day, g.Hour, g.Minute);
    k.put(g.Chance), k.put(g.Col), k.put(g.Row), k.put(g.Facing), k.put(g.ProtHexes);
}

void KeyOf(const TReleaseRec& r, int round, KeyBytes& k) {
    k.clear();
    if (round >= 0) k.dot(r.Unit);
    if (round == 2) return;
    k.date(r.Year, r.Month, r.Day, r.Hour, r.Minute);
    if (round != 1) k.put(r.Chance);
}

void KeyOf(const TCommandRec& c, int round, KeyBytes& k) {
    k.clear();
    if (round >= 0) k.dot(c.Unit);
    if (round == 2) return;
    k.date(c.Year, c.Month, c.Day, c.Hour, c.Minute);
    if (round != 1) k.put(c.Group), k.put(c.Col), k.put(c.Row), k.put(c.Command);
}

constexpr int RoundsOf(DiffKind kind) { return kind == DiffKind::Placement ? 2 : 3; }

// The outcome of matching one list: for each new record the old one it
// pairs with, and which old records are paired.
struct ListMatch {
    std::vector<std::int32_t> oldOf;  // -1: added
    std::vector<bool> oldPaired;      // false: removed
};

// Pairs the records of two lists in rounds of keys (see scndiff.h): in each
// round, each new record left over, in list order, takes the first old one
// left over with its key. The old records of a round are sorted by the hash
// of their key; records of one key then lie together in list order, and a
// cursor per hash skips those taken already.
template <class Rec> ListMatch Match(RecordList<Rec> olds, RecordList<Rec> news, int rounds) {
    ListMatch m;
    m.oldOf.assign(news.size(), -1);
    m.oldPaired.assign(olds.size(), false);
    struct Waiting {
        std::uint64_t hash;
        std::int32_t index;
        std::uint32_t cursor;  // in the first entry of a hash: where its untaken entries begin
    };
    std::vector<Waiting> waiting;
    KeyBytes oldKey, newKey;
    for (int round = 0; round < rounds; ++round) {
        waiting.clear();
        for (std::size_t i = 0; i < olds.size(); ++i) {
            if (m.oldPaired[i]) continue;
            KeyOf(*olds[i], round, oldKey);
            waiting.push_back({oldKey.hash(), static_cast<std::int32_t>(i), 0});
        }
        if (waiting.empty()) break;
        std::sort(waiting.begin(), waiting.end(), [](const Waiting& a, const Waiting& b) {
            return a.hash != b.hash ? a.hash < b.hash : a.index < b.index;
        });
        for (std::size_t p = 0; p < waiting.size(); ++p)
            if (p == 0 || waiting[p].hash != waiting[p - 1].hash) waiting[p].cursor = static_cast<std::uint32_t>(p);
        for (std::size_t j = 0; j < news.size(); ++j) {
            if (m.oldOf[j] >= 0) continue;
            KeyOf(*news[j], round, newKey);
            const std::uint64_t h = newKey.hash();
            const auto first = std::lower_bound(waiting.begin(), waiting.end(), h,
                                                [](const Waiting& w, std::uint64_t x) { return w.hash < x; });
            if (first == waiting.end() || first->hash != h) continue;
            std::uint32_t& cursor = first->cursor;
            // Two keys of one hash: the other key's records are passed over.
            for (std::size_t p = cursor; p < waiting.size() && waiting[p].hash == h; ++p) {
                const auto i = static_cast<std::size_t>(waiting[p].index);
                if (m.oldPaired[i]) {
                    if (p == cursor) ++cursor;
                    continue;
                }
                KeyOf(*olds[i], round, oldKey);
                if (!(oldKey == newKey)) continue;
                m.oldPaired[i] = true;
                m.oldOf[j] = waiting[p].index;
                if (p == cursor) ++cursor;
                break;
            }
        }
    }
    return m;
}

// The matched records of a list stand in another order in the new one.
bool OrderChanged(const ListMatch& m) {
    std::int32_t last = -1;
    for (const std::int32_t i : m.oldOf) {
        if (i < 0) continue;
        if (i < last) return true;
        last = i;
    }
    return false;
}

template <class Rec> bool SameValues(const Rec& a, const Rec& b) {
    KeyBytes x, y;
    KeyOf(a, kValues, x);
    KeyOf(b, kValues, y);
    return x == y;
}

DiffItem Item(DiffKind kind, DiffChange change, const Described& d) {
    DiffItem item;
    item.Kind = kind;
    item.Change = change;
    item.Key = d.Label;
    item.Name = d.Name;
    return item;
}

using ItemSink = std::function<void(const DiffItem&)>;

// The differences of one list: the removed records in the old list's order,
// then the changed and added ones in the new list's order.
template <class Rec>
void ListItems(DiffKind kind, RecordList<Rec> olds, RecordList<Rec> news, const ListMatch& m, const ItemSink& each) {
    for (std::size_t i = 0; i < olds.size(); ++i) {
        if (m.oldPaired[i]) continue;
        const Described d = Of(*olds[i]);
        DiffItem item = Item(kind, DiffChange::Removed, d);
        item.OldIndex = static_cast<int>(i);
        for (const auto& [f, v] : d.F) item.Fields.push_back({f, v, {}});
        each(item);
    }
    for (std::size_t j = 0; j < news.size(); ++j) {
        const std::int32_t i = m.oldOf[j];
        if (i < 0) {
            const Described d = Of(*news[j]);
            DiffItem item = Item(kind, DiffChange::Added, d);
            item.NewIndex = static_cast<int>(j);
            for (const auto& [f, v] : d.F) item.Fields.push_back({f, {}, v});
            each(item);
            continue;
        }
        const Rec& oldRec = *olds[static_cast<std::size_t>(i)];
        if (SameValues(oldRec, *news[j])) continue;
        const Described o = Of(oldRec);
        const Described n = Of(*news[j]);
        DiffItem item = Item(kind, DiffChange::Changed, n);
        item.OldIndex = i;
        item.NewIndex = static_cast<int>(j);
        for (std::size_t f = 0; f < n.F.size(); ++f)
            if (o.F[f].second != n.F[f].second) item.Fields.push_back({n.F[f].first, o.F[f].second, n.F[f].second});
        if (kind == DiffKind::Placement && item.Fields.size() == 1 && item.Fields[0].Field == "hex")
            item.Change = DiffChange::Moved;
        each(item);
    }
}

// How many records of a list are removed, added and changed.
template <class Rec> void CountList(RecordList<Rec> olds, RecordList<Rec> news, const ListMatch& m, DiffCounts& c) {
    for (const bool paired : m.oldPaired) c.Removed += !paired;
    for (std::size_t j = 0; j < news.size(); ++j) {
        const std::int32_t i = m.oldOf[j];
        if (i < 0)
            ++c.Added;
        else
            c.Changed += !SameValues(*olds[static_cast<std::size_t>(i)], *news[j]);
    }
}

DiffItem LineItem(DiffKind kind, DiffChange change, int oldAt, int newAt, const std::string& oldText,
                  const std::string& newText) {
    DiffItem item;
    item.Kind = kind;
    item.Change = change;
    item.OldIndex = oldAt;
    item.NewIndex = newAt;
    item.Key = Num((newAt >= 0 ? newAt : oldAt) + 1);
    item.Fields.push_back({"text", oldText, newText});
    return item;
}

// Header lines by their number.
void HeaderItems(const std::vector<std::string>& a, const std::vector<std::string>& b, const ItemSink& each) {
    const std::size_t n = std::max(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int at = static_cast<int>(i);
        if (i >= a.size())
            each(LineItem(DiffKind::Header, DiffChange::Added, -1, at, {}, b[i]));
        else if (i >= b.size())
            each(LineItem(DiffKind::Header, DiffChange::Removed, at, -1, a[i], {}));
        else if (a[i] != b[i])
            each(LineItem(DiffKind::Header, DiffChange::Changed, at, at, a[i], b[i]));
    }
}

using LinePairs = std::vector<std::pair<int, int>>;

// Free lines by the longest common run of lines: the (old, new) numbers of
// the lines kept, ending with (a.size(), b.size()).
LinePairs KeptLines(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    const std::size_t n = a.size(), m = b.size();
    LinePairs kept;
    if (n * m <= 4'000'000) {
        std::vector<std::vector<int>> len(n + 1, std::vector<int>(m + 1, 0));
        for (std::size_t i = n; i-- > 0;)
            for (std::size_t j = m; j-- > 0;)
                len[i][j] = a[i] == b[j] ? len[i + 1][j + 1] + 1 : std::max(len[i + 1][j], len[i][j + 1]);
        std::size_t i = 0, j = 0;
        while (i < n && j < m) {
            if (a[i] == b[j])
                kept.emplace_back(static_cast<int>(i++), static_cast<int>(j++));
            else if (len[i + 1][j] >= len[i][j + 1])
                ++i;
            else
                ++j;
        }
    } else {  // too long to align: lines by their number
        for (std::size_t i = 0; i < std::min(n, m); ++i)
            if (a[i] == b[i]) kept.emplace_back(static_cast<int>(i), static_cast<int>(i));
    }
    kept.emplace_back(static_cast<int>(n), static_cast<int>(m));
    return kept;
}

// Between two kept lines the old and the new lines pair up as changes, the
// rest are removed or added.
void TextItems(DiffKind kind, const std::vector<std::string>& a, const std::vector<std::string>& b,
               const LinePairs& kept, const ItemSink& each) {
    int i = 0, j = 0;
    for (const auto& [ki, kj] : kept) {
        while (i < ki && j < kj) {
            each(LineItem(kind, DiffChange::Changed, i, j, a[i], b[j]));
            ++i, ++j;
        }
        for (; i < ki; ++i) each(LineItem(kind, DiffChange::Removed, i, -1, a[i], {}));
        for (; j < kj; ++j) each(LineItem(kind, DiffChange::Added, -1, j, {}, b[j]));
        ++i, ++j;
    }
}

bool SameOob(const Scenario& a, const Scenario& b) {
    if (a.OobList().size() != b.OobList().size()) return false;
    for (std::size_t i = 0; i < a.OobList().size(); ++i) {
        const TOobRec& x = *a.OobList()[i];
        const TOobRec& y = *b.OobList()[i];
        if (x.Kind != y.Kind || x.Levels != y.Levels || x.Display != y.Display || x.Strength != y.Strength ||
            x.Side != y.Side)
            return false;
    }
    return true;
}

std::string Details(const DiffItem& item) {
    std::string s;
    if (item.Change == DiffChange::Moved) return item.Fields.front().Old + " -> " + item.Fields.front().New;
    for (const FieldChange& f : item.Fields) {
        if (!s.empty()) s += item.Change == DiffChange::Changed ? ", " : " ";
        const bool text = f.Field == "text";
        switch (item.Change) {
        case DiffChange::Added: s += text ? f.New : f.Field + ' ' + f.New; break;
        case DiffChange::Removed: s += text ? f.Old : f.Field + ' ' + f.Old; break;
        default: s += (text ? std::string() : f.Field + ' ') + f.Old + " -> " + f.New; break;
        }
    }
    return s;
}

}  // namespace

std::string FlagNames(std::uint32_t flags) {
    static const std::pair<std::uint32_t, const char*> kNames[] = {
        {sfFixed, "Fixed"},   {sfLowAmmo, "LowAmmo"}, {sfNoAmmo, "NoAmmo"},          {sfDisorg, "Disorganised"},
        {sfRouted, "Routed"}, {sfMounted, "Mounted"}, {sfDismounted, "Dismounting"}, {sfColonel, "Colonel"},
    };
    std::string s;
    for (const auto& [bit, name] : kNames) {
        if (!(flags & bit)) continue;
        s += s.empty() ? "" : "+";
        s += name;
        flags &= ~bit;
    }
    if (flags) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "0x%X", flags);
        if (!s.empty()) s += '+';
        s += buf;
    }
    return s.empty() ? "-" : s;
}

std::string CommandName(std::uint8_t command) {
    static const char* const kNames[] = {"Defend-Extreme", "Defend", "Idle", "Attack", "Attack-Extreme"};
    return command < 5 ? kNames[command] : Num(command);
}

const char* KindWord(DiffKind kind) {
    switch (kind) {
    case DiffKind::Header: return "header";
    case DiffKind::Placement: return "placement";
    case DiffKind::Group: return "group";
    case DiffKind::Release: return "release";
    case DiffKind::Misc: return "misc";
    case DiffKind::Command: return "command";
    case DiffKind::Trailer: return "trailer";
    }
    return "?";
}

const char* ChangeWord(DiffChange c) {
    switch (c) {
    case DiffChange::Added: return "added";
    case DiffChange::Removed: return "removed";
    case DiffChange::Changed: return "changed";
    case DiffChange::Moved: return "moved";
    }
    return "?";
}

struct ScnComparison::Matches {
    Matches(const Scenario& o, const Scenario& n) : olds(o), news(n) {}
    const Scenario& olds;
    const Scenario& news;
    bool oobDiffers = false;
    bool orderDiffers = false;
    ListMatch setups, groups, releases, commands;
    LinePairs misc, trailer;
};

ScnComparison::ScnComparison(const Scenario& oldScn, const Scenario& newScn)
    : m_(std::make_unique<Matches>(oldScn, newScn)) {
    Matches& m = *m_;
    m.oobDiffers = !SameOob(oldScn, newScn);
    m.setups = Match(oldScn.SetupList(), newScn.SetupList(), RoundsOf(DiffKind::Placement));
    m.groups = Match(oldScn.ReinfList(), newScn.ReinfList(), RoundsOf(DiffKind::Group));
    m.releases = Match(oldScn.ReleaseList(), newScn.ReleaseList(), RoundsOf(DiffKind::Release));
    m.commands = Match(oldScn.CommandList(), newScn.CommandList(), RoundsOf(DiffKind::Command));
    m.orderDiffers =
        OrderChanged(m.setups) || OrderChanged(m.groups) || OrderChanged(m.releases) || OrderChanged(m.commands);
    m.misc = KeptLines(oldScn.ScnMisc(), newScn.ScnMisc());
    m.trailer = KeptLines(oldScn.ScnTrailer(), newScn.ScnTrailer());
}

ScnComparison::~ScnComparison() = default;

bool ScnComparison::OobDiffers() const { return m_->oobDiffers; }
bool ScnComparison::OrderDiffers() const { return m_->orderDiffers; }

DiffCounts ScnComparison::Counts() const {
    const Matches& m = *m_;
    DiffCounts c;
    CountList(m.olds.SetupList(), m.news.SetupList(), m.setups, c);
    CountList(m.olds.ReinfList(), m.news.ReinfList(), m.groups, c);
    CountList(m.olds.ReleaseList(), m.news.ReleaseList(), m.releases, c);
    CountList(m.olds.CommandList(), m.news.CommandList(), m.commands, c);
    const ItemSink count = [&c](const DiffItem& item) {
        switch (item.Change) {
        case DiffChange::Added: ++c.Added; break;
        case DiffChange::Removed: ++c.Removed; break;
        default: ++c.Changed; break;
        }
    };
    HeaderItems(m.olds.ScnHeader(), m.news.ScnHeader(), count);
    TextItems(DiffKind::Misc, m.olds.ScnMisc(), m.news.ScnMisc(), m.misc, count);
    TextItems(DiffKind::Trailer, m.olds.ScnTrailer(), m.news.ScnTrailer(), m.trailer, count);
    return c;
}

bool ScnComparison::Equal() const {
    const DiffCounts c = Counts();
    return c.Added == 0 && c.Removed == 0 && c.Changed == 0 && !OobDiffers();
}

void ScnComparison::ForEachItem(const std::function<void(const DiffItem&)>& each) const {
    const Matches& m = *m_;
    HeaderItems(m.olds.ScnHeader(), m.news.ScnHeader(), each);
    ListItems(DiffKind::Placement, m.olds.SetupList(), m.news.SetupList(), m.setups, each);
    ListItems(DiffKind::Group, m.olds.ReinfList(), m.news.ReinfList(), m.groups, each);
    ListItems(DiffKind::Release, m.olds.ReleaseList(), m.news.ReleaseList(), m.releases, each);
    TextItems(DiffKind::Misc, m.olds.ScnMisc(), m.news.ScnMisc(), m.misc, each);
    ListItems(DiffKind::Command, m.olds.CommandList(), m.news.CommandList(), m.commands, each);
    TextItems(DiffKind::Trailer, m.olds.ScnTrailer(), m.news.ScnTrailer(), m.trailer, each);
}

void ScnComparison::ForEachLine(const std::function<void(const std::string&)>& each) const {
    if (OobDiffers()) each("note     the orders of battle differ: entries matched by dot name");
    bool any = false;
    ForEachItem([&](const DiffItem& item) {
        any = true;
        each(DiffLine(item));
    });
    if (!any && OrderDiffers()) each("order    the records differ in their order only");
}

ScnDiff CompareScenarios(const Scenario& oldScn, const Scenario& newScn) {
    const ScnComparison c(oldScn, newScn);
    ScnDiff out;
    out.OobDiffers = c.OobDiffers();
    out.OrderDiffers = c.OrderDiffers();
    c.ForEachItem([&out](const DiffItem& item) { out.Items.push_back(item); });
    return out;
}

std::string DiffLine(const DiffItem& item) {
    std::string s = ChangeWord(item.Change);
    s.resize(9, ' ');
    // Placements, the records most often changed, go without their kind.
    if (item.Kind != DiffKind::Placement) s += std::string(KindWord(item.Kind)) + ' ';
    s += item.Key;
    if (!item.Name.empty()) s += "  " + item.Name;
    const std::string details = Details(item);
    if (!details.empty()) s += "  " + details;
    return s;
}

std::vector<std::string> DiffLines(const ScnDiff& diff) {
    std::vector<std::string> lines;
    if (diff.OobDiffers) lines.push_back("note     the orders of battle differ: entries matched by dot name");
    for (const DiffItem& item : diff.Items) lines.push_back(DiffLine(item));
    if (diff.Items.empty() && diff.OrderDiffers) lines.push_back("order    the records differ in their order only");
    return lines;
}

DiffCounts CountDiff(const ScnDiff& diff) {
    DiffCounts c;
    for (const DiffItem& item : diff.Items) {
        switch (item.Change) {
        case DiffChange::Added: ++c.Added; break;
        case DiffChange::Removed: ++c.Removed; break;
        default: ++c.Changed; break;
        }
    }
    return c;
}

void ForEachTextLine(const Scenario& scn, const std::function<void(const std::string&)>& each) {
    std::string line;
    auto text = [&](DiffKind kind, const std::vector<std::string>& list) {
        for (std::size_t i = 0; i < list.size(); ++i) {
            line = KindWord(kind);
            line += ' ' + Num(static_cast<int>(i) + 1) + "  ";
            line += list[i];
            each(line);
        }
    };
    auto records = [&](DiffKind kind, const auto& list) {
        for (const auto* rec : list) {
            const Described d = Of(*rec);
            line = KindWord(kind);
            line += ' ' + d.Label;
            if (!d.Name.empty()) line += "  " + d.Name;
            line += ' ';
            for (const auto& [f, v] : d.F) {
                line += ' ';
                line += f;
                line += ' ';
                line += v;
            }
            each(line);
        }
    };
    text(DiffKind::Header, scn.ScnHeader());
    records(DiffKind::Placement, scn.SetupList());
    records(DiffKind::Group, scn.ReinfList());
    records(DiffKind::Release, scn.ReleaseList());
    text(DiffKind::Misc, scn.ScnMisc());
    records(DiffKind::Command, scn.CommandList());
    text(DiffKind::Trailer, scn.ScnTrailer());
}

std::vector<std::string> ScenarioTextLines(const Scenario& scn) {
    std::vector<std::string> lines;
    ForEachTextLine(scn, [&lines](const std::string& line) { lines.push_back(line); });
    return lines;
}

}  // namespace varno
