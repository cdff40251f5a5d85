#include "scenario/recordlines.h"

#include <charconv>

#include "scenario/scanstr.h"
#include "scenario/shortstring.h"

namespace varno {

namespace {

constexpr std::string_view kDotFormat = "%hd.%hd.%hd.%hd.%hd.%hd.%hd";
constexpr std::size_t kDotTextMax = 50;

// Appends numbers, blanks and dot names to a line.
class Line {
public:
    explicit Line(std::string& out) : out_(out) {}
    Line& num(std::int64_t v) {
        char buf[24];
        const auto r = std::to_chars(buf, buf + sizeof buf, v);
        out_.append(buf, r.ptr);
        return *this;
    }
    // A number preceded by one blank.
    Line& sp(std::int64_t v) {
        out_ += ' ';
        return num(v);
    }
    Line& str(std::string_view s) {
        out_.append(s);
        return *this;
    }
    // A unit's dot name; nothing for none.
    Line& dot(const TOobRec* entry) {
        if (entry) AppendDotName(out_, *entry);
        return *this;
    }
    void end() { out_.append("\r\n", 2); }

private:
    std::string& out_;
};

int FullYear(std::uint8_t stored) { return 1800 + stored; }

DotKey ScanKey(std::string_view text, std::string_view format) {
    DotKey key{};
    void* dest[7] = {&key[0], &key[1], &key[2], &key[3], &key[4], &key[5], &key[6]};
    ScanStr(text, format, dest, 7);  // the count says nothing useful here: the key does
    return key;
}

}  // namespace

void AppendSetupLine(std::string& out, const TSetupRec& s) {
    Line t(out);
    t.str("1 ").dot(s.Unit);
    t.sp(s.Facing).sp(s.Aux).sp(s.Strength).sp(s.Fatigue).str(" 0");
    t.sp(static_cast<std::int32_t>(s.Flags)).sp(s.Col).sp(s.Row);
    t.end();
}

void AppendGroupLines(std::string& out, const TReinfGroup& g) {
    Line t(out);
    t.str("2").sp(FullYear(g.Year)).sp(g.Month).sp(g.Day).sp(g.Hour).sp(g.Minute);
    t.sp(g.Chance).sp(g.ProtHexes).sp(g.Col).sp(g.Row).sp(g.Count).sp(g.Facing);
    t.end();
    const std::size_t n = g.Count < g.Units.size() ? g.Count : g.Units.size();
    for (std::size_t i = 0; i < n; ++i) {
        t.str("    ").dot(g.Units[i]);
        t.end();
    }
}

void AppendReleaseLine(std::string& out, const TReleaseRec& r, bool withChance) {
    Line t(out);
    t.str("4").sp(FullYear(r.Year)).sp(r.Month).sp(r.Day).sp(r.Hour).sp(r.Minute);
    if (withChance) t.sp(r.Chance);
    t.str(" ").dot(r.Unit);
    t.end();
}

void AppendCommandLine(std::string& out, const TCommandRec& c) {
    Line t(out);
    t.dot(c.Unit).sp(FullYear(c.Year)).sp(c.Month).sp(c.Day).sp(c.Hour);
    t.sp(c.Minute).sp(c.Col).sp(c.Row).sp(c.Command);
    t.end();
}

std::uint8_t StoredYearOf(std::int32_t year) {
    if (year < 1800) year = 1800;
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(year) - 1800u);
}

DotKey ScanDotKey(std::string_view text) { return ScanKey(text, kDotFormat); }

SetupLineValues ReadSetupLine(std::string_view line) {
    SetupLineValues out;
    const std::string_view s = CutShort(line);
    out.Key = ScanKey(s, "1 %hd.%hd.%hd.%hd.%hd.%hd.%hd");
    // The eight numbers start at the blank after the dot name.
    const std::size_t blank = s.size() > 2 ? s.find(' ', 2) : std::string_view::npos;
    const std::string_view rest = blank == std::string_view::npos ? std::string_view{} : s.substr(blank);
    TSetupRec& v = out.Values;
    std::int32_t flags = 0;
    void* dest[7] = {&v.Facing, &v.Aux, &v.Strength, &v.Fatigue, &flags, &v.Col, &v.Row};
    out.Numbers = ScanStr(rest, "%hd %hd %hd %hd %*d %ld %hd %hd", dest, 7) >= 7;
    v.Flags = static_cast<std::uint32_t>(flags);
    return out;
}

GroupLineValues ReadGroupLine(std::string_view line) {
    GroupLineValues out;
    TReinfGroup& g = out.Values;
    std::int32_t year = 0;
    void* dest[11] = {&year,        &g.Month, &g.Day, &g.Hour,        &g.Minute, &g.Chance,
                      &g.ProtHexes, &g.Col,   &g.Row, &out.UnitCount, &g.Facing};
    out.Numbers = ScanStr(CutShort(line), "2 %d %hd %hd %hd %hd %hd %hd %hd %hd %d %hd", dest, 11) >= 11;
    g.Year = StoredYearOf(year);
    return out;
}

DotKey ReadGroupUnitLine(std::string_view line) {
    std::string_view u = CutShort(line);
    // At most nine blanks are skipped here; the scan skips any further ones.
    std::size_t i = 0;
    while (i < 9 && i < u.size() && u[i] == ' ') ++i;
    return ScanDotKey(u.substr(i, kDotTextMax));
}

ReleaseLineValues ReadReleaseLine(std::string_view line) {
    ReleaseLineValues out;
    const std::string_view s = CutShort(line);
    TReleaseRec& v = out.Values;
    std::int32_t year = 0, chance = 0;
    char after = 0;
    void* dest[7] = {&year, &v.Month, &v.Day, &v.Hour, &v.Minute, &chance, &after};
    out.Fields = ScanStr(s, "4 %d %hd %hd %hd %hd %d%c", dest, 7);
    // Without a chance the sixth number is the dot name's first, followed by
    // its point (or, ending the line, the scan wraps to the leading '4').
    out.HasChance = out.Fields >= 7 && after == ' ';
    v.Year = StoredYearOf(year);
    v.Chance = (out.HasChance && chance >= 1 && chance <= 100) ? static_cast<std::uint8_t>(chance) : 100;

    // The dot name is the last word.
    std::size_t end = s.size();
    while (end > 0 && s[end - 1] == ' ') --end;
    std::size_t start = end;
    while (start > 0 && s[start - 1] != ' ') --start;
    out.Key = ScanDotKey(s.substr(start, kDotTextMax));
    return out;
}

CommandLineValues ReadCommandLine(std::string_view line) {
    CommandLineValues out;
    const std::string_view s = CutShort(line);
    out.Key = ScanDotKey(s);
    const std::size_t blank = s.find(' ');
    const std::string_view rest =
        blank == std::string_view::npos ? std::string_view{} : s.substr(blank + 1, kDotTextMax);
    TCommandRec& c = out.Values;
    std::int32_t year = 0;
    void* dest[8] = {&year, &c.Month, &c.Day, &c.Hour, &c.Minute, &c.Col, &c.Row, &c.Command};
    out.Numbers = ScanStr(rest, "%d %hd %hd %hd %hd %hd %hd %hd", dest, 8) >= 8;
    c.Year = StoredYearOf(year);
    return out;
}

}  // namespace varno
