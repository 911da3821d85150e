#include <SDL.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <iostream>
#include <map>
#include <system_error>
#include <thread>

#include "wince/desktop/desktop.h"
#include "wince/desktop/input.h"
#include "wince/desktop/screen_window.h"
#include "wince/desktop/sound.h"
#include "wince/seam/png.h"

namespace wince::desktop {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int64_t kCounterFrequency = 1'000'000;
// While the program sleeps the window still answers the window system this
// often.
constexpr uint32_t kSleepSliceMs = 10;
constexpr int64_t kMicrosecondsPerMs = 1000;
// Idle wakes this long after the counter's next whole millisecond, so that
// the reading that follows has moved on.
constexpr int64_t kWakeAfterTickUs = 20;
// Asking the window system for input costs a few system calls; every other
// millisecond is as good as at once to a player, when a frame lasts 26.
constexpr int64_t kPumpEveryUs = 2000;

// Without a display SDL falls back on drivers that draw into memory; a
// player would see nothing, so they count only when asked for by name.
bool ShowsWindows() {
    const std::string driver = SDL_GetCurrentVideoDriver();
    if (std::getenv("SDL_VIDEODRIVER") != nullptr || (driver != "offscreen" && driver != "dummy"))
        return true;
    SDL_SetError("no display");
    return false;
}

bool IsWindowUpkeep(const SDL_Event &event) {
    return event.type == SDL_WINDOWEVENT;
}

// Pictures the game finished, and how many of them differed from the one
// before and so were put on the screen.
struct PresentCounts {
    int64_t pictures = 0;
    int64_t shown = 0;
};

std::string TimeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::array<char, 32> text{};
    std::strftime(text.data(), text.size(), "%Y%m%d-%H%M%S", &local);
    return text.data();
}

}  // namespace

struct DesktopHost::Impl {
    Impl(const DesktopSettings &s, std::unique_ptr<ScreenWindow> w)
        : settings(s), screen(std::move(w)), input(s.keys) {}
    ~Impl();

    void Handle(const SDL_Event &event);
    void HandleWindow(const SDL_WindowEvent &event);
    bool HandleShortcut(const SDL_KeyboardEvent &key);
    void Post(const std::vector<DeviceMessage> &messages);
    void Deliver();
    void PadAdded(int deviceIndex);
    void PadRemoved(SDL_JoystickID pad);
    void SaveScreenshot();
    void ReportFrames();
    uint64_t NowMs() const;

    DesktopSettings settings;
    std::unique_ptr<ScreenWindow> screen;
    std::unique_ptr<SoundPlayer> sound;
    InputTranslator input;
    std::map<SDL_JoystickID, SDL_GameController *> pads;
    Screen shown{}, incoming{};
    bool anyShown = false;
    std::vector<SDL_Event> heldBack;  // arrived while the program slept
    std::vector<DeviceMessage> messages;
    std::deque<DeviceMessage> waiting;  // translated, not yet due
    Clock::time_point start = Clock::now();
    int64_t lastPumpUs = -kPumpEveryUs;
    PresentCounts recent;  // since the last frame statistics line
    uint64_t windowStartMs = 0;
};

DesktopHost::Impl::~Impl() {
    for (const auto &[id, pad] : pads) SDL_GameControllerClose(pad);
    sound.reset();
    screen.reset();
    SDL_Quit();
}

uint64_t DesktopHost::Impl::NowMs() const {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

void DesktopHost::Impl::Post(const std::vector<DeviceMessage> &list) {
    if (!HasMainWindow()) return;  // input before the game has a window goes nowhere
    waiting.insert(waiting.end(), list.begin(), list.end());
    Deliver();
}

// Messages go to the game in the order they came; one that must wait holds
// back those behind it.
void DesktopHost::Impl::Deliver() {
    const uint64_t now = NowMs();
    const bool window = HasMainWindow();
    while (!waiting.empty() && waiting.front().notBeforeMs <= now) {
        if (window) {
            const DeviceMessage &m = waiting.front();
            PostDeviceInput({m.message, m.wParam, m.lParam});
        }
        waiting.pop_front();
    }
}

void DesktopHost::Impl::Handle(const SDL_Event &event) {
    messages.clear();
    switch (event.type) {
        case SDL_QUIT:
            CloseMainWindow();
            return;
        case SDL_WINDOWEVENT:
            HandleWindow(event.window);
            return;
        case SDL_KEYDOWN:
            if (HandleShortcut(event.key)) return;
            break;
        case SDL_CONTROLLERDEVICEADDED:
            PadAdded(event.cdevice.which);
            return;
        case SDL_CONTROLLERDEVICEREMOVED:
            PadRemoved(event.cdevice.which);
            break;
        default:
            break;
    }
    input.Translate(event, NowMs(), messages);
    Post(messages);
}

void DesktopHost::Impl::HandleWindow(const SDL_WindowEvent &event) {
    if (event.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        screen->Relayout();
        input.SetLayout(screen->Rect(), screen->PixelsPerUnitX(), screen->PixelsPerUnitY());
        screen->Redraw();
    } else if (event.event == SDL_WINDOWEVENT_EXPOSED) {
        screen->Redraw();
    }
}

// The desktop's own keys: full screen and the screenshot. They never reach
// the game.
bool DesktopHost::Impl::HandleShortcut(const SDL_KeyboardEvent &key) {
    const SDL_Keycode sym = key.keysym.sym;
    const bool alt = (key.keysym.mod & KMOD_ALT) != 0;
    if (sym == SDLK_F11 || (alt && (sym == SDLK_RETURN || sym == SDLK_KP_ENTER))) {
        if (key.repeat == 0) screen->ToggleFullScreen();
        return true;
    }
    if (sym == SDLK_F12) {
        if (key.repeat == 0) SaveScreenshot();
        return true;
    }
    return false;
}

void DesktopHost::Impl::PadAdded(int deviceIndex) {
    SDL_GameController *pad = SDL_GameControllerOpen(deviceIndex);
    if (pad == nullptr) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
    // The pads present at start-up are announced once more when the
    // subsystem opens; a second open would leak a reference.
    if (!pads.emplace(id, pad).second) SDL_GameControllerClose(pad);
}

void DesktopHost::Impl::PadRemoved(SDL_JoystickID pad) {
    input.ReleasePad(pad, messages);
    if (auto it = pads.find(pad); it != pads.end()) {
        SDL_GameControllerClose(it->second);
        pads.erase(it);
    }
}

void DesktopHost::Impl::SaveScreenshot() {
    const std::filesystem::path &folder = settings.screenshotFolder;
    const std::string stem = settings.screenshotPrefix + "-" + TimeStamp();
    std::filesystem::path file = folder / (stem + ".png");
    std::error_code exists;
    for (int n = 2; std::filesystem::exists(file, exists); ++n)
        file = folder / (stem + "-" + std::to_string(n) + ".png");
    std::string error;
    std::filesystem::create_directories(folder, exists);
    if (WriteScreenPng(file, shown, error))
        std::cerr << "pellax-rim: screenshot saved to " << file.string() << "\n";
    else
        std::cerr << "pellax-rim: no screenshot: " << error << "\n";
}

std::unique_ptr<DesktopHost> DesktopHost::Open(const DesktopSettings &settings,
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
    auto impl = std::make_unique<Impl>(settings, std::move(screen));
    impl->input.SetLayout(impl->screen->Rect(), impl->screen->PixelsPerUnitX(),
                          impl->screen->PixelsPerUnitY());
    // Sound and pads are welcome but not needed: without them the game
    // plays silently, from the keyboard.
    SDL_InitSubSystem(SDL_INIT_AUDIO);
    impl->sound = std::make_unique<SoundPlayer>();
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    return std::unique_ptr<DesktopHost>(new DesktopHost(std::move(impl)));
}

DesktopHost::DesktopHost(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
DesktopHost::~DesktopHost() = default;

void DesktopHost::Present(const Picture &picture) {
    Impl &self = *impl_;
    ++self.recent.pictures;
    ReadScreen(picture, self.incoming);
    // Most frames repeat the one before; showing it again would be wasted work.
    if (!self.anyShown || self.incoming != self.shown) {
        self.shown = self.incoming;
        self.anyShown = true;
        ++self.recent.shown;
        self.screen->Show(self.shown);
    }
    self.ReportFrames();
}

void DesktopHost::Impl::ReportFrames() {
    const uint64_t every = settings.frameStatsEverySeconds * 1000ull;
    const uint64_t now = NowMs();
    if (every == 0 || now - windowStartMs < every) return;
    const double seconds = static_cast<double>(now - windowStartMs) / 1000;
    std::cerr << "pellax-rim: " << recent.pictures << " pictures in " << seconds << " s ("
              << recent.pictures / seconds << " a second), " << recent.shown << " shown\n";
    recent = {};
    windowStartMs = now;
}

void DesktopHost::PumpInput() {
    Impl &self = *impl_;
    const int64_t now = CounterNow();
    if (self.heldBack.empty() && now - self.lastPumpUs < kPumpEveryUs) return;
    self.lastPumpUs = now;
    std::vector<SDL_Event> held;
    held.swap(self.heldBack);
    for (const SDL_Event &event : held) self.Handle(event);
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1)
        self.Handle(event);
    self.messages.clear();
    self.input.Repeat(static_cast<uint64_t>(now / kMicrosecondsPerMs), self.messages);
    self.Post(self.messages);
    self.Deliver();
}

// The game's timers read whole milliseconds, so nothing it does can change
// before the counter's next millisecond: sleeping until just after it loses
// nothing, keeps the frames exactly on their 26 ms, and leaves the core idle.
void DesktopHost::Idle() {
    const int64_t intoTick = CounterNow() % kMicrosecondsPerMs;
    const int64_t wait =
        std::min(kMicrosecondsPerMs - intoTick + kWakeAfterTickUs, kMicrosecondsPerMs);
    std::this_thread::sleep_for(std::chrono::microseconds(wait));
}

int64_t DesktopHost::CounterNow() {
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - impl_->start)
        .count();
}

int64_t DesktopHost::CounterFrequency() {
    return kCounterFrequency;
}

// The whole program stands still, as on the device: input that arrives
// meanwhile waits and is delivered afterwards, in order. Only the window's
// upkeep (redrawing what was uncovered, a new size) goes on.
void DesktopHost::Sleep(uint32_t milliseconds) {
    Impl &self = *impl_;
    const auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
    for (auto now = Clock::now(); now < end; now = Clock::now()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - now).count();
        SDL_Delay(static_cast<Uint32>(std::min<int64_t>(left + 1, kSleepSliceMs)));
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (IsWindowUpkeep(event))
                self.Handle(event);
            else
                self.heldBack.push_back(event);
        }
    }
}

bool DesktopHost::PlayWave(const std::filesystem::path *waveFile) {
    if (waveFile == nullptr) {
        impl_->sound->Stop();
        return true;
    }
    return impl_->sound->Play(*waveFile);
}

void DesktopHost::ShowMessage(const MessageRequest &message) {
    const Uint32 icon = message.error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    SDL_Window *parent = message.owned ? impl_->screen->Window() : nullptr;
    const std::string title = ToUtf8(message.caption), text = ToUtf8(message.text);
    if (SDL_ShowSimpleMessageBox(icon, title.c_str(), text.c_str(), parent) != 0)
        std::cerr << "pellax-rim: " << title << ": " << text << "\n";
}

}  // namespace wince::desktop
