// Window classes and windows. A window is a procedure and little else: the
// game draws straight to display memory, never through the window.
#include <map>
#include <vector>

#include "wince/core/internal.h"
#include "wince/seam/device_codes.h"

// Hosts post input by the seam's own names for the device's codes.
static_assert(wince::device::kKeyDownMessage == WM_KEYDOWN &&
              wince::device::kKeyUpMessage == WM_KEYUP &&
              wince::device::kStylusMoveMessage == WM_MOUSEMOVE &&
              wince::device::kStylusDownMessage == WM_LBUTTONDOWN &&
              wince::device::kStylusUpMessage == WM_LBUTTONUP);
static_assert(wince::device::kUpKey == VK_UP && wince::device::kDownKey == VK_DOWN &&
              wince::device::kLeftKey == VK_LEFT && wince::device::kRightKey == VK_RIGHT &&
              wince::device::kReturnKey == VK_RETURN);
static_assert(wince::device::StylusPoint(17, 300) == MAKELPARAM(17, 300));

namespace {

using wince::core::EqualNoCase;

struct WindowClass {
    std::u16string name;
    WNDPROC procedure;
};

struct Window {
    WNDPROC procedure;
    bool destroying;
};

constexpr ATOM kFirstAtom = 0xC000;
constexpr uintptr_t kFirstWindow = 0x10000;
constexpr uintptr_t kWindowStep = 0x10;
constexpr DWORD kErrorClassAlreadyExists = 1410;
constexpr DWORD kErrorCannotFindClass = 1407;

struct Windows {
    std::vector<WindowClass> classes;
    std::map<uintptr_t, Window> live;
    // Handles are never reused, so a stale one can never reach a newer window.
    uintptr_t next = kFirstWindow;
    HWND main = nullptr;
};

Windows &State() {
    static Windows state;
    return state;
}

uintptr_t Key(HWND window) {
    return reinterpret_cast<uintptr_t>(window);
}

// A class is named by its text, or by its atom in the low word of the pointer.
const WindowClass *FindClass(LPCWSTR name) {
    auto &classes = State().classes;
    uintptr_t value = reinterpret_cast<uintptr_t>(name);
    if (value != 0 && value < 0x10000) {
        size_t index = value - kFirstAtom;
        return value >= kFirstAtom && index < classes.size() ? &classes[index] : nullptr;
    }
    std::u16string wanted = wince::core::FromDevice(name);
    for (const WindowClass &c : classes) {
        if (EqualNoCase(c.name, wanted)) return &c;
    }
    return nullptr;
}

}  // namespace

ATOM WINAPI RegisterClassW(const WNDCLASSW *lpWndClass) {
    if (lpWndClass == nullptr || lpWndClass->lpfnWndProc == nullptr ||
        lpWndClass->lpszClassName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (FindClass(lpWndClass->lpszClassName) != nullptr) {
        SetLastError(kErrorClassAlreadyExists);
        return 0;
    }
    auto &classes = State().classes;
    classes.push_back({lpWndClass->lpszClassName, lpWndClass->lpfnWndProc});
    return static_cast<ATOM>(kFirstAtom + classes.size() - 1);
}

HWND WINAPI CreateWindowExW(DWORD, LPCWSTR lpClassName, LPCWSTR, DWORD, int, int, int, int, HWND,
                            HMENU, HINSTANCE, LPVOID) {
    const WindowClass *windowClass = FindClass(lpClassName);
    if (windowClass == nullptr) {
        SetLastError(kErrorCannotFindClass);
        return nullptr;
    }
    Windows &state = State();
    uintptr_t key = state.next;
    state.next += kWindowStep;
    state.live[key] = {windowClass->procedure, false};
    HWND window = reinterpret_cast<HWND>(key);
    bool first = state.main == nullptr;
    if (first) state.main = window;
    // A procedure that answers WM_CREATE with -1 refuses the window.
    if (SendMessageW(window, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(window);
        if (first) state.main = nullptr;
        return nullptr;
    }
    return window;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
    auto &live = State().live;
    auto it = live.find(Key(hWnd));
    if (it == live.end() || it->second.destroying) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // Marked first: a procedure that destroys its window again while handling
    // WM_DESTROY must not get a second WM_DESTROY.
    it->second.destroying = true;
    WNDPROC procedure = it->second.procedure;
    procedure(hWnd, WM_DESTROY, 0, 0);
    live.erase(Key(hWnd));
    return TRUE;
}

LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    auto &live = State().live;
    auto it = live.find(Key(hWnd));
    if (it == live.end() || it->second.destroying) return 0;
    WNDPROC procedure = it->second.procedure;
    return procedure(hWnd, Msg, wParam, lParam);
}

LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT Msg, WPARAM, LPARAM) {
    if (Msg == WM_CLOSE) DestroyWindow(hWnd);
    return 0;
}

BOOL WINAPI MoveWindow(HWND hWnd, int, int, int, int, BOOL) {
    return wince::core::WindowIsAlive(hWnd) ? TRUE : FALSE;
}

HICON WINAPI LoadIconW(HINSTANCE, LPCWSTR) {
    static int icon;
    return reinterpret_cast<HICON>(&icon);
}

HGDIOBJ WINAPI GetStockObject(int) {
    static int stockObject;
    return reinterpret_cast<HGDIOBJ>(&stockObject);
}

BOOL WINAPI SHFullScreen(HWND, DWORD) {
    return TRUE;
}

namespace wince {

HWND MainWindow() {
    return State().main;
}

bool HasMainWindow() {
    return State().main != nullptr;
}

void PostDeviceInput(const DeviceInput &input) {
    if (Recorder *recorder = CurrentRecorder()) recorder->InputPosted(input);
    PostMessageW(State().main, input.message, input.wParam, input.lParam);
}

void CloseMainWindow() {
    if (Recorder *recorder = CurrentRecorder()) recorder->CloseAsked();
    HWND main = State().main;
    if (core::WindowIsAlive(main)) PostMessageW(main, WM_CLOSE, 0, 0);
}

namespace core {

bool WindowIsAlive(HWND window) {
    auto &live = State().live;
    auto it = live.find(Key(window));
    return it != live.end() && !it->second.destroying;
}

void ResetWindows() {
    Windows &state = State();
    state.classes.clear();
    state.live.clear();
    state.main = nullptr;
}

}  // namespace core
}  // namespace wince
