#include "wince/desktop/keymap.h"

#include <SDL.h>

#include <algorithm>
#include <array>

#include "wince/player/key_file.h"
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

KeyMapLoad Apply(const ConfText &conf) {
    static const KeyNaming naming{[](const std::string &name) -> std::optional<int32_t> {
                                      const SDL_Keycode key = SDL_GetKeyFromName(name.c_str());
                                      if (key == SDLK_UNKNOWN) return std::nullopt;
                                      return key;
                                  },
                                  KeyName,
                                  [](int32_t key) -> const char * {
                                      const DesktopKey *own = FindDesktopKey(key);
                                      return own != nullptr ? own->use : nullptr;
                                  }};
    KeyCodes defaults;
    for (const DefaultBinding &binding : kDefaults) defaults[binding.key] = binding.code;
    KeyFileLoad applied = ApplyKeyFile(conf, std::move(defaults), naming);
    KeyMapLoad load{{}, std::move(applied.warnings)};
    for (const auto &[key, code] : applied.codes) load.map.Bind(key, code);
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
