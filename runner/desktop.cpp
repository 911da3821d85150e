// The game in a real window: the user's folders, the key map, the icon, and
// the desktop host the program runs on.
#include "wince/desktop/desktop.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <system_error>

#include "assets/assets.h"
#include "runner/runner.h"
#include "wince/desktop/user_folders.h"

namespace runner {

namespace {

constexpr const char *kProgramFolder = "pellax-rim";
constexpr const char *kKeyMapFile = "keys.conf";
constexpr const char *kTitle = "PELLAX RIM";
constexpr int kIconSize = 64;
// Set to a number of seconds to see, that often, how many pictures the game
// finished and how many of them changed the screen.
constexpr const char *kStatsVariable = "PELLAX_RIM_FRAME_STATS";

std::filesystem::path DefaultRoot() {
    return wince::desktop::DataHome() / kProgramFolder;
}

std::filesystem::path KeyMapPath() {
    return wince::desktop::ConfigHome() / kProgramFolder / kKeyMapFile;
}

wince::desktop::KeyMap ReadKeyMap() {
    const std::filesystem::path file = KeyMapPath();
    auto load = wince::desktop::LoadKeyMap(file);
    if (load.warnings.empty()) return load.map;
    std::cerr << "pellax-rim: " << file.string() << " is not used, the default keys are:\n";
    for (const std::string &warning : load.warnings) std::cerr << "  " << warning << "\n";
    return load.map;
}

wince::desktop::DesktopSettings Settings(const DesktopOptions &options) {
    wince::desktop::DesktopSettings settings;
    settings.title = kTitle;
    settings.iconArgb = assets::MakeIconArgb(kIconSize);
    settings.iconSize = kIconSize;
    settings.scale = options.scale;
    settings.fullScreen = options.fullScreen;
    settings.keys = ReadKeyMap();
    settings.screenshotFolder = wince::desktop::PicturesFolder().value_or(DefaultRoot());
    settings.screenshotPrefix = kProgramFolder;
    if (const char *every = std::getenv(kStatsVariable); every != nullptr)
        settings.frameStatsEverySeconds = static_cast<unsigned>(std::max(std::atoi(every), 0));
    return settings;
}

}  // namespace

int RunDesktop(const DesktopOptions &options) {
    // The window first: without a display nothing is written anywhere.
    std::string error;
    auto host = wince::desktop::DesktopHost::Open(Settings(options), error);
    if (!host) {
        std::cerr << "pellax-rim: cannot open a window (" << error
                  << ").\nWithout a display, the game runs only with --headless (see --help).\n";
        return 1;
    }
    const std::filesystem::path root = options.root.value_or(DefaultRoot());
    if (!PrepareRoot(root)) return 1;
    const auto lock = FolderLock::Take(root);
    if (!lock) {
        std::cerr << "pellax-rim: " << kAlreadyRunning << "\n";
        host->ShowMessage({wince::FromUtf8(kAlreadyRunning), wince::FromUtf8(kTitle), false, true});
        return 1;
    }
    wince::SetHost(host.get());
    wince::SetRoot(root);
    return RunProgram();
}

}  // namespace runner
