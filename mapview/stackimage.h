#pragma once
// The stack image of one hex: a transparent 32 x 32 picture lying over the map
// picture, holding the icons drawn into it. It keeps the icon codes of the
// units drawn into it ("U05", "L17") and what they count, and its tag carries
// the hex key in the high 16 bits; neither is ever shown. The map picture paints the stack images over
// itself, in the order they were made, and passes the pointer to the topmost
// visible one under it; so thousands of stacks cost no window-system objects.
#include <QImage>
#include <QRect>
#include <QString>
#include <utility>
#include <vector>

#include "mapview/hexgeom.h"

namespace varno {

struct TStackImage {
    TStackImage(int col, int row, int seq);

    QRect geometry() const { return {Left, Top, 32, 32}; }
    int col() const { return (Tag >> 16) / 256; }
    int row() const { return (Tag >> 16) % 256; }

    int Left = 0, Top = 0;  // picture pixels
    int Seq = 0;            // creation order: later ones lie on top
    int Tag = 0;
    bool Visible = false;
    // The codes of the units drawn into it, in drawing order, and their
    // count; a unit moved away keeps its code until the stack is made anew.
    StackCodes Codes;
    StackCount Count;
    // The codes joined by ",".
    QString Hint() const;
    QImage Canvas;  // 32 x 32, transparent where nothing is drawn
    // Icon list entries (background, foreground) waiting to be drawn on the
    // canvas until the icons are built.
    std::vector<std::pair<int, int>> PendingIcons;
};

}  // namespace varno
