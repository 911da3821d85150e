// The default pictures loaded by the game's own loader: their geometry where
// the game draws them, and the screens they make.
#include <set>

#include "support/device.h"

namespace pellax_test {
namespace {

// The right and bottom edges of the well's playable cells.
constexpr int32_t kWellRight = 150, kWellBottom = 315;

struct Expected {
    const char16_t *name;
    Sprite *sprite;
    uint32_t frames, maxWidth, maxHeight;
    int32_t right, bottom;                            // what the frame must stay within...
    std::vector<std::pair<int32_t, int32_t>> places;  // ...drawn at each of these
};

const std::vector<Expected> kTable = {
    {kBackgroundFile, &backgroundSprite, 1, 240, 320, 240, 320, {{0, 0}}},
    {kOverlayFile, &overlaySprite, 1, 214, 25, 240, 320, {{13, 5}}},
    {kBlockFile, &blockSprite, 7, 15, 15, 240, 320, {{135, 300}, {210, 90}}},
    {kNumberFile, &numberSprite, 20, 15, 15, 240, 320, {{195, 113}, {210, 135}}},
    // High-score digits end above the first cell of the next-piece preview.
    {kScoreDigitFile, &scoreDigitSprite, 10, 6, 14, 240, 45, {{219, 31}}},
    // The banner ends above the level plaque drawn under it.
    {kLevelClearedFile, &levelClearedSprite, 1, 127, 22, kWellRight, 112, {{22, 90}}},
    {kLevelDigitFile, &levelDigitSprite, 10, 97, 200, kWellRight, kWellBottom, {{52, 112}}},
    {kGameOverFile, &gameOverSprite, 1, 125, 200, kWellRight, kWellBottom, {{24, 90}}},
};

class DefaultPictures : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        ASSERT_EQ(OpenGraphics(nullptr, kPaletteFile, kRegistryKey, 240, 320), 1);
        for (const Expected &e : kTable) ASSERT_EQ(LoadSprite(e.name, *e.sprite, 0), 1);
    }
};

// Frames differ from each other, and no pixel uses the indexes from the
// marker up, which are left to tests (but for the colour that transparent
// drawing skips around the score digits).
TEST_F(DefaultPictures, FitWhereTheGameDrawsThem) {
    for (const Expected &e : kTable) {
        SCOPED_TRACE(wince::ToUtf8(e.name));
        const Sprite &s = *e.sprite;
        EXPECT_EQ(s.stride, e.frames * s.frameWidth);
        EXPECT_EQ(s.imageHeight, s.frameHeight);
        EXPECT_TRUE(s.frameWidth > 0 && s.frameWidth <= e.maxWidth) << s.frameWidth;
        EXPECT_TRUE(s.frameHeight > 0 && s.frameHeight <= e.maxHeight) << s.frameHeight;
        for (const auto &[x, y] : e.places) {
            EXPECT_LE(x + int32_t(s.frameWidth), e.right);
            EXPECT_LE(y + int32_t(s.frameHeight), e.bottom);
        }
        std::set<std::string> frames;
        for (uint32_t f = 0; f < e.frames; ++f) {
            std::string frame;
            for (uint32_t row = 0; row < s.frameHeight; ++row)
                frame.append(s.pixels + row * s.stride + f * s.frameWidth,
                             s.pixels + row * s.stride + (f + 1) * s.frameWidth);
            frames.insert(frame);
        }
        EXPECT_EQ(frames.size(), e.frames) << "frames repeat";
        for (uint32_t i = 0; i < s.stride * s.imageHeight; ++i)
            ASSERT_TRUE(s.pixels[i] < kMarker ||
                        (&s == &scoreDigitSprite && s.pixels[i] == s.transparent))
                << "byte " << i;
    }
}

// Everything the game draws right of the well (the rest stays within it, as
// above), over the background: none of it may change the high-score label,
// the level buttons, NEW GAME or EXIT.
TEST_F(DefaultPictures, NothingCoversThePanelLabelsAndButtons) {
    DrawSpriteFrame(backgroundSprite, 0, 0, 0);
    const std::vector<uint8_t> background(BackBuffer.pixels, BackBuffer.pixels + 76800);
    DrawSpriteFrame(overlaySprite, 13, 5, 0);
    for (uint8_t kind = 0; kind < kPieceKinds; ++kind) DrawPreviewShape(blockSprite, 165, 45, kind);
    for (uint32_t frame = 0; frame < 20; ++frame) {
        DrawSpriteFrame(numberSprite, 195, 113, frame);
        DrawSpriteFrame(numberSprite, 210, 135, frame);
    }
    DrawScoreDigits(1888888888, 31);
    DrawScoreDigits(1888888888, 166);
    const int32_t marks[][4] = {
        {156, 0, 84, 28}, {165, 112, 15, 16}, {211, 112, 15, 16}, {165, 270, 61, 38}};
    for (const auto &[x0, y0, w, h] : marks)
        for (int32_t y = y0; y < y0 + h; ++y)
            for (int32_t x = x0; x < x0 + w; ++x)
                ASSERT_EQ(PixelAt(x, y), background[y * 240 + x]) << x << ", " << y;
}

}  // namespace
}  // namespace pellax_test
