#include "wince/windows/frame.h"

#include "wince/player/layout.h"

namespace wince::windows {

RECT WorkArea(HWND window) {
    const HMONITOR monitor = window != nullptr ? MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY)
                                               : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    return info.rcWork;
}

SIZE FrameFor(int width, int height) {
    RECT rect{0, 0, width, height};
    AdjustWindowRectEx(&rect, kWindowedStyle, FALSE, 0);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

int ScaleFor(const RECT &work, int asked) {
    const SIZE frame = FrameFor(0, 0);
    return player::OpeningScale(work.right - work.left - frame.cx,
                                work.bottom - work.top - frame.cy, asked);
}

}  // namespace wince::windows
