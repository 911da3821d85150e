// The game step: gravity by level, the keys, the hard drop, rotation with
// its wall kick, and the landing.
#include <gtest/gtest.h>

#include "support/rules_board.h"
#include "support/rules_draw.h"
#include "support/rules_env.h"

using namespace rules_test;

namespace {

class MotionTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        OpenPictures();
        GameState.playing = 1;
        HoldGravity();
    }

    // Gravity's slot has just fired: the next fall is a whole interval away.
    void HoldGravity() { TickSlot[0] = static_cast<uint32_t>(ClockMs()); }

    void Place(uint8_t kind, uint8_t rotation, int32_t x, int32_t y) {
        PieceSequence[GameState.currentIndex] = kind;
        GameState.rotation = rotation;
        GameState.pieceX = x;
        GameState.pieceY = y;
    }

    void Press(uint8_t flag) { KeyFlags[flag] = 1; }

    void StepWithoutGravity() {
        HoldGravity();
        StepGame();
    }
};

TEST_F(MotionTest, GravityWaitsMoreThanTheLevelsInterval) {
    const int32_t intervals[] = {905, 810, 715, 620, 525, 430, 335, 240, 145, 50};
    for (uint8_t level = 1; level <= 10; ++level) {
        SCOPED_TRACE(testing::Message() << "level " << int(level));
        GameState.level = level;
        Place(0, 0, kSpawnX, kSpawnY);
        HoldGravity();
        host.AdvanceMs(intervals[level - 1]);
        StepGame();
        EXPECT_EQ(GameState.pieceY, kSpawnY);
        host.AdvanceMs(1);
        StepGame();
        EXPECT_EQ(GameState.pieceY, kSpawnY - kCellSize);
        // The interval counts again from the reading that fired.
        host.AdvanceMs(intervals[level - 1]);
        StepGame();
        EXPECT_EQ(GameState.pieceY, kSpawnY - kCellSize);
    }
}

TEST_F(MotionTest, LeftWinsOverRightWhichWaitsForTheNextFrame) {
    Place(2, 0, kSpawnX, kSpawnY);
    Press(kKeyLeft);
    Press(kKeyRight);
    Press(kKeyDown);
    StepWithoutGravity();
    EXPECT_EQ(GameState.pieceX, kSpawnX - kCellSize);
    EXPECT_EQ(KeyFlags[kKeyLeft], 0u);
    EXPECT_EQ(KeyFlags[kKeyRight], 1u);
    EXPECT_EQ(KeyFlags[kKeyDown], 1u);
    StepWithoutGravity();
    EXPECT_EQ(GameState.pieceX, kSpawnX);
    EXPECT_EQ(KeyFlags[kKeyRight], 0u);
    StepWithoutGravity();
    EXPECT_EQ(GameState.pieceY, kSpawnY - kCellSize);
    EXPECT_EQ(KeyFlags[kKeyDown], 0u);
}

TEST_F(MotionTest, BlockedMovesAreNotMadeButTheirFlagsAreCleared) {
    Place(0, 0, 0, kSpawnY);  // square against the left wall
    Press(kKeyLeft);
    StepWithoutGravity();
    EXPECT_EQ(GameState.pieceX, 0);
    EXPECT_EQ(KeyFlags[kKeyLeft], 0u);
    Place(0, 0, 105, kSpawnY);  // against the right wall
    Press(kKeyRight);
    StepWithoutGravity();
    EXPECT_EQ(GameState.pieceX, 105);
    EXPECT_EQ(KeyFlags[kKeyRight], 0u);
}

TEST_F(MotionTest, DownKeyNeverLandsAPieceOnlyGravityDoes) {
    Place(0, 0, kSpawnX, 0);  // square resting on the floor, rows 1 and 2
    Press(kKeyDown);
    StepWithoutGravity();
    EXPECT_EQ(GameState.pieceY, 0);
    EXPECT_EQ(KeyFlags[kKeyDown], 0u);
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(RowText(1), ".........");

    host.AdvanceMs(FallInterval() + 1);
    StepGame();
    EXPECT_EQ(RowText(1), "....00...");
    EXPECT_EQ(RowText(2), "....00...");
    EXPECT_EQ(GameState.pieceY, kSpawnY);
    EXPECT_EQ(GameState.currentIndex, 1);
    EXPECT_EQ(log.events, std::vector<std::string>{"sound " + SoundPath("kbl_s_b.nwf")});
}

// A landing in the gravity step ends the drop, so the new piece is not
// dropped in the same frame, but the keys of that frame act on it.
TEST_F(MotionTest, TheLandingFrameActsOnTheNewPiece) {
    Place(0, 0, kSpawnX, 0);
    PieceSequence[1] = 1;
    GameState.dropping = 1;
    Press(kKeyLeft);
    Press(kKeyUp);
    host.AdvanceMs(FallInterval() + 1);
    StepGame();
    EXPECT_EQ(GameState.dropping, 0);
    EXPECT_EQ(GameState.pieceY, kSpawnY);
    EXPECT_EQ(GameState.pieceX, kSpawnX - kCellSize);
    EXPECT_EQ(GameState.rotation, 1);  // the long piece now lies
    EXPECT_EQ(KeyFlags[kKeyLeft] + KeyFlags[kKeyUp], 0u);
}

TEST_F(MotionTest, HardDropStartsNextFrameAndAddsToGravity) {
    Place(3, 0, kSpawnX, kSpawnY);
    Press(kKeyDrop);
    StepWithoutGravity();
    EXPECT_EQ(GameState.dropping, 1);
    EXPECT_EQ(KeyFlags[kKeyDrop], 0u);
    EXPECT_EQ(GameState.pieceY, kSpawnY);
    StepWithoutGravity();
    EXPECT_EQ(GameState.pieceY, kSpawnY - kCellSize);
    host.AdvanceMs(FallInterval() + 1);
    StepGame();
    EXPECT_EQ(GameState.pieceY, kSpawnY - 3 * kCellSize);
    // On down to the floor: the shape's lower row lands in row 1.
    for (int frame = 0; frame < 20 && GameState.dropping; ++frame) StepWithoutGravity();
    EXPECT_EQ(GameState.dropping, 0);
    EXPECT_EQ(RowText(1), ".....3...");
    EXPECT_EQ(RowText(2), "...333...");
}

TEST_F(MotionTest, UprightLongPieceAtTheLeftWallIsKickedRightAsItTurns) {
    Place(1, 0, -15, 150);  // in column 1
    EXPECT_EQ(ProbeRotation(-15, 150, 1, 1), 32);
    EXPECT_EQ(ProbeRotation(0, 150, 1, 1), 16);
    Press(kKeyUp);
    StepWithoutGravity();
    EXPECT_EQ(GameState.pieceX, 15);
    EXPECT_EQ(GameState.rotation, 1);
    EXPECT_EQ(KeyFlags[kKeyUp], 0u);
    EXPECT_EQ(PieceFits(GameState.pieceX, GameState.pieceY, 1, 1), 1);
}

TEST_F(MotionTest, RotationMeetingABlockIsRefusedInPlace) {
    Place(1, 0, 0, 150);  // upright in column 2, its top cell in row 12
    CellOf(12, 3) = 4;
    EXPECT_EQ(ProbeRotation(0, 150, 1, 1), 96);  // wall in column 0, block in column 3
    Press(kKeyUp);
    StepWithoutGravity();
    EXPECT_EQ(GameState.pieceX, 0);
    EXPECT_EQ(GameState.rotation, 0);
    EXPECT_EQ(KeyFlags[kKeyUp], 0u);
}

TEST_F(MotionTest, SquareTurnsAnywhereWithoutMoving) {
    Place(0, 3, 0, 30);
    Press(kKeyUp);
    StepWithoutGravity();
    EXPECT_EQ(GameState.rotation, 0);
    EXPECT_EQ(GameState.pieceX, 0);
}

// The kick passes over blocks to the first free place, but stops at the
// far wall: with no free place the turn is refused where the piece stood.
TEST_F(MotionTest, KickJumpsBlocksAndStopsAtTheFarWall) {
    struct Case {
        int32_t x;          // upright long piece, its top cell in row 12
        std::string row12;  // columns 1..9
        int32_t expectedX;
        uint8_t expectedRotation;
    };
    const Case cases[] = {
        {-15, "...5.....", 75, 1},   // right past the block in column 4
        {-15, "...5...5.", -15, 0},  // no four free columns before the right wall
        {105, ".....5...", 30, 1},   // left past the block in column 6
        {105, ".5...5...", 105, 0},  // no four free columns before the left wall
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.row12 + " from x " + std::to_string(c.x));
        ResetBoard();
        SetRow(12, c.row12);
        Place(1, 0, c.x, 150);
        Press(kKeyUp);
        StepWithoutGravity();
        EXPECT_EQ(GameState.pieceX, c.expectedX);
        EXPECT_EQ(GameState.rotation, c.expectedRotation);
        EXPECT_EQ(KeyFlags[kKeyUp], 0u);
    }
}

TEST_F(MotionTest, TurningNeverReachesBelowTheFloor) {
    Place(1, 1, 45, -15);  // lying in row 1
    // Upright it would take rows -2..1: three cells under the floor count as floor.
    EXPECT_EQ(ProbeRotation(45, -15, 1, 2), 240);
    Press(kKeyUp);
    StepWithoutGravity();
    EXPECT_EQ(GameState.rotation, 1);
    EXPECT_EQ(GameState.pieceX, 45);
}

TEST_F(MotionTest, StepDrawsTheFallingPiece) {
    FillBackBuffer();
    Place(0, 0, kSpawnX, kSpawnY);
    StepWithoutGravity();
    EXPECT_EQ(ChangedPixels(), 4 * 15 * 15);
    // Square in columns 5 and 6, rows 19 and 18.
    for (int32_t x : {75, 90})
        for (int32_t y : {30, 45}) EXPECT_TRUE(FrameAt(blockSprite, 0, x, y)) << x << "," << y;
}

}  // namespace
