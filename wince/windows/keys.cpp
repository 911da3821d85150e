#include "wince/windows/keys.h"

#include <windows.h>

#include <algorithm>
#include <array>

#include "wince/player/key_file.h"
#include "wince/seam/device_codes.h"

namespace wince::windows {

namespace {

using namespace device;
using desktop::Lower;

struct NamedKey {
    int32_t key;
    const char *name;
};

// The names as the other desktop spells them, so that one keys.conf serves
// both. Letters and digits are named by themselves, F keys as "F1".
constexpr std::array<NamedKey, 52> kNames{{
    {VK_UP, "Up"},
    {VK_DOWN, "Down"},
    {VK_LEFT, "Left"},
    {VK_RIGHT, "Right"},
    {VK_SPACE, "Space"},
    {VK_RETURN, "Return"},
    {VK_RETURN + kExtended, "Keypad Enter"},
    {VK_TAB, "Tab"},
    {VK_BACK, "Backspace"},
    {VK_ESCAPE, "Escape"},
    {VK_LCONTROL, "Left Ctrl"},
    {VK_RCONTROL, "Right Ctrl"},
    {VK_LSHIFT, "Left Shift"},
    {VK_RSHIFT, "Right Shift"},
    {VK_LMENU, "Left Alt"},
    {VK_RMENU, "Right Alt"},
    {VK_INSERT, "Insert"},
    {VK_DELETE, "Delete"},
    {VK_HOME, "Home"},
    {VK_END, "End"},
    {VK_PRIOR, "PageUp"},
    {VK_NEXT, "PageDown"},
    {VK_CAPITAL, "CapsLock"},
    {VK_PAUSE, "Pause"},
    {VK_NUMPAD0, "Keypad 0"},
    {VK_NUMPAD1, "Keypad 1"},
    {VK_NUMPAD2, "Keypad 2"},
    {VK_NUMPAD3, "Keypad 3"},
    {VK_NUMPAD4, "Keypad 4"},
    {VK_NUMPAD5, "Keypad 5"},
    {VK_NUMPAD6, "Keypad 6"},
    {VK_NUMPAD7, "Keypad 7"},
    {VK_NUMPAD8, "Keypad 8"},
    {VK_NUMPAD9, "Keypad 9"},
    {VK_ADD, "Keypad +"},
    {VK_SUBTRACT, "Keypad -"},
    {VK_MULTIPLY, "Keypad *"},
    {VK_DIVIDE + kExtended, "Keypad /"},
    {VK_DECIMAL, "Keypad ."},
    {VK_OEM_COMMA, ","},
    {VK_OEM_PERIOD, "."},
    {VK_OEM_2, "/"},
    {VK_OEM_1, ";"},
    {VK_OEM_7, "'"},
    {VK_OEM_4, "["},
    {VK_OEM_6, "]"},
    {VK_OEM_5, "\\"},
    {VK_OEM_MINUS, "-"},
    {VK_OEM_PLUS, "="},
    {VK_OEM_3, "`"},
    {VK_LWIN, "Left GUI"},
    {VK_RWIN, "Right GUI"},
}};

constexpr std::array<HostKey, 6> kHostKeys{{
    {VK_F11, "full screen (also Alt+Enter)"},
    {VK_F12, "screenshot"},
    {VK_ESCAPE, "closes the window"},
    {'P', "pause"},
    {VK_PAUSE, "pause"},
    {'M', "sound off and on"},
}};

// As on the other desktop: every default key starts a game from the idle
// screen, and Enter, the key most people try first, is b.
constexpr std::array<std::pair<int32_t, uint8_t>, 11> kDefaults{{
    {VK_UP, kUpKey},
    {VK_DOWN, kDownKey},
    {VK_LEFT, kLeftKey},
    {VK_RIGHT, kRightKey},
    {VK_SPACE, kButtonA},
    {'Z', kButtonB},
    {VK_LCONTROL, kButtonB},
    {VK_RETURN, kButtonB},
    {VK_RETURN + kExtended, kButtonB},
    {'X', kButtonStart},
    {VK_TAB, kButtonStart},
}};

std::optional<int32_t> KeyFromName(std::string_view name) {
    const std::string lower = Lower(name);
    if (lower.size() == 1 &&
        ((lower[0] >= 'a' && lower[0] <= 'z') || (lower[0] >= '0' && lower[0] <= '9')))
        return static_cast<unsigned char>(name[0] >= 'a' && name[0] <= 'z' ? name[0] - 'a' + 'A'
                                                                           : name[0]);
    if (lower.size() >= 2 && lower.size() <= 3 && lower[0] == 'f') {
        const int number = std::atoi(lower.c_str() + 1);
        if (number >= 1 && number <= 24 && std::to_string(number) == lower.substr(1))
            return VK_F1 + number - 1;
    }
    for (const NamedKey &named : kNames)
        if (Lower(named.name) == lower) return named.key;
    return std::nullopt;
}

}  // namespace

int32_t KeyFromMessage(uintptr_t wParam, intptr_t lParam) {
    const bool extended = (lParam & (intptr_t{1} << 24)) != 0;
    const UINT scanCode = static_cast<UINT>((lParam >> 16) & 0xFF);
    switch (wParam) {
        case VK_SHIFT:
            return static_cast<int32_t>(MapVirtualKeyW(scanCode, MAPVK_VSC_TO_VK_EX));
        case VK_CONTROL:
            return extended ? VK_RCONTROL : VK_LCONTROL;
        case VK_MENU:
            return extended ? VK_RMENU : VK_LMENU;
        case VK_RETURN:
        case VK_DIVIDE:
            return static_cast<int32_t>(wParam) + (extended ? kExtended : 0);
        default:
            return static_cast<int32_t>(wParam);
    }
}

std::string KeyName(int32_t key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F24)
        return std::string(1, 'F').append(std::to_string(key - VK_F1 + 1));
    for (const NamedKey &named : kNames)
        if (named.key == key) return named.name;
    return "?";
}

std::span<const HostKey> HostKeys() {
    return kHostKeys;
}

KeyMap DefaultKeyMap() {
    return KeyMap(kDefaults.begin(), kDefaults.end());
}

KeyMapLoad LoadKeyMap(const std::filesystem::path &file) {
    static const desktop::KeyNaming naming{
        KeyFromName, KeyName, [](int32_t key) -> const char * {
            const auto own = std::find_if(kHostKeys.begin(), kHostKeys.end(),
                                          [key](const HostKey &host) { return host.key == key; });
            return own != kHostKeys.end() ? own->use : nullptr;
        }};
    desktop::KeyFileLoad applied =
        desktop::ApplyKeyFile(desktop::ReadConfFile(file), DefaultKeyMap(), naming);
    return {std::move(applied.codes), std::move(applied.warnings)};
}

}  // namespace wince::windows
