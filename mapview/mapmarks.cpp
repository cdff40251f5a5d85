#include "mapview/mapmarks.h"

#include <QFont>
#include <QPainter>
#include <QPolygon>
#include <algorithm>

namespace varno {

namespace {

QPolygon OutlineOf(HexPos hex) {
    QPolygon poly;
    for (const PixelPos& c : HexOutline(hex.Col, hex.Row)) poly << QPoint(c.X, c.Y);
    return poly;
}

void DrawOutline(QPainter& p, HexPos hex, const QColor& colour, int width) {
    QPen pen(colour, width);
    pen.setCosmetic(true);  // as wide on the screen at any scale
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(OutlineOf(hex));
}

}  // namespace

void TMapMarks::SetMarked(const std::vector<HexPos>& hexes) {
    std::vector<bool> seen(256 * 256, false);
    marked_.clear();
    for (const HexPos& h : hexes) {
        if (!HexOnGrid(h, 256, 256) || seen[static_cast<std::size_t>(HexKey(h.Col, h.Row))]) continue;
        seen[static_cast<std::size_t>(HexKey(h.Col, h.Row))] = true;
        marked_.push_back(h);
    }
}

bool TMapMarks::KeepOnly(const std::vector<HexPos>& still) {
    std::vector<bool> kept(256 * 256, false);
    for (const HexPos& h : still)
        if (HexOnGrid(h, 256, 256)) kept[static_cast<std::size_t>(HexKey(h.Col, h.Row))] = true;
    return std::erase_if(marked_,
                         [&](const HexPos& h) { return !kept[static_cast<std::size_t>(HexKey(h.Col, h.Row))]; }) > 0;
}

QRect TMapMarks::HexArea(HexPos hex) {
    const PixelPos c = HexCentre(hex.Col, hex.Row);
    // The hexagon with room for an outline of a few screen pixels at a
    // quarter scale.
    return QRect(c.X - 17, c.Y - 15, 35, 31).adjusted(-12, -12, 12, 12);
}

void TMapMarks::Paint(QPainter& p, const QRect& area, int numCols, int numRows, double scale) const {
    if (area.isEmpty()) return;
    p.save();
    const QRect wide = area.adjusted(-12, -12, 12, 12);
    if (HexNumbers && scale >= 1.0) {
        const HexRange r = HexesNear(area.left(), area.top(), area.right(), area.bottom(), numCols, numRows);
        QFont font = p.font();
        font.setPixelSize(8);
        p.setFont(font);
        for (int col = r.Col0; col <= r.Col1; ++col)
            for (int row = r.Row0; row <= r.Row1; ++row) {
                const PixelPos c = HexCentre(col, row);
                // Along the top edge, above the stack's icons.
                const QRect box(c.X - 13, c.Y - 15, 26, 9);
                if (!box.intersects(area)) continue;
                const QString text = QStringLiteral("%1,%2").arg(col).arg(row);
                p.setPen(QColor(255, 255, 255, 200));
                p.drawText(box.translated(1, 1), Qt::AlignHCenter | Qt::AlignTop, text);
                p.setPen(Qt::black);
                p.drawText(box, Qt::AlignHCenter | Qt::AlignTop, text);
            }
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    for (const HexPos& h : marked_)
        if (HexArea(h).intersects(wide)) DrawOutline(p, h, QColor(230, 0, 0), 3);
    if (GoTo && HexArea(*GoTo).intersects(wide)) DrawOutline(p, *GoTo, QColor(0, 200, 255), 2);
    if (Selected && HexArea(*Selected).intersects(wide)) DrawOutline(p, *Selected, QColor(255, 220, 0), 2);
    p.restore();
}

}  // namespace varno
