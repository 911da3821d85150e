#include <windows.h>

#include <algorithm>
#include <ctime>
#include <deque>
#include <map>
#include <set>

#include "wince/player/overlay.h"
#include "wince/seam/device_codes.h"
#include "wince/seam/png.h"
#include "wince/seam/screen.h"
#include "wince/windows/pads.h"
#include "wince/windows/windows_host.h"

namespace wince::windows {

namespace {

using namespace device;

constexpr const wchar_t *kClassName = L"PELLAX RIM";
constexpr DWORD kWindowedStyle = WS_OVERLAPPEDWINDOW;
// The game sees only what is still down when a frame runs (one in 26 ms);
// a click or a key struck by a program may be shorter, so its release comes
// at least this long after its press.
constexpr int64_t kShortestPressMs = 60;
constexpr int64_t kPadPollMs = 8;
constexpr int64_t kNoticeMs = 2000;
// Paused, the program has nothing due: the system is asked this often.
constexpr DWORD kPausedWaitMs = 100;

std::wstring Wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

std::wstring Wide(const std::string &utf8) {
    return Wide(FromUtf8(utf8));
}

int64_t NowMs() {
    return static_cast<int64_t>(GetTickCount64());
}

int64_t Ticks() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// Shift, Ctrl, Alt and the like alone do not end a pause: Alt+Tab back to
// the window would.
bool IsModifier(int32_t key) {
    switch (key & 0xFF) {
        case VK_LSHIFT:
        case VK_RSHIFT:
        case VK_LCONTROL:
        case VK_RCONTROL:
        case VK_LMENU:
        case VK_RMENU:
        case VK_LWIN:
        case VK_RWIN:
        case VK_CAPITAL:
        case VK_NUMLOCK:
        case VK_SHIFT:
        case VK_CONTROL:
        case VK_MENU:
            return true;
        default:
            return false;
    }
}

// Where the screen lies in a client area: the largest whole factor that
// fits, centred, with bars around it.
struct Layout {
    int scale, x, y;
};

Layout LayoutIn(int width, int height) {
    const int scale = std::max(1, std::min(width / kScreenWidth, height / kScreenHeight));
    return {scale, (width - kScreenWidth * scale) / 2, (height - kScreenHeight * scale) / 2};
}

RECT WorkArea(HWND window) {
    const HMONITOR monitor = window != nullptr ? MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY)
                                               : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    return info.rcWork;
}

// The window's outer size for a client area of width x height.
SIZE FrameFor(int width, int height) {
    RECT rect{0, 0, width, height};
    AdjustWindowRectEx(&rect, kWindowedStyle, FALSE, 0);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// The largest whole factor whose window fits the work area, or the one
// asked for when it fits.
int ScaleFor(const RECT &work, int asked) {
    int scale = 1;
    for (int s = 2; s <= 16; ++s) {
        const SIZE frame = FrameFor(kScreenWidth * s, kScreenHeight * s);
        if (frame.cx > work.right - work.left || frame.cy > work.bottom - work.top) break;
        scale = s;
    }
    return asked > 0 ? std::min(asked, scale) : scale;
}

HICON MakeIcon(const std::vector<uint32_t> &argb, int size) {
    if (size <= 0 || argb.size() != static_cast<size_t>(size) * size) return nullptr;
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof header;
    header.bV5Width = size;
    header.bV5Height = -size;  // top row first
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_RGB;
    void *bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP color = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO *>(&header),
                                     DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (color == nullptr) return nullptr;
    std::copy(argb.begin(), argb.end(), static_cast<uint32_t *>(bits));  // BGRA in memory
    HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
    ICONINFO info{TRUE, 0, 0, mask, color};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(color);
    return icon;
}

}  // namespace

struct WindowsHost::Impl {
    WindowsSettings settings;
    HWND window = nullptr;
    HICON icon = nullptr;
    int64_t frequency = 1;
    Screen screen{};
    std::vector<uint32_t> frame = std::vector<uint32_t>(kScreenPixels, 0);
    bool fullScreen = false;
    int openedScale = 1;
    WINDOWPLACEMENT placement{};

    struct Pending {
        DeviceInput input;
        int64_t notBeforeMs;
    };
    std::deque<Pending> pending;
    std::map<uint8_t, int64_t> keyPressedMs;  // device key code: its last first key-down
    bool stylusDown = false;
    int64_t stylusDownMs = 0;
    bool closeAsked = false, closePosted = false;
    // The device's counter stands still while paused: ticks of the
    // performance counter, at the pause and spent in pauses before it.
    bool paused = false;
    int64_t pausedAtTicks = 0, pausedForTicks = 0;
    std::set<int32_t>
        swallowedKeys;  // presses that ended a pause: their releases are not the game's
    Pads pads;
    int64_t nextPadPollMs = 0;
    int64_t noticeUntilMs = 0;
    std::wstring notice;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void Queue(uint32_t message, uintptr_t wParam, intptr_t lParam, int64_t notBeforeMs = 0) {
        pending.push_back({{message, wParam, lParam}, notBeforeMs});
    }
    bool HostKey(int32_t key, bool alt);
    void Key(bool down, WPARAM wParam, LPARAM lParam);
    void Stylus(UINT message, LPARAM lParam);
    void Draw(HDC dc);
    void Show();
    void Pause();
    void Resume();
    void ShowTitle();
    int64_t DeviceTicks() const { return (paused ? pausedAtTicks : Ticks()) - pausedForTicks; }
    int64_t DeviceMs() const { return DeviceTicks() * 1000 / frequency; }
    void ToggleFullScreen();
    void SaveScreenshot();
    void Notice(const std::wstring &words);
    void DispatchWaiting();
};

LRESULT CALLBACK WindowsHost::Impl::Procedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto *create = reinterpret_cast<CREATESTRUCTW *>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto *impl = reinterpret_cast<Impl *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (impl == nullptr || impl->window == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    return impl->Handle(message, wParam, lParam);
}

LRESULT WindowsHost::Impl::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            closeAsked = true;  // the program is asked; it ends the window itself
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            Key(true, wParam, lParam);
            return 0;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            Key(false, wParam, lParam);
            return 0;
        case WM_SYSCHAR:
        case WM_CHAR:
            return 0;  // no beep for Alt+Enter
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_MOUSEMOVE:
            Stylus(message, lParam);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            Draw(dc);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // Draw paints the bars too
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED && settings.pauseWhenInactive) Pause();
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_ACTIVATE:
            // The program's own message box taking the focus is no leaving.
            if (LOWORD(wParam) == WA_INACTIVE && settings.pauseWhenInactive &&
                (lParam == 0 || GetWindowThreadProcessId(reinterpret_cast<HWND>(lParam), nullptr) !=
                                    GetCurrentThreadId()))
                Pause();
            break;
        case WM_GETMINMAXINFO: {
            auto *limits = reinterpret_cast<MINMAXINFO *>(lParam);
            const SIZE smallest = FrameFor(kScreenWidth, kScreenHeight);
            limits->ptMinTrackSize = {smallest.cx, smallest.cy};
            return 0;
        }
        case WM_SYSCOMMAND:
            // Alt alone would open the absent window menu and hold keys up.
            if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool WindowsHost::Impl::HostKey(int32_t key, bool alt) {
    if (key == VK_F11 || (alt && (key & 0xFF) == VK_RETURN))
        ToggleFullScreen();
    else if (key == VK_F12)
        SaveScreenshot();
    else if (key == VK_ESCAPE)
        closeAsked = true;
    else if (key == 'P' || key == VK_PAUSE)
        paused ? Resume() : Pause();
    else if (key == 'M') {
        settings.muted = !settings.muted;
        if (settings.muted) PlaySoundW(nullptr, nullptr, 0);
        Notice(settings.muted ? L"sound off" : L"sound on");
    } else
        return false;
    return true;
}

void WindowsHost::Impl::Key(bool down, WPARAM wParam, LPARAM lParam) {
    const int32_t key = KeyFromMessage(wParam, lParam);
    const bool alt = (lParam & (LPARAM{1} << 29)) != 0;
    const bool repeat = (lParam & (LPARAM{1} << 30)) != 0;
    if (down && !repeat && HostKey(key, alt)) return;
    const auto found = settings.keys.find(key);
    if (paused && down) {
        // A key held into the pause repeats; only a new press goes on, and
        // goes no further.
        if (!repeat && (!IsModifier(key) || found != settings.keys.end())) {
            swallowedKeys.insert(key);
            Resume();
        }
        return;
    }
    if (!down && swallowedKeys.erase(key) > 0) return;
    if (found == settings.keys.end()) {
        // F4 with Alt closes, as everywhere on Windows.
        if (down && alt && key == VK_F4) closeAsked = true;
        return;
    }
    const uint8_t code = found->second;
    const int64_t now = NowMs();
    if (down) {
        if (!repeat) keyPressedMs[code] = now;
        Queue(kKeyDownMessage, code, repeat ? kKeyRepeatDown : kKeyFirstDown);
    } else {
        Queue(kKeyUpMessage, code, kKeyGoingUp, keyPressedMs[code] + kShortestPressMs);
    }
}

void WindowsHost::Impl::Stylus(UINT message, LPARAM lParam) {
    RECT client;
    GetClientRect(window, &client);
    const Layout layout = LayoutIn(client.right, client.bottom);
    // In the picture's own pixels; a point on the bars is off the screen
    // (tested before dividing, which would round it onto the edge).
    const int inX = static_cast<int16_t>(LOWORD(lParam)) - layout.x;
    const int inY = static_cast<int16_t>(HIWORD(lParam)) - layout.y;
    const bool onScreen = inX >= 0 && inY >= 0 && inX < kScreenWidth * layout.scale &&
                          inY < kScreenHeight * layout.scale;
    const int x = inX / layout.scale, y = inY / layout.scale;
    const intptr_t point =
        StylusPoint(std::clamp(x, 0, kScreenWidth - 1), std::clamp(y, 0, kScreenHeight - 1));
    if (message == WM_LBUTTONDOWN && paused) {
        Resume();  // a press the game did not see has no lift either
    } else if (message == WM_LBUTTONDOWN && onScreen) {
        SetCapture(window);
        stylusDown = true;
        stylusDownMs = NowMs();
        Queue(kStylusDownMessage, kStylusHeld, point);
    } else if (message == WM_MOUSEMOVE && stylusDown) {
        Queue(kStylusMoveMessage, kStylusHeld, point);
    } else if (message == WM_LBUTTONUP && stylusDown) {
        ReleaseCapture();
        stylusDown = false;
        Queue(kStylusUpMessage, 0, point, stylusDownMs + kShortestPressMs);
    }
}

void WindowsHost::Impl::Draw(HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    const Layout layout = LayoutIn(client.right, client.bottom);
    const int width = kScreenWidth * layout.scale, height = kScreenHeight * layout.scale;
    // The bars: the four strips around the picture.
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const RECT bars[] = {{0, 0, client.right, layout.y},
                         {0, layout.y + height, client.right, client.bottom},
                         {0, layout.y, layout.x, layout.y + height},
                         {layout.x + width, layout.y, client.right, layout.y + height}};
    for (const RECT &bar : bars)
        if (bar.right > bar.left && bar.bottom > bar.top) FillRect(dc, &bar, black);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kScreenWidth;
    info.bmiHeader.biHeight = -kScreenHeight;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    StretchDIBits(dc, layout.x, layout.y, width, height, 0, 0, kScreenWidth, kScreenHeight,
                  frame.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

// The game's picture, or while paused a dimmed copy under "PAUSED".
void WindowsHost::Impl::Show() {
    const Screen &shown = paused ? desktop::PausedPicture(screen) : screen;
    std::transform(shown.begin(), shown.end(), frame.begin(), ToXrgb);
    InvalidateRect(window, nullptr, FALSE);
}

void WindowsHost::Impl::Pause() {
    if (paused) return;
    pausedAtTicks = Ticks();
    paused = true;
    PlaySoundW(nullptr, nullptr, 0);  // waveform sound cannot wait: it stops
    Show();
    ShowTitle();
}

void WindowsHost::Impl::Resume() {
    if (!paused) return;
    pausedForTicks += Ticks() - pausedAtTicks;
    paused = false;
    Show();
    ShowTitle();
}

// A notice while it lasts, else whether the game is paused.
void WindowsHost::Impl::ShowTitle() {
    std::wstring title = Wide(settings.title);
    if (noticeUntilMs != 0 && NowMs() < noticeUntilMs)
        title += L" - " + notice;
    else if (paused)
        title += L" - Paused, press a key";
    SetWindowTextW(window, title.c_str());
}

void WindowsHost::Impl::ToggleFullScreen() {
    fullScreen = !fullScreen;
    if (fullScreen) {
        // Borderless over the whole monitor, task bar included.
        placement.length = sizeof placement;
        GetWindowPlacement(window, &placement);
        MONITORINFO info{};
        info.cbSize = sizeof info;
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
        SetWindowLongPtrW(window, GWL_STYLE, WS_POPUP | WS_VISIBLE);
        const RECT &m = info.rcMonitor;
        SetWindowPos(window, HWND_TOP, m.left, m.top, m.right - m.left, m.bottom - m.top,
                     SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
    } else {
        SetWindowLongPtrW(window, GWL_STYLE, kWindowedStyle | WS_VISIBLE);
        SetWindowPlacement(window, &placement);
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER);
    }
    InvalidateRect(window, nullptr, FALSE);
}

void WindowsHost::Impl::SaveScreenshot() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t stamp[32];
    swprintf(stamp, 32, L"-%04u%02u%02u-%02u%02u%02u.png", now.wYear, now.wMonth, now.wDay,
             now.wHour, now.wMinute, now.wSecond);
    const std::filesystem::path file =
        settings.screenshotFolder / (Wide(settings.screenshotPrefix) + stamp);
    std::string error;
    if (WriteScreenPng(file, screen, error))
        Notice(L"saved " + file.filename().wstring());
    else
        Notice(L"the screenshot could not be saved");
}

void WindowsHost::Impl::Notice(const std::wstring &words) {
    notice = words;
    noticeUntilMs = NowMs() + kNoticeMs;
    ShowTitle();
}

// Window messages are handled as they come; the input they make waits in
// pending for the program's next look at its queue.
void WindowsHost::Impl::DispatchWaiting() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

WindowsHost::WindowsHost(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

WindowsHost::~WindowsHost() {
    PlaySoundW(nullptr, nullptr, 0);
    if (impl_->window != nullptr) DestroyWindow(impl_->window);
    if (impl_->icon != nullptr) DestroyIcon(impl_->icon);
    timeEndPeriod(1);
}

std::unique_ptr<WindowsHost> WindowsHost::Open(const WindowsSettings &settings,
                                               std::string &error) {
    // Whole pixels: the system must not stretch the window behind our back.
    SetProcessDPIAware();
    auto impl = std::make_unique<Impl>();
    impl->settings = settings;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    impl->frequency = frequency.QuadPart;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    impl->icon = MakeIcon(settings.iconArgb, settings.iconSize);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Impl::Procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = impl->icon;
    windowClass.hIconSm = impl->icon;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = kClassName;
    if (RegisterClassExW(&windowClass) == 0) {
        error = "the window class cannot be registered";
        return nullptr;
    }
    const RECT work = WorkArea(nullptr);
    const int scale = ScaleFor(work, settings.scale);
    const SIZE frame = FrameFor(kScreenWidth * scale, kScreenHeight * scale);
    const int x = work.left + std::max(0L, (work.right - work.left - frame.cx) / 2);
    const int y = work.top + std::max(0L, (work.bottom - work.top - frame.cy) / 2);
    HWND window = CreateWindowExW(0, kClassName, Wide(settings.title).c_str(), kWindowedStyle, x, y,
                                  frame.cx, frame.cy, nullptr, nullptr, instance, impl.get());
    if (window == nullptr) {
        error = "the window cannot be made";
        UnregisterClassW(kClassName, instance);
        return nullptr;
    }
    impl->window = window;
    impl->openedScale = scale;
    timeBeginPeriod(1);  // waits of one millisecond, not one tick
    // The program's own volume in the system's mixer, both channels.
    const DWORD volume = static_cast<DWORD>(std::clamp(settings.volume, 0, 100) * 0xFFFF / 100);
    waveOutSetVolume(nullptr, volume | volume << 16);
    ShowWindow(window, SW_SHOW);
    if (settings.fullScreen) impl->ToggleFullScreen();
    UpdateWindow(window);
    return std::unique_ptr<WindowsHost>(new WindowsHost(std::move(impl)));
}

void WindowsHost::Present(const Picture &picture) {
    ReadScreen(picture, impl_->screen);
    const Screen &shown = impl_->paused ? desktop::PausedPicture(impl_->screen) : impl_->screen;
    std::transform(shown.begin(), shown.end(), impl_->frame.begin(), ToXrgb);
    HDC dc = GetDC(impl_->window);
    impl_->Draw(dc);
    ReleaseDC(impl_->window, dc);
}

void WindowsHost::PumpInput() {
    impl_->DispatchWaiting();
    const int64_t now = NowMs();
    // Paused, nothing reaches the game: input waits, pads are not asked.
    if (impl_->paused) {
    } else if (now >= impl_->nextPadPollMs) {
        std::vector<DeviceInput> pad;
        impl_->pads.Poll(now, pad);
        for (const DeviceInput &input : pad) impl_->pending.push_back({input, 0});
        impl_->nextPadPollMs = now + kPadPollMs;
    }
    // In order: a release held back for its press holds back what follows.
    // Input waits for the program's window too, so that a key struck while
    // it starts still ends the intro.
    while (!impl_->paused && HasMainWindow() && !impl_->pending.empty() &&
           impl_->pending.front().notBeforeMs <= now) {
        PostDeviceInput(impl_->pending.front().input);
        impl_->pending.pop_front();
    }
    if (impl_->noticeUntilMs != 0 && now >= impl_->noticeUntilMs) {
        impl_->noticeUntilMs = 0;
        impl_->ShowTitle();
    }
    if (impl_->closeAsked && !impl_->closePosted && HasMainWindow()) {
        impl_->closePosted = true;
        CloseMainWindow();
    }
}

void WindowsHost::Idle() {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, impl_->paused ? kPausedWaitMs : 1, QS_ALLINPUT);
}

int64_t WindowsHost::CounterNow() {
    return impl_->DeviceTicks();
}

int64_t WindowsHost::CounterFrequency() {
    return impl_->frequency;
}

void WindowsHost::Sleep(uint32_t milliseconds) {
    // The window answers meanwhile, but its input waits; a close ends the
    // sleep at once, and a pause stretches it (the device's time stands).
    const int64_t end = impl_->DeviceMs() + milliseconds;
    for (int64_t now = impl_->DeviceMs(); now < end && !impl_->closeAsked;
         now = impl_->DeviceMs()) {
        const DWORD wait = impl_->paused ? kPausedWaitMs : static_cast<DWORD>(end - now);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
        impl_->DispatchWaiting();
    }
}

bool WindowsHost::PlayWave(const std::filesystem::path *waveFile) {
    if (waveFile == nullptr || impl_->settings.muted) {
        PlaySoundW(nullptr, nullptr, 0);
        return true;
    }
    // Asynchronous: a new sound cuts off the one playing.
    return PlaySoundW(waveFile->c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT) !=
           FALSE;
}

void WindowsHost::ShowMessage(const MessageRequest &message) {
    MessageBoxW(message.owned ? impl_->window : nullptr, Wide(message.text).c_str(),
                Wide(message.caption).c_str(), MB_OK | (message.error ? MB_ICONERROR : 0));
}

WindowsSettings WindowsHost::Current() const {
    WindowsSettings now = impl_->settings;
    now.fullScreen = impl_->fullScreen;
    if (!impl_->fullScreen && !IsIconic(impl_->window)) {
        RECT client;
        GetClientRect(impl_->window, &client);
        const int shown = LayoutIn(client.right, client.bottom).scale;
        if (shown != impl_->openedScale) now.scale = shown;
    }
    return now;
}

}  // namespace wince::windows
