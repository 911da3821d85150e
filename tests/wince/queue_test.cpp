// The message queue and the headless host behind it: windows and their
// messages, the quit message, closing, virtual time, and scripts and what
// they make happen.
#include <algorithm>
#include <sstream>
#include <tuple>
#include <vector>

#include "wince_fixture.h"

namespace wince_test {
namespace {

using wince::headless::ParseScript;
using Kind = wince::headless::ScriptEvent::Kind;

std::string ParseError(const std::string &text) {
    std::istringstream in(text);
    std::string error;
    EXPECT_FALSE(ParseScript(in, error).has_value()) << text;
    return error;
}

TEST(Script, ReadsEveryKindAndSkipsBlanksAndComments) {
    std::istringstream in(
        "# a comment\n\n0 keydown 37\r\n10 keyup 37\n   \n20 down 120 -3\n20 move 121 4\n"
        "30 up 122 5\n40 shot out/screen one.png\n40 state s.json\n50 close\n");
    std::string error;
    auto events = ParseScript(in, error);
    ASSERT_TRUE(events.has_value()) << error;
    std::string kinds;
    for (const auto &event : *events) kinds += std::to_string(int(event.kind));
    EXPECT_EQ(kinds, "01243675");
    EXPECT_EQ((*events)[2].b, -3);
    EXPECT_EQ((*events)[5].file, "out/screen one.png");
}

TEST(Script, UnreadableLinesAreNamedByTheirNumberInTheFile) {
    EXPECT_EQ(ParseError("# comment\n\n5 jump\n"), "line 3: unknown event jump");
    EXPECT_EQ(ParseError("9 close\n#\n8 close\n"), "line 3: time goes backwards");
    for (const char *bad : {"x keydown 1", "-1 close", "1 keydown", "1 keydown 1 2", "1 down 5",
                            "1 down 5 y", "1 up 5 99999", "1 shot"})
        EXPECT_EQ(ParseError(std::string("0 close\n") + bad).rfind("line 2:", 0), 0u) << bad;
}

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
    MSG msg{};
};

// The main loop peeks first: the front message, the quit message too, waits
// until taken; GetMessage returns zero for the quit.
TEST_F(Queue, PeekLeavesTheFrontMessageAndQuitEndsGetMessage) {
    HWND window = MakeWindow();
    PostMessageW(window, WM_KEYDOWN, VK_LEFT, 0);
    PostQuitMessage(7);
    for (UINT remove : {PM_NOREMOVE, PM_REMOVE}) {
        EXPECT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, remove));
        EXPECT_TRUE(msg.message == WM_KEYDOWN && msg.hwnd == window);
    }
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(Queue, CloseGoesThroughDefWindowProcToOneDestroy) {
    HWND window = MakeWindow();
    wince::CloseWindow();
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
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(host_.NowMs(), 2);
    PostMessageW(window, WM_KEYDOWN, VK_UP, 0);
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(host_.NowMs(), 2);
    Sleep(40);
    LARGE_INTEGER frequency{}, counter{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    EXPECT_EQ(frequency.QuadPart, 1000000);
    EXPECT_EQ(counter.QuadPart, 42000);
}

// Each event happens at the first look at or after its time, GetMessage
// waiting for it; once the last has happened the window is closed, once.
TEST_F(Queue, ScriptedEventsAndTheCloseAfterThem) {
    HWND window = MakeWindow();
    host_.SetScript({{0, Kind::KeyDown, 196, 0, ""},
                     {3, Kind::Down, 100, 200, ""},
                     {3, Kind::Up, 101, 201, ""},
                     {10, Kind::KeyUp, 196, 0, ""}});
    std::vector<std::tuple<int64_t, HWND, UINT, WPARAM, LPARAM>> taken;
    for (int i = 0; i < 5; ++i) {
        if (i == 3) host_.AdvanceMs(20);  // past an event: it happens at the next look
        ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
        taken.emplace_back(host_.NowMs(), msg.hwnd, msg.message, msg.wParam, msg.lParam);
    }
    EXPECT_EQ(taken, (decltype(taken){{0, window, WM_KEYDOWN, 196, 0},
                                      {3, window, WM_LBUTTONDOWN, 0, MAKELPARAM(100, 200)},
                                      {3, window, WM_LBUTTONUP, 0, MAKELPARAM(101, 201)},
                                      {23, window, WM_KEYUP, 196, 0},
                                      {23, window, WM_CLOSE, 0, 0}}));
    // The window ignores the close; nothing more comes.
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

}  // namespace
}  // namespace wince_test
