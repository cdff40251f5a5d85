#pragma once
// What changed between two scenarios, record by record, and the readable
// one-line form of a scenario's records that the comparison also prints.
//
// Records are matched in rounds; each round pairs the records the earlier
// rounds left over, the first left-over record of the old scenario with the
// first of the new one that has the same key:
// - placements: the same values, then the same dot name (so a wagon placed
//   more than once pairs its placements by their order);
// - reinforcement groups: the same values, then the same units (as a set),
//   then the same first unit;
// - releases and commands: the same values, then the same unit and date,
//   then the same unit (by order);
// - header lines by their number; miscellaneous and trailer lines as text,
//   by the longest run of lines the two keep in common.
// Units are named by their dot names, so two orders of battle that differ
// still match where their dot names agree. A pair whose values differ is a
// change; records left over are added or removed. The order of the lists is
// not compared.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scenario/scenario.h"

namespace varno {

enum class DiffKind { Header, Placement, Group, Release, Misc, Command, Trailer };
enum class DiffChange { Added, Removed, Changed, Moved };  // Moved: a placement whose hex alone changed

struct FieldChange {
    std::string Field;  // "hex", "strength", "flags", "date", "chance", "command", "units", "text", ...
    std::string Old, New;
};

struct DiffItem {
    DiffKind Kind = DiffKind::Placement;
    DiffChange Change = DiffChange::Changed;
    std::string Key;                  // the dot name (a group: its first unit's; a line: its number)
    std::string Name;                 // the unit's name from the order of battle (bytes as in the file)
    int OldIndex = -1;                // index in the old scenario's list (-1 when added)
    int NewIndex = -1;                // index in the new one's (-1 when removed)
    std::vector<FieldChange> Fields;  // Changed and Moved: the fields that differ; Added, Removed: all
};

struct ScnDiff {
    std::vector<DiffItem> Items;  // placements, groups, releases, commands, then the lines
    bool OobDiffers = false;      // the two orders of battle are not the same
    bool OrderDiffers = false;    // some list holds its matched records in another order
    bool Equal() const { return Items.empty() && !OobDiffers; }
};

// Compares two scenarios, each read over its own order of battle.
ScnDiff CompareScenarios(const Scenario& oldScn, const Scenario& newScn);

// Counts of a comparison per change: added, removed, changed (moved included).
struct DiffCounts {
    int Added = 0, Removed = 0, Changed = 0;
};

// The same comparison kept as the pairs it matched, a few words a record,
// for scenarios too large to hold every difference at once: the differences
// are made one at a time when they are asked for, in ScnDiff's order. Both
// scenarios must outlive it unchanged.
class ScnComparison {
public:
    ScnComparison(const Scenario& oldScn, const Scenario& newScn);
    ~ScnComparison();
    ScnComparison(const ScnComparison&) = delete;
    ScnComparison& operator=(const ScnComparison&) = delete;

    bool OobDiffers() const;
    bool OrderDiffers() const;
    DiffCounts Counts() const;
    bool Equal() const;  // as ScnDiff::Equal
    void ForEachItem(const std::function<void(const DiffItem&)>& each) const;
    // DiffLines, one line at a time.
    void ForEachLine(const std::function<void(const std::string&)>& each) const;

private:
    struct Matches;
    std::unique_ptr<Matches> m_;
};

// The names of the flag bits set in `flags` ("Fixed Mounted"), unnamed bits in hex; "-" when none.
std::string FlagNames(std::uint32_t flags);
// The command's name ("Attack"), or its number.
std::string CommandName(std::uint8_t command);

const char* KindWord(DiffKind kind);   // "placement", "group", ...
const char* ChangeWord(DiffChange c);  // "added", "removed", "changed", "moved"

// One line per difference, e.g. "moved    1.2.3  Maj. Gen. X  12,7 -> 14,7",
// after a line saying so when the orders of battle differ, and ending with
// a line saying so when the records differ in their order alone.
std::vector<std::string> DiffLines(const ScnDiff& diff);
std::string DiffLine(const DiffItem& item);

DiffCounts CountDiff(const ScnDiff& diff);

// The scenario's records as readable lines, in file order: header, placements,
// groups, releases, miscellaneous lines, commands, trailer.
std::vector<std::string> ScenarioTextLines(const Scenario& scn);
// The same lines, each told to `each` as it is made.
void ForEachTextLine(const Scenario& scn, const std::function<void(const std::string&)>& each);

}  // namespace varno
