// Draws the demo game's pictures: MAIN1.BMP, the map picture on the exact hex
// geometry of the map window, coloured by the terrain letters of MAIN.MAP and
// shaded by its elevations; and ICONS2D.BMP, the icon sheet of 32 x 32 cells
// (stack backgrounds of each side, unit icons in six facings in line and in
// column for three unit classes, a leader and a wagon), white where
// transparent. Our own simple art, made at build time.
// Usage: demo_draw_pictures MAIN.MAP OUTPUT_DIRECTORY
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "mapview/hexgeom.h"

using namespace varno;

namespace {

constexpr double kSide = 17.32;  // circumradius: rows 30 apart, columns 26

QColor Terrain(char letter) {
    switch (letter) {
    case 'f': return {206, 196, 96};   // fields
    case 'w': return {46, 112, 52};    // woods
    case 'r': return {64, 120, 212};   // river
    case 't': return {176, 140, 92};   // trail
    case 'o': return {150, 150, 156};  // town
    case 'T': return {112, 108, 116};  // town centre
    case 's': return {110, 140, 120};  // swamp
    case 'd': return {150, 118, 80};   // rough ground
    case 'm': return {196, 176, 140};  // farm
    default: return {150, 196, 110};   // open ground
    }
}

QPolygonF Hexagon(PixelPos c, double r) {
    QPolygonF p;
    for (int k = 0; k < 6; ++k) {
        const double a = M_PI / 3 * k;
        p << QPointF(c.X + r * std::cos(a), c.Y + r * std::sin(a));
    }
    return p;
}

bool DrawMap(const std::string& mapPath, const std::string& out) {
    std::ifstream in(mapPath, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        lines.push_back(l);
    }
    if (lines.size() < 3) return false;
    MapGrid grid;
    try {
        grid = ParseMapHeader(lines[0], lines[1]);
    } catch (...) {
        return false;
    }
    const int cols = grid.NumCols, rows = grid.NumRows;
    if (lines.size() < static_cast<std::size_t>(3 + 2 * rows)) return false;
    QImage picture(26 * cols + 46, 30 * rows + 50, QImage::Format_RGB32);
    picture.fill(QColor(90, 90, 90));
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const std::string& ter = lines[static_cast<std::size_t>(3 + r)];
            const std::string& ele = lines[static_cast<std::size_t>(3 + rows + r)];
            const char t = c < static_cast<int>(ter.size()) ? ter[static_cast<std::size_t>(c)] : ' ';
            const int e = c < static_cast<int>(ele.size()) ? ele[static_cast<std::size_t>(c)] - '0' : 0;
            const PixelPos centre = HexCentre(c, r);
            // Higher ground is lighter.
            p.setBrush(Terrain(t).lighter(100 + 8 * std::max(0, std::min(e, 6))));
            p.setPen(QPen(QColor(70, 80, 60), 1));
            p.drawPolygon(Hexagon(centre, kSide));
            if (t == 'o' || t == 'T' || t == 'm') {
                // Buildings.
                p.setPen(Qt::NoPen);
                p.setBrush(t == 'm' ? QColor(150, 60, 50) : QColor(80, 70, 70));
                p.drawRect(centre.X - 6, centre.Y - 4, 7, 6);
                p.drawRect(centre.X + 1, centre.Y + 2, 6, 5);
            } else if (t == 'w') {
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(30, 80, 36));
                for (const auto& [dx, dy] : {std::pair{-6, -4}, {5, -5}, {0, 5}})
                    p.drawEllipse(QPointF(centre.X + dx, centre.Y + dy), 4, 4);
            } else if (t == 's') {
                p.setPen(QPen(QColor(60, 100, 150), 1.5));
                for (int dy : {-5, 0, 5}) p.drawLine(centre.X - 7, centre.Y + dy, centre.X + 7, centre.Y + dy);
            }
        }
    p.end();
    return picture.save(QString::fromStdString(out + "/MAIN1.BMP"), "BMP");
}

const QColor kConfed(146, 146, 150), kUnion(52, 84, 196), kInk(24, 24, 28), kPaper(254, 250, 236);

// 1 to 4 counters stacked from the top left (back) to the bottom right (front).
void Counters(QPainter& p, int count, const QColor& side) {
    const int size = 22, start = (32 - (size + 3 * (count - 1))) / 2;
    for (int i = 0; i < count; ++i) {
        p.setPen(QPen(side.darker(160), 1));
        p.setBrush(side);
        p.drawRect(start + 3 * i, start + 3 * i, size - 1, size - 1);
    }
}

// A unit symbol facing one of six directions: a wide block in line, a long
// one in column, an arrow toward the facing, and the class mark: crossed
// lines for infantry, one slash for cavalry, a ball for artillery.
void Unit(QPainter& p, int facing, bool column, int cls) {
    p.save();
    p.translate(16, 16);
    p.rotate(60.0 * facing);
    const QRectF body = column ? QRectF(-4.5, -7, 9, 16) : QRectF(-9, -4, 18, 9);
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kPaper);
    p.drawRect(body);
    p.setBrush(kInk);
    QPolygonF arrow;
    const double tip = body.top() - 5;
    arrow << QPointF(0, tip) << QPointF(-3.5, body.top() - 0.5) << QPointF(3.5, body.top() - 0.5);
    p.drawPolygon(arrow);
    p.setPen(QPen(kInk, 1.4));
    if (cls == 0) {
        p.drawLine(body.topLeft(), body.bottomRight());
        p.drawLine(body.topRight(), body.bottomLeft());
    } else if (cls == 1) {
        p.drawLine(body.bottomLeft(), body.topRight());
    } else {
        p.drawEllipse(body.center(), 2.5, 2.5);
    }
    p.restore();
}

void Leader(QPainter& p) {
    QPolygonF star;
    for (int k = 0; k < 10; ++k) {
        const double a = -M_PI / 2 + M_PI / 5 * k, r = k % 2 ? 4.5 : 11;
        star << QPointF(16 + r * std::cos(a), 16 + r * std::sin(a));
    }
    p.setPen(QPen(QColor(120, 80, 0), 1));
    p.setBrush(QColor(240, 196, 40));
    p.drawPolygon(star);
}

void Wagon(QPainter& p) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(150, 100, 50));
    p.drawRect(QRectF(7, 10, 18, 9));
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(11, 21), 3.5, 3.5);
    p.drawEllipse(QPointF(21, 21), 3.5, 3.5);
}

void Flag(QPainter& p, const QColor& c) {
    p.setPen(QPen(kInk, 1.2));
    p.drawLine(9, 6, 9, 26);
    p.setBrush(c);
    p.drawRect(QRectF(9, 6, 14, 9));
}

bool DrawIcons(const std::string& out) {
    QImage sheet(12 * 32, 12 * 32, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    // Sharp edges: a blended edge pixel next to white would not be transparent.
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int entry = 0; entry < kIconCount; ++entry) {
        const SheetCell cell = IconSheetCell(entry);
        p.save();
        p.translate(cell.Col * 32, cell.Row * 32);
        if (entry < 8)
            Counters(p, entry % 4 + 1, entry < 4 ? kConfed : kUnion);
        else if (entry < 44)
            Unit(p, (entry - 8) % 6, (entry - 8) % 12 >= 6, (entry - 8) / 12);
        else if (entry == kLeaderIcon)
            Leader(p);
        else if (entry == kWagonIcon)
            Wagon(p);
        else
            Flag(p, entry == 46 ? kUnion : kConfed);
        p.restore();
    }
    p.end();
    return sheet.save(QString::fromStdString(out + "/ICONS2D.BMP"), "BMP");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: demo_draw_pictures MAIN.MAP OUTPUT_DIRECTORY\n");
        return 2;
    }
    if (!DrawMap(argv[1], argv[2])) {
        std::fprintf(stderr, "demo_draw_pictures: cannot draw MAIN1.BMP from %s into %s\n", argv[1], argv[2]);
        return 1;
    }
    if (!DrawIcons(argv[2])) {
        std::fprintf(stderr, "demo_draw_pictures: cannot write ICONS2D.BMP into %s\n", argv[2]);
        return 1;
    }
    return 0;
}
