// Where the screen sits in the window, and which screen pixel a point of the
// window names.
#include <array>

#include "gtest/gtest.h"
#include "wince/desktop/viewport.h"

namespace wince::desktop {
namespace {

TEST(Layout, ScaleAndPlacement) {
    struct Fit {
        int w, h, minimum, scale;
    };
    for (const Fit &f : {Fit{1216, 960, 2, 3}, Fit{3840, 2160, 2, 6}, Fit{959, 1279, 2, 3},
                         Fit{800, 600, 2, 2}, Fit{100, 100, 0, 0}})
        EXPECT_EQ(FittingScale(f.w, f.h, f.minimum), f.scale) << f.w << "x" << f.h;

    // A whole multiple centred between bars, or shrunk in proportion.
    struct Place {
        int w, h;
        ScreenRect rect;
    };
    for (const Place &p :
         {Place{720, 960, {0, 0, 720, 960}}, Place{1920, 1080, {600, 60, 720, 960}},
          Place{700, 960, {110, 160, 480, 640}}, Place{120, 320, {0, 80, 120, 160}},
          Place{240, 160, {60, 0, 120, 160}}}) {
        const ScreenRect r = PlaceScreen(p.w, p.h);
        EXPECT_EQ((std::array{r.x, r.y, r.w, r.h}),
                  (std::array{p.rect.x, p.rect.y, p.rect.w, p.rect.h}))
            << p.w << "x" << p.h;
    }
}

TEST(Layout, WindowPointsToScreenPixels) {
    const ScreenRect rect = PlaceScreen(1920, 1080);  // 3x at x 600..1319, y 60..1019
    for (int y : {0, 159, 319})
        for (int x : {0, 195, 239})
            for (int within : {0, 2}) {
                const auto point = ToScreen(rect, 600 + x * 3 + within, 60 + y * 3 + within);
                ASSERT_TRUE(point.has_value());
                EXPECT_EQ((std::array{point->x, point->y}), (std::array{x, y}));
            }
    struct Bar {
        double x, y;
        int clampedX, clampedY;
    };
    for (const Bar &b : {Bar{599, 500, 0, 146}, Bar{1320, 500, 239, 146}, Bar{700, 59, 33, 0},
                         Bar{700, 1020, 33, 319}, Bar{-1e12, 1e12, 0, 319}}) {
        EXPECT_FALSE(ToScreen(rect, b.x, b.y).has_value()) << b.x << "," << b.y;
        const ScreenPoint p = ToScreenClamped(rect, b.x, b.y);
        EXPECT_EQ((std::array{p.x, p.y}), (std::array{b.clampedX, b.clampedY}));
    }
    EXPECT_TRUE(ToScreen(rect, 1319.9, 1019.9).has_value());
}

}  // namespace
}  // namespace wince::desktop
