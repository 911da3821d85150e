// A landed piece: it is written into the Board, the next piece enters, a
// blocked entry ends the game, full rows are removed and scored, and enough
// rows end the level. Also the random piece sequence.
#include "game/game.h"
#include "gfx/gfx.h"
#include "platform/platform.h"

namespace {

constexpr uint32_t kGameOverPauseMs = 2000;
constexpr int32_t kGameOverX = 24, kGameOverY = 90;
constexpr uint32_t kFirstRowPoints = 50;
constexpr uint32_t kExtraRowPoints = 30;
constexpr uint32_t kLevelPoints = 1000;

void DrawGameOverPicture() {
    const uint8_t kind = PieceSequence[GameState.currentIndex];
    DrawCells(blockSprite, Board);
    DrawPiece(blockSprite, kSpawnX, kSpawnY, kind, 0);
    DrawPanelNumbers();
}

// Built on top of what this frame has drawn so far; the whole program then
// stands still for two seconds with the picture on screen.
void RunGameOver() {
    PlaySoundCue(TEXT("kbl_s_gov.nwf"));
    DrawGameOverPicture();
    SaveHighScore();
    // A score file that could not be written has released the display.
    if (!ShutdownDone) {
        if (SpriteFrameFits(gameOverSprite, kGameOverX, kGameOverY, 0))
            DrawSpriteFrame(gameOverSprite, kGameOverX, kGameOverY, 0);
        ConvertBackBuffer(GetShadowOrigin(), 0, 0);
        PresentShadow();
    }
    Sleep(kGameOverPauseMs);
    ResetToFirstLevel();
    GameState.score = 0;
    GameState.playing = 0;
}

bool RowIsFull(int32_t row) {
    for (int32_t column = 1; column < kBoardColumns - 1; ++column) {
        if (Board[row * kBoardColumns + column] >= kPieceKinds) return false;
    }
    return true;
}

// Rows above move down one; the walls stay where they are.
void RemoveRow(int32_t row) {
    for (int32_t r = row; r < kBoardRows - 1; ++r) {
        for (int32_t column = 1; column < kBoardColumns - 1; ++column)
            Board[r * kBoardColumns + column] = Board[(r + 1) * kBoardColumns + column];
    }
    for (int32_t column = 1; column < kBoardColumns - 1; ++column)
        Board[(kBoardRows - 1) * kBoardColumns + column] = kCellEmpty;
}

// Each of the rows on the Board at entry is examined once, wherever it has
// moved to; returns how many were removed.
uint32_t RemoveFullRows() {
    uint32_t removed = 0;
    int32_t row = 1;
    for (int32_t examined = 0; examined < kBoardRows - 1; ++examined) {
        if (!RowIsFull(row)) {
            ++row;
            continue;
        }
        RemoveRow(row);
        GameState.score += (kExtraRowPoints * removed + kFirstRowPoints) * GameState.level;
        ++removed;
        ++GameState.rowsThisLevel;
    }
    return removed;
}

void ClearLevel() {
    PlaySoundCue(TEXT("kbl_s_lv.nwf"));
    GameState.levelCleared = 1;
    ResetBoard();
    GameState.currentIndex = 0;
    GameState.rotation = 0;
    GameState.nextIndex = 1;
    GameState.rowsThisLevel = 0;
    GameState.score += kLevelPoints * GameState.level;
    GameState.level += 1;
    GameState.playing = 0;
    if (GameState.level > kTopLevel) {
        // The record set by finishing the last level is saved (docs/fidelity.md).
        if (GameState.score > GameState.highScore) GameState.highScore = GameState.score;
        SaveHighScore();
        GameState.level = 1;
    }
}

}  // namespace

void LockPiece(int32_t x, int32_t y, uint8_t kind, uint8_t rotation) {
    const int32_t leftColumn = x / kCellSize;
    const int32_t lowestRow = (y - kCellSize) / kCellSize;
    for (const ShapeCell &cell : ShapeCellTable[kind][rotation]) {
        const int32_t row = lowestRow + cell.row, column = leftColumn + cell.column;
        if (row < 1 || row >= kBoardRows || column < 1 || column >= kBoardColumns - 1) continue;
        Board[row * kBoardColumns + column] = kind;
    }
    GameState.pieceX = kSpawnX;
    GameState.pieceY = kSpawnY;
    GameState.rotation = 0;
    GameState.currentIndex = GameState.nextIndex;
    GameState.nextIndex = GameState.nextIndex + 1 >= kSequenceLength ? 0 : GameState.nextIndex + 1;
    // Tested before any full row is removed, on the Board with the landed piece.
    if (PieceFits(kSpawnX, kSpawnY, PieceSequence[GameState.currentIndex], 0)) return;
    RunGameOver();
}

void ClearRows() {
    if (RemoveFullRows() > 0) PlaySoundCue(TEXT("kbl_s_fl.nwf"));
    if (GameState.rowsThisLevel >= LevelLinesTable[GameState.level]) ClearLevel();
}

void BuildPieceSequence() {
    srand(ReadCounterLow());
    for (uint8_t &kind : PieceSequence) kind = static_cast<uint8_t>(rand() % kPieceKinds);
}
