// The browser's keys by the names the player gives them (wince/player/keys.h):
// the page hands over KeyboardEvent.code, where the key sits on the
// keyboard, so that Z is the same key whatever the layout prints on it.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace wince::web {

// The player's name for the key; nothing for one the player has no name for.
std::optional<std::string> KeyName(std::string_view code);

// The keys named one by one (letters, digits, F1 to F24 and the keypad's
// digits follow from their codes), for the test that every name is the
// player's.
struct NamedCode {
    const char *code;
    const char *name;
};
std::span<const NamedCode> NamedCodes();

}  // namespace wince::web
