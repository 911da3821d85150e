// The program's entry: its one window, the window procedure that records
// input, and the main loop that runs a frame whenever the queue is empty.
#include "app/app.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "movie/movie.h"
#include "platform/platform.h"

HWND MainWindowHandle = nullptr;

namespace {

const WCHAR kClassName[] = TEXT("pellax rim");
const WCHAR kWindowTitle[] = TEXT("PELLAX RIM");
constexpr WORD kIconId = 101;
constexpr int32_t kFrameIntervalMs = 25;

void RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconId));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);  // a failure shows up as a window that cannot be created
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    RegisterWindowClass(instance);
    MainWindowHandle =
        CreateWindowExW(0, kClassName, kWindowTitle, WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (MainWindowHandle == nullptr) return 0;
    StartUp(MainWindowHandle);
    // After a failed start-up the intro would draw into what Shutdown
    // released and swallow the quit message; the main loop takes it instead.
    if (!ShutdownDone) PlayIntroMovie();
    return MainLoop();
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            SaveHighScoreOnLeaving();
            Shutdown();
            PostQuitMessage(0);
            return 0;
        case WM_KEYDOWN:
        case WM_KEYUP:
            OnKeyMessage(message, wParam);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            OnStylusMessage(message, lParam);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

int MainLoop() {
    MSG message = {};
    for (;;) {
        if (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!GetMessageW(&message, nullptr, 0, 0)) return static_cast<int>(message.wParam);
            TranslateMessage(&message);
            DispatchMessageW(&message);
        } else if (FrameTimerElapsed(kFrameIntervalMs)) {
            RunFrame();
        }
    }
}
