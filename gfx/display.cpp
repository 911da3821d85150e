// Opening and closing the display, with the BackBuffer and the ShadowBuffer.
#include "gfx/gfx.h"
#include "platform/platform.h"

BackBufferRecord BackBuffer;
DisplayInfoRecord DisplayInfo;
int ShutdownDone = 0;

namespace {

const WCHAR kOpenDisplayText[] = TEXT("Open display : Fail");
const WCHAR kOpenDisplayCaption[] = TEXT("ERROR ");

uint8_t *TakeBlock(uint32_t bytes) {
    return static_cast<uint8_t *>(
        VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
}

void ReleaseBackBuffer() {
    if (BackBuffer.pixels == nullptr) return;
    VirtualFree(BackBuffer.pixels, 0, MEM_RELEASE);
    BackBuffer.pixels = nullptr;
}

int AllocateBackBuffer(uint32_t width, uint32_t height) {
    ReleaseBackBuffer();
    BackBuffer.width = width;
    BackBuffer.height = height;
    const uint64_t bytes = static_cast<uint64_t>(width) * height;
    if (bytes == 0 || bytes > UINT32_MAX) return 0;
    BackBuffer.pixels = TakeBlock(static_cast<uint32_t>(bytes));
    return BackBuffer.pixels != nullptr;
}

void FillDisplayInfo(const GXDisplayProperties &properties) {
    DisplayInfo.format = properties.ffFormat;
    DisplayInfo.width = properties.cxWidth;
    DisplayInfo.height = properties.cyHeight;
    // Byte pitches become 16-bit cell pitches; the sign is kept.
    DisplayInfo.xPitch = static_cast<int32_t>(properties.cbxPitch >> 1);
    DisplayInfo.yPitch = static_cast<int32_t>(properties.cbyPitch >> 1);
}

// Colours are converted only for 565 and 555 displays; any other format
// would show whatever the colour table held, so it is refused.
bool CanConvertColours(uint32_t format) {
    return ConvertColour(format, 0, 0, 0) >= 0;
}

int AllocateShadowBuffer() {
    if (ShadowBuffer.block == nullptr) ShadowBuffer.block = TakeBlock(kShadowBytes);
    if (ShadowBuffer.block == nullptr) return 0;
    ShadowBuffer.origin = reinterpret_cast<uint16_t *>(ShadowBuffer.block + kShadowOriginOffset);
    return 1;
}

}  // namespace

int OpenGraphics(HWND window, LPCWSTR paletteName, LPCWSTR registryKey, uint32_t width,
                 uint32_t height) {
    if (!ReadGamePath(window, registryKey)) return 0;
    if (!AllocateBackBuffer(width, height)) return 0;
    if (!GXOpenDisplay(window, GX_FULLSCREEN)) {
        MessageBoxW(window, kOpenDisplayText, kOpenDisplayCaption, MB_OK);
        return 0;
    }
    const GXDisplayProperties properties = GXGetDisplayProperties();
    if (!CanConvertColours(properties.ffFormat)) {
        MessageBoxW(window, kOpenDisplayText, kOpenDisplayCaption, MB_OK);
        return 0;
    }
    FillDisplayInfo(properties);
    if (paletteName == nullptr) return 1;
    if (!LoadPalette(paletteName)) return 0;
    return AllocateShadowBuffer();
}

int CloseGraphics() {
    ReleaseBackBuffer();
    return GXCloseDisplay();
}
