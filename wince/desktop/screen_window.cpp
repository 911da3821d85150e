#include "wince/desktop/screen_window.h"

#include <algorithm>
#include <iostream>

#include "wince/desktop/x11_facts.h"

namespace wince::desktop {

namespace {

// Room left on the desktop for the window's frame and title bar.
constexpr int kFrameAllowance = 64;

// The window's size and place: the scale asked for (or the largest that
// fits), never beyond the usable area, centred on it.
SDL_Rect Placement(const player::Settings &settings) {
    SDL_Rect usable{0, 0, kScreenWidth * 2 + kFrameAllowance, kScreenHeight * 2 + kFrameAllowance};
    SDL_GetDisplayUsableBounds(0, &usable);
    const int roomW = std::max(usable.w - kFrameAllowance, 1);
    const int roomH = std::max(usable.h - kFrameAllowance, 1);
    const int fits = player::FittingScale(roomW, roomH, 0);
    const int scale = player::OpeningScale(roomW, roomH, settings.scale);
    if (settings.scale > scale) {
        std::cerr << "pellax-rim: scale " << settings.scale << " does not fit the screen ("
                  << usable.w << " x " << usable.h << " usable); the window opens at "
                  << (fits >= 1 ? "scale " + std::to_string(fits) : "the size that fits") << "\n";
    }
    SDL_Rect place{0, 0, kScreenWidth * scale, kScreenHeight * scale};
    if (fits < 1) {  // a display smaller than the screen itself
        const player::ScreenRect shrunk = player::PlaceScreen(roomW, roomH);
        place.w = shrunk.w;
        place.h = shrunk.h;
    }
    // A window manager puts its frame where the window was asked to be, and
    // the window below its title bar: the room for the frame goes below.
    place.x = usable.x + std::max((usable.w - place.w) / 2, 0);
    place.y = usable.y + std::max((usable.h - place.h - kFrameAllowance) / 2, 0);
    return place;
}

}  // namespace

std::unique_ptr<ScreenWindow> ScreenWindow::Open(const player::Settings &settings,
                                                 std::string &error) {
    std::unique_ptr<ScreenWindow> screen(new ScreenWindow);
    if (!screen->Create(settings, error)) return nullptr;
    return screen;
}

bool ScreenWindow::Create(const player::Settings &settings, std::string &error) {
    const SDL_Rect place = Placement(settings);
    title_ = settings.title;
    window_ = SDL_CreateWindow(title_.c_str(), place.x, place.y, place.w, place.h,
                               SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    // OpenGL drawn by the processor costs tens of megabytes and more time
    // than SDL's own software renderer needs for 240 x 320 pixels; a player's
    // SDL_RENDER_DRIVER still wins.
    if (window_ != nullptr && SDL_GetHint(SDL_HINT_RENDER_DRIVER) == nullptr) {
        const DisplayFacts facts = ReadDisplayFacts(window_);
        if (facts.x11 && !facts.directRendering) {
            SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
            // Else SDL would put the software renderer's pixels through OpenGL.
            SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        }
    }
    if (window_ != nullptr) renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (renderer_ != nullptr)
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                     kScreenWidth, kScreenHeight);
    if (texture_ == nullptr) {
        error = SDL_GetError();
        return false;
    }
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
    SDL_SetWindowMinimumSize(window_, kScreenWidth / 2, kScreenHeight / 2);
    SetIcon(settings);
    if (settings.fullScreen) SetFullScreen(true);
    int width = 0, height = 0;
    double unitX = 1.0, unitY = 1.0;
    Measure(width, height, unitX, unitY);
    Show(Screen{}, player::PlaceScreen(width, height));
    return true;
}

void ScreenWindow::SetIcon(const player::Settings &settings) {
    const size_t size = static_cast<size_t>(settings.iconSize);
    if (size == 0 || settings.iconArgb.size() != size * size) return;
    // SDL only reads the pixels while it copies them into the window's icon.
    SDL_Surface *icon = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint32_t *>(settings.iconArgb.data()), settings.iconSize, settings.iconSize, 32,
        settings.iconSize * 4, SDL_PIXELFORMAT_ARGB8888);
    if (icon == nullptr) return;
    SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
}

ScreenWindow::~ScreenWindow() {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
}

void ScreenWindow::Show(const Screen &pixels, const player::ScreenRect &where) {
    void *target = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &target, &pitch) != 0) return;
    for (int y = 0; y < kScreenHeight; ++y) {
        auto *row = reinterpret_cast<uint32_t *>(static_cast<uint8_t *>(target) + y * pitch);
        for (int x = 0; x < kScreenWidth; ++x) row[x] = ToXrgb(pixels[y * kScreenWidth + x]);
    }
    SDL_UnlockTexture(texture_);
    const SDL_Rect rect{where.x, where.y, where.w, where.h};
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, SDL_ALPHA_OPAQUE);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &rect);
    SDL_RenderPresent(renderer_);
}

void ScreenWindow::Measure(int &width, int &height, double &pixelsPerUnitX,
                           double &pixelsPerUnitY) const {
    int unitsWide = 0, unitsHigh = 0;
    SDL_GetRendererOutputSize(renderer_, &width, &height);
    SDL_GetWindowSize(window_, &unitsWide, &unitsHigh);
    pixelsPerUnitX = unitsWide > 0 ? static_cast<double>(width) / unitsWide : 1.0;
    pixelsPerUnitY = unitsHigh > 0 ? static_cast<double>(height) / unitsHigh : 1.0;
}

void ScreenWindow::SetTitle(const std::string &title) {
    if (title == title_) return;
    title_ = title;
    SDL_SetWindowTitle(window_, title_.c_str());
}

// A window manager makes a window full screen when asked; without one SDL
// would take the window for the display's size while it keeps its own, and
// the picture would be placed for a size it does not have. There the window
// is moved over the whole display by hand. Either way the new size arrives
// as an event and is measured then.
void ScreenWindow::SetFullScreen(bool full) {
    if (filled_) {
        if (!full) FillDisplay(false);
        return;
    }
    const DisplayFacts facts = ReadDisplayFacts(window_);
    if (full && facts.x11 && !facts.windowManager)
        FillDisplay(true);
    else
        SDL_SetWindowFullscreen(window_, full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

void ScreenWindow::FillDisplay(bool full) {
    if (full) {
        SDL_Rect display{};
        if (SDL_GetDisplayBounds(std::max(SDL_GetWindowDisplayIndex(window_), 0), &display) != 0)
            return;
        SDL_GetWindowPosition(window_, &windowed_.x, &windowed_.y);
        SDL_GetWindowSize(window_, &windowed_.w, &windowed_.h);
        SDL_SetWindowBordered(window_, SDL_FALSE);
        SDL_SetWindowPosition(window_, display.x, display.y);
        SDL_SetWindowSize(window_, display.w, display.h);
    } else {
        SDL_SetWindowBordered(window_, SDL_TRUE);
        SDL_SetWindowSize(window_, windowed_.w, windowed_.h);
        SDL_SetWindowPosition(window_, windowed_.x, windowed_.y);
    }
    filled_ = full;
    SDL_RaiseWindow(window_);
}

}  // namespace wince::desktop
