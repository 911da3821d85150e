// The Board, the shape tables and the fit test.
#include <set>

#include "support/device.h"

namespace pellax_test {
namespace {

using Shapes = DeviceTest;

// Guards the tables against slips: four cells each, the spawn shape fitting
// at the top of its box, and the preview showing that shape the other way up.
TEST_F(Shapes, ResetAndTables) {
    std::memset(Board, 3, sizeof(Board));
    ResetBoard();
    EXPECT_TRUE(BoardIsFresh());
    using Cells = std::set<std::pair<int32_t, int32_t>>;
    auto normalized = [](const Cells &cells) {
        int32_t top = 9, left = 9;
        for (auto [r, c] : cells) top = std::min(top, r), left = std::min(left, c);
        Cells out;
        for (auto [r, c] : cells) out.insert({r - top, c - left});
        return out;
    };
    for (uint8_t kind = 0; kind < kPieceKinds; ++kind) {
        SCOPED_TRACE(testing::Message() << "kind " << int(kind));
        for (uint8_t rotation = 0; rotation < 4; ++rotation)
            EXPECT_EQ(ShapeCells(kind, rotation).size(), 4u) << int(rotation);
        Cells spawn, preview;
        for (auto [i, j] : ShapeCells(kind, 0)) spawn.insert({3 - i, j});
        for (int32_t k = 0; k < 16; ++k)
            if (PreviewShapeTable[kind][k / 4][k % 4]) preview.insert({k / 4, k % 4});
        EXPECT_EQ(spawn.begin()->first, 0) << "below the top of its box";
        EXPECT_EQ(normalized(spawn), normalized(preview));
        EXPECT_EQ(PieceFits(kSpawnX, kSpawnY, kind, 0), 1);
    }
}

// Every shape slid against both walls and the floor fits touching them and
// not one cell further; a block under any one of its cells stops it.
TEST_F(Shapes, FitStopsAtWallsFloorAndBlocks) {
    for (uint8_t kind = 0; kind < kPieceKinds; ++kind) {
        for (uint8_t rotation = 0; rotation < 4; ++rotation) {
            SCOPED_TRACE(testing::Message()
                         << "kind " << int(kind) << " rotation " << int(rotation));
            ResetBoard();
            int32_t minJ = 3, maxJ = 0, minI = 3;
            for (auto [i, j] : ShapeCells(kind, rotation))
                minJ = std::min(minJ, j), maxJ = std::max(maxJ, j), minI = std::min(minI, i);
            const int32_t left = (1 - minJ) * 15, right = (9 - maxJ) * 15, bottom = (2 - minI) * 15;
            const auto fits = [&](int32_t x, int32_t y) { return PieceFits(x, y, kind, rotation); };
            EXPECT_EQ(
                std::vector<int>({fits(left, bottom), fits(right, bottom), fits(left - 15, bottom),
                                  fits(right + 15, bottom), fits(left, bottom - 15)}),
                std::vector<int>({1, 1, 0, 0, 0}));
            SetRow(8, "666666666");  // right under the box: no obstacle
            for (auto [i, j] : ShapeCells(kind, rotation)) {
                CellOf(9 + i, 3 + j) = 6;
                EXPECT_EQ(fits(45, 150), 0);  // box on column 3, row 9
                CellOf(9 + i, 3 + j) = kCellEmpty;
                EXPECT_EQ(fits(45, 150), 1);
            }
        }
    }
    // Cells above the top row are not looked at.
    ResetBoard();
    EXPECT_EQ(PieceFits(kSpawnX, kSpawnY + 15, 1, 0), 1);
}

}  // namespace
}  // namespace pellax_test
