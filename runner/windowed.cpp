#include "runner/windowed.h"

#include <iomanip>
#include <iostream>
#include <system_error>

#include "assets/assets.h"
#include "runner/replays.h"
#include "wince/player/device_keys.h"
#include "wince/player/keys.h"
#include "wince/seam/png.h"

namespace runner {

namespace {

constexpr int kIconSize = 64;
// Set to a number of seconds to see, that often, how many pictures the game
// finished and how many were shown.
constexpr const char *kStatsVariable = "PELLAX_RIM_FRAME_STATS";

std::string KeyList(const wince::player::KeyMap &map, uint8_t code) {
    std::string list;
    for (const std::string &key : map.KeysFor(code)) {
        if (!list.empty()) list += ", ";
        list += key;
    }
    return list.empty() ? "(none)" : list;
}

}  // namespace

void ReportUnused(const std::filesystem::path &file, const std::vector<std::string> &warnings) {
    if (warnings.empty()) return;
    std::cerr << "pellax-rim: " << PathText(file) << ": these lines are not used:\n";
    for (const std::string &warning : warnings) std::cerr << "  " << warning << "\n";
}

PlayerStart LoadPlayer() {
    auto load = wince::player::LoadPlayerSettings(SettingsPath());
    ReportUnused(SettingsPath(), load.warnings);
    std::error_code error;
    return {load.settings, std::filesystem::exists(SettingsPath(), error)};
}

wince::player::Settings PlayerSettingsFor(const DesktopOptions &options, const PlayerStart &player,
                                          const std::filesystem::path &screenshots) {
    wince::player::Settings settings;
    settings.title = kTitle;
    settings.iconArgb = assets::MakeIconArgb(kIconSize);
    settings.iconSize = kIconSize;
    settings.scale = options.scale > 0 ? options.scale : player.settings.scale;
    settings.fullScreen = options.fullScreen || player.settings.fullScreen;
    settings.volume = player.settings.volume;
    settings.muted = player.settings.muted;
    settings.pauseWhenInactive = player.settings.pauseWhenInactive;
    const auto keys = wince::player::LoadKeyMap(KeyMapPath());
    ReportUnused(KeyMapPath(), keys.warnings);
    settings.keys = keys.map;
    settings.screenshotFolder = screenshots;
    settings.screenshotPrefix = kProgramFolder;
    settings.saveScreenshot = wince::WriteScreenPng;
    settings.awaitsKey = AwaitsKey;
    if (const char *every = std::getenv(kStatsVariable); every != nullptr)
        settings.frameStatsEverySeconds = static_cast<unsigned>(std::max(std::atoi(every), 0));
    return settings;
}

void KeepChanges(const PlayerStart &before, const wince::player::Settings &asked,
                 const wince::player::Settings &now) {
    wince::player::PlayerSettings after = before.settings;
    if (now.fullScreen != asked.fullScreen) after.fullScreen = now.fullScreen;
    if (now.muted != asked.muted) after.muted = now.muted;
    if (now.scale != asked.scale) after.scale = now.scale;
    if (after == before.settings && before.fileExists) return;
    std::string error;
    if (!wince::player::SavePlayerSettings(SettingsPath(), after, error))
        std::cerr << "pellax-rim: " << error << "\n";
}

int RunOnDataFolder(wince::Host &host, const DesktopOptions &options, const char *hostName) {
    const std::filesystem::path root = options.root.value_or(DefaultRoot());
    bool refused = false;
    const auto lock = TakeRoot(root, !options.root, refused);
    if (!lock) {
        if (refused)
            host.ShowMessage(
                {wince::FromUtf8(kAlreadyRunning), wince::FromUtf8(kTitle), false, true});
        return 1;
    }
    wince::SetRoot(root);
    const int code = RunRecorded(host, root, hostName, SaveToFolder(root / kReplayFolder));
    wince::SetHost(nullptr);
    return code;
}

int RunWindowed(const DesktopOptions &options, OpenPlatform open, const char *hostName,
                const std::filesystem::path &screenshots, const char *withoutWindow) {
    if (options.replay) return WatchReplay(options, open, screenshots);
    const PlayerStart start = LoadPlayer();
    const wince::player::Settings settings = PlayerSettingsFor(options, start, screenshots);
    // The window first: without a display nothing is written anywhere.
    std::string why;
    const auto platform = open(settings, why);
    if (!platform) {
        std::cerr << "pellax-rim: cannot open a window (" << why << ")" << withoutWindow << "\n";
        return 1;
    }
    wince::player::Player player(*platform, settings);
    const int code = RunOnDataFolder(player, options, hostName);
    KeepChanges(start, settings, player.Current());
    return code;
}

void PrintWindowHelp(std::ostream &out, const std::filesystem::path &screenshots) {
    out << "The handheld's root: " << PathText(DefaultRoot()) << "\n"
        << "  (made on the first run, and files missing from it are made again at each\n"
           "  start; a folder given with --root is used as it is)\n\n";
    const auto load = wince::player::LoadKeyMap(KeyMapPath());
    out << "Keys in effect (change them in " << PathText(KeyMapPath())
        << ",\none line a key: ACTION = KEY NAME, e.g. \"a = Left Shift\"):\n";
    for (const auto &key : wince::player::DeviceKeys())
        out << "  " << std::left << std::setw(8) << key.name << std::setw(36)
            << KeyList(load.map, key.code) + " " << key.use << "\n";
    for (const std::string &warning : load.warnings) out << "  (not used: " << warning << ")\n";
    out << "  any of these but return starts a game from the idle screen\n"
           "The desktop's own keys, which no action may take:\n";
    for (const auto &key : wince::player::ReservedKeys())
        out << "  " << std::left << std::setw(32) << key.name << key.use << "\n";
    out << "\nStylus: the left mouse button, or a finger on a touch screen. The menu is\n"
           "the screen itself: the level arrows, NEW GAME and EXIT.\n"
           "Game pad: d-pad or left stick = arrows, A = a, B = b, Start = start, Back = pause.\n"
           "Losing the focus or minimising the window pauses; any key or click goes on.\n"
           "Screenshots go to "
        << PathText(screenshots)
        << ".\n\nSettings kept between runs (volume 0-100, mute, full screen, scale, pausing\n"
        << "when inactive): " << PathText(SettingsPath()) << "\n"
        << "\nEvery game is recorded. The replays of the last 50 runs, newest last by name,\n"
           "and record.pxr, the run that set the record, are in\n  "
        << PathText(DefaultRoot() / kReplayFolder)
        << "\n(DIR/replays with --root DIR). Attach the newest to a bug report: anyone can\n"
           "then watch exactly what happened (--replay) and check it (--verify).\n";
}

}  // namespace runner
