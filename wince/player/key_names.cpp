// The names keys go by on every host, and the keys the player keeps.
#include <algorithm>
#include <array>

#include "wince/player/conf_file.h"
#include "wince/player/keys.h"

namespace wince::player {

namespace {

// Letters, digits and F1 to F24 are named by themselves; these by their names.
constexpr std::array<const char *, 56> kNamedKeys{
    "Up",       "Down",      "Left",     "Right",     "Space",      "Return",     "Keypad Enter",
    "Tab",      "Backspace", "Escape",   "Left Ctrl", "Right Ctrl", "Left Shift", "Right Shift",
    "Left Alt", "Right Alt", "Left GUI", "Right GUI", "Insert",     "Delete",     "Home",
    "End",      "PageUp",    "PageDown", "CapsLock",  "Numlock",    "ScrollLock", "Pause",
    "Keypad 0", "Keypad 1",  "Keypad 2", "Keypad 3",  "Keypad 4",   "Keypad 5",   "Keypad 6",
    "Keypad 7", "Keypad 8",  "Keypad 9", "Keypad +",  "Keypad -",   "Keypad *",   "Keypad /",
    "Keypad .", ",",         ".",        "/",         ";",          "'",          "[",
    "]",        "\\",        "-",        "=",         "`",          "Menu",       "PrintScreen",
};

constexpr std::array<const char *, 11> kModifiers{
    "Left Ctrl", "Right Ctrl", "Left Shift", "Right Shift", "Left Alt",  "Right Alt",
    "Left GUI",  "Right GUI",  "CapsLock",   "Numlock",     "ModeSwitch"};

constexpr std::array<ReservedKey, 6> kReserved{{
    {"F11", HostAction::FullScreen, "full screen (also Alt+Enter)"},
    {"F12", HostAction::Screenshot, "screenshot"},
    {"Escape", HostAction::Close, "closes the window"},
    {"P", HostAction::Pause, "pause"},
    {"Pause", HostAction::Pause, "pause"},
    {"M", HostAction::Mute, "sound off and on"},
}};

bool IsFunctionKey(std::string_view lower) {
    if (lower.size() < 2 || lower.size() > 3 || lower[0] != 'f' || lower[1] == '0') return false;
    if (!std::all_of(lower.begin() + 1, lower.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const int number = std::stoi(std::string(lower.substr(1)));
    return number >= 1 && number <= 24;
}

}  // namespace

std::optional<std::string> CanonicalKeyName(std::string_view name) {
    const std::string lower = Lower(name);
    if (lower.size() == 1 &&
        ((lower[0] >= 'a' && lower[0] <= 'z') || (lower[0] >= '0' && lower[0] <= '9')))
        return std::string(1, static_cast<char>(lower[0] >= 'a' ? lower[0] - 'a' + 'A' : lower[0]));
    if (IsFunctionKey(lower)) {
        std::string function(1, 'F');
        return function.append(lower, 1);
    }
    for (const char *named : kNamedKeys)
        if (Lower(named) == lower) return named;
    return std::nullopt;
}

bool IsModifier(std::string_view name) {
    const std::string lower = Lower(name);
    return std::any_of(kModifiers.begin(), kModifiers.end(),
                       [&](const char *modifier) { return Lower(modifier) == lower; });
}

std::span<const ReservedKey> ReservedKeys() {
    return kReserved;
}

const ReservedKey *FindReservedKey(std::string_view name) {
    const std::string lower = Lower(name);
    for (const ReservedKey &key : kReserved)
        if (Lower(key.name) == lower) return &key;
    return nullptr;
}

}  // namespace wince::player
