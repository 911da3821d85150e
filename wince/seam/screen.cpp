#include "wince/seam/screen.h"

#include <cstring>

namespace wince {

namespace {

constexpr int64_t kPixelBytes = 2;

// Green gains its sixth bit by repeating its top one, as the 8-bit channels
// repeat theirs, so a full 555 channel stays full.
uint16_t Widen555(uint16_t pixel) {
    const uint16_t red = (pixel >> 10) & 0x1F;
    const uint16_t green = (pixel >> 5) & 0x1F;
    const uint16_t blue = pixel & 0x1F;
    const uint16_t green6 = static_cast<uint16_t>((green << 1) | (green >> 4));
    return static_cast<uint16_t>((red << 11) | (green6 << 5) | blue);
}

uint16_t ReadCell(const Picture &picture, int64_t offset) {
    const int64_t at = static_cast<int64_t>(picture.topLeft) + offset;
    if (at < 0 || at + kPixelBytes > static_cast<int64_t>(picture.memory.size())) return 0;
    uint16_t pixel;
    std::memcpy(&pixel, picture.memory.data() + at, sizeof pixel);
    return pixel;
}

}  // namespace

void ReadScreen(const Picture &picture, Screen &out) {
    const int64_t xPitch = picture.xPitch, yPitch = picture.yPitch;
    const bool plainRows = xPitch == kPixelBytes && yPitch == kScreenWidth * kPixelBytes;
    if (plainRows && picture.topLeft + sizeof out <= picture.memory.size()) {
        std::memcpy(out.data(), picture.memory.data() + picture.topLeft, sizeof out);
    } else {
        for (int y = 0; y < kScreenHeight; ++y) {
            for (int x = 0; x < kScreenWidth; ++x)
                out[y * kScreenWidth + x] = ReadCell(picture, x * xPitch + y * yPitch);
        }
    }
    if (picture.format == PixelFormat::Rgb555) {
        for (uint16_t &pixel : out) pixel = Widen555(pixel);
    }
}

uint32_t ToXrgb(uint16_t pixel) {
    const uint32_t red = (pixel >> 11) & 0x1F;
    const uint32_t green = (pixel >> 5) & 0x3F;
    const uint32_t blue = pixel & 0x1F;
    const uint32_t r = (red << 3) | (red >> 2);
    const uint32_t g = (green << 2) | (green >> 4);
    const uint32_t b = (blue << 3) | (blue >> 2);
    return (r << 16) | (g << 8) | b;
}

std::vector<uint8_t> ToRgbBytes(const Screen &screen) {
    std::vector<uint8_t> rgb;
    rgb.reserve(screen.size() * 3);
    for (uint16_t pixel : screen) {
        const uint32_t xrgb = ToXrgb(pixel);
        rgb.insert(rgb.end(), {static_cast<uint8_t>(xrgb >> 16), static_cast<uint8_t>(xrgb >> 8),
                               static_cast<uint8_t>(xrgb)});
    }
    return rgb;
}

}  // namespace wince
