#include "mapview/overlaypainter.h"

#include <QFont>
#include <QLineF>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "scenario/records.h"
#include "scenario/scenario.h"

namespace varno {

namespace {

QRect ToQRect(const PixelRect& r) { return {r.X, r.Y, r.W, r.H}; }
QPointF ToPoint(PixelPos p) { return {double(p.X), double(p.Y)}; }

// The side a group's marker and frame take: its first unit's.
int GroupSide(const TReinfGroup* g) {
    for (int u = 0; g && u < std::min<int>(g->Count, 10); ++u)
        if (const TOobRec* e = g->Units[static_cast<std::size_t>(u)]) return e->Side != 0 ? 1 : 0;
    return -1;
}

const TReinfGroup* GroupAt(const Scenario& scn, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < scn.ReinfList().size()
               ? scn.ReinfList()[static_cast<std::size_t>(index)]
               : nullptr;
}

QPen Cosmetic(const QColor& colour, double width) {
    QPen pen(colour, width);
    pen.setCosmetic(true);  // as wide on the screen at any zoom
    // Round caps and joins cost the raster engine a hundred times more on
    // long lines.
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

// The part of a segment within a rectangle; false when none is.
bool ClipTo(QLineF& line, const QRectF& r) {
    const std::optional<SegmentSpan> span =
        ClipSegment(line.x1(), line.y1(), line.x2(), line.y2(), r.left(), r.top(), r.right(), r.bottom());
    if (!span) return false;
    const QPointF a = line.p1(), d(line.dx(), line.dy());
    line = QLineF(a + d * span->T0, a + d * span->T1);
    return true;
}

// Texts of the overlays: small, in picture pixels.
QFont OverlayFont(bool bold) {
    QFont font;
    font.setPixelSize(9);
    font.setBold(bold);
    return font;
}

}  // namespace

QColor SideColour(int side) {
    if (side < 0) return QColor(0x70, 0x70, 0x70);
    return side == 1 ? QColor(0x2f, 0x5f, 0xb3) : QColor(0xb0, 0x3a, 0x2e);
}

QColor CommandColour(int command) {
    switch (command) {
    case 0: return QColor(0x2a, 0x3f, 0xc8);   // Defend - Extreme: deep blue
    case 1: return QColor(0x12, 0x9a, 0xa8);   // Defend: teal
    case 3: return QColor(0xf0, 0x8a, 0x00);   // Attack: orange
    case 4: return QColor(0xd8, 0x10, 0x10);   // Attack - Extreme: red
    default: return QColor(0x80, 0x80, 0x80);  // Idle, or a value the pages do not offer
    }
}

bool ShaftRaster::Draw(QPainter& p, const std::vector<ShaftRun>& runs, const QRect& area) {
    if (runs.empty()) return true;
    QPaintEngine* engine = p.paintEngine();
    const QTransform t = p.combinedTransform();
    if (!engine || engine->type() != QPaintEngine::Raster || t.type() > QTransform::TxScale || !p.device())
        return false;
    const QRect device =
        t.mapRect(QRectF(area)).toAlignedRect() & QRect(0, 0, p.device()->width(), p.device()->height());
    if (device.isEmpty()) return true;
    // A margin of two pixels around the area takes what rounding and the
    // wide lines' sides put just outside it, so no pixel needs a test.
    constexpr int kMargin = 2;
    const int w = device.width(), h = device.height();
    if (pixels_.width() < w + 2 * kMargin || pixels_.height() < h + 2 * kMargin)
        pixels_ = QImage(std::max(w + 2 * kMargin, pixels_.width()), std::max(h + 2 * kMargin, pixels_.height()),
                         QImage::Format_ARGB32_Premultiplied);
    const qsizetype stride = pixels_.bytesPerLine() / 4;
    auto* bits = reinterpret_cast<quint32*>(pixels_.bits());
    for (int y = 0; y < h + 2 * kMargin; ++y)
        std::memset(bits + y * stride, 0, static_cast<std::size_t>(w + 2 * kMargin) * 4);
    quint32* const origin = bits + kMargin * stride + kMargin;  // the area's top left pixel
    const QPointF shift = device.topLeft();
    // A line a pixel a step along its longer axis, the pixel nearest to it
    // across; a wide one also the pixels on each side across that axis.
    // Fixed point (20 bits of fraction) across, exact enough for any line
    // of a view.
    constexpr int kFraction = 20;
    auto line = [&](QLineF l, quint32 colour, bool wide) {
        if (!ClipTo(l, QRectF(-0.5, -0.5, w, h))) return;
        const bool alongX = std::abs(l.dx()) >= std::abs(l.dy());
        if (!alongX) l = QLineF(l.y1(), l.x1(), l.y2(), l.x2());  // along y: the same with x and y swapped
        if (l.x1() > l.x2()) l = QLineF(l.p2(), l.p1());
        const double slope = l.dx() > 0 ? l.dy() / l.dx() : 0;
        const int first = static_cast<int>(std::lround(l.x1())), last = static_cast<int>(std::lround(l.x2()));
        constexpr double one = 1 << kFraction;
        qint64 across = std::llround((l.y1() + (first - l.x1()) * slope + 0.5) * one);
        const auto step = static_cast<qint64>(std::llround(slope * one));
        // Pointers along the longer axis and across it.
        const qsizetype along = alongX ? 1 : stride, side = alongX ? stride : 1;
        quint32* at = origin + first * along;
        for (int i = first; i <= last; ++i, at += along, across += step) {
            quint32* pixel = at + static_cast<qsizetype>(across >> kFraction) * side;
            *pixel = colour;
            if (wide) pixel[-side] = pixel[side] = colour;
        }
    };
    for (const ShaftRun& run : runs) {
        const quint32 colour = run.Colour.rgba();  // opaque: premultiplied as it is
        for (const QLineF& l : *run.Lines) line(QLineF(t.map(l.p1()) - shift, t.map(l.p2()) - shift), colour, run.Wide);
    }
    p.save();
    p.resetTransform();
    p.drawImage(device.topLeft(), pixels_, QRect(kMargin, kMargin, w, h));
    p.restore();
    return true;
}

template <class Draw>
const QImage& OverlayPainter::piece(const QString& key, QSize size, double scale, Draw&& draw) const {
    if (scale != piecesScale_) {
        pieces_.clear();
        piecesScale_ = scale;
    }
    QImage& image = pieces_[key];
    if (!image.isNull()) return image;
    const int w = std::max(1, static_cast<int>(std::ceil(size.width() * scale)));
    const int h = std::max(1, static_cast<int>(std::ceil(size.height() * scale)));
    image = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(double(w) / size.width(), double(h) / size.height());
    draw(p);
    return image;
}

void OverlayPainter::Paint(QPainter& p, const Scenario& scn, const OverlayLayout& layout,
                           const std::vector<QImage>* icons, const QRect& area, double scale) const {
    if (area.isEmpty() || layout.Empty()) return;
    p.save();
    paintFixed(p, layout, area);
    paintArrived(p, scn, layout, icons, area, scale);
    paintArrows(p, scn, layout, area, scale);
    paintMarkers(p, scn, layout, area, scale);
    p.restore();
}

void OverlayPainter::paintFixed(QPainter& p, const OverlayLayout& layout, const QRect& area) const {
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor ink(0x20, 0x20, 0x20);
    // One brush for all: the raster engine makes its pattern once a brush.
    const QBrush hatch(ink, Qt::BDiagPattern);
    p.setPen(Cosmetic(ink, 1));
    p.setBrush(Qt::NoBrush);
    for (const OverlayStack& s : layout.FixedStacks) {
        const QRect r = ToQRect(s.Rect);
        if (!r.intersects(area)) continue;
        p.fillRect(r, hatch);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
}

void OverlayPainter::paintArrived(QPainter& p, const Scenario& scn, const OverlayLayout& layout,
                                  const std::vector<QImage>* icons, const QRect& area, double scale) const {
    for (const OverlayStack& s : layout.ArrivedStacks) {
        const QRect r = ToQRect(s.Rect);
        if (!r.intersects(area)) continue;
        const int side = s.Records.empty() ? -1 : GroupSide(GroupAt(scn, s.Records.front()));
        const QColor colour = SideColour(side);
        const std::vector<std::pair<int, int>> layers = StackLayers(ArrivedUnits(scn, s), false);
        if (icons && icons->size() == static_cast<std::size_t>(kIconCount) && !layers.empty()) {
            // The layers drawn into one picture, as a placement's stack is,
            // and kept for the next stack of the same units.
            const qint64 sheet = icons->front().cacheKey();  // another sheet read: another key
            if (sheet != stackIcons_ || stacks_.size() > 4096) {
                stacks_.clear();
                stackIcons_ = sheet;
            }
            QImage& stack = stacks_[layers];
            if (stack.isNull()) {
                const QImage& first = (*icons)[static_cast<std::size_t>(layers.front().first)];
                stack = QImage(first.size(), QImage::Format_ARGB32_Premultiplied);
                stack.fill(Qt::transparent);
                QPainter sp(&stack);
                for (const auto& [background, foreground] : layers) {
                    sp.drawImage(0, 0, (*icons)[static_cast<std::size_t>(background)]);
                    sp.drawImage(0, 0, (*icons)[static_cast<std::size_t>(foreground)]);
                }
            }
            p.drawImage(r.topLeft(), stack);
        } else if (!icons || icons->size() != static_cast<std::size_t>(kIconCount)) {
            p.fillRect(r.adjusted(4, 4, -4, -4), colour.lighter(150));
        }
        // The frame inside the stack's square, about two screen pixels wide.
        const double t = std::clamp(2.0 / scale, 0.5, 8.0);
        QPainterPath frame;
        frame.setFillRule(Qt::OddEvenFill);
        frame.addRect(QRectF(r));
        frame.addRect(QRectF(r).adjusted(t, t, -t, -t));
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillPath(frame, colour);
    }
}

void OverlayPainter::paintArrows(QPainter& p, const Scenario& scn, const OverlayLayout& layout, const QRect& area,
                                 double scale) const {
    if (layout.Arrows.empty()) return;
    const PixelRect view{area.x(), area.y(), area.width(), area.height()};
    // The shafts of one colour and weight in one call; heads of one colour in one path.
    struct Batch {
        std::vector<QLineF> lines;
        QPainterPath heads;
        std::vector<QRectF> rings;
    };
    std::map<std::pair<int, bool>, Batch> batches;  // by (command, in effect)
    struct Disc {
        QPointF centre;
        int command, group;
        bool inEffect;
    };
    std::vector<Disc> discs;
    const double margin = kArrowDiscRadius + kArrowHeadLength + 2;
    for (const OrderArrow& a : layout.Arrows) {
        const PixelRect bounds = ArrowBounds(a);
        if (!ToQRect(bounds).intersects(area)) continue;
        if (a.Tail != a.Head && !SegmentMeetsRect(a.Tail, a.Head, view, static_cast<int>(margin))) continue;
        const TCommandRec* c = scn.CommandList()[static_cast<std::size_t>(a.Command)];
        const int command = std::min<int>(c->Command, 5);
        Batch& b = batches[{command, a.InEffect}];
        const QPointF tail = ToPoint(a.Tail), head = ToPoint(a.Head);
        if (a.Tail == a.Head) {
            b.rings.emplace_back(head.x() - kRingRadius, head.y() - kRingRadius, 2 * kRingRadius, 2 * kRingRadius);
        } else {
            const QPointF d = tail - head;
            const double len = std::hypot(d.x(), d.y());
            const QPointF unit = d / len, across(-unit.y(), unit.x());
            const double headLength = std::min<double>(kArrowHeadLength, len);
            const QPointF base = head + unit * headLength;
            // Only what the area shows: the map is far larger than a view.
            QLineF shaft(tail, base);
            if (ClipTo(shaft, QRectF(area).adjusted(-margin, -margin, margin, margin))) b.lines.push_back(shaft);
            QPolygonF tri;
            tri << head << base + across * 4.0 << base - across * 4.0 << head;
            b.heads.addPolygon(tri);
        }
        // The group's number where it can be read.
        if (scale >= 0.5) discs.push_back({ToPoint(ArrowDisc(a)), command, int{c->Group}, a.InEffect});
    }
    // The shafts, those still to come first: on a picture of pixels straight
    // into its pixels, else (an SVG) as lines.
    std::vector<ShaftRun> runs;
    for (const bool inEffect : {false, true})
        for (const auto& [key, b] : batches)
            if (key.second == inEffect && !b.lines.empty())
                runs.push_back({CommandColour(key.first), inEffect, &b.lines});
    if (!shafts_.Draw(p, runs, area))
        for (const ShaftRun& run : runs) {
            p.setPen(Cosmetic(run.Colour, run.Wide ? 3.0 : 1.0));
            p.setRenderHint(QPainter::Antialiasing, false);
            p.drawLines(run.Lines->data(), static_cast<int>(run.Lines->size()));
        }
    for (const bool inEffect : {false, true})
        for (auto& [key, b] : batches) {
            if (key.second != inEffect) continue;
            const QColor colour = CommandColour(key.first);
            p.setBrush(Qt::NoBrush);
            p.setPen(Cosmetic(colour, inEffect ? 3.0 : 1.0));
            p.setRenderHint(QPainter::Antialiasing, scale >= 0.5);
            for (const QRectF& ring : b.rings) p.drawEllipse(ring);
            p.setPen(Qt::NoPen);
            p.setBrush(inEffect ? colour : colour.lighter(130));
            p.drawPath(b.heads);
        }
    // The discs with the command group's number, over every shaft.
    const int size = 2 * kArrowDiscRadius + 2;
    for (const Disc& d : discs) {
        const QRectF target(d.centre.x() - size / 2.0, d.centre.y() - size / 2.0, size, size);
        if (!target.intersects(area)) continue;
        const QString key = QStringLiteral("d%1.%2.%3").arg(d.command).arg(d.group).arg(d.inEffect);
        const QImage& image = piece(key, QSize(size, size), scale, [&](QPainter& ip) {
            const QColor colour = CommandColour(d.command);
            ip.setPen(QPen(d.inEffect ? Qt::white : colour, 1.2));
            ip.setBrush(d.inEffect ? colour : QColor(Qt::white));
            ip.drawEllipse(QRectF(1, 1, size - 2, size - 2));
            ip.setPen(d.inEffect ? Qt::white : colour.darker(120));
            ip.setFont(OverlayFont(true));
            ip.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, QString::number(d.group));
        });
        p.drawImage(target, image);
    }
}

void OverlayPainter::paintMarkers(QPainter& p, const Scenario& scn, const OverlayLayout& layout, const QRect& area,
                                  double scale) const {
    p.setRenderHint(QPainter::Antialiasing, false);
    for (const ArrivalMarker& m : layout.Markers) {
        const QRect r = ToQRect(m.Rect);
        if (!r.intersects(area)) continue;
        const TReinfGroup* g = GroupAt(scn, m.Group);
        if (!g) continue;
        const int side = GroupSide(g);
        const bool hollow = g->Chance < 100;
        const QColor colour = SideColour(side);
        // Too small to read: a box of the side's colour.
        if (scale < 0.5) {
            p.setPen(hollow ? Cosmetic(colour, 1) : QPen(Qt::NoPen));
            p.setBrush(hollow ? QBrush(Qt::white) : QBrush(colour));
            p.drawRect(r);
            continue;
        }
        const QString time = QString::fromLatin1(MarkerTime(PackDate(g->Year, g->Month, g->Day, g->Hour, g->Minute)));
        const QString count = QString::number(g->Count);
        const QString key = QStringLiteral("m%1.%2.%3.").arg(side).arg(hollow).arg(count) + time;
        const QImage& image = piece(key, r.size(), scale, [&](QPainter& ip) {
            const QRectF box(0.5, 0.5, r.width() - 1, r.height() - 1);
            ip.setPen(QPen(colour, 1));
            ip.setBrush(hollow ? QColor(Qt::white) : colour);
            ip.drawRoundedRect(box, 3, 3);
            const QColor ink = hollow ? colour.darker(130) : QColor(Qt::white);
            ip.setPen(QPen(ink, 0.8));
            ip.drawLine(QPointF(16, 2), QPointF(16, r.height() - 2));
            ip.setFont(OverlayFont(true));
            ip.drawText(QRectF(0, 0, 16, r.height()), Qt::AlignCenter, count);
            ip.setFont(OverlayFont(false));
            ip.drawText(QRectF(17, 0, r.width() - 18, r.height()), Qt::AlignCenter, time);
        });
        p.drawImage(QRectF(r), image);
    }
}

}  // namespace varno
