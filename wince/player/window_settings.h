// What a desktop host opens its window with: the program's name and icon,
// and what the player keeps in settings.conf.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace wince::desktop {

struct WindowSettings {
    std::string title;
    std::vector<uint32_t> iconArgb;  // iconSize x iconSize, 0xAARRGGBB; empty: none
    int iconSize = 0;
    int scale = 0;  // 0: the largest whole factor that fits the screen
    bool fullScreen = false;
    int volume = 100;  // 0..100
    bool muted = false;
    // Losing the focus or being minimised pauses the game.
    bool pauseWhenInactive = true;
    std::filesystem::path screenshotFolder;  // F12 saves here
    std::string screenshotPrefix = "screen";
};

}  // namespace wince::desktop
