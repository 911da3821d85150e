// What every windowed program (the SDL one, the Windows one) does around its
// host: the player's settings and keys, the player's changes kept for the
// next run, the data folder taken and the game run on it, and the keys in
// --help.
#pragma once

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "runner/runner.h"
#include "wince/player/player.h"
#include "wince/player/player_settings.h"
#include "wince/player/settings.h"
#include "wince/seam/host.h"

namespace runner {

inline constexpr const char *kProgramFolder = "pellax-rim";

// Lines of a player's file that are not used, named on stderr.
void ReportUnused(const std::filesystem::path &file, const std::vector<std::string> &warnings);

// settings.conf as the run starts (its unused lines reported).
struct PlayerStart {
    wince::player::PlayerSettings settings;
    bool fileExists = false;
};
PlayerStart LoadPlayer();

// The program's title and icon, the player's settings with this run's
// options over them, keys.conf, and screenshots into the given folder.
wince::player::Settings PlayerSettingsFor(const DesktopOptions &options, const PlayerStart &player,
                                          const std::filesystem::path &screenshots);

// What the player changed during the run (F11, M, the window's size) is kept
// for the next; options given for this run alone are not.
void KeepChanges(const PlayerStart &before, const wince::player::Settings &asked,
                 const wince::player::Settings &now);

// The data folder taken (the default one is the game's own and is mended;
// one the player names is used as it is) and the game run on host; the
// program's exit code. A folder another program holds is refused in a box.
// Each run is recorded, its replay kept in the data folder's replays.
int RunOnDataFolder(wince::Host &host, const DesktopOptions &options, const char *hostName);

// A windowed program's run: the player's settings, the platform opened
// (nothing, with the reason in error, when it cannot be), the game played on
// it through the player, and what the player changed kept.
using OpenPlatform = std::unique_ptr<wince::player::Platform> (*)(const wince::player::Settings &,
                                                                  std::string &error);
// With a replay in the options, it is watched instead (WatchReplay).
int RunWindowed(const DesktopOptions &options, OpenPlatform open, const char *hostName,
                const std::filesystem::path &screenshots, const char *withoutWindow);
int WatchReplay(const DesktopOptions &options, OpenPlatform open,
                const std::filesystem::path &screenshots);

// --help's part every window shares: the root, the keys in effect and the
// player's own keys, the stylus, the settings file.
void PrintWindowHelp(std::ostream &out, const std::filesystem::path &screenshots);

}  // namespace runner
