// Small helpers for setting up and reading the Board and the shapes in tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "game/game.h"

namespace rules_test {

inline uint8_t &CellOf(int32_t row, int32_t column) {
    return Board[row * kBoardColumns + column];
}

// Columns 1..9 of a row: '.' is empty, a digit is a block of that kind.
inline void SetRow(int32_t row, const std::string &columns) {
    for (int32_t c = 0; c < 9; ++c) {
        const char mark = columns.at(static_cast<size_t>(c));
        CellOf(row, c + 1) = mark == '.' ? kCellEmpty : static_cast<uint8_t>(mark - '0');
    }
}

inline std::string RowText(int32_t row) {
    std::string text;
    for (int32_t c = 1; c <= 9; ++c) {
        const uint8_t cell = CellOf(row, c);
        text += cell == kCellEmpty ? '.' : cell < kPieceKinds ? static_cast<char>('0' + cell) : '?';
    }
    return text;
}

inline void FillRow(int32_t row, uint8_t kind) {
    SetRow(row, std::string(9, static_cast<char>('0' + kind)));
}

// The shape cells as (row from the bottom of the box, column) pairs.
inline std::vector<std::pair<int32_t, int32_t>> ShapeCells(uint8_t kind, uint8_t rotation) {
    std::vector<std::pair<int32_t, int32_t>> cells;
    for (int32_t i = 0; i < 4; ++i)
        for (int32_t j = 0; j < 4; ++j)
            if (PieceShapeTable[kind][rotation][i][j] != 0) cells.emplace_back(i, j);
    return cells;
}

// Box position (pixels) that puts shape cell (i, j) on Board cell (row, column).
inline int32_t BoxX(int32_t column, int32_t j) {
    return (column - j) * kCellSize;
}
inline int32_t BoxY(int32_t row, int32_t i) {
    return (row - i) * kCellSize + kCellSize;
}

inline bool BoardIsFresh() {
    for (int32_t c = 0; c < kBoardColumns; ++c)
        if (CellOf(0, c) != kCellFloor) return false;
    for (int32_t r = 1; r < kBoardRows; ++r) {
        if (CellOf(r, 0) != kCellWall || CellOf(r, kBoardColumns - 1) != kCellWall) return false;
        if (RowText(r) != ".........") return false;
    }
    return true;
}

}  // namespace rules_test
