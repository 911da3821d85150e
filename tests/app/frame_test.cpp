// In-process checks of what is hard to reach from a script: a frame whose
// rows-to-go number has no picture, and the layout of the state dump.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>
#include <vector>

#include "app/app.h"
#include "assets/assets.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "runner/runner.h"
#include "wince/headless/headless.h"

namespace {

namespace fs = std::filesystem;

class FrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root_ = fs::temp_directory_path() / ("pellax-frame-" + std::to_string(::getpid()));
        std::string error;
        ASSERT_TRUE(assets::MakeDefaultInstallation(root_, error)) << error;
        host_ = new wince::headless::HeadlessHost();
        wince::SetHost(host_);
        wince::SetRoot(root_);
    }
    static void TearDownTestSuite() {
        fs::remove_all(root_);
        delete host_;
    }
    void SetUp() override {
        wince::ResetForTest();
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = WindowProc;
        windowClass.lpszClassName = TEXT("pellax rim");
        RegisterClassW(&windowClass);
        HWND window = CreateWindowExW(0, TEXT("pellax rim"), TEXT("PELLAX RIM"), WS_VISIBLE, 0, 0,
                                      240, 320, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        GameState = InitialGameState();
        ShutdownDone = 0;
        StartUp(window);
        ASSERT_EQ(ShutdownDone, 0);
    }
    void TearDown() override {
        Shutdown();
        ShutdownDone = 0;
    }

    // The BackBuffer pixels of the rows-to-go number's place.
    static std::vector<uint8_t> RowsToGoPlace() {
        std::vector<uint8_t> pixels;
        for (uint32_t y = 135; y < 135 + numberSprite.frameHeight; ++y)
            for (uint32_t x = 210; x < 210 + numberSprite.frameWidth; ++x)
                pixels.push_back(BackBuffer.pixels[y * BackBuffer.width + x]);
        return pixels;
    }

    static inline fs::path root_;
    static inline wince::headless::HeadlessHost *host_ = nullptr;
};

TEST_F(FrameTest, RowsToGoBeyondTheLevelsTargetShowNoNumber) {
    ASSERT_GT(numberSprite.frameHeight, 0u);
    DrawSpriteFrame(backgroundSprite, 0, 0, 0);
    DrawSpriteFrame(overlaySprite, 13, 5, 0);
    const std::vector<uint8_t> beneath = RowsToGoPlace();

    RunFrame();
    EXPECT_NE(RowsToGoPlace(), beneath) << "10 rows to go should show a number";

    // Raised past the rows already cleared, as the level areas can during a game.
    GameState.level = 1;
    GameState.rowsThisLevel = 15;
    RunFrame();
    EXPECT_EQ(RowsToGoPlace(), beneath);
}

TEST_F(FrameTest, TheStateDumpHasTheDocumentedKeysAndTheFloorAtRowZero) {
    const nlohmann::json state = nlohmann::json::parse(runner::StateJson(1234));
    std::set<std::string> keys;
    for (const auto &item : state.items()) keys.insert(item.key());
    const std::set<std::string> documented = {
        "t",       "level",    "rowsThisLevel", "score",        "highScore",
        "pieceX",  "pieceY",   "rotation",      "currentIndex", "nextIndex",
        "playing", "dropping", "levelCleared",  "board",        "sequence",
        "keys",    "stylus",   "frameLastTick", "tickSlot0"};
    EXPECT_EQ(keys, documented);
    EXPECT_EQ(state["t"], 1234);
    ASSERT_EQ(state["board"].size(), 20u);
    for (const auto &row : state["board"]) EXPECT_EQ(row.size(), 11u);
    EXPECT_EQ(state["board"][0], std::vector<int>(11, kCellFloor));
    EXPECT_EQ(state["board"][19][0], kCellWall);
    EXPECT_EQ(state["board"][19][5], kCellEmpty);
    EXPECT_EQ(state["sequence"].size(), 100u);
    EXPECT_EQ(state["keys"].size(), 8u);
    EXPECT_EQ(state["stylus"], (nlohmann::json{{"down", 0}, {"x", 0}, {"y", 0}}));
}

}  // namespace
