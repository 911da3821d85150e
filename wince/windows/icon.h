// The window's icon, from the program's own pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace wince::windows {

// An icon of size x size pixels, 0xAARRGGBB; null when there are none.
HICON MakeIcon(const std::vector<uint32_t> &argb, int size);

}  // namespace wince::windows
