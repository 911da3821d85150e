// Where the device's 240 x 320 screen sits in a window, and the way back
// from a point in the window to a screen pixel: the same for every host.
#pragma once

#include <optional>

#include "wince/seam/screen.h"

namespace wince::player {

// A rectangle of the window's drawable area, in its pixels.
struct ScreenRect {
    int x = 0, y = 0, w = kScreenWidth, h = kScreenHeight;
    bool operator==(const ScreenRect &) const = default;
};

struct ScreenPoint {
    int x = 0, y = 0;
};

// The largest whole factor at which the screen fits an area, but never less
// than minimum.
int FittingScale(int areaWidth, int areaHeight, int minimum);

// The whole factor a window opens at in room of that size (the desktop's
// usable area less the window's frame): the one asked for (0: none) where it
// fits, else the largest that does, and at least 1.
int OpeningScale(int roomWidth, int roomHeight, int asked);

// The whole factor the screen is shown at in rect; 0 when it is none.
int ShownScale(const ScreenRect &rect);

// Where the screen is drawn in a drawable area: the largest whole multiple
// that fits, centred, the rest black bars. An area smaller than the screen
// itself gets the largest size of the screen's proportions that fits.
ScreenRect PlaceScreen(int drawableWidth, int drawableHeight);

// The screen pixel under a point of the drawable area; nothing on the bars.
std::optional<ScreenPoint> ToScreen(const ScreenRect &rect, double x, double y);

// As ToScreen, but a point on the bars goes to the nearest edge pixel: a
// stylus dragged off the screen is still lifted somewhere on it.
ScreenPoint ToScreenClamped(const ScreenRect &rect, double x, double y);

}  // namespace wince::player
