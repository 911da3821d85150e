// Keys and stylus through the game's window procedure, and the hardware buttons.
#include <tuple>

#include "support/rules_env.h"

using namespace rules_test;

namespace {

class Input : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        OpenWindow();
    }

    void Send(UINT message, WPARAM wParam, LPARAM lParam = 0) {
        PostMessageW(MainWindowHandle, message, wParam, lParam);
        MSG queued{};
        while (PeekMessageW(&queued, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&queued);
    }
    static std::vector<uint32_t> Flags() { return {KeyFlags, KeyFlags + kKeyFlagCount}; }
    static std::tuple<uint32_t, uint32_t, uint32_t> Stylus() {
        return {uint32_t(IsStylusDown()), StylusState.x, StylusState.y};
    }
};

TEST_F(Input, EachGameKeyHasItsOwnFlagOthersNone) {
    const WPARAM codes[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, 195, 196, 197, VK_RETURN};
    for (uint8_t flag = 0; flag < kKeyFlagCount; ++flag) {
        std::vector<uint32_t> expected(kKeyFlagCount, 0);
        expected[flag] = 1;
        Send(WM_KEYDOWN, codes[flag]);
        EXPECT_EQ(Flags(), expected) << codes[flag];
        Send(WM_KEYUP, codes[flag]);
        Send(WM_KEYUP, codes[flag]);
        EXPECT_EQ(IsKeyFlagSet(flag), 0);
    }
    // A reader clears a flag; the repeated key-downs of a held key set it again.
    Send(WM_KEYDOWN, VK_LEFT);
    ClearKeyFlag(kKeyLeft);
    EXPECT_EQ(IsKeyFlagSet(kKeyLeft), 0);
    Send(WM_KEYDOWN, VK_LEFT);
    for (WPARAM code : {WPARAM{193}, WPARAM{0}, WPARAM{VK_UP + 0x10000}}) Send(WM_KEYDOWN, code);
    OnKeyMessage(WM_CHAR, VK_UP);
    EXPECT_EQ(Flags(), (std::vector<uint32_t>{0, 0, 1, 0, 0, 0, 0, 0}));
    // Flag numbers outside the table are neither read nor written.
    std::fill_n(KeyFlags, kKeyFlagCount, 1);
    StylusState = {1, 77, 88};
    for (uint8_t flag : {8, 9, 255}) {
        EXPECT_EQ(IsKeyFlagSet(flag), 0);
        ClearKeyFlag(flag);
    }
    EXPECT_EQ(Flags(), std::vector<uint32_t>(kKeyFlagCount, 1));
    EXPECT_EQ(StylusState.down + StylusState.x + StylusState.y, 1u + 77u + 88u);
}

// Only touch and lift move the position kept; rectangles exclude their edges.
TEST_F(Input, StylusKeepsTheLastTouchOrLift) {
    Send(WM_LBUTTONDOWN, 0, MAKELPARAM(200, 300));
    EXPECT_EQ(Stylus(), std::make_tuple(1u, 200u, 300u));
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(10, 20));
    OnStylusMessage(WM_MOUSEMOVE, MAKELPARAM(10, 20));
    Send(WM_LBUTTONUP, 0, MAKELPARAM(65535, 7));
    EXPECT_EQ(Stylus(), std::make_tuple(0u, 65535u, 7u));
    Send(WM_LBUTTONDOWN, 0, MAKELPARAM(166, 293));
    EXPECT_EQ(StylusInRect(165, 225, 292, 307) + StylusInRect(-5, 167, -1, 294), 2);
    EXPECT_EQ(StylusInRect(166, 225, 292, 307) + StylusInRect(165, 166, 292, 307), 0);
    EXPECT_EQ(StylusInRect(165, 225, 293, 307) + StylusInRect(165, 225, 292, 293), 0);
    ClearStylusDown();
    EXPECT_EQ(IsStylusDown(), 0);
}

TEST_F(Input, ButtonsThatCannotBeOpenedAreReported) {
    EXPECT_EQ(OpenInput(MainWindowHandle), 1);
    EXPECT_TRUE(log.events.empty());
    wince::SetDeviceFaults({.inputFailsToOpen = true});
    EXPECT_EQ(OpenInput(MainWindowHandle), 0);
    EXPECT_EQ(log.events, std::vector<std::string>{"msgbox  |input control : fail"});
}

}  // namespace
