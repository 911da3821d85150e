#include "field.h"

#include <algorithm>

namespace key_latency {

namespace {

// The dimmest block colour has a channel near 0xCE; the empty field's
// brightest is 8.
constexpr uint32_t kBlockChannel = 0x80;

int Index(int column, int row) {
    return row * kColumns + column;
}

bool InField(int column, int row) {
    return column >= 0 && column < kColumns && row >= 0 && row < kRows;
}

// Whether after is before with some of its blocks, the falling piece, moved
// by (dx, dy), dy in rows downward: after == (before - piece) + (piece moved).
// The piece is found from what changed, a block that vanished being the
// piece's, as is the source of one that appeared; then back along the move, as
// a block of the piece that still shows came from one step back. Rows above
// the field are out of sight: anything may have come from there.
bool Shifted(const Field &before, const Field &after, int dx, int dy) {
    Field piece{};
    std::array<int, kColumns * kRows> pending;
    int waiting = 0;
    auto take = [&](int column, int row) {
        if (row < 0) return true;
        if (!InField(column, row) || !before[Index(column, row)]) return false;
        if (!InField(column + dx, row + dy)) return false;  // into a wall
        if (!piece[Index(column, row)]) {
            piece[Index(column, row)] = true;
            pending[waiting++] = Index(column, row);
        }
        return true;
    };
    int removed = 0;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const bool was = before[Index(column, row)], is = after[Index(column, row)];
            if (was && !is) ++removed;
            if (was != is && !take(was ? column : column - dx, was ? row : row - dy)) return false;
        }
    }
    while (waiting > 0) {
        const int cell = pending[--waiting];
        if (after[cell] && !take(cell % kColumns - dx, cell / kColumns - dy)) return false;
    }
    // A block that vanished tells a move from a new piece coming into sight.
    if (removed == 0) return false;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const int from = row - dy;
            const bool moved = from < 0
                                   ? after[Index(column, row)]
                                   : InField(column - dx, from) && piece[Index(column - dx, from)];
            const bool kept = before[Index(column, row)] && !piece[Index(column, row)];
            if (after[Index(column, row)] != (moved || kept)) return false;
        }
    }
    return true;
}

}  // namespace

Placement PlaceScreen(int windowWidth, int windowHeight) {
    Placement placement;
    placement.scale =
        std::max(0, std::min(windowWidth / kScreenWidth, windowHeight / kScreenHeight));
    placement.x = (windowWidth - kScreenWidth * placement.scale) / 2;
    placement.y = (windowHeight - kScreenHeight * placement.scale) / 2;
    return placement;
}

Field ReadField(const uint32_t *pixels, int stride, int scale) {
    Field field{};
    const int centre = (kCellSize / 2) * scale + scale / 2;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const uint32_t pixel = pixels[(row * kCellSize * scale + centre) * stride +
                                          column * kCellSize * scale + centre];
            const uint32_t brightest =
                std::max({pixel & 0xFF, (pixel >> 8) & 0xFF, (pixel >> 16) & 0xFF});
            field[row * kColumns + column] = brightest >= kBlockChannel;
        }
    }
    return field;
}

bool MovedSideways(const Field &before, const Field &after, int step) {
    return Shifted(before, after, step, 0) || Shifted(before, after, step, 1);
}

}  // namespace key_latency
