#include "wince/desktop/keymap.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <set>

#include "wince/player/conf_file.h"
#include "wince/seam/device_codes.h"

namespace wince::desktop {

namespace {

using namespace device;

constexpr std::array<DesktopKey, 6> kDesktopKeys{{
    {SDLK_F11, "full screen (also Alt+Enter)"},
    {SDLK_F12, "screenshot"},
    {SDLK_ESCAPE, "closes the window"},
    {SDLK_p, "pause"},
    {SDLK_PAUSE, "pause"},
    {SDLK_m, "sound off and on"},
}};

struct DefaultBinding {
    SDL_Keycode key;
    uint8_t code;
};

// Every key of the defaults starts a game from the idle screen; b and start
// get more than one key each so that either hand finds one, and Enter, the
// key most people try first, is b.
constexpr std::array<DefaultBinding, 11> kDefaults{{
    {SDLK_UP, kUpKey},
    {SDLK_DOWN, kDownKey},
    {SDLK_LEFT, kLeftKey},
    {SDLK_RIGHT, kRightKey},
    {SDLK_SPACE, kButtonA},
    {SDLK_z, kButtonB},
    {SDLK_LCTRL, kButtonB},
    {SDLK_RETURN, kButtonB},
    {SDLK_KP_ENTER, kButtonB},
    {SDLK_x, kButtonStart},
    {SDLK_TAB, kButtonStart},
}};

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
    quoted.append(cut < text.size() ? "...\"" : "\"");
    return quoted;
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
    const DeviceKey *device;
    int line;
};

// One line of the file; nothing, with the reason in error, for a line that
// cannot be used.
std::optional<Binding> ParseLine(const ConfLine &line, const std::vector<Binding> &earlier,
                                 std::string &error) {
    const DeviceKey *device = FindDeviceKey(Lower(line.name));
    if (device == nullptr) {
        error = "unknown action " + Quoted(line.name);
        return std::nullopt;
    }
    const SDL_Keycode key =
        line.value.empty() ? SDLK_UNKNOWN : SDL_GetKeyFromName(line.value.c_str());
    if (key == SDLK_UNKNOWN) {
        error = "unknown key name " + Quoted(line.value);
        return std::nullopt;
    }
    if (const DesktopKey *desktop = FindDesktopKey(key)) {
        error = Quoted(KeyName(key)) + " is the desktop's own key (" + desktop->use + ")";
        return std::nullopt;
    }
    for (const Binding &other : earlier) {
        if (other.key == key && other.device != device) {
            error = "the key " + Quoted(KeyName(key)) + " already plays " + other.device->name +
                    " (line " + std::to_string(other.line) + ")";
            return std::nullopt;
        }
    }
    return Binding{key, device, line.number};
}

KeyMapLoad Apply(const ConfText &conf) {
    KeyMapLoad load{DefaultKeyMap(), {}};
    std::vector<ConfProblem> problems = conf.problems;
    std::vector<Binding> bindings;
    for (const ConfLine &line : conf.lines) {
        std::string error;
        if (auto binding = ParseLine(line, bindings, error))
            bindings.push_back(*binding);
        else
            problems.push_back({line.number, error});
    }
    load.warnings = Warnings(problems);
    std::set<uint8_t> named;
    for (const Binding &binding : bindings) {
        if (named.insert(binding.device->code).second) load.map.UnbindCode(binding.device->code);
        load.map.Bind(binding.key, binding.device->code);
    }
    return load;
}

}  // namespace

std::span<const DesktopKey> DesktopKeys() {
    return kDesktopKeys;
}

const DesktopKey *FindDesktopKey(int32_t key) {
    for (const DesktopKey &desktop : kDesktopKeys) {
        if (desktop.key == key) return &desktop;
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
    return Apply(ReadConfText(text));
}

KeyMapLoad LoadKeyMap(const std::filesystem::path &file) {
    return Apply(ReadConfFile(file));
}

std::string KeyName(int32_t key) {
    return SDL_GetKeyName(key);
}

}  // namespace wince::desktop
