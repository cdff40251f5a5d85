#include "scenario/scnchecks.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "scenario/ooblookup.h"

namespace varno {

namespace {

HexFinding FindingAt(const TSetupRec& rec, const char* what) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%d,%d %s", rec.Col, rec.Row, what);
    return {rec.Col, rec.Row, buf};
}

// One number per hex: column and row are bytes.
std::size_t HexKey(const TSetupRec& rec) { return static_cast<std::size_t>(rec.Col) << 8 | rec.Row; }

constexpr std::size_t kHexKeys = 256 * 256;

unsigned char FoldByte(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

int DotNameNumbers(const TOobRec& entry) {
    int n = 0;
    while (n < 8 && entry.Levels[static_cast<std::size_t>(n)] != 0) ++n;
    return n;
}

bool IsListedOrganisation(char kind) { return kind == 'A' || kind == 'B' || kind == 'C' || kind == 'D'; }

}  // namespace

HexLoad PlacementLoad(const TSetupRec& rec) {
    const TOobRec* unit = rec.Unit;
    if (!unit) return {};
    if (unit->Kind == 'S') return {50 * rec.Strength, HexCount::Wagon};
    if (unit->Kind == 'U') {
        const int perPoint = (unit->UnitType == 'A' || unit->UnitType == 'H') ? 50 : 25;
        return {perPoint * rec.Strength, HexCount::Unit};
    }
    return {};
}

std::vector<std::string> FindOverloadedHexes(RecordList<TSetupRec> setups, const CheckProgress& progress) {
    std::vector<std::string> texts;
    for (HexFinding& f : CheckOverloadedHexes(setups, progress)) texts.push_back(std::move(f.Text));
    return texts;
}

std::vector<HexFinding> CheckOverloadedHexes(RecordList<TSetupRec> setups, const CheckProgress& progress) {
    const std::size_t count = setups.size();
    // Chain the placements of each hex in list order: next[i] is the next
    // placement in i's hex, and first[i] tells whether i opens its hex. Each
    // hex is then walked once, from its first placement, instead of comparing
    // every placement with all later ones.
    constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    std::vector<std::uint32_t> lastInHex(kHexKeys, kNone);
    std::vector<std::uint32_t> next(count, kNone);
    std::vector<bool> first(count, false);
    for (std::size_t i = 0; i < count; ++i) {
        if (!setups[i]) continue;
        std::uint32_t& last = lastInHex[HexKey(*setups[i])];
        if (last == kNone)
            first[i] = true;
        else
            next[last] = static_cast<std::uint32_t>(i);
        last = static_cast<std::uint32_t>(i);
    }

    std::vector<HexFinding> findings;
    for (std::size_t i = 0; i < count; ++i) {
        if (progress && i % 20 == 0) progress(i + 1, count);
        if (!first[i]) continue;
        const TSetupRec& p = *setups[i];
        long load = 0;
        int wagons = 0, units = 0;
        auto add = [&](const TSetupRec& rec) {
            const HexLoad l = PlacementLoad(rec);
            load += l.Load;
            if (l.Counts == HexCount::Wagon) ++wagons;
            if (l.Counts == HexCount::Unit) ++units;
        };
        add(p);
        for (std::uint32_t j = next[i]; j != kNone; j = next[j]) {
            add(*setups[j]);
            const bool overfilled = load > kMaxHexLoad;
            const bool tooManyWagons = wagons > kMaxHexWagons;
            const bool tooManyUnits = units > kMaxHexUnits;
            if (!overfilled && !tooManyWagons && !tooManyUnits) continue;
            if (overfilled) findings.push_back(FindingAt(p, "Overfilled"));
            if (tooManyWagons) findings.push_back(FindingAt(p, "Too many wagons"));
            if (tooManyUnits) findings.push_back(FindingAt(p, "Too many Units"));
            break;
        }
    }
    return findings;
}

std::string StrengthCaption(bool fromScenario) {
    return std::string("Organizational Strength from ") + (fromScenario ? "Start of Scenario" : "Order of Battle");
}

std::vector<std::int32_t> ComputeOrgTotals(RecordList<TOobRec> oob, bool fromScenario, std::size_t count) {
    const std::size_t n = std::min(count, oob.size());
    std::vector<std::int32_t> totals(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
        const TOobRec* e = oob[i];
        if (!e || e->Kind != 'U') continue;
        std::int64_t s = 0;
        if (fromScenario)
            s = e->Setup ? 25 * std::int64_t{e->Setup->Strength} : 0;
        else
            s = 25 * std::int64_t{e->Strength};
        if (s <= 0) continue;
        ForEachParent(oob, i, n, [&totals, s](const TOobRec* up) {
            // A total too large for an int32 stays at its largest value.
            std::int32_t& total = totals[static_cast<std::size_t>(up->Index)];
            total = static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{total} + s, INT32_MAX));
        });
    }
    return totals;
}

std::vector<std::string> StrengthLines(RecordList<TOobRec> oob, bool fromScenario, std::size_t count) {
    const std::vector<std::int32_t> totals = ComputeOrgTotals(oob, fromScenario, count);
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < totals.size(); ++i) {
        const TOobRec* e = oob[i];
        if (!e || totals[i] == 0 || !IsListedOrganisation(e->Kind)) continue;
        std::string line(static_cast<std::size_t>(2 * std::max(0, DotNameNumbers(*e) - 1)), ' ');
        line += e->Display;
        char total[24];
        std::snprintf(total, sizeof total, "  %5d", static_cast<int>(totals[i]));
        line += total;
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string FoldAZ(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) c = static_cast<char>(FoldByte(static_cast<unsigned char>(c)));
    return folded;
}

int SearchLines(std::size_t count, const std::function<std::string_view(std::size_t)>& lineAt, std::string_view text,
                const SearchProgress& progress) {
    const std::string key = FoldAZ(text);
    const auto same = [](char a, char b) {
        return FoldByte(static_cast<unsigned char>(a)) == static_cast<unsigned char>(b);
    };
    for (std::size_t i = 0; i < count; ++i) {
        if (progress && i % 10 == 0) progress(i);
        if (key.empty()) continue;
        const std::string_view line = lineAt(i);
        if (std::search(line.begin(), line.end(), key.begin(), key.end(), same) != line.end())
            return static_cast<int>(i);
    }
    return -1;
}

int SearchOob(RecordList<TOobRec> oob, std::string_view text, const SearchProgress& progress, std::size_t count) {
    return SearchLines(
        std::min(count, oob.size()),
        [&oob](std::size_t i) { return oob[i] ? std::string_view(oob[i]->Display) : std::string_view(); }, text,
        progress);
}

}  // namespace varno
