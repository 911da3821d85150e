#include <png.h>

#include <cstring>

#include "wince_fixture.h"

namespace wince_test {
namespace {

constexpr int kWidth = 240;

class Display : public WinceTest {
protected:
    // Draws one 16-bit value at screen pixel (x, y) through the display's pitches.
    static void Put(uint8_t *topLeft, int x, int y, uint16_t value) {
        GXDisplayProperties p = GXGetDisplayProperties();
        std::memcpy(topLeft + x * p.cbxPitch + y * p.cbyPitch, &value, sizeof value);
    }

    uint16_t ScreenAt(int x, int y) { return host_.Screen()[y * kWidth + x]; }
};

TEST_F(Display, OpensUnlessMadeToFailAndGivesMemoryOnlyWhileOpen) {
    EXPECT_EQ(GXBeginDraw(), nullptr);
    wince::SetDeviceFaults({true, true});
    EXPECT_EQ(GXOpenDisplay(nullptr, GX_FULLSCREEN), 0);
    EXPECT_EQ(GXOpenInput(), 0);
    wince::SetDeviceFaults({});
    EXPECT_NE(GXOpenDisplay(nullptr, GX_FULLSCREEN), 0);
    EXPECT_NE(GXOpenInput(), 0);
    EXPECT_EQ(GXBeginDraw(), wince::DisplayTopLeft());
    EXPECT_NE(GXCloseDisplay(), 0);
    EXPECT_EQ(GXBeginDraw(), nullptr);
}

TEST_F(Display, TheWholeWindowBeforeTheTopLeftPixelIsWritable) {
    ASSERT_NE(GXOpenDisplay(nullptr, GX_FULLSCREEN), 0);
    auto *frame = static_cast<uint8_t *>(GXBeginDraw());
    // The game copies 153600 bytes to 640 bytes before the top-left pixel.
    std::memset(frame - 640, 0x5A, 153600);
    EXPECT_EQ(GXEndDraw(), 1);
    EXPECT_EQ(ScreenAt(0, 0), 0x5A5A);
    EXPECT_EQ(ScreenAt(239, 317), 0x5A5A);
}

TEST_F(Display, PicturesAreReadThroughTheirPitchesAndFormat) {
    EXPECT_EQ(ScreenAt(0, 0), 0) << "black before the first picture";
    wince::SetDisplayProperties({240, 320, 640, -2, 16, kfDirect | kfDirect565});
    ASSERT_NE(GXOpenDisplay(nullptr, GX_FULLSCREEN), 0);
    auto *frame = static_cast<uint8_t *>(GXBeginDraw());
    Put(frame, 0, 0, 0xF800);
    Put(frame, 239, 0, 0x07E0);
    Put(frame, 0, 319, 0x001F);
    GXEndDraw();
    EXPECT_EQ(ScreenAt(0, 0), 0xF800);
    EXPECT_EQ(ScreenAt(239, 0), 0x07E0);
    EXPECT_EQ(ScreenAt(0, 319), 0x001F);

    // A 555 display: full green becomes full 6-bit green.
    wince::SetDisplayProperties({240, 320, 2, 480, 16, kfDirect | kfDirect555});
    Put(frame, 5, 5, 0x7FFF);
    Put(frame, 6, 5, 0x03E0);
    Put(frame, 7, 5, 0x0200);  // green 16 of 31
    GXEndDraw();
    EXPECT_EQ(ScreenAt(5, 5), 0xFFFF);
    EXPECT_EQ(ScreenAt(6, 5), 0x07E0);
    EXPECT_EQ(ScreenAt(7, 5), 0x0420);
}

TEST_F(Display, TheScreenPngWidensEachChannel) {
    ASSERT_NE(GXOpenDisplay(nullptr, GX_FULLSCREEN), 0);
    auto *frame = static_cast<uint8_t *>(GXBeginDraw());
    Put(frame, 0, 0, 0xFFFF);
    Put(frame, 10, 20, 0x8410);    // R 16, G 32, B 16
    Put(frame, 239, 319, 0x0841);  // R 1, G 2, B 1
    GXEndDraw();
    fs::path file = root_ / "screen.png";
    ASSERT_TRUE(host_.WriteScreenPng(file));

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, file.c_str()));
    EXPECT_EQ(image.width, 240u);
    EXPECT_EQ(image.height, 320u);
    EXPECT_EQ(image.format, static_cast<png_uint_32>(PNG_FORMAT_RGB));
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    auto at = [&](int x, int y, int channel) { return rgb[(y * kWidth + x) * 3 + channel]; };
    EXPECT_EQ(at(0, 0, 0), 255);
    EXPECT_EQ(at(0, 0, 1), 255);
    EXPECT_EQ(at(10, 20, 0), 132);
    EXPECT_EQ(at(10, 20, 1), 130);
    EXPECT_EQ(at(10, 20, 2), 132);
    EXPECT_EQ(at(239, 319, 0), 8);
    EXPECT_EQ(at(239, 319, 1), 8);
    EXPECT_EQ(at(239, 319, 2), 8);
    EXPECT_EQ(at(1, 0, 0), 0);
}

}  // namespace
}  // namespace wince_test
