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
    ScreenRect r{beside.Right(), beside.Top, width, height};
    if (r.Right() > screen.Right()) {
        r.Left = beside.Left - width;
        if (r.Left < screen.Left) {
            r.Left = beside.Left;
            r.Top = beside.Bottom();
            if (r.Bottom() > screen.Bottom() && beside.Top - height >= screen.Top) r.Top = beside.Top - height;
        }
    }
    return FitOnScreen(r, screen);
}

}  // namespace varno
