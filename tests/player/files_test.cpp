// The player's files: keys.conf and settings.conf, good and bad; screenshots
// that never overwrite; wave files as every host decodes them.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "gtest/gtest.h"
#include "wince/player/device_keys.h"
#include "wince/player/keys.h"
#include "wince/player/player_settings.h"
#include "wince/player/screenshot.h"
#include "wince/player/wave.h"
#include "wince/seam/device_codes.h"

namespace wince::player {
namespace {

namespace fs = std::filesystem;
using namespace device;

// Test processes run side by side, each with a folder of its own.
struct Folder {
    fs::path path = fs::temp_directory_path() / ("pellax-player-" + std::to_string(getpid()));
    Folder() { fs::create_directories(path); }
    ~Folder() { fs::remove_all(path); }
};

TEST(KeyMap, DefaultsAndAFileThatMovesSome) {
    for (const DeviceKey &key : DeviceKeys())
        EXPECT_EQ(DefaultKeyMap().KeysFor(key.code).empty(), key.code == kReturnKey) << key.name;
    const auto load = ParseKeyMap(
        "# my keys\n"
        "\n"
        "  A = left shift \r\n"
        "a = Keypad 0\n"
        "LEFT = j\n"
        "start = Z\n");  // Z was b's by default: it moves to start
    ASSERT_TRUE(load.warnings.empty()) << load.warnings.front();
    const std::pair<const char *, std::optional<uint8_t>> expected[] = {
        {"Left Shift", kButtonA}, {"Keypad 0", kButtonA},  {"Space", std::nullopt},
        {"J", kLeftKey},          {"Left", std::nullopt},  {"z", kButtonStart},
        {"X", std::nullopt},      {"Left Ctrl", kButtonB}, {"Down", kDownKey},
        {"Return", kButtonB},     {"Escape", std::nullopt}};
    for (const auto &[key, code] : expected) EXPECT_EQ(load.map.Find(key), code) << key;
    EXPECT_EQ(load.map.KeysFor(kButtonA), (std::vector<std::string>{"Keypad 0", "Left Shift"}));
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
        "start = F11\n"      // the player's own key
        "b = \x1b[2J\xff\n"  // no text: never echoed
        "start = p\n");
    KeyMap expected = DefaultKeyMap();
    expected.UnbindCode(kLeftKey);
    expected.Bind("J", kLeftKey);
    expected.UnbindCode(kButtonA);
    expected.Bind("Q", kButtonA);
    EXPECT_EQ(load.map, expected);
    const int lines[] = {2, 3, 4, 5, 7, 8, 9, 10};
    ASSERT_EQ(load.warnings.size(), std::size(lines));
    for (size_t i = 0; i < load.warnings.size(); ++i) {
        EXPECT_EQ(load.warnings[i].rfind("line " + std::to_string(lines[i]) + ":", 0), 0u)
            << load.warnings[i];
        EXPECT_EQ(load.warnings[i].find_first_of("\x1b\xff"), std::string::npos);
    }
    Folder folder;
    fs::create_directories(folder.path / "folder.conf");
    std::string garbage(3000, '\0');
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 7919 % 251);
    std::ofstream(folder.path / "binary.conf", std::ios::binary) << garbage;
    EXPECT_TRUE(LoadKeyMap(folder.path / "none.conf").warnings.empty());
    for (const char *name : {"none.conf", "folder.conf", "binary.conf"})
        EXPECT_EQ(LoadKeyMap(folder.path / name).map, DefaultKeyMap()) << name;
    for (const char *name : {"folder.conf", "binary.conf"})
        EXPECT_EQ(LoadKeyMap(folder.path / name).warnings.size(), 1u) << name;
}

TEST(SettingsFile, RoundTripsAndSkipsBadLines) {
    Folder folder;
    const fs::path file = folder.path / "config" / "settings.conf";
    const PlayerSettings chosen{35, true, true, 3, false};
    std::string error;
    ASSERT_TRUE(SavePlayerSettings(file, chosen, error)) << error;
    EXPECT_EQ(LoadPlayerSettings(file).settings, chosen);
    std::ofstream(file, std::ios::app) << "volume = 101\nscale = -1\nmute = maybe\ncolour = red\n"
                                          "fullscreen\n";
    const auto load = LoadPlayerSettings(file);
    EXPECT_EQ(load.settings, chosen);  // the good lines above still count
    EXPECT_EQ(load.warnings.size(), 5u);
}

TEST(Screenshots, ANameAlreadyTakenGetsTheNextNumber) {
    Folder folder;
    const fs::path first = FreeScreenshotPath(folder.path, "pellax-rim", "20261207-101500");
    EXPECT_EQ(first.filename(), "pellax-rim-20261207-101500.png");
    std::ofstream(first) << "x";
    const fs::path second = FreeScreenshotPath(folder.path, "pellax-rim", "20261207-101500");
    EXPECT_EQ(second.filename(), "pellax-rim-20261207-101500-2.png");
    std::ofstream(second) << "x";
    EXPECT_EQ(FreeScreenshotPath(folder.path, "pellax-rim", "20261207-101500").filename(),
              "pellax-rim-20261207-101500-3.png");
    EXPECT_EQ(TimeStamp().size(), 15u);
}

// A RIFF WAVE file of `count` samples of one value, 8-bit mono at 22050 Hz.
std::vector<uint8_t> WaveFile(uint8_t sample, uint32_t count, uint16_t kind = 1,
                              uint32_t claimed = 0) {
    std::vector<uint8_t> b;
    const auto put = [&b](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    const auto tag = [&put](const char *t) { put(t[0] | t[1] << 8 | t[2] << 16 | t[3] << 24, 4); };
    tag("RIFF"), put(36 + count, 4), tag("WAVE"), tag("fmt "), put(16, 4), put(kind, 2);
    put(1, 2), put(22050, 4), put(22050, 4), put(1, 2), put(8, 2);
    tag("data"), put(claimed ? claimed : count, 4), b.resize(b.size() + count, sample);
    return b;
}

TEST(Waves, PcmDecodedOthersRefusedWithAReason) {
    std::string why;
    const auto wave = DecodeWave(WaveFile(0xC0, 2205), why);
    ASSERT_TRUE(wave) << why;
    EXPECT_EQ(wave->rate, 22050);
    EXPECT_EQ(wave->channels, 1);
    ASSERT_EQ(wave->samples.size(), 2205u);
    EXPECT_EQ(wave->samples[100], 0x4000);  // a quarter of full scale above silence
    // Data that claims more than the file holds plays what is there.
    EXPECT_EQ(DecodeWave(WaveFile(0xC0, 2205, 1, 0xFFFFFF40u), why)->samples, wave->samples);
    const auto whole = WaveFile(0x40, 10);
    const std::vector<uint8_t> headerless(whole.begin() + 8, whole.end());
    EXPECT_EQ(DecodeWave(headerless, why)->samples[0], -0x4000);
    EXPECT_EQ(DecodeWave(EncodeWave(*wave), why)->samples, wave->samples);
    for (const auto &refused :
         {WaveFile(0x90, 2205, 0x55), std::vector<uint8_t>(200, 'x'), std::vector<uint8_t>{}}) {
        why.clear();
        EXPECT_FALSE(DecodeWave(refused, why));
        EXPECT_FALSE(why.empty());
    }
}

}  // namespace
}  // namespace wince::player
