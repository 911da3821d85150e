// Keys and stylus through real window messages, and the hardware buttons.
#include <gtest/gtest.h>

#include "support/rules_env.h"

using namespace rules_test;

namespace {

// Records input as the game's window procedure does; everything else,
// stylus moves included, goes to the default handling.
LRESULT CALLBACK InputWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
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

class InputTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = InputWindowProc;
        windowClass.lpszClassName = TEXT("input test");
        RegisterClassW(&windowClass);
        window = CreateWindowExW(0, TEXT("input test"), TEXT("input"), WS_VISIBLE, 0, 0, 240, 320,
                                 nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
    }

    // Posts a message and dispatches everything queued.
    void Send(UINT message, WPARAM wParam, LPARAM lParam = 0) {
        PostMessageW(window, message, wParam, lParam);
        MSG queued{};
        while (PeekMessageW(&queued, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&queued);
    }

    std::vector<uint32_t> Flags() const { return {std::begin(KeyFlags), std::end(KeyFlags)}; }

    HWND window = nullptr;
};

TEST_F(InputTest, EachGameKeyHasItsOwnFlag) {
    const WPARAM codes[kKeyFlagCount] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT,
                                         195,   196,     197,     VK_RETURN};
    for (uint8_t flag = 0; flag < kKeyFlagCount; ++flag) {
        SCOPED_TRACE(testing::Message() << "key " << codes[flag]);
        std::vector<uint32_t> expected(kKeyFlagCount, 0);
        Send(WM_KEYDOWN, codes[flag]);
        expected[flag] = 1;
        EXPECT_EQ(Flags(), expected);
        EXPECT_EQ(IsKeyFlagSet(flag), 1);
        Send(WM_KEYUP, codes[flag]);
        EXPECT_EQ(Flags(), std::vector<uint32_t>(kKeyFlagCount, 0));
    }
}

TEST_F(InputTest, ReaderClearsAFlagAndARepeatedKeyDownRearmsIt) {
    Send(WM_KEYDOWN, VK_LEFT);
    ClearKeyFlag(kKeyLeft);
    EXPECT_EQ(IsKeyFlagSet(kKeyLeft), 0);
    Send(WM_KEYDOWN, VK_LEFT);
    EXPECT_EQ(IsKeyFlagSet(kKeyLeft), 1);
    Send(WM_KEYUP, VK_LEFT);
    Send(WM_KEYUP, VK_LEFT);
    EXPECT_EQ(IsKeyFlagSet(kKeyLeft), 0);
}

TEST_F(InputTest, OtherKeysAndMessagesChangeNothing) {
    KeyFlags[kKeyDrop] = 1;
    for (WPARAM code : {WPARAM{193}, WPARAM{0}, WPARAM{255}, WPARAM{VK_UP + 0x10000}}) {
        Send(WM_KEYDOWN, code);
        Send(WM_KEYUP, code);
    }
    OnKeyMessage(WM_CHAR, VK_UP);
    OnKeyMessage(WM_KEYDOWN + 5, VK_DOWN);
    std::vector<uint32_t> expected(kKeyFlagCount, 0);
    expected[kKeyDrop] = 1;
    EXPECT_EQ(Flags(), expected);
}

TEST_F(InputTest, FlagNumbersOutsideTheTableAreNeitherReadNorWritten) {
    for (uint32_t &flag : KeyFlags) flag = 1;
    StylusState = {1, 77, 88};
    for (int flag : {8, 9, 200, 255}) {
        EXPECT_EQ(IsKeyFlagSet(static_cast<uint8_t>(flag)), 0);
        ClearKeyFlag(static_cast<uint8_t>(flag));
    }
    EXPECT_EQ(Flags(), std::vector<uint32_t>(kKeyFlagCount, 1));
    EXPECT_EQ(StylusState.down + StylusState.x + StylusState.y, 1u + 77u + 88u);
}

TEST_F(InputTest, StylusKeepsTheLastTouchOrLiftPosition) {
    Send(WM_LBUTTONDOWN, 0, MAKELPARAM(200, 300));
    EXPECT_EQ(IsStylusDown(), 1);
    EXPECT_EQ(StylusState.x, 200u);
    EXPECT_EQ(StylusState.y, 300u);
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(10, 20));
    OnStylusMessage(WM_MOUSEMOVE, MAKELPARAM(10, 20));
    EXPECT_EQ(StylusState.x, 200u);
    Send(WM_LBUTTONUP, 0, MAKELPARAM(65535, 7));
    EXPECT_EQ(IsStylusDown(), 0);
    EXPECT_EQ(StylusState.x, 65535u);
    EXPECT_EQ(StylusState.y, 7u);
    Send(WM_LBUTTONDOWN, 0, MAKELPARAM(1, 2));
    ClearStylusDown();
    EXPECT_EQ(IsStylusDown(), 0);
    EXPECT_EQ(StylusState.x, 1u);
}

TEST_F(InputTest, AreasExcludeTheirEdges) {
    const std::pair<int, int> outside[] = {{165, 300}, {225, 300}, {200, 292}, {200, 307}};
    for (auto [x, y] : outside) {
        Send(WM_LBUTTONDOWN, 0, MAKELPARAM(x, y));
        EXPECT_EQ(StylusInRect(165, 225, 292, 307), 0) << x << "," << y;
    }
    Send(WM_LBUTTONDOWN, 0, MAKELPARAM(166, 293));
    EXPECT_EQ(StylusInRect(165, 225, 292, 307), 1);
    EXPECT_EQ(StylusInRect(-5, 167, -1, 294), 1);  // the comparisons are signed
}

TEST_F(InputTest, ButtonsThatCannotBeOpenedAreReported) {
    EXPECT_EQ(OpenInput(window), 1);
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(CloseInput(), 1);
    EXPECT_EQ(CloseInput(), 0);
    wince::DeviceFaults faults;
    faults.inputFailsToOpen = true;
    wince::SetDeviceFaults(faults);
    EXPECT_EQ(OpenInput(window), 0);
    EXPECT_EQ(log.events, std::vector<std::string>{"msgbox  |input control : fail"});
}

}  // namespace
