// The game step and the landing: gravity, the keys, the hard drop, rotation
// with its wall kick; rows removed and scored, the level wrapped, the game
// over with its picture and saved record, and the piece sequence's wrap.
#include <tuple>

#include "support/device.h"

namespace pellax_test {
namespace {

using Events = std::vector<std::string>;
const std::string kLanded = Sound("kbl_s_b.nwf"), kRows = Sound("kbl_s_fl.nwf");
const std::string kLevel = Sound("kbl_s_lv.nwf"), kOver = Sound("kbl_s_gov.nwf");
// A save writes the record beside its file, then moves it into place.
const std::string kSaving = "write .\\kbl_sc_l.tmp", kSaved = "write .\\kbl_sc_l.uc2";
const std::string kPause = "sleep 2000";

class Play : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        OpenPictures();
        FillBackBuffer();
        GameState.playing = 1;
    }

    static void Place(uint8_t kind, uint8_t rotation, int32_t x, int32_t y) {
        PieceSequence[GameState.currentIndex] = kind;
        GameState.rotation = rotation;
        GameState.pieceX = x;
        GameState.pieceY = y;
    }
    static void LandAt(uint8_t kind, uint8_t rotation, int32_t x, int32_t y) {
        Place(kind, rotation, x, y);
        LandPiece();
    }
    static void Score(uint8_t level, uint8_t rows, uint32_t score, uint32_t highScore) {
        GameState.level = level;
        GameState.rowsThisLevel = rows;
        GameState.score = score;
        GameState.highScore = highScore;
        GameState.playing = 1;
    }
    // One step with gravity's interval not yet over.
    static void Step() {
        TickSlot[0] = static_cast<uint32_t>(ClockMs());
        StepGame();
    }
    // x, y, rotation, dropping
    static std::tuple<int, int, int, int> Piece() {
        return {GameState.pieceX, GameState.pieceY, GameState.rotation, GameState.dropping};
    }
    // level, rowsThisLevel, currentIndex, nextIndex, playing
    static std::tuple<int, int, int, int, int> Progress() {
        return {GameState.level, GameState.rowsThisLevel, GameState.currentIndex,
                GameState.nextIndex, GameState.playing};
    }
    std::string SavedScore() const {
        std::string text;
        for (char c : ReadRootFile("kbl_sc_l.uc2").substr(2))
            if (c) text += c;
        return text;
    }
};

// A landing in the gravity step ends the drop, so the new piece is not
// dropped in that frame, but the keys of that frame act on it.
TEST_F(Play, LandingFrameActsOnTheNewPiece) {
    Place(0, 0, kSpawnX, 0);
    PieceSequence[1] = 1;
    GameState.dropping = 1;
    KeyFlags[kKeyLeft] = KeyFlags[kKeyUp] = 1;
    host.AdvanceMs(FallInterval() + 1);
    StepGame();
    EXPECT_EQ(RowText(1), "....00...");
    EXPECT_EQ(host.events, Events{kLanded});
    EXPECT_EQ(Piece(), std::make_tuple(kSpawnX - 15, kSpawnY, 1, 0));
}

TEST_F(Play, HardDropStartsNextFrameAndAddsToGravity) {
    Place(3, 0, kSpawnX, kSpawnY);
    KeyFlags[kKeyDrop] = 1;
    Step();
    EXPECT_EQ(Piece(), std::make_tuple(kSpawnX, kSpawnY, 0, 1));
    Step();
    EXPECT_EQ(GameState.pieceY, kSpawnY - 15);
    host.AdvanceMs(FallInterval() + 1);
    StepGame();
    EXPECT_EQ(GameState.pieceY, kSpawnY - 45);
    for (int frame = 0; frame < 20 && GameState.dropping; ++frame) Step();
    EXPECT_EQ(RowText(1) + RowText(2), ".....3......333...");
    // The down key moves a piece that rests on the floor nowhere, and never lands it.
    ResetBoard();
    Place(0, 0, kSpawnX, 0);
    KeyFlags[kKeyDown] = 1;
    Step();
    EXPECT_EQ(Piece(), std::make_tuple(kSpawnX, 0, 0, 0));
    EXPECT_EQ(host.events, Events{kLanded});
}

// Turning the upright long piece (its top cell in row 12) with blocks in
// row 12: the kick moves away from the nearer wall, over blocks, to the
// first free place, and is refused at the far wall or by a block in place.
// Lying in row 1 it cannot turn: the cells below the floor count as floor.
TEST_F(Play, RotationKicksAwayFromTheWallOrIsRefused) {
    const struct {
        int32_t x, y;
        uint8_t rotation;
        std::string row12;
        int32_t probe, expectedX;
        uint8_t expectedRotation;
    } cases[] = {
        {-15, 150, 0, ".........", 32, 15, 1},   // from column 1: walls at -1 and 0
        {-15, 150, 0, "...5.....", 32, 75, 1},   // jumps the block in column 4
        {-15, 150, 0, "...5...5.", 32, -15, 0},  // nothing free before the right wall
        {105, 150, 0, ".....5...", 16, 30, 1},   // from column 9, leftwards
        {105, 150, 0, ".5...5...", 16, 105, 0},  // nothing free before the left wall
        {0, 150, 0, "..5......", 96, 0, 0},      // a wall and a block in place
        {45, 150, 0, ".........", 0, 45, 1},     // free in place
        {45, -15, 1, ".........", 240, 45, 1},   // upright it would reach below the floor
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.row12 + " from x " + std::to_string(c.x) + " y " + std::to_string(c.y));
        ResetBoard();
        SetRow(12, c.row12);
        Place(1, c.rotation, c.x, c.y);
        EXPECT_EQ(ProbeRotation(c.x, c.y, 1, (c.rotation + 1) % 4), c.probe);
        KeyFlags[kKeyUp] = 1;
        Step();
        EXPECT_EQ(Piece(), std::make_tuple(c.expectedX, c.y, c.expectedRotation, 0));
        EXPECT_EQ(KeyFlags[kKeyUp], 0u);
    }
}

// Each row is examined once wherever it has moved to, so full rows apart and
// at the very top all go in one landing.
TEST_F(Play, FullRowsAnywhereGoInOneLanding) {
    GameState.level = 2;
    for (int32_t row : {1, 3, 4, 19}) SetRow(row, "333333333");
    SetRow(2, "6........");
    SetRow(5, ".6.......");
    ClearRows();
    EXPECT_EQ(GameState.score, (50u + 80u + 110u + 140u) * 2);
    EXPECT_EQ(RowText(1) + RowText(2) + RowText(16), "6.........6................");
}

// Rows past the target are not carried over, and a record set by finishing
// level 10 is saved before the level wraps to 1.
TEST_F(Play, LevelTenWrapsToOneKeepingTheScore) {
    Score(10, 11, 5000, 5200);
    SetRow(1, "666666666");
    SetRow(2, "666666666");
    ClearRows();
    EXPECT_EQ(Progress(), std::make_tuple(1, 0, 0, 1, 0));
    EXPECT_EQ(GameState.levelCleared, 1);
    EXPECT_EQ(GameState.score, 5000u + 500u + 800u + 10000u);
    EXPECT_EQ(GameState.highScore, GameState.score);
    EXPECT_EQ(host.events, (Events{kRows, kLevel, kSaving, kSaved}));
    EXPECT_EQ(SavedScore(), "16300");
    EXPECT_TRUE(BoardIsFresh());

    host.events.clear();
    Score(10, 12, 0, 99999);
    ClearRows();
    EXPECT_EQ(GameState.level, 1);
    EXPECT_EQ(host.events, Events{kLevel});  // below the record: not saved
}

// The next piece meets the landed one at the spawn: the game ends although
// the landing also filled rows that would have made room. A second game over
// past the row target (the level areas can cause that) has no rows-to-go
// frame to show; a third, with the record unwritable, shuts the game down.
TEST_F(Play, GameOverPictureRecordAndShutdown) {
    Score(2, 3, 500, 400);
    for (int32_t row = 16; row <= 18; ++row) SetRow(row, "2222.2222");
    LandAt(1, 0, 45, kSpawnY);  // upright into column 5, rows 16..19
    EXPECT_EQ(host.events, (Events{kLanded, kOver, kSaving, kSaved, kPause}));
    EXPECT_EQ(host.NowMs(), 2000);
    EXPECT_EQ(SavedScore(), "500");
    EXPECT_TRUE(FrameAt(blockSprite, 2, 15, 75));              // the Board, row 16
    EXPECT_TRUE(FrameAt(blockSprite, 0, 75, 30));              // the piece that did not fit
    EXPECT_TRUE(FrameAt(numberSprite, 1, 195, 113));           // level 2
    EXPECT_TRUE(FrameAt(numberSprite, 12 - 3 - 1, 210, 135));  // 9 rows to go
    EXPECT_TRUE(FrameAt(scoreDigitSprite, 5, 207, 31, true));  // the record, now 500
    EXPECT_TRUE(FrameAt(gameOverSprite, 0, 24, 90));
    const wince::Screen &screen = host.Screen();
    EXPECT_GT(screen.size() - std::count(screen.begin(), screen.end(), 0), 10000u);
    // Everything but the record is back at the start.
    EXPECT_EQ(std::make_pair(GameState.score, GameState.highScore), std::make_pair(0u, 500u));
    EXPECT_EQ(Progress(), std::make_tuple(1, 0, 0, 1, 0));
    EXPECT_TRUE(BoardIsFresh());

    host.events.clear();
    FillBackBuffer();
    Score(2, 13, 0, 10);
    SetRow(19, "....1....");
    LandAt(0, 0, 0, 0);
    EXPECT_TRUE(FrameAt(numberSprite, 1, 195, 113));
    EXPECT_EQ(ChangedPixels(210, 135, numberSprite.frameWidth, numberSprite.frameHeight), 0);
    EXPECT_EQ(host.events, (Events{kLanded, kOver, kPause}));

    fs::remove(root / "kbl_sc_l.uc2");
    fs::create_directory(root / "kbl_sc_l.uc2");
    Score(1, 0, 600, 500);
    SetRow(19, "....1....");
    LandAt(0, 0, 0, 0);
    EXPECT_EQ(ShutdownDone, 1);
    EXPECT_EQ(BackBuffer.pixels, nullptr);
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
}

TEST_F(Play, SequenceRunsRound) {
    GameState.currentIndex = 98;
    GameState.nextIndex = 99;
    LandAt(0, 0, 0, 0);
    EXPECT_EQ(Progress(), std::make_tuple(1, 0, 99, 0, 1));
    LandAt(0, 0, 30, 0);
    EXPECT_EQ(Progress(), std::make_tuple(1, 0, 0, 1, 1));
}

}  // namespace
}  // namespace pellax_test
