// Opening and closing the display, and the palette's display colours.
#include "gfx_fixture.h"

namespace gfxtest {
namespace {

GXDisplayProperties Display(long xPitch, long yPitch, DWORD format) {
    return {240, 320, xPitch, yPitch, 16, kfDirect | format};
}

using DisplayTest = GfxTest;

TEST_F(DisplayTest, NullPaletteOpensWithoutShadowBufferAndClosesTwiceSafely) {
    wince::SetDisplayProperties(Display(640, -2, kfDirect565));
    ASSERT_EQ(OpenGraphics(nullptr, nullptr, kKey, 240, 320), 1);
    EXPECT_EQ(DisplayInfo.xPitch, 320);
    EXPECT_EQ(DisplayInfo.yPitch, -1);
    EXPECT_NE(BackBuffer.pixels, nullptr);
    EXPECT_EQ(ShadowBuffer.block, nullptr);
    CloseGraphics();
    EXPECT_EQ(BackBuffer.pixels, nullptr);
    EXPECT_FALSE(wince::DisplayIsOpen());
    CloseGraphics();
}

TEST_F(DisplayTest, FailuresShowTheirMessages) {
    EXPECT_EQ(OpenGraphics(nullptr, TEXT("kbl.plf"), kKey, 240, 320), 0);  // no palette file
    EXPECT_EQ(ShadowBuffer.block, nullptr);
    wince::SetDeviceFaults({.displayFailsToOpen = true});
    EXPECT_EQ(OpenGraphics(nullptr, TEXT("kbl.plf"), kKey, 240, 320), 0);
    EXPECT_NE(BackBuffer.pixels, nullptr);  // left for CloseGraphics
    CloseGraphics();
    EXPECT_EQ(BackBuffer.pixels, nullptr);
    wince::SetDeviceFaults({});
    wince::SetDisplayProperties(Display(2, 480, kfDirect888));  // no colours we can make
    EXPECT_EQ(OpenGraphics(nullptr, TEXT("kbl.plf"), kKey, 240, 320), 0);
    EXPECT_EQ(shown_, (Texts{u"Open file : Fail|" + kPictureFolder + u"kbl.plf",
                             u"ERROR |Open display : Fail", u"ERROR |Open display : Fail"}));
}

TEST_F(DisplayTest, PaletteBecomesDisplayColours) {
    WritePicture("kbl.plf", {255, 255, 255, 0, 255, 0, 0x12, 0x34, 0x56, 7, 3, 7});
    Palette.rgb[12] = 0xFF;  // past the end of the short file: kept, and converted
    ASSERT_EQ(OpenGraphics(nullptr, TEXT("kbl.plf"), kKey, 240, 320), 1);
    EXPECT_EQ(std::vector<uint16_t>(Palette.color16, Palette.color16 + 6),
              (std::vector<uint16_t>{0xFFFF, 0x07E0, 0x11AA, 0, 0xF800, 0}));
    EXPECT_EQ(GetShadowOrigin(), reinterpret_cast<uint16_t *>(ShadowBuffer.block + 640));
    EXPECT_EQ(ConvertColour(kfDirect555, 255, 255, 255), 0x7FFF);
    EXPECT_EQ(ConvertColour(kfDirect555, 0, 255, 0), 0x03E0);
    EXPECT_EQ(ConvertColour(kfDirect555, 0x12, 0x34, 0x56), 0x08CA);
    EXPECT_EQ(ConvertColour(kfDirect565, 0, 0, 255), 0x001F);
}

}  // namespace
}  // namespace gfxtest
