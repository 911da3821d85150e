// The device's message numbers and key codes that input from a host is made
// of. They carry names of their own so that a host can include its
// platform's headers, which define the device's names as macros.
#pragma once

#include <cstdint>

namespace wince::device {

inline constexpr uint32_t kKeyDownMessage = 0x0100;
inline constexpr uint32_t kKeyUpMessage = 0x0101;
inline constexpr uint32_t kStylusMoveMessage = 0x0200;
inline constexpr uint32_t kStylusDownMessage = 0x0201;
inline constexpr uint32_t kStylusUpMessage = 0x0202;

// The key codes the game knows: the direction keys, Return and the three
// hardware buttons.
inline constexpr uint8_t kReturnKey = 0x0D;
inline constexpr uint8_t kLeftKey = 0x25;
inline constexpr uint8_t kUpKey = 0x26;
inline constexpr uint8_t kRightKey = 0x27;
inline constexpr uint8_t kDownKey = 0x28;
inline constexpr uint8_t kButtonA = 195;
inline constexpr uint8_t kButtonB = 196;
inline constexpr uint8_t kButtonStart = 197;

// Key messages carry a repeat count of 1; bit 30 marks a key that was
// already down, bit 31 a key going up, as the device's window system does.
inline constexpr intptr_t kKeyFirstDown = 1;
inline constexpr intptr_t kKeyRepeatDown = kKeyFirstDown | (intptr_t{1} << 30);
inline constexpr intptr_t kKeyGoingUp = kKeyRepeatDown | (intptr_t{1} << 31);

// Stylus messages: the button flag while it touches, the point in lParam.
inline constexpr uintptr_t kStylusHeld = 0x0001;
constexpr intptr_t StylusPoint(int x, int y) {
    return static_cast<intptr_t>(static_cast<uint32_t>(static_cast<uint16_t>(x)) |
                                 static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16);
}

}  // namespace wince::device
