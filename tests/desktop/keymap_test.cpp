// The default keys and the key map file, good and bad.
#include "wince/desktop/keymap.h"

#include <SDL.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "gtest/gtest.h"
#include "wince.h"

namespace wince::desktop {
namespace {

constexpr uint8_t kDrop = 195, kButtonB = 196, kStart = 197;

TEST(KeyMap, DefaultsCoverEveryKeyTheGameKnows) {
    const KeyMap map = DefaultKeyMap();
    EXPECT_EQ(map.Find(SDLK_LEFT), VK_LEFT);
    EXPECT_EQ(map.Find(SDLK_UP), VK_UP);
    EXPECT_EQ(map.Find(SDLK_SPACE), kDrop);
    EXPECT_EQ(map.Find(SDLK_RETURN), VK_RETURN);
    EXPECT_FALSE(map.Find(SDLK_ESCAPE).has_value());
    for (const DeviceKey &key : DeviceKeys())
        EXPECT_FALSE(map.KeysFor(key.code).empty()) << key.name;
}

TEST(KeyMapFile, NamedActionsTakeTheFilesKeysAndTheRestKeepTheirs) {
    const auto load = ParseKeyMap(
        "# my keys\n"
        "\n"
        "  A = Left Shift \r\n"
        "a = Keypad 0\n"
        "LEFT = j\n"
        "right = l\n"
        "start = Z\n");  // Z was b's by default: it moves to start
    ASSERT_TRUE(load.warnings.empty()) << load.warnings.front();
    const KeyMap &map = load.map;
    EXPECT_EQ(map.Find(SDLK_LSHIFT), kDrop);
    EXPECT_EQ(map.Find(SDLK_KP_0), kDrop);
    EXPECT_FALSE(map.Find(SDLK_SPACE).has_value());
    EXPECT_EQ(map.Find(SDLK_j), VK_LEFT);
    EXPECT_FALSE(map.Find(SDLK_LEFT).has_value());
    EXPECT_EQ(map.Find(SDLK_z), kStart);
    EXPECT_FALSE(map.Find(SDLK_x).has_value());
    EXPECT_EQ(map.Find(SDLK_LCTRL), kButtonB);  // b keeps its other default key
    EXPECT_EQ(map.Find(SDLK_DOWN), VK_DOWN);
}

TEST(KeyMapFile, AnyBadLineSetsTheWholeFileAsideAndNamesEveryBadLine) {
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
    EXPECT_EQ(load.warnings[0].rfind("line 2:", 0), 0u);
    EXPECT_NE(load.warnings[1].find("Hyperdrive"), std::string::npos);
    EXPECT_EQ(load.warnings[2].rfind("line 4:", 0), 0u);
    EXPECT_EQ(load.warnings[3].rfind("line 5:", 0), 0u);
    EXPECT_EQ(load.warnings[4].rfind("line 7:", 0), 0u);
}

TEST(KeyMapFile, MissingUnreadableAndGarbledFilesLeaveTheDefaults) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("pellax-keymap-test-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir / "folder.conf");
    EXPECT_TRUE(LoadKeyMap(dir / "none.conf").warnings.empty());
    EXPECT_EQ(LoadKeyMap(dir / "none.conf").map, DefaultKeyMap());
    EXPECT_FALSE(LoadKeyMap(dir / "folder.conf").warnings.empty());

    std::string garbage(3000, '\0');
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 7919 % 251);
    std::ofstream(dir / "binary.conf", std::ios::binary) << garbage;
    const auto binary = LoadKeyMap(dir / "binary.conf");
    EXPECT_EQ(binary.map, DefaultKeyMap());
    EXPECT_FALSE(binary.warnings.empty());
    EXPECT_LE(binary.warnings.size(), 10u);  // a garbled file does not flood the terminal
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace wince::desktop
