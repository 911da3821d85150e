// The window that shows the device's screen: scaled by whole factors with
// nearest-neighbour filtering, centred between black bars.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>

#include "wince/desktop/desktop.h"
#include "wince/desktop/viewport.h"

namespace wince::desktop {

class ScreenWindow {
public:
    // Nothing, with the reason in error, when the window cannot be made.
    // SDL's video subsystem must be initialised. The window never opens
    // larger than the usable area of its display; a scale asked for that
    // does not fit is reduced, with a line on stderr.
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
    void SetTitle(const std::string &title);

    bool FullScreen() const;
    // The whole factor the window shows the screen at, for the next start;
    // 0 when it is not a whole factor.
    int Scale() const;
    int OpeningScale() const { return openingScale_; }
    SDL_Window *Window() const { return window_; }
    ScreenRect Rect() const { return rect_; }
    // Drawable pixels per unit of window (mouse) coordinates; above 1 on
    // displays that scale windows up.
    double PixelsPerUnitX() const { return unitX_; }
    double PixelsPerUnitY() const { return unitY_; }
    // Pictures put on the screen since the window opened.
    int64_t Presents() const { return presents_; }

private:
    ScreenWindow() = default;
    bool Create(const DesktopSettings &settings, std::string &error);
    void SetIcon(const DesktopSettings &settings);
    void FillDisplay(bool full);

    SDL_Window *window_ = nullptr;
    SDL_Renderer *renderer_ = nullptr;
    SDL_Texture *texture_ = nullptr;
    ScreenRect rect_;
    double unitX_ = 1.0, unitY_ = 1.0;
    int64_t presents_ = 0;
    int openingScale_ = 1;
    std::string title_;
    // Full screen made by hand, where no window manager would make it: the
    // window's place and size before.
    bool filled_ = false;
    SDL_Rect windowed_{};
};

}  // namespace wince::desktop
