#include "scenario/windowplace.h"

#include <algorithm>

namespace varno {

ScreenRect FitOnScreen(ScreenRect window, ScreenRect screen) {
    window.Width = std::clamp(window.Width, 0, std::max(0, screen.Width));
    window.Height = std::clamp(window.Height, 0, std::max(0, screen.Height));
    window.Left = std::clamp(window.Left, screen.Left, screen.Right() - window.Width);
    window.Top = std::clamp(window.Top, screen.Top, screen.Bottom() - window.Height);
    return window;
}

namespace {

long long Overlap(const ScreenRect& a, const ScreenRect& b) {
    const long long w = std::max(0, std::min(a.Right(), b.Right()) - std::max(a.Left, b.Left));
    const long long h = std::max(0, std::min(a.Bottom(), b.Bottom()) - std::max(a.Top, b.Top));
    return w * h;
}

}  // namespace

ScreenRect PlaceBeside(ScreenRect beside, int width, int height, ScreenRect screen) {
    return PlaceBesideAll(beside, {}, width, height, screen);
}

ScreenRect PlaceBesideShrinking(ScreenRect beside, int width, int height, int minWidth, int minHeight,
                                ScreenRect screen) {
    const ScreenRect whole = PlaceBeside(beside, width, height, screen);
    if (whole.Width == width && whole.Height == height && Overlap(whole, beside) == 0) return whole;
    // The room on each side, the window no larger than it nor than the screen.
    const int high = std::min(height, screen.Height), wide = std::min(width, screen.Width);
    const int right = std::min(width, screen.Right() - beside.Right());
    const int left = std::min(width, beside.Left - screen.Left);
    const int below = std::min(height, screen.Bottom() - beside.Bottom());
    const int above = std::min(height, beside.Top - screen.Top);
    const ScreenRect tries[] = {{beside.Right(), beside.Top, right, high},
                                {beside.Left - left, beside.Top, left, high},
                                {beside.Left, beside.Bottom(), wide, below},
                                {beside.Left, beside.Top - above, wide, above}};
    const ScreenRect* best = nullptr;
    for (const ScreenRect& r : tries)
        if (r.Width >= minWidth && r.Height >= minHeight &&
            (!best || static_cast<long long>(r.Width) * r.Height > static_cast<long long>(best->Width) * best->Height))
            best = &r;
    // Along the side it stands on, it is moved onto the screen.
    return best ? FitOnScreen(*best, screen) : whole;
}

ScreenRect PlaceBesideAll(ScreenRect beside, const std::vector<ScreenRect>& others, int width, int height,
                          ScreenRect screen) {
    std::vector<ScreenRect> kept{beside};
    kept.insert(kept.end(), others.begin(), others.end());
    // Right, left, below, above of each window in turn, aligned with its top
    // (or its left).
    std::vector<ScreenRect> tries;
    for (const ScreenRect& w : kept) {
        tries.push_back({w.Right(), w.Top, width, height});
        tries.push_back({w.Left - width, w.Top, width, height});
        tries.push_back({w.Left, w.Bottom(), width, height});
        tries.push_back({w.Left, w.Top - height, width, height});
    }
    const auto hidden = [&kept](const ScreenRect& r) {
        long long sum = 0;
        for (const ScreenRect& w : kept) sum += Overlap(r, w);
        return sum;
    };
    // The first place that needs no moving and hides nothing; where none
    // does, the one that, fitted onto the screen, hides the least.
    ScreenRect best = FitOnScreen(tries[0], screen);
    long long bestHidden = hidden(best);
    for (const ScreenRect& r : tries) {
        const ScreenRect fitted = FitOnScreen(r, screen);
        const long long h = hidden(fitted);
        if (fitted == r && h == 0) return r;
        if (h < bestHidden) {
            best = fitted;
            bestHidden = h;
        }
    }
    return best;
}

}  // namespace varno
