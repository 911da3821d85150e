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

constexpr uint8_t kDrop = 195, kButtonB = 196, kStart = 197;

TEST(KeyMap, DefaultsAndAFileThatMovesSome) {
    for (const DeviceKey &key : DeviceKeys())
        EXPECT_FALSE(DefaultKeyMap().KeysFor(key.code).empty()) << key.name;
    const auto load = ParseKeyMap(
        "# my keys\n"
        "\n"
        "  A = Left Shift \r\n"
        "a = Keypad 0\n"
        "LEFT = j\n"
        "start = Z\n");  // Z was b's by default: it moves to start
    ASSERT_TRUE(load.warnings.empty()) << load.warnings.front();
    const std::pair<SDL_Keycode, std::optional<uint8_t>> expected[] = {
        {SDLK_LSHIFT, kDrop},          {SDLK_KP_0, kDrop},
        {SDLK_SPACE, std::nullopt},    {SDLK_j, device::kLeftKey},
        {SDLK_LEFT, std::nullopt},     {SDLK_z, kStart},
        {SDLK_x, std::nullopt},        {SDLK_LCTRL, kButtonB},
        {SDLK_DOWN, device::kDownKey}, {SDLK_RETURN, device::kReturnKey},
        {SDLK_ESCAPE, std::nullopt}};
    for (const auto &[key, code] : expected) EXPECT_EQ(load.map.Find(key), code) << key;
}

TEST(KeyMap, BadFilesLeaveTheDefaultsAndSayWhy) {
    const auto load = ParseKeyMap(
        "left = j\n"
        "jump = Space\n"        // no such action
        "right = Hyperdrive\n"  // no such key
        "down\n"                // no key at all
        "up =\n"                // an empty key name
        "a = q\n"
        "b = q\n");  // one key, two actions
    EXPECT_EQ(load.map, DefaultKeyMap());
    ASSERT_EQ(load.warnings.size(), 5u);
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(load.warnings[i].rfind("line " + std::to_string("23457"[i] - '0') + ":", 0), 0u)
            << load.warnings[i];

    const auto dir =
        std::filesystem::temp_directory_path() / ("pellax-keymap-test-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir / "folder.conf");
    std::string garbage(3000, '\0');
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 7919 % 251);
    std::ofstream(dir / "binary.conf", std::ios::binary) << garbage;
    EXPECT_TRUE(LoadKeyMap(dir / "none.conf").warnings.empty());
    for (const char *name : {"none.conf", "folder.conf", "binary.conf"})
        EXPECT_EQ(LoadKeyMap(dir / name).map, DefaultKeyMap()) << name;
    EXPECT_FALSE(LoadKeyMap(dir / "folder.conf").warnings.empty());
    const size_t warned = LoadKeyMap(dir / "binary.conf").warnings.size();
    EXPECT_TRUE(warned > 0 && warned <= 10)
        << warned;  // a garbled file does not flood the terminal
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace wince::desktop
