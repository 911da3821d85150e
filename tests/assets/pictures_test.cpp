// The default pictures loaded by the game's own loader: their geometry where
// the game draws them, and the screens they make.
// Set PELLAX_ART_PREVIEW to a folder to get three screens as PNG files.
#include <algorithm>
#include <cstdlib>
#include <set>
#include <vector>

#include "support/rules_env.h"

namespace {

// The right and bottom edges of the well's playable cells.
constexpr int32_t kWellRight = 150, kWellBottom = 315;
// Indexes from here up are left to tests as markers (but for the colour that
// transparent drawing skips around the score digits).
constexpr uint8_t kFirstFreeIndex = 224;

struct Expected {
    const char16_t *name;
    Sprite *sprite;
    uint32_t frames, maxWidth, maxHeight;
    int32_t right, bottom;                            // what the frame must stay within...
    std::vector<std::pair<int32_t, int32_t>> places;  // ...drawn at each of these
};

const std::vector<Expected> kTable = {
    {u"kbl_b.nbf", &backgroundSprite, 1, 240, 320, 240, 320, {{0, 0}}},
    {u"kbl_sl.nbf", &overlaySprite, 1, 214, 25, 240, 320, {{13, 5}}},
    {u"kbl_bl.nbf", &blockSprite, 7, 15, 15, 240, 320, {{135, 300}, {210, 90}}},
    {u"kbl_n.nbf", &numberSprite, 20, 15, 15, 240, 320, {{195, 113}, {210, 135}}},
    // High-score digits end above the first cell of the next-piece preview.
    {u"kbl_sn.nbf", &scoreDigitSprite, 10, 6, 14, 240, 45, {{219, 31}}},
    // The banner ends above the level plaque drawn under it.
    {u"kbl_cg.nbf", &levelClearedSprite, 1, 127, 22, kWellRight, 112, {{22, 90}}},
    {u"kbl_lv.nbf", &levelDigitSprite, 10, 97, 200, kWellRight, kWellBottom, {{52, 112}}},
    {u"kbl_gov.nbf", &gameOverSprite, 1, 125, 200, kWellRight, kWellBottom, {{24, 90}}},
};

uint8_t Pixel(const Sprite &s, uint32_t frame, int32_t x, int32_t yFromTop) {
    return s.pixels[(s.frameHeight - 1 - static_cast<uint32_t>(yFromTop)) * s.stride +
                    frame * s.frameWidth + static_cast<uint32_t>(x)];
}

std::vector<uint8_t> Frame(const Sprite &s, uint32_t frame) {
    std::vector<uint8_t> out;
    for (uint32_t y = 0; y < s.frameHeight; ++y)
        for (uint32_t x = 0; x < s.frameWidth; ++x)
            out.push_back(Pixel(s, frame, static_cast<int32_t>(x), static_cast<int32_t>(y)));
    return out;
}

class DefaultPictures : public rules_test::DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        ASSERT_EQ(OpenGraphics(nullptr, TEXT("kbl.plf"), kRegistryKey, 240, 320), 1);
        for (const Expected &e : kTable) ASSERT_EQ(LoadSprite(e.name, *e.sprite, 0), 1);
    }
};

TEST_F(DefaultPictures, FitWhereTheGameDrawsThem) {
    for (const Expected &e : kTable) {
        SCOPED_TRACE(wince::ToUtf8(e.name));
        const Sprite &s = *e.sprite;
        EXPECT_EQ(s.stride, e.frames * s.frameWidth);
        EXPECT_EQ(s.imageHeight, s.frameHeight);
        EXPECT_TRUE(s.frameWidth > 0 && s.frameWidth <= e.maxWidth) << s.frameWidth;
        EXPECT_TRUE(s.frameHeight > 0 && s.frameHeight <= e.maxHeight) << s.frameHeight;
        for (const auto &[x, y] : e.places) {
            EXPECT_LE(x + static_cast<int32_t>(s.frameWidth), e.right);
            EXPECT_LE(y + static_cast<int32_t>(s.frameHeight), e.bottom);
        }
        if (e.frames > 1) {
            std::set<std::vector<uint8_t>> distinct;
            for (uint32_t f = 0; f < e.frames; ++f) distinct.insert(Frame(s, f));
            EXPECT_EQ(distinct.size(), e.frames) << "frames repeat";
        }
        for (uint32_t i = 0; i < s.stride * s.imageHeight; ++i) {
            if (&s == &scoreDigitSprite && s.pixels[i] == s.transparent) continue;
            ASSERT_LT(s.pixels[i], kFirstFreeIndex) << "byte " << i;
        }
    }
    EXPECT_TRUE(blockSprite.frameWidth == 15 && blockSprite.frameHeight == 15);
    EXPECT_TRUE(backgroundSprite.frameWidth == 240 && backgroundSprite.frameHeight == 320);
}

struct Area {
    int32_t x, y, w, h;
};
// The high-score label, the level buttons, the new-game and exit buttons.
constexpr Area kPanelMarks[] = {
    {156, 0, 84, 28}, {165, 112, 15, 16}, {211, 112, 15, 16}, {165, 270, 61, 38}};

void FillRows(int32_t rows) {
    for (int32_t r = 1; r <= rows; ++r)
        for (int32_t c = 1; c <= 9; ++c)
            if ((r * 7 + c * 3) % 5 != 0) Board[r * kBoardColumns + c] = (r * 3 + c * 5) % 7;
}

// The three screens as the game draws them: nothing drawn over the background
// may cover the high-score label or the buttons.
TEST_F(DefaultPictures, ScreensKeepOffThePanelLabelsAndButtons) {
    DrawSpriteFrame(backgroundSprite, 0, 0, 0);
    const std::vector<uint8_t> background(BackBuffer.pixels, BackBuffer.pixels + 76800);
    auto start = [] {
        DrawSpriteFrame(backgroundSprite, 0, 0, 0);
        DrawSpriteFrame(overlaySprite, 13, 5, 0);
    };
    auto finish = [&](uint8_t level, uint8_t toGo, uint32_t high, uint32_t score, const char *png) {
        DrawSpriteFrame(numberSprite, 195, 113, level - 1u);
        DrawSpriteFrame(numberSprite, 210, 135, toGo - 1u);
        DrawScoreDigits(high, 31);
        DrawScoreDigits(score, 166);
        for (const auto &[x0, y0, w, h] : kPanelMarks)
            for (int32_t y = y0; y < y0 + h; ++y)
                for (int32_t x = x0; x < x0 + w; ++x)
                    ASSERT_EQ(BackBuffer.pixels[y * 240 + x], background[y * 240 + x])
                        << png << " at " << x << ", " << y;
        ConvertBackBuffer(GetShadowOrigin(), 0, 0);
        PresentShadow();
        if (const char *folder = std::getenv("PELLAX_ART_PREVIEW")) {
            EXPECT_TRUE(host.WriteScreenPng(std::filesystem::path(folder) / png));
        }
    };
    start();
    FillRows(7);
    DrawBoard();
    DrawPiece(blockSprite, 60, 195, 4, 0);
    PieceSequence[GameState.nextIndex] = 1;
    DrawPreview();
    finish(5, 12, 98765, 4520, "play.png");

    start();
    DrawSpriteFrame(levelClearedSprite, 22, 90, 0);
    DrawSpriteFrame(levelDigitSprite, 52, 112, 9);
    finish(10, 20, 2147483647u, 0, "cleared.png");

    start();
    FillRows(16);
    DrawBoard();
    DrawPiece(blockSprite, 60, 255, 6, 0);
    DrawSpriteFrame(gameOverSprite, 24, 90, 0);
    finish(1, 7, 1234567890, 1234567890, "game_over.png");
}

}  // namespace
