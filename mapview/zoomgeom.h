#pragma once
// The map's zoom as plain arithmetic: the steps, and the mapping between the
// view's pixels (the picture magnified) and the picture's own pixels, in
// which every other rule of the map (hexes, stacks, picks) is stated. No Qt.
#include "mapview/hexgeom.h"

namespace varno {

// The zoom steps in percent. Powers of two: the picture is then drawn from a
// copy of its own size below 100 % and by whole pixels above.
inline constexpr int kZoomSteps[] = {25, 50, 100, 200, 400};
inline constexpr int kZoomMin = 25, kZoomMax = 400;

// `steps` steps up (positive) or down from `percent`, kept within the steps;
// a percent between two steps counts from the one below it.
int ZoomStepped(int percent, int steps);

// The largest step at which a picture of w x h pixels fits a view of
// viewW x viewH pixels whole; the smallest step when none does.
int ZoomToFit(int w, int h, int viewW, int viewH);

// The picture pixel that view pixel v shows at `percent`.
int ViewToPicture(int v, int percent);
PixelPos ViewToPicture(PixelPos v, int percent);
// The view pixel that shows picture pixel p at `percent` (the first of
// them above 100 %).
int PictureToView(int p, int percent);
PixelPos PictureToView(PixelPos p, int percent);
// The view's length of a picture length at `percent` (rounded up).
int ZoomedLength(int length, int percent);

// A rectangle (x, y, width, height).
struct PixelRect {
    int X = 0, Y = 0, W = 0, H = 0;
    bool operator==(const PixelRect&) const = default;
};
// The picture pixels that a rectangle of the view shows, whole.
PixelRect ViewRectToPicture(const PixelRect& view, int percent);
// The view pixels that show a rectangle of the picture.
PixelRect PictureRectToView(const PixelRect& picture, int percent);

// The scroll offset after a zoom from `from` to `to` percent that keeps the
// picture point under the pointer (at `pointer` in the viewport, with the
// view scrolled by `scroll`) under it. Not limited to the scroll range.
PixelPos ScrollAfterZoom(PixelPos scroll, PixelPos pointer, int from, int to);

}  // namespace varno
