#include "wince/desktop/keymap.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <set>
#include <sstream>
#include <system_error>

#include "wince/seam/device_codes.h"
#include "wince/seam/host.h"

namespace wince::desktop {

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

struct DefaultBinding {
    SDL_Keycode key;
    uint8_t code;
};

// Every key of the defaults starts a game from the idle screen; b and start
// get two keys each so that either hand finds one.
constexpr std::array<DefaultBinding, 11> kDefaults{{
    {SDLK_UP, kUpKey},
    {SDLK_DOWN, kDownKey},
    {SDLK_LEFT, kLeftKey},
    {SDLK_RIGHT, kRightKey},
    {SDLK_SPACE, kButtonA},
    {SDLK_z, kButtonB},
    {SDLK_LCTRL, kButtonB},
    {SDLK_x, kButtonStart},
    {SDLK_TAB, kButtonStart},
    {SDLK_RETURN, kReturnKey},
    {SDLK_KP_ENTER, kReturnKey},
}};

// A key map is a few lines; anything much larger is not one, and a garbled
// file should not flood the terminal.
constexpr std::uintmax_t kMaxFileSize = 64 * 1024;
constexpr size_t kMaxWarnings = 8;

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char &c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

struct Binding {
    SDL_Keycode key;
    uint8_t code;
};

// Whether the line is UTF-8 text without control characters: a name is
// passed on to SDL as a C string and echoed in warnings on the terminal.
bool IsText(std::string_view line) {
    const auto controls = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && byte != '\t') || byte == 0x7F;
    };
    return FromUtf8Exact(line).has_value() && std::none_of(line.begin(), line.end(), controls);
}

// One line of the file; nothing for a blank or comment line, an error
// message for a line that cannot be read.
std::optional<Binding> ParseLine(std::string_view line, std::string &error) {
    line = Trim(line);
    if (line.empty() || line.front() == '#') return std::nullopt;
    if (!IsText(line)) {
        error = "not text (a control character or bytes that are not UTF-8)";
        return std::nullopt;
    }
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
        error = "expected ACTION = KEY";
        return std::nullopt;
    }
    const std::string action = Lower(Trim(line.substr(0, equals)));
    const std::string keyName(Trim(line.substr(equals + 1)));
    const DeviceKey *device = FindDeviceKey(action);
    if (device == nullptr) {
        error = "unknown action \"" + action + "\"";
        return std::nullopt;
    }
    const SDL_Keycode key = keyName.empty() ? SDLK_UNKNOWN : SDL_GetKeyFromName(keyName.c_str());
    if (key == SDLK_UNKNOWN) {
        error = "unknown key name \"" + keyName + "\"";
        return std::nullopt;
    }
    return Binding{key, device->code};
}

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

void KeyMap::UnbindCode(uint8_t code) {
    std::erase_if(codes_, [code](const auto &entry) { return entry.second == code; });
}

std::optional<uint8_t> KeyMap::Find(int32_t key) const {
    const auto it = codes_.find(key);
    if (it == codes_.end()) return std::nullopt;
    return it->second;
}

std::vector<int32_t> KeyMap::KeysFor(uint8_t code) const {
    std::vector<int32_t> keys;
    for (const auto &[key, bound] : codes_) {
        if (bound == code) keys.push_back(key);
    }
    return keys;
}

KeyMap DefaultKeyMap() {
    KeyMap map;
    for (const DefaultBinding &binding : kDefaults) map.Bind(binding.key, binding.code);
    return map;
}

KeyMapLoad ParseKeyMap(std::string_view text) {
    KeyMapLoad load{DefaultKeyMap(), {}};
    std::vector<Binding> bindings;
    std::istringstream lines{std::string(text)};
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::string error;
        const auto binding = ParseLine(line, error);
        for (const Binding &earlier : bindings) {
            if (binding && earlier.key == binding->key && earlier.code != binding->code)
                error = "the key \"" + KeyName(binding->key) + "\" is given two actions";
        }
        if (!error.empty() && load.warnings.size() < kMaxWarnings)
            load.warnings.push_back("line " + std::to_string(number) + ": " + error);
        if (binding) bindings.push_back(*binding);
    }
    if (!load.warnings.empty()) return load;
    std::set<uint8_t> named;
    for (const Binding &binding : bindings) {
        if (named.insert(binding.code).second) load.map.UnbindCode(binding.code);
        load.map.Bind(binding.key, binding.code);
    }
    return load;
}

KeyMapLoad LoadKeyMap(const std::filesystem::path &file) {
    std::error_code error;
    if (!std::filesystem::exists(file, error)) return {DefaultKeyMap(), {}};
    if (!std::filesystem::is_regular_file(file, error) || file_size(file, error) > kMaxFileSize)
        return {DefaultKeyMap(), {"not a key map file"}};
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) return {DefaultKeyMap(), {"cannot be read"}};
    return ParseKeyMap(text.str());
}

std::string KeyName(int32_t key) {
    return SDL_GetKeyName(key);
}

}  // namespace wince::desktop
