// The NEW GAME area: abandon the game in progress and go back to level 1.
#include "app/app.h"
#include "game/game.h"

void NewGame() {
    ResetToFirstLevel();
    GameState.pieceX = kSpawnX;
    GameState.pieceY = kSpawnY;
    // The frame's high-score rule keeps highScore at or above score, so this
    // writes the file exactly when the abandoned game holds the record.
    SaveHighScore();
    GameState.score = 0;
    GameState.playing = 0;
}
