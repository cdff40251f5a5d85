#include "mapview/mapmarks.h"

#include <QFont>
#include <QFontMetrics>
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

const QImage& TMapMarks::numberPiece(int n, bool column) const {
    std::vector<QImage>& pieces = column ? columnPieces_ : rowPieces_;
    if (pieces.empty()) pieces.resize(256);
    QImage& piece = pieces[static_cast<std::size_t>(std::clamp(n, 0, 255))];
    if (!piece.isNull()) return piece;
    QFont font;
    font.setPixelSize(8);
    const QString text = column ? QStringLiteral("%1,").arg(n) : QString::number(n);
    const int width = QFontMetrics(font).horizontalAdvance(text) + 1;
    piece = QImage(width, 9, QImage::Format_ARGB32_Premultiplied);
    piece.fill(Qt::transparent);
    QPainter p(&piece);
    p.setFont(font);
    // Black on a light shadow: readable on dark and light ground.
    p.setPen(QColor(255, 255, 255, 200));
    p.drawText(QRect(1, 1, width, 9), Qt::AlignLeft | Qt::AlignTop, text);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, width, 9), Qt::AlignLeft | Qt::AlignTop, text);
    return piece;
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
        for (int col = r.Col0; col <= r.Col1; ++col) {
            const QImage& left = numberPiece(col, true);
            for (int row = r.Row0; row <= r.Row1; ++row) {
                const QImage& right = numberPiece(row, false);
                const PixelPos c = HexCentre(col, row);
                // Centred along the top edge, above the stack's icons.
                const int x = c.X - (left.width() + right.width()) / 2, y = c.Y - 15;
                if (!QRect(x, y, left.width() + right.width(), left.height()).intersects(area)) continue;
                p.drawImage(x, y, left);
                p.drawImage(x + left.width(), y, right);
            }
        }
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    for (const HexPos& h : marked_)
        if (HexArea(h).intersects(wide)) DrawOutline(p, h, QColor(230, 0, 0), 3);
    if (GoTo && HexArea(*GoTo).intersects(wide)) DrawOutline(p, *GoTo, QColor(0, 200, 255), 2);
    for (const HexPos& h : Chosen)
        if (HexArea(h).intersects(wide)) DrawOutline(p, h, QColor(255, 220, 0), 2);
    if (Selected && HexArea(*Selected).intersects(wide)) DrawOutline(p, *Selected, QColor(255, 220, 0), 2);
    if (Cursor && HexArea(*Cursor).intersects(wide)) DrawOutline(p, *Cursor, QColor(255, 255, 255), 2);
    p.restore();
}

}  // namespace varno
