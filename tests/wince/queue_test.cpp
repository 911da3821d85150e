#include <algorithm>
#include <vector>

#include "wince_fixture.h"

namespace wince_test {
namespace {

std::vector<UINT> seen;

// Records what it is told, and destroys its window again while being told of
// the destruction.
LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    seen.push_back(message);
    if (message == WM_DESTROY) DestroyWindow(window);
    return DefWindowProcW(window, message, wParam, lParam);
}

class Queue : public WinceTest {
protected:
    HWND MakeWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.lpszClassName = u"pellax rim";
        EXPECT_NE(RegisterClassW(&windowClass), 0);
        seen.clear();
        return CreateWindowExW(0, u"PELLAX RIM", u"PELLAX RIM", WS_VISIBLE, 0, 0, 240, 320, nullptr,
                               nullptr, nullptr, nullptr);
    }

    static int Count(UINT message) {
        return static_cast<int>(std::count(seen.begin(), seen.end(), message));
    }
};

TEST_F(Queue, WindowsNeedARegisteredClassAndHearOfTheirCreation) {
    EXPECT_EQ(
        CreateWindowExW(0, u"unknown", u"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
        nullptr);
    EXPECT_EQ(wince::MainWindow(), nullptr);
    HWND window = MakeWindow();
    EXPECT_EQ(wince::MainWindow(), window);
    EXPECT_EQ(Count(WM_CREATE), 1);
}

TEST_F(Queue, PeekWithoutRemovingLeavesTheFrontMessage) {
    HWND window = MakeWindow();
    PostMessageW(window, WM_KEYDOWN, VK_LEFT, 0);
    PostMessageW(window, WM_KEYUP, VK_LEFT, 0);
    MSG msg{};
    for (UINT remove : {PM_NOREMOVE, PM_REMOVE}) {
        EXPECT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, remove));
        EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
        EXPECT_EQ(msg.hwnd, window);
    }
    EXPECT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYUP));
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(Queue, GetMessageReturnsZeroForTheQuitMessageWhichStaysUntilTaken) {
    MakeWindow();
    PostQuitMessage(7);
    MSG msg{};
    // The main loop peeks first: the quit message keeps waiting.
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(Queue, CloseGoesThroughDefWindowProcToOneDestroy) {
    HWND window = MakeWindow();
    wince::CloseWindow();
    MSG msg{};
    ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CLOSE));
    DispatchMessageW(&msg);
    EXPECT_EQ(Count(WM_CLOSE), 1);
    EXPECT_EQ(Count(WM_DESTROY), 1);
    // The window is gone: its messages are dropped and it cannot close again.
    EXPECT_FALSE(DestroyWindow(window));
    PostMessageW(window, WM_KEYDOWN, VK_UP, 0);
    ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(DispatchMessageW(&msg), 0);
    EXPECT_EQ(SendMessageW(window, WM_KEYDOWN, VK_UP, 0), 0);
    EXPECT_EQ(Count(WM_KEYDOWN), 0);
    wince::CloseWindow();
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(Queue, OnlyAnEmptyLookLetsAVirtualMillisecondPass) {
    HWND window = MakeWindow();
    MSG msg{};
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(host_.NowMs(), 2);
    PostMessageW(window, WM_KEYDOWN, VK_UP, 0);
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(host_.NowMs(), 2);
    Sleep(40);
    EXPECT_EQ(host_.NowMs(), 42);
    LARGE_INTEGER frequency{}, counter{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    EXPECT_EQ(frequency.QuadPart, 1000000);
    EXPECT_EQ(counter.QuadPart, 42000);
}

TEST_F(Queue, GetMessageWaitsForScriptedInput) {
    MakeWindow();
    host_.SetScript({{5, wince::headless::ScriptEvent::Kind::KeyDown, VK_RETURN, 0, ""}});
    MSG msg{};
    ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(VK_RETURN));
    EXPECT_EQ(host_.NowMs(), 5);
}

}  // namespace
}  // namespace wince_test
