// Setting up and reading the Board, and reading back what was drawn.
#pragma once

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "game/game.h"
#include "gfx/gfx.h"

namespace rules_test {

inline uint8_t &CellOf(int32_t row, int32_t column) {
    return Board[row * kBoardColumns + column];
}

// Columns 1..9 of a row: '.' is empty, a digit a block of that kind.
inline void SetRow(int32_t row, const std::string &columns) {
    for (int32_t c = 0; c < 9; ++c)
        CellOf(row, c + 1) =
            columns[c] == '.' ? kCellEmpty : static_cast<uint8_t>(columns[c] - '0');
}

inline std::string RowText(int32_t row) {
    std::string text;
    for (int32_t c = 1; c <= 9; ++c) {
        const uint8_t cell = CellOf(row, c);
        text += cell == kCellEmpty ? '.' : cell < kPieceKinds ? static_cast<char>('0' + cell) : '?';
    }
    return text;
}

// Walls, floor and an empty well, as ResetBoard leaves them.
inline bool BoardIsFresh() {
    for (int32_t c = 0; c < kBoardColumns; ++c)
        if (CellOf(0, c) != kCellFloor) return false;
    for (int32_t r = 1; r < kBoardRows; ++r)
        if (CellOf(r, 0) != kCellWall || CellOf(r, 10) != kCellWall || RowText(r) != ".........")
            return false;
    return true;
}

// The shape cells as (row from the bottom of the box, column).
inline std::vector<std::pair<int32_t, int32_t>> ShapeCells(uint8_t kind, uint8_t rotation) {
    std::vector<std::pair<int32_t, int32_t>> cells;
    for (int32_t i = 0; i < 4; ++i)
        for (int32_t j = 0; j < 4; ++j)
            if (PieceShapeTable[kind][rotation][i][j]) cells.emplace_back(i, j);
    return cells;
}

constexpr uint8_t kMarker = 0xEE;  // a colour no picture of the installation uses

inline void FillBackBuffer() {
    std::memset(BackBuffer.pixels, kMarker, 240 * 320);
}
inline uint8_t PixelAt(int32_t x, int32_t y) {
    return BackBuffer.pixels[y * 240 + x];
}

// Whether the frame lies at (x, y); drawn transparent, the sprite's
// transparent pixels must have left the marker.
inline bool FrameAt(const Sprite &sprite, uint32_t frame, int32_t x, int32_t y,
                    bool transparent = false) {
    for (uint32_t r = 0; r < sprite.frameHeight; ++r) {
        const uint8_t *source = sprite.pixels + sprite.frameWidth * frame + sprite.stride * r;
        for (uint32_t c = 0; c < sprite.frameWidth; ++c) {
            const uint8_t expected =
                transparent && source[c] == sprite.transparent ? kMarker : source[c];
            if (PixelAt(x + c, y + sprite.frameHeight - 1 - r) != expected) return false;
        }
    }
    return true;
}

inline int32_t ChangedPixels(int32_t x0 = 0, int32_t y0 = 0, int32_t w = 240, int32_t h = 320) {
    int32_t changed = 0;
    for (int32_t y = y0; y < y0 + h; ++y)
        for (int32_t x = x0; x < x0 + w; ++x) changed += PixelAt(x, y) != kMarker;
    return changed;
}

}  // namespace rules_test
