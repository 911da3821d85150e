// What both desktop programs (the SDL one and the Windows one) do around
// their host: the window's settings from the player's, the player's changes
// kept for the next run, the data folder taken and the game run on it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "runner/runner.h"
#include "wince/player/player_settings.h"
#include "wince/player/window_settings.h"
#include "wince/seam/host.h"

namespace runner {

inline constexpr const char *kProgramFolder = "pellax-rim";
inline constexpr const char *kTitle = "PELLAX RIM";

// Lines of a player's file that are not used, named on stderr.
void ReportUnused(const std::filesystem::path &file, const std::vector<std::string> &warnings);

// settings.conf as the run starts (its unused lines reported).
struct PlayerStart {
    wince::desktop::PlayerSettings settings;
    bool fileExists = false;
};
PlayerStart LoadPlayer();

// The program's title and icon and the player's settings, with this run's
// options over them.
void ApplyPlayer(const DesktopOptions &options, const PlayerStart &player,
                 wince::desktop::WindowSettings &settings);

// What the player changed during the run (F11, M, the window's size) is kept
// for the next; options given for this run alone are not.
void KeepChanges(const PlayerStart &before, const wince::desktop::WindowSettings &asked,
                 const wince::desktop::WindowSettings &now);

// The data folder taken (the default one is the game's own and is mended;
// one the player names is used as it is) and the game run on host; the
// program's exit code. A folder another program holds is refused in a box.
int RunOnDataFolder(wince::Host &host, const DesktopOptions &options);

}  // namespace runner
