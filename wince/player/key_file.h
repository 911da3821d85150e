// keys.conf, one "ACTION = KEY" a line: which keyboard key plays which of the
// device's keys. Every desktop host reads the same file; each says how it
// names its keys and which it keeps for itself.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "wince/player/conf_file.h"

namespace wince::desktop {

using KeyCodes = std::map<int32_t, uint8_t>;  // keyboard key: device key code

struct KeyNaming {
    // The key a name in the file stands for; nothing for an unknown name.
    std::function<std::optional<int32_t>(const std::string &)> find;
    std::function<std::string(int32_t)> name;
    // What the host keeps a key for; null where the game may have it.
    std::function<const char *(int32_t)> hostUse;
};

struct KeyFileLoad {
    KeyCodes codes;
    std::vector<std::string> warnings;  // one for each line not used, by its number
};

// The defaults, with what the file changes: an action the file names loses
// its default keys and gets the file's (one line per key); a key the file
// binds leaves the action it had by default. A line that cannot be used (an
// unknown action or key, a host's key, a key already given another action,
// no text) is named in the warnings and skipped; the others count.
KeyFileLoad ApplyKeyFile(const ConfText &conf, KeyCodes defaults, const KeyNaming &naming);

// Names in these files compare without regard to case (ASCII).
std::string Lower(std::string_view text);

}  // namespace wince::desktop
