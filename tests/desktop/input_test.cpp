// Desktop input as the game receives it: each case a script of events, with
// the messages each one makes.
#include "wince/desktop/input.h"

#include "gtest/gtest.h"
#include "wince/seam/device_codes.h"

namespace wince::desktop {
namespace {

constexpr uint8_t kDrop = 195, kStart = 197;
using namespace device;
constexpr intptr_t kFirstDown = kKeyFirstDown, kRepeatDown = kKeyRepeatDown, kUp = kKeyGoingUp;
constexpr uint64_t kPress = kShortestPressMs;
using Messages = std::vector<DeviceMessage>;

// One event from a step's fields: a key (key, repeat), the mouse (x, y,
// button), a pad button (pad, button), the stick of pad 3 (axis, value), an
// unplugged pad (pad), or none (type 0: the repeat clock is asked instead).
struct Step {
    Uint32 type;
    int a, b, c;
    uint64_t nowMs;
    Messages out;
};

SDL_Event Event(const Step &s) {
    SDL_Event e{};
    const auto a = static_cast<Uint8>(s.a), b = static_cast<Uint8>(s.b);
    switch (s.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            e.key = {s.type, 0, 0, SDL_PRESSED, b, 0, 0, {{}, s.a, 0, 0}};
            break;
        case SDL_MOUSEMOTION:
            e.motion = {s.type, 0, 0, 0, SDL_BUTTON_LMASK, s.a, s.b, 0, 0};
            break;
        case SDL_CONTROLLERAXISMOTION:
            e.caxis = {s.type, 0, 3, a, 0, 0, 0, Sint16(s.b), 0};
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            e.cdevice = {s.type, 0, s.a};
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            e.cbutton = {s.type, 0, s.a, b, Uint8(s.type == SDL_CONTROLLERBUTTONDOWN), 0, 0};
            break;
        default:
            e.button = {s.type, 0, 0, 0, Uint8(s.c ? s.c : SDL_BUTTON_LEFT), 0, 0, 0, s.a, s.b};
    }
    return e;
}

void Play(InputTranslator &input, const std::vector<Step> &script) {
    for (size_t i = 0; i < script.size(); ++i) {
        const Step &step = script[i];
        Messages out;
        if (step.type == 0)
            input.Repeat(step.nowMs, out);
        else if (step.type == SDL_CONTROLLERDEVICEREMOVED)
            input.ReleasePad(step.a, out);
        else
            input.Translate(Event(step), step.nowMs, out);
        EXPECT_EQ(out, step.out) << "step " << i;
    }
}

constexpr Uint32 kDown = SDL_KEYDOWN, kKeyUp = SDL_KEYUP, kPadDown = SDL_CONTROLLERBUTTONDOWN,
                 kPadUp = SDL_CONTROLLERBUTTONUP, kStick = SDL_CONTROLLERAXISMOTION,
                 kUnplug = SDL_CONTROLLERDEVICEREMOVED, kTick = 0, kMove = SDL_MOUSEMOTION,
                 kTouch = SDL_MOUSEBUTTONDOWN, kLift = SDL_MOUSEBUTTONUP;

TEST(Input, KeysThroughTheMapUpNoSoonerThanAFrameAfterTheirPress) {
    InputTranslator input{DefaultKeyMap()};
    Play(input, {{kDown, SDLK_SPACE, 0, 0, 1000, {{kKeyDownMessage, kDrop, kFirstDown}}},
                 {kDown, SDLK_x, 0, 0, 1000, {{kKeyDownMessage, kStart, kFirstDown}}},
                 {kDown, SDLK_q, 0, 0, 1000, {}},
                 {kKeyUp, SDLK_q, 0, 0, 1000, {}},
                 {kDown, SDLK_LEFT, 0, 0, 1000, {{kKeyDownMessage, kLeftKey, kFirstDown}}},
                 // a repeat does not restart the wait
                 {kDown, SDLK_LEFT, 1, 0, 1500, {{kKeyDownMessage, kLeftKey, kRepeatDown}}},
                 {kKeyUp, SDLK_LEFT, 0, 0, 1501, {{kKeyUpMessage, kLeftKey, kUp, 1000 + kPress}}},
                 {kDown, SDLK_LEFT, 0, 0, 2000, {{kKeyDownMessage, kLeftKey, kFirstDown}}},
                 {kKeyUp, SDLK_LEFT, 0, 0, 2001, {{kKeyUpMessage, kLeftKey, kUp, 2000 + kPress}}}});
}

TEST(Input, TheStylusTouchesOnlyTheScreenAndIsLiftedWhereverItWent) {
    // A 1920 x 1080 drawable at twice the window's units: the screen is drawn
    // 3x at (600, 60) pixels, that is (300, 30) in window units.
    InputTranslator input{DefaultKeyMap()};
    input.SetLayout(PlaceScreen(1920, 1080), 2.0, 2.0);
    Play(input,
         {{kMove, 400, 300, 0, 0, {}},   // hovering
          {kTouch, 299, 300, 0, 0, {}},  // the left bar
          {kLift, 299, 300, 0, 0, {}},
          {kTouch, 400, 300, SDL_BUTTON_RIGHT, 0, {}},
          {kTouch, 593, 479, 0, 1000, {{kStylusDownMessage, 1, StylusPoint(195, 299)}}},
          {kMove, 100, 10, 0, 1005, {{kStylusMoveMessage, 1, StylusPoint(0, 0)}}},
          {kLift, 950, 600, 0, 1010, {{kStylusUpMessage, 0, StylusPoint(239, 319), 1000 + kPress}}},
          {kMove, 400, 300, 0, 1020, {}}});
}

TEST(Input, PadsRepeatWhileHeldAndLetGoWhenUnplugged) {
    InputTranslator input{DefaultKeyMap()};
    constexpr int kA = SDL_CONTROLLER_BUTTON_A, kX = SDL_CONTROLLER_BUTTON_X;
    constexpr int kLeftX = SDL_CONTROLLER_AXIS_LEFTX, kRightX = SDL_CONTROLLER_AXIS_RIGHTX;
    const uint64_t first = 1000 + kPadRepeatDelayMs, every = kPadRepeatIntervalMs;
    Play(input, {{kPadDown, 7, kA, 0, 1000, {{kKeyDownMessage, kDrop, kFirstDown}}},
                 {kPadDown, 7, kA, 0, 1001, {}},
                 {kTick, 0, 0, 0, first - 1, {}},
                 {kTick, 0, 0, 0, first, {{kKeyDownMessage, kDrop, kRepeatDown}}},
                 {kTick, 0, 0, 0, first + every - 1, {}},
                 // one repeat after a long sleep, not a burst
                 {kTick, 0, 0, 0, first + 10 * every, {{kKeyDownMessage, kDrop, kRepeatDown}}},
                 {kPadUp, 7, kA, 0, 5000, {{kKeyUpMessage, kDrop, kUp, 1000 + kPress}}},
                 {kTick, 0, 0, 0, 10000, {}},
                 {kPadDown, 7, kX, 0, 10000, {}},
                 // the left stick is the cross, with a dead band that keeps it steady
                 {kStick, kLeftX, -12000, 0, 10000, {}},
                 {kStick, kLeftX, -20000, 0, 10000, {{kKeyDownMessage, kLeftKey, kFirstDown}}},
                 {kStick, kLeftX, -12000, 0, 10000, {}},
                 {kStick,
                  kLeftX,
                  30000,
                  0,
                  11000,
                  {{kKeyUpMessage, kLeftKey, kUp, 10000 + kPress},
                   {kKeyDownMessage, kRightKey, kFirstDown}}},
                 {kStick, kRightX, 32767, 0, 11000, {}},
                 {kUnplug, 3, 0, 0, 11000, {{kKeyUpMessage, kRightKey, kUp}}},
                 {kPadDown,
                  1,
                  SDL_CONTROLLER_BUTTON_DPAD_LEFT,
                  0,
                  12000,
                  {{kKeyDownMessage, kLeftKey, kFirstDown}}},
                 {kPadDown,
                  2,
                  SDL_CONTROLLER_BUTTON_START,
                  0,
                  12000,
                  {{kKeyDownMessage, kStart, kFirstDown}}},
                 {kUnplug, 1, 0, 0, 12000, {{kKeyUpMessage, kLeftKey, kUp}}},
                 {kTick, 0, 0, 0, 20000, {{kKeyDownMessage, kStart, kRepeatDown}}}});
}

}  // namespace
}  // namespace wince::desktop
