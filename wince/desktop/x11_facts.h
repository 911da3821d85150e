// What the X display behind a window offers, for the choices SDL does not
// make well on its own: the renderer, and full screen without a window
// manager.
#pragma once

#include <SDL.h>

namespace wince::desktop {

struct DisplayFacts {
    bool x11 = false;              // the window is on an X display; the rest is known
    bool windowManager = false;    // a window manager runs (it announces itself on the root)
    bool directRendering = false;  // OpenGL can reach a graphics card (DRI or the vendor's own)
};

DisplayFacts ReadDisplayFacts(SDL_Window *window);

}  // namespace wince::desktop
