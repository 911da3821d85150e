// Where the field, the falling piece, the preview and the score digits land
// in the BackBuffer. The checks rely on the block frames differing, which the
// tests of the default pictures make sure of.
#include "support/device.h"

namespace pellax_test {
namespace {

using Corners = std::vector<std::pair<int32_t, int32_t>>;

class Draw : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        OpenPictures();
        FillBackBuffer();
    }

    // Exactly these blocks were drawn, then the BackBuffer is cleared again.
    void ExpectBlocks(uint32_t kind, const Corners &corners) {
        for (auto [x, y] : corners) EXPECT_TRUE(FrameAt(blockSprite, kind, x, y)) << x << "," << y;
        EXPECT_EQ(ChangedPixels(), static_cast<int32_t>(corners.size()) * 15 * 15);
        FillBackBuffer();
    }
};

TEST_F(Draw, BoardAndPiece) {
    DrawBoard();
    ExpectBlocks(0, {});
    CellOf(1, 1) = CellOf(19, 9) = 3;
    DrawBoard();
    ExpectBlocks(3, {{15, 300}, {135, 30}});
    DrawPiece(blockSprite, kSpawnX, kSpawnY, 2, 0);
    ExpectBlocks(2, {{60, 30}, {75, 30}, {90, 30}, {60, 45}});
    DrawPiece(blockSprite, kSpawnX, kSpawnY + 15, 1, 0);  // its top cell above row 19 is left out
    ExpectBlocks(1, {{90, 30}, {90, 45}, {90, 60}});
    DrawPiece(blockSprite, 45, -15, 1, 1);  // lying in row 1, its box below the floor
    ExpectBlocks(1, {{45, 300}, {60, 300}, {75, 300}, {90, 300}});
}

TEST_F(Draw, PreviewIsCentred) {
    const std::pair<uint8_t, Corners> previews[] = {
        {0, {{180, 60}, {195, 60}, {180, 75}, {195, 75}}},
        {1, {{188, 45}, {188, 60}, {188, 75}, {188, 90}}},
        {3, {{173, 60}, {188, 60}, {203, 60}, {203, 75}}},
        {5, {{195, 53}, {180, 68}, {195, 68}, {180, 83}}},
    };
    for (const auto &[kind, corners] : previews) {
        PieceSequence[GameState.nextIndex] = kind;
        DrawPreview();
        ExpectBlocks(kind, corners);
    }
}

// Right-aligned, the last digit at x = 219, six pixels apart. A score past
// the largest signed number prints with a minus sign, which has no frame.
TEST_F(Draw, ScoreDigits) {
    const struct {
        uint32_t value;
        std::vector<uint32_t> digits;
    } cases[] = {{0, {0}}, {4520, {4, 5, 2, 0}}, {0x80000000u, {2, 1, 4, 7, 4, 8, 3, 6, 4, 8}}};
    for (const auto &[value, digits] : cases) {
        SCOPED_TRACE(value);
        DrawScoreDigits(value, 166);
        const int32_t left = 225 - 6 * static_cast<int32_t>(digits.size());
        for (size_t k = 0; k < digits.size(); ++k)
            EXPECT_TRUE(FrameAt(scoreDigitSprite, digits[k], left + 6 * int32_t(k), 166, true))
                << k;
        EXPECT_EQ(ChangedPixels(0, 0, left, 320), 0);
        FillBackBuffer();
    }
}

}  // namespace
}  // namespace pellax_test
