// The window that shows the device's screen: scaled by whole factors with
// nearest-neighbour filtering, centred between black bars.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>

#include "wince/player/layout.h"
#include "wince/player/settings.h"

namespace wince::desktop {

class ScreenWindow {
public:
    // Nothing, with the reason in error, when the window cannot be made.
    // SDL's video subsystem must be initialised. The window never opens
    // larger than the usable area of its display; a scale asked for that
    // does not fit is reduced, with a line on stderr.
    static std::unique_ptr<ScreenWindow> Open(const player::Settings &settings, std::string &error);
    ~ScreenWindow();
    ScreenWindow(const ScreenWindow &) = delete;
    ScreenWindow &operator=(const ScreenWindow &) = delete;

    // The pixels drawn at once at where, the rest black; presenting never
    // waits for the display's refresh, since the game paces itself.
    void Show(const Screen &pixels, const player::ScreenRect &where);
    void SetFullScreen(bool full);
    void SetTitle(const std::string &title);

    SDL_Window *Window() const { return window_; }
    // The drawable area in pixels, and drawable pixels per unit of window
    // (mouse) coordinates: above 1 on displays that scale windows up.
    void Measure(int &width, int &height, double &pixelsPerUnitX, double &pixelsPerUnitY) const;

private:
    ScreenWindow() = default;
    bool Create(const player::Settings &settings, std::string &error);
    void SetIcon(const player::Settings &settings);
    void FillDisplay(bool full);

    SDL_Window *window_ = nullptr;
    SDL_Renderer *renderer_ = nullptr;
    SDL_Texture *texture_ = nullptr;
    std::string title_;
    // Full screen made by hand, where no window manager would make it: the
    // window's place and size before.
    bool filled_ = false;
    SDL_Rect windowed_{};
};

}  // namespace wince::desktop
