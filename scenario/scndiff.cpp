// The record-by-record comparison of two scenarios (rules in scndiff.h).
#include "scenario/scndiff.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <utility>

#include "scenario/scnedit.h"

namespace varno {

namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

// One record as the comparison sees it: its keys and its fields, all text.
struct Described {
    int Index = -1;
    std::string Dot;    // the unit's dot name; a group: its units in slot order
    std::string Label;  // what the lines show of it: the dot name (a group: its first unit's)
    std::string Name;   // the unit's (a group: its first unit's) name
    std::string Units;  // a group: its units' dot names sorted
    std::string First;  // a group: its first unit's dot name
    std::string Date;
    Fields F;
    std::string exact() const {
        std::string s = Dot;
        for (const auto& [k, v] : F) s += '\n' + k + '=' + v;
        return s;
    }
};

using KeyFn = std::function<std::string(const Described&)>;

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

Described Of(const TSetupRec& s, int index) {
    Described d;
    d.Index = index;
    d.Dot = d.Label = Dot(s.Unit);
    d.Name = Name(s.Unit);
    d.F = {{"hex", Hex(s.Col, s.Row)},  {"strength", Num(s.Strength)}, {"facing", Num(s.Facing)},
           {"fatigue", Num(s.Fatigue)}, {"flags", FlagNames(s.Flags)}, {"aux", Num(s.Aux)}};
    return d;
}

Described Of(const TReinfGroup& g, int index) {
    Described d;
    d.Index = index;
    const std::size_t n = std::min<std::size_t>(g.Count, g.Units.size());
    std::vector<std::string> dots;
    for (std::size_t i = 0; i < n; ++i) dots.push_back(Dot(g.Units[i]));
    for (std::size_t i = 0; i < dots.size(); ++i) d.Dot += (i ? " " : "") + dots[i];
    d.First = dots.empty() ? std::string() : dots.front();
    d.Label = d.First;
    d.Name = n > 0 ? Name(g.Units[0]) : std::string();
    std::sort(dots.begin(), dots.end());
    for (const std::string& s : dots) d.Units += s + ' ';
    d.Date = Date(g.Year, g.Month, g.Day, g.Hour, g.Minute);
    d.F = {{"date", d.Date},          {"chance", Num(g.Chance)},       {"hex", Hex(g.Col, g.Row)},
           {"facing", Num(g.Facing)}, {"protected", Num(g.ProtHexes)}, {"units", d.Dot}};
    return d;
}

Described Of(const TReleaseRec& r, int index) {
    Described d;
    d.Index = index;
    d.Dot = d.Label = Dot(r.Unit);
    d.Name = Name(r.Unit);
    d.Date = Date(r.Year, r.Month, r.Day, r.Hour, r.Minute);
    d.F = {{"date", d.Date}, {"chance", Num(r.Chance)}};
    return d;
}

Described Of(const TCommandRec& c, int index) {
    Described d;
    d.Index = index;
    d.Dot = d.Label = Dot(c.Unit);
    d.Name = Name(c.Unit);
    d.Date = Date(c.Year, c.Month, c.Day, c.Hour, c.Minute);
    d.F = {{"date", d.Date}, {"group", Num(c.Group)}, {"hex", Hex(c.Col, c.Row)}, {"command", CommandName(c.Command)}};
    return d;
}

template <class Rec> std::vector<Described> DescribeAll(RecordList<Rec> list) {
    std::vector<Described> out;
    out.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) out.push_back(Of(*list[i], static_cast<int>(i)));
    return out;
}

// Pairs the records of two lists in rounds of keys (see scndiff.h); returns
// (old, new) index pairs, and leaves the unmatched flags in oldUsed/newUsed.
std::vector<std::pair<int, int>> Match(const std::vector<Described>& olds, const std::vector<Described>& news,
                                       const std::vector<KeyFn>& rounds, std::vector<bool>& oldUsed,
                                       std::vector<bool>& newUsed) {
    oldUsed.assign(olds.size(), false);
    newUsed.assign(news.size(), false);
    std::vector<std::pair<int, int>> pairs;
    for (const KeyFn& key : rounds) {
        std::map<std::string, std::vector<int>> waiting;  // key -> unmatched old indexes, in order
        for (std::size_t i = olds.size(); i-- > 0;)
            if (!oldUsed[i]) waiting[key(olds[i])].push_back(static_cast<int>(i));
        for (std::size_t j = 0; j < news.size(); ++j) {
            if (newUsed[j]) continue;
            auto it = waiting.find(key(news[j]));
            if (it == waiting.end() || it->second.empty()) continue;
            const int i = it->second.back();
            it->second.pop_back();
            oldUsed[i] = newUsed[j] = true;
            pairs.emplace_back(i, static_cast<int>(j));
        }
    }
    return pairs;
}

DiffItem Item(DiffKind kind, DiffChange change, const Described& d) {
    DiffItem item;
    item.Kind = kind;
    item.Change = change;
    item.Key = d.Label;
    item.Name = d.Name;
    return item;
}

void CompareLists(DiffKind kind, const std::vector<Described>& olds, const std::vector<Described>& news,
                  const std::vector<KeyFn>& rounds, ScnDiff& out) {
    std::vector<bool> oldUsed, newUsed;
    std::vector<std::pair<int, int>> pairs = Match(olds, news, rounds, oldUsed, newUsed);
    std::sort(pairs.begin(), pairs.end(), [](auto a, auto b) { return a.second < b.second; });
    for (std::size_t k = 1; k < pairs.size(); ++k)
        if (pairs[k].first < pairs[k - 1].first) out.OrderDiffers = true;

    std::vector<DiffItem> items;
    for (std::size_t i = 0; i < olds.size(); ++i) {
        if (oldUsed[i]) continue;
        DiffItem item = Item(kind, DiffChange::Removed, olds[i]);
        item.OldIndex = static_cast<int>(i);
        for (const auto& [f, v] : olds[i].F) item.Fields.push_back({f, v, {}});
        items.push_back(std::move(item));
    }
    // Changes and additions in the new list's order.
    std::size_t p = 0;
    for (std::size_t j = 0; j < news.size(); ++j) {
        if (!newUsed[j]) {
            DiffItem item = Item(kind, DiffChange::Added, news[j]);
            item.NewIndex = static_cast<int>(j);
            for (const auto& [f, v] : news[j].F) item.Fields.push_back({f, {}, v});
            items.push_back(std::move(item));
            continue;
        }
        while (pairs[p].second != static_cast<int>(j)) ++p;
        const Described& o = olds[pairs[p].first];
        const Described& n = news[j];
        DiffItem item = Item(kind, DiffChange::Changed, n);
        item.OldIndex = pairs[p].first;
        item.NewIndex = static_cast<int>(j);
        for (std::size_t f = 0; f < n.F.size(); ++f)
            if (o.F[f].second != n.F[f].second) item.Fields.push_back({n.F[f].first, o.F[f].second, n.F[f].second});
        if (item.Fields.empty()) continue;
        if (kind == DiffKind::Placement && item.Fields.size() == 1 && item.Fields[0].Field == "hex")
            item.Change = DiffChange::Moved;
        items.push_back(std::move(item));
    }
    for (DiffItem& item : items) out.Items.push_back(std::move(item));
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
void CompareHeader(const std::vector<std::string>& a, const std::vector<std::string>& b, ScnDiff& out) {
    const std::size_t n = std::max(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int at = static_cast<int>(i);
        if (i >= a.size())
            out.Items.push_back(LineItem(DiffKind::Header, DiffChange::Added, -1, at, {}, b[i]));
        else if (i >= b.size())
            out.Items.push_back(LineItem(DiffKind::Header, DiffChange::Removed, at, -1, a[i], {}));
        else if (a[i] != b[i])
            out.Items.push_back(LineItem(DiffKind::Header, DiffChange::Changed, at, at, a[i], b[i]));
    }
}

// Free lines by the longest common run of lines; between two kept lines the
// old and the new lines pair up as changes, the rest are removed or added.
void CompareText(DiffKind kind, const std::vector<std::string>& a, const std::vector<std::string>& b, ScnDiff& out) {
    const std::size_t n = a.size(), m = b.size();
    std::vector<std::pair<int, int>> kept;
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
    int i = 0, j = 0;
    for (const auto& [ki, kj] : kept) {
        while (i < ki && j < kj) {
            out.Items.push_back(LineItem(kind, DiffChange::Changed, i, j, a[i], b[j]));
            ++i, ++j;
        }
        for (; i < ki; ++i) out.Items.push_back(LineItem(kind, DiffChange::Removed, i, -1, a[i], {}));
        for (; j < kj; ++j) out.Items.push_back(LineItem(kind, DiffChange::Added, -1, j, {}, b[j]));
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

const KeyFn kExact = [](const Described& d) { return d.exact(); };
const KeyFn kDot = [](const Described& d) { return d.Dot; };
const KeyFn kDotDate = [](const Described& d) { return d.Dot + '\n' + d.Date; };
const KeyFn kUnits = [](const Described& d) { return d.Units; };
const KeyFn kFirst = [](const Described& d) { return d.First; };

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
        s += (s.empty() ? "" : "+") + std::string(buf);
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

ScnDiff CompareScenarios(const Scenario& oldScn, const Scenario& newScn) {
    ScnDiff out;
    out.OobDiffers = !SameOob(oldScn, newScn);
    CompareHeader(oldScn.ScnHeader(), newScn.ScnHeader(), out);
    CompareLists(DiffKind::Placement, DescribeAll(oldScn.SetupList()), DescribeAll(newScn.SetupList()), {kExact, kDot},
                 out);
    CompareLists(DiffKind::Group, DescribeAll(oldScn.ReinfList()), DescribeAll(newScn.ReinfList()),
                 {kExact, kUnits, kFirst}, out);
    CompareLists(DiffKind::Release, DescribeAll(oldScn.ReleaseList()), DescribeAll(newScn.ReleaseList()),
                 {kExact, kDotDate, kDot}, out);
    CompareText(DiffKind::Misc, oldScn.ScnMisc(), newScn.ScnMisc(), out);
    CompareLists(DiffKind::Command, DescribeAll(oldScn.CommandList()), DescribeAll(newScn.CommandList()),
                 {kExact, kDotDate, kDot}, out);
    CompareText(DiffKind::Trailer, oldScn.ScnTrailer(), newScn.ScnTrailer(), out);
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

std::vector<std::string> ScenarioTextLines(const Scenario& scn) {
    std::vector<std::string> lines;
    auto text = [&lines](DiffKind kind, const std::vector<std::string>& list) {
        for (std::size_t i = 0; i < list.size(); ++i)
            lines.push_back(std::string(KindWord(kind)) + ' ' + Num(static_cast<int>(i) + 1) + "  " + list[i]);
    };
    auto records = [&lines](DiffKind kind, const std::vector<Described>& list) {
        for (const Described& d : list) {
            std::string s = std::string(KindWord(kind)) + ' ' + d.Label;
            if (!d.Name.empty()) s += "  " + d.Name;
            s += ' ';
            for (const auto& [f, v] : d.F) s += ' ' + f + ' ' + v;
            lines.push_back(std::move(s));
        }
    };
    text(DiffKind::Header, scn.ScnHeader());
    records(DiffKind::Placement, DescribeAll(scn.SetupList()));
    records(DiffKind::Group, DescribeAll(scn.ReinfList()));
    records(DiffKind::Release, DescribeAll(scn.ReleaseList()));
    text(DiffKind::Misc, scn.ScnMisc());
    records(DiffKind::Command, DescribeAll(scn.CommandList()));
    text(DiffKind::Trailer, scn.ScnTrailer());
    return lines;
}

}  // namespace varno
