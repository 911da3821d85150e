// The window that shows the device's screen: scaled by whole factors with
// nearest-neighbour filtering, centred between black bars.
#pragma once

#include <SDL.h>

#include <memory>
#include <string>

#include "wince/desktop/desktop.h"
#include "wince/desktop/viewport.h"

namespace wince::desktop {

class ScreenWindow {
public:
    // Nothing, with the reason in error, when the window cannot be made.
    // SDL's video subsystem must be initialised.
    static std::unique_ptr<ScreenWindow> Open(const DesktopSettings &settings, std::string &error);
    ~ScreenWindow();
    ScreenWindow(const ScreenWindow &) = delete;
    ScreenWindow &operator=(const ScreenWindow &) = delete;

    // New pixels, drawn at once; presenting never waits for the display's
    // refresh, since the game paces itself.
    void Show(const Screen &pixels);
    // The last pixels again, for a window that was uncovered or resized.
    void Redraw();
    // Measures the window again after a change of size.
    void Relayout();
    void ToggleFullScreen();

    SDL_Window *Window() const { return window_; }
    ScreenRect Rect() const { return rect_; }
    // Drawable pixels per unit of window (mouse) coordinates; above 1 on
    // displays that scale windows up.
    double PixelsPerUnitX() const { return unitX_; }
    double PixelsPerUnitY() const { return unitY_; }

private:
    ScreenWindow() = default;
    bool Create(const DesktopSettings &settings, std::string &error);
    void SetIcon(const DesktopSettings &settings);

    SDL_Window *window_ = nullptr;
    SDL_Renderer *renderer_ = nullptr;
    SDL_Texture *texture_ = nullptr;
    ScreenRect rect_;
    double unitX_ = 1.0, unitY_ = 1.0;
};

}  // namespace wince::desktop
