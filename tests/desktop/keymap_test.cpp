// The default keys and the key map file, good and bad.
#include "wince/desktop/keymap.h"

#include <SDL.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "gtest/gtest.h"
#include "wince/seam/device_codes.h"

namespace wince::desktop {
namespace {

constexpr uint8_t kDrop = device::kButtonA, kButtonB = device::kButtonB,
                  kStart = device::kButtonStart;

TEST(KeyMap, DefaultsAndAFileThatMovesSome) {
    for (const DeviceKey &key : DeviceKeys())
        EXPECT_EQ(DefaultKeyMap().KeysFor(key.code).empty(), key.code == device::kReturnKey)
            << key.name;
    const auto load = ParseKeyMap(
        "# my keys\n"
        "\n"
        "  A = Left Shift \r\n"
        "a = Keypad 0\n"
        "LEFT = j\n"
        "start = Z\n");  // Z was b's by default: it moves to start
    ASSERT_TRUE(load.warnings.empty()) << load.warnings.front();
    const std::pair<SDL_Keycode, std::optional<uint8_t>> expected[] = {
        {SDLK_LSHIFT, kDrop},       {SDLK_KP_0, kDrop},         {SDLK_SPACE, std::nullopt},
        {SDLK_j, device::kLeftKey}, {SDLK_LEFT, std::nullopt},  {SDLK_z, kStart},
        {SDLK_x, std::nullopt},     {SDLK_LCTRL, kButtonB},     {SDLK_DOWN, device::kDownKey},
        {SDLK_RETURN, kButtonB},    {SDLK_ESCAPE, std::nullopt}};
    for (const auto &[key, code] : expected) EXPECT_EQ(load.map.Find(key), code) << key;
}

TEST(KeyMap, BadLinesAreNamedAndSkippedAndTheRestIsUsed) {
    const auto load = ParseKeyMap(
        "left = j\n"
        "jump = Space\n"        // no such action
        "right = Hyperdrive\n"  // no such key
        "down\n"                // no key at all
        "up =\n"                // an empty key name
        "a = q\n"
        "b = q\n"            // one key, two actions
        "start = F11\n"      // the desktop's own key
        "b = \x1b[2J\xff\n"  // no text: never echoed
        "start = p\n");
    KeyMap expected = DefaultKeyMap();
    expected.UnbindCode(device::kLeftKey);
    expected.Bind(SDLK_j, device::kLeftKey);
    expected.UnbindCode(kDrop);
    expected.Bind(SDLK_q, kDrop);
    EXPECT_EQ(load.map, expected);
    const int lines[] = {2, 3, 4, 5, 7, 8, 9, 10};
    ASSERT_EQ(load.warnings.size(), std::size(lines));
    for (size_t i = 0; i < load.warnings.size(); ++i) {
        EXPECT_EQ(load.warnings[i].rfind("line " + std::to_string(lines[i]) + ":", 0), 0u)
            << load.warnings[i];
        EXPECT_EQ(load.warnings[i].find_first_of("\x1b\xff"), std::string::npos);
    }

    const auto dir =
        std::filesystem::temp_directory_path() / ("pellax-keymap-test-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir / "folder.conf");
    std::string garbage(3000, '\0');
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 7919 % 251);
    std::ofstream(dir / "binary.conf", std::ios::binary) << garbage;
    EXPECT_TRUE(LoadKeyMap(dir / "none.conf").warnings.empty());
    for (const char *name : {"none.conf", "folder.conf", "binary.conf"})
        EXPECT_EQ(LoadKeyMap(dir / name).map, DefaultKeyMap()) << name;
    for (const char *name : {"folder.conf", "binary.conf"})
        EXPECT_EQ(LoadKeyMap(dir / name).warnings.size(), 1u) << name;
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace wince::desktop
