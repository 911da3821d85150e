// The Board, the shape tables and the fit test.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "support/rules_board.h"

using namespace rules_test;

namespace {

class BoardTest : public ::testing::Test {
protected:
    void SetUp() override {
        GameState = InitialGameState();
        ResetBoard();
    }
};

using CellSet = std::set<std::pair<int32_t, int32_t>>;

// Cells moved so that the lowest row and leftmost column are 0.
CellSet Normalized(CellSet cells) {
    int32_t minRow = 99, minColumn = 99;
    for (auto [r, c] : cells) minRow = std::min(minRow, r), minColumn = std::min(minColumn, c);
    CellSet out;
    for (auto [r, c] : cells) out.insert({r - minRow, c - minColumn});
    return out;
}

TEST_F(BoardTest, ResetRestoresWallsFloorAndEmptyWell) {
    for (uint8_t &cell : Board) cell = 3;
    ResetBoard();
    EXPECT_TRUE(BoardIsFresh());
    EXPECT_EQ(CellOf(0, 5), kCellFloor);
    EXPECT_EQ(CellOf(19, 10), kCellWall);
}

TEST_F(BoardTest, ShapesHaveFourCellsAndSitAtTheTopOfTheirBox) {
    for (uint8_t kind = 0; kind < kPieceKinds; ++kind) {
        for (uint8_t rotation = 0; rotation < 4; ++rotation) {
            const auto cells = ShapeCells(kind, rotation);
            EXPECT_EQ(cells.size(), 4u) << int(kind) << "/" << int(rotation);
            // Every turn keeps at least one cell of the shape before it.
            const auto before = ShapeCells(kind, (rotation + 3) % 4);
            EXPECT_TRUE(std::any_of(cells.begin(), cells.end(),
                                    [&](auto cell) {
                                        return std::find(before.begin(), before.end(), cell) !=
                                               before.end();
                                    }))
                << int(kind) << "/" << int(rotation);
        }
        const auto spawn = ShapeCells(kind, 0);
        EXPECT_TRUE(std::any_of(spawn.begin(), spawn.end(), [](auto c) { return c.first == 3; }));
    }
}

TEST_F(BoardTest, PreviewShowsTheSpawnShapeTheOtherWayUp) {
    for (uint8_t kind = 0; kind < kPieceKinds; ++kind) {
        CellSet spawn, preview;
        for (auto [i, j] : ShapeCells(kind, 0)) spawn.insert({3 - i, j});  // rows from the top
        for (int32_t i = 0; i < 4; ++i)
            for (int32_t j = 0; j < 4; ++j)
                if (PreviewShapeTable[kind][i][j]) preview.insert({i, j});
        EXPECT_EQ(Normalized(spawn), Normalized(preview)) << "kind " << int(kind);
    }
}

TEST_F(BoardTest, RowsPerLevelRiseToLevelSixAndFallAgain) {
    EXPECT_EQ(LevelLinesTable[1], 10);
    EXPECT_EQ(*std::max_element(LevelLinesTable + 1, LevelLinesTable + 11), 20);
    EXPECT_EQ(LevelLinesTable[6], 20);
    EXPECT_EQ(LevelLinesTable[10], 12);
}

// Each shape slid against both walls and the floor: it fits touching them
// and not one cell further, for every kind and rotation.
TEST_F(BoardTest, FitStopsAtWallsAndFloorForEveryShape) {
    for (uint8_t kind = 0; kind < kPieceKinds; ++kind) {
        for (uint8_t rotation = 0; rotation < 4; ++rotation) {
            const auto cells = ShapeCells(kind, rotation);
            int32_t minJ = 3, maxJ = 0, minI = 3;
            for (auto [i, j] : cells)
                minJ = std::min(minJ, j), maxJ = std::max(maxJ, j), minI = std::min(minI, i);
            const int32_t leftX = BoxX(1, minJ), rightX = BoxX(9, maxJ), bottomY = BoxY(1, minI);
            SCOPED_TRACE(testing::Message()
                         << "kind " << int(kind) << " rotation " << int(rotation));
            EXPECT_EQ(PieceFits(leftX, bottomY, kind, rotation), 1);
            EXPECT_EQ(PieceFits(rightX, bottomY, kind, rotation), 1);
            EXPECT_EQ(PieceFits(leftX - kCellSize, bottomY, kind, rotation), 0);
            EXPECT_EQ(PieceFits(rightX + kCellSize, bottomY, kind, rotation), 0);
            EXPECT_EQ(PieceFits(leftX, bottomY - kCellSize, kind, rotation), 0);
        }
    }
    // The upright long piece hangs its empty box column over the left wall.
    EXPECT_EQ(BoxX(1, 2), -15);
}

TEST_F(BoardTest, EachShapeCellIsBlockedByABlockUnderIt) {
    for (uint8_t kind = 0; kind < kPieceKinds; ++kind) {
        for (uint8_t rotation = 0; rotation < 4; ++rotation) {
            const int32_t x = 45, y = 150;  // box over columns 3..6, rows 9..12
            for (auto [i, j] : ShapeCells(kind, rotation)) {
                ResetBoard();
                CellOf(9 + i, 3 + j) = 6;
                EXPECT_EQ(PieceFits(x, y, kind, rotation), 0);
            }
            // A block next to the shape, not under it, is no obstacle.
            ResetBoard();
            for (int32_t c = 1; c <= 9; ++c) CellOf(8, c) = 0;
            EXPECT_EQ(PieceFits(x, y, kind, rotation), 1);
        }
    }
}

TEST_F(BoardTest, EveryKindFitsAtTheSpawnOnAnEmptyBoardAndCellsAboveTheTopAreIgnored) {
    for (uint8_t kind = 0; kind < kPieceKinds; ++kind)
        EXPECT_EQ(PieceFits(kSpawnX, kSpawnY, kind, 0), 1) << int(kind);
    // Upright long piece with its top cell in row 20.
    EXPECT_EQ(PieceFits(kSpawnX, kSpawnY + kCellSize, 1, 0), 1);
    CellOf(19, 6) = 2;
    EXPECT_EQ(PieceFits(kSpawnX, kSpawnY, 1, 0), 0);
}

TEST_F(BoardTest, CellsOutsideTheBoardReadAsWallFloorOrEmpty) {
    EXPECT_EQ(BoardCellAt(-1, 5), kCellFloor);
    EXPECT_EQ(BoardCellAt(5, -1), kCellWall);
    EXPECT_EQ(BoardCellAt(5, 11), kCellWall);
    EXPECT_EQ(BoardCellAt(20, 5), kCellEmpty);
    CellOf(7, 4) = 5;
    EXPECT_EQ(BoardCellAt(7, 4), 5);
}

TEST(GameStateTest, StartsAtLevelOneWithThePieceAtTheSpawn) {
    const GameStateRecord state = InitialGameState();
    EXPECT_EQ(state.level, 1);
    EXPECT_EQ(state.pieceX, 60);
    EXPECT_EQ(state.pieceY, 255);
    EXPECT_EQ(state.currentIndex, 0);
    EXPECT_EQ(state.nextIndex, 1);
    EXPECT_EQ(state.score + state.highScore + state.rowsThisLevel + state.rotation, 0u);
    EXPECT_EQ(state.playing + state.dropping + state.levelCleared, 0);
}

}  // namespace
