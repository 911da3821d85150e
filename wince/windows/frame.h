// The window's frame around the picture: its size for a client area, the
// desktop's work area and the scale a window opens at.
#pragma once

#include <windows.h>

namespace wince::windows {

inline constexpr DWORD kWindowedStyle = WS_OVERLAPPEDWINDOW;

RECT WorkArea(HWND window);
// The window's outer size for a client area of width x height.
SIZE FrameFor(int width, int height);
// The largest whole factor whose window fits the work area, or the one
// asked for when it fits.
int ScaleFor(const RECT &work, int asked);

}  // namespace wince::windows
