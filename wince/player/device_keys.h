// The keys the game knows, by the names the key map file (keys.conf) gives
// them: the same on every desktop host.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace wince::player {

struct DeviceKey {
    const char *name;
    uint8_t code;
    const char *use;  // what the game does with it, for the help text
};

// up, down, left, right, a (195), b (196), start (197), return.
std::span<const DeviceKey> DeviceKeys();
// By its lower-case name; null for none.
const DeviceKey *FindDeviceKey(std::string_view name);

}  // namespace wince::player
