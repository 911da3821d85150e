// The game in a real Windows window: the user's folders, the key map and
// settings, the icon, and the Windows host the program runs on.
#include <iostream>

#include "runner/windowed.h"
#include "wince/windows/user_folders.h"
#include "wince/windows/windows_host.h"

namespace runner {

namespace {

wince::windows::WindowsSettings Settings(const DesktopOptions &options, const PlayerStart &player) {
    wince::windows::WindowsSettings settings;
    ApplyPlayer(options, player, settings);
    const auto keys = wince::windows::LoadKeyMap(KeyMapPath());
    ReportUnused(KeyMapPath(), keys.warnings);
    settings.keys = keys.map;
    settings.screenshotFolder = wince::windows::PicturesFolder().value_or(DefaultRoot());
    return settings;
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
    const PlayerStart player = LoadPlayer();
    const auto settings = Settings(options, player);
    std::string why;
    auto host = wince::windows::WindowsHost::Open(settings, why);
    if (!host) {
        std::cerr << "pellax-rim: cannot open a window (" << why << ")\n";
        return 1;
    }
    const int code = RunOnDataFolder(*host, options);
    KeepChanges(player, settings, host->Current());
    return code;
}

}  // namespace runner
