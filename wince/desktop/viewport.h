// Where the device's 240 x 320 screen sits in the desktop window, and the way
// back from a point in the window to a screen pixel.
#pragma once

#include <optional>

#include "wince/seam/screen.h"

namespace wince::desktop {

// A rectangle of the window's drawable area, in its pixels.
struct ScreenRect {
    int x = 0, y = 0, w = kScreenWidth, h = kScreenHeight;
};

struct ScreenPoint {
    int x = 0, y = 0;
};

// The largest whole factor at which the screen fits an area, but never less
// than minimum.
int FittingScale(int areaWidth, int areaHeight, int minimum);

// Where the screen is drawn in a drawable area: the largest whole multiple
// that fits, centred, the rest black bars. An area smaller than the screen
// itself gets the largest size of the screen's proportions that fits.
ScreenRect PlaceScreen(int drawableWidth, int drawableHeight);

// The screen pixel under a point of the drawable area; nothing on the bars.
std::optional<ScreenPoint> ToScreen(const ScreenRect &rect, double x, double y);

// As ToScreen, but a point on the bars goes to the nearest edge pixel: a
// stylus dragged off the screen is still lifted somewhere on it.
ScreenPoint ToScreenClamped(const ScreenRect &rect, double x, double y);

}  // namespace wince::desktop
