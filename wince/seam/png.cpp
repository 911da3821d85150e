#include "wince/seam/png.h"

#include <png.h>

#include <vector>

namespace wince {

namespace {

// rows holds height rows of width pixels, three bytes (RGB) or four (RGBA).
bool WritePng(const std::filesystem::path &file, const std::vector<uint8_t> &rows, int width,
              int height, bool alpha, std::string &error) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    const int ok =
        png_image_write_to_file(&image, file.string().c_str(), 0, rows.data(), 0, nullptr);
    if (ok == 0) error = "cannot write " + file.string() + " (" + image.message + ")";
    png_image_free(&image);
    return ok != 0;
}

}  // namespace

bool WriteScreenPng(const std::filesystem::path &file, const Screen &screen, std::string &error) {
    return WritePng(file, ToRgbBytes(screen), kScreenWidth, kScreenHeight, false, error);
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

}  // namespace wince
