// Writing 8-bit RGB pictures as PNG files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace wince::headless {

// rgb holds width x height pixels of three bytes, top row first.
bool WritePng(const std::filesystem::path &file, const std::vector<uint8_t> &rgb, int width,
              int height);

}  // namespace wince::headless
