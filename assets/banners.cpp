// The title strip over the well and the two banners shown in it: level
// cleared and game over. Each is a brass-framed plaque with large letters.
#include "art.h"

namespace assets::art {
namespace {

constexpr int32_t kBigScale = 2;

// Title: over the well only, so the panel's top keeps its high-score label.
constexpr int32_t kTitleWidth = 140;
constexpr int32_t kTitleHeight = 25;
// Centred on the well (x 15..149) from where the game draws them.
constexpr int32_t kClearedWidth = 121;
constexpr int32_t kClearedHeight = 22;  // ends just above the level plaque
constexpr int32_t kGameOverWidth = 117;
constexpr int32_t kGameOverHeight = 28;

Canvas BrassPlaque(int32_t w, int32_t h, uint8_t fill) {
    Canvas plaque(w, h, fill);
    plaque.Edge(0, 0, w, h, Shade(kBrassRamp, 15), Shade(kBrassRamp, 2));
    plaque.Edge(1, 1, w - 2, h - 2, Shade(kBrassRamp, 11), Shade(kBrassRamp, 5));
    plaque.Edge(2, 2, w - 4, h - 4, Shade(kBrassRamp, 4), Shade(kBrassRamp, 9));
    return plaque;
}

int32_t BigTextTop(int32_t plaqueHeight) {
    return (plaqueHeight - kGlyphHeight * kBigScale) / 2;
}

}  // namespace

Canvas MakeTitleStrip() {
    Canvas title = BrassPlaque(kTitleWidth, kTitleHeight, Shade(kWellRamp, 2));
    const TextStyle style{kBrassRamp, 15, 8, Shade(kBrassRamp, 1)};
    DrawTextCentred(title, BigTextTop(kTitleHeight), "PELLAX RIM", kBigScale, style);
    return title;
}

Canvas MakeLevelClearedBanner() {
    Canvas banner = BrassPlaque(kClearedWidth, kClearedHeight, Shade(kGreenRamp, 1));
    const TextStyle style{kGreenRamp, 15, 9, Shade(kGreenRamp, 0)};
    DrawTextCentred(banner, BigTextTop(kClearedHeight), "CLEARED!", kBigScale, style);
    return banner;
}

Canvas MakeGameOverBanner() {
    Canvas banner = BrassPlaque(kGameOverWidth, kGameOverHeight, Shade(kRedRamp, 1));
    const TextStyle style{kRedRamp, 15, 9, Shade(kRedRamp, 0)};
    DrawTextCentred(banner, BigTextTop(kGameOverHeight), "GAME OVER", kBigScale, style);
    return banner;
}

}  // namespace assets::art
