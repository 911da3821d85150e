// The game API: display memory owned by the stand-in, handed to the host as
// a finished picture at each GXEndDraw, and the hardware buttons.
#include <vector>

#include "wince/core/internal.h"
#include "wince/seam/screen.h"

namespace {

constexpr long kPixelBytes = 2;
constexpr size_t kWindowBytes = size_t{wince::kScreenPixels} * kPixelBytes;
// Room on either side of the window, enough for every pixel of a 240 x 320
// screen at any pitch a test may set, so presenting never reads outside.
constexpr size_t kGuardBytes = kWindowBytes;

struct Display {
    std::vector<uint8_t> memory = std::vector<uint8_t>(kGuardBytes + kWindowBytes + kGuardBytes);
    GXDisplayProperties properties = wince::DefaultDisplayProperties();
    wince::DeviceFaults faults;
    bool open = false;
    bool inputOpen = false;
};

Display &State() {
    static Display state;
    return state;
}

constexpr size_t kTopLeft = kGuardBytes + wince::kBytesBeforeTopLeft;

uint8_t *TopLeft() {
    return State().memory.data() + kTopLeft;
}

// A picture in the seam's own terms: hosts never see the device's types.
wince::Picture PictureOf(const Display &state) {
    const GXDisplayProperties &p = state.properties;
    const bool is555 = (p.ffFormat & kfDirect565) == 0 && (p.ffFormat & kfDirect555) != 0;
    return {state.memory, kTopLeft, static_cast<int32_t>(p.cbxPitch),
            static_cast<int32_t>(p.cbyPitch),
            is555 ? wince::PixelFormat::Rgb555 : wince::PixelFormat::Rgb565};
}

}  // namespace

int GXOpenDisplay(HWND, DWORD) {
    Display &state = State();
    if (state.faults.displayFailsToOpen) return 0;
    state.open = true;
    return 1;
}

int GXCloseDisplay(void) {
    Display &state = State();
    bool wasOpen = state.open;
    state.open = false;
    return wasOpen ? 1 : 0;
}

void *GXBeginDraw(void) {
    return State().open ? TopLeft() : nullptr;
}

int GXEndDraw(void) {
    Display &state = State();
    if (!state.open) return 0;
    wince::CurrentHost().Present(PictureOf(state));
    return 1;
}

GXDisplayProperties GXGetDisplayProperties(void) {
    return State().properties;
}

int GXOpenInput(void) {
    Display &state = State();
    if (state.faults.inputFailsToOpen) return 0;
    state.inputOpen = true;
    return 1;
}

int GXCloseInput(void) {
    Display &state = State();
    bool wasOpen = state.inputOpen;
    state.inputOpen = false;
    return wasOpen ? 1 : 0;
}

GXKeyList GXGetDefaultKeys(int iOptions) {
    constexpr short kButtonA = 0xC3, kButtonB = 0xC4, kButtonC = 0xC5, kButtonStart = 0xC1;
    GXKeyList keys{};
    keys.vkUp = VK_UP;
    keys.vkDown = VK_DOWN;
    keys.vkLeft = VK_LEFT;
    keys.vkRight = VK_RIGHT;
    if (iOptions == GX_LANDSCAPEKEYS) {
        // The device held on its side: each direction key turns a quarter.
        keys.vkUp = VK_RIGHT;
        keys.vkDown = VK_LEFT;
        keys.vkLeft = VK_UP;
        keys.vkRight = VK_DOWN;
    }
    keys.vkA = kButtonA;
    keys.vkB = kButtonB;
    keys.vkC = kButtonC;
    keys.vkStart = kButtonStart;
    return keys;
}

namespace wince {

void SetDisplayProperties(const GXDisplayProperties &properties) {
    State().properties = properties;
}

GXDisplayProperties DefaultDisplayProperties() {
    constexpr DWORD width = kScreenWidth, height = kScreenHeight;
    return {width, height, kPixelBytes, width * kPixelBytes, 16, kfDirect | kfDirect565};
}

const uint8_t *DisplayTopLeft() {
    return TopLeft();
}

bool DisplayIsOpen() {
    return State().open;
}

void SetDeviceFaults(const DeviceFaults &faults) {
    State().faults = faults;
}

namespace core {

void ResetDisplay() {
    Display &state = State();
    std::fill(state.memory.begin(), state.memory.end(), uint8_t{0});
    state.properties = DefaultDisplayProperties();
    state.faults = DeviceFaults{};
    state.open = false;
    state.inputOpen = false;
}

}  // namespace core
}  // namespace wince
