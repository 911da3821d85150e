#include "wince/windows/host.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <vector>

#include "wince/windows/frame.h"
#include "wince/windows/icon.h"
#include "wince/windows/keys.h"
#include "wince/windows/pads.h"

namespace wince::windows {

namespace {

using player::Pointer;

constexpr const wchar_t *kClassName = L"PELLAX RIM";
constexpr int64_t kUsPerMs = 1000;
// The system's timer ticks every 15.6 ms unless asked for 1 ms, which costs
// power: it is asked for only while a frame is due this soon.
constexpr int64_t kFrameSoonUs = 40'000;
// While a pad is connected waits are this short, so that it is read.
constexpr int64_t kPadSliceUs = 8'000;

std::wstring Wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

std::wstring Wide(const std::string &utf8) {
    return Wide(FromUtf8(utf8));
}

class WindowsPlatform final : public player::Platform {
public:
    WindowsPlatform() {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        frequency_ = frequency.QuadPart;
    }
    ~WindowsPlatform() override;
    WindowsPlatform(const WindowsPlatform &) = delete;
    WindowsPlatform &operator=(const WindowsPlatform &) = delete;
    bool Open(const player::Settings &settings, std::string &error);

    int64_t NowUs() override {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return now.QuadPart / frequency_ * 1'000'000 +
               now.QuadPart % frequency_ * 1'000'000 / frequency_;
    }
    void Poll(player::Player &player) override;
    void Wait(int64_t untilUs) override;
    void Show(const Screen &pixels, const player::ScreenRect &where) override;
    void SetTitle(const std::string &title) override {
        SetWindowTextW(window_, Wide(title).c_str());
    }
    void SetFullScreen(bool full) override;
    void Play(const std::shared_ptr<const player::Wave> &wave) override;
    void SetSound(int volume, bool paused) override;
    void ShowMessage(const MessageRequest &message) override {
        MessageBoxW(message.owned ? window_ : nullptr, Wide(message.text).c_str(),
                    Wide(message.caption).c_str(), MB_OK | (message.error ? MB_ICONERROR : 0));
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Resized();
    void Draw(HDC dc);
    void FineTimer(bool fine);

    HWND window_ = nullptr;
    HICON icon_ = nullptr;
    int64_t frequency_ = 1;
    player::Player *player_ = nullptr;  // from the first look at the queue on
    bool closeAsked_ = false, measured_ = false, fineTimer_ = false, padsConnected_ = false;
    std::vector<uint32_t> frame_ = std::vector<uint32_t>(kScreenPixels, 0);
    player::ScreenRect rect_;
    WINDOWPLACEMENT placement_{};
    Pads pads_;
    // Each wave as a file in memory, for as long as the player keeps it.
    std::map<std::shared_ptr<const player::Wave>, std::vector<uint8_t>> files_;
};

LRESULT CALLBACK WindowsPlatform::Procedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto *create = reinterpret_cast<CREATESTRUCTW *>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto *self = reinterpret_cast<WindowsPlatform *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->window_ == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

// Window messages come while the program looks at its queue, sleeps or shows
// a message box; the player hears of them from its first look on.
LRESULT WindowsPlatform::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    player::Player *player = player_;
    switch (message) {
        case WM_CLOSE:
            closeAsked_ = true;  // the program is asked; it ends the window itself
            if (player != nullptr) player->OnClose();
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYUP:
            if (player != nullptr)
                player->OnKey(KeyNameFromMessage(wParam, lParam),
                              message == WM_KEYDOWN || message == WM_SYSKEYDOWN,
                              (lParam & (LPARAM{1} << 30)) != 0, (lParam & (LPARAM{1} << 29)) != 0);
            return 0;
        case WM_SYSCHAR:
        case WM_CHAR:
            return 0;  // no beep for Alt+Enter
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_MOUSEMOVE:
            if (message == WM_LBUTTONDOWN) SetCapture(window_);
            if (message == WM_LBUTTONUP) ReleaseCapture();
            if (player != nullptr)
                player->OnPointer(message == WM_LBUTTONDOWN ? Pointer::Down
                                  : message == WM_LBUTTONUP ? Pointer::Up
                                                            : Pointer::Move,
                                  static_cast<int16_t>(LOWORD(lParam)),
                                  static_cast<int16_t>(HIWORD(lParam)));
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window_, &paint);
            Draw(dc);
            EndPaint(window_, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // Draw paints the bars too
        case WM_SIZE:
            if (player != nullptr) player->OnMinimised(wParam == SIZE_MINIMIZED);
            if (wParam != SIZE_MINIMIZED) Resized();
            return 0;
        case WM_ACTIVATE:
            // The program's own message box taking the focus is no leaving.
            if (LOWORD(wParam) == WA_INACTIVE && player != nullptr &&
                (lParam == 0 || GetWindowThreadProcessId(reinterpret_cast<HWND>(lParam), nullptr) !=
                                    GetCurrentThreadId()))
                player->OnFocus(false);
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
    return DefWindowProcW(window_, message, wParam, lParam);
}

void WindowsPlatform::Resized() {
    RECT client;
    GetClientRect(window_, &client);
    if (player_ == nullptr) return;
    player_->OnResize(client.right, client.bottom);
    measured_ = true;
}

void WindowsPlatform::Poll(player::Player &player) {
    if (player_ == nullptr && closeAsked_) player.OnClose();
    player_ = &player;
    if (!measured_) Resized();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    padsConnected_ = pads_.Poll(static_cast<int64_t>(GetTickCount64()), player);
}

// Waits for input or the deadline; the system's timer is made fine only
// while a frame is due soon, never while paused or minimised.
void WindowsPlatform::Wait(int64_t untilUs) {
    int64_t left = untilUs - NowUs();
    if (left <= 0) return;
    if (padsConnected_) left = std::min(left, kPadSliceUs);
    FineTimer(left <= kFrameSoonUs);
    const auto timeout = static_cast<DWORD>((left + kUsPerMs - 1) / kUsPerMs);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, timeout, QS_ALLINPUT);
}

void WindowsPlatform::FineTimer(bool fine) {
    if (fine == fineTimer_) return;
    fineTimer_ = fine;
    if (fine)
        timeBeginPeriod(1);
    else
        timeEndPeriod(1);
}

void WindowsPlatform::Show(const Screen &pixels, const player::ScreenRect &where) {
    std::transform(pixels.begin(), pixels.end(), frame_.begin(), ToXrgb);
    rect_ = where;
    HDC dc = GetDC(window_);
    Draw(dc);
    ReleaseDC(window_, dc);
}

void WindowsPlatform::Draw(HDC dc) {
    RECT client;
    GetClientRect(window_, &client);
    const player::ScreenRect &r = rect_;
    // The bars: the four strips around the picture.
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const RECT bars[] = {{0, 0, client.right, r.y},
                         {0, r.y + r.h, client.right, client.bottom},
                         {0, r.y, r.x, r.y + r.h},
                         {r.x + r.w, r.y, client.right, r.y + r.h}};
    for (const RECT &bar : bars)
        if (bar.right > bar.left && bar.bottom > bar.top) FillRect(dc, &bar, black);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kScreenWidth;
    info.bmiHeader.biHeight = -kScreenHeight;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    StretchDIBits(dc, r.x, r.y, r.w, r.h, 0, 0, kScreenWidth, kScreenHeight, frame_.data(), &info,
                  DIB_RGB_COLORS, SRCCOPY);
}

// Borderless over the whole monitor, task bar included, and back.
void WindowsPlatform::SetFullScreen(bool full) {
    if (full) {
        placement_.length = sizeof placement_;
        GetWindowPlacement(window_, &placement_);
        MONITORINFO info{};
        info.cbSize = sizeof info;
        GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &info);
        SetWindowLongPtrW(window_, GWL_STYLE, WS_POPUP | WS_VISIBLE);
        const RECT &m = info.rcMonitor;
        SetWindowPos(window_, HWND_TOP, m.left, m.top, m.right - m.left, m.bottom - m.top,
                     SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
    } else {
        SetWindowLongPtrW(window_, GWL_STYLE, kWindowedStyle | WS_VISIBLE);
        if (placement_.length != 0) SetWindowPlacement(window_, &placement_);
        SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER);
    }
    InvalidateRect(window_, nullptr, FALSE);
}

// Asynchronous from memory: a new sound cuts off the one playing.
void WindowsPlatform::Play(const std::shared_ptr<const player::Wave> &wave) {
    if (!wave) {
        PlaySoundW(nullptr, nullptr, 0);
        return;
    }
    auto file = files_.find(wave);
    if (file == files_.end()) file = files_.emplace(wave, player::EncodeWave(*wave)).first;
    PlaySoundW(reinterpret_cast<LPCWSTR>(file->second.data()), nullptr,
               SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
}

// The program's own volume in the system's mixer, both channels; waveform
// sound cannot wait, so a pause stops it.
void WindowsPlatform::SetSound(int volume, bool paused) {
    const DWORD level = static_cast<DWORD>(std::clamp(volume, 0, 100) * 0xFFFF / 100);
    waveOutSetVolume(nullptr, level | level << 16);
    if (paused) PlaySoundW(nullptr, nullptr, 0);
}

WindowsPlatform::~WindowsPlatform() {
    PlaySoundW(nullptr, nullptr, 0);
    FineTimer(false);
    if (window_ != nullptr) DestroyWindow(window_);
    if (icon_ != nullptr) DestroyIcon(icon_);
}

bool WindowsPlatform::Open(const player::Settings &settings, std::string &error) {
    // Whole pixels: the system must not stretch the window behind our back.
    SetProcessDPIAware();
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    icon_ = MakeIcon(settings.iconArgb, settings.iconSize);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon_;
    windowClass.hIconSm = icon_;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = kClassName;
    if (RegisterClassExW(&windowClass) == 0) {
        error = "the window class cannot be registered";
        return false;
    }
    const RECT work = WorkArea(nullptr);
    const int scale = ScaleFor(work, settings.scale);
    const SIZE frame = FrameFor(kScreenWidth * scale, kScreenHeight * scale);
    const int x = work.left + std::max(0L, (work.right - work.left - frame.cx) / 2);
    const int y = work.top + std::max(0L, (work.bottom - work.top - frame.cy) / 2);
    window_ = CreateWindowExW(0, kClassName, Wide(settings.title).c_str(), kWindowedStyle, x, y,
                              frame.cx, frame.cy, nullptr, nullptr, instance, this);
    if (window_ == nullptr) {
        error = "the window cannot be made";
        UnregisterClassW(kClassName, instance);
        return false;
    }
    ShowWindow(window_, SW_SHOW);
    if (settings.fullScreen) SetFullScreen(true);
    UpdateWindow(window_);
    return true;
}

}  // namespace

std::unique_ptr<player::Platform> OpenWindows(const player::Settings &settings,
                                              std::string &error) {
    auto platform = std::make_unique<WindowsPlatform>();
    if (!platform->Open(settings, error)) return nullptr;
    return platform;
}

}  // namespace wince::windows
