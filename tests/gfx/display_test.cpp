// Opening and closing the display, and the palette's display colours.
#include "gfx_fixture.h"

namespace gfxtest {
namespace {

GXDisplayProperties Display(long xPitch, long yPitch, DWORD format) {
    return {240, 320, xPitch, yPitch, 16, format};
}

class DisplayTest : public GfxTest {};

TEST_F(DisplayTest, NullPaletteOpensWithDisplayInfoAndNoShadowBuffer) {
    wince::SetDisplayProperties(Display(640, -2, kfDirect | kfDirect565));
    ASSERT_EQ(OpenGraphics(nullptr, nullptr, kKey, 240, 320), 1);
    EXPECT_EQ(DisplayInfo.xPitch, 320);
    EXPECT_EQ(DisplayInfo.yPitch, -1);
    EXPECT_EQ(DisplayInfo.format, static_cast<uint32_t>(kfDirect | kfDirect565));
    EXPECT_NE(BackBuffer.pixels, nullptr);
    EXPECT_EQ(ShadowBuffer.block, nullptr);
    EXPECT_TRUE(wince::DisplayIsOpen());
    CloseGraphics();
    EXPECT_EQ(BackBuffer.pixels, nullptr);
    EXPECT_FALSE(wince::DisplayIsOpen());
    CloseGraphics();  // a second close releases nothing twice
}

TEST_F(DisplayTest, MissingPaletteShowsItsFullPath) {
    EXPECT_EQ(OpenGraphics(nullptr, TEXT("kbl.plf"), kKey, 240, 320), 0);
    ASSERT_EQ(host_.shown.size(), 1u);
    EXPECT_EQ(host_.shown[0].owner, nullptr);
    EXPECT_EQ(host_.shown[0].text, kPictureFolder + u"kbl.plf");
    EXPECT_EQ(host_.shown[0].caption, u"Open file : Fail");
    EXPECT_EQ(ShadowBuffer.block, nullptr);
}

TEST_F(DisplayTest, DisplayThatFailsOrCannotShowColoursIsRefused) {
    wince::SetDeviceFaults({.displayFailsToOpen = true});
    EXPECT_EQ(OpenGraphics(nullptr, TEXT("kbl.plf"), kKey, 240, 320), 0);
    EXPECT_NE(BackBuffer.pixels, nullptr);  // CloseGraphics releases it
    wince::SetDeviceFaults({});
    wince::SetDisplayProperties(Display(2, 480, kfDirect | kfDirect888));
    EXPECT_EQ(OpenGraphics(nullptr, TEXT("kbl.plf"), kKey, 240, 320), 0);
    ASSERT_EQ(host_.shown.size(), 2u);
    for (const Shown &shown : host_.shown) {
        EXPECT_EQ(shown.text, u"Open display : Fail");
        EXPECT_EQ(shown.caption, u"ERROR ");
    }
    CloseGraphics();
    EXPECT_EQ(BackBuffer.pixels, nullptr);
}

struct ColourCase {
    DWORD format;
    uint16_t white, green, mixed;
};

class PaletteColours : public GfxTest, public ::testing::WithParamInterface<ColourCase> {};

TEST_P(PaletteColours, FollowTheDisplayFormat) {
    const ColourCase &c = GetParam();
    wince::SetDisplayProperties(Display(2, 480, kfDirect | c.format));
    WritePicture("kbl.plf", {255, 255, 255, 0, 255, 0, 0x12, 0x34, 0x56, 7, 3, 7});
    Palette.rgb[12] = 0xFF;  // past the end of the short file: kept, and converted
    ASSERT_EQ(OpenGraphics(nullptr, TEXT("kbl.plf"), kKey, 240, 320), 1);
    EXPECT_EQ(Palette.color16[0], c.white);
    EXPECT_EQ(Palette.color16[1], c.green);
    EXPECT_EQ(Palette.color16[2], c.mixed);
    EXPECT_EQ(Palette.color16[3], 0);
    EXPECT_EQ(Palette.color16[4], c.format == kfDirect565 ? 0xF800 : 0x7C00);
    EXPECT_EQ(GetShadowOrigin(), reinterpret_cast<uint16_t *>(ShadowBuffer.block + 640));
}

INSTANTIATE_TEST_SUITE_P(Formats, PaletteColours,
                         ::testing::Values(ColourCase{kfDirect565, 0xFFFF, 0x07E0, 0x11AA},
                                           ColourCase{kfDirect555, 0x7FFF, 0x03E0, 0x08CA}));

TEST(ConvertColour, PrimariesAndUnknownFormats) {
    EXPECT_EQ(ConvertColour(kfDirect565, 255, 0, 0), 0xF800);
    EXPECT_EQ(ConvertColour(kfDirect565, 0, 0, 255), 0x001F);
    EXPECT_EQ(ConvertColour(kfDirect565 | kfDirect555, 0, 255, 0), 0x07E0);
    EXPECT_EQ(ConvertColour(kfDirect | kfPalette, 255, 255, 255), -1);
}

}  // namespace
}  // namespace gfxtest
