// A fresh device for the tests of the game rules and the platform services:
// the headless host on a default installation in a temporary root, the game
// records at their starting values, and a recorder of what the game asks of
// the device (message boxes, sounds, sleeps, files written), in order.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "assets/assets.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "platform/platform.h"
#include "wince/headless/headless.h"
#include "wince/host.h"

namespace rules_test {

// Each event as one line: "sound PATH", "sound stop", "sleep MS", "write PATH",
// "msgbox CAPTION|TEXT".
class EventLog : public wince::Recorder {
public:
    std::vector<std::string> events;

    void MessageBoxShown(const std::u16string &text, const std::u16string &caption) override {
        events.push_back("msgbox " + wince::ToUtf8(caption) + "|" + wince::ToUtf8(text));
    }
    void SoundCall(const WCHAR *devicePath) override {
        events.push_back(devicePath == nullptr ? "sound stop" : "sound " + Utf8(devicePath));
    }
    void Slept(uint32_t milliseconds) override {
        events.push_back("sleep " + std::to_string(milliseconds));
    }
    void FileWritten(const WCHAR *devicePath) override {
        events.push_back("write " + Utf8(devicePath));
    }

    static std::string Utf8(const WCHAR *text) { return wince::ToUtf8(std::u16string(text)); }
};

inline std::filesystem::path FreshRootPath() {
    static std::atomic<int> counter{0};
    return std::filesystem::temp_directory_path() /
           ("pellax_rules_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
}

// Making the installation takes a while (the intro movie), so it is made
// once per test program and copied for each test.
class InstallationTemplate {
public:
    InstallationTemplate() : path_(FreshRootPath()) {
        ok_ = assets::MakeDefaultInstallation(path_, error_);
    }
    ~InstallationTemplate() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    bool CopyTo(const std::filesystem::path &root, std::string &error) const {
        error = error_;
        if (!ok_) return false;
        std::error_code failure;
        std::filesystem::copy(path_, root, std::filesystem::copy_options::recursive, failure);
        if (failure) error = failure.message();
        return !failure;
    }

private:
    std::filesystem::path path_;
    std::string error_;
    bool ok_ = false;
};

inline bool MakeInstallation(const std::filesystem::path &root, std::string &error) {
    static const InstallationTemplate installation;
    return installation.CopyTo(root, error);
}

// The sound folder of the default installation, as the game names it.
inline std::string SoundPath(const std::string &name) {
    return std::string(assets::kGamePath) + "\\sound\\" + name;
}

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = FreshRootPath();
        std::string error;
        ASSERT_TRUE(MakeInstallation(root, error)) << error;
        wince::SetHost(&host);
        wince::SetRoot(root);
        wince::ResetForTest();
        wince::SetRecorder(&log);
        ResetRecords();
    }

    void TearDown() override {
        FreeSprites();
        CloseGraphics();
        CloseInput();
        wince::SetRecorder(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    static void ResetRecords() {
        GameState = InitialGameState();
        ResetBoard();
        for (uint8_t &kind : PieceSequence) kind = 0;
        for (uint32_t &flag : KeyFlags) flag = 0;
        StylusState = {};
        frameLastTick = 0;
        for (uint32_t &tick : TickSlot) tick = 0;
        counterFrequency = 0;
        counterValue = 0;
        for (WCHAR &c : GamePath) c = 0;
        ShutdownDone = 0;
    }

    static void FreeSprites() {
        for (Sprite *sprite : AllSprites()) FreeSprite(*sprite);
    }

    static std::vector<Sprite *> AllSprites() {
        return {&backgroundSprite,   &blockSprite,      &numberSprite,   &scoreDigitSprite,
                &levelClearedSprite, &levelDigitSprite, &gameOverSprite, &overlaySprite};
    }

    // What start-up does for the pictures, without a window.
    void OpenPictures() {
        ASSERT_EQ(
            OpenGraphics(nullptr, TEXT("kbl.plf"), TEXT("\\SOFTWARE\\Apps\\Brackwell Pellax rim"),
                         kScreenWidth, kScreenHeight),
            1);
        const LPCWSTR names[] = {TEXT("kbl_b.nbf"),   TEXT("kbl_bl.nbf"), TEXT("kbl_n.nbf"),
                                 TEXT("kbl_sn.nbf"),  TEXT("kbl_cg.nbf"), TEXT("kbl_lv.nbf"),
                                 TEXT("kbl_gov.nbf"), TEXT("kbl_sl.nbf")};
        const std::vector<Sprite *> sprites = AllSprites();
        for (size_t i = 0; i < sprites.size(); ++i)
            ASSERT_EQ(LoadSprite(names[i], *sprites[i], 0), 1);
        StartClock();
    }

    std::filesystem::path root;
    wince::headless::HeadlessHost host;
    EventLog log;
};

}  // namespace rules_test
