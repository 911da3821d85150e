// Desktop input made into the device's messages: keyboard keys through the
// key map, the mouse (or a finger) as the stylus, game pads as the buttons.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "wince/desktop/keymap.h"
#include "wince/desktop/viewport.h"
#include "wince/seam/host.h"

namespace wince::desktop {

// A message for the game's window, and the time (on the translator's
// clock) before which it must not be delivered.
struct DeviceMessage {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
    uint64_t notBeforeMs = 0;
    bool operator==(const DeviceMessage &) const = default;
};

// A finger on a button or a stylus on the screen stays longer than a frame;
// a mouse click, a touchpad tap or a key struck by a program may not. The
// game sees only what is still down when a frame runs, so a key-up or a
// stylus lift comes at least this long after its press.
inline constexpr uint64_t kShortestPressMs = 60;

// A held pad button repeats its key-down as a held key does on the device.
inline constexpr uint64_t kPadRepeatDelayMs = 300;
inline constexpr uint64_t kPadRepeatIntervalMs = 50;

class InputTranslator {
public:
    explicit InputTranslator(KeyMap keys) : keys_(std::move(keys)) {}

    // Where the screen lies in the drawable area, and how many drawable
    // pixels one unit of the window's (mouse) coordinates spans.
    void SetLayout(const ScreenRect &rect, double pixelsPerUnitX, double pixelsPerUnitY);

    // Appends the messages an event makes; events that are not input make
    // none. nowMs is any steady millisecond clock (it times pad repeats).
    void Translate(const SDL_Event &event, uint64_t nowMs, std::vector<DeviceMessage> &out);

    // Key-downs of held pad buttons whose repeat is due. After a long pause
    // one repeat comes, not a burst.
    void Repeat(uint64_t nowMs, std::vector<DeviceMessage> &out);

    // Whether a keyboard key plays a device key.
    bool Maps(int32_t key) const { return keys_.Find(key).has_value(); }

    // When the next pad repeat is due; nothing while no pad button is held.
    std::optional<uint64_t> NextRepeatMs() const;

    // A pad was unplugged: its held buttons go up.
    void ReleasePad(SDL_JoystickID pad, std::vector<DeviceMessage> &out);

private:
    using PadButton = std::pair<SDL_JoystickID, uint8_t>;  // pad, device key code

    void Key(const SDL_KeyboardEvent &key, uint64_t nowMs, std::vector<DeviceMessage> &out);
    void MouseButton(const SDL_MouseButtonEvent &button, uint64_t nowMs,
                     std::vector<DeviceMessage> &out);
    void MouseMotion(const SDL_MouseMotionEvent &motion, std::vector<DeviceMessage> &out) const;
    void PadButtonEvent(const SDL_ControllerButtonEvent &button, uint64_t nowMs,
                        std::vector<DeviceMessage> &out);
    void PadAxis(const SDL_ControllerAxisEvent &axis, uint64_t nowMs,
                 std::vector<DeviceMessage> &out);
    void Press(PadButton button, uint64_t nowMs, std::vector<DeviceMessage> &out);
    void Release(PadButton button, std::vector<DeviceMessage> &out);
    intptr_t StylusAt(int x, int y, bool clamp, bool &onScreen) const;

    KeyMap keys_;
    ScreenRect rect_;
    double unitX_ = 1.0, unitY_ = 1.0;
    bool stylusDown_ = false;
    uint64_t touchedAtMs_ = 0;
    struct Held {
        uint64_t pressedMs, repeatMs;
    };
    std::map<uint8_t, uint64_t> keyPressedMs_;  // device key code: its last first key-down
    std::map<PadButton, Held> held_;
    std::map<std::pair<SDL_JoystickID, int>, int> stick_;  // pad, axis: -1, 0 or 1
};

}  // namespace wince::desktop
