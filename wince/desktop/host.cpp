#include "wince/desktop/host.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <map>
#include <thread>

#include "wince/desktop/screen_window.h"
#include "wince/desktop/sound.h"

namespace wince::desktop {

namespace {

using player::PadButton;
using player::Pointer;

constexpr int64_t kUsPerMs = 1000;
// SDL waits in whole milliseconds: such a wait is made to end up to this
// much before its deadline, never after it, and a short sleep finishes it.
constexpr int64_t kCoarseLeadUs = 420;
// SDL polls every millisecond while a pad is open; then waits are slices.
constexpr int64_t kPadSliceMs = 5;
constexpr double kStickRange = 32768.0;

// Without a display SDL falls back on drivers that draw into memory; a
// player would see nothing, so they count only when asked for by name.
bool ShowsWindows() {
    const std::string driver = SDL_GetCurrentVideoDriver();
    if (std::getenv("SDL_VIDEODRIVER") != nullptr || (driver != "offscreen" && driver != "dummy"))
        return true;
    SDL_SetError("no display");
    return false;
}

// Sound drivers probing for devices that are not there write to stderr;
// that is no news for a player, so stderr is closed while sound opens.
class QuietStderr {
public:
    QuietStderr() : saved_(dup(STDERR_FILENO)) {
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0) dup2(null, STDERR_FILENO);
        if (null >= 0) close(null);
    }
    ~QuietStderr() {
        if (saved_ < 0) return;
        dup2(saved_, STDERR_FILENO);
        close(saved_);
    }
    QuietStderr(const QuietStderr &) = delete;
    QuietStderr &operator=(const QuietStderr &) = delete;

private:
    int saved_;
};

struct PadBinding {
    SDL_GameControllerButton button;
    PadButton as;
};
constexpr PadBinding kPadButtons[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_UP, PadButton::Up},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, PadButton::Down},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, PadButton::Left},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, PadButton::Right},
    {SDL_CONTROLLER_BUTTON_A, PadButton::A},
    {SDL_CONTROLLER_BUTTON_B, PadButton::B},
    {SDL_CONTROLLER_BUTTON_START, PadButton::Start},
    {SDL_CONTROLLER_BUTTON_BACK, PadButton::Back},
};

player::PadReading ReadPad(SDL_GameController *pad) {
    player::PadReading reading;
    for (const PadBinding &binding : kPadButtons) {
        if (SDL_GameControllerGetButton(pad, binding.button) != 0)
            reading.buttons |= player::PadBit(binding.as);
    }
    reading.stickX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX) / kStickRange;
    reading.stickY = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY) / kStickRange;
    return reading;
}

class DesktopPlatform final : public player::Platform {
public:
    DesktopPlatform(std::unique_ptr<ScreenWindow> screen, const player::Settings &settings);
    ~DesktopPlatform() override;
    DesktopPlatform(const DesktopPlatform &) = delete;
    DesktopPlatform &operator=(const DesktopPlatform &) = delete;

    int64_t NowUs() override {
        return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start_).count();
    }
    void Poll(player::Player &player) override;
    void Wait(int64_t untilUs) override;
    void Show(const Screen &pixels, const player::ScreenRect &where) override {
        screen_->Show(pixels, where);
    }
    void SetTitle(const std::string &title) override { screen_->SetTitle(title); }
    void SetFullScreen(bool full) override { screen_->SetFullScreen(full); }
    void Play(const std::shared_ptr<const player::Wave> &wave) override { sound_->Play(wave); }
    void SetSound(int volume, bool paused) override { sound_->Set(volume, paused); }
    void ShowMessage(const MessageRequest &message) override;

private:
    using Clock = std::chrono::steady_clock;
    void Handle(player::Player &player, const SDL_Event &event);
    void Window(player::Player &player, const SDL_WindowEvent &event);
    void Resized(player::Player &player);
    void PadAdded(int deviceIndex);

    std::unique_ptr<ScreenWindow> screen_;
    std::unique_ptr<SoundPlayer> sound_;
    std::map<SDL_JoystickID, SDL_GameController *> pads_;
    Clock::time_point start_ = Clock::now();
    bool measured_ = false;
};

DesktopPlatform::DesktopPlatform(std::unique_ptr<ScreenWindow> screen,
                                 const player::Settings &settings)
    : screen_(std::move(screen)) {
    // Sound and pads are welcome but not needed: without them the game
    // plays silently, from the keyboard.
    {
        QuietStderr quiet;
        SDL_InitSubSystem(SDL_INIT_AUDIO);
        sound_ = std::make_unique<SoundPlayer>();
    }
    if (!sound_->HasDevice()) {
        std::cerr << "pellax-rim: no sound device (" << sound_->Problem()
                  << "); the game plays silently\n";
        // Else a thread of SDL's would look for sound devices ten times a second.
        QuietStderr quiet;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    sound_->Set(settings.muted ? 0 : settings.volume, false);
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
}

DesktopPlatform::~DesktopPlatform() {
    for (const auto &[id, pad] : pads_) SDL_GameControllerClose(pad);
    {
        QuietStderr quiet;
        sound_.reset();
    }
    screen_.reset();
    SDL_Quit();
}

void DesktopPlatform::Poll(player::Player &player) {
    if (!measured_) Resized(player);
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1)
        Handle(player, event);
}

void DesktopPlatform::Handle(player::Player &player, const SDL_Event &event) {
    switch (event.type) {
        case SDL_QUIT:
            player.OnClose();
            break;
        case SDL_WINDOWEVENT:
            Window(player, event.window);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            player.OnKey(SDL_GetKeyName(event.key.keysym.sym), event.type == SDL_KEYDOWN,
                         event.key.repeat != 0, (event.key.keysym.mod & KMOD_ALT) != 0);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (event.button.button == SDL_BUTTON_LEFT)
                player.OnPointer(event.type == SDL_MOUSEBUTTONDOWN ? Pointer::Down : Pointer::Up,
                                 event.button.x, event.button.y);
            break;
        case SDL_MOUSEMOTION:
            player.OnPointer(Pointer::Move, event.motion.x, event.motion.y);
            break;
        case SDL_CONTROLLERDEVICEADDED:
            PadAdded(event.cdevice.which);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            if (auto it = pads_.find(event.cdevice.which); it != pads_.end()) {
                player.OnPad(it->first, {false});
                SDL_GameControllerClose(it->second);
                pads_.erase(it);
            }
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
        case SDL_CONTROLLERAXISMOTION:
            if (auto it = pads_.find(event.cbutton.which); it != pads_.end())
                player.OnPad(it->first, ReadPad(it->second));
            break;
        default:
            break;
    }
}

void DesktopPlatform::Window(player::Player &player, const SDL_WindowEvent &event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            Resized(player);
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            player.OnExposed();
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            player.OnMinimised(true);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            player.OnFocus(false);
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_MAXIMIZED:
            player.OnMinimised(false);
            break;
        default:
            break;
    }
}

void DesktopPlatform::Resized(player::Player &player) {
    int width = 0, height = 0;
    double unitX = 1.0, unitY = 1.0;
    screen_->Measure(width, height, unitX, unitY);
    player.OnResize(width, height, unitX, unitY);
    measured_ = true;
}

void DesktopPlatform::PadAdded(int deviceIndex) {
    SDL_GameController *pad = SDL_GameControllerOpen(deviceIndex);
    if (pad == nullptr) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
    // The pads present at start-up are announced once more when the
    // subsystem opens; a second open would leak a reference.
    if (!pads_.emplace(id, pad).second) SDL_GameControllerClose(pad);
}

// A wait may end early; the program then looks again and waits the rest.
void DesktopPlatform::Wait(int64_t untilUs) {
    const int64_t left = untilUs - NowUs();
    if (left <= 0) return;
    if (!pads_.empty() && left > kPadSliceMs * kUsPerMs) {
        SDL_Delay(kPadSliceMs);
    } else if (pads_.empty() && left > kUsPerMs) {
        SDL_WaitEventTimeout(nullptr, static_cast<int>((left - kCoarseLeadUs + 999) / kUsPerMs));
    } else {
        std::this_thread::sleep_for(std::chrono::microseconds(left));
    }
}

void DesktopPlatform::ShowMessage(const MessageRequest &message) {
    const Uint32 icon = message.error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    SDL_Window *parent = message.owned ? screen_->Window() : nullptr;
    const std::string title = ToUtf8(message.caption), text = ToUtf8(message.text);
    if (SDL_ShowSimpleMessageBox(icon, title.c_str(), text.c_str(), parent) != 0)
        std::cerr << "pellax-rim: " << title << ": " << text << "\n";
}

}  // namespace

std::unique_ptr<player::Platform> OpenDesktop(const player::Settings &settings,
                                              std::string &error) {
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    SDL_SetHint(SDL_HINT_APP_NAME, settings.title.c_str());
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || !ShowsWindows()) {
        error = SDL_GetError();
        if (error.empty()) error = "no display";
        SDL_Quit();
        return nullptr;
    }
    auto screen = ScreenWindow::Open(settings, error);
    if (!screen) {
        SDL_Quit();
        return nullptr;
    }
    return std::make_unique<DesktopPlatform>(std::move(screen), settings);
}

}  // namespace wince::desktop
