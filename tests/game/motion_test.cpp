// The game step: gravity by level, the keys, the hard drop, rotation with
// its wall kick, and the landing.
#include <gtest/gtest.h>

#include "support/rules_board.h"
#include "support/rules_env.h"

using namespace rules_test;

namespace {

class MotionTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        OpenPictures();
        GameState.playing = 1;
    }

    void Place(uint8_t kind, uint8_t rotation, int32_t x, int32_t y) {
        PieceSequence[GameState.currentIndex] = kind;
        GameState.rotation = rotation;
        GameState.pieceX = x;
        GameState.pieceY = y;
    }

    // One step with gravity's interval not yet over.
    void Step() {
        TickSlot[0] = static_cast<uint32_t>(ClockMs());
        StepGame();
    }
};

TEST_F(MotionTest, GravityWaitsMoreThanTheLevelsInterval) {
    for (uint8_t level = 1; level <= 10; ++level) {
        SCOPED_TRACE(testing::Message() << "level " << int(level));
        GameState.level = level;
        const int32_t interval = 1000 - 95 * level;
        Place(0, 0, kSpawnX, kSpawnY);
        TickSlot[0] = static_cast<uint32_t>(ClockMs());
        host.AdvanceMs(interval);
        StepGame();
        EXPECT_EQ(GameState.pieceY, kSpawnY);
        host.AdvanceMs(1);
        StepGame();
        EXPECT_EQ(GameState.pieceY, kSpawnY - 15);
    }
}

TEST_F(MotionTest, OneMovePerFrameLeftFirstAndDownNeverLands) {
    Place(0, 0, kSpawnX, 0);  // square resting on the floor
    KeyFlags[kKeyLeft] = KeyFlags[kKeyRight] = KeyFlags[kKeyDown] = 1;
    Step();
    EXPECT_EQ(GameState.pieceX, kSpawnX - 15);
    EXPECT_EQ(std::vector<uint32_t>(KeyFlags, KeyFlags + 4), (std::vector<uint32_t>{0, 1, 0, 1}));
    Step();
    EXPECT_EQ(GameState.pieceX, kSpawnX);
    Step();
    EXPECT_EQ(KeyFlags[kKeyDown], 0u);
    EXPECT_EQ(GameState.pieceY, 0);
    EXPECT_TRUE(log.events.empty());
}

// A landing in the gravity step ends the drop, so the new piece is not
// dropped in that frame, but the keys of that frame act on it.
TEST_F(MotionTest, LandingFrameActsOnTheNewPiece) {
    Place(0, 0, kSpawnX, 0);
    PieceSequence[1] = 1;
    GameState.dropping = 1;
    KeyFlags[kKeyLeft] = KeyFlags[kKeyUp] = 1;
    host.AdvanceMs(FallInterval() + 1);
    StepGame();
    EXPECT_EQ(RowText(1), "....00...");
    EXPECT_EQ(log.events, std::vector<std::string>{Sound("kbl_s_b.nwf")});
    EXPECT_EQ(GameState.dropping, 0);
    EXPECT_EQ(GameState.pieceY, kSpawnY);
    EXPECT_EQ(GameState.pieceX, kSpawnX - 15);
    EXPECT_EQ(GameState.rotation, 1);
}

TEST_F(MotionTest, HardDropStartsNextFrameAndAddsToGravity) {
    Place(3, 0, kSpawnX, kSpawnY);
    KeyFlags[kKeyDrop] = 1;
    Step();
    EXPECT_EQ(GameState.dropping, 1);
    EXPECT_EQ(GameState.pieceY, kSpawnY);
    Step();
    EXPECT_EQ(GameState.pieceY, kSpawnY - 15);
    host.AdvanceMs(FallInterval() + 1);
    StepGame();
    EXPECT_EQ(GameState.pieceY, kSpawnY - 45);
    for (int frame = 0; frame < 20 && GameState.dropping; ++frame) Step();
    EXPECT_EQ(RowText(1), ".....3...");
    EXPECT_EQ(RowText(2), "...333...");
}

// Turning the upright long piece (its top cell in row 12) with blocks in
// row 12: the kick moves away from the nearer wall, over blocks, to the
// first free place, and is refused at the far wall or by a block in place.
TEST_F(MotionTest, RotationKicksAwayFromTheWallOrIsRefused) {
    struct Case {
        int32_t x;
        std::string row12;
        int32_t probe, expectedX, expectedRotation;
    };
    const Case cases[] = {
        {-15, ".........", 32, 15, 1},   // from column 1: walls at -1 and 0
        {-15, "...5.....", 32, 75, 1},   // jumps the block in column 4
        {-15, "...5...5.", 32, -15, 0},  // nothing free before the right wall
        {105, ".....5...", 16, 30, 1},   // from column 9, leftwards
        {105, ".5...5...", 16, 105, 0},  // nothing free before the left wall
        {0, "..5......", 96, 0, 0},      // a wall and a block in place
        {45, ".........", 0, 45, 1},     // free in place
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.row12 + " from x " + std::to_string(c.x));
        ResetBoard();
        SetRow(12, c.row12);
        Place(1, 0, c.x, 150);
        EXPECT_EQ(ProbeRotation(c.x, 150, 1, 1), c.probe);
        KeyFlags[kKeyUp] = 1;
        Step();
        EXPECT_EQ(GameState.pieceX, c.expectedX);
        EXPECT_EQ(GameState.rotation, c.expectedRotation);
        EXPECT_EQ(KeyFlags[kKeyUp], 0u);
    }
}

TEST_F(MotionTest, TurningNeverReachesBelowTheFloor) {
    Place(1, 1, 45, -15);  // lying in row 1
    // Upright it would take rows -2..1; the three cells below row 1 count as floor.
    EXPECT_EQ(ProbeRotation(45, -15, 1, 2), 240);
    KeyFlags[kKeyUp] = 1;
    Step();
    EXPECT_EQ(GameState.rotation, 1);
}

}  // namespace
