#pragma once
// The records of one scenario. Plain data; records are owned by Scenario and
// never released while it lives, so pointers between them stay valid. The
// links between records are pointers to const: whoever holds a record reads
// it, and only the edit operations (scnedit.h), or a ScenarioBuilder,
// change one.
#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace varno {

struct TSetupRec;

// One order-of-battle entry (one line of MAIN.OOB).
struct TOobRec {
    char Kind = 0;             // 'A' 'B' 'C' 'D' 'W' organisation, 'L' leader, 'S' wagon, 'U' unit
    char UnitType = 0;         // type letter of a 'U' entry, else 0
    std::int32_t Parent = -1;  // index in OobList of the containing organisation, -1 at top level
    std::uint8_t Side = 0;     // 1 Union, 0 Confederate
    std::int32_t Strength = 0;
    const TSetupRec* Setup = nullptr;      // last placement made or read of this entry
    std::array<std::uint8_t, 8> Levels{};  // dot-name numbers, zeros after the last

    // Not part of the file's record, kept so that the lists can show and find
    // the entry without searching: its order-of-battle line and its index.
    std::string Display;      // the lbUnits line (bytes as in the file)
    std::int32_t Index = -1;  // position in OobList
};

// Status flag bits of a placement; the value is also the check box's tag.
enum SetupFlag : std::uint32_t {
    sfRouted = 0x1,
    sfLowAmmo = 0x4,
    sfFixed = 0x200,
    sfColonel = 0x400,
    sfDisorg = 0x1000,
    sfDismounted = 0x20000,
    sfMounted = 0x40000,
    sfNoAmmo = 0x100000,
};

// A unit, leader or wagon on the map at scenario start.
struct TSetupRec {
    std::uint8_t Strength = 0;
    std::uint8_t Facing = 0;  // 1, 2, 4, 8, 16 or 32
    std::uint8_t Fatigue = 0;
    std::uint32_t Flags = 0;
    std::uint8_t Col = 0;
    std::uint8_t Row = 0;
    std::uint8_t Aux = 0;  // second number of the setup line, carried unchanged
    const TOobRec* Unit = nullptr;
};

// A fixed unit freed at a date and time.
struct TReleaseRec {
    std::uint8_t Year = 0;  // year - 1800
    std::uint8_t Month = 0;
    std::uint8_t Day = 0;
    std::uint8_t Hour = 0;
    std::uint8_t Minute = 0;
    std::uint8_t Chance = 0;  // percent, 1 to 100
    const TOobRec* Unit = nullptr;
};

// Up to ten units arriving together.
struct TReinfGroup {
    std::uint8_t Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0;
    std::uint8_t Chance = 0;
    std::uint8_t Col = 0, Row = 0;
    std::uint8_t Count = 0;  // slots of Units in use, 1 to 10
    std::uint8_t Facing = 0;
    std::uint8_t ProtHexes = 0;
    std::array<const TOobRec*, 10> Units{};
    // Not part of the file's record: the group's line in the Reinforcements
    // list as the last change left it (a read, an Add, a unit joining or
    // leaving), so that an undone change can show it again.
    std::string Line;
};

// A command for the computer player.
struct TCommandRec {
    std::uint8_t Group = 0;  // 1 to 8
    std::uint8_t Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0;
    std::uint8_t Col = 0, Row = 0;
    std::uint8_t Command = 0;  // 0 Defend - Extreme ... 4 Attack - Extreme
    const TOobRec* Unit = nullptr;
};

// A list of a scenario's records, read-only: the records are seen as const,
// so that nothing changes one behind the history's back.
template <class R> using RecordList = std::span<const R* const>;

// A dot-name lookup key: up to seven numbers from level 0, zero after the last.
using DotKey = std::array<std::uint8_t, 8>;

// The dot name of an entry: '1.2.3'; empty when Levels starts with 0.
std::string DotName(const TOobRec& entry);
// The same, appended to `out` (the writer's lines).
void AppendDotName(std::string& out, const TOobRec& entry);

// The display line of a reinforcement group: its first unit's line, with
// " ..." when the group has more than one unit.
std::string ReinfDisplay(const TOobRec& firstUnit, int unitCount);

}  // namespace varno
