// What a windowed host opens with: the program's name and icon, what the
// player keeps in settings.conf and keys.conf, and where screenshots go.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "wince/player/keys.h"
#include "wince/seam/screen.h"

namespace wince::player {

struct Settings {
    std::string title;
    std::vector<uint32_t> iconArgb;  // iconSize x iconSize, 0xAARRGGBB; empty: none
    int iconSize = 0;
    int scale = 0;  // 0: the largest whole factor that fits the screen
    bool fullScreen = false;
    int volume = 100;  // 0..100
    bool muted = false;
    // Losing the focus or being minimised pauses the game.
    bool pauseWhenInactive = true;
    KeyMap keys = DefaultKeyMap();
    std::filesystem::path screenshotFolder;  // F12 saves here
    std::string screenshotPrefix = "screen";
    // Writes a screenshot; empty: this host takes none.
    std::function<bool(const std::filesystem::path &, const Screen &, std::string &error)>
        saveScreenshot;
    // True while the game waits at its idle screen for a key, which the
    // title then asks for; empty: never.
    std::function<bool()> awaitsKey;
    // Keys the window itself uses (a replay's controls), asked of each key
    // pressed that is not the player's own: true takes it, and the game does
    // not get it. Empty: none.
    std::function<bool(std::string_view name, bool repeat)> ownKey;
    // Every so many seconds, a line on stderr with the pictures the game
    // finished in them and the presents to the screen; 0: never.
    unsigned frameStatsEverySeconds = 0;
};

}  // namespace wince::player
