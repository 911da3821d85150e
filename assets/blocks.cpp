// The seven blocks: bevelled 15 x 15 tiles, lit from the top left, each in
// the ramp of its piece kind.
#include <algorithm>

#include "art.h"
#include "game/game.h"

namespace assets::art {
namespace {

constexpr int32_t kSize = kCellSize;
constexpr int32_t kLast = kSize - 1;

// Shades of the bevel rings, outermost first, and of the face.
constexpr int32_t kRimLight = 15, kRimDark = 2;
constexpr int32_t kBevelLight = 12, kBevelDark = 5;
constexpr int32_t kFaceTop = 11, kFaceBottom = 7;
constexpr int32_t kGlint = 15, kGlintSoft = 13;

int32_t FaceShade(int32_t x, int32_t y) {
    // A gentle diagonal fall-off from the lit corner.
    const int32_t travel = x + y - 4;
    const int32_t span = 2 * (kLast - 2) - 4;
    return kFaceTop - (kFaceTop - kFaceBottom) * travel / span;
}

int32_t BlockShade(int32_t x, int32_t y) {
    const int32_t fromEdge = std::min(std::min(x, y), std::min(kLast - x, kLast - y));
    const bool lit = x + y < kLast;  // the top-left half of a ring faces the light
    if (fromEdge == 0) return lit ? kRimLight : kRimDark;
    if (fromEdge == 1) return lit ? kBevelLight : kBevelDark;
    return FaceShade(x, y);
}

Canvas MakeBlock(int32_t kind) {
    Canvas block(kSize, kSize, 0);
    const uint8_t ramp = BlockRamp(kind);
    for (int32_t y = 0; y < kSize; ++y)
        for (int32_t x = 0; x < kSize; ++x) block.Set(x, y, Shade(ramp, BlockShade(x, y)));
    // A small glint near the lit corner.
    block.Set(3, 3, Shade(ramp, kGlint));
    block.Set(4, 3, Shade(ramp, kGlintSoft));
    block.Set(3, 4, Shade(ramp, kGlintSoft));
    return block;
}

}  // namespace

std::vector<Canvas> MakeBlocks() {
    std::vector<Canvas> blocks;
    for (int32_t kind = 0; kind < kPieceKinds; ++kind) blocks.push_back(MakeBlock(kind));
    return blocks;
}

}  // namespace assets::art
