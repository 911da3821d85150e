// Reading back what was drawn into the BackBuffer, frame by frame.
#pragma once

#include <cstring>

#include "gfx/gfx.h"

namespace rules_test {

constexpr uint8_t kMarker = 0xEE;  // a colour no picture of the installation uses

inline void FillBackBuffer(uint8_t value = kMarker) {
    std::memset(BackBuffer.pixels, value,
                static_cast<size_t>(BackBuffer.width) * BackBuffer.height);
}

inline uint8_t PixelAt(int32_t x, int32_t y) {
    return BackBuffer.pixels[y * BackBuffer.width + x];
}

// Whether frame `frame` of the sprite lies at (x, y) in the BackBuffer. With
// `transparent`, pixels of the sprite's transparent colour must still hold
// `behind`.
inline bool FrameAt(const Sprite &sprite, uint32_t frame, int32_t x, int32_t y,
                    bool transparent = false, uint8_t behind = kMarker) {
    for (uint32_t r = 0; r < sprite.frameHeight; ++r) {
        const uint8_t *source = sprite.pixels + sprite.frameWidth * frame + sprite.stride * r;
        const int32_t screenY = y + static_cast<int32_t>(sprite.frameHeight - 1 - r);
        for (uint32_t c = 0; c < sprite.frameWidth; ++c) {
            const uint8_t expected =
                transparent && source[c] == sprite.transparent ? behind : source[c];
            if (PixelAt(x + static_cast<int32_t>(c), screenY) != expected) return false;
        }
    }
    return true;
}

// Whether every pixel of the w x h area at (x, y) still holds the marker.
inline bool Untouched(int32_t x, int32_t y, int32_t w, int32_t h) {
    for (int32_t r = y; r < y + h; ++r)
        for (int32_t c = x; c < x + w; ++c)
            if (PixelAt(c, r) != kMarker) return false;
    return true;
}

// How many pixels of the whole BackBuffer no longer hold the marker.
inline int32_t ChangedPixels() {
    int32_t changed = 0;
    for (uint32_t i = 0; i < BackBuffer.width * BackBuffer.height; ++i)
        changed += BackBuffer.pixels[i] != kMarker;
    return changed;
}

}  // namespace rules_test
