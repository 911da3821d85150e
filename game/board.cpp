// The play field, the piece and preview shapes, the rows asked of each level,
// the game fields, and the fit test.
#include "game/game.h"

GameStateRecord GameState = InitialGameState();
uint8_t Board[kBoardCells];
uint8_t PieceSequence[kSequenceLength];

// [kind][rotation][row from the bottom of the box][column]; each rotation is
// listed bottom row first, so it reads upside down.
// clang-format off
constexpr uint8_t PieceShapeTable[7][4][4][4] = {
    // kind 0
    {{{0,0,0,0},{0,0,0,0},{0,1,1,0},{0,1,1,0}},
     {{0,0,0,0},{0,0,0,0},{0,1,1,0},{0,1,1,0}},
     {{0,0,0,0},{0,0,0,0},{0,1,1,0},{0,1,1,0}},
     {{0,0,0,0},{0,0,0,0},{0,1,1,0},{0,1,1,0}}},
    // kind 1
    {{{0,0,1,0},{0,0,1,0},{0,0,1,0},{0,0,1,0}},
     {{0,0,0,0},{0,0,0,0},{0,0,0,0},{1,1,1,1}},
     {{0,0,1,0},{0,0,1,0},{0,0,1,0},{0,0,1,0}},
     {{0,0,0,0},{0,0,0,0},{0,0,0,0},{1,1,1,1}}},
    // kind 2
    {{{0,0,0,0},{0,0,0,0},{1,0,0,0},{1,1,1,0}},
     {{0,0,0,0},{0,1,1,0},{0,1,0,0},{0,1,0,0}},
     {{0,0,0,0},{0,0,0,0},{1,1,1,0},{0,0,1,0}},
     {{0,0,0,0},{0,0,1,0},{0,0,1,0},{0,1,1,0}}},
    // kind 3
    {{{0,0,0,0},{0,0,0,0},{0,0,1,0},{1,1,1,0}},
     {{0,0,0,0},{0,1,0,0},{0,1,0,0},{0,1,1,0}},
     {{0,0,0,0},{0,0,0,0},{1,1,1,0},{1,0,0,0}},
     {{0,0,0,0},{0,1,1,0},{0,0,1,0},{0,0,1,0}}},
    // kind 4
    {{{0,0,0,0},{0,0,0,0},{0,1,0,0},{1,1,1,0}},
     {{0,0,0,0},{1,0,0,0},{1,1,0,0},{1,0,0,0}},
     {{0,0,0,0},{0,0,0,0},{1,1,1,0},{0,1,0,0}},
     {{0,0,0,0},{0,0,1,0},{0,1,1,0},{0,0,1,0}}},
    // kind 5
    {{{0,0,0,0},{0,1,0,0},{0,1,1,0},{0,0,1,0}},
     {{0,0,0,0},{0,0,0,0},{0,1,1,0},{1,1,0,0}},
     {{0,0,0,0},{0,1,0,0},{0,1,1,0},{0,0,1,0}},
     {{0,0,0,0},{0,0,0,0},{0,1,1,0},{1,1,0,0}}},
    // kind 6
    {{{0,0,0,0},{0,0,1,0},{0,1,1,0},{0,1,0,0}},
     {{0,0,0,0},{0,0,0,0},{0,1,1,0},{0,0,1,1}},
     {{0,0,0,0},{0,0,1,0},{0,1,1,0},{0,1,0,0}},
     {{0,0,0,0},{0,0,0,0},{0,1,1,0},{0,0,1,1}}},
};

// [kind][row from the top][column]: the other way up from the piece shapes.
const uint8_t PreviewShapeTable[7][4][4] = {
    {{0,0,0,0},{0,1,1,0},{0,1,1,0},{0,0,0,0}},  // kind 0
    {{0,0,1,0},{0,0,1,0},{0,0,1,0},{0,0,1,0}},  // kind 1
    {{0,0,0,0},{0,1,1,1},{0,1,0,0},{0,0,0,0}},  // kind 2
    {{0,0,0,0},{0,1,1,1},{0,0,0,1},{0,0,0,0}},  // kind 3
    {{0,0,0,0},{0,1,1,1},{0,0,1,0},{0,0,0,0}},  // kind 4
    {{0,0,0,0},{0,0,1,0},{0,1,1,0},{0,1,0,0}},  // kind 5
    {{0,0,0,0},{0,1,0,0},{0,1,1,0},{0,0,1,0}},  // kind 6
};
// clang-format on

namespace {

// A shape of more than four cells writes past its list and stops the build.
constexpr std::array<std::array<ShapeCellList, 4>, 7> ListShapeCells() {
    std::array<std::array<ShapeCellList, 4>, 7> table{};
    for (size_t kind = 0; kind < 7; ++kind) {
        for (size_t rotation = 0; rotation < 4; ++rotation) {
            size_t found = 0;
            for (int32_t i = 0; i < 4; ++i)
                for (int32_t j = 0; j < 4; ++j)
                    if (PieceShapeTable[kind][rotation][i][j] != 0)
                        table[kind][rotation][found++] = {i, j};
        }
    }
    return table;
}

}  // namespace

constexpr std::array<std::array<ShapeCellList, 4>, 7> ShapeCellTable = ListShapeCells();

const uint8_t LevelLinesTable[11] = {0, 10, 12, 14, 16, 18, 20, 18, 16, 14, 12};

void ResetToFirstLevel() {
    ResetBoard();
    GameState.currentIndex = 0;
    GameState.rotation = 0;
    GameState.nextIndex = 1;
    GameState.level = 1;
    GameState.rowsThisLevel = 0;
}

GameStateRecord InitialGameState() {
    GameStateRecord state{};
    state.level = 1;
    state.rowsThisLevel = 0;
    state.score = 0;
    state.highScore = 0;
    state.pieceX = kSpawnX;
    state.pieceY = kSpawnY;
    state.rotation = 0;
    state.currentIndex = 0;
    state.nextIndex = 1;
    state.playing = 0;
    state.dropping = 0;
    state.levelCleared = 0;
    return state;
}

void ResetBoard() {
    for (uint8_t &cell : Board) cell = kCellEmpty;
    for (int32_t column = 0; column < kBoardColumns; ++column) Board[column] = kCellFloor;
    for (int32_t row = 1; row < kBoardRows; ++row) {
        Board[row * kBoardColumns] = kCellWall;
        Board[row * kBoardColumns + kBoardColumns - 1] = kCellWall;
    }
}

uint8_t BoardCellAt(int32_t row, int32_t column) {
    if (row >= kBoardRows) return kCellEmpty;
    if (row < 0) return kCellFloor;
    if (column < 0 || column >= kBoardColumns) return kCellWall;
    return Board[row * kBoardColumns + column];
}

int PieceFits(int32_t x, int32_t y, uint8_t kind, uint8_t rotation) {
    const int32_t leftColumn = x / kCellSize;
    const int32_t lowestRow = (y - kCellSize) / kCellSize;
    for (const ShapeCell &cell : ShapeCellTable[kind][rotation])
        if (BoardCellAt(lowestRow + cell.row, leftColumn + cell.column) != kCellEmpty) return 0;
    return 1;
}
