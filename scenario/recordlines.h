#pragma once
// The line form of each scenario record, both ways: the lines the writer
// writes, and what a line read back gives (before its dot name is looked up
// in an order of battle). The scenario reader and writer use them, and so do
// copy and paste, so that a copied record's text is the file's.
#include <cstdint>
#include <string>
#include <string_view>

#include "scenario/records.h"

namespace varno {

// --- Writing: each line ended by CR LF ---------------------------------------

// "1 <dot name> <facing> <aux> <strength> <fatigue> 0 <flags> <col> <row>"
void AppendSetupLine(std::string& out, const TSetupRec& rec);
// "2 <year> <month> <day> <hour> <minute> <chance> <prot. hexes> <col> <row>
// <count> <facing>", then "    <dot name>" for each unit.
void AppendGroupLines(std::string& out, const TReinfGroup& group);
// "4 <year> <month> <day> <hour> <minute> [<chance>] <dot name>"
void AppendReleaseLine(std::string& out, const TReleaseRec& rec, bool withChance);
// "<dot name> <year> <month> <day> <hour> <minute> <col> <row> <command>"
void AppendCommandLine(std::string& out, const TCommandRec& rec);

// --- Reading: the values of one line, cut to 255 characters ------------------

// A year as the records keep it: year - 1800 in a byte, earlier years as 1800.
std::uint8_t StoredYearOf(std::int32_t year);

// The dot name at the start of `text` as a lookup key (format "%hd.%hd...").
DotKey ScanDotKey(std::string_view text);

// A placement line. Numbers: all eight numbers read (the first seven at least).
struct SetupLineValues {
    DotKey Key{};
    bool Numbers = false;
    TSetupRec Values{};  // Unit not set
};
SetupLineValues ReadSetupLine(std::string_view line);

// A group line. Numbers: all eleven read; UnitCount as written (1 to 10 in a good line).
struct GroupLineValues {
    bool Numbers = false;
    std::int32_t UnitCount = 0;
    TReinfGroup Values{};  // Count 0, no units
};
GroupLineValues ReadGroupLine(std::string_view line);
// A unit line of a group: its dot name after the leading blanks.
DotKey ReadGroupUnitLine(std::string_view line);

// A release line, with or without its chance; the dot name is its last word.
struct ReleaseLineValues {
    DotKey Key{};
    int Fields = 0;          // numbers read: 5 or more in a good line
    bool HasChance = false;  // the form with a chance
    TReleaseRec Values{};    // Year, Month ... as read; Chance 100 unless given 1 to 100
};
ReleaseLineValues ReadReleaseLine(std::string_view line);

// A command line; Group is not on the line (its block gives it).
struct CommandLineValues {
    DotKey Key{};
    bool Numbers = false;
    TCommandRec Values{};
};
CommandLineValues ReadCommandLine(std::string_view line);

}  // namespace varno
