// The program's icon (101): a corner of the well, a T piece about to drop
// into the gap it fits. Drawn on a 16 x 16 grid and scaled by sampling, so
// 16, 32 and 64 pixels come out crisp.
#include <array>

#include "assets/assets.h"

namespace assets {

namespace {

constexpr int kGrid = 16;
constexpr int kBlockCells = 3;
constexpr int kBlockOrigin = 2;  // the grid cell of block column / row 0

struct Colour {
    uint32_t face, light, dark;
};

constexpr uint32_t kClear = 0x00000000;
constexpr uint32_t kFrame = 0xFFB08A3E;  // brass
constexpr uint32_t kWell = 0xFF101A3C;   // deep blue
constexpr Colour kAmber{0xFFF0AC18, 0xFFFFE9A0, 0xFF8C5A00};
constexpr Colour kAqua{0xFF1CBACE, 0xFFB4F6FF, 0xFF086A7C};
constexpr Colour kCoral{0xFFEE6C26, 0xFFFFCFAE, 0xFF8A320A};
constexpr Colour kJade{0xFF30BC4E, 0xFFB8F4C0, 0xFF0E6A24};

struct Block {
    int column, row;
    Colour colour;
};

// Columns and rows of 3 x 3 blocks: the T falls, its stem fits the gap.
constexpr std::array<Block, 12> kBlocks{{
    {0, 0, kAmber},
    {1, 0, kAmber},
    {2, 0, kAmber},
    {1, 1, kAmber},
    {0, 2, kAqua},
    {2, 2, kCoral},
    {3, 2, kJade},
    {0, 3, kAqua},
    {1, 3, kCoral},
    {2, 3, kCoral},
    {3, 3, kJade},
    {3, 1, kJade},
}};

using Grid = std::array<uint32_t, kGrid * kGrid>;

void DrawBlock(Grid &grid, const Block &block) {
    const int left = kBlockOrigin + block.column * kBlockCells;
    const int top = kBlockOrigin + block.row * kBlockCells;
    for (int y = 0; y < kBlockCells; ++y) {
        for (int x = 0; x < kBlockCells; ++x) {
            uint32_t colour = block.colour.face;
            if (x == 0 && y == 0) colour = block.colour.light;
            if (x == kBlockCells - 1 || y == kBlockCells - 1) colour = block.colour.dark;
            grid[(top + y) * kGrid + left + x] = colour;
        }
    }
}

// A frame one cell wide with its corners cut, the well inside it.
Grid DrawGrid() {
    Grid grid;
    for (int y = 0; y < kGrid; ++y) {
        for (int x = 0; x < kGrid; ++x) {
            const bool edgeX = x == 0 || x == kGrid - 1, edgeY = y == 0 || y == kGrid - 1;
            grid[y * kGrid + x] = edgeX && edgeY ? kClear : edgeX || edgeY ? kFrame : kWell;
        }
    }
    for (const Block &block : kBlocks) DrawBlock(grid, block);
    return grid;
}

}  // namespace

std::vector<uint32_t> MakeIconArgb(int size) {
    if (size <= 0) return {};
    const Grid grid = DrawGrid();
    std::vector<uint32_t> pixels(static_cast<size_t>(size) * size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x)
            pixels[static_cast<size_t>(y) * size + x] =
                grid[(y * kGrid / size) * kGrid + x * kGrid / size];
    }
    return pixels;
}

}  // namespace assets
