// The Windows host: the game in a Win32 window, with waveform sound, the
// keyboard, the mouse as the stylus and XInput pads. It only translates:
// every rule a player meets is the player's (wince/player/player.h). No type
// of the system's headers is visible past this header.
#pragma once

#include <memory>
#include <string>

#include "wince/player/player.h"

namespace wince::windows {

// Opens the window; nothing, with the reason in error, when it cannot.
std::unique_ptr<player::Platform> OpenWindows(const player::Settings &settings, std::string &error);

}  // namespace wince::windows
