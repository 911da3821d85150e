// Landing: rows removed and scored, levels cleared and wrapped, the game over
// with its picture and saved record, and the piece sequence.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "support/rules_board.h"
#include "support/rules_draw.h"
#include "support/rules_env.h"

using namespace rules_test;

namespace {

class LandingTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        OpenPictures();
        GameState.playing = 1;
    }

    // The falling piece, landed where it is now.
    void LandAt(uint8_t kind, uint8_t rotation, int32_t x, int32_t y) {
        PieceSequence[GameState.currentIndex] = kind;
        GameState.rotation = rotation;
        GameState.pieceX = x;
        GameState.pieceY = y;
        LandPiece();
    }

    std::string SavedScoreFile() {
        std::ifstream in(root / "kbl_sc_l.uc2", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    const std::string landed = "sound " + SoundPath("kbl_s_b.nwf");
    const std::string rows = "sound " + SoundPath("kbl_s_fl.nwf");
    const std::string levelDone = "sound " + SoundPath("kbl_s_lv.nwf");
    const std::string gameOver = "sound " + SoundPath("kbl_s_gov.nwf");
    const std::string saved = "write .\\kbl_sc_l.uc2";
};

TEST_F(LandingTest, TwoRowsAtLevelThreeScore150Then240) {
    GameState.level = 3;
    SetRow(1, "1111111..");
    SetRow(2, "2222222..");
    SetRow(3, "5.5......");
    LandAt(0, 0, 105, 0);  // square into columns 8 and 9 of rows 1 and 2
    EXPECT_EQ(GameState.score, 150u + 240u);
    EXPECT_EQ(GameState.rowsThisLevel, 2);
    EXPECT_EQ(RowText(1), "5.5......");
    EXPECT_EQ(RowText(2), ".........");
    EXPECT_EQ(log.events, (std::vector<std::string>{landed, rows}));
    EXPECT_EQ(CellOf(1, 0), kCellWall);
    EXPECT_EQ(CellOf(1, 10), kCellWall);
}

TEST_F(LandingTest, LandingWithoutAFullRowOnlySounds) {
    GameState.score = 70;
    SetRow(1, "1111111..");
    LandAt(4, 0, 15, 15);  // T shape in columns 1..3 of rows 2 and 3
    EXPECT_EQ(RowText(2), ".4.......");
    EXPECT_EQ(RowText(3), "444......");
    EXPECT_EQ(GameState.score, 70u);
    EXPECT_EQ(GameState.rowsThisLevel, 0);
    EXPECT_EQ(log.events, std::vector<std::string>{landed});
}

// Each row on the Board is examined once wherever it has moved to, so full
// rows apart from each other and at the very top all go in one landing.
TEST_F(LandingTest, FullRowsAnywhereAreRemovedInOneLanding) {
    GameState.level = 2;
    FillRow(1, 3);
    SetRow(2, "6........");
    FillRow(3, 4);
    FillRow(4, 5);
    SetRow(5, ".6.......");
    FillRow(19, 2);
    ClearRows();
    EXPECT_EQ(GameState.score, (50u + 80u + 110u + 140u) * 2);
    EXPECT_EQ(GameState.rowsThisLevel, 4);
    EXPECT_EQ(RowText(1), "6........");
    EXPECT_EQ(RowText(2), ".6.......");
    for (int32_t row = 3; row < kBoardRows; ++row) EXPECT_EQ(RowText(row), ".........") << row;
    EXPECT_EQ(log.events, std::vector<std::string>{rows});
}

TEST_F(LandingTest, ReachingTheTargetClearsTheLevelWithoutCarryingRows) {
    GameState.rowsThisLevel = 8;
    GameState.currentIndex = 17;
    GameState.nextIndex = 18;
    FillRow(1, 0);
    FillRow(2, 1);
    FillRow(3, 2);
    SetRow(4, "3........");
    ClearRows();
    EXPECT_EQ(GameState.score, 50u + 80u + 110u + 1000u);
    EXPECT_EQ(GameState.level, 2);
    EXPECT_EQ(GameState.rowsThisLevel, 0);
    EXPECT_EQ(GameState.playing, 0);
    EXPECT_EQ(GameState.levelCleared, 1);
    EXPECT_EQ(GameState.currentIndex, 0);
    EXPECT_EQ(GameState.nextIndex, 1);
    EXPECT_TRUE(BoardIsFresh());
    EXPECT_EQ(log.events, (std::vector<std::string>{rows, levelDone}));
}

TEST_F(LandingTest, RowsAlreadyPastTheTargetClearTheLevelAtTheNextLanding) {
    GameState.level = 4;  // raised by the level area in mid-level
    GameState.rowsThisLevel = 17;
    ClearRows();
    EXPECT_EQ(GameState.level, 5);
    EXPECT_EQ(GameState.score, 4000u);
    EXPECT_EQ(log.events, std::vector<std::string>{levelDone});
}

TEST_F(LandingTest, LevelTenWrapsToOneKeepingTheScoreAndSavingTheRecord) {
    GameState.level = 10;
    GameState.rowsThisLevel = 11;
    GameState.score = 5000;
    GameState.highScore = 5200;
    FillRow(1, 6);
    ClearRows();
    EXPECT_EQ(GameState.level, 1);
    EXPECT_EQ(GameState.score, 5000u + 500u + 10000u);
    EXPECT_EQ(GameState.highScore, 15500u);
    EXPECT_EQ(log.events, (std::vector<std::string>{rows, levelDone, saved}));
    EXPECT_EQ(SavedScoreFile(), std::string("0\0"
                                            "1\0"
                                            "5\0"
                                            "5\0"
                                            "0\0"
                                            "0\0",
                                            12) +
                                    std::string(14, '\0'));
}

TEST_F(LandingTest, WrapBelowTheRecordWritesNothing) {
    GameState.level = 10;
    GameState.rowsThisLevel = 12;
    GameState.score = 100;
    GameState.highScore = 99999;
    ClearRows();
    EXPECT_EQ(GameState.level, 1);
    EXPECT_EQ(GameState.highScore, 99999u);
    EXPECT_EQ(log.events, std::vector<std::string>{levelDone});
    EXPECT_FALSE(std::filesystem::exists(root / "kbl_sc_l.uc2"));
}

TEST_F(LandingTest, SequenceIndexesRunRoundTheHundredPieces) {
    GameState.currentIndex = 98;
    GameState.nextIndex = 99;
    LandAt(0, 0, 0, 0);
    EXPECT_EQ(GameState.currentIndex, 99);
    EXPECT_EQ(GameState.nextIndex, 0);
    LandAt(0, 0, 30, 0);
    EXPECT_EQ(GameState.currentIndex, 0);
    EXPECT_EQ(GameState.nextIndex, 1);
    EXPECT_EQ(GameState.pieceX, kSpawnX);
    EXPECT_EQ(GameState.pieceY, kSpawnY);
}

TEST_F(LandingTest, SequenceIsTheDeviceRandomSeriesSeededFromTheCounter) {
    host.AdvanceMs(1234);
    const uint32_t seed = static_cast<uint32_t>(host.CounterNow());
    BuildPieceSequence();
    uint32_t state = seed;
    for (int32_t i = 0; i < kSequenceLength; ++i) {
        state = state * 214013u + 2531011u;
        EXPECT_EQ(PieceSequence[i], ((state >> 16) & 0x7FFF) % 7) << i;
    }
}

// The next piece meets the landed one at the spawn: the game ends although
// the landing also filled rows that would have made room.
TEST_F(LandingTest, BlockedSpawnEndsTheGameWithPictureRecordAndPause) {
    GameState.score = 500;
    GameState.highScore = 400;
    GameState.level = 2;
    GameState.rowsThisLevel = 3;
    for (int32_t row = 16; row <= 18; ++row) SetRow(row, "2222.2222");
    FillBackBuffer();
    const int64_t before = host.NowMs();
    LandAt(1, 0, 45, kSpawnY);  // upright into column 5, rows 16..19

    EXPECT_EQ(log.events, (std::vector<std::string>{landed, gameOver, saved, "sleep 2000"}));
    EXPECT_EQ(host.NowMs() - before, 2000);
    EXPECT_EQ(SavedScoreFile().substr(0, 8), std::string("0\0"
                                                         "5\0"
                                                         "0\0"
                                                         "0\0",
                                                         8));
    // The picture: the Board with the landed piece, the piece that did not
    // fit over it, the numbers and the banner.
    EXPECT_TRUE(FrameAt(blockSprite, 2, 15, 75));
    EXPECT_TRUE(FrameAt(numberSprite, 1, 195, 113));
    EXPECT_TRUE(FrameAt(numberSprite, 12 - 3 - 1, 210, 135));
    EXPECT_TRUE(FrameAt(gameOverSprite, 0, 24, 90));
    for (int32_t x : {207, 213, 219})
        EXPECT_TRUE(FrameAt(scoreDigitSprite, x == 207 ? 5 : 0, x, 31, true)) << x;
    const std::vector<uint16_t> screen = host.Screen();
    EXPECT_NE(std::count(screen.begin(), screen.end(), 0), static_cast<long>(screen.size()));
    // Everything but the record is back at the start.
    EXPECT_EQ(GameState.score, 0u);
    EXPECT_EQ(GameState.highScore, 500u);
    EXPECT_EQ(GameState.level, 1);
    EXPECT_EQ(GameState.rowsThisLevel, 0);
    EXPECT_EQ(GameState.playing, 0);
    EXPECT_EQ(GameState.currentIndex, 0);
    EXPECT_EQ(GameState.nextIndex, 1);
    EXPECT_TRUE(BoardIsFresh());
}

TEST_F(LandingTest, GameOverPastTheRowTargetDrawsNoRowsToGo) {
    GameState.level = 2;
    GameState.rowsThisLevel = 13;  // more than the 12 asked
    GameState.highScore = 10;
    SetRow(19, "....1....");
    FillBackBuffer();
    LandAt(0, 0, 0, 0);
    EXPECT_TRUE(FrameAt(numberSprite, 1, 195, 113));
    EXPECT_TRUE(Untouched(210, 135, numberSprite.frameWidth, numberSprite.frameHeight));
    EXPECT_EQ(log.events, (std::vector<std::string>{landed, gameOver, "sleep 2000"}));
}

TEST_F(LandingTest, UnwritableRecordShutsDownWithoutDrawingOnReleasedPictures) {
    std::filesystem::create_directory(root / "kbl_sc_l.uc2");
    SetRow(19, "....1....");
    LandAt(0, 0, 0, 0);
    EXPECT_EQ(ShutdownDone, 1);
    EXPECT_EQ(BackBuffer.pixels, nullptr);
    MSG message{};
    ASSERT_EQ(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), TRUE);
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 0u);
}

}  // namespace
