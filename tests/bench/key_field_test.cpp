// The key-to-picture tool's reading of the play field: cells from a scaled
// picture, and the one change it times, the falling piece stepping sideways.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "key_latency/field.h"

namespace {

using key_latency::Field;
using key_latency::kCellSize;
using key_latency::kColumns;
using key_latency::kRows;
using key_latency::MovedSideways;
using Cells = std::vector<std::pair<int, int>>;  // (column, row from the top)

const Cells kT = {{0, 0}, {1, 0}, {2, 0}, {1, 1}};
const Cells kZ = {{0, 0}, {1, 0}, {1, 1}, {2, 1}};
const Cells kBar = {{0, 0}, {0, 1}, {0, 2}, {0, 3}};
const Cells kLying = {{0, 0}, {1, 0}, {2, 0}, {3, 0}};

// The cells of a shape placed at (column, row); rows above the field are out
// of sight, as the game does not draw them.
Field With(Field field, const Cells &shape, int column, int row) {
    for (auto [c, r] : shape) {
        if (row + r >= 0) field.at((row + r) * kColumns + column + c) = true;
    }
    return field;
}

Field Place(const Cells &shape, int column, int row) {
    return With(Field{}, shape, column, row);
}

TEST(KeyField, CellsAreReadAtTheirCentresAtAnyScale) {
    constexpr uint32_t kEmpty = 0x000408, kBlue = 0x3150EF, kGridLine = 0xFFFFFF;
    const Field pattern = With(Place(kZ, 0, 0), kBar, 8, 15);
    for (int scale = 1; scale <= 3; ++scale) {
        SCOPED_TRACE(scale);
        const int stride = kColumns * kCellSize * scale + 5;  // rows padded, as X pads them
        std::vector<uint32_t> picture(stride * kRows * kCellSize * scale, kGridLine);
        for (int cell = 0; cell < kColumns * kRows; ++cell) {
            const int x = (cell % kColumns * kCellSize + 7) * scale;
            const int y = (cell / kColumns * kCellSize + 7) * scale;
            for (int dy = 0; dy < scale; ++dy) {
                for (int dx = 0; dx < scale; ++dx)
                    picture[(y + dy) * stride + x + dx] = pattern[cell] ? kBlue : kEmpty;
            }
        }
        EXPECT_EQ(key_latency::ReadField(picture.data(), stride, scale), pattern);
    }
}

TEST(KeyField, ASidewaysStepIsSeenInTheKeysDirectionOnly) {
    const Field pile = With(With(Field{}, kT, 0, 17), kBar, 8, 15);
    const Field before = With(pile, kZ, 3, 5);
    EXPECT_TRUE(MovedSideways(before, With(pile, kZ, 4, 5), 1));
    EXPECT_TRUE(MovedSideways(before, With(pile, kZ, 2, 5), -1));
    EXPECT_FALSE(MovedSideways(before, With(pile, kZ, 4, 5), -1));
    EXPECT_FALSE(MovedSideways(before, before, 1));                // held by a wall
    EXPECT_FALSE(MovedSideways(before, With(pile, kZ, 5, 5), 1));  // two columns
    // Right beside the pile, which stays where it is.
    EXPECT_TRUE(MovedSideways(With(pile, kBar, 6, 10), With(pile, kBar, 7, 10), 1));
    // Lying, most of the bar shows before and after.
    EXPECT_TRUE(MovedSideways(Place(kLying, 2, 8), Place(kLying, 3, 8), 1));
    EXPECT_TRUE(MovedSideways(Place(kLying, 5, 8), Place(kLying, 4, 8), -1));
    // A block at the wall that vanishes has not gone through it.
    Field lost = before;
    lost.at(5 * kColumns + kColumns - 1) = true;
    EXPECT_FALSE(MovedSideways(lost, before, 1));
}

TEST(KeyField, ASidewaysStepWithAFallInTheSameFrameCounts) {
    EXPECT_TRUE(MovedSideways(Place(kT, 3, 5), Place(kT, 4, 6), 1));
    EXPECT_TRUE(MovedSideways(Place(kZ, 3, 5), Place(kZ, 2, 6), -1));
    EXPECT_FALSE(MovedSideways(Place(kZ, 3, 5), Place(kZ, 3, 7), 1));
}

TEST(KeyField, FallingAloneIsNotAStep) {
    for (const Cells *shape : {&kT, &kZ, &kBar}) {
        EXPECT_FALSE(MovedSideways(Place(*shape, 4, 5), Place(*shape, 4, 6), 1));
        EXPECT_FALSE(MovedSideways(Place(*shape, 4, 5), Place(*shape, 4, 6), -1));
    }
    // A bar falling down a well has blocks beside each cell it gains and
    // loses, the pattern of a step but for the rows' counts.
    Field walls{};
    for (int row = 5; row < kRows; ++row) {
        walls[row * kColumns + 3] = true;
        walls[row * kColumns + 5] = true;
    }
    EXPECT_FALSE(MovedSideways(With(walls, kBar, 4, 8), With(walls, kBar, 4, 9), 1));
    EXPECT_FALSE(MovedSideways(With(walls, kBar, 4, 8), With(walls, kBar, 4, 9), -1));
}

TEST(KeyField, APieceHalfAboveTheFieldStillSteps) {
    EXPECT_TRUE(MovedSideways(Place(kBar, 4, -2), Place(kBar, 5, -2), 1));
    EXPECT_TRUE(MovedSideways(Place(kBar, 4, -2), Place(kBar, 3, -1), -1));
    // Coming into sight is no step, nor a landing with the next piece.
    EXPECT_FALSE(MovedSideways(Field{}, Place(kT, 4, -1), 1));
    const Field landed = Place(kT, 3, 17);
    EXPECT_FALSE(MovedSideways(Place(kT, 3, 16), With(landed, kT, 4, -1), 1));
}

}  // namespace
