#include "wince/player/layout.h"

#include <algorithm>
#include <cmath>

namespace wince::player {

int FittingScale(int areaWidth, int areaHeight, int minimum) {
    const int scale = std::min(areaWidth / kScreenWidth, areaHeight / kScreenHeight);
    return std::max(scale, minimum);
}

int OpeningScale(int roomWidth, int roomHeight, int asked) {
    const int fits = FittingScale(roomWidth, roomHeight, 1);
    return asked > 0 ? std::min(asked, fits) : fits;
}

int ShownScale(const ScreenRect &rect) {
    if (rect.w % kScreenWidth != 0 || rect.w / kScreenWidth * kScreenHeight != rect.h) return 0;
    return rect.w / kScreenWidth;
}

ScreenRect PlaceScreen(int drawableWidth, int drawableHeight) {
    ScreenRect rect;
    const int scale = FittingScale(drawableWidth, drawableHeight, 0);
    if (scale >= 1) {
        rect.w = kScreenWidth * scale;
        rect.h = kScreenHeight * scale;
    } else if (drawableWidth * kScreenHeight < drawableHeight * kScreenWidth) {
        rect.w = std::max(drawableWidth, 1);
        rect.h = std::max(drawableWidth * kScreenHeight / kScreenWidth, 1);
    } else {
        rect.h = std::max(drawableHeight, 1);
        rect.w = std::max(drawableHeight * kScreenWidth / kScreenHeight, 1);
    }
    rect.x = (drawableWidth - rect.w) / 2;
    rect.y = (drawableHeight - rect.h) / 2;
    return rect;
}

namespace {

// Pixel column or row under a coordinate. Results off the screen are kept
// one step off it, for the caller to refuse or clamp (and so that a wild
// coordinate never overflows the conversion).
int ScreenCoordinate(double position, int origin, int size, int screenSize) {
    const double cell = std::floor((position - origin) * screenSize / size);
    return static_cast<int>(std::clamp(cell, -1.0, static_cast<double>(screenSize)));
}

}  // namespace

std::optional<ScreenPoint> ToScreen(const ScreenRect &rect, double x, double y) {
    const int sx = ScreenCoordinate(x, rect.x, rect.w, kScreenWidth);
    const int sy = ScreenCoordinate(y, rect.y, rect.h, kScreenHeight);
    if (sx < 0 || sx >= kScreenWidth || sy < 0 || sy >= kScreenHeight) return std::nullopt;
    return ScreenPoint{sx, sy};
}

ScreenPoint ToScreenClamped(const ScreenRect &rect, double x, double y) {
    const int sx = ScreenCoordinate(x, rect.x, rect.w, kScreenWidth);
    const int sy = ScreenCoordinate(y, rect.y, rect.h, kScreenHeight);
    return {std::clamp(sx, 0, kScreenWidth - 1), std::clamp(sy, 0, kScreenHeight - 1)};
}

}  // namespace wince::player
