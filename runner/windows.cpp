// The game in a real Windows window: the user's folders, the key map and
// settings, the icon, and the Windows host the program runs on.
#include <iostream>
#include <system_error>

#include "assets/assets.h"
#include "runner/runner.h"
#include "wince/player/player_settings.h"
#include "wince/windows/user_folders.h"
#include "wince/windows/windows_host.h"

namespace runner {

namespace {

constexpr const char *kProgramFolder = "pellax-rim";
constexpr const char *kTitle = "PELLAX RIM";
constexpr int kIconSize = 64;

void ReportUnused(const std::filesystem::path &file, const std::vector<std::string> &warnings) {
    if (warnings.empty()) return;
    std::cerr << "pellax-rim: " << PathText(file) << ": these lines are not used:\n";
    for (const std::string &warning : warnings) std::cerr << "  " << warning << "\n";
}

wince::windows::WindowsSettings Settings(const DesktopOptions &options,
                                         const wince::desktop::PlayerSettings &player) {
    wince::windows::WindowsSettings settings;
    settings.title = wince::FromUtf8(kTitle);
    settings.iconArgb = assets::MakeIconArgb(kIconSize);
    settings.iconSize = kIconSize;
    settings.scale = options.scale > 0 ? options.scale : player.scale;
    settings.fullScreen = options.fullScreen || player.fullScreen;
    settings.volume = player.volume;
    settings.muted = player.muted;
    settings.pauseWhenInactive = player.pauseWhenInactive;
    const auto keys = wince::windows::LoadKeyMap(KeyMapPath());
    ReportUnused(KeyMapPath(), keys.warnings);
    settings.keys = keys.map;
    settings.screenshotFolder = wince::windows::PicturesFolder().value_or(DefaultRoot());
    settings.screenshotPrefix = kProgramFolder;
    return settings;
}

// What the player changed during the run (F11, M, the window's size) is kept
// for the next; options given for this run alone are not.
void KeepChanges(const wince::desktop::PlayerSettings &before, bool fileExists,
                 const wince::windows::WindowsSettings &asked,
                 const wince::windows::WindowsSettings &now) {
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

// The handheld's root is the program's own folder under %LOCALAPPDATA%;
// keys.conf and settings.conf live beside the handheld's files in it.
std::filesystem::path DefaultRoot() {
    return wince::windows::LocalAppData().value_or(".") / kProgramFolder;
}

std::filesystem::path KeyMapPath() {
    return DefaultRoot() / "keys.conf";
}

std::filesystem::path SettingsPath() {
    return DefaultRoot() / "settings.conf";
}

int RunDesktop(const DesktopOptions &options) {
    const auto player = wince::desktop::LoadPlayerSettings(SettingsPath());
    ReportUnused(SettingsPath(), player.warnings);
    std::error_code error;
    const bool settingsExist = std::filesystem::exists(SettingsPath(), error);
    const auto settings = Settings(options, player.settings);
    std::string why;
    auto host = wince::windows::WindowsHost::Open(settings, why);
    if (!host) {
        std::cerr << "pellax-rim: cannot open a window (" << why << ")\n";
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
