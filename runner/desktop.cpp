// The game in an SDL window on a desktop of the XDG kind: the user's folders
// and the desktop host under the player.
#include "runner/windowed.h"
#include "runner/xdg_folders.h"
#include "wince/desktop/host.h"

namespace runner {

namespace {

std::filesystem::path Screenshots() {
    return xdg::PicturesFolder().value_or(DefaultRoot());
}

}  // namespace

int RunDesktop(const DesktopOptions &options) {
    return RunWindowed(options, wince::desktop::OpenDesktop, "desktop", Screenshots(),
                       ".\nWithout a display, the game runs only with --headless (see --help).");
}

void PrintDesktopHelp(std::ostream &out) {
    PrintWindowHelp(out, Screenshots());
    out << "\nEnvironment: PELLAX_RIM_FRAME_STATS=N prints the frame rate every N seconds;\n"
           "SDL_AUDIODRIVER=dummy plays without a sound device.\n";
}

}  // namespace runner
