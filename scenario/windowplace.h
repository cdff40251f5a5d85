#pragma once
#include <vector>
// Where the program's windows go on the screen: a stored place brought back
// onto the screen, and the map window's first place beside the main window.
// Rectangles are screen pixels of a window's outer frame.

namespace varno {

struct ScreenRect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    int Right() const { return Left + Width; }   // one past the last column
    int Bottom() const { return Top + Height; }  // one past the last row
    bool operator==(const ScreenRect&) const = default;
};

// The window made no larger than the screen and moved, as little as it takes,
// so that it lies wholly on the screen. A window that fits is left alone.
ScreenRect FitOnScreen(ScreenRect window, ScreenRect screen);

// The first place of a window of size (width, height) next to `beside`: at its
// right where the screen has the room, else at its left, else below it, else
// above it, aligned with its top (or its left). Where none of these fits, the
// one that hides the least of `beside` once fitted onto the screen.
ScreenRect PlaceBeside(ScreenRect beside, int width, int height, ScreenRect screen);

// The first place of a window that may be made smaller, down to (minWidth,
// minHeight): as PlaceBeside where the window fits at its size; else made
// only as small as the largest room beside `beside` (right, left, below or
// above, the first of the largest) needs, so that it hides nothing of it;
// where even the smallest size fits nowhere, as PlaceBeside.
ScreenRect PlaceBesideShrinking(ScreenRect beside, int width, int height, int minWidth, int minHeight,
                                ScreenRect screen);

// The first place of a tool window: as PlaceBeside, tried beside `beside` and
// then beside each of `others` (the program's other windows), a place that
// covers any of them counting as one that does not fit. Where none fits, the
// one that, fitted onto the screen, hides the least of them all.
ScreenRect PlaceBesideAll(ScreenRect beside, const std::vector<ScreenRect>& others, int width, int height,
                          ScreenRect screen);

}  // namespace varno
