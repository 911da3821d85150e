// Desktop input as the game receives it: key codes, stylus positions on the
// scaled screen, pad buttons with their repeats, and presses held for a frame.
#include "wince/desktop/input.h"

#include "gtest/gtest.h"

namespace wince::desktop {
namespace {

constexpr uint8_t kDrop = 195, kStart = 197;
constexpr LPARAM kFirstDown = 1, kRepeatDown = 0x40000001, kUp = 0xC0000001;

SDL_Event KeyEvent(Uint32 type, SDL_Keycode key, bool repeat = false) {
    SDL_Event event{};
    event.key.type = type;
    event.key.keysym.sym = key;
    event.key.repeat = repeat ? 1 : 0;
    return event;
}

SDL_Event MouseEvent(Uint32 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
    SDL_Event event{};
    if (type == SDL_MOUSEMOTION) {
        event.motion = {type, 0, 0, 0, SDL_BUTTON_LMASK, x, y, 0, 0};
    } else {
        event.button.type = type;
        event.button.button = button;
        event.button.x = x;
        event.button.y = y;
    }
    return event;
}

SDL_Event PadEvent(SDL_JoystickID pad, SDL_GameControllerButton button, bool pressed) {
    SDL_Event event{};
    event.cbutton.type = pressed ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
    event.cbutton.which = pad;
    event.cbutton.button = static_cast<Uint8>(button);
    event.cbutton.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    return event;
}

SDL_Event StickEvent(SDL_JoystickID pad, SDL_GameControllerAxis axis, Sint16 value) {
    SDL_Event event{};
    event.caxis.type = SDL_CONTROLLERAXISMOTION;
    event.caxis.which = pad;
    event.caxis.axis = static_cast<Uint8>(axis);
    event.caxis.value = value;
    return event;
}

class Translation : public ::testing::Test {
protected:
    std::vector<DeviceMessage> Feed(const SDL_Event &event, uint64_t nowMs = 1000) {
        std::vector<DeviceMessage> out;
        input.Translate(event, nowMs, out);
        return out;
    }
    std::vector<DeviceMessage> Repeats(uint64_t nowMs) {
        std::vector<DeviceMessage> out;
        input.Repeat(nowMs, out);
        return out;
    }
    InputTranslator input{DefaultKeyMap()};
};

using Messages = std::vector<DeviceMessage>;

TEST_F(Translation, KeysBecomeTheDevicesCodesAndUnknownKeysNothing) {
    EXPECT_EQ(Feed(KeyEvent(SDL_KEYDOWN, SDLK_SPACE)), (Messages{{WM_KEYDOWN, kDrop, kFirstDown}}));
    EXPECT_EQ(Feed(KeyEvent(SDL_KEYDOWN, SDLK_SPACE, true)),
              (Messages{{WM_KEYDOWN, kDrop, kRepeatDown}}));
    EXPECT_EQ(Feed(KeyEvent(SDL_KEYDOWN, SDLK_x)), (Messages{{WM_KEYDOWN, kStart, kFirstDown}}));
    EXPECT_TRUE(Feed(KeyEvent(SDL_KEYDOWN, SDLK_q)).empty());
    EXPECT_TRUE(Feed(KeyEvent(SDL_KEYUP, SDLK_q)).empty());
}

TEST_F(Translation, AKeyUpComesNoSoonerThanOneFrameAfterItsPress) {
    Feed(KeyEvent(SDL_KEYDOWN, SDLK_LEFT), 1000);
    Feed(KeyEvent(SDL_KEYDOWN, SDLK_LEFT, true), 1500);  // repeats do not restart the wait
    EXPECT_EQ(Feed(KeyEvent(SDL_KEYUP, SDLK_LEFT), 1501),
              (Messages{{WM_KEYUP, VK_LEFT, kUp, 1000 + kShortestPressMs}}));
    Feed(KeyEvent(SDL_KEYDOWN, SDLK_LEFT), 2000);
    EXPECT_EQ(Feed(KeyEvent(SDL_KEYUP, SDLK_LEFT), 2001).at(0).notBeforeMs,
              2000 + kShortestPressMs);
}

TEST_F(Translation, TheStylusTouchesOnlyTheScreenAndIsLiftedWhereverItWent) {
    // A 1920 x 1080 drawable at twice the window's units: the screen is drawn
    // 3x at (600, 60) pixels, that is (300, 30) in window units.
    input.SetLayout(PlaceScreen(1920, 1080), 2.0, 2.0);
    EXPECT_TRUE(Feed(MouseEvent(SDL_MOUSEMOTION, 400, 300)).empty());      // hovering
    EXPECT_TRUE(Feed(MouseEvent(SDL_MOUSEBUTTONDOWN, 299, 300)).empty());  // the left bar
    EXPECT_TRUE(Feed(MouseEvent(SDL_MOUSEBUTTONUP, 299, 300)).empty());
    EXPECT_TRUE(Feed(MouseEvent(SDL_MOUSEBUTTONDOWN, 400, 300, SDL_BUTTON_RIGHT)).empty());

    // Screen pixel (195, 299) is drawn at pixels 600 + 585 .. 587 and 60 + 897 .. 899.
    EXPECT_EQ(Feed(MouseEvent(SDL_MOUSEBUTTONDOWN, 593, 479), 1000),
              (Messages{{WM_LBUTTONDOWN, 1, MAKELPARAM(195, 299)}}));
    EXPECT_EQ(Feed(MouseEvent(SDL_MOUSEMOTION, 100, 10)),
              (Messages{{WM_MOUSEMOVE, 1, MAKELPARAM(0, 0)}}));
    EXPECT_EQ(Feed(MouseEvent(SDL_MOUSEBUTTONUP, 950, 600), 1010),
              (Messages{{WM_LBUTTONUP, 0, MAKELPARAM(239, 319), 1000 + kShortestPressMs}}));
    EXPECT_TRUE(Feed(MouseEvent(SDL_MOUSEMOTION, 400, 300)).empty());
}

TEST_F(Translation, PadButtonsRepeatWhileHeldWithoutBurstingAfterAPause) {
    EXPECT_EQ(Feed(PadEvent(7, SDL_CONTROLLER_BUTTON_A, true), 1000),
              (Messages{{WM_KEYDOWN, kDrop, kFirstDown}}));
    EXPECT_TRUE(Feed(PadEvent(7, SDL_CONTROLLER_BUTTON_A, true), 1001).empty());
    EXPECT_TRUE(Repeats(1000 + kPadRepeatDelayMs - 1).empty());
    const uint64_t first = 1000 + kPadRepeatDelayMs;
    EXPECT_EQ(Repeats(first), (Messages{{WM_KEYDOWN, kDrop, kRepeatDown}}));
    EXPECT_TRUE(Repeats(first + kPadRepeatIntervalMs - 1).empty());
    EXPECT_EQ(Repeats(first + 10 * kPadRepeatIntervalMs).size(), 1u);  // after a long sleep
    EXPECT_EQ(Feed(PadEvent(7, SDL_CONTROLLER_BUTTON_A, false), 5000),
              (Messages{{WM_KEYUP, kDrop, kUp, 1000 + kShortestPressMs}}));
    EXPECT_TRUE(Repeats(10000).empty());
    EXPECT_TRUE(Feed(PadEvent(7, SDL_CONTROLLER_BUTTON_X, true)).empty());
}

TEST_F(Translation, UnpluggingAPadLetsGoOfItsButtonsOnly) {
    Feed(PadEvent(1, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true));
    Feed(PadEvent(1, SDL_CONTROLLER_BUTTON_START, true));
    Feed(PadEvent(2, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true));
    std::vector<DeviceMessage> out;
    input.ReleasePad(1, out);
    EXPECT_EQ(out, (Messages{{WM_KEYUP, VK_LEFT, kUp}, {WM_KEYUP, kStart, kUp}}));
    EXPECT_EQ(Repeats(5000), (Messages{{WM_KEYDOWN, VK_RIGHT, kRepeatDown}}));
}

TEST_F(Translation, TheLeftStickActsAsTheDpadWithoutFluttering) {
    EXPECT_TRUE(Feed(StickEvent(3, SDL_CONTROLLER_AXIS_LEFTX, -12000)).empty());
    EXPECT_EQ(Feed(StickEvent(3, SDL_CONTROLLER_AXIS_LEFTX, -20000)),
              (Messages{{WM_KEYDOWN, VK_LEFT, kFirstDown}}));
    EXPECT_TRUE(Feed(StickEvent(3, SDL_CONTROLLER_AXIS_LEFTX, -12000)).empty());  // still held
    EXPECT_EQ(Feed(StickEvent(3, SDL_CONTROLLER_AXIS_LEFTX, 30000), 1000),
              (Messages{{WM_KEYUP, VK_LEFT, kUp, 1000 + kShortestPressMs},
                        {WM_KEYDOWN, VK_RIGHT, kFirstDown}}));
    EXPECT_EQ(Feed(StickEvent(3, SDL_CONTROLLER_AXIS_LEFTY, 32767)),
              (Messages{{WM_KEYDOWN, VK_DOWN, kFirstDown}}));
    EXPECT_TRUE(Feed(StickEvent(3, SDL_CONTROLLER_AXIS_RIGHTX, 32767)).empty());
}

}  // namespace
}  // namespace wince::desktop
