// Which keyboard key delivers which of the device's key codes, and the file
// in which a player can change that.
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

namespace wince::desktop {

// The keys the desktop keeps for itself (full screen, screenshot, pause,
// sound, closing): they never reach the game and no action may take them.
struct DesktopKey {
    int32_t key;  // SDL key code
    const char *use;
};
std::span<const DesktopKey> DesktopKeys();
const DesktopKey *FindDesktopKey(int32_t key);

// Keyboard keys, by SDL key code, to device key codes.
class KeyMap {
public:
    void Bind(int32_t key, uint8_t code) { codes_[key] = code; }
    void Unbind(int32_t key) { codes_.erase(key); }
    void UnbindCode(uint8_t code);
    std::optional<uint8_t> Find(int32_t key) const;
    std::vector<int32_t> KeysFor(uint8_t code) const;
    bool operator==(const KeyMap &) const = default;

private:
    std::map<int32_t, uint8_t> codes_;
};

KeyMap DefaultKeyMap();

struct KeyMapLoad {
    KeyMap map;
    std::vector<std::string> warnings;  // one for each line not used, by its number
};

// Reads a key map over the defaults. Each line is "ACTION = KEY", KEY being
// a key name as SDL spells it ("Left Ctrl", "Space", "Z"); lines starting
// with # and blank lines are skipped. An action the file names loses its
// default keys and gets the file's (one line per key); a key the file binds
// leaves the action it had by default. A line that cannot be used (an
// unknown action or key, a desktop key, a key already given another action,
// no text) is named in the warnings and skipped; the others count.
KeyMapLoad ParseKeyMap(std::string_view text);

// As ParseKeyMap on a file; a missing file gives the defaults without a
// warning, one that is no text file the defaults with one.
KeyMapLoad LoadKeyMap(const std::filesystem::path &file);

// SDL's name of a key, as the file would spell it.
std::string KeyName(int32_t key);

}  // namespace wince::desktop
