#pragma once
// Records as text, for copy and paste: the scenario file's own lines (CR LF,
// as the writer writes them) and back. A copy pastes into a text editor, a
// mail or another scenario of the same game; text typed in the file's form
// pastes as records. Units are named by their dot names, so that the text
// means the same in every scenario of one order of battle.
//
// The text holds placements ('1' lines), reinforcement groups (a '2' line
// and its unit lines), releases ('4' lines, always with their chance) and,
// after a "0" line, commands in the file's command section: a line "<n> 0",
// then for each group from 1 on a line with its number of commands and its
// command lines (a group in between without commands has the number 0, so
// that each command keeps its group).
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/records.h"

namespace varno {

// Records to copy, each kind in the order given.
struct CopiedRecords {
    std::vector<const TSetupRec*> Setups;
    std::vector<const TReinfGroup*> Groups;
    std::vector<const TReleaseRec*> Releases;
    std::vector<const TCommandRec*> Commands;  // groups 1 to 8; others are left out, as a save does

    bool empty() const { return Setups.empty() && Groups.empty() && Releases.empty() && Commands.empty(); }
    std::size_t size() const { return Setups.size() + Groups.size() + Releases.size() + Commands.size(); }
};

// The records' lines, in the order of a scenario file.
std::string RecordText(const CopiedRecords& records);

// The largest text a paste reads.
inline constexpr std::size_t kPasteTextMax = 64u << 20;

// Finds the entry of a dot name in the order of battle pasted into; null for none.
using EntryLookup = std::function<const TOobRec*(const DotKey&)>;

// What a text gives: records with their entries (values as a read would
// make them), and the lines it left out.
struct PastedText {
    std::vector<TSetupRec> Setups;
    std::vector<TReinfGroup> Groups;  // each with 1 to 10 units; Line empty
    std::vector<TReleaseRec> Releases;
    std::vector<TCommandRec> Commands;
    std::size_t Lines = 0;              // lines of the text, empty ones not counted
    std::size_t UnknownUnits = 0;       // lines naming units not in the order of battle
    std::vector<std::size_t> BadLines;  // lines (from 1) that do not read
    bool TooLarge = false;              // the text is over kPasteTextMax: nothing read
    std::size_t TextSize = 0;
    // Left out by KeepAddable: records the scenario pasted into cannot take.
    std::size_t PlacedAlready = 0;    // placements of units or leaders placed already
    std::size_t ReleasedAlready = 0;  // releases of entries that have one
    std::size_t GroupedAlready = 0;   // group units in a group already
    std::size_t NotPlaceable = 0;     // organisations in a placement or a group

    std::size_t records() const { return Setups.size() + Groups.size() + Releases.size() + Commands.size(); }
};
// Reads `text` (lines ended by CR LF or LF; each cut to 255 characters as a
// read does). Never throws. A group takes the unit lines that follow it, at
// most its count and ten; commands before the first count line are group 1.
PastedText ReadRecordText(std::string_view text, const EntryLookup& find);

// Leaves out what Add would refuse in the scenario pasted into (whose
// releases and groups are given; an entry's placement is its Setup), also
// against records earlier in the text: a second placement of a unit or
// leader, a second release of an entry, a unit in a second group, an
// organisation placed or in a group. A group left without units goes.
void KeepAddable(PastedText& pasted, RecordList<TReleaseRec> releases, RecordList<TReinfGroup> groups);

// The one message of a paste that left lines out, or empty: "3 of 40 lines
// name units that are not in the order of battle; 1 line does not read:
// line 7", and the records KeepAddable left out.
std::string PasteMessage(const PastedText& pasted);

}  // namespace varno
