#include "mapview/hexgeom.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "scenario/platform/platform.h"
#include "scenario/records.h"
#include "scenario/scnchecks.h"

namespace varno {

PixelPos HexCentre(int col, int row) { return {26 * col + 26, col % 2 == 0 ? 30 * row + 45 : 30 * row + 30}; }

PixelPos StackCorner(int col, int row) {
    const PixelPos c = HexCentre(col, row);
    return {c.X - 16, c.Y - 16};
}

std::optional<HexPos> HexAt(int x, int y, int numCols, int numRows) {
    if (numCols <= 0 || numRows <= 0) return std::nullopt;
    // Integer division toward zero, as the hit areas were laid out: the area
    // of column c runs from x = 26c + 18 to 26c + 43.
    int col = (x - 18) / 26;
    int row = col % 2 == 0 ? (y - 30) / 30 : (y - 15) / 30;
    // Placements hold their hex in bytes.
    col = std::clamp(col, 0, std::min(numCols, 256) - 1);
    row = std::clamp(row, 0, std::min(numRows, 256) - 1);
    return HexPos{col, row};
}

std::array<PixelPos, 6> HexOutline(int col, int row) {
    const PixelPos c = HexCentre(col, row);
    return {{{c.X - 17, c.Y},
             {c.X - 9, c.Y - 15},
             {c.X + 9, c.Y - 15},
             {c.X + 17, c.Y},
             {c.X + 9, c.Y + 15},
             {c.X - 9, c.Y + 15}}};
}

HexRange HexesNear(int left, int top, int right, int bottom, int numCols, int numRows) {
    HexRange r;
    const int cols = std::min(numCols, 256), rows = std::min(numRows, 256);
    if (cols <= 0 || rows <= 0 || right < left || bottom < top) return r;
    // Column c spans x = 26c + 9 to 26c + 43; row r of an even column spans
    // y = 30r + 30 to 30r + 60, of an odd one 15 less. A row more on each side
    // covers both; the division's rounding toward zero is covered as well.
    r.Col0 = std::max(0, (left - 43) / 26 - 1);
    r.Col1 = std::min(cols - 1, (right - 9) / 26 + 1);
    r.Row0 = std::max(0, (top - 60) / 30 - 1);
    r.Row1 = std::min(rows - 1, (bottom - 15) / 30 + 1);
    return r;
}

bool HexMeetsRect(int col, int row, int left, int top, int right, int bottom) {
    // The outline is the points at most 15 rows from the centre and at most
    // 17 - 8/15 of that apart from it sideways: take the rectangle's point
    // nearest the centre in each direction.
    const PixelPos c = HexCentre(col, row);
    const int dx = std::max({0, left - c.X, c.X - right});
    const int dy = std::max({0, top - c.Y, c.Y - bottom});
    return dy <= 15 && 15 * dx + 8 * dy <= 255;
}

std::optional<HexPos> ParseHexText(std::string_view text) {
    std::size_t i = 0;
    const auto blanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    };
    const auto number = [&]() -> std::optional<int> {
        int n = 0, digits = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
            if (digits == 5) return std::nullopt;
            n = n * 10 + (text[i] - '0');
        }
        if (digits == 0) return std::nullopt;
        return n;
    };
    blanks();
    const auto col = number();
    if (!col) return std::nullopt;
    const std::size_t afterCol = i;
    blanks();
    if (i < text.size() && text[i] == ',') {
        ++i;
        blanks();
    } else if (i == afterCol) {
        return std::nullopt;  // neither a comma nor a blank between the numbers
    }
    const auto row = number();
    if (!row) return std::nullopt;
    blanks();
    if (i != text.size()) return std::nullopt;
    return HexPos{*col, *row};
}

bool HexOnGrid(HexPos hex, int numCols, int numRows) {
    return hex.Col >= 0 && hex.Row >= 0 && hex.Col < std::min(numCols, 256) && hex.Row < std::min(numRows, 256);
}

// Even columns sit half a row lower than odd ones: column c climbs c / 2
// rows (rounded up) against column 0.
AxialHex ToAxial(HexPos hex) { return {hex.Col, hex.Row - (hex.Col + (hex.Col & 1)) / 2}; }

HexPos FromAxial(AxialHex hex) { return {hex.Q, hex.R + (hex.Q + (hex.Q & 1)) / 2}; }

HexPos Neighbour(HexPos hex, HexDir dir) {
    static constexpr AxialHex step[6] = {{0, -1}, {1, -1}, {1, 0}, {0, 1}, {-1, 1}, {-1, 0}};
    const AxialHex a = ToAxial(hex);
    const AxialHex d = step[static_cast<int>(dir)];
    return FromAxial({a.Q + d.Q, a.R + d.R});
}

HexPos ShiftHex(HexPos hex, HexPos from, HexPos to) {
    const AxialHex a = ToAxial(hex), f = ToAxial(from), t = ToAxial(to);
    return FromAxial({a.Q + t.Q - f.Q, a.R + t.R - f.R});
}

HexPos SideStep(HexPos hex, bool right) { return {hex.Col + (right ? 1 : -1), hex.Row}; }

int HexDistance(HexPos a, HexPos b) {
    const AxialHex p = ToAxial(a), q = ToAxial(b);
    const int dq = p.Q - q.Q, dr = p.R - q.R;
    return (std::abs(dq) + std::abs(dr) + std::abs(dq + dr)) / 2;
}

std::vector<HexPos> HexesOf(const std::vector<HexFinding>& findings) {
    std::vector<HexPos> hexes;
    // The findings of one hex come together.
    for (const HexFinding& f : findings)
        if (const HexPos h{f.Col, f.Row}; hexes.empty() || hexes.back() != h) hexes.push_back(h);
    return hexes;
}

int UnitIconNumber(std::uint8_t facing, std::uint32_t flags, char unitType) {
    int n = 0;
    switch (facing) {
    case 2: n = 1; break;
    case 4: n = 2; break;
    case 8: n = 3; break;
    case 16: n = 4; break;
    case 32: n = 5; break;
    default: n = 0; break;
    }
    if (flags & sfMounted) n += 6;
    if (unitType == 'C')
        n += 12;
    else if (unitType == 'A')
        n += 24;
    return n;
}

int UnitIconNumber(const TSetupRec& rec, const TOobRec& entry) {
    return UnitIconNumber(rec.Facing, rec.Flags, entry.UnitType);
}

std::string IconCode(char kind, int iconNumber) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%2d", iconNumber);
    std::string code = kind ? std::string(1, kind) : std::string();
    code += buf;
    code.resize(std::min<std::size_t>(code.size(), 3));
    std::replace(code.begin(), code.end(), ' ', '0');
    return code;
}

SheetCell IconSheetCell(int entry) {
    static constexpr SheetCell backgrounds[8] = {{3, 0}, {3, 2}, {3, 6}, {4, 2}, {5, 6}, {5, 8}, {6, 0}, {6, 8}};
    if (entry < 0) return {0, 0};
    if (entry < 8) return backgrounds[entry];
    if (entry < 44) return {8 + (entry - 8) / 12, (entry - 8) % 12};
    switch (entry) {
    case 44: return {11, 0};
    case 45: return {11, 2};
    case 46: return {1, 11};
    case 47: return {2, 0};
    default: return {0, 0};
    }
}

StackCount CountStack(const StackCodes& codes) {
    StackCount count;
    for (const std::string& code : codes) {
        if (!code.empty() && code.front() == 'L')
            ++count.Leaders;
        else
            ++count.Units;
    }
    return count;
}

bool StackFull(const StackCount& count) { return count.Units >= 8 || count.Leaders >= 4; }

int StackBackground(const StackCount& count, char kind, std::uint8_t side) {
    const int units = std::clamp(count.Units + (kind != 'L' ? 1 : 0), 1, 4);
    return units + (side == 1 ? 4 : 0) - 1;
}

int StackForeground(const StackCodes& codes) {
    std::string_view chosen, firstUnit, first;
    for (const std::string& code : codes) {
        if (code.empty()) continue;
        if (first.empty()) first = code;
        if (code.front() == 'L') {
            chosen = code;
            break;
        }
        if (code.front() == 'U' && firstUnit.empty()) firstUnit = code;
    }
    if (chosen.empty()) chosen = !firstUnit.empty() ? firstUnit : first;
    if (chosen.empty()) return kFirstUnitIcon;
    if (chosen.front() == 'L') return kLeaderIcon;
    if (chosen.front() == 'S') return kWagonIcon;
    int n = 0;
    for (const char c : chosen.substr(1)) {
        if (c < '0' || c > '9') return kFirstUnitIcon;  // not a number: 0
        n = n * 10 + (c - '0');
    }
    return kFirstUnitIcon + n;
}

int NewStackBackground(std::uint8_t side) { return side == 1 ? 4 : 0; }

int NewStackForeground(char kind, int iconNumber) {
    if (kind == 'L') return kLeaderIcon;
    if (kind == 'S') return kWagonIcon;
    return kFirstUnitIcon + iconNumber;
}

std::vector<std::pair<int, int>> StackLayers(const std::vector<StackUnit>& units, bool limit) {
    std::vector<std::pair<int, int>> layers;
    StackCodes codes;
    for (const StackUnit& u : units) {
        std::string code = IconCode(u.Kind, u.IconNumber);
        if (codes.empty()) {
            codes.push_back(std::move(code));
            layers.emplace_back(NewStackBackground(u.Side), NewStackForeground(u.Kind, u.IconNumber));
            continue;
        }
        const StackCount count = CountStack(codes);
        if (limit && StackFull(count)) continue;
        codes.push_back(std::move(code));
        layers.emplace_back(StackBackground(count, u.Kind, u.Side), StackForeground(codes));
    }
    return layers;
}

std::vector<HexStack> StacksAsRead(RecordList<TSetupRec> setups) {
    std::vector<int> slot(256 * 256, -1);
    std::vector<std::vector<StackUnit>> units;
    std::vector<HexPos> hexes;
    for (const TSetupRec* s : setups) {
        if (!s || !s->Unit) continue;
        int& at = slot[static_cast<std::size_t>(HexKey(s->Col, s->Row))];
        if (at < 0) {
            at = static_cast<int>(hexes.size());
            hexes.push_back({s->Col, s->Row});
            units.emplace_back();
        }
        units[static_cast<std::size_t>(at)].push_back({s->Unit->Kind, s->Unit->Side, UnitIconNumber(*s, *s->Unit)});
    }
    std::vector<HexStack> out;
    out.reserve(hexes.size());
    for (std::size_t i = 0; i < hexes.size(); ++i) out.push_back({hexes[i], StackLayers(units[i], true)});
    return out;
}

std::string FacingText(std::uint8_t facing) {
    switch (facing) {
    case 1: return "U";
    case 2: return "UR";
    case 4: return "DR";
    case 8: return "D";
    case 16: return "DL";
    case 32: return "UL";
    default: return "?";
    }
}

char FormationLetter(std::uint32_t flags) { return (flags & sfMounted) ? 'C' : 'L'; }

std::string ParentDirectory(const std::string& dir) {
    if (dir.empty()) return dir;
    std::size_t i = dir.size() - 1;
    using platform::IsSeparator;
    while (i > 0 && IsSeparator(dir[i])) --i;
    while (i > 0 && !IsSeparator(dir[i])) --i;
    // A relative folder one level deep: its parent is the working directory.
    if (!IsSeparator(dir[i])) return std::string();
    return dir.substr(0, i + 1);
}

}  // namespace varno
