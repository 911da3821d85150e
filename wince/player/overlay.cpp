#include "wince/player/overlay.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace wince::player {

namespace {

constexpr int kGlyphWidth = 5, kGlyphHeight = 7, kDot = 4, kBandMargin = 10;
constexpr uint16_t kWhite = 0xFFFF;

struct Glyph {
    char letter;
    std::array<uint8_t, kGlyphHeight> rows;  // bit 4 is the leftmost column
};

// Only the letters the host writes.
constexpr std::array<Glyph, 6> kGlyphs{{
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
}};

uint16_t Halved(uint16_t pixel) {
    return static_cast<uint16_t>((pixel >> 1) & 0x7BEF);  // each of R, G, B halved
}

void Write(Screen &screen, std::string_view text, int top) {
    const int advance = (kGlyphWidth + 1) * kDot;
    int left = (kScreenWidth - static_cast<int>(text.size()) * advance + kDot) / 2;
    for (char letter : text) {
        for (const Glyph &glyph : kGlyphs) {
            if (glyph.letter != letter) continue;
            for (int y = 0; y < kGlyphHeight * kDot; ++y)
                for (int x = 0; x < kGlyphWidth * kDot; ++x)
                    if (glyph.rows[y / kDot] & (0x10 >> (x / kDot)))
                        screen[(top + y) * kScreenWidth + left + x] = kWhite;
        }
        left += advance;
    }
}

}  // namespace

Screen PausedPicture(const Screen &game) {
    Screen paused;
    for (size_t i = 0; i < paused.size(); ++i) paused[i] = Halved(game[i]);
    const int top = (kScreenHeight - kGlyphHeight * kDot) / 2;
    // A darker band keeps the word readable over any picture.
    for (int y = top - kBandMargin; y < top + kGlyphHeight * kDot + kBandMargin; ++y)
        for (int x = 0; x < kScreenWidth; ++x)
            paused[y * kScreenWidth + x] = Halved(paused[y * kScreenWidth + x]);
    Write(paused, "PAUSED", top);
    return paused;
}

}  // namespace wince::player
