// What the makers of the pictures share: the palette's layout, a small
// indexed canvas, and the game's own bitmap font.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "assets.h"

namespace assets::art {

// The palette is a set of 16-shade ramps, shade 0 the darkest.
constexpr int32_t kShades = 16;
constexpr uint8_t kGreenRamp = 0;
constexpr uint8_t kBlockRamps = 16;  // one ramp per piece kind, kinds 0..6
constexpr uint8_t kPanelRamp = 128;  // slate of the side panel and walls
constexpr uint8_t kWellRamp = 144;   // deep blue of the well
constexpr uint8_t kBrassRamp = 160;  // the frame around the well and the banners
constexpr uint8_t kAmberRamp = 176;  // the glowing numbers
constexpr uint8_t kCyanRamp = 192;
constexpr uint8_t kRedRamp = 208;
// Greys that no picture uses, nor anything from here up: tests paint with
// these indexes as markers that the artwork cannot produce.
constexpr uint8_t kSpareGreyRamp = 224;
constexpr uint8_t kFirstSpare = kSpareGreyRamp;
// Used only around the score digits: marks what transparent drawing skips.
constexpr uint8_t kKeyColour = 255;

constexpr uint8_t Shade(uint8_t ramp, int32_t shade) {
    return static_cast<uint8_t>(ramp + (shade < 0 ? 0 : shade >= kShades ? kShades - 1 : shade));
}
constexpr uint8_t BlockRamp(int32_t kind) {
    return static_cast<uint8_t>(kBlockRamps + kind * kShades);
}
// The dark fill of the panel's readouts and the well; the small numbers
// carry it too, so that they sit seamlessly in their insets.
constexpr uint8_t kReadoutFill = Shade(kWellRamp, 1);

// An indexed picture, top row first. Writes outside it are dropped.
struct Canvas {
    int32_t width;
    int32_t height;
    std::vector<uint8_t> pixels;

    Canvas(int32_t w, int32_t h, uint8_t fill);
    void Set(int32_t x, int32_t y, uint8_t colour);
    uint8_t Get(int32_t x, int32_t y) const;
    void Fill(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t colour);
    // A one-pixel edge: light along the top and left, dark along the bottom
    // and right (swap them for a sunken look).
    void Edge(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t light, uint8_t dark);
    void Blit(const Canvas &source, int32_t x, int32_t y);
};

// Frames of equal size side by side in one strip, bottom row first.
Bytes StripBottomRowFirst(const std::vector<Canvas> &frames);
Bytes MakeStripFile(const std::vector<Canvas> &frames);

// ---- The bitmap font: 5 x 7 glyphs, upper case, digits and a few signs ----

constexpr int32_t kGlyphWidth = 5;
constexpr int32_t kGlyphHeight = 7;
constexpr int32_t kGlyphAdvance = kGlyphWidth + 1;

// Rows of one glyph, top first; bit 4 is the leftmost pixel. Unknown
// characters come out blank.
const uint8_t *GlyphRows(char c);

struct TextStyle {
    uint8_t ramp;
    int32_t topShade;      // the fill runs from this shade on the top row...
    int32_t bottomShade;   // ...to this one on the bottom row
    int32_t outline = -1;  // colour index around the letters, -1 for none
    int32_t shadow = -1;   // colour index one pixel down and right, -1 for none
};

int32_t TextWidth(std::string_view text, int32_t scale);
void DrawText(Canvas &canvas, int32_t x, int32_t y, std::string_view text, int32_t scale,
              const TextStyle &style);
// Centred horizontally in the canvas.
void DrawTextCentred(Canvas &canvas, int32_t y, std::string_view text, int32_t scale,
                     const TextStyle &style);

// ---- The pictures ----------------------------------------------------------

Canvas MakeBackground();
Canvas MakeTitleStrip();
std::vector<Canvas> MakeBlocks();
std::vector<Canvas> MakeSmallNumbers();
std::vector<Canvas> MakeScoreDigits();
std::vector<Canvas> MakeLevelPlaques();
Canvas MakeLevelClearedBanner();
Canvas MakeGameOverBanner();

}  // namespace assets::art
