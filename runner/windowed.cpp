#include "runner/windowed.h"

#include <iostream>
#include <system_error>

#include "assets/assets.h"

namespace runner {

namespace {
constexpr int kIconSize = 64;
}

void ReportUnused(const std::filesystem::path &file, const std::vector<std::string> &warnings) {
    if (warnings.empty()) return;
    std::cerr << "pellax-rim: " << PathText(file) << ": these lines are not used:\n";
    for (const std::string &warning : warnings) std::cerr << "  " << warning << "\n";
}

PlayerStart LoadPlayer() {
    auto load = wince::desktop::LoadPlayerSettings(SettingsPath());
    ReportUnused(SettingsPath(), load.warnings);
    std::error_code error;
    return {load.settings, std::filesystem::exists(SettingsPath(), error)};
}

void ApplyPlayer(const DesktopOptions &options, const PlayerStart &player,
                 wince::desktop::WindowSettings &settings) {
    settings.title = kTitle;
    settings.iconArgb = assets::MakeIconArgb(kIconSize);
    settings.iconSize = kIconSize;
    settings.scale = options.scale > 0 ? options.scale : player.settings.scale;
    settings.fullScreen = options.fullScreen || player.settings.fullScreen;
    settings.volume = player.settings.volume;
    settings.muted = player.settings.muted;
    settings.pauseWhenInactive = player.settings.pauseWhenInactive;
    settings.screenshotPrefix = kProgramFolder;
}

void KeepChanges(const PlayerStart &before, const wince::desktop::WindowSettings &asked,
                 const wince::desktop::WindowSettings &now) {
    wince::desktop::PlayerSettings after = before.settings;
    if (now.fullScreen != asked.fullScreen) after.fullScreen = now.fullScreen;
    if (now.muted != asked.muted) after.muted = now.muted;
    if (now.scale != asked.scale) after.scale = now.scale;
    if (after == before.settings && before.fileExists) return;
    std::string error;
    if (!wince::desktop::SavePlayerSettings(SettingsPath(), after, error))
        std::cerr << "pellax-rim: " << error << "\n";
}

int RunOnDataFolder(wince::Host &host, const DesktopOptions &options) {
    const std::filesystem::path root = options.root.value_or(DefaultRoot());
    bool refused = false;
    const auto lock = TakeRoot(root, !options.root, refused);
    if (!lock) {
        if (refused)
            host.ShowMessage(
                {wince::FromUtf8(kAlreadyRunning), wince::FromUtf8(kTitle), false, true});
        return 1;
    }
    wince::SetHost(&host);
    wince::SetRoot(root);
    const int code = RunProgram();
    wince::SetHost(nullptr);
    return code;
}

}  // namespace runner
