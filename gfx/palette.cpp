// The game's 256-colour palette and its 16-bit display colours.
#include "gfx/gfx.h"

PaletteRecord Palette;

namespace {

constexpr uint32_t kPaletteEntries = 256;
constexpr uint32_t kPaletteBytes = kPaletteEntries * 3;
static_assert(sizeof(Palette.rgb) == kPaletteBytes);

}  // namespace

int32_t ConvertColour(uint32_t format, uint8_t red, uint8_t green, uint8_t blue) {
    if (format & kfDirect565) return ((red & 0xF8) << 8) | ((green & 0xFC) << 3) | (blue >> 3);
    if (format & kfDirect555) return ((red & 0xF8) << 7) | ((green & 0xF8) << 2) | (blue >> 3);
    return -1;
}

int LoadPalette(LPCWSTR name) {
    HANDLE file = OpenPictureFile(name);
    if (file == INVALID_HANDLE_VALUE) return 0;
    // A short file is accepted: the entries past its end keep their bytes.
    DWORD read = 0;
    if (!ReadFile(file, Palette.rgb, kPaletteBytes, &read, nullptr)) {
        CloseHandle(file);
        return 0;
    }
    for (uint32_t i = 0; i < kPaletteEntries; ++i) {
        const uint8_t *entry = &Palette.rgb[i * 3];
        const int32_t colour = ConvertColour(DisplayInfo.format, entry[0], entry[1], entry[2]);
        if (colour >= 0) Palette.color16[i] = static_cast<uint16_t>(colour);
    }
    CloseHandle(file);
    return 1;
}
