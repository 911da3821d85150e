// Start-up: the whole screen, the display with its palette, the eight
// pictures, the buttons, the clock, the Board and the best score.
#include "app/app.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "platform/platform.h"

namespace {

const WCHAR kPaletteName[] = TEXT("kbl.plf");
const WCHAR kRegistryKey[] = TEXT("\\SOFTWARE\\Apps\\Brackwell Pellax rim");

struct PictureFile {
    const WCHAR *name;
    Sprite *sprite;
};

// Loaded in this order; Shutdown releases them in the same order.
const PictureFile kPictures[] = {
    {TEXT("kbl_b.nbf"), &backgroundSprite},    {TEXT("kbl_bl.nbf"), &blockSprite},
    {TEXT("kbl_n.nbf"), &numberSprite},        {TEXT("kbl_sn.nbf"), &scoreDigitSprite},
    {TEXT("kbl_cg.nbf"), &levelClearedSprite}, {TEXT("kbl_lv.nbf"), &levelDigitSprite},
    {TEXT("kbl_gov.nbf"), &gameOverSprite},    {TEXT("kbl_sl.nbf"), &overlaySprite},
};

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
    if (!OpenGraphics(window, kPaletteName, kRegistryKey, kScreenWidth, kScreenHeight)) {
        EndAfterFailure();
    }
    for (const PictureFile &picture : kPictures) {
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
