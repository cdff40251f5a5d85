// Window places on the screen: fitting a stored place, and the first place beside another window.
#include <gtest/gtest.h>

#include "scenario/windowplace.h"

using namespace varno;

namespace {
const ScreenRect kScreen{0, 0, 1280, 1024};

struct FitCase {
    const char* name;
    ScreenRect window, fitted;
};

TEST(WindowPlace, FitOnScreen) {
    const FitCase cases[] = {
        {"fits: unchanged", {10, 20, 600, 480}, {10, 20, 600, 480}},
        {"exactly the screen", {0, 0, 1280, 1024}, {0, 0, 1280, 1024}},
        {"too wide from a long status line", {700, 94, 1249, 480}, {31, 94, 1249, 480}},
        {"wider than the screen", {-3, 94, 2000, 480}, {0, 94, 1280, 480}},
        {"taller than the screen", {50, 50, 600, 1500}, {50, 0, 600, 1024}},
        {"off to the right", {1500, 40, 600, 480}, {680, 40, 600, 480}},
        {"off to the left and above", {-700, -300, 600, 480}, {0, 0, 600, 480}},
        {"below the bottom", {100, 2000, 600, 480}, {100, 544, 600, 480}},
    };
    for (const FitCase& c : cases) EXPECT_EQ(FitOnScreen(c.window, kScreen), c.fitted) << c.name;
    // A screen right of another one.
    EXPECT_EQ(FitOnScreen({3500, 10, 600, 480}, {1920, 0, 1280, 1024}), (ScreenRect{2600, 10, 600, 480}));
}

TEST(WindowPlace, PlaceBeside) {
    const FitCase cases[] = {
        // `window` holds the main window's frame and the new window's size.
        {"right of it", {75, 120, 600, 480}, {635, 120, 600, 480}},
        {"left of it where the right lacks room", {700, 120, 600, 480}, {100, 120, 600, 480}},
        {"below it where neither side has room", {300, 120, 900, 400}, {300, 620, 900, 400}},
        {"below it, fitted onto the screen", {300, 120, 900, 480}, {300, 544, 900, 480}},
        {"above it where below lacks room", {300, 520, 900, 480}, {300, 40, 900, 480}},
        {"where none fits, the side that hides least of it", {75, 120, 700, 560}, {580, 120, 700, 560}},
    };
    for (const FitCase& c : cases) {
        const ScreenRect main{c.window.Left, c.window.Top, 560, 500};
        EXPECT_EQ(PlaceBeside(main, c.window.Width, c.window.Height, kScreen), c.fitted) << c.name;
    }
}

TEST(WindowPlace, PlaceBesideShrinkingMakesTheWindowSmallerRatherThanCoverIt) {
    // The main window at its designed place and width (frames as without a
    // window manager), the map window at its designed size.
    const ScreenRect main{75, 120, 651, 478};
    const FitCase cases[] = {
        // `window` holds the screen's size.
        {"it fits at its size: at the right", {0, 0, 1600, 900}, {726, 120, 600, 480}},
        {"narrower, at the right where that is the largest room", {0, 0, 1280, 1024}, {726, 120, 554, 480}},
        {"lower, below where that is the largest room", {0, 0, 1050, 1024}, {75, 598, 600, 426}},
        {"no room for the smallest size: as PlaceBeside", {0, 0, 900, 700}, {300, 120, 600, 480}},
    };
    for (const FitCase& c : cases) {
        const ScreenRect screen{0, 0, c.window.Width, c.window.Height};
        EXPECT_EQ(PlaceBesideShrinking(main, 600, 480, 320, 240, screen), c.fitted) << c.name;
    }
}

TEST(WindowPlace, PlaceBesideAllKeepsTheOtherWindowsClear) {
    // The main window with the map window at its right, as at a first start.
    const ScreenRect main{75, 120, 560, 500}, map{635, 120, 600, 500};
    // Below the main window, not over the map.
    EXPECT_EQ(PlaceBesideAll(main, {map}, 300, 300, kScreen), (ScreenRect{75, 620, 300, 300}));
    // The map at the main window's left: at its right, as without the map.
    const ScreenRect mapLeft{0, 120, 75, 500};
    EXPECT_EQ(PlaceBesideAll(main, {mapLeft}, 300, 300, kScreen), (ScreenRect{635, 120, 300, 300}));
    // Beside another window where the main window has no free side.
    const ScreenRect wide{0, 0, 1280, 600};
    EXPECT_EQ(PlaceBesideAll(wide, {{0, 600, 400, 424}}, 300, 300, kScreen), (ScreenRect{400, 600, 300, 300}));
    // Nowhere clear: the least hidden, here over the main window's bottom.
    EXPECT_EQ(PlaceBesideAll(main, {map}, 300, 450, kScreen), (ScreenRect{75, 574, 300, 450}));
    // Without other windows, as PlaceBeside.
    EXPECT_EQ(PlaceBesideAll(main, {}, 300, 300, kScreen), PlaceBeside(main, 300, 300, kScreen));
}
}  // namespace
