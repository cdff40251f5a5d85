#pragma once
// The map tests' game: a small order of battle, a scenario with stacks of
// known contents, and an icon sheet whose cells tell their place by colour.
#include <QByteArray>
#include <QImage>
#include <QRgb>

namespace maptest {

// Dot names: 1 North, 1.1 Gen. North, 1.2 1st Horse, 1.3 1st Foot, 1.4 2nd
// Foot, 1.5 1st Battery, 1.6 Supply Train; 2 South, 2.1 Gen. South, 2.2 South Horse.
inline const QByteArray kOob = "Map test order of battle\n"
                               "Union A Army of the North\n  Begin\n"
                               "  L 0 1 2 Gen. North\n"
                               "  U 300 2 C X 4 5 1st Horse\n"
                               "  U 500 3 I X 4 5 1st Foot\n"
                               "  U 400 3 I X 4 5 2nd Foot\n"
                               "  U 100 1 A X 4 5 1st Battery\n"
                               "  S 3 2 Supply Train\n"
                               "  End\n"
                               "Confederate A Army of the South\n  Begin\n"
                               "  L 0 1 2 Gen. South\n"
                               "  U 300 2 C X 4 5 South Horse\n"
                               "  End\n";

// Placements, by index: 0 1st Horse and 1 1st Foot at 2,3; 2 Gen. North and
// 3 2nd Foot at 4,4; 4..12 nine wagons at 6,1 (the ninth is refused); 13
// South Horse at 8,5; 14 1st Battery at 1,1 with a facing the game lacks.
inline QByteArray Scn() {
    QByteArray t;
    for (int i = 1; i <= 9; ++i) t += "Header " + QByteArray::number(i) + "\n";
    t += "1 1.2 4 4 300 0 0 262144 2 3\n"
         "1 1.3 1 4 500 0 0 0 2 3\n"
         "1 1.1 2 4 0 0 0 262144 4 4\n"
         "1 1.4 8 4 400 0 0 0 4 4\n";
    for (int i = 0; i < 9; ++i) t += "1 1.6 1 4 3 0 0 0 6 1\n";
    t += "1 2.2 16 4 300 0 0 0 8 5\n"
         "1 1.5 64 4 100 0 0 0 1 1\n"
         "0\n1 0\n1\n1.3 1863 7 1 9 0 3 4 3\n";
    return t;
}

inline QRgb CellColour(int row, int col) { return qRgb(row * 20, col * 20, 100); }

// Background cells (rows 3 to 6) are filled; every other cell has a white,
// transparent ring around a coloured centre, so a stack's corner shows its
// background and its centre its foreground.
inline QImage Sheet() {
    QImage sheet(12 * 32, 12 * 32, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    for (int r = 0; r < 12; ++r)
        for (int c = 0; c < 12; ++c) {
            const bool background = r >= 3 && r <= 6;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    if (background || (x >= 8 && x < 24 && y >= 8 && y < 24))
                        sheet.setPixel(c * 32 + x, r * 32 + y, CellColour(r, c));
        }
    return sheet;
}

}  // namespace maptest
