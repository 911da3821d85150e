// The game in a real window: the user's folders, the key map and settings,
// the icon, and the desktop host the program runs on.
#include "wince/desktop/desktop.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <system_error>

#include "assets/assets.h"
#include "game/game.h"
#include "platform/platform.h"
#include "runner/runner.h"
#include "wince/desktop/user_folders.h"
#include "wince/player/player_settings.h"

namespace runner {

namespace {

constexpr const char *kProgramFolder = "pellax-rim";
constexpr const char *kTitle = "PELLAX RIM";
constexpr int kIconSize = 64;
// Set to a number of seconds to see, that often, how many pictures the game
// finished and how many presents reached the screen.
constexpr const char *kStatsVariable = "PELLAX_RIM_FRAME_STATS";

void ReportUnused(const std::filesystem::path &file, const std::vector<std::string> &warnings) {
    if (warnings.empty()) return;
    std::cerr << "pellax-rim: " << file.string() << ": these lines are not used:\n";
    for (const std::string &warning : warnings) std::cerr << "  " << warning << "\n";
}

// The main loop's frame timer has run (the intro does not use it) and no
// game is under way: the idle screen waits for a key.
bool AwaitsKey() {
    return frameLastTick != 0 && GameState.playing == 0;
}

wince::desktop::DesktopSettings Settings(const DesktopOptions &options,
                                         const wince::desktop::PlayerSettings &player) {
    wince::desktop::DesktopSettings settings;
    settings.title = kTitle;
    settings.iconArgb = assets::MakeIconArgb(kIconSize);
    settings.iconSize = kIconSize;
    settings.scale = options.scale > 0 ? options.scale : player.scale;
    settings.fullScreen = options.fullScreen || player.fullScreen;
    settings.volume = player.volume;
    settings.muted = player.muted;
    settings.pauseWhenInactive = player.pauseWhenInactive;
    settings.awaitsKey = AwaitsKey;
    const auto keys = wince::desktop::LoadKeyMap(KeyMapPath());
    ReportUnused(KeyMapPath(), keys.warnings);
    settings.keys = keys.map;
    settings.screenshotFolder = wince::desktop::PicturesFolder().value_or(DefaultRoot());
    settings.screenshotPrefix = kProgramFolder;
    if (const char *every = std::getenv(kStatsVariable); every != nullptr)
        settings.frameStatsEverySeconds = static_cast<unsigned>(std::max(std::atoi(every), 0));
    return settings;
}

// What the player changed during the run (F11, M, the window's size) is kept
// for the next; options given for this run alone are not.
void KeepChanges(const wince::desktop::PlayerSettings &before, bool fileExists,
                 const wince::desktop::DesktopSettings &asked,
                 const wince::desktop::DesktopSettings &now) {
    wince::desktop::PlayerSettings after = before;
    if (now.fullScreen != asked.fullScreen) after.fullScreen = now.fullScreen;
    if (now.muted != asked.muted) after.muted = now.muted;
    if (now.scale != asked.scale) after.scale = now.scale;
    if (after == before && fileExists) return;
    std::string error;
    if (!wince::desktop::SavePlayerSettings(SettingsPath(), after, error))
        std::cerr << "pellax-rim: " << error << "\n";
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
    const auto player = wince::desktop::LoadPlayerSettings(SettingsPath());
    ReportUnused(SettingsPath(), player.warnings);
    std::error_code error;
    const bool settingsExist = std::filesystem::exists(SettingsPath(), error);
    const auto settings = Settings(options, player.settings);
    // The window first: without a display nothing is written anywhere.
    std::string why;
    auto host = wince::desktop::DesktopHost::Open(settings, why);
    if (!host) {
        std::cerr << "pellax-rim: cannot open a window (" << why
                  << ").\nWithout a display, the game runs only with --headless (see --help).\n";
        return 1;
    }
    // The default folder is the game's own and is mended; one the player
    // names is used as it is.
    const std::filesystem::path root = options.root.value_or(DefaultRoot());
    bool refused = false;
    const auto lock = TakeRoot(root, !options.root, refused);
    if (!lock) {
        if (refused)
            host->ShowMessage(
                {wince::FromUtf8(kAlreadyRunning), wince::FromUtf8(kTitle), false, true});
        return 1;
    }
    wince::SetHost(host.get());
    wince::SetRoot(root);
    const int code = RunProgram();
    KeepChanges(player.settings, settingsExist, settings, host->Current());
    wince::SetHost(nullptr);
    return code;
}

}  // namespace runner
