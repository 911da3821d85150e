// Display memory read through the display's pitches and format, and the
// screen as the headless host writes it out.
#include <png.h>

#include <array>
#include <cstring>
#include <vector>

#include "wince_fixture.h"

namespace wince_test {
namespace {

class Display : public WinceTest {
protected:
    // Opens the display and draws one 16-bit value per pixel through its pitches.
    void Draw(const std::vector<std::array<int, 3>> &pixels) {
        ASSERT_NE(GXOpenDisplay(nullptr, GX_FULLSCREEN), 0);
        auto *topLeft = static_cast<uint8_t *>(GXBeginDraw());
        const GXDisplayProperties p = GXGetDisplayProperties();
        for (auto [x, y, value] : pixels) {
            const auto v = static_cast<uint16_t>(value);
            std::memcpy(topLeft + x * p.cbxPitch + y * p.cbyPitch, &v, sizeof v);
        }
        EXPECT_EQ(GXEndDraw(), 1);
    }
    uint16_t ScreenAt(int x, int y) { return host_.Screen()[y * 240 + x]; }
};

TEST_F(Display, OpensUnlessMadeToFailAndGivesMemoryOnlyWhileOpen) {
    EXPECT_EQ(GXBeginDraw(), nullptr);
    wince::SetDeviceFaults({true, true});
    EXPECT_EQ(GXOpenDisplay(nullptr, GX_FULLSCREEN), 0);
    EXPECT_EQ(GXOpenInput(), 0);
    wince::SetDeviceFaults({});
    EXPECT_NE(GXOpenDisplay(nullptr, GX_FULLSCREEN), 0);
    EXPECT_NE(GXOpenInput(), 0);
    // The game copies 153600 bytes to 640 bytes before the top-left pixel.
    auto *frame = static_cast<uint8_t *>(GXBeginDraw());
    EXPECT_EQ(frame, wince::DisplayTopLeft());
    std::memset(frame - 640, 0x5A, 153600);
    EXPECT_EQ(GXEndDraw(), 1);
    EXPECT_EQ(ScreenAt(0, 0), 0x5A5A);
    EXPECT_EQ(ScreenAt(239, 317), 0x5A5A);
    EXPECT_NE(GXCloseDisplay(), 0);
    EXPECT_EQ(GXBeginDraw(), nullptr);
}

TEST_F(Display, PicturesAreReadThroughTheirPitchesAndFormat) {
    EXPECT_EQ(ScreenAt(0, 0), 0) << "black before the first picture";
    wince::SetDisplayProperties({240, 320, 640, -2, 16, kfDirect | kfDirect565});
    Draw({{0, 0, 0xF800}, {239, 0, 0x07E0}, {0, 319, 0x001F}});
    EXPECT_EQ(ScreenAt(0, 0), 0xF800);
    EXPECT_EQ(ScreenAt(239, 0), 0x07E0);
    EXPECT_EQ(ScreenAt(0, 319), 0x001F);
    // A 555 display: full green becomes full 6-bit green; green 16 of 31, 32 of 63.
    wince::SetDisplayProperties({240, 320, 2, 480, 16, kfDirect | kfDirect555});
    Draw({{5, 5, 0x7FFF}, {6, 5, 0x03E0}, {7, 5, 0x0200}});
    EXPECT_EQ(ScreenAt(5, 5), 0xFFFF);
    EXPECT_EQ(ScreenAt(6, 5), 0x07E0);
    EXPECT_EQ(ScreenAt(7, 5), 0x0420);
}

TEST_F(Display, TheScreenPngWidensEachChannel) {
    Draw({{0, 0, 0xFFFF}, {10, 20, 0x8410}, {239, 319, 0x0841}});  // R G B 16 32 16, 1 2 1
    ASSERT_TRUE(host_.WriteScreenPng(root_ / "screen.png"));
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, (root_ / "screen.png").c_str()));
    EXPECT_TRUE(image.width == 240 && image.height == 320 && image.format == PNG_FORMAT_RGB);
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    const auto at = [&](int x, int y) {
        const uint8_t *p = &rgb[(y * 240 + x) * 3];
        return std::vector<int>{p[0], p[1], p[2]};
    };
    EXPECT_EQ(at(0, 0), (std::vector<int>{255, 255, 255}));
    EXPECT_EQ(at(10, 20), (std::vector<int>{132, 130, 132}));
    EXPECT_EQ(at(239, 319), (std::vector<int>{8, 8, 8}));
    EXPECT_EQ(at(1, 0), (std::vector<int>{0, 0, 0}));
}

}  // namespace
}  // namespace wince_test
