#include "mapview/overlaygeom.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "scenario/records.h"
#include "scenario/scenario.h"

namespace varno {

namespace {

template <class Rec> SchedDate DateOf(const Rec& r) { return PackDate(r.Year, r.Month, r.Day, r.Hour, r.Minute); }

// Records grouped by hex, the hexes in the order of their first record.
template <class HexOf>
std::vector<OverlayStack> StacksBy(std::size_t count, const std::vector<bool>& take, HexOf&& hexOf) {
    std::vector<OverlayStack> stacks;
    std::vector<int> slot(256 * 256, -1);
    for (std::size_t i = 0; i < count; ++i) {
        if (!take[i]) continue;
        const HexPos hex = hexOf(i);
        int& at = slot[static_cast<std::size_t>(HexKey(hex.Col, hex.Row))];
        if (at < 0) {
            at = static_cast<int>(stacks.size());
            const PixelPos corner = StackCorner(hex.Col, hex.Row);
            stacks.push_back({hex, {corner.X, corner.Y, 32, 32}, {}});
        }
        stacks[static_cast<std::size_t>(at)].Records.push_back(static_cast<int>(i));
    }
    return stacks;
}

bool Inside(const PixelRect& r, PixelPos p) { return p.X >= r.X && p.X < r.X + r.W && p.Y >= r.Y && p.Y < r.Y + r.H; }

double Distance(PixelPos a, PixelPos b) { return std::hypot(double(a.X - b.X), double(a.Y - b.Y)); }

double DistanceToSegment(PixelPos p, PixelPos a, PixelPos b) {
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    const double len2 = dx * dx + dy * dy;
    if (len2 == 0) return Distance(p, a);
    const double t = std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / len2, 0.0, 1.0);
    return std::hypot(a.X + t * dx - p.X, a.Y + t * dy - p.Y);
}

std::string GroupLine(const TReinfGroup& g) {
    if (!g.Line.empty()) return g.Line;
    return g.Count > 0 && g.Units[0] ? ReinfDisplay(*g.Units[0], g.Count) : std::string();
}

std::string Format(const char* fmt, auto... args) {
    char text[256];
    std::snprintf(text, sizeof text, fmt, args...);
    return text;
}

std::string ArrivalText(const TReinfGroup& g, const char* verb) {
    std::string units = g.Count == 1 ? "1 unit" : Format("%d units", int{g.Count});
    return GroupLine(g) + "\n" +
           Format("%s %s at %d,%d (%d %%): %s, %d protected hex%s", verb, DateText(DateOf(g)).c_str(), int{g.Col},
                  int{g.Row}, int{g.Chance}, units.c_str(), int{g.ProtHexes}, g.ProtHexes == 1 ? "" : "es");
}

}  // namespace

std::optional<OverlaySet> ParseOverlayList(std::string_view text) {
    OverlaySet on;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find(',', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string name;
        for (char c : text.substr(pos, end - pos))
            if (c != ' ') name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (name == "arrivals")
            on.Arrivals = true;
        else if (name == "orders")
            on.Orders = true;
        else if (name == "releases")
            on.Releases = true;
        else if (name == "all")
            on = {true, true, true};
        else if (!name.empty() && name != "none")
            return std::nullopt;
        pos = end + 1;
    }
    return on;
}

PixelRect MarkerRect(HexPos hex, int stacked, int pictureWidth) {
    const PixelPos c = HexCentre(hex.Col, hex.Row);
    int x = c.X - kMarkerWidth / 2;
    if (pictureWidth > 0) x = std::min(x, pictureWidth - kMarkerWidth);
    return {std::max(0, x), c.Y - 16 - (stacked + 1) * kMarkerHeight, kMarkerWidth, kMarkerHeight};
}

std::string MarkerTime(SchedDate when) {
    const auto f = [when](int shift) { return static_cast<int>((when >> shift) & 0xFF); };
    return Format("%02d-%02d %02d:%02d", f(24), f(16), f(8), f(0));
}

PixelPos ArrowDisc(const OrderArrow& arrow) {
    const double dx = arrow.Tail.X - arrow.Head.X, dy = arrow.Tail.Y - arrow.Head.Y;
    const double len = std::hypot(dx, dy);
    if (len == 0) {
        // On the ring, up and to the right.
        const int d = static_cast<int>(std::lround(kRingRadius * 0.7071));
        return {arrow.Head.X + d, arrow.Head.Y - d};
    }
    const double back = std::min(len, double(kArrowHeadLength + kArrowDiscRadius));
    return {static_cast<int>(std::lround(arrow.Head.X + dx / len * back)),
            static_cast<int>(std::lround(arrow.Head.Y + dy / len * back))};
}

PixelRect ArrowBounds(const OrderArrow& arrow) {
    const PixelPos disc = ArrowDisc(arrow);
    const int grow = std::max(kArrowDiscRadius, kArrowHeadLength) + 2;
    int x0 = std::min({arrow.Tail.X, arrow.Head.X, disc.X}) - grow;
    int y0 = std::min({arrow.Tail.Y, arrow.Head.Y, disc.Y}) - grow;
    int x1 = std::max({arrow.Tail.X, arrow.Head.X, disc.X}) + grow;
    int y1 = std::max({arrow.Tail.Y, arrow.Head.Y, disc.Y}) + grow;
    if (arrow.Tail == arrow.Head) {
        x0 = std::min(x0, arrow.Head.X - kRingRadius - 2);
        y0 = std::min(y0, arrow.Head.Y - kRingRadius - 2);
        x1 = std::max(x1, arrow.Head.X + kRingRadius + 2);
        y1 = std::max(y1, arrow.Head.Y + kRingRadius + 2);
    }
    return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

OverlayLayout LayOutOverlays(const Scenario& scn, const ScenarioPlan& plan, OverlaySet on, int pictureWidth) {
    OverlayLayout out;
    const std::size_t setups = std::min(scn.SetupList().size(), plan.FixedNow.size());
    if (on.Releases)
        out.FixedStacks = StacksBy(setups, plan.FixedNow, [&](std::size_t i) {
            return HexPos{scn.SetupList()[i]->Col, scn.SetupList()[i]->Row};
        });
    const std::size_t groups = std::min(scn.ReinfList().size(), plan.Arrived.size());
    out.ArrivedStacks = StacksBy(groups, plan.Arrived, [&](std::size_t i) {
        return HexPos{scn.ReinfList()[i]->Col, scn.ReinfList()[i]->Row};
    });
    if (on.Orders) {
        const std::size_t commands = std::min({scn.CommandList().size(), plan.Orders.size(), plan.OrderFrom.size()});
        for (const bool inEffect : {false, true})
            for (std::size_t i = 0; i < commands; ++i) {
                const TCommandRec* c = scn.CommandList()[i];
                const UnitPlace& from = plan.OrderFrom[i];
                if (!c || from.Kind == UnitPlaceKind::Nowhere) continue;
                if ((plan.Orders[i] == OrderState::InEffect) != inEffect || plan.Orders[i] == OrderState::Superseded)
                    continue;
                out.Arrows.push_back({static_cast<int>(i), HexCentre(from.Col, from.Row), HexCentre(c->Col, c->Row),
                                      inEffect, from.Kind});
            }
    }
    if (on.Arrivals) {
        std::vector<int> stacked(256 * 256, 0);
        out.Markers.reserve(scn.ReinfList().size());
        for (std::size_t i = 0; i < scn.ReinfList().size(); ++i) {
            const TReinfGroup* g = scn.ReinfList()[i];
            if (!g) continue;
            const HexPos hex{g->Col, g->Row};
            out.Markers.push_back(
                {static_cast<int>(i), hex,
                 MarkerRect(hex, stacked[static_cast<std::size_t>(HexKey(hex.Col, hex.Row))]++, pictureWidth)});
        }
    }
    return out;
}

std::optional<SegmentSpan> ClipSegment(double ax, double ay, double bx, double by, double x0, double y0, double x1,
                                       double y1) {
    // Liang-Barsky: narrow the parameter's range at each side.
    const double dx = bx - ax, dy = by - ay;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {ax - x0, x1 - ax, ay - y0, y1 - ay};
    SegmentSpan span;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return std::nullopt;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            span.T0 = std::max(span.T0, t);
        else
            span.T1 = std::min(span.T1, t);
        if (span.T0 > span.T1) return std::nullopt;
    }
    return span;
}

bool SegmentMeetsRect(PixelPos a, PixelPos b, const PixelRect& r, int margin) {
    return ClipSegment(a.X, a.Y, b.X, b.Y, r.X - margin, r.Y - margin, r.X + r.W - 1 + margin, r.Y + r.H - 1 + margin)
        .has_value();
}

OverlayHit HitOverlay(const OverlayLayout& layout, PixelPos at, int slack) {
    for (std::size_t i = layout.Markers.size(); i-- > 0;)
        if (Inside(layout.Markers[i].Rect, at)) return {OverlayItem::Marker, static_cast<int>(i)};
    for (std::size_t i = layout.Arrows.size(); i-- > 0;) {
        const OrderArrow& a = layout.Arrows[i];
        if (Distance(at, ArrowDisc(a)) <= kArrowDiscRadius + slack ||
            (a.Tail != a.Head && Distance(at, a.Head) <= 4 + slack))
            return {OverlayItem::ArrowHead, static_cast<int>(i)};
    }
    for (std::size_t i = layout.Arrows.size(); i-- > 0;) {
        const OrderArrow& a = layout.Arrows[i];
        const double off =
            a.Tail == a.Head ? std::abs(Distance(at, a.Head) - kRingRadius) : DistanceToSegment(at, a.Tail, a.Head);
        if (off <= 2 + slack) return {OverlayItem::Arrow, static_cast<int>(i)};
    }
    for (std::size_t i = layout.ArrivedStacks.size(); i-- > 0;)
        if (Inside(layout.ArrivedStacks[i].Rect, at)) return {OverlayItem::ArrivedStack, static_cast<int>(i)};
    for (std::size_t i = layout.FixedStacks.size(); i-- > 0;)
        if (Inside(layout.FixedStacks[i].Rect, at)) return {OverlayItem::FixedStack, static_cast<int>(i)};
    return {};
}

std::optional<OverlayRecord> RecordOf(const OverlayLayout& layout, const ScenarioPlan& plan, OverlayHit hit) {
    const auto i = static_cast<std::size_t>(hit.Index);
    switch (hit.Item) {
    case OverlayItem::None: break;
    case OverlayItem::Marker:
        if (i < layout.Markers.size()) return OverlayRecord{ScnListBox::Reinfor, layout.Markers[i].Group};
        break;
    case OverlayItem::ArrowHead:
    case OverlayItem::Arrow:
        if (i < layout.Arrows.size()) return OverlayRecord{ScnListBox::Commands, layout.Arrows[i].Command};
        break;
    case OverlayItem::ArrivedStack:
        if (i < layout.ArrivedStacks.size() && !layout.ArrivedStacks[i].Records.empty())
            return OverlayRecord{ScnListBox::Reinfor, layout.ArrivedStacks[i].Records.front()};
        break;
    case OverlayItem::FixedStack:
        if (i < layout.FixedStacks.size() && !layout.FixedStacks[i].Records.empty()) {
            const int placement = layout.FixedStacks[i].Records.front();
            const int release = static_cast<std::size_t>(placement) < plan.FreedBy.size()
                                    ? plan.FreedBy[static_cast<std::size_t>(placement)]
                                    : -1;
            if (release >= 0) return OverlayRecord{ScnListBox::Releases, release};
            return OverlayRecord{ScnListBox::SetUnits, placement};
        }
        break;
    }
    return std::nullopt;
}

std::string OverlayText(const Scenario& scn, const OverlayLayout& layout, const ScenarioPlan& plan, OverlayHit hit) {
    const auto i = static_cast<std::size_t>(hit.Index);
    auto group = [&scn](int index) -> const TReinfGroup* {
        return index >= 0 && static_cast<std::size_t>(index) < scn.ReinfList().size()
                   ? scn.ReinfList()[static_cast<std::size_t>(index)]
                   : nullptr;
    };
    std::string text;
    switch (hit.Item) {
    case OverlayItem::None: break;
    case OverlayItem::Marker:
        if (i < layout.Markers.size())
            if (const TReinfGroup* g = group(layout.Markers[i].Group)) text = ArrivalText(*g, "Arrives");
        break;
    case OverlayItem::ArrowHead:
    case OverlayItem::Arrow: {
        if (i >= layout.Arrows.size()) break;
        const OrderArrow& a = layout.Arrows[i];
        const auto ci = static_cast<std::size_t>(a.Command);
        if (ci >= scn.CommandList().size() || !scn.CommandList()[ci]) break;
        const TCommandRec& c = *scn.CommandList()[ci];
        text = (c.Unit ? c.Unit->Display : std::string()) + "\n" +
               Format("Group %d %s at %d,%d from %s, %s", int{c.Group}, CommandName(c.Command).c_str(), int{c.Col},
                      int{c.Row}, DateText(DateOf(c)).c_str(), a.InEffect ? "in effect" : "not yet in effect");
        if (ci < plan.OrderFrom.size()) {
            const UnitPlace& from = plan.OrderFrom[ci];
            if (from.Kind == UnitPlaceKind::Placed)
                text += Format("\nFrom %d,%d, where it is placed", from.Col, from.Row);
            else if (const TReinfGroup* g = group(from.Index))
                text += Format("\nFrom %d,%d, where it arrives %s", from.Col, from.Row, DateText(DateOf(*g)).c_str());
        }
        break;
    }
    case OverlayItem::ArrivedStack:
        if (i < layout.ArrivedStacks.size())
            for (const int index : layout.ArrivedStacks[i].Records)
                if (const TReinfGroup* g = group(index)) {
                    if (!text.empty()) text += '\n';
                    text += ArrivalText(*g, "Arrived");
                }
        break;
    case OverlayItem::FixedStack:
        if (i >= layout.FixedStacks.size()) break;
        for (const int index : layout.FixedStacks[i].Records) {
            const auto si = static_cast<std::size_t>(index);
            if (si >= scn.SetupList().size() || !scn.SetupList()[si]) continue;
            const TSetupRec& s = *scn.SetupList()[si];
            if (!text.empty()) text += "\n";
            text += (s.Unit ? s.Unit->Display : std::string()) + "\n";
            const int release = si < plan.FreedBy.size() ? plan.FreedBy[si] : -1;
            const TReleaseRec* r = release >= 0 && static_cast<std::size_t>(release) < scn.ReleaseList().size()
                                       ? scn.ReleaseList()[static_cast<std::size_t>(release)]
                                       : nullptr;
            text += r ? Format("Fixed until %s (%d %%)", DateText(DateOf(*r)).c_str(), int{r->Chance})
                      : std::string("Fixed: no release");
        }
        break;
    }
    return text;
}

std::vector<StackUnit> ArrivedUnits(const Scenario& scn, const OverlayStack& stack) {
    std::vector<StackUnit> units;
    for (const int index : stack.Records) {
        if (index < 0 || static_cast<std::size_t>(index) >= scn.ReinfList().size()) continue;
        const TReinfGroup* g = scn.ReinfList()[static_cast<std::size_t>(index)];
        if (!g) continue;
        const int count = std::min<int>(g->Count, static_cast<int>(g->Units.size()));
        for (int u = 0; u < count; ++u)
            if (const TOobRec* e = g->Units[static_cast<std::size_t>(u)])
                units.push_back({e->Kind, e->Side, UnitIconNumber(g->Facing, 0, e->UnitType)});
    }
    return units;
}

}  // namespace varno
