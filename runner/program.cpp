// The step from the process into the game: its entry as the device starts it.
#include "game/game.h"
#include "platform/platform.h"
#include "runner/runner.h"
#include "wince.h"

namespace runner {

namespace {
// Any non-null value serves: the program only hands its instance back to
// the window calls.
HINSTANCE const kInstance = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x10000));
}  // namespace

int RunProgram() {
    WCHAR commandLine[] = TEXT("");
    return WinMain(kInstance, nullptr, commandLine, 1);
}

// The main loop's frame timer has run (the intro does not use it) and no
// game is under way.
bool AwaitsKey() {
    return frameLastTick != 0 && GameState.playing == 0;
}

}  // namespace runner
