#include "scenario/cliptext.h"

#include <algorithm>
#include <array>
#include <unordered_set>

#include "scenario/recordlines.h"
#include "scenario/scanstr.h"
#include "scenario/shortstring.h"

namespace varno {

std::string RecordText(const CopiedRecords& records) {
    std::string out;
    out.reserve(64 * records.size() + 16);
    for (const TSetupRec* s : records.Setups) AppendSetupLine(out, *s);
    for (const TReinfGroup* g : records.Groups) AppendGroupLines(out, *g);
    // A copy keeps the chance, whatever form a save would give the file.
    for (const TReleaseRec* r : records.Releases) AppendReleaseLine(out, *r, true);

    std::array<std::vector<const TCommandRec*>, 9> byGroup;
    int last = 0;
    for (const TCommandRec* c : records.Commands) {
        if (c->Group < 1 || c->Group > 8) continue;
        byGroup[c->Group].push_back(c);
        last = std::max<int>(last, c->Group);
    }
    if (last > 0) {
        out += "0\r\n" + std::to_string(last) + " 0\r\n";
        for (int g = 1; g <= last; ++g) {
            out += std::to_string(byGroup[g].size()) + "\r\n";
            for (const TCommandRec* c : byGroup[g]) AppendCommandLine(out, *c);
        }
    }
    return out;
}

namespace {

bool Blank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

// The numbers of a line that holds only numbers, blank-separated; none for
// any other line.
int NumberCount(std::string_view line) {
    int count = 0;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') ++i;
        if (i == line.size()) break;
        if (line[i] == '-') ++i;
        const std::size_t digits = i;
        while (i < line.size() && line[i] >= '0' && line[i] <= '9') ++i;
        if (i == digits || (i < line.size() && line[i] != ' ')) return -1;
        ++count;
    }
    return count;
}

// Reads the text line by line, keeping the state a line's meaning depends
// on: the group whose unit lines may follow, and the command section.
class Paste {
public:
    Paste(PastedText& out, const EntryLookup& find) : out_(out), find_(find) {}

    void line(std::size_t number, std::string_view text) {
        number_ = number;
        if (Blank(text)) return;
        ++out_.Lines;
        if (commands_) return command(CutShort(text));
        if (text.front() != ' ') closeGroup();
        switch (text.front()) {
        case '1': return setup(text);
        case '2': return groupLine(number, text);
        case ' ': return groupUnit(text);
        case '4': return release(text);
        case '0':
            commands_ = true;
            firstInSection_ = true;
            return;
        default: return bad();
        }
    }
    void finish() { closeGroup(); }

private:
    void bad() { out_.BadLines.push_back(number_); }

    // The entry of a key: counts a line naming none; a key that is no dot
    // name at all makes the line one that does not read.
    const TOobRec* entry(const DotKey& key) {
        if (key[0] == 0) {
            bad();
            return nullptr;
        }
        const TOobRec* e = find_ ? find_(key) : nullptr;
        if (!e) ++out_.UnknownUnits;
        return e;
    }

    void setup(std::string_view text) {
        SetupLineValues v = ReadSetupLine(text);
        if (!v.Numbers) return bad();
        if (const TOobRec* e = entry(v.Key)) {
            v.Values.Unit = e;
            out_.Setups.push_back(v.Values);
        }
    }

    // A group line that does not read takes its unit lines with it.
    void groupLine(std::size_t number, std::string_view text) {
        GroupLineValues v = ReadGroupLine(text);
        if (!v.Numbers || v.UnitCount < 1 || v.UnitCount > 10) return bad();
        group_ = v.Values;
        groupWants_ = v.UnitCount;
        groupUnitLines_ = 0;
        groupLine_ = number;
        inGroup_ = true;
    }

    void groupUnit(std::string_view text) {
        if (!inGroup_ || groupUnitLines_ >= groupWants_) return bad();
        ++groupUnitLines_;
        if (const TOobRec* e = entry(ReadGroupUnitLine(text))) group_.Units[group_.Count++] = e;
    }

    void closeGroup() {
        // A group line with no unit line reads as nothing.
        if (inGroup_ && groupUnitLines_ == 0) out_.BadLines.push_back(groupLine_);
        if (inGroup_ && group_.Count > 0) out_.Groups.push_back(group_);
        inGroup_ = false;
        group_ = {};
    }

    void release(std::string_view text) {
        ReleaseLineValues v = ReadReleaseLine(text);
        if (v.Fields < 5) return bad();
        if (const TOobRec* e = entry(v.Key)) {
            v.Values.Unit = e;
            out_.Releases.push_back(v.Values);
        }
    }

    void command(std::string_view text) {
        const int numbers = NumberCount(text);
        // The section's first line: the number of groups, and a number not used.
        if (firstInSection_ && numbers == 2) {
            firstInSection_ = false;
            return;
        }
        firstInSection_ = false;
        if (numbers == 1) {  // the number of commands of the next group
            ++groupNumber_;
            return;
        }
        CommandLineValues v = ReadCommandLine(text);
        const int group = groupNumber_ == 0 ? 1 : groupNumber_;
        if (!v.Numbers || group > 8) return bad();
        if (const TOobRec* e = entry(v.Key)) {
            v.Values.Unit = e;
            v.Values.Group = static_cast<std::uint8_t>(group);
            out_.Commands.push_back(v.Values);
        }
    }

    PastedText& out_;
    const EntryLookup& find_;
    std::size_t number_ = 0;
    // The group being read: its values, how many unit lines its line asked
    // for and how many came.
    bool inGroup_ = false;
    TReinfGroup group_{};
    std::int32_t groupWants_ = 0;
    std::int32_t groupUnitLines_ = 0;
    std::size_t groupLine_ = 0;
    // The command section: after the "0" line; the group of its commands.
    bool commands_ = false;
    bool firstInSection_ = false;
    int groupNumber_ = 0;
};

}  // namespace

PastedText ReadRecordText(std::string_view text, const EntryLookup& find) {
    PastedText out;
    out.TextSize = text.size();
    if (text.size() > kPasteTextMax) {
        out.TooLarge = true;
        return out;
    }
    Paste paste(out, find);
    std::size_t number = 0;
    while (!text.empty()) {
        const std::size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        ++number;
        paste.line(number, line);
    }
    paste.finish();
    std::sort(out.BadLines.begin(), out.BadLines.end());
    return out;
}

void KeepAddable(PastedText& pasted, RecordList<TReleaseRec> releases, RecordList<TReinfGroup> groups) {
    auto placeable = [](const TOobRec* e) { return e->Kind == 'U' || e->Kind == 'L' || e->Kind == 'S'; };

    std::unordered_set<const TOobRec*> placed;
    std::erase_if(pasted.Setups, [&](const TSetupRec& s) {
        if (!placeable(s.Unit)) return ++pasted.NotPlaceable, true;
        // A wagon may stand in several places; a unit or leader in one.
        if (s.Unit->Kind != 'S' && (s.Unit->Setup || !placed.insert(s.Unit).second))
            return ++pasted.PlacedAlready, true;
        return false;
    });

    std::unordered_set<const TOobRec*> grouped;
    for (const TReinfGroup* g : groups)
        for (int i = 0; i < g->Count && i < static_cast<int>(g->Units.size()); ++i) grouped.insert(g->Units[i]);
    for (TReinfGroup& g : pasted.Groups) {
        int kept = 0;
        for (int i = 0; i < g.Count; ++i) {
            const TOobRec* e = g.Units[i];
            if (!placeable(e))
                ++pasted.NotPlaceable;
            else if (!grouped.insert(e).second)
                ++pasted.GroupedAlready;
            else
                g.Units[kept++] = e;
        }
        for (int i = kept; i < g.Count; ++i) g.Units[i] = nullptr;
        g.Count = static_cast<std::uint8_t>(kept);
    }
    std::erase_if(pasted.Groups, [](const TReinfGroup& g) { return g.Count == 0; });

    std::unordered_set<const TOobRec*> released;
    for (const TReleaseRec* r : releases) released.insert(r->Unit);
    std::erase_if(pasted.Releases, [&](const TReleaseRec& r) {
        if (!released.insert(r.Unit).second) return ++pasted.ReleasedAlready, true;
        return false;
    });
}

namespace {

// "1 line names a unit ...", "3 lines name units ...".
std::string Lines(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + (n == 1 ? one : many);
}

}  // namespace

std::string PasteMessage(const PastedText& pasted) {
    if (pasted.TooLarge)
        return "The text is too large to paste (" + std::to_string(pasted.TextSize) + " bytes); at most " +
               std::to_string(kPasteTextMax) + " bytes are read.";
    std::vector<std::string> parts;
    if (pasted.UnknownUnits > 0)
        parts.push_back(std::to_string(pasted.UnknownUnits) + " of " + std::to_string(pasted.Lines) +
                        (pasted.UnknownUnits == 1 ? " lines names a unit that is not in the order of battle"
                                                  : " lines name units that are not in the order of battle"));
    if (!pasted.BadLines.empty()) {
        const std::size_t n = pasted.BadLines.size();
        std::string part = Lines(n, " line does not read: line ", " lines do not read: lines ");
        constexpr std::size_t kShown = 10;
        for (std::size_t i = 0; i < n && i < kShown; ++i) part += (i ? ", " : "") + std::to_string(pasted.BadLines[i]);
        if (n > kShown) part += ", ...";
        parts.push_back(part);
    }
    if (pasted.PlacedAlready > 0)
        parts.push_back(
            Lines(pasted.PlacedAlready, " line names a unit placed already", " lines name units placed already"));
    if (pasted.ReleasedAlready > 0)
        parts.push_back(
            Lines(pasted.ReleasedAlready, " line names a unit released already", " lines name units released already"));
    if (pasted.GroupedAlready > 0)
        parts.push_back(Lines(pasted.GroupedAlready, " line names a unit in a group already",
                              " lines name units in a group already"));
    if (pasted.NotPlaceable > 0)
        parts.push_back(Lines(pasted.NotPlaceable, " line places an organisation, which cannot be placed",
                              " lines place organisations, which cannot be placed"));
    std::string text;
    for (const std::string& p : parts) text += (text.empty() ? "" : "; ") + p;
    return text;
}

}  // namespace varno
