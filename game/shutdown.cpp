// Giving back what start-up acquired. Every quit path runs this first and
// then posts the quit message; it is safe to run any number of times.
#include "game/game.h"
#include "gfx/gfx.h"
#include "platform/platform.h"

void Shutdown() {
    CloseGraphics();
    for (const PictureFile &picture : PictureFileTable) FreeSprite(*picture.sprite);
    CloseInput();
    // From here on the frame that ran us, and every later one, must leave the
    // released BackBuffer and sprites alone until the quit message ends the run.
    ShutdownDone = 1;
}
