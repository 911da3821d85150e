// The host's own word over the game's picture while it is paused, drawn on a
// copy: the game's picture itself is never touched.
#pragma once

#include "wince/seam/screen.h"

namespace wince::player {

// The picture dimmed to half, with "PAUSED" across its middle.
Screen PausedPicture(const Screen &game);

}  // namespace wince::player
