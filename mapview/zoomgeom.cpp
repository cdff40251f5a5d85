#include "mapview/zoomgeom.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace varno {

namespace {

// a * num / den rounded down, also for negative a.
int Scaled(std::int64_t a, std::int64_t num, std::int64_t den) {
    const std::int64_t p = a * num;
    return static_cast<int>(p >= 0 ? p / den : -((-p + den - 1) / den));
}

}  // namespace

int ZoomStepped(int percent, int steps) {
    const auto* first = std::begin(kZoomSteps);
    const int count = static_cast<int>(std::size(kZoomSteps));
    // The step at or below `percent` (the first one below them all).
    int at = static_cast<int>(std::upper_bound(first, std::end(kZoomSteps), percent) - first) - 1;
    at = std::max(at, 0);
    return kZoomSteps[std::clamp(at + steps, 0, count - 1)];
}

int ZoomToFit(int w, int h, int viewW, int viewH) {
    for (auto it = std::rbegin(kZoomSteps); it != std::rend(kZoomSteps); ++it)
        if (ZoomedLength(w, *it) <= viewW && ZoomedLength(h, *it) <= viewH) return *it;
    return kZoomMin;
}

int ViewToPicture(int v, int percent) { return Scaled(v, 100, percent); }

PixelPos ViewToPicture(PixelPos v, int percent) { return {ViewToPicture(v.X, percent), ViewToPicture(v.Y, percent)}; }

int PictureToView(int p, int percent) { return Scaled(p, percent, 100); }

PixelPos PictureToView(PixelPos p, int percent) { return {PictureToView(p.X, percent), PictureToView(p.Y, percent)}; }

int ZoomedLength(int length, int percent) { return -Scaled(-static_cast<std::int64_t>(length), percent, 100); }

PixelRect ViewRectToPicture(const PixelRect& view, int percent) {
    const int x0 = ViewToPicture(view.X, percent), y0 = ViewToPicture(view.Y, percent);
    // The end rounded up: a view pixel below 100 % shows several picture pixels.
    const int x1 = -Scaled(-(std::int64_t{view.X} + view.W), 100, percent);
    const int y1 = -Scaled(-(std::int64_t{view.Y} + view.H), 100, percent);
    return {x0, y0, x1 - x0, y1 - y0};
}

PixelRect PictureRectToView(const PixelRect& picture, int percent) {
    const int x0 = PictureToView(picture.X, percent), y0 = PictureToView(picture.Y, percent);
    const int x1 = ZoomedLength(picture.X + picture.W, percent), y1 = ZoomedLength(picture.Y + picture.H, percent);
    return {x0, y0, x1 - x0, y1 - y0};
}

PixelPos ScrollAfterZoom(PixelPos scroll, PixelPos pointer, int from, int to) {
    // The pointer's place in the view magnified by `to`, less its place in
    // the viewport.
    return {Scaled(std::int64_t{scroll.X} + pointer.X, to, from) - pointer.X,
            Scaled(std::int64_t{scroll.Y} + pointer.Y, to, from) - pointer.Y};
}

}  // namespace varno
