// The one screen of the game: each frame redraws it from the background up,
// answers one stylus tap, starts or steps the game, shows the numbers and
// presents the picture.
#include "app/app.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "platform/platform.h"

namespace {

// A tap hits an area when it lies strictly inside both ranges.
struct ScreenArea {
    int32_t left, right, top, bottom;
};

constexpr ScreenArea kExitArea = {165, 225, 292, 307};
constexpr ScreenArea kNewGameArea = {165, 225, 270, 285};
// The area left of the level number raises it and the one right of it
// lowers it, as designed (docs/fidelity.md).
constexpr ScreenArea kLevelUpArea = {165, 180, 112, 127};
constexpr ScreenArea kLevelDownArea = {210, 225, 112, 127};

constexpr uint8_t kBottomLevel = 1;
constexpr uint8_t kLastStartKey = kKey197;  // flags 0..6 start a game; Return does not

constexpr int32_t kOverlayX = 13, kOverlayY = 5;
constexpr int32_t kBannerX = 22, kBannerY = 90;
constexpr int32_t kBigLevelX = 52, kBigLevelY = 112;

bool Hit(const ScreenArea &area) {
    return StylusInRect(area.left, area.right, area.top, area.bottom) != 0;
}

// Returns false when the tap ended the program: the frame stops there,
// without presenting, and the stylus flag stays set.
bool HandleStylusMenu() {
    if (!IsStylusDown()) return true;
    if (Hit(kExitArea)) {
        SaveHighScoreOnLeaving();
        Shutdown();
        PostQuitMessage(0);
        return false;
    }
    if (Hit(kNewGameArea)) {
        NewGame();
    } else if (Hit(kLevelUpArea)) {
        if (GameState.level < kTopLevel) GameState.level++;
    } else if (Hit(kLevelDownArea)) {
        if (GameState.level > kBottomLevel) GameState.level--;
    }
    ClearStylusDown();
    return true;
}

void DrawIdlePicture() {
    if (GameState.levelCleared) DrawSpriteFrame(levelClearedSprite, kBannerX, kBannerY, 0);
    DrawSpriteFrame(levelDigitSprite, kBigLevelX, kBigLevelY, GameState.level - 1u);
}

}  // namespace

void StartGame() {
    if (GameState.playing) return;
    bool anyKey = false;
    for (uint8_t flag = kKeyUp; flag <= kLastStartKey; ++flag) anyKey |= IsKeyFlagSet(flag) != 0;
    if (!anyKey) return;
    for (uint8_t flag = kKeyUp; flag <= kLastStartKey; ++flag) ClearKeyFlag(flag);
    GameState.levelCleared = 0;
    GameState.playing = 1;
    BuildPieceSequence();
}

void RunFrame() {
    // Shutdown has released the BackBuffer and the sprites; only the quit
    // message is still to come.
    if (ShutdownDone) return;
    DrawSpriteFrame(backgroundSprite, 0, 0, 0);
    DrawSpriteFrame(overlaySprite, kOverlayX, kOverlayY, 0);
    if (!HandleStylusMenu() || ShutdownDone) return;
    StartGame();
    if (GameState.playing) {
        DrawBoard();
        StepGame();
        if (ShutdownDone) return;  // the score file could not be written at game over
        DrawPreview();
    } else {
        DrawIdlePicture();
    }
    DrawPanelNumbers();
    ConvertBackBuffer(GetShadowOrigin(), 0, 0);
    PresentShadow();
}
