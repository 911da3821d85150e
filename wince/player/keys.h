// Keyboard keys by name, the same on every host: each host names its keys as
// this file spells them ("Left", "Space", "Left Ctrl", "Z", "F11"), keys.conf
// uses the same names, and so one keys.conf serves every host.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wince::player {

// A key's name as keys.conf and the help spell it, for a name written in any
// case; nothing for a name no host gives a key.
std::optional<std::string> CanonicalKeyName(std::string_view name);

// Shift, Ctrl, Alt, the logo keys and the locks: alone they do not end a
// pause (Alt+Tab back to the window would).
bool IsModifier(std::string_view name);

// The keys the player keeps for itself (full screen, screenshot, closing,
// pause, sound): they never reach the game and no action may take them.
enum class HostAction : uint8_t { FullScreen, Screenshot, Close, Pause, Mute };
struct ReservedKey {
    const char *name;
    HostAction action;
    const char *use;
};
std::span<const ReservedKey> ReservedKeys();
const ReservedKey *FindReservedKey(std::string_view name);

// Keyboard keys, by name, to the device's key codes.
class KeyMap {
public:
    void Bind(std::string_view key, uint8_t code);
    void UnbindCode(uint8_t code);
    std::optional<uint8_t> Find(std::string_view key) const;
    std::vector<std::string> KeysFor(uint8_t code) const;  // canonical names
    bool operator==(const KeyMap &) const = default;

private:
    std::map<std::string, uint8_t> codes_;  // by lower-case name
};

// Every default key starts a game from the idle screen; b and start get more
// than one key each so that either hand finds one, and Enter, the key most
// people try first, is b.
KeyMap DefaultKeyMap();

struct KeyMapLoad {
    KeyMap map;
    std::vector<std::string> warnings;  // one for each line not used, by its number
};

// keys.conf over the defaults. Each line is "ACTION = KEY"; lines starting
// with # and blank lines are skipped. An action the file names loses its
// default keys and gets the file's (one line per key); a key the file binds
// leaves the action it had by default. A line that cannot be used (an unknown
// action or key, a reserved key, a key already given another action, no
// text) is named in the warnings and skipped; the others count.
KeyMapLoad ParseKeyMap(std::string_view text);
// The same for a file; a missing file gives the defaults without a warning,
// one that is no text file the defaults with one.
KeyMapLoad LoadKeyMap(const std::filesystem::path &file);

}  // namespace wince::player
