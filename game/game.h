// Game rules: the play field and piece shapes, piece motion, landing, rows,
// score and levels, the drawing of the field and the scores, the high-score
// file, and shutdown.
#pragma once

#include <array>
#include <cstdint>

#include "wince.h"

struct Sprite;

// ---- Play field and piece shapes ------------------------------------------

constexpr int32_t kCellSize = 15;      // pixels per cell, both ways
constexpr int32_t kBoardColumns = 11;  // columns 0 and 10 are walls
constexpr int32_t kBoardRows = 20;     // row 0 is the floor
constexpr int32_t kBoardCells = kBoardColumns * kBoardRows;
constexpr uint8_t kCellEmpty = 224;
constexpr uint8_t kCellWall = 240;
constexpr uint8_t kCellFloor = 241;
constexpr uint8_t kPieceKinds = 7;  // codes 0..6 are settled blocks
constexpr int32_t kSpawnX = 60;
constexpr int32_t kSpawnY = 255;
constexpr int32_t kSequenceLength = 100;
constexpr uint8_t kTopLevel = 10;

struct GameStateRecord {
    uint8_t level;
    uint8_t rowsThisLevel;
    uint32_t score;
    uint32_t highScore;
    int32_t pieceX;
    int32_t pieceY;
    uint8_t rotation;
    uint8_t currentIndex;
    uint8_t nextIndex;
    int32_t playing;
    int32_t dropping;
    int32_t levelCleared;
};

extern GameStateRecord GameState;
extern uint8_t Board[kBoardCells];
extern uint8_t PieceSequence[kSequenceLength];

extern const uint8_t PieceShapeTable[7][4][4][4];  // [kind][rotation][row from bottom][column]
extern const uint8_t PreviewShapeTable[7][4][4];   // [kind][row from top][column]
extern const uint8_t LevelLinesTable[11];          // indexed by level 1..10; entry 0 unused

// A filled cell of a piece shape, placed in its 4 x 4 box.
struct ShapeCell {
    int32_t row;     // from the bottom of the box
    int32_t column;  // from the left of the box
};
using ShapeCellList = std::array<ShapeCell, 4>;

// [kind][rotation]: the four cells of each PieceShapeTable shape in table
// order, the one walk over a shape for fitting, probing, kicking, locking and
// drawing. Listed once at build time, so no walk scans the empty cells.
extern const std::array<std::array<ShapeCellList, 4>, 7> ShapeCellTable;

// The values every game field has when the program starts.
GameStateRecord InitialGameState();

void ResetBoard();
// An empty Board, level 1 with no rows cleared, and the piece sequence from its
// start: what a game over and the NEW GAME area both go back to.
void ResetToFirstLevel();
// The code of Board cell (row, column). Rows above the top read as empty,
// rows below the floor as floor and columns beyond the walls as wall, so no
// cell outside the Board is ever looked up.
uint8_t BoardCellAt(int32_t row, int32_t column);
int PieceFits(int32_t x, int32_t y, uint8_t kind, uint8_t rotation);

// ---- Piece motion ----------------------------------------------------------

int ProbeRotation(int32_t x, int32_t y, uint8_t kind, uint8_t rotation);
int32_t FallInterval();  // ms between gravity steps at the current level
void LandPiece();
void StepGame();

// ---- Landing, rows, score and levels ---------------------------------------

void LockPiece(int32_t x, int32_t y, uint8_t kind, uint8_t rotation);
void ClearRows();
void BuildPieceSequence();

// ---- Drawing the play field and scores ---------------------------------------

void DrawCells(Sprite &sprite, const uint8_t *cells);
void DrawBoard();
void DrawPiece(Sprite &sprite, int32_t x, int32_t y, uint8_t kind, uint8_t rotation);
void DrawPreviewShape(Sprite &sprite, int32_t x, int32_t y, uint8_t kind);
void DrawPreview();
void DrawScoreDigits(uint32_t value, int32_t row);
// The level, the rows still to clear, the high score and the score, for the
// play screen and the game-over picture alike. The high score is first raised
// to the score, so it never shows less.
void DrawPanelNumbers();

// ---- High-score file -------------------------------------------------------

int LoadHighScore();
void SaveHighScore();
// Saves the record before the program is left while a game above 0 holds it.
void SaveHighScoreOnLeaving();

// ---- Shutdown --------------------------------------------------------------

// Releases the display, the sprites and the buttons and sets ShutdownDone.
// It sits below the shell because a failed record save ends the program too.
void Shutdown();
