// The key map: the defaults and keys.conf over them.
#include "wince/player/keys.h"

#include <algorithm>
#include <array>
#include <set>

#include "wince/player/conf_file.h"
#include "wince/player/device_keys.h"
#include "wince/seam/device_codes.h"

namespace wince::player {

namespace {

using namespace device;

struct DefaultBinding {
    const char *key;
    uint8_t code;
};
constexpr std::array<DefaultBinding, 11> kDefaults{{
    {"Up", kUpKey},
    {"Down", kDownKey},
    {"Left", kLeftKey},
    {"Right", kRightKey},
    {"Space", kButtonA},
    {"Z", kButtonB},
    {"Left Ctrl", kButtonB},
    {"Return", kButtonB},
    {"Keypad Enter", kButtonB},
    {"X", kButtonStart},
    {"Tab", kButtonStart},
}};

struct Binding {
    std::string key;  // canonical
    const DeviceKey *device;
    int line;
};

// A name from the file as a warning quotes it: cut short, so a long line
// stays one line, never inside a character, and a tab or carriage return
// inside it shown as a space.
std::string Quoted(std::string_view text) {
    constexpr size_t kLongest = 32;
    size_t cut = std::min(text.size(), kLongest);
    while (cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    std::string quoted(1, '"');
    for (const char c : text.substr(0, cut))
        quoted += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    return quoted.append(cut < text.size() ? "...\"" : "\"");
}

// One line of the file; nothing, with the reason in error, for a line that
// cannot be used.
std::optional<Binding> ParseLine(const ConfLine &line, const std::vector<Binding> &earlier,
                                 std::string &error) {
    const DeviceKey *device = FindDeviceKey(Lower(line.name));
    if (device == nullptr) {
        error = "unknown action " + Quoted(line.name);
        return std::nullopt;
    }
    const std::optional<std::string> key = CanonicalKeyName(line.value);
    if (!key) {
        error = "unknown key name " + Quoted(line.value);
        return std::nullopt;
    }
    if (const ReservedKey *reserved = FindReservedKey(*key)) {
        error = Quoted(*key) + " is the desktop's own key (" + reserved->use + ")";
        return std::nullopt;
    }
    for (const Binding &other : earlier) {
        if (other.key == *key && other.device != device) {
            error = "the key " + Quoted(*key) + " already plays " + other.device->name + " (line " +
                    std::to_string(other.line) + ")";
            return std::nullopt;
        }
    }
    return Binding{*key, device, line.number};
}

KeyMapLoad Apply(const ConfText &conf) {
    std::vector<ConfProblem> problems = conf.problems;
    std::vector<Binding> bindings;
    for (const ConfLine &line : conf.lines) {
        std::string error;
        if (auto binding = ParseLine(line, bindings, error))
            bindings.push_back(*binding);
        else
            problems.push_back({line.number, error});
    }
    KeyMapLoad load{DefaultKeyMap(), Warnings(problems)};
    std::set<uint8_t> named;
    for (const Binding &binding : bindings) {
        if (named.insert(binding.device->code).second) load.map.UnbindCode(binding.device->code);
        load.map.Bind(binding.key, binding.device->code);
    }
    return load;
}

}  // namespace

void KeyMap::Bind(std::string_view key, uint8_t code) {
    codes_[Lower(key)] = code;
}

void KeyMap::UnbindCode(uint8_t code) {
    std::erase_if(codes_, [code](const auto &entry) { return entry.second == code; });
}

std::optional<uint8_t> KeyMap::Find(std::string_view key) const {
    const auto it = codes_.find(Lower(key));
    if (it == codes_.end()) return std::nullopt;
    return it->second;
}

std::vector<std::string> KeyMap::KeysFor(uint8_t code) const {
    std::vector<std::string> keys;
    for (const auto &[key, bound] : codes_) {
        if (bound == code) keys.push_back(CanonicalKeyName(key).value_or(key));
    }
    return keys;
}

KeyMap DefaultKeyMap() {
    KeyMap map;
    for (const DefaultBinding &binding : kDefaults) map.Bind(binding.key, binding.code);
    return map;
}

KeyMapLoad ParseKeyMap(std::string_view text) {
    return Apply(ReadConfText(text));
}

KeyMapLoad LoadKeyMap(const std::filesystem::path &file) {
    return Apply(ReadConfFile(file));
}

}  // namespace wince::player
