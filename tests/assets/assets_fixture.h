// The default installation in a scratch root on the headless host, made once
// per suite (making the intro movie takes a while); a test that alters a file
// puts it back.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "assets/assets.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "platform/platform.h"
#include "wince/headless/headless.h"
#include "wince/host.h"

namespace assets_test {

inline const WCHAR kRegistryKey[] = TEXT("\\SOFTWARE\\Apps\\Brackwell Pellax rim");

inline std::filesystem::path ScratchRoot(const std::string &name) {
    return std::filesystem::temp_directory_path() /
           ("pellax-assets-" + std::to_string(::getpid()) + "-" + name);
}

class InstalledDevice : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::filesystem::remove_all(ScratchRoot("shared"));
        made = assets::MakeDefaultInstallation(ScratchRoot("shared"), error);
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(ScratchRoot("shared")); }
    void SetUp() override {
        ASSERT_TRUE(made) << error;
        wince::SetHost(&host);
        wince::SetRoot(root);
        wince::ResetForTest();
        for (WCHAR &c : GamePath) c = 0;
    }
    void TearDown() override {
        for (Sprite *sprite :
             {&backgroundSprite, &overlaySprite, &blockSprite, &numberSprite, &scoreDigitSprite,
              &levelClearedSprite, &levelDigitSprite, &gameOverSprite})
            FreeSprite(*sprite);
        CloseGraphics();
        wince::SetHost(nullptr);
    }

    static inline bool made = false;
    static inline std::string error;
    const std::filesystem::path root = ScratchRoot("shared");
    wince::headless::HeadlessHost host;
};

}  // namespace assets_test
