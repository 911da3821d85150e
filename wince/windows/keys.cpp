#include "wince/windows/keys.h"

#include <windows.h>

#include <array>

namespace wince::windows {

namespace {

// A key: its virtual-key code, with kExtended added for the keys that share
// one (the keypad's Enter and slash).
constexpr int32_t kExtended = 0x100;

struct NamedKey {
    int32_t key;
    const char *name;
};

// The names as the other desktop spells them, so that one keys.conf serves
// both. Letters and digits are named by themselves, F keys as "F1".
constexpr std::array<NamedKey, 56> kNames{{
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
    {VK_NUMLOCK, "Numlock"},
    {VK_SCROLL, "ScrollLock"},
    {VK_APPS, "Menu"},
    {VK_SNAPSHOT, "PrintScreen"},
}};

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

}  // namespace

std::string KeyNameFromMessage(uintptr_t wParam, intptr_t lParam) {
    const int32_t key = KeyFromMessage(wParam, lParam);
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F24) {
        std::string function(1, 'F');
        return function.append(std::to_string(key - VK_F1 + 1));
    }
    for (const NamedKey &named : kNames)
        if (named.key == key) return named.name;
    return "?";
}

}  // namespace wince::windows
