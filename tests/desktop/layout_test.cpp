// Where the screen sits in the window, and which screen pixel a point of the
// window names.
#include "gtest/gtest.h"
#include "wince/desktop/viewport.h"

namespace wince::desktop {
namespace {

TEST(Scale, LargestWholeFactorThatFitsButNeverBelowTheMinimum) {
    EXPECT_EQ(FittingScale(1280 - 64, 1024 - 64, 2), 3);
    EXPECT_EQ(FittingScale(3840, 2160, 2), 6);
    EXPECT_EQ(FittingScale(959, 1279, 2), 3);  // one pixel short of 4 in each direction
    EXPECT_EQ(FittingScale(800, 600, 2), 2);   // a small desktop still gets twice the size
    EXPECT_EQ(FittingScale(100, 100, 0), 0);
}

bool operator==(const ScreenRect &a, const ScreenRect &b) {
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

TEST(Placement, WholeMultipleCentredBetweenBarsOrShrunkInProportion) {
    EXPECT_TRUE(PlaceScreen(720, 960) == (ScreenRect{0, 0, 720, 960}));
    EXPECT_TRUE(PlaceScreen(1920, 1080) == (ScreenRect{600, 60, 720, 960}));  // full screen
    EXPECT_TRUE(PlaceScreen(700, 960) == (ScreenRect{110, 160, 480, 640}));
    EXPECT_TRUE(PlaceScreen(120, 320) == (ScreenRect{0, 80, 120, 160}));  // smaller than 1x
    EXPECT_TRUE(PlaceScreen(240, 160) == (ScreenRect{60, 0, 120, 160}));
}

TEST(Mapping, EveryScaledPixelLeadsBackToItsScreenPixel) {
    const ScreenRect rect = PlaceScreen(1920, 1080);
    for (int y : {0, 1, 159, 299, 319}) {
        for (int x : {0, 1, 120, 195, 239}) {
            for (int within : {0, 1, 2}) {
                const auto point = ToScreen(rect, rect.x + x * 3 + within, rect.y + y * 3 + within);
                ASSERT_TRUE(point.has_value());
                EXPECT_EQ(point->x, x);
                EXPECT_EQ(point->y, y);
            }
        }
    }
}

TEST(Mapping, PointsOnTheBarsAreNotOnTheScreen) {
    const ScreenRect rect = PlaceScreen(1920, 1080);  // screen at x 600..1319, y 60..1019
    EXPECT_FALSE(ToScreen(rect, 599, 500).has_value());
    EXPECT_FALSE(ToScreen(rect, 1320, 500).has_value());
    EXPECT_FALSE(ToScreen(rect, 700, 59).has_value());
    EXPECT_FALSE(ToScreen(rect, 700, 1020).has_value());
    EXPECT_FALSE(ToScreen(rect, -1e12, 1e12).has_value());
    EXPECT_TRUE(ToScreen(rect, 600, 60).has_value());
    EXPECT_TRUE(ToScreen(rect, 1319.9, 1019.9).has_value());
}

TEST(Mapping, ClampingPutsBarPointsOnTheNearestEdge) {
    const ScreenRect rect = PlaceScreen(1920, 1080);
    const ScreenPoint left = ToScreenClamped(rect, 0, 0);
    EXPECT_EQ(left.x, 0);
    EXPECT_EQ(left.y, 0);
    const ScreenPoint right = ToScreenClamped(rect, 1900, 1079);
    EXPECT_EQ(right.x, kScreenWidth - 1);
    EXPECT_EQ(right.y, kScreenHeight - 1);
    const ScreenPoint inside = ToScreenClamped(rect, 600 + 195 * 3, 60 + 299 * 3);
    EXPECT_EQ(inside.x, 195);
    EXPECT_EQ(inside.y, 299);
}

}  // namespace
}  // namespace wince::desktop
