// Start-up: the whole screen, the display with its palette, the eight
// pictures, the buttons, the clock, the Board and the best score.
#include "app/app.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "platform/platform.h"

namespace {

// A failed step ends the run, but start-up goes on with the next step so
// that every later failure still shows its own message.
void EndAfterFailure() {
    Shutdown();
    PostQuitMessage(0);
}

}  // namespace

void EnterFullScreen(HWND window) {
    SHFullScreen(window, SHFS_HIDESIPBUTTON);
    SHFullScreen(window, SHFS_HIDETASKBAR);
    MoveWindow(window, 0, 0, kScreenWidth, kScreenHeight, TRUE);
}

int StartUp(HWND window) {
    EnterFullScreen(window);
    if (!OpenGraphics(window, kPaletteFile, kRegistryKey, kScreenWidth, kScreenHeight)) {
        EndAfterFailure();
    }
    for (const PictureFile &picture : PictureFileTable) {
        if (!LoadSprite(picture.name, *picture.sprite, 0)) EndAfterFailure();
    }
    if (!OpenInput(window)) {
        CloseInput();
        EndAfterFailure();
    }
    StartClock();
    ResetBoard();
    return LoadHighScore();
}
