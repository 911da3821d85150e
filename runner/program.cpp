// The step from the process into the game: its entry as the device starts it.
#include "app/app.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "platform/platform.h"
#include "runner/runner.h"
#include "wince/core/control.h"

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

// A program that is loaded more than once into one process (a libretro
// core, a replay after a run) starts each time as a fresh process would.
// The back buffer is the program's to release, which its shutdown has done;
// the shadow buffer its shutdown keeps, and a second run must not start on
// the first one's picture.
void ResetProgram() {
    if (ShadowBuffer.block != nullptr) VirtualFree(ShadowBuffer.block, 0, MEM_RELEASE);
    ShadowBuffer = {};
    Palette = {};
    DisplayInfo = {};
    wince::ResetForTest();
    GameState = InitialGameState();
    ResetBoard();
    for (uint8_t &kind : PieceSequence) kind = 0;
    for (uint32_t &flag : KeyFlags) flag = 0;
    StylusState = {};
    counterFrequency = counterValue = 0;
    frameLastTick = 0;
    for (uint32_t &tick : TickSlot) tick = 0;
    for (WCHAR &c : GamePath) c = 0;
    ShutdownDone = 0;
    MainWindowHandle = nullptr;
}

// The main loop's frame timer has run (the intro does not use it) and no
// game is under way.
bool AwaitsKey() {
    return frameLastTick != 0 && GameState.playing == 0;
}

}  // namespace runner
