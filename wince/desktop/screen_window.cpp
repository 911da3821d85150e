#include "wince/desktop/screen_window.h"

#include <array>
#include <cstring>

namespace wince::desktop {

namespace {

constexpr int kMinimumScale = 2;
// Room left on the desktop for the window's frame and title bar.
constexpr int kFrameAllowance = 64;

int DefaultScale(const DesktopSettings &settings) {
    if (settings.scale > 0) return settings.scale;
    SDL_Rect usable{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return kMinimumScale;
    return FittingScale(usable.w - kFrameAllowance, usable.h - kFrameAllowance, kMinimumScale);
}

}  // namespace

std::unique_ptr<ScreenWindow> ScreenWindow::Open(const DesktopSettings &settings,
                                                 std::string &error) {
    std::unique_ptr<ScreenWindow> screen(new ScreenWindow);
    if (!screen->Create(settings, error)) return nullptr;
    return screen;
}

bool ScreenWindow::Create(const DesktopSettings &settings, std::string &error) {
    const int scale = DefaultScale(settings);
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (settings.fullScreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    window_ =
        SDL_CreateWindow(settings.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                         kScreenWidth * scale, kScreenHeight * scale, flags);
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
    Relayout();
    Show(Screen{});
    return true;
}

void ScreenWindow::SetIcon(const DesktopSettings &settings) {
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

void ScreenWindow::Show(const Screen &pixels) {
    void *target = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &target, &pitch) != 0) return;
    for (int y = 0; y < kScreenHeight; ++y) {
        auto *row = reinterpret_cast<uint32_t *>(static_cast<uint8_t *>(target) + y * pitch);
        for (int x = 0; x < kScreenWidth; ++x) row[x] = ToXrgb(pixels[y * kScreenWidth + x]);
    }
    SDL_UnlockTexture(texture_);
    Redraw();
}

void ScreenWindow::Redraw() {
    const SDL_Rect target{rect_.x, rect_.y, rect_.w, rect_.h};
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, SDL_ALPHA_OPAQUE);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &target);
    SDL_RenderPresent(renderer_);
}

void ScreenWindow::Relayout() {
    int pixelsWide = 0, pixelsHigh = 0, unitsWide = 0, unitsHigh = 0;
    SDL_GetRendererOutputSize(renderer_, &pixelsWide, &pixelsHigh);
    SDL_GetWindowSize(window_, &unitsWide, &unitsHigh);
    rect_ = PlaceScreen(pixelsWide, pixelsHigh);
    unitX_ = unitsWide > 0 ? static_cast<double>(pixelsWide) / unitsWide : 1.0;
    unitY_ = unitsHigh > 0 ? static_cast<double>(pixelsHigh) / unitsHigh : 1.0;
}

// The window's new size arrives as an event, and is measured then.
void ScreenWindow::ToggleFullScreen() {
    const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
    SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

}  // namespace wince::desktop
