// The palette file: the fuzzed bytes are "kbl.plf", opened as start-up opens
// the display, on a 565 or a 555 display (chosen by the file's length), and a
// picture of every index is converted through the colours read and presented.
#include <cstring>

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // Made once, so that the loop is not fuzzed itself.
    static uint8_t picture[kScreenWidth * kScreenHeight];
    static const bool painted = [] {
        for (uint32_t i = 0; i < sizeof picture; ++i) picture[i] = static_cast<uint8_t>(i);
        return true;
    }();
    (void)painted;
    fuzzing::FreshDevice();
    Palette = {};
    GXDisplayProperties display = wince::DefaultDisplayProperties();
    if (size % 2 == 1) display.ffFormat = kfDirect | kfDirect555;
    wince::SetDisplayProperties(display);
    fuzzing::WriteBytes(fuzzing::Installation() / fuzzing::kPictureFolder / "kbl.plf", data, size);
    if (OpenGraphics(nullptr, kPaletteFile, kRegistryKey, kScreenWidth, kScreenHeight)) {
        std::memcpy(BackBuffer.pixels, picture, sizeof picture);
        ConvertBackBuffer(GetShadowOrigin(), 0, 0);
        PresentShadow();
    }
    CloseGraphics();
    return 0;
}
