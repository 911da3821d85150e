// Drawing sprite frames into the BackBuffer.
#include <gtest/gtest.h>

#include <vector>

#include "gfx/gfx.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A strip of three 15 x 20 frames; stored row r, column c holds (r * 45 + c) % 250 + 1,
// so no pixel but the bottom-left one equals the transparent colour 1.
class SpriteDrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (uint32_t r = 0; r < 20; ++r)
            for (uint32_t c = 0; c < 45; ++c) pixels_[r * 45 + c] = (r * 45 + c) % 250 + 1;
        BackBuffer = {240, 320, screen_.data()};
    }
    void TearDown() override { BackBuffer = {}; }
    uint8_t Screen(int x, int y) const { return screen_[y * 240 + x]; }

    Bytes pixels_ = Bytes(45 * 20);
    Bytes screen_ = Bytes(240 * 320, 0xAA);
    Sprite sprite_{45, 20, 15, 20, 0, 1, pixels_.data(), 45 * 20};
};

TEST_F(SpriteDrawTest, FramesAreTurnedUpright) {
    DrawSpriteFrame(sprite_, 100, 0, 2);
    for (int r = 0; r < 20; ++r)
        for (int c = 0; c < 15; ++c)
            ASSERT_EQ(Screen(100 + c, 19 - r), pixels_[r * 45 + 30 + c]) << r << "," << c;
    EXPECT_EQ(Screen(99, 0), 0xAA);
    EXPECT_EQ(Screen(115, 19), 0xAA);
    EXPECT_EQ(Screen(100, 20), 0xAA);
}

TEST_F(SpriteDrawTest, TransparentPixelsKeepTheBackground) {
    pixels_[45 + 3] = 1;  // stored row 1 of frame 0: screen row 18
    DrawSpriteFrameTransparent(sprite_, 0, 300, 0);
    EXPECT_EQ(Screen(0, 319), 0xAA);
    EXPECT_EQ(Screen(3, 318), 0xAA);
    EXPECT_EQ(Screen(4, 318), pixels_[45 + 4]);
    EXPECT_EQ(Screen(14, 300), pixels_[19 * 45 + 14]);

    const Bytes before = screen_;
    pixels_.assign(pixels_.size(), 1);
    DrawSpriteFrameTransparent(sprite_, 0, 0, 1);
    EXPECT_EQ(screen_, before);
}

TEST_F(SpriteDrawTest, FramesThatDoNotFitAreNotDrawn) {
    EXPECT_TRUE(SpriteFrameFits(sprite_, 225, 300, 2));
    const struct {
        int32_t x, y;
        uint32_t frame;
    } outside[] = {{0, 0, 3}, {-1, 0, 0}, {226, 0, 0}, {0, 301, 0}, {0, -1, 0}, {0, 0, 0x7FFFFFFF}};
    for (const auto &o : outside) {
        EXPECT_FALSE(SpriteFrameFits(sprite_, o.x, o.y, o.frame)) << o.x << "," << o.y;
        DrawSpriteFrame(sprite_, o.x, o.y, o.frame);
        DrawSpriteFrameTransparent(sprite_, o.x, o.y, o.frame);
    }
    Sprite flat = sprite_;
    flat.frameHeight = 0;
    DrawSpriteFrame(flat, 0, 0, 0);
    DrawSpriteFrameTransparent(flat, 0, 0, 0);
    Sprite unbacked = sprite_;
    unbacked.capacity = 45 * 19;
    EXPECT_FALSE(SpriteFrameFits(unbacked, 0, 0, 0));
    DrawSpriteFrame(unbacked, 0, 0, 0);
    EXPECT_EQ(screen_, Bytes(240 * 320, 0xAA));
}

}  // namespace
