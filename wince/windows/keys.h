// Keyboard keys on Windows by the names the player gives keys
// (wince/player/keys.h), so that one keys.conf serves every host.
#pragma once

#include <cstdint>
#include <string>

namespace wince::windows {

// The name of the key a WM_KEYDOWN or WM_KEYUP is about, from its wParam and
// lParam; "?" for a key without one.
std::string KeyNameFromMessage(uintptr_t wParam, intptr_t lParam);

}  // namespace wince::windows
