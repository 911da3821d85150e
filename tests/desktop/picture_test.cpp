// Display memory read through the display's layout, and the colours and the
// PNG that come out of it.
#include "wince/desktop/picture.h"

#include <png.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "gtest/gtest.h"

namespace wince::desktop {
namespace {

constexpr long kWindowBytes = kScreenPixels * 2;
constexpr long kBeforeTopLeft = 640;

// Display memory as the stand-in keeps it: the window with a guard of its
// own size on either side.
struct Memory {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(3 * kWindowBytes, 0);
    uint8_t *TopLeft() { return bytes.data() + kWindowBytes + kBeforeTopLeft; }
    void Put(long offset, uint16_t value) {
        TopLeft()[offset] = static_cast<uint8_t>(value);
        TopLeft()[offset + 1] = static_cast<uint8_t>(value >> 8);
    }
};

GXDisplayProperties Display(long xPitch, long yPitch, DWORD format = kfDirect | kfDirect565) {
    return {kScreenWidth, kScreenHeight, xPitch, yPitch, 16, format};
}

std::vector<uint16_t> Read(Memory &memory, const GXDisplayProperties &display) {
    std::vector<uint16_t> out(kScreenPixels, 0xAAAA);
    ReadPicture({memory.TopLeft(), display}, ScreenPixels(out.data(), kScreenPixels));
    return out;
}

TEST(ReadPicture, PixelsAreFoundThroughThePitches) {
    Memory portrait;
    portrait.Put(2 * 239, 0xF800);              // (239, 0)
    portrait.Put(480 * 319 + 2 * 239, 0x07E0);  // (239, 319), in the guard after the window
    const auto rows = Read(portrait, Display(2, 480));
    EXPECT_EQ(rows[239], 0xF800);
    EXPECT_EQ(rows[kScreenPixels - 1], 0x07E0);
    EXPECT_EQ(rows[0], 0);

    // Turned on its side: x steps 640 bytes, y steps back 2.
    Memory rotated;
    rotated.Put(-2 * 319, 0x2222);             // (0, 319): before the top-left pixel
    rotated.Put(239 * 640, 0x3333);            // (239, 0): past the window
    rotated.Put(239 * 640 - 2 * 319, 0x4444);  // (239, 319)
    const auto turned = Read(rotated, Display(640, -2));
    EXPECT_EQ(turned[319 * kScreenWidth], 0x2222);
    EXPECT_EQ(turned[239], 0x3333);
    EXPECT_EQ(turned[kScreenPixels - 1], 0x4444);
}

TEST(ReadPicture, PitchesReachingPastTheGuardReadBlack) {
    Memory memory;
    std::fill(memory.bytes.begin(), memory.bytes.end(), 0xFF);
    // A row pitch of a whole window puts row 2 and below past the memory.
    const auto out = Read(memory, Display(2, kWindowBytes));
    EXPECT_EQ(out[kScreenWidth], 0xFFFF);
    EXPECT_EQ(out[2 * kScreenWidth], 0);
    EXPECT_EQ(out[kScreenPixels - 1], 0);
}

TEST(ReadPicture, FiveFiveFiveIsWidenedToFiveSixFive) {
    Memory memory;
    memory.Put(0, 0x7FFF);  // white
    memory.Put(2, 0x03E0);  // full green
    memory.Put(4, 0x0421);  // the lowest bit of each colour
    const auto out = Read(memory, Display(2, 480, kfDirect | kfDirect555));
    EXPECT_EQ(out[0], 0xFFFF);
    EXPECT_EQ(out[1], 0x07E0);
    EXPECT_EQ(out[2], 0x0841);
}

TEST(Colours, FullChannelsStayFullAndBlackStaysBlack) {
    EXPECT_EQ(ToXrgb(0xFFFF), 0xFFFFFFu);
    EXPECT_EQ(ToXrgb(0x0000), 0x000000u);
    EXPECT_EQ(ToXrgb(0xF800), 0xFF0000u);
    EXPECT_EQ(ToXrgb(0x07E0), 0x00FF00u);
    EXPECT_EQ(ToXrgb(0x001F), 0x0000FFu);
    EXPECT_EQ(ToXrgb(0x0841), 0x080808u);  // the lowest step of each channel
}

TEST(Png, ScreenshotHoldsTheScreenAtEightBitsAChannel) {
    std::vector<uint16_t> pixels(kScreenPixels, 0x001F);
    pixels[kScreenWidth + 2] = 0xF800;
    const auto file = std::filesystem::temp_directory_path() /
                      ("pellax-picture-test-" + std::to_string(getpid()) + ".png");
    std::string error;
    ASSERT_TRUE(WriteScreenPng(file, ConstScreenPixels(pixels.data(), kScreenPixels), error));
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, file.c_str()));
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    EXPECT_EQ(image.width, static_cast<png_uint_32>(kScreenWidth));
    EXPECT_EQ(image.height, static_cast<png_uint_32>(kScreenHeight));
    const size_t red = (kScreenWidth + 2) * 3;
    EXPECT_EQ(rgb[red], 255);
    EXPECT_EQ(rgb[red + 2], 0);
    EXPECT_EQ(rgb[2], 255);
    std::filesystem::remove(file);
    EXPECT_FALSE(WriteScreenPng("/nonexistent/folder/shot.png",
                                ConstScreenPixels(pixels.data(), kScreenPixels), error));
}

}  // namespace
}  // namespace wince::desktop
