#include "wince/player/device_keys.h"

#include <array>

#include "wince/seam/device_codes.h"

namespace wince::player {

namespace {

using namespace device;

constexpr std::array<DeviceKey, 8> kDeviceKeys{{
    {"up", kUpKey, "rotate"},
    {"down", kDownKey, "one row down"},
    {"left", kLeftKey, "one column left"},
    {"right", kRightKey, "one column right"},
    {"a", kButtonA, "hard drop; ends the intro"},
    {"b", kButtonB, "ends the intro"},
    {"start", kButtonStart, "ends the intro"},
    {"return", kReturnKey, "not used by the game"},
}};

}  // namespace

std::span<const DeviceKey> DeviceKeys() {
    return kDeviceKeys;
}

const DeviceKey *FindDeviceKey(std::string_view name) {
    for (const DeviceKey &key : kDeviceKeys) {
        if (name == key.name) return &key;
    }
    return nullptr;
}

}  // namespace wince::player
