// The device's screen as every host sees it: its size, named once, and the
// picture in display memory read out as pixels a host can show or save.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "wince/seam/host.h"

namespace wince {

inline constexpr int kScreenWidth = 240;
inline constexpr int kScreenHeight = 320;
inline constexpr int kScreenPixels = kScreenWidth * kScreenHeight;
// The game copies its whole frames to display memory starting this many
// bytes before the top-left pixel.
inline constexpr int kBytesBeforeTopLeft = 640;

// The screen as RGB565 pixels, top row first.
using Screen = std::array<uint16_t, kScreenPixels>;

// Reads the picture's 240 x 320 pixels through its pitches. A 555 picture is
// widened to 565; a pixel whose cell would lie outside display memory reads
// as black.
void ReadScreen(const Picture &picture, Screen &out);

// RGB565 widened to 8 bits a channel, the low bits repeating the high ones
// (so white stays white), as 0x00RRGGBB.
uint32_t ToXrgb(uint16_t pixel);

// The screen as 8-bit RGB bytes, three a pixel, top row first.
std::vector<uint8_t> ToRgbBytes(const Screen &screen);

}  // namespace wince
