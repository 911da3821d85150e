// A finished picture from display memory, turned into pixels the desktop
// can show and save.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "wince/desktop/viewport.h"
#include "wince/host.h"

namespace wince::desktop {

// The screen as RGB565 pixels, top row first.
using ScreenPixels = std::span<uint16_t, kScreenPixels>;
using ConstScreenPixels = std::span<const uint16_t, kScreenPixels>;

// Reads the picture's 240 x 320 pixels through its pitches. A display whose
// format says 555 is widened to 565; a pixel whose cell would lie beyond the
// display memory and its guard room reads as black.
void ReadPicture(const Picture &picture, ScreenPixels out);

// RGB565 widened to 8 bits a channel, the low bits repeating the high ones
// (so white stays white), as 0x00RRGGBB.
uint32_t ToXrgb(uint16_t pixel);

// Writes a PNG, 8 bits a channel: RGB from the screen's pixels, or RGBA from
// 0xAARRGGBB values.
bool WriteScreenPng(const std::filesystem::path &file, ConstScreenPixels pixels,
                    std::string &error);
bool WriteArgbPng(const std::filesystem::path &file, std::span<const uint32_t> pixels, int width,
                  int height, std::string &error);

}  // namespace wince::desktop
