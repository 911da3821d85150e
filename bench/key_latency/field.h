// The play field as the key-to-picture tool sees it in the game's window:
// which cells show a block, and whether a change between two pictures is the
// falling piece stepping sideways rather than falling, landing or a new piece
// coming in.
#pragma once

#include <array>
#include <cstdint>

namespace key_latency {

// The field on the device's 240 x 320 screen: nine columns between the walls,
// nineteen rows above the floor, 15 pixels a cell.
constexpr int kColumns = 9, kRows = 19, kCellSize = 15;
constexpr int kFieldLeft = 15, kFieldTop = 30;  // screen pixels
constexpr int kScreenWidth = 240, kScreenHeight = 320;

// The cells row by row from the top; true where a block is drawn.
using Field = std::array<bool, kColumns * kRows>;

// Where the screen sits in a window: the largest whole factor that fits,
// centred, as the desktop host draws it. scale is 0 when the window is smaller
// than the screen (the host then shrinks the picture, which this tool does
// not read).
struct Placement {
    int x = 0, y = 0, scale = 0;
};
Placement PlaceScreen(int windowWidth, int windowHeight);

// The cells of a picture of the field alone (its first pixel the field's
// top-left), 32 bits a pixel with 8-bit channels in any order, stride pixels a
// row, scale window pixels a screen pixel. A cell is judged by its centre: a
// block is brightly coloured there, the empty field near-black (its faint grid
// lines run along the cells' edges).
Field ReadField(const uint32_t *pixels, int stride, int scale);

// True when after is before with the falling piece moved one column by step
// (-1 left, +1 right), possibly also one row down when gravity acted in the
// same frame, and nothing else changed. Parts of the piece may still be above
// the field, out of sight.
bool MovedSideways(const Field &before, const Field &after, int step);

}  // namespace key_latency
