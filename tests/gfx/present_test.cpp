// Converting the BackBuffer into the ShadowBuffer at the display's pitches,
// and putting the ShadowBuffer on the screen.
#include <algorithm>
#include <cstring>

#include "gfx_fixture.h"

namespace gfxtest {
namespace {

class PresentTest : public GfxTest {
protected:
    void Open(long xPitch, long yPitch) {
        wince::SetDisplayProperties({240, 320, xPitch, yPitch, 16, kfDirect | kfDirect565});
        WritePicture("kbl.plf", Bytes(768, 0));
        ASSERT_EQ(OpenGraphics(nullptr, TEXT("kbl.plf"), kKey, 240, 320), 1);
        for (int i = 0; i < 256; ++i) Palette.color16[i] = static_cast<uint16_t>(0x100 + i * 3);
        for (uint32_t i = 0; i < 240 * 320; ++i) BackBuffer.pixels[i] = (i * 7 + i / 240) & 0xFF;
    }
    // Every cell of the ShadowBuffer: a pixel's cell holds its colour, all
    // others stay zero. Returns how many pixels had no cell in the window.
    static int CheckShadow(int64_t xPitch, int64_t yPitch) {
        std::vector<uint16_t> expected(kShadowBytes / 2, 0);
        int dropped = 0;
        for (int y = 0; y < 320; ++y) {
            for (int x = 0; x < 240; ++x) {
                const int64_t cell = 320 + x * xPitch + y * yPitch;
                const bool inside = cell >= 0 && cell < int64_t{kShadowBytes / 2};
                EXPECT_EQ(ShadowCell(x, y) != nullptr, inside) << x << "," << y;
                if (!inside) ++dropped;
                if (inside) expected[cell] = Palette.color16[BackBuffer.pixels[y * 240 + x]];
            }
        }
        const auto *cells = reinterpret_cast<const uint16_t *>(ShadowBuffer.block);
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), cells));
        return dropped;
    }
};

// The window the ShadowBuffer mirrors ends 640 bytes before the last pixel
// of a plain portrait display, so its last 320 pixels are dropped.
TEST_F(PresentTest, PortraitDisplayFillsTheWindowAndDropsWhatLiesPastIt) {
    Open(2, 480);
    ConvertBackBuffer(GetShadowOrigin(), 0, 0);
    EXPECT_EQ(CheckShadow(1, 240), 320);
    EXPECT_EQ(ShadowCell(159, 318), GetShadowOrigin() + 76479);
}

TEST_F(PresentTest, RotatedDisplayLosesOnlyTheCellPastTheWindow) {
    Open(640, -2);
    ConvertBackBuffer(GetShadowOrigin(), 0, 0);
    EXPECT_EQ(ShadowCell(0, 319), GetShadowOrigin() - 319);  // 638 bytes before the origin
    EXPECT_EQ(ShadowCell(239, 0), nullptr);                  // it would begin where the window ends
    EXPECT_EQ(CheckShadow(320, -1), 1);
}

TEST_F(PresentTest, PresentCopiesTheWholeWindowAndClearLeavesTheShadowAlone) {
    Open(2, 480);
    for (uint32_t i = 0; i < kShadowBytes; ++i)
        ShadowBuffer.block[i] = static_cast<uint8_t>(i % 251);
    const uint8_t *window = wince::DisplayTopLeft() - 640;
    PresentShadow();
    EXPECT_EQ(std::memcmp(window, ShadowBuffer.block, kShadowBytes), 0);

    const Bytes shadowBefore(ShadowBuffer.block, ShadowBuffer.block + kShadowBytes);
    ClearScreen(0x1AB);  // only the low 8 bits are used
    EXPECT_EQ(Bytes(window, window + kShadowBytes), Bytes(kShadowBytes, 0xAB));
    EXPECT_EQ(Bytes(ShadowBuffer.block, ShadowBuffer.block + kShadowBytes), shadowBefore);
}

}  // namespace
}  // namespace gfxtest
