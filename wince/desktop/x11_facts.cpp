#include "wince/desktop/x11_facts.h"

#include <initializer_list>

#if defined(SDL_VIDEO_DRIVER_X11) && defined(PELLAX_HAVE_X11)
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

namespace wince::desktop {

DisplayFacts ReadDisplayFacts(SDL_Window *window) {
    DisplayFacts facts;
#if defined(SDL_VIDEO_DRIVER_X11) && defined(PELLAX_HAVE_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return facts;
    Display *display = info.info.x11.display;
    facts.x11 = true;
    int opcode = 0, event = 0, error = 0;
    for (const char *extension : {"DRI3", "DRI2", "NV-GLX"})
        facts.directRendering =
            facts.directRendering || XQueryExtension(display, extension, &opcode, &event, &error);
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check != None) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                               &type, &format, &count, &after, &data) == Success)
            facts.windowManager = type == XA_WINDOW && count == 1;
        if (data != nullptr) XFree(data);
    }
#else
    (void)window;
#endif
    return facts;
}

}  // namespace wince::desktop
