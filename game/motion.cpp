// The falling piece: gravity, the hard drop, moves, rotation with its wall
// kick, and the landing.
#include "game/game.h"
#include "gfx/gfx.h"
#include "platform/platform.h"

namespace {

constexpr uint32_t kGravitySlot = 0;
constexpr int32_t kSlowestFallMs = 1000;
constexpr int32_t kFallStepPerLevelMs = 95;
// Probe weights: a wall cell is light, a block or the floor heavy enough that
// any sum at or above it means something besides walls is in the way.
constexpr int kProbeWall = 16;
constexpr int kProbeBlocked = 80;
// A box at or right of this x kicks left, one left of it kicks right.
constexpr int32_t kRightHalfX = 60;
constexpr int32_t kRightWallColumn = kBoardColumns - 1;

uint8_t CurrentKind() {
    return PieceSequence[GameState.currentIndex];
}

int CurrentPieceFits(int32_t x, int32_t y) {
    return PieceFits(x, y, CurrentKind(), GameState.rotation);
}

// One row down, or land when the piece cannot go lower.
void FallOrLand() {
    if (CurrentPieceFits(GameState.pieceX, GameState.pieceY - kCellSize)) {
        GameState.pieceY -= kCellSize;
    } else {
        LandPiece();
    }
}

// Whether the shape at box x has a cell in the wall it is kicked towards, or
// beyond it: the kick has then found no free place.
bool ReachesFarWall(int32_t x, uint8_t kind, uint8_t rotation, int32_t step) {
    const int32_t leftColumn = x / kCellSize;
    for (const ShapeCell &cell : ShapeCellTable[kind][rotation]) {
        const int32_t column = leftColumn + cell.column;
        if (step < 0 && column <= 0) return true;
        if (step > 0 && column >= kRightWallColumn) return true;
    }
    return false;
}

// Moves the box away from the nearer wall, over blocks as well, to the first
// place where the rotated shape meets nothing. The kick is refused at the far
// wall so that no shape cell leaves columns 1..9 (docs/fidelity.md).
bool KickPiece(uint8_t kind, uint8_t rotation) {
    const int32_t step = GameState.pieceX >= kRightHalfX ? -kCellSize : kCellSize;
    for (int32_t x = GameState.pieceX + step;; x += step) {
        if (ReachesFarWall(x, kind, rotation, step)) return false;
        if (ProbeRotation(x, GameState.pieceY, kind, rotation) == 0) {
            GameState.pieceX = x;
            return true;
        }
    }
}

void RotatePiece() {
    const uint8_t kind = CurrentKind();
    const uint8_t rotation = GameState.rotation == 3 ? 0 : GameState.rotation + 1;
    const int probe = ProbeRotation(GameState.pieceX, GameState.pieceY, kind, rotation);
    const bool turned = probe == 0 || (probe < kProbeBlocked && KickPiece(kind, rotation));
    if (turned) GameState.rotation = rotation;
    ClearKeyFlag(kKeyUp);
}

// Left, right or down: only the first flag set in that order acts.
void MoveByKeys() {
    if (IsKeyFlagSet(kKeyLeft)) {
        if (CurrentPieceFits(GameState.pieceX - kCellSize, GameState.pieceY))
            GameState.pieceX -= kCellSize;
        ClearKeyFlag(kKeyLeft);
    } else if (IsKeyFlagSet(kKeyRight)) {
        if (CurrentPieceFits(GameState.pieceX + kCellSize, GameState.pieceY))
            GameState.pieceX += kCellSize;
        ClearKeyFlag(kKeyRight);
    } else if (IsKeyFlagSet(kKeyDown)) {
        if (CurrentPieceFits(GameState.pieceX, GameState.pieceY - kCellSize))
            GameState.pieceY -= kCellSize;
        ClearKeyFlag(kKeyDown);
    }
}

}  // namespace

int ProbeRotation(int32_t x, int32_t y, uint8_t kind, uint8_t rotation) {
    const int32_t leftColumn = x / kCellSize;
    const int32_t lowestRow = (y - kCellSize) / kCellSize;
    int sum = 0;
    for (const ShapeCell &cell : ShapeCellTable[kind][rotation]) {
        // A cell below the floor reads as floor (docs/fidelity.md).
        const uint8_t code = BoardCellAt(lowestRow + cell.row, leftColumn + cell.column);
        if (code == kCellWall) {
            sum += kProbeWall;
        } else if (code != kCellEmpty) {
            sum += kProbeBlocked;
        }
    }
    return sum;
}

int32_t FallInterval() {
    return kSlowestFallMs - kFallStepPerLevelMs * GameState.level;
}

void LandPiece() {
    PlaySoundCue(TEXT("kbl_s_b.nwf"));
    LockPiece(GameState.pieceX, GameState.pieceY, CurrentKind(), GameState.rotation);
    GameState.dropping = 0;
    ClearRows();
}

// The order of these steps is observable: a landing in the gravity step ends
// the drop, and the keys of this frame then act on the new piece.
void StepGame() {
    if (SlotTimerElapsed(FallInterval(), kGravitySlot)) FallOrLand();
    if (GameState.dropping) FallOrLand();
    MoveByKeys();
    if (IsKeyFlagSet(kKeyUp)) RotatePiece();
    if (IsKeyFlagSet(kKeyDrop)) {
        GameState.dropping = 1;
        ClearKeyFlag(kKeyDrop);
    }
    // A score file that could not be written has shut the program down.
    if (ShutdownDone) return;
    DrawPiece(blockSprite, GameState.pieceX, GameState.pieceY, CurrentKind(), GameState.rotation);
}
