// Keyboard keys on Windows and which of the device's keys they play, read
// from the same keys.conf as on the other desktop (key names spelled the
// same way: "Left Ctrl", "Space", "Z").
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "wince/player/device_keys.h"

namespace wince::windows {

// A key: its virtual-key code, with kExtended added for the keys that
// share one (the keypad's Enter, the right-hand Ctrl and Alt).
inline constexpr int32_t kExtended = 0x100;

// The key a WM_KEYDOWN or WM_KEYUP names, from its wParam and lParam.
int32_t KeyFromMessage(uintptr_t wParam, intptr_t lParam);

// The name keys.conf gives a key; "?" for a key without one.
std::string KeyName(int32_t key);

// The host's own keys, which never reach the game and no action may take.
struct HostKey {
    int32_t key;
    const char *use;
};
std::span<const HostKey> HostKeys();

using KeyMap = std::map<int32_t, uint8_t>;  // key: device key code
KeyMap DefaultKeyMap();

struct KeyMapLoad {
    KeyMap map;
    std::vector<std::string> warnings;  // one for each line not used, by its number
};

// The defaults, with what the file changes: an action it names loses its
// default keys and gets the file's; a line that cannot be used (an unknown
// action or key, a host key, a key already given another action) is named
// in the warnings and skipped. A missing file gives the defaults.
KeyMapLoad LoadKeyMap(const std::filesystem::path &file);

}  // namespace wince::windows
