// Drawing sprite frames into the BackBuffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "gfx/gfx.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Three 15 x 20 frames side by side; stored row r, column c holds
// (r * 45 + c) % 250 + 1, so only the bottom-left pixel has the transparent 1.
class SpriteDrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (uint32_t i = 0; i < pixels_.size(); ++i) pixels_[i] = i % 250 + 1;
        BackBuffer = {240, 320, screen_.data()};
    }
    void TearDown() override { BackBuffer = {}; }
    uint8_t Screen(int x, int y) const { return screen_[y * 240 + x]; }

    Bytes pixels_ = Bytes(45 * 20);
    Bytes screen_ = Bytes(240 * 320, 0);
    Sprite sprite_{45, 20, 15, 20, 0, 1, pixels_.data(), 45 * 20};
};

TEST_F(SpriteDrawTest, FramesAreTurnedUpright) {
    DrawSpriteFrame(sprite_, 100, 0, 2);
    for (int r = 0; r < 20; ++r)
        for (int c = 0; c < 15; ++c) ASSERT_EQ(Screen(100 + c, 19 - r), pixels_[r * 45 + 30 + c]);
    EXPECT_EQ(std::count(screen_.begin(), screen_.end(), 0), 240 * 320 - 15 * 20);
}

TEST_F(SpriteDrawTest, TransparentPixelsKeepTheBackground) {
    pixels_[45 + 3] = 1;  // stored row 1 of frame 0: screen row 318
    DrawSpriteFrameTransparent(sprite_, 0, 300, 0);
    EXPECT_EQ(Screen(0, 319), 0);
    EXPECT_EQ(Screen(3, 318), 0);
    EXPECT_EQ(Screen(4, 318), pixels_[45 + 4]);
    EXPECT_EQ(Screen(14, 300), pixels_[19 * 45 + 14]);
    const Bytes before = screen_;
    pixels_.assign(pixels_.size(), 1);
    DrawSpriteFrameTransparent(sprite_, 0, 0, 1);
    EXPECT_EQ(screen_, before);
}

TEST_F(SpriteDrawTest, FramesThatDoNotFitAreNotDrawn) {
    EXPECT_TRUE(SpriteFrameFits(sprite_, 225, 300, 2));
    Sprite flat = sprite_, unbacked = sprite_;
    flat.frameHeight = 0;
    unbacked.capacity = 45 * 19;
    EXPECT_FALSE(SpriteFrameFits(unbacked, 0, 0, 0));
    DrawSpriteFrame(flat, 0, 0, 0);
    DrawSpriteFrameTransparent(flat, 0, 0, 0);
    DrawSpriteFrame(unbacked, 0, 0, 0);
    const int32_t places[][3] = {{0, 0, 3},   {-1, 0, 0}, {226, 0, 0},
                                 {0, 301, 0}, {0, -1, 0}, {0, 0, 0x7FFFFFFF}};
    for (const auto &p : places) {
        EXPECT_FALSE(SpriteFrameFits(sprite_, p[0], p[1], p[2])) << p[0] << "," << p[1];
        DrawSpriteFrame(sprite_, p[0], p[1], p[2]);
        DrawSpriteFrameTransparent(sprite_, p[0], p[1], p[2]);
    }
    EXPECT_EQ(screen_, Bytes(240 * 320, 0));
}

}  // namespace
