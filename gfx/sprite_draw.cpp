// Drawing sprite frames upright into the BackBuffer, opaque or with the
// sprite's transparent colour.
#include <cstring>

#include "gfx/gfx.h"

namespace {

// Stored rows run bottom first, so stored row r of a frame lands on
// BackBuffer row y + frameHeight - 1 - r.
uint8_t *DestinationRow(const Sprite &sprite, int32_t x, int32_t y, uint32_t row) {
    const size_t screenRow = static_cast<size_t>(y) + sprite.frameHeight - 1 - row;
    return BackBuffer.pixels + screenRow * BackBuffer.width + static_cast<size_t>(x);
}

const uint8_t *SourceRow(const Sprite &sprite, uint32_t frame, uint32_t row) {
    return sprite.pixels + static_cast<size_t>(sprite.frameWidth) * frame +
           static_cast<size_t>(sprite.stride) * row;
}

}  // namespace

bool SpriteFrameFits(const Sprite &sprite, int32_t x, int32_t y, uint32_t frame) {
    if (sprite.pixels == nullptr || BackBuffer.pixels == nullptr) return false;
    const uint64_t frameEnd = (static_cast<uint64_t>(frame) + 1) * sprite.frameWidth;
    const uint64_t rowsBytes = static_cast<uint64_t>(sprite.stride) * sprite.frameHeight;
    if (frameEnd > sprite.stride || sprite.frameHeight > sprite.imageHeight ||
        rowsBytes > sprite.capacity) {
        return false;
    }
    return x >= 0 && y >= 0 && static_cast<uint64_t>(x) + sprite.frameWidth <= BackBuffer.width &&
           static_cast<uint64_t>(y) + sprite.frameHeight <= BackBuffer.height;
}

// Drawing does not clip; a frame that would reach outside the sprite's pixels
// or the BackBuffer is not drawn at all (one test per frame, none per pixel).
void DrawSpriteFrame(const Sprite &sprite, int32_t x, int32_t y, uint32_t frame) {
    if (sprite.frameHeight == 0 || !SpriteFrameFits(sprite, x, y, frame)) return;
    for (uint32_t row = 0; row < sprite.frameHeight; ++row) {
        std::memcpy(DestinationRow(sprite, x, y, row), SourceRow(sprite, frame, row),
                    sprite.frameWidth);
    }
}

void DrawSpriteFrameTransparent(const Sprite &sprite, int32_t x, int32_t y, uint32_t frame) {
    if (sprite.frameHeight == 0 || !SpriteFrameFits(sprite, x, y, frame)) return;
    const uint8_t transparent = sprite.transparent;
    for (uint32_t row = 0; row < sprite.frameHeight; ++row) {
        uint8_t *destination = DestinationRow(sprite, x, y, row);
        const uint8_t *source = SourceRow(sprite, frame, row);
        for (uint32_t column = 0; column < sprite.frameWidth; ++column) {
            if (source[column] != transparent) destination[column] = source[column];
        }
    }
}
