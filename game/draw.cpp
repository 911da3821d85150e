// Drawing of the settled blocks, the falling piece, the next-piece preview
// and the panel's numbers into the BackBuffer.
#include "game/game.h"
#include "gfx/gfx.h"

namespace {

constexpr int32_t kBoardBottomY = 315;  // screen y of row 0
constexpr int32_t kPieceBaseY = 330;    // screen y of box row 0 is this minus pieceY
constexpr int32_t kTopRowY = 30;        // screen y of row 19
constexpr int32_t kBottomRowY = 300;    // screen y of row 1
constexpr int32_t kPreviewX = 165, kPreviewY = 45;
constexpr int32_t kPreviewShift = 7;
constexpr int32_t kDigitChars = 12;
constexpr int32_t kDigitRightX = 225;  // the k-th digit from the right is 6k to its left
constexpr int32_t kDigitAdvance = 6;
constexpr int32_t kLevelNumberX = 195, kLevelNumberY = 113;
constexpr int32_t kRowsToGoX = 210, kRowsToGoY = 135;
constexpr int32_t kHighScoreRow = 31, kScoreRow = 166;

// Drawing does not clip, so every frame is checked against the sprite and
// the BackBuffer before it is drawn.
void DrawBlock(const Sprite &sprite, int32_t x, int32_t y, uint32_t frame) {
    if (SpriteFrameFits(sprite, x, y, frame)) DrawSpriteFrame(sprite, x, y, frame);
}

bool IsDrawnCell(uint8_t code) {
    return code != kCellEmpty && code != kCellWall && code != kCellFloor;
}

// A frame below 0 stands for no number at all.
void DrawNumberFrame(int32_t x, int32_t y, int32_t frame) {
    if (frame < 0) return;
    if (!SpriteFrameFits(numberSprite, x, y, static_cast<uint32_t>(frame))) return;
    DrawSpriteFrame(numberSprite, x, y, static_cast<uint32_t>(frame));
}

}  // namespace

void DrawCells(Sprite &sprite, const uint8_t *cells) {
    for (int32_t row = 0; row < kBoardRows; ++row) {
        for (int32_t column = 0; column < kBoardColumns; ++column) {
            const uint8_t code = cells[row * kBoardColumns + column];
            if (!IsDrawnCell(code)) continue;
            DrawBlock(sprite, kCellSize * column, kBoardBottomY - kCellSize * row, code);
        }
    }
}

void DrawBoard() {
    DrawCells(blockSprite, Board);
}

void DrawPiece(Sprite &sprite, int32_t x, int32_t y, uint8_t kind, uint8_t rotation) {
    for (const ShapeCell &cell : ShapeCellTable[kind][rotation]) {
        const int32_t screenY = kPieceBaseY - y - kCellSize * cell.row;
        if (screenY < kTopRowY || screenY > kBottomRowY) continue;
        DrawBlock(sprite, x + kCellSize * cell.column, screenY, kind);
    }
}

void DrawPreviewShape(Sprite &sprite, int32_t x, int32_t y, uint8_t kind) {
    // Narrow shapes are moved half a cell so that each sits in the middle.
    if (kind >= 1 && kind <= 4) x -= kPreviewShift;
    if (kind >= 5) y -= kPreviewShift;
    for (int32_t i = 0; i < 4; ++i) {
        for (int32_t j = 0; j < 4; ++j) {
            if (PreviewShapeTable[kind][i][j] == 0) continue;
            DrawBlock(sprite, x + kCellSize * j, y + kCellSize * i, kind);
        }
    }
}

void DrawPreview() {
    DrawPreviewShape(blockSprite, kPreviewX, kPreviewY, PieceSequence[GameState.nextIndex]);
}

// Right-aligned: the last digit's left edge is at x = 219. Only digits are
// drawn; a minus sign keeps its place but has no frame (docs/fidelity.md).
void DrawScoreDigits(uint32_t value, int32_t row) {
    WCHAR text[kDigitChars + 1] = {};
    swprintf(text, TEXT("%d"), static_cast<int32_t>(value));
    int32_t drawn = 0;
    for (int32_t index = kDigitChars - 1; index >= 0; --index) {
        const WCHAR c = text[index];
        if (c == 0) continue;
        ++drawn;
        if (c < u'0' || c > u'9') continue;
        const int32_t x = kDigitRightX - kDigitAdvance * drawn;
        const uint32_t frame = static_cast<uint32_t>(c - u'0');
        if (SpriteFrameFits(scoreDigitSprite, x, row, frame))
            DrawSpriteFrameTransparent(scoreDigitSprite, x, row, frame);
    }
}

void DrawPanelNumbers() {
    DrawNumberFrame(kLevelNumberX, kLevelNumberY, GameState.level - 1);
    // LevelLinesTable ends at the top level. Rows beyond the target (the level
    // areas can cause them) have no frame and are left out (docs/fidelity.md).
    if (GameState.level <= kTopLevel) {
        DrawNumberFrame(kRowsToGoX, kRowsToGoY,
                        LevelLinesTable[GameState.level] - GameState.rowsThisLevel - 1);
    }
    if (GameState.score > GameState.highScore) GameState.highScore = GameState.score;
    DrawScoreDigits(GameState.highScore, kHighScoreRow);
    DrawScoreDigits(GameState.score, kScoreRow);
}
