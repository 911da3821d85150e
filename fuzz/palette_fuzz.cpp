// The palette file: the fuzzed bytes are "kbl.plf", opened as start-up opens
// the display, on a 565 or a 555 display (chosen by the file's length), and a
// picture is converted through the colours read and presented.
#include <cstring>

#include "fuzz/fuzz_support.h"

namespace {

// Every index, over and over: made once, so the loop is not fuzzed itself.
const uint8_t *EveryIndex() {
    static uint8_t picture[kScreenWidth * kScreenHeight];
    for (uint32_t i = 0; i < sizeof picture; ++i) picture[i] = static_cast<uint8_t>(i);
    return picture;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const fuzzing::Installation &installation = fuzzing::SetUp();
    static const uint8_t *const picture = EveryIndex();
    wince::ResetForTest();
    fuzzing::ResetGameRecords();
    Palette = {};
    GXDisplayProperties display = wince::DefaultDisplayProperties();
    if (size % 2 == 1) display.ffFormat = kfDirect | kfDirect555;
    wince::SetDisplayProperties(display);
    fuzzing::WriteBytes(installation.Pictures() / "kbl.plf", data, size);
    if (OpenGraphics(nullptr, kPaletteFile, kRegistryKey, kScreenWidth, kScreenHeight)) {
        std::memcpy(BackBuffer.pixels, picture, kScreenWidth * kScreenHeight);
        ConvertBackBuffer(GetShadowOrigin(), 0, 0);
        PresentShadow();
    }
    CloseGraphics();
    return 0;
}
