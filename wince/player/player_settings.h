// What the player chose and the game keeps between runs, in settings.conf
// beside keys.conf: the sound's volume and mute, full screen, the window's
// scale, and whether losing the focus pauses.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace wince::player {

struct PlayerSettings {
    int volume = 100;  // 0..100
    bool muted = false;
    bool fullScreen = false;
    int scale = 0;  // 0: the largest whole factor that fits
    bool pauseWhenInactive = true;
    bool operator==(const PlayerSettings &) const = default;
};

struct PlayerSettingsLoad {
    PlayerSettings settings;
    std::vector<std::string> warnings;  // one for each line not used, by its number
};

// A missing file gives the defaults; a line that cannot be used is named in
// the warnings and the setting keeps its default.
PlayerSettingsLoad LoadPlayerSettings(const std::filesystem::path &file);

// Writes the file whole (making its folder); false, with the reason in
// error, when it cannot.
bool SavePlayerSettings(const std::filesystem::path &file, const PlayerSettings &settings,
                        std::string &error);

}  // namespace wince::player
