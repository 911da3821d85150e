// The desktop host: the game in an SDL window, with sound, the keyboard, the
// mouse or a finger as the stylus, and game pads. It only translates: every
// rule a player meets is the player's (wince/player/player.h). No SDL type
// is visible past this header.
#pragma once

#include <memory>
#include <string>

#include "wince/player/player.h"

namespace wince::desktop {

// Opens the window, the sound device and the pads. Nothing, with the reason
// in error, when there is no display to open a window on; no sound device
// or pad is no error.
std::unique_ptr<player::Platform> OpenDesktop(const player::Settings &settings, std::string &error);

}  // namespace wince::desktop
