// The least a Windows program can spend showing the game's screen: a
// window with a 240 x 320 picture drawn three times as large with
// StretchDIBits every 26 ms (38 frames a second, the game's pace), asleep in
// MsgWaitForMultipleObjects until the next frame is due and answering its
// messages meanwhile. tools/windows-bench.sh holds the game's own figures
// against this program's, measured in the same Wine session, so that what
// Wine and the X server cost any such program is not charged to the game.
// Esc or closing the window ends it.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr int kWidth = 240, kHeight = 320;
constexpr int kLargestScale = 3;
constexpr LONGLONG kFrameMs = 26;
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;

std::vector<uint32_t> picture(kWidth *kHeight);
int frames = 0;

// A picture that changes every frame, as the game's would: a band of light
// going down over a gradient.
void Paint() {
    const int band = frames % kHeight;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            picture[y * kWidth + x] =
                y == band ? 0xFFFFFFu : static_cast<uint32_t>(x << 16 | y / 2 << 8 | 0x40);
    ++frames;
}

void Draw(HWND window, HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    const int scale = std::max<int>(1, std::min(client.right / kWidth, client.bottom / kHeight));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    StretchDIBits(dc, 0, 0, kWidth * scale, kHeight * scale, 0, 0, kWidth, kHeight, picture.data(),
                  &info, DIB_RGB_COLORS, SRCCOPY);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            Draw(window, BeginPaint(window, &paint));
            EndPaint(window, &paint);
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

LONGLONG NowMs() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return now.QuadPart * 1000 / frequency.QuadPart;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = L"PellaxFloor";
    if (RegisterClassW(&windowClass) == 0) return 1;
    // Three times as large, or the largest whole factor whose window fits.
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT frame{};
    for (int scale = kLargestScale; scale >= 1; --scale) {
        frame = {0, 0, kWidth * scale, kHeight * scale};
        AdjustWindowRect(&frame, kStyle, FALSE);
        if (frame.right - frame.left <= work.right - work.left &&
            frame.bottom - frame.top <= work.bottom - work.top)
            break;
    }
    HWND window = CreateWindowW(L"PellaxFloor", L"PELLAX floor", kStyle, work.left, work.top,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    ShowWindow(window, SW_SHOW);

    LONGLONG next = NowMs();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        const LONGLONG now = NowMs();
        if (now < next) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(next - now),
                                      QS_ALLINPUT);
            continue;
        }
        Paint();
        HDC dc = GetDC(window);
        Draw(window, dc);
        ReleaseDC(window, dc);
        // A frame missed by more than one is given up rather than caught up.
        next = now - next >= kFrameMs ? now + kFrameMs : next + kFrameMs;
    }
}
