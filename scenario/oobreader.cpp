#include "scenario/oobreader.h"

#include <array>
#include <filesystem>
#include <system_error>

#include "scenario/filenames.h"
#include "scenario/inputfile.h"
#include "scenario/linereader.h"
#include "scenario/messagetext.h"
#include "scenario/platform/platform.h"
#include "scenario/scanstr.h"
#include "scenario/scenariobuilder.h"
#include "scenario/scnerror.h"
#include "scenario/shortstring.h"

namespace varno {

namespace {

constexpr int MaxDepth = 7;  // organisations nest at most seven deep

std::string_view StripLeading(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && static_cast<unsigned char>(s[i]) <= 32) ++i;
    return s.substr(i);
}

std::string_view From(std::string_view s, std::size_t index) {
    return index < s.size() ? s.substr(index) : std::string_view();
}

// Walks from position i (a word's start) over n words to the start of the
// n-th word after it; words are runs of characters other than the space.
// With fewer words the walk stops at the last character.
std::size_t SkipWords(std::string_view s, std::size_t i, int n) {
    const std::size_t last = s.size() - 1;
    for (int w = 0; w < n; ++w) {
        while (i < last && s[i] != ' ') ++i;
        while (i < last && s[i] == ' ') ++i;
    }
    return i;
}

// The lbUnits line of a unit: words 2 to 5 with the blanks between them, then
// the text from word 8 on (the two numbers in words 6 and 7 are left out).
// One walk along the line finds the three starts.
std::string UnitDisplay(std::string_view s) {
    std::size_t w1 = 0;
    while (w1 < s.size() - 1 && s[w1] == ' ') ++w1;
    const std::size_t w2 = SkipWords(s, w1, 1), w6 = SkipWords(s, w2, 4), w8 = SkipWords(s, w6, 2);
    const std::string_view head = w6 > w2 ? s.substr(w2, w6 - w2) : std::string_view(), tail = s.substr(w8);
    std::string out;
    out.reserve(head.size() + tail.size());  // one allocation, not one a part
    out.append(head).append(tail);
    return out;
}

class OobParser {
public:
    OobParser(Scenario& scn, LineReader& in, ReadListener& listener) : scn_(scn), in_(in), listener_(listener) {}
    void run();

private:
    // Reads the next line, cut to the 255 characters the scanners work on.
    std::string_view readLine() {
        ++lineNo_;
        whole_ = in_.next();
        return CutShort(whole_);
    }
    // A message quoting the line from `from` (a part of the line last read) on.
    [[noreturn]] void failQuoting(const char* what, std::string_view from) const {
        const std::size_t at = static_cast<std::size_t>(from.data() - whole_.data());
        throw ScnError(what + QuoteLine(whole_.substr(at)));
    }
    [[noreturn]] void fail(const std::string& what) const { throw ScnError(what + "L" + std::to_string(lineNo_)); }
    void closeOrganisation();
    void entry(std::string_view line);
    // Appends an entry; its index.
    std::int32_t append(char kind, std::string display, std::int32_t strength, char unitType);

    Scenario& scn_;
    ScenarioBuilder build_{scn_};
    LineReader& in_;
    ReadListener& listener_;
    std::string_view whole_;  // the line last read, uncut
    int lineNo_ = 0;
    int depth_ = 0;
    std::array<std::uint8_t, 8> counters_{};
    std::int32_t curParent_ = -1;
    std::uint8_t side_ = 0;
};

void OobParser::run() {
    build_.ClearOob();
    listener_.listCleared(ScnListBox::Units);
    readLine();  // the header
    while (!in_.atEnd()) {
        const std::string_view line = StripLeading(readLine());
        if (line.starts_with("End")) {
            closeOrganisation();
        } else {
            entry(line);
        }
    }
}

void OobParser::closeOrganisation() {
    // Climb from the organisation being closed, not from the last entry: an
    // organisation with no entries then closes like any other.
    if (--depth_ < 0 || curParent_ < 0) fail("Too many \"End\"s ");
    curParent_ = scn_.OobList()[static_cast<std::size_t>(curParent_)]->Parent;
}

void OobParser::entry(std::string_view line) {
    if (depth_ == 0) {
        curParent_ = -1;
        if (line.starts_with("Union")) {
            side_ = 1;
            line = From(line, 6);
        } else if (line.starts_with("Confederate")) {
            side_ = 0;
            line = From(line, 12);
        } else {
            fail("Side missing ");
        }
    }
    if (line.empty()) fail("Unknown line type ");

    const char kind = line[0];
    switch (kind) {
    case 'A':
    case 'B':
    case 'C':
    case 'D':
    case 'W': {
        const std::int32_t index = append(kind, std::string(From(line, 2)), 0, 0);
        if (++depth_ > MaxDepth) fail("Too many org. levels ");
        counters_[static_cast<std::size_t>(depth_)] = 0;
        curParent_ = index;
        const std::string_view begin = readLine();
        if (begin.find("Begin") == std::string_view::npos) fail("Missing begin ");
        break;
    }
    case 'L': {
        std::int32_t a, b, c;
        void* dest[] = {&a, &b, &c};
        if (ScanStr(line, "L %d %d %d", dest, 3) != 3) failQuoting("Bad data ", line);
        append(kind, std::string(From(line, 8)), 0, 0);
        break;
    }
    case 'S': {
        std::int32_t strength, b;
        void* dest[] = {&strength, &b};
        if (ScanStr(line, "S %d %d", dest, 2) != 2) failQuoting("Bad data ", line);
        append(kind, std::string(From(line, 6)), strength, 0);
        break;
    }
    case 'U': {
        std::int32_t strength, b, e, f;
        char type, d;
        void* dest[] = {&strength, &b, &type, &d, &e, &f};
        if (ScanStr(line, "U %d %d %c %c %d %d", dest, 6) != 6) failQuoting("Bad data ", line);
        append(kind, UnitDisplay(line), strength, type);
        break;
    }
    default: fail("Unknown line type ");
    }
}

// Appends the entry and its lbUnits line together, so that the list box and
// OobList stay parallel also when a later line fails.
std::int32_t OobParser::append(char kind, std::string display, std::int32_t strength, char unitType) {
    // The next number at this depth; past 255 the byte would wrap and repeat
    // the name of another entry, so a file that needs it is refused.
    if (counters_[static_cast<std::size_t>(depth_)] == 255) fail("Too many entries in one organisation ");
    ++counters_[static_cast<std::size_t>(depth_)];
    TOobRec& rec = build_.NewOobRec();
    rec.Kind = kind;
    rec.UnitType = unitType;
    rec.Parent = curParent_;
    rec.Side = side_;
    rec.Strength = strength;
    for (int d = 0; d <= depth_; ++d) rec.Levels[static_cast<std::size_t>(d)] = counters_[static_cast<std::size_t>(d)];
    rec.Display = std::move(display);
    build_.IndexDotName(rec);
    listener_.lineAdded(ScnListBox::Units, rec.Display);
    return rec.Index;
}

}  // namespace

void ReadOobText(Scenario& scn, LineReader& in, ReadListener& listener) { OobParser(scn, in, listener).run(); }

namespace {

std::string OobPathBeside(const std::string& scnPath) { return FindFileNoCase(DirPart(scnPath), "MAIN.OOB"); }

[[noreturn]] void OobNotFound(const std::string& oobPath) {
    throw ScnError("Order of Battle file not found: " + oobPath);
}

}  // namespace

LoadedOob LoadOobFile(const std::string& scnPath) {
    LoadedOob file;
    file.Path = OobPathBeside(scnPath);
    if (NoFileAt(file.Path)) OobNotFound(file.Path);
    // Opened by a path that a change of directory does not move.
    std::error_code ec;
    std::string openPath = platform::PathString(std::filesystem::absolute(platform::FsPath(file.Path), ec));
    if (ec) openPath = file.Path;
    // Loaded and judged before anything is made from it.
    file.Text = ReadTextFile(openPath);
    if (const std::string why = NotTextReason(file.Text); !why.empty())
        throw ScnError(file.Path + " is not an order of battle file: " + why);
    return file;
}

void ReadOob(Scenario& scn, const std::string& scnPath, ReadListener& listener) {
    const std::string oobPath = OobPathBeside(scnPath);
    if (NoFileAt(oobPath)) {
        // The scenario lists no longer match the order of battle until the
        // scenario is read again.
        scn.ReadIncomplete = true;
        scn.OobPath = oobPath;
        OobNotFound(oobPath);
    }
    ReadOob(scn, LoadOobFile(scnPath), listener);
}

void ReadOob(Scenario& scn, LoadedOob file, ReadListener& listener) {
    scn.ReadIncomplete = true;
    scn.OobPath = file.Path;
    scn.GameDir = DirPart(scn.OobPath);
    // A bare file name lies in the working directory already.
    if (!scn.GameDir.empty()) {
        std::error_code ec;
        std::filesystem::current_path(platform::FsPath(scn.GameDir), ec);
        if (ec) throw ScnError("Cannot make " + scn.GameDir + " the working directory: " + ec.message());
    }
    LineReader in = LineReader::fromText(std::move(file.Text));
    ReadOobText(scn, in, listener);
    listener.oobRead();
}

}  // namespace varno
