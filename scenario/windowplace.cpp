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

ScreenRect PlaceBeside(ScreenRect beside, int width, int height, ScreenRect screen) {
    const ScreenRect tries[] = {{beside.Right(), beside.Top, width, height},
                                {beside.Left - width, beside.Top, width, height},
                                {beside.Left, beside.Bottom(), width, height},
                                {beside.Left, beside.Top - height, width, height}};
    // The first place that needs no moving; where none fits, the one that,
    // fitted onto the screen, hides the least of `beside`.
    const auto hidden = [&beside](const ScreenRect& r) {
        const long long w = std::max(0, std::min(r.Right(), beside.Right()) - std::max(r.Left, beside.Left));
        const long long h = std::max(0, std::min(r.Bottom(), beside.Bottom()) - std::max(r.Top, beside.Top));
        return w * h;
    };
    ScreenRect best = FitOnScreen(tries[0], screen);
    for (const ScreenRect& r : tries) {
        const ScreenRect fitted = FitOnScreen(r, screen);
        if (fitted == r) return r;
        if (hidden(fitted) < hidden(best)) best = fitted;
    }
    return best;
}

}  // namespace varno
