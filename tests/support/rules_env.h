// A fresh device for the tests of the game rules and the platform services:
// the headless host on a copy of the default installation, the game records
// at their starting values, and a log of what the game asks of the device.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "assets/assets.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "platform/platform.h"
#include "wince/headless/headless.h"

namespace rules_test {

// Each event as one line: "sound PATH", "sound stop", "sleep MS", "write PATH",
// "msgbox CAPTION|TEXT".
class EventLog : public wince::Recorder {
public:
    std::vector<std::string> events;

    void MessageBoxShown(const std::u16string &text, const std::u16string &caption) override {
        events.push_back("msgbox " + wince::ToUtf8(caption) + "|" + wince::ToUtf8(text));
    }
    void SoundCall(const WCHAR *path) override {
        events.push_back(path ? "sound " + wince::ToUtf8(path) : "sound stop");
    }
    void Slept(uint32_t ms) override { events.push_back("sleep " + std::to_string(ms)); }
    void FileWritten(const WCHAR *path) override {
        events.push_back("write " + wince::ToUtf8(path));
    }
};

inline std::string Sound(const std::string &name) {
    return "sound " + std::string(assets::kGamePath) + "\\sound\\" + name;
}

inline std::filesystem::path TempRoot(const std::string &name) {
    return std::filesystem::temp_directory_path() /
           ("pellax_rules_" + std::to_string(getpid()) + "_" + name);
}

// Making the installation takes a while, so it is made once per program and
// copied for each test.
inline void CopyInstallation(const std::filesystem::path &root) {
    static const std::filesystem::path made = [] {
        const std::filesystem::path path = TempRoot("template");
        std::string error;
        EXPECT_TRUE(assets::MakeDefaultInstallation(path, error)) << error;
        return path;
    }();
    std::filesystem::copy(made, root, std::filesystem::copy_options::recursive);
}

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = TempRoot(::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root);
        CopyInstallation(root);
        wince::SetHost(&host);
        wince::SetRoot(root);
        wince::ResetForTest();
        wince::SetRecorder(&log);
        GameState = InitialGameState();
        ResetBoard();
        for (uint8_t &kind : PieceSequence) kind = 0;
        for (uint32_t &flag : KeyFlags) flag = 0;
        StylusState = {};
        frameLastTick = TickSlot[0] = 0;
        ShutdownDone = 0;
        ASSERT_EQ(ReadGamePath(nullptr, kRegistryKey), 1);
        StartClock();
    }

    void TearDown() override {
        Shutdown();
        wince::SetRecorder(nullptr);
        std::filesystem::remove_all(root);
    }

    // The display and the pictures, as start-up opens them.
    void OpenPictures() {
        ASSERT_EQ(OpenGraphics(nullptr, TEXT("kbl.plf"), kRegistryKey, 240, 320), 1);
        const std::pair<LPCWSTR, Sprite *> pictures[] = {{TEXT("kbl_bl.nbf"), &blockSprite},
                                                         {TEXT("kbl_n.nbf"), &numberSprite},
                                                         {TEXT("kbl_sn.nbf"), &scoreDigitSprite},
                                                         {TEXT("kbl_gov.nbf"), &gameOverSprite}};
        for (auto [name, sprite] : pictures) ASSERT_EQ(LoadSprite(name, *sprite, 0), 1);
    }

    static constexpr LPCWSTR kRegistryKey = TEXT("\\SOFTWARE\\Apps\\Brackwell Pellax rim");
    std::filesystem::path root;
    wince::headless::HeadlessHost host;
    EventLog log;
};

}  // namespace rules_test
