// The message queue: one first-in first-out list of messages for the whole
// program, as the single-threaded game sees it.
#include <deque>

#include "wince/core/internal.h"

namespace {

std::deque<MSG> &Queue() {
    static std::deque<MSG> queue;
    return queue;
}

DWORD MessageTime() {
    wince::Host &host = wince::CurrentHost();
    int64_t frequency = host.CounterFrequency();
    if (frequency <= 0) return 0;
    return static_cast<DWORD>(host.CounterNow() * 1000 / frequency);
}

// The quit message is delivered whatever the window filter, as on the device.
bool Matches(const MSG &msg, HWND window, UINT first, UINT last) {
    if (window != nullptr && msg.hwnd != window && msg.message != WM_QUIT) return false;
    if (first == 0 && last == 0) return true;
    return msg.message >= first && msg.message <= last;
}

// One look at the queue: due input first, then the first matching message,
// or a moment of idle time when there is none.
std::deque<MSG>::iterator Look(HWND window, UINT first, UINT last) {
    wince::Host &host = wince::CurrentHost();
    host.PumpInput();
    std::deque<MSG> &queue = Queue();
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (Matches(*it, window, first, last)) return it;
    }
    host.Idle();
    return queue.end();
}

}  // namespace

BOOL WINAPI PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax,
                         UINT wRemoveMsg) {
    auto it = Look(hWnd, wMsgFilterMin, wMsgFilterMax);
    if (it == Queue().end()) return FALSE;
    if (lpMsg != nullptr) *lpMsg = *it;
    if ((wRemoveMsg & PM_REMOVE) != 0) Queue().erase(it);
    return TRUE;
}

BOOL WINAPI GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    for (;;) {
        auto it = Look(hWnd, wMsgFilterMin, wMsgFilterMax);
        if (it == Queue().end()) continue;
        MSG msg = *it;
        Queue().erase(it);
        if (lpMsg != nullptr) *lpMsg = msg;
        return msg.message == WM_QUIT ? FALSE : TRUE;
    }
}

BOOL WINAPI TranslateMessage(const MSG *) {
    return FALSE;
}

LRESULT WINAPI DispatchMessageW(const MSG *lpMsg) {
    if (lpMsg == nullptr) return 0;
    return SendMessageW(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

BOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    MSG msg{};
    msg.hwnd = hWnd;
    msg.message = Msg;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = MessageTime();
    Queue().push_back(msg);
    return TRUE;
}

void WINAPI PostQuitMessage(int nExitCode) {
    PostMessageW(nullptr, WM_QUIT, static_cast<WPARAM>(nExitCode), 0);
}

namespace wince::core {

void ResetQueue() {
    Queue().clear();
}

}  // namespace wince::core
