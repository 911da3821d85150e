// Display memory read through the display's layout, however its pitches run.
#include <vector>

#include "gtest/gtest.h"
#include "wince/seam/screen.h"

namespace wince {
namespace {

constexpr long kWindowBytes = kScreenPixels * 2;

// The display memory as the stand-in keeps it, the window with a guard of its
// own size on either side, read with the top-left pixel 640 bytes in.
struct Case {
    const char *name;
    long xPitch, yPitch;
    PixelFormat format;
    std::vector<std::pair<long, uint16_t>> put;  // byte offset from the top-left, value
    std::vector<std::pair<int, uint16_t>> seen;  // pixel index, value
};

TEST(ReadPicture, ThroughThePitchesAndNeverPastTheGuard) {
    constexpr PixelFormat k565 = PixelFormat::Rgb565, k555 = PixelFormat::Rgb555;
    const Case cases[] = {
        {"portrait",
         2,
         480,
         k565,
         {{478, 0xF800}, {480 * 319 + 478, 0x07E0}},
         {{239, 0xF800}, {kScreenPixels - 1, 0x07E0}, {0, 0}}},
        // x steps 640 bytes, y steps back 2: pixels before and past the window
        {"on its side",
         640,
         -2,
         k565,
         {{-638, 0x2222}, {239 * 640, 0x3333}, {239 * 640 - 638, 0x4444}},
         {{319 * kScreenWidth, 0x2222}, {239, 0x3333}, {kScreenPixels - 1, 0x4444}}},
        // row 2 and below lie past the memory: black, not read
        {"past the guard",
         2,
         kWindowBytes,
         k565,
         {{0, 0xFFFF}, {kWindowBytes, 0xFFFF}},
         {{0, 0xFFFF}, {kScreenWidth, 0xFFFF}, {2 * kScreenWidth, 0}, {kScreenPixels - 1, 0}}},
        {"555 widened",
         2,
         480,
         k555,
         {{0, 0x7FFF}, {2, 0x03E0}, {4, 0x0421}},
         {{0, 0xFFFF}, {1, 0x07E0}, {2, 0x0841}}},
    };
    for (const Case &c : cases) {
        std::vector<uint8_t> memory(3 * kWindowBytes, 0);
        const size_t start = kWindowBytes + 640;
        uint8_t *topLeft = memory.data() + start;
        for (const auto &[offset, value] : c.put) {
            topLeft[offset] = static_cast<uint8_t>(value);
            topLeft[offset + 1] = static_cast<uint8_t>(value >> 8);
        }
        Screen out;
        out.fill(0xAAAA);
        ReadScreen({memory, start, int32_t(c.xPitch), int32_t(c.yPitch), c.format}, out);
        for (const auto &[index, value] : c.seen)
            EXPECT_EQ(out[index], value) << c.name << " " << index;
    }
}

}  // namespace
}  // namespace wince
