// Where the field, the falling piece, the preview and the score digits land
// in the BackBuffer.
#include <gtest/gtest.h>

#include "support/rules_board.h"
#include "support/rules_draw.h"
#include "support/rules_env.h"

using namespace rules_test;

namespace {

class DrawTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        OpenPictures();
        FillBackBuffer();
    }

    // Every listed frame is in place and nothing else was drawn.
    void ExpectBlocksOnly(uint32_t frame,
                          std::initializer_list<std::pair<int32_t, int32_t>> corners) {
        for (auto [x, y] : corners) EXPECT_TRUE(FrameAt(blockSprite, frame, x, y)) << x << "," << y;
        EXPECT_EQ(ChangedPixels(), static_cast<int32_t>(corners.size()) * 15 * 15);
    }
};

TEST_F(DrawTest, BlockPicturesDifferByKind) {
    // The position tests below rely on telling the kinds apart.
    for (uint32_t a = 0; a < kPieceKinds; ++a) {
        for (uint32_t b = a + 1; b < kPieceKinds; ++b) {
            FillBackBuffer();
            DrawSpriteFrame(blockSprite, 0, 0, a);
            EXPECT_FALSE(FrameAt(blockSprite, b, 0, 0)) << a << " vs " << b;
        }
    }
    FillBackBuffer();
    DrawSpriteFrame(blockSprite, 0, 0, 0);
    EXPECT_EQ(ChangedPixels(), 15 * 15);  // no block pixel has the marker's colour
}

TEST_F(DrawTest, BoardDrawsOnlySettledBlocks) {
    DrawBoard();
    EXPECT_EQ(ChangedPixels(), 0);
    CellOf(1, 1) = 3;
    CellOf(19, 9) = 3;
    DrawBoard();
    ExpectBlocksOnly(3, {{15, 300}, {135, 30}});
}

TEST_F(DrawTest, SpawnedPieceCoversTheTopRows) {
    DrawPiece(blockSprite, kSpawnX, kSpawnY, 2, 0);
    ExpectBlocksOnly(2, {{60, 30}, {75, 30}, {90, 30}, {60, 45}});
}

TEST_F(DrawTest, PieceRowsAboveTheFieldAreNotDrawn) {
    DrawPiece(blockSprite, kSpawnX, kSpawnY + kCellSize, 1, 0);  // top cell in row 20
    ExpectBlocksOnly(1, {{90, 30}, {90, 45}, {90, 60}});
    FillBackBuffer();
    DrawPiece(blockSprite, 45, -15, 1, 1);  // lying in row 1, its box below the floor
    ExpectBlocksOnly(1, {{45, 300}, {60, 300}, {75, 300}, {90, 300}});
}

TEST_F(DrawTest, PreviewCentresEachShape) {
    PieceSequence[GameState.nextIndex] = 0;
    DrawPreview();
    ExpectBlocksOnly(0, {{180, 60}, {195, 60}, {180, 75}, {195, 75}});
    FillBackBuffer();
    PieceSequence[GameState.nextIndex] = 1;
    DrawPreview();
    ExpectBlocksOnly(1, {{188, 45}, {188, 60}, {188, 75}, {188, 90}});
    FillBackBuffer();
    PieceSequence[GameState.nextIndex] = 5;
    DrawPreview();
    ExpectBlocksOnly(5, {{195, 53}, {180, 68}, {195, 68}, {180, 83}});
}

TEST_F(DrawTest, ScoreDigitsAreRightAlignedSixPixelsApart) {
    DrawScoreDigits(0, 166);
    EXPECT_TRUE(FrameAt(scoreDigitSprite, 0, 219, 166, true));
    const int32_t digitArea = scoreDigitSprite.frameWidth * scoreDigitSprite.frameHeight;
    EXPECT_LE(ChangedPixels(), digitArea);
    EXPECT_GT(ChangedPixels(), 0);

    FillBackBuffer();
    DrawScoreDigits(4520, 31);
    const uint32_t digits[] = {4, 5, 2, 0};
    for (int32_t k = 0; k < 4; ++k)
        EXPECT_TRUE(FrameAt(scoreDigitSprite, digits[k], 201 + 6 * k, 31, true)) << k;
    EXPECT_TRUE(Untouched(0, 0, 201, 320));
}

// A score past the largest signed number prints with a minus sign, which has
// no frame: its place stays empty and only digits are drawn.
TEST_F(DrawTest, MinusSignIsNotLookedUpAsADigit) {
    DrawScoreDigits(0x80000000u, 166);  // "-2147483648"
    EXPECT_TRUE(FrameAt(scoreDigitSprite, 8, 219, 166, true));
    EXPECT_TRUE(FrameAt(scoreDigitSprite, 2, 225 - 6 * 10, 166, true));
    EXPECT_TRUE(Untouched(0, 0, 225 - 6 * 10, 320));
}

}  // namespace
