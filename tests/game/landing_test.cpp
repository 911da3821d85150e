// Landing: rows removed and scored, levels cleared and wrapped, the game over
// with its picture and saved record, and the piece sequence.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <tuple>

#include "support/rules_board.h"
#include "support/rules_env.h"

using namespace rules_test;

namespace {

const std::string kLanded = Sound("kbl_s_b.nwf"), kRows = Sound("kbl_s_fl.nwf");
const std::string kLevel = Sound("kbl_s_lv.nwf"), kOver = Sound("kbl_s_gov.nwf");
const std::string kSaved = "write .\\kbl_sc_l.uc2", kPause = "sleep 2000";

class LandingTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        OpenPictures();
        FillBackBuffer();
        GameState.playing = 1;
    }

    void LandAt(uint8_t kind, uint8_t rotation, int32_t x, int32_t y) {
        PieceSequence[GameState.currentIndex] = kind;
        GameState.rotation = rotation;
        GameState.pieceX = x;
        GameState.pieceY = y;
        LandPiece();
    }

    // level, rowsThisLevel, currentIndex, nextIndex, playing
    static std::tuple<int, int, int, int, int> Progress() {
        return {GameState.level, GameState.rowsThisLevel, GameState.currentIndex,
                GameState.nextIndex, GameState.playing};
    }

    std::string SavedScore() {
        std::ifstream in(root / "kbl_sc_l.uc2", std::ios::binary);
        std::string text;
        for (char c : std::string(std::istreambuf_iterator<char>(in), {}).substr(2))
            if (c) text += c;
        return text;
    }
};

TEST_F(LandingTest, TwoRowsAtLevelThreeScore150Then240) {
    GameState.level = 3;
    SetRow(1, "1111111..");
    SetRow(2, "2222222..");
    SetRow(3, "5.5......");
    LandAt(0, 0, 105, 0);  // square into columns 8 and 9
    EXPECT_EQ(GameState.score, 150u + 240u);
    EXPECT_EQ(GameState.rowsThisLevel, 2);
    EXPECT_EQ(RowText(1), "5.5......");
    EXPECT_EQ(RowText(2), ".........");
    EXPECT_EQ(log.events, (std::vector<std::string>{kLanded, kRows}));
    EXPECT_TRUE(CellOf(1, 0) == kCellWall && CellOf(1, 10) == kCellWall);

    log.events.clear();
    LandAt(4, 0, 15, 15);  // no row: only the landing sounds
    EXPECT_EQ(RowText(2), ".4.......");
    EXPECT_EQ(GameState.score, 390u);
    EXPECT_EQ(log.events, std::vector<std::string>{kLanded});
}

// Each row is examined once wherever it has moved to, so full rows apart and
// at the very top all go in one landing.
TEST_F(LandingTest, FullRowsAnywhereGoInOneLanding) {
    GameState.level = 2;
    for (int32_t row : {1, 3, 4, 19}) SetRow(row, "333333333");
    SetRow(2, "6........");
    SetRow(5, ".6.......");
    ClearRows();
    EXPECT_EQ(GameState.score, (50u + 80u + 110u + 140u) * 2);
    EXPECT_EQ(RowText(1), "6........");
    EXPECT_EQ(RowText(2), ".6.......");
    EXPECT_EQ(RowText(16), ".........");
}

TEST_F(LandingTest, ReachingTheTargetClearsTheLevelWithoutCarryingRows) {
    GameState.rowsThisLevel = 8;
    GameState.currentIndex = 17;
    GameState.nextIndex = 18;
    for (int32_t row : {1, 2, 3}) SetRow(row, "000000000");
    ClearRows();
    EXPECT_EQ(GameState.score, 50u + 80u + 110u + 1000u);
    EXPECT_EQ(Progress(), std::make_tuple(2, 0, 0, 1, 0));
    EXPECT_EQ(GameState.levelCleared, 1);
    EXPECT_TRUE(BoardIsFresh());
    EXPECT_EQ(log.events, (std::vector<std::string>{kRows, kLevel}));
}

// A record set by finishing level 10 is saved before the level wraps to 1.
TEST_F(LandingTest, LevelTenWrapsToOneKeepingTheScore) {
    GameState.level = 10;
    GameState.rowsThisLevel = 11;
    GameState.score = 5000;
    GameState.highScore = 5200;
    SetRow(1, "666666666");
    ClearRows();
    EXPECT_EQ(GameState.level, 1);
    EXPECT_EQ(GameState.score, 15500u);
    EXPECT_EQ(GameState.highScore, 15500u);
    EXPECT_EQ(log.events, (std::vector<std::string>{kRows, kLevel, kSaved}));
    EXPECT_EQ(SavedScore(), "15500");

    log.events.clear();
    GameState.level = 10;
    GameState.rowsThisLevel = 12;
    GameState.highScore = 99999;
    ClearRows();
    EXPECT_EQ(GameState.level, 1);
    EXPECT_EQ(log.events, std::vector<std::string>{kLevel});  // below the record: not saved
}

// The next piece meets the landed one at the spawn: the game ends although
// the landing also filled rows that would have made room.
TEST_F(LandingTest, BlockedSpawnEndsTheGameWithPictureRecordAndPause) {
    GameState.score = 500;
    GameState.highScore = 400;
    GameState.level = 2;
    GameState.rowsThisLevel = 3;
    for (int32_t row = 16; row <= 18; ++row) SetRow(row, "2222.2222");
    const int64_t before = host.NowMs();
    LandAt(1, 0, 45, kSpawnY);  // upright into column 5, rows 16..19

    EXPECT_EQ(log.events, (std::vector<std::string>{kLanded, kOver, kSaved, kPause}));
    EXPECT_EQ(host.NowMs() - before, 2000);
    EXPECT_EQ(SavedScore(), "500");
    EXPECT_TRUE(FrameAt(blockSprite, 2, 15, 75));              // the Board, row 16
    EXPECT_TRUE(FrameAt(blockSprite, 0, 75, 30));              // the piece that did not fit
    EXPECT_TRUE(FrameAt(numberSprite, 1, 195, 113));           // level 2
    EXPECT_TRUE(FrameAt(numberSprite, 12 - 3 - 1, 210, 135));  // 9 rows to go
    EXPECT_TRUE(FrameAt(scoreDigitSprite, 5, 207, 31, true));  // the record, now 500
    EXPECT_TRUE(FrameAt(gameOverSprite, 0, 24, 90));
    const std::vector<uint16_t> screen = host.Screen();
    EXPECT_GT(screen.size() - std::count(screen.begin(), screen.end(), 0), 10000u);
    // Everything but the record is back at the start.
    EXPECT_EQ(GameState.score, 0u);
    EXPECT_EQ(GameState.highScore, 500u);
    EXPECT_EQ(Progress(), std::make_tuple(1, 0, 0, 1, 0));
    EXPECT_TRUE(BoardIsFresh());
}

// Rows past the target (the level areas can cause them) have no frame to
// show: the rows-to-go number is left out of the game-over picture.
TEST_F(LandingTest, GameOverPastTheRowTargetDrawsNoRowsToGo) {
    GameState.level = 2;
    GameState.rowsThisLevel = 13;
    GameState.highScore = 10;
    SetRow(19, "....1....");
    LandAt(0, 0, 0, 0);
    EXPECT_TRUE(FrameAt(numberSprite, 1, 195, 113));
    EXPECT_EQ(ChangedPixels(210, 135, numberSprite.frameWidth, numberSprite.frameHeight), 0);
    EXPECT_EQ(log.events, (std::vector<std::string>{kLanded, kOver, kPause}));
}

TEST_F(LandingTest, UnwritableRecordShutsDownWithoutDrawingOnReleasedPictures) {
    std::filesystem::create_directory(root / "kbl_sc_l.uc2");
    SetRow(19, "....1....");
    LandAt(0, 0, 0, 0);
    EXPECT_EQ(ShutdownDone, 1);
    EXPECT_EQ(BackBuffer.pixels, nullptr);
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
}

TEST_F(LandingTest, SequenceRunsRoundAndIsTheDeviceSeriesFromTheCounter) {
    GameState.currentIndex = 98;
    GameState.nextIndex = 99;
    LandAt(0, 0, 0, 0);
    EXPECT_EQ(Progress(), std::make_tuple(1, 0, 99, 0, 1));
    LandAt(0, 0, 30, 0);
    EXPECT_EQ(Progress(), std::make_tuple(1, 0, 0, 1, 1));

    host.AdvanceMs(1234);
    uint32_t state = static_cast<uint32_t>(host.CounterNow());
    BuildPieceSequence();
    for (int32_t i = 0; i < kSequenceLength; ++i) {
        state = state * 214013u + 2531011u;
        ASSERT_EQ(PieceSequence[i], ((state >> 16) & 0x7FFF) % 7) << i;
    }
}

}  // namespace
