#pragma once
// The map's hex geometry and the stack icon rules, in picture pixels of
// MAIN1.BMP. Plain C++ without Qt, so that tests and tools use it without a
// window.
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "scenario/mapheader.h"  // MapGrid, ParseMapHeader, ReadMapHeader
#include "scenario/records.h"    // RecordList

namespace varno {

struct HexFinding;
struct TOobRec;
struct TSetupRec;

struct HexPos {
    int Col = 0;
    int Row = 0;
    bool operator==(const HexPos&) const = default;
};

struct PixelPos {
    int X = 0;
    int Y = 0;
    bool operator==(const PixelPos&) const = default;
};

// Columns 26 pixels apart, rows 30; odd columns sit 15 pixels higher.
PixelPos HexCentre(int col, int row);
// Top-left corner of the 32 x 32 stack image of a hex.
PixelPos StackCorner(int col, int row);
// The hex under picture point (x, y), limited to the grid and to the 256
// columns and rows a placement can hold; none when the grid has no hexes (a
// map header that failed to load).
std::optional<HexPos> HexAt(int x, int y, int numCols, int numRows);

// The hexagon drawn around a hex, corners clockwise from the left one: flat
// top and bottom 18 pixels wide, 30 high, 34 across; neighbours share edges.
std::array<PixelPos, 6> HexOutline(int col, int row);

// The columns and rows of the hexes whose outline may meet the picture
// rectangle from (left, top) to (right, bottom) inclusive, limited to the
// grid; empty (Col0 > Col1 or Row0 > Row1) when none does.
struct HexRange {
    int Col0 = 0, Col1 = -1, Row0 = 0, Row1 = -1;
    bool empty() const { return Col0 > Col1 || Row0 > Row1; }
};
HexRange HexesNear(int left, int top, int right, int bottom, int numCols, int numRows);

// True when the outline of hex (col, row) (HexOutline) meets the picture
// rectangle from (left, top) to (right, bottom) inclusive: a band drawn over
// the map touches it.
bool HexMeetsRect(int col, int row, int left, int top, int right, int bottom);

// A hex typed as "column,row": two decimal numbers apart by a comma, by
// blanks, or both, with blanks allowed around them ("12,7", " 12 , 7 ",
// "12 7"). None for anything else, or a number over 99999.
std::optional<HexPos> ParseHexText(std::string_view text);
// True when the hex lies on a grid of numCols x numRows (and within the 256
// columns and rows a placement can hold).
bool HexOnGrid(HexPos hex, int numCols, int numRows);

// Hexes as cube coordinates with the third one left out (axial): q is the
// column, r the row less the half rows the columns to its left climb. In
// these a move is one vector for every hex; in columns and rows it is not,
// since every odd column sits half a row higher.
struct AxialHex {
    int Q = 0;
    int R = 0;
    bool operator==(const AxialHex&) const = default;
};
AxialHex ToAxial(HexPos hex);
HexPos FromAxial(AxialHex hex);

// The six neighbours of a hex, in the order of the facing codes 1, 2, 4, 8,
// 16, 32 ("U", "UR", "DR", "D", "DL", "UL").
enum class HexDir { Up, UpRight, DownRight, Down, DownLeft, UpLeft };
HexPos Neighbour(HexPos hex, HexDir dir);
// The hex `hex` comes to when `from` moves to `to` and everything with it:
// the same vector in axial coordinates, so that a shape keeps its form.
HexPos ShiftHex(HexPos hex, HexPos from, HexPos to);
// The hex one column to the left or right of `hex` in the same row.
HexPos SideStep(HexPos hex, bool right);
// The number of steps between two hexes.
int HexDistance(HexPos a, HexPos b);
// Calls f(hex) for `centre` and then ring by ring around it (each ring
// clockwise from the hex above), for the hexes on the grid only, until f
// returns false or the rings lie wholly off the grid.
template <class F> void ForEachSpiralHex(HexPos centre, int numCols, int numRows, F&& f);

// The hexes of the overloaded-hex check's findings, each once, in the order
// of the findings.
std::vector<HexPos> HexesOf(const std::vector<HexFinding>& findings);

// The key a stack image carries for its hex.
inline int HexKey(int col, int row) { return col * 256 + row; }

// Unit icon number 0 to 35: facing index, +6 in column (Mounted/Column flag),
// +12 for unit type 'C', +24 for 'A'.
int UnitIconNumber(std::uint8_t facing, std::uint32_t flags, char unitType);
int UnitIconNumber(const TSetupRec& rec, const TOobRec& entry);
// Three characters for a placed unit: its kind letter and the icon number in
// two digits ("U05", "L17").
std::string IconCode(char kind, int iconNumber);

// Entries of the icon list.
constexpr int kIconCount = 48;
constexpr int kFirstUnitIcon = 8;
constexpr int kLeaderIcon = 44;
constexpr int kWagonIcon = 45;
// The cell of the icon sheet (row, column) that icon list entry `entry` is cut from.
struct SheetCell {
    int Row = 0;
    int Col = 0;
};
SheetCell IconSheetCell(int entry);

// The icon codes of the units drawn into a stack, in drawing order.
using StackCodes = std::vector<std::string>;
// What the codes of a stack count: leaders and everything else.
struct StackCount {
    int Units = 0;
    int Leaders = 0;
};
StackCount CountStack(const StackCodes& codes);
// A stack takes at most 8 units and wagons and 4 leaders.
bool StackFull(const StackCount& count);
// Background entry of a stack that holds `count` and gets one more of `kind`
// on `side` (1 Union); the side follows the unit drawn last.
int StackBackground(const StackCount& count, char kind, std::uint8_t side);
// Foreground entry shown for a stack's codes: its first leader, else its
// first unit, else its first code.
int StackForeground(const StackCodes& codes);
// Entries for the first unit drawn into an empty hex.
int NewStackBackground(std::uint8_t side);
int NewStackForeground(char kind, int iconNumber);

// One unit drawn into a stack: its kind letter, side (1 Union) and icon number.
struct StackUnit {
    char Kind = 'U';
    std::uint8_t Side = 0;
    int IconNumber = 0;
};
// The icons (background, foreground) drawn one over the other into a stack
// as its units are drawn into it in order, each over what the ones before
// drew. `limit`: a unit that finds the stack full (StackFull) is refused and
// draws nothing, as the map window does; else every unit draws.
std::vector<std::pair<int, int>> StackLayers(const std::vector<StackUnit>& units, bool limit);

// The stacks a Read draws: every hex holding a placement, in the order the
// hexes were first drawn into, with the icon layers of its placements in
// list order (placements of no entry are passed over).
struct HexStack {
    HexPos Hex;
    std::vector<std::pair<int, int>> Layers;
};
std::vector<HexStack> StacksAsRead(RecordList<TSetupRec> setups);

// Status texts of a placement: the facing ("U" ... "UL", "?" for a value the
// game does not know) and the formation letter ("C" in column, else "L").
std::string FacingText(std::uint8_t facing);
char FormationLetter(std::uint32_t flags);

// The directory above `dir` (which ends in '/'): "/game/scen/" gives "/game/".
std::string ParentDirectory(const std::string& dir);

template <class F> void ForEachSpiralHex(HexPos centre, int numCols, int numRows, F&& f) {
    const int cols = std::min(numCols, 256), rows = std::min(numRows, 256);
    if (cols <= 0 || rows <= 0) return;
    if (HexOnGrid(centre, cols, rows) && !f(centre)) return;
    // A ring further out than every corner of the grid, and one more for the
    // half rows of the grid's zigzag edges, holds no hex of it.
    int reach = 0;
    for (const HexPos corner : {HexPos{0, 0}, HexPos{cols - 1, 0}, HexPos{0, rows - 1}, HexPos{cols - 1, rows - 1}})
        reach = std::max(reach, HexDistance(centre, corner) + 1);
    for (int k = 1; k <= reach; ++k) {
        HexPos hex = centre;
        for (int i = 0; i < k; ++i) hex = Neighbour(hex, HexDir::Up);
        // Around the ring: k steps in each direction, from down-right on.
        for (const HexDir dir :
             {HexDir::DownRight, HexDir::Down, HexDir::DownLeft, HexDir::UpLeft, HexDir::Up, HexDir::UpRight}) {
            for (int i = 0; i < k; ++i) {
                if (HexOnGrid(hex, cols, rows) && !f(hex)) return;
                hex = Neighbour(hex, dir);
            }
        }
    }
}

}  // namespace varno
