// The palette's colours, the BackBuffer converted into the ShadowBuffer at
// the display's pitches and presented, as the screen shows it, on displays of
// both formats either way up; and a display or buttons that cannot be used.
#include "support/device.h"

namespace pellax_test {
namespace {

using Display = DeviceTest;

struct Kind {
    const char *name;
    long xPitch, yPitch;
    DWORD format;
    std::vector<uint16_t> colours;  // palette entries 0..4 as the screen shows them
};

// Every one of the 76800 pixels reaches the screen, either way up. A 555
// green gains its low bit by repeating its top one.
const Kind kKinds[] = {
    {"portrait 565", 2, 480, kfDirect565, {0xFFFF, 0x07E0, 0x11AA, 0, 0xF800}},
    {"rotated 565", 640, -2, kfDirect565, {0xFFFF, 0x07E0, 0x11AA, 0, 0xF800}},
    {"portrait 555", 2, 480, kfDirect555, {0xFFFF, 0x07E0, 0x118A, 0, 0xF800}},
    {"rotated 555", 640, -2, kfDirect555, {0xFFFF, 0x07E0, 0x118A, 0, 0xF800}},
};

TEST_F(Display, EveryPixelReachesTheScreenThroughThePitches) {
    const std::vector<uint8_t> palette{255, 255, 255, 0, 255, 0, 0x12, 0x34, 0x56, 7, 3, 7};
    WriteRootFile(kPictureFolder / "kbl.plf", palette);
    for (const Kind &kind : kKinds) {
        SCOPED_TRACE(kind.name);
        wince::ResetForTest();
        Palette = {};
        Palette.rgb[12] = 0xFF;  // past the end of the short file: kept, and converted
        wince::SetDisplayProperties(
            {240, 320, kind.xPitch, kind.yPitch, 16, kfDirect | kind.format});
        ASSERT_EQ(OpenGraphics(nullptr, kPaletteFile, kRegistryKey, 240, 320), 1);
        std::memset(ShadowBuffer.block, 0, kShadowBytes);
        for (int i = 0; i < 240 * 320; ++i) BackBuffer.pixels[i] = uint8_t((i % 240 + i / 240) % 5);
        ConvertBackBuffer(GetShadowOrigin(), 0, 0);
        PresentShadow();
        const wince::Screen &screen = host.Screen();
        for (int i = 0; i < 240 * 320; ++i) {
            ASSERT_EQ(screen[i], kind.colours[BackBuffer.pixels[i]])
                << "pixel " << i % 240 << "," << i / 240;
        }
        CloseGraphics();
    }
}

TEST_F(Display, DevicesThatCannotBeUsedShowTheirMessages) {
    wince::SetDisplayProperties({240, 320, 2, 480, 16, kfDirect | kfDirect888});
    EXPECT_EQ(OpenGraphics(nullptr, kPaletteFile, kRegistryKey, 240, 320),
              0);  // no colours we can make
    wince::SetDeviceFaults({.displayFailsToOpen = true});
    EXPECT_EQ(OpenGraphics(nullptr, kPaletteFile, kRegistryKey, 240, 320), 0);
    wince::SetDeviceFaults({});
    wince::SetDisplayProperties(wince::DefaultDisplayProperties());
    EXPECT_EQ(OpenGraphics(nullptr, TEXT("none.plf"), kRegistryKey, 240, 320), 0);
    EXPECT_EQ(ShadowBuffer.block, nullptr);
    wince::SetDeviceFaults({.inputFailsToOpen = true});
    EXPECT_EQ(OpenInput(nullptr), 0);
    EXPECT_EQ(host.events,
              (std::vector<std::string>{
                  "msgbox ERROR |Open display : Fail", "msgbox ERROR |Open display : Fail",
                  "msgbox Open file : Fail|\\Program Files\\Pellax Rim\\picture\\none.plf",
                  "msgbox  |input control : fail"}));
}

}  // namespace
}  // namespace pellax_test
