#pragma once
// Where the map's overlays go, in picture pixels, and what lies under a
// point: the arrival marker of each reinforcement group, the arrow of each
// order of the computer player, the hatched stacks of fixed placements and
// the stacks of the groups that have arrived at the clock's time. Plain C++
// without Qt: the map window, the pictures it exports and varno-cli's
// map-picture all lay the overlays out here and only paint them.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mapview/hexgeom.h"
#include "mapview/zoomgeom.h"  // PixelRect
#include "scenario/readlistener.h"
#include "scenario/scnplan.h"

namespace varno {

class Scenario;

// Which overlays are on.
struct OverlaySet {
    bool Arrivals = false;
    bool Orders = false;
    bool Releases = false;
    bool Any() const { return Arrivals || Orders || Releases; }
    bool operator==(const OverlaySet&) const = default;
};
// "arrivals,orders,releases": any of the three names apart by commas, in any
// order and any case; "" or "none" for none, "all" for all. None for a name
// it does not know.
std::optional<OverlaySet> ParseOverlayList(std::string_view text);

// An arrival marker: a box in the side's colour holding the group's number
// of units and its arrival time, above its hex. Groups arriving at one hex
// stack their markers upward, the first group in list order lowest.
inline constexpr int kMarkerWidth = 70;
inline constexpr int kMarkerHeight = 13;
PixelRect MarkerRect(HexPos hex, int stacked, int pictureWidth = 0);
// "07-02 10:00": the arrival's month, day and time.
std::string MarkerTime(SchedDate when);

struct ArrivalMarker {
    int Group = -1;  // index in ReinfList
    HexPos Hex;
    PixelRect Rect;
};

// An order's arrow from its entry's hex to its target hex (hex centres).
// The head is a point at the target with the command group's number on a
// disc just behind it; an arrow whose entry stands on its target is a ring
// around the hex with the disc on it.
struct OrderArrow {
    int Command = -1;  // index in CommandList
    PixelPos Tail, Head;
    bool InEffect = false;  // else still to come: drawn thin
    UnitPlaceKind From = UnitPlaceKind::Placed;
};
inline constexpr int kArrowDiscRadius = 6;
inline constexpr int kArrowHeadLength = 10;
inline constexpr int kRingRadius = 12;
// The centre of the disc with the group's number.
PixelPos ArrowDisc(const OrderArrow& arrow);
// The rectangle an arrow's drawing stays within.
PixelRect ArrowBounds(const OrderArrow& arrow);

// The stacks the clock adds: a hex whose placements are fixed at the time
// (hatched; Records are SetupList indexes), or a hex where groups have
// arrived (their units as one stack in a frame; Records are ReinfList
// indexes). The stack image's square of the hex.
struct OverlayStack {
    HexPos Hex;
    PixelRect Rect;
    std::vector<int> Records;
};

struct OverlayLayout {
    std::vector<OverlayStack> FixedStacks;    // with the Releases overlay
    std::vector<OverlayStack> ArrivedStacks;  // whenever the clock is past an arrival
    std::vector<OrderArrow> Arrows;           // with the Orders overlay: still to come first, then in effect
    std::vector<ArrivalMarker> Markers;       // with the Arrivals overlay
    bool Empty() const { return FixedStacks.empty() && ArrivedStacks.empty() && Arrows.empty() && Markers.empty(); }
};

// Lays out what the overlays `on` show of the plan; in the order they are
// painted (the later lies on top). Superseded orders and orders of an entry
// that stands nowhere get no arrow. Markers that would stick out of the
// picture's width (when given) are moved in.
OverlayLayout LayOutOverlays(const Scenario& scn, const ScenarioPlan& plan, OverlaySet on, int pictureWidth = 0);

// The part of the segment from (ax, ay) to (bx, by) within [x0, x1] x [y0, y1]:
// the range [T0, T1] of its parameter (0 at a, 1 at b); none when it misses.
struct SegmentSpan {
    double T0 = 0, T1 = 1;
};
std::optional<SegmentSpan> ClipSegment(double ax, double ay, double bx, double by, double x0, double y0, double x1,
                                       double y1);
// True when the segment from a to b passes through the rectangle (grown by
// `margin` on each side).
bool SegmentMeetsRect(PixelPos a, PixelPos b, const PixelRect& r, int margin);

// What lies under a picture point, the topmost first: a marker, an arrow's
// head (its point or disc), an arrow's shaft, an arrived stack, a hatched
// stack. `slack` widens the shafts and heads (picture pixels: a few screen
// pixels at any zoom).
enum class OverlayItem { None, Marker, ArrowHead, Arrow, ArrivedStack, FixedStack };
struct OverlayHit {
    OverlayItem Item = OverlayItem::None;
    int Index = -1;  // in the layout's vector of that kind (heads and shafts: Arrows)
    bool operator==(const OverlayHit&) const = default;
};
OverlayHit HitOverlay(const OverlayLayout& layout, PixelPos at, int slack);

// The record an overlay item stands for, selected by a click: a marker's or
// an arrived stack's (first) group, an arrow's command, and for a hatched
// stack the release that frees its first fixed placement, or that
// placement when no release frees it. None for nothing.
struct OverlayRecord {
    ScnListBox List = ScnListBox::SetUnits;
    int Index = -1;
    bool operator==(const OverlayRecord&) const = default;
};
std::optional<OverlayRecord> RecordOf(const OverlayLayout& layout, const ScenarioPlan& plan, OverlayHit hit);

// The text shown over an item: its records' list lines, each with what the
// overlay tells of it ("Arrives 1863-07-02 10:00 at 39,2 ..."). Bytes of the
// list lines as they are (Latin-1), lines apart by '\n'.
std::string OverlayText(const Scenario& scn, const OverlayLayout& layout, const ScenarioPlan& plan, OverlayHit hit);

// The units of the groups of an arrived stack, in order, facing as their group.
std::vector<StackUnit> ArrivedUnits(const Scenario& scn, const OverlayStack& stack);

}  // namespace varno
