#include "wince/web/keys.h"

#include <algorithm>
#include <array>

namespace wince::web {

namespace {

constexpr std::array<NamedCode, 48> kNamed{{
    {"ArrowUp", "Up"},
    {"ArrowDown", "Down"},
    {"ArrowLeft", "Left"},
    {"ArrowRight", "Right"},
    {"Space", "Space"},
    {"Enter", "Return"},
    {"NumpadEnter", "Keypad Enter"},
    {"Tab", "Tab"},
    {"Backspace", "Backspace"},
    {"Escape", "Escape"},
    {"ControlLeft", "Left Ctrl"},
    {"ControlRight", "Right Ctrl"},
    {"ShiftLeft", "Left Shift"},
    {"ShiftRight", "Right Shift"},
    {"AltLeft", "Left Alt"},
    {"AltRight", "Right Alt"},
    {"MetaLeft", "Left GUI"},
    {"MetaRight", "Right GUI"},
    {"OSLeft", "Left GUI"},  // older browsers' name for the logo keys
    {"OSRight", "Right GUI"},
    {"Insert", "Insert"},
    {"Delete", "Delete"},
    {"Home", "Home"},
    {"End", "End"},
    {"PageUp", "PageUp"},
    {"PageDown", "PageDown"},
    {"CapsLock", "CapsLock"},
    {"NumLock", "Numlock"},
    {"ScrollLock", "ScrollLock"},
    {"Pause", "Pause"},
    {"NumpadAdd", "Keypad +"},
    {"NumpadSubtract", "Keypad -"},
    {"NumpadMultiply", "Keypad *"},
    {"NumpadDivide", "Keypad /"},
    {"NumpadDecimal", "Keypad ."},
    {"Comma", ","},
    {"Period", "."},
    {"Slash", "/"},
    {"Semicolon", ";"},
    {"Quote", "'"},
    {"BracketLeft", "["},
    {"BracketRight", "]"},
    {"Backslash", "\\"},
    {"Minus", "-"},
    {"Equal", "="},
    {"Backquote", "`"},
    {"ContextMenu", "Menu"},
    {"PrintScreen", "PrintScreen"},
}};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::span<const NamedCode> NamedCodes() {
    return kNamed;
}

// Letters, digits and F1 to F24 are named by themselves; the keypad's digits
// as "Keypad 0".
std::optional<std::string> KeyName(std::string_view code) {
    for (const NamedCode &named : kNamed)
        if (code == named.code) return named.name;
    // The one character after prefix; none where the code is another.
    const auto last = [code](std::string_view prefix) {
        return code.size() == prefix.size() + 1 && code.starts_with(prefix) ? code.back() : '\0';
    };
    if (const char c = last("Key"); c >= 'A' && c <= 'Z') return std::string(1, c);
    if (const char c = last("Digit"); IsDigit(c)) return std::string(1, c);
    if (const char c = last("Numpad"); IsDigit(c)) return "Keypad " + std::string(1, c);
    const std::string_view number = code.substr(std::min<size_t>(code.size(), 1));
    if (code.starts_with('F') && (number.size() == 1 || number.size() == 2) && number[0] != '0' &&
        std::all_of(number.begin(), number.end(), IsDigit) && std::stoi(std::string(number)) <= 24)
        return std::string(code);
    return std::nullopt;
}

}  // namespace wince::web
