// The display and the palette's colours, the BackBuffer converted into the
// ShadowBuffer at the display's pitches, and the ShadowBuffer put on screen.
#include <cstring>

#include "support/rules_env.h"

using namespace rules_test;

namespace {

using Bytes = std::vector<uint8_t>;

class Display : public DeviceTest {
protected:
    int Open(long xPitch, long yPitch, DWORD format = kfDirect565,
             LPCWSTR palette = TEXT("kbl.plf")) {
        wince::SetDisplayProperties({240, 320, xPitch, yPitch, 16, kfDirect | format});
        return OpenGraphics(nullptr, palette, kRegistryKey, 240, 320);
    }
    // A BackBuffer of many colours through a palette of distinct ones.
    static void Paint() {
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

TEST_F(Display, NullPaletteOpensWithoutShadowBufferAndClosesTwiceSafely) {
    ASSERT_EQ(Open(640, -2, kfDirect565, nullptr), 1);
    EXPECT_EQ(DisplayInfo.xPitch, 320);
    EXPECT_EQ(DisplayInfo.yPitch, -1);
    EXPECT_NE(BackBuffer.pixels, nullptr);
    EXPECT_EQ(ShadowBuffer.block, nullptr);
    CloseGraphics();
    EXPECT_EQ(BackBuffer.pixels, nullptr);
    EXPECT_FALSE(wince::DisplayIsOpen());
    CloseGraphics();
}

TEST_F(Display, FailuresShowTheirMessages) {
    EXPECT_EQ(Open(2, 480, kfDirect565, TEXT("none.plf")), 0);
    EXPECT_EQ(ShadowBuffer.block, nullptr);
    wince::SetDeviceFaults({.displayFailsToOpen = true});
    EXPECT_EQ(Open(2, 480), 0);
    EXPECT_NE(BackBuffer.pixels, nullptr);  // left for CloseGraphics
    CloseGraphics();
    EXPECT_EQ(BackBuffer.pixels, nullptr);
    wince::SetDeviceFaults({});
    EXPECT_EQ(Open(2, 480, kfDirect888), 0);  // no colours we can make
    EXPECT_EQ(log.events,
              (std::vector<std::string>{
                  "msgbox Open file : Fail|\\Program Files\\Pellax Rim\\picture\\none.plf",
                  "msgbox ERROR |Open display : Fail", "msgbox ERROR |Open display : Fail"}));
}

TEST_F(Display, PaletteBecomesDisplayColours) {
    WriteRootFile(kPictureFolder / "kbl.plf",
                  Bytes{255, 255, 255, 0, 255, 0, 0x12, 0x34, 0x56, 7, 3, 7});
    Palette.rgb[12] = 0xFF;  // past the end of the short file: kept, and converted
    ASSERT_EQ(Open(2, 480), 1);
    EXPECT_EQ(std::vector<uint16_t>(Palette.color16, Palette.color16 + 6),
              (std::vector<uint16_t>{0xFFFF, 0x07E0, 0x11AA, 0, 0xF800, 0}));
    EXPECT_EQ(GetShadowOrigin(), reinterpret_cast<uint16_t *>(ShadowBuffer.block + 640));
    EXPECT_EQ(ConvertColour(kfDirect555, 255, 255, 255), 0x7FFF);
    EXPECT_EQ(ConvertColour(kfDirect555, 0, 255, 0), 0x03E0);
    EXPECT_EQ(ConvertColour(kfDirect555, 0x12, 0x34, 0x56), 0x08CA);
    EXPECT_EQ(ConvertColour(kfDirect565, 0, 0, 255), 0x001F);
}

// The window the ShadowBuffer mirrors ends 640 bytes before the last pixel
// of a plain portrait display, so its last 320 pixels are dropped; a rotated
// display loses only the cell that would begin where the window ends.
TEST_F(Display, ConversionFillsTheWindowAndDropsWhatLiesPastIt) {
    ASSERT_EQ(Open(2, 480), 1);
    Paint();
    ConvertBackBuffer(GetShadowOrigin(), 0, 0);
    EXPECT_EQ(CheckShadow(1, 240), 320);
    EXPECT_EQ(ShadowCell(159, 318), GetShadowOrigin() + 76479);
    CloseGraphics();

    std::memset(ShadowBuffer.block, 0, kShadowBytes);
    ASSERT_EQ(Open(640, -2), 1);
    Paint();
    ConvertBackBuffer(GetShadowOrigin(), 0, 0);
    EXPECT_EQ(ShadowCell(0, 319), GetShadowOrigin() - 319);  // 638 bytes before the origin
    EXPECT_EQ(ShadowCell(239, 0), nullptr);
    EXPECT_EQ(CheckShadow(320, -1), 1);
}

TEST_F(Display, PresentCopiesTheWholeWindowAndClearLeavesTheShadowAlone) {
    ASSERT_EQ(Open(2, 480), 1);
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
