#include "wince/desktop/picture.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace wince::desktop {

namespace {

constexpr int64_t kPixelBytes = 2;
constexpr int64_t kWindowBytes = kScreenPixels * kPixelBytes;
constexpr int64_t kBytesBeforeTopLeft = 640;
// The stand-in keeps a guard the size of the window on either side of the
// display memory, so any pitch of a 240 x 320 screen stays inside it.
constexpr int64_t kFirstReadable = -kBytesBeforeTopLeft - kWindowBytes;
constexpr int64_t kEndReadable = 2 * kWindowBytes - kBytesBeforeTopLeft;
constexpr int64_t kRowBytes = kScreenWidth * kPixelBytes;

uint16_t Widen555(uint16_t pixel) {
    const uint16_t red = (pixel >> 10) & 0x1F;
    const uint16_t green = (pixel >> 5) & 0x1F;
    const uint16_t blue = pixel & 0x1F;
    const uint16_t green6 = static_cast<uint16_t>((green << 1) | (green >> 4));
    return static_cast<uint16_t>((red << 11) | (green6 << 5) | blue);
}

uint16_t ReadCell(const uint8_t *topLeft, int64_t offset) {
    if (offset < kFirstReadable || offset + kPixelBytes > kEndReadable) return 0;
    uint16_t pixel;
    std::memcpy(&pixel, topLeft + offset, sizeof pixel);
    return pixel;
}

struct FileCloser {
    void operator()(FILE *file) const { std::fclose(file); }
};

}  // namespace

void ReadPicture(const Picture &picture, ScreenPixels out) {
    const GXDisplayProperties &p = picture.properties;
    const int64_t xPitch = p.cbxPitch, yPitch = p.cbyPitch;
    if (xPitch == kPixelBytes && yPitch == kRowBytes) {
        std::memcpy(out.data(), picture.topLeft, out.size_bytes());
    } else {
        for (int y = 0; y < kScreenHeight; ++y) {
            for (int x = 0; x < kScreenWidth; ++x)
                out[y * kScreenWidth + x] = ReadCell(picture.topLeft, x * xPitch + y * yPitch);
        }
    }
    if ((p.ffFormat & kfDirect565) == 0 && (p.ffFormat & kfDirect555) != 0) {
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

namespace {

// rows holds height rows of width * channels bytes.
bool WritePng(const std::filesystem::path &file, const std::vector<uint8_t> &rows, int width,
              int height, bool alpha, std::string &error) {
    std::unique_ptr<FILE, FileCloser> out(std::fopen(file.c_str(), "wb"));
    if (!out) {
        error = "cannot create " + file.string();
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        error = "cannot write " + file.string();
        return false;
    }
    png_init_io(png, out.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const size_t stride = static_cast<size_t>(width) * (alpha ? 4 : 3);
    for (int y = 0; y < height; ++y) png_write_row(png, rows.data() + y * stride);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fflush(out.get()) == 0 && !std::ferror(out.get())) return true;
    error = "cannot write " + file.string();
    return false;
}

}  // namespace

bool WriteScreenPng(const std::filesystem::path &file, ConstScreenPixels pixels,
                    std::string &error) {
    std::vector<uint8_t> rows;
    rows.reserve(pixels.size() * 3);
    for (uint16_t pixel : pixels) {
        const uint32_t rgb = ToXrgb(pixel);
        rows.insert(rows.end(), {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                                 static_cast<uint8_t>(rgb)});
    }
    return WritePng(file, rows, kScreenWidth, kScreenHeight, false, error);
}

bool WriteArgbPng(const std::filesystem::path &file, std::span<const uint32_t> pixels, int width,
                  int height, std::string &error) {
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * height) {
        error = "the picture's size does not match its pixels";
        return false;
    }
    std::vector<uint8_t> rows;
    rows.reserve(pixels.size() * 4);
    for (uint32_t argb : pixels) {
        rows.insert(rows.end(), {static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8),
                                 static_cast<uint8_t>(argb), static_cast<uint8_t>(argb >> 24)});
    }
    return WritePng(file, rows, width, height, true, error);
}

}  // namespace wince::desktop
