// The game in a real window: the user's folders, the key map and settings,
// the icon, and the desktop host the program runs on.
#include "wince/desktop/desktop.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "game/game.h"
#include "platform/platform.h"
#include "runner/windowed.h"
#include "wince/desktop/user_folders.h"

namespace runner {

namespace {

// Set to a number of seconds to see, that often, how many pictures the game
// finished and how many presents reached the screen.
constexpr const char *kStatsVariable = "PELLAX_RIM_FRAME_STATS";

// The main loop's frame timer has run (the intro does not use it) and no
// game is under way: the idle screen waits for a key.
bool AwaitsKey() {
    return frameLastTick != 0 && GameState.playing == 0;
}

wince::desktop::DesktopSettings Settings(const DesktopOptions &options, const PlayerStart &player) {
    wince::desktop::DesktopSettings settings;
    ApplyPlayer(options, player, settings);
    settings.awaitsKey = AwaitsKey;
    const auto keys = wince::desktop::LoadKeyMap(KeyMapPath());
    ReportUnused(KeyMapPath(), keys.warnings);
    settings.keys = keys.map;
    settings.screenshotFolder = wince::desktop::PicturesFolder().value_or(DefaultRoot());
    if (const char *every = std::getenv(kStatsVariable); every != nullptr)
        settings.frameStatsEverySeconds = static_cast<unsigned>(std::max(std::atoi(every), 0));
    return settings;
}

}  // namespace

std::filesystem::path DefaultRoot() {
    return wince::desktop::DataHome() / kProgramFolder;
}

std::filesystem::path KeyMapPath() {
    return wince::desktop::ConfigHome() / kProgramFolder / "keys.conf";
}

std::filesystem::path SettingsPath() {
    return wince::desktop::ConfigHome() / kProgramFolder / "settings.conf";
}

int RunDesktop(const DesktopOptions &options) {
    const PlayerStart player = LoadPlayer();
    const auto settings = Settings(options, player);
    // The window first: without a display nothing is written anywhere.
    std::string why;
    auto host = wince::desktop::DesktopHost::Open(settings, why);
    if (!host) {
        std::cerr << "pellax-rim: cannot open a window (" << why
                  << ").\nWithout a display, the game runs only with --headless (see --help).\n";
        return 1;
    }
    const int code = RunOnDataFolder(*host, options);
    KeepChanges(player, settings, host->Current());
    return code;
}

}  // namespace runner
