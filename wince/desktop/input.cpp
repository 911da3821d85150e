#include "wince/desktop/input.h"

#include <algorithm>
#include <array>

#include "wince/seam/device_codes.h"

namespace wince::desktop {

namespace {

using namespace device;

struct PadBinding {
    SDL_GameControllerButton button;
    uint8_t code;
};
constexpr std::array<PadBinding, 7> kPadButtons{{
    {SDL_CONTROLLER_BUTTON_DPAD_UP, kUpKey},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, kDownKey},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, kLeftKey},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, kRightKey},
    {SDL_CONTROLLER_BUTTON_A, kButtonA},
    {SDL_CONTROLLER_BUTTON_B, kButtonB},
    {SDL_CONTROLLER_BUTTON_START, kButtonStart},
}};

// The left stick stands in for the d-pad. It counts as pushed past half
// way and as let go below a third, so a stick resting near the line does
// not flutter.
constexpr int kStickPush = 16384;
constexpr int kStickLetGo = 10923;

int StickDirection(int previous, int value) {
    const int threshold = previous == 0 ? kStickPush : kStickLetGo;
    if (value >= threshold) return 1;
    if (value <= -threshold) return -1;
    return 0;
}

uint8_t StickCode(int axis, int direction) {
    if (axis == SDL_CONTROLLER_AXIS_LEFTX) return direction < 0 ? kLeftKey : kRightKey;
    return direction < 0 ? kUpKey : kDownKey;
}

}  // namespace

void InputTranslator::SetLayout(const ScreenRect &rect, double pixelsPerUnitX,
                                double pixelsPerUnitY) {
    rect_ = rect;
    unitX_ = pixelsPerUnitX;
    unitY_ = pixelsPerUnitY;
}

void InputTranslator::Translate(const SDL_Event &event, uint64_t nowMs,
                                std::vector<DeviceMessage> &out) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            Key(event.key, nowMs, out);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            MouseButton(event.button, nowMs, out);
            break;
        case SDL_MOUSEMOTION:
            MouseMotion(event.motion, out);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            PadButtonEvent(event.cbutton, nowMs, out);
            break;
        case SDL_CONTROLLERAXISMOTION:
            PadAxis(event.caxis, nowMs, out);
            break;
        default:
            break;
    }
}

void InputTranslator::Key(const SDL_KeyboardEvent &key, uint64_t nowMs,
                          std::vector<DeviceMessage> &out) {
    const auto code = keys_.Find(key.keysym.sym);
    if (!code) return;
    if (key.type == SDL_KEYUP) {
        out.push_back({kKeyUpMessage, *code, kKeyGoingUp, keyPressedMs_[*code] + kShortestPressMs});
    } else if (key.repeat != 0) {
        out.push_back({kKeyDownMessage, *code, kKeyRepeatDown});
    } else {
        keyPressedMs_[*code] = nowMs;
        out.push_back({kKeyDownMessage, *code, kKeyFirstDown});
    }
}

intptr_t InputTranslator::StylusAt(int x, int y, bool clamp, bool &onScreen) const {
    const double px = x * unitX_, py = y * unitY_;
    ScreenPoint point;
    if (clamp) {
        point = ToScreenClamped(rect_, px, py);
        onScreen = true;
    } else {
        const auto inside = ToScreen(rect_, px, py);
        onScreen = inside.has_value();
        if (inside) point = *inside;
    }
    return StylusPoint(point.x, point.y);
}

// A press on the bars is no touch of the screen. A lift is delivered for
// every press that was, wherever the pointer went meanwhile.
void InputTranslator::MouseButton(const SDL_MouseButtonEvent &button, uint64_t nowMs,
                                  std::vector<DeviceMessage> &out) {
    if (button.button != SDL_BUTTON_LEFT) return;
    bool onScreen = false;
    if (button.type == SDL_MOUSEBUTTONDOWN) {
        const intptr_t at = StylusAt(button.x, button.y, false, onScreen);
        if (!onScreen || stylusDown_) return;
        stylusDown_ = true;
        touchedAtMs_ = nowMs;
        out.push_back({kStylusDownMessage, kStylusHeld, at});
    } else if (stylusDown_) {
        stylusDown_ = false;
        out.push_back({kStylusUpMessage, 0, StylusAt(button.x, button.y, true, onScreen),
                       touchedAtMs_ + kShortestPressMs});
    }
}

void InputTranslator::MouseMotion(const SDL_MouseMotionEvent &motion,
                                  std::vector<DeviceMessage> &out) const {
    if (!stylusDown_) return;  // the stylus moves only while it touches
    bool onScreen = false;
    out.push_back({kStylusMoveMessage, kStylusHeld, StylusAt(motion.x, motion.y, true, onScreen)});
}

void InputTranslator::PadButtonEvent(const SDL_ControllerButtonEvent &button, uint64_t nowMs,
                                     std::vector<DeviceMessage> &out) {
    for (const PadBinding &binding : kPadButtons) {
        if (binding.button != button.button) continue;
        const PadButton held{button.which, binding.code};
        if (button.state == SDL_PRESSED)
            Press(held, nowMs, out);
        else
            Release(held, out);
    }
}

void InputTranslator::PadAxis(const SDL_ControllerAxisEvent &axis, uint64_t nowMs,
                              std::vector<DeviceMessage> &out) {
    if (axis.axis != SDL_CONTROLLER_AXIS_LEFTX && axis.axis != SDL_CONTROLLER_AXIS_LEFTY) return;
    int &direction = stick_[{axis.which, axis.axis}];
    const int now = StickDirection(direction, axis.value);
    if (now == direction) return;
    if (direction != 0) Release({axis.which, StickCode(axis.axis, direction)}, out);
    if (now != 0) Press({axis.which, StickCode(axis.axis, now)}, nowMs, out);
    direction = now;
}

void InputTranslator::Press(PadButton button, uint64_t nowMs, std::vector<DeviceMessage> &out) {
    if (!held_.emplace(button, Held{nowMs, nowMs + kPadRepeatDelayMs}).second) return;
    out.push_back({kKeyDownMessage, button.second, kKeyFirstDown});
}

void InputTranslator::Release(PadButton button, std::vector<DeviceMessage> &out) {
    const auto it = held_.find(button);
    if (it == held_.end()) return;
    out.push_back(
        {kKeyUpMessage, button.second, kKeyGoingUp, it->second.pressedMs + kShortestPressMs});
    held_.erase(it);
}

void InputTranslator::Repeat(uint64_t nowMs, std::vector<DeviceMessage> &out) {
    for (auto &[button, held] : held_) {
        if (nowMs < held.repeatMs) continue;
        out.push_back({kKeyDownMessage, button.second, kKeyRepeatDown});
        held.repeatMs = nowMs + kPadRepeatIntervalMs;
    }
}

std::optional<uint64_t> InputTranslator::NextRepeatMs() const {
    std::optional<uint64_t> next;
    for (const auto &[button, held] : held_)
        next = std::min(next.value_or(held.repeatMs), held.repeatMs);
    return next;
}

void InputTranslator::ReleasePad(SDL_JoystickID pad, std::vector<DeviceMessage> &out) {
    for (auto it = held_.begin(); it != held_.end();) {
        if (it->first.first == pad) {
            out.push_back({kKeyUpMessage, it->first.second, kKeyGoingUp});  // unplugged: no wait
            it = held_.erase(it);
        } else {
            ++it;
        }
    }
    std::erase_if(stick_, [pad](const auto &entry) { return entry.first.first == pad; });
}

}  // namespace wince::desktop
