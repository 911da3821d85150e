#include "png_writer.h"

#include <png.h>

#include <cstdio>

namespace wince::headless {

bool WritePng(const std::filesystem::path &file, const std::vector<uint8_t> &rgb, int width,
              int height) {
    if (rgb.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 3) return false;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    int ok = png_image_write_to_file(&image, file.c_str(), 0, rgb.data(), 0, nullptr);
    png_image_free(&image);
    return ok != 0;
}

}  // namespace wince::headless
