// Sprite frames that do not fit are not drawn. (Frames drawn upright and
// drawn transparent are pinned by the game's drawing tests.)
#include <gtest/gtest.h>

#include <vector>

#include "gfx/gfx.h"

namespace {

using Bytes = std::vector<uint8_t>;

TEST(SpriteDraw, FramesThatDoNotFitAreNotDrawn) {
    Bytes pixels(45 * 20, 7), screen(240 * 320, 0);
    BackBuffer = {240, 320, screen.data()};
    // Three 15 x 20 frames side by side, transparent colour 1.
    const Sprite sprite{45, 20, 15, 20, 0, 1, pixels.data(), 45 * 20};
    EXPECT_TRUE(SpriteFrameFits(sprite, 225, 300, 2));
    Sprite flat = sprite, unbacked = sprite;
    flat.frameHeight = 0;
    unbacked.capacity = 45 * 19;
    EXPECT_FALSE(SpriteFrameFits(unbacked, 0, 0, 0));
    DrawSpriteFrame(flat, 0, 0, 0);
    DrawSpriteFrameTransparent(flat, 0, 0, 0);
    DrawSpriteFrame(unbacked, 0, 0, 0);
    const int32_t places[][3] = {{0, 0, 3},   {-1, 0, 0}, {226, 0, 0},
                                 {0, 301, 0}, {0, -1, 0}, {0, 0, 0x7FFFFFFF}};
    for (const auto &p : places) {
        EXPECT_FALSE(SpriteFrameFits(sprite, p[0], p[1], p[2])) << p[0] << "," << p[1];
        DrawSpriteFrame(sprite, p[0], p[1], p[2]);
        DrawSpriteFrameTransparent(sprite, p[0], p[1], p[2]);
    }
    EXPECT_EQ(screen, Bytes(240 * 320, 0));
    BackBuffer = {};
}

}  // namespace
