// Writing pictures as PNG files, 8 bits a channel (through zlib alone).
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "wince/seam/screen.h"

namespace wince {

// False, with the reason in error, when the file cannot be written.
bool WriteScreenPng(const std::filesystem::path &file, const Screen &screen, std::string &error);
// From 0xAARRGGBB values, width x height of them, top row first.
bool WriteArgbPng(const std::filesystem::path &file, std::span<const uint32_t> pixels, int width,
                  int height, std::string &error);
// The same PNG as bytes; empty when the size does not match the pixels.
std::vector<uint8_t> EncodeArgbPng(std::span<const uint32_t> pixels, int width, int height);

}  // namespace wince
