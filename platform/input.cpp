// Key and stylus messages turned into the flags and position that each frame
// polls, and the game access to the hardware buttons.
#include "platform/platform.h"

uint32_t KeyFlags[kKeyFlagCount] = {};
StylusStateRecord StylusState = {};

namespace {

constexpr UINT kNoFlag = kKeyFlagCount;
// The hardware buttons the device delivers as key codes.
constexpr WPARAM kDropButtonCode = 195, kButton196Code = 196, kButton197Code = 197;
constexpr int kDefaultKeysOption = 0;

UINT FlagOfKey(WPARAM code) {
    switch (code) {
        case VK_UP:
            return kKeyUp;
        case VK_DOWN:
            return kKeyDown;
        case VK_LEFT:
            return kKeyLeft;
        case VK_RIGHT:
            return kKeyRight;
        case VK_RETURN:
            return kKeyReturn;
        case kDropButtonCode:
            return kKeyDrop;
        case kButton196Code:
            return kKey196;
        case kButton197Code:
            return kKey197;
        default:
            return kNoFlag;
    }
}

}  // namespace

int OpenInput(HWND) {
    if (GXOpenInput() == 0) {
        MessageBoxW(nullptr, TEXT("input control : fail"), TEXT(" "), MB_OK);
        return 0;
    }
    // The key codes are fixed; the device's own list is not needed.
    GXGetDefaultKeys(kDefaultKeysOption);
    return 1;
}

int CloseInput() {
    return GXCloseInput();
}

void OnKeyMessage(UINT message, WPARAM code) {
    const UINT flag = FlagOfKey(code);
    if (flag == kNoFlag) return;
    if (message == WM_KEYDOWN) KeyFlags[flag] = 1;
    if (message == WM_KEYUP) KeyFlags[flag] = 0;
}

int IsKeyFlagSet(uint8_t flag) {
    if (flag >= kKeyFlagCount) return 0;
    return KeyFlags[flag] != 0 ? 1 : 0;
}

void ClearKeyFlag(uint8_t flag) {
    if (flag < kKeyFlagCount) KeyFlags[flag] = 0;
}

void OnStylusMessage(UINT message, LPARAM lParam) {
    if (message != WM_LBUTTONDOWN && message != WM_LBUTTONUP) return;
    StylusState.x = LOWORD(lParam);
    StylusState.y = HIWORD(lParam);
    StylusState.down = message == WM_LBUTTONDOWN ? 1 : 0;
}

int IsStylusDown() {
    return StylusState.down != 0 ? 1 : 0;
}

void ClearStylusDown() {
    StylusState.down = 0;
}

// Strict on every side: a position on an edge is outside.
int StylusInRect(int32_t left, int32_t right, int32_t top, int32_t bottom) {
    const int32_t x = static_cast<int32_t>(StylusState.x);
    const int32_t y = static_cast<int32_t>(StylusState.y);
    return left < x && x < right && top < y && y < bottom ? 1 : 0;
}
