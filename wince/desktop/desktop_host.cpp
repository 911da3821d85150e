#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <iostream>
#include <map>
#include <set>
#include <system_error>
#include <thread>
#include <tuple>

#include "wince/desktop/desktop.h"
#include "wince/desktop/input.h"
#include "wince/desktop/screen_window.h"
#include "wince/desktop/sound.h"
#include "wince/player/overlay.h"
#include "wince/seam/device_codes.h"
#include "wince/seam/pacing.h"
#include "wince/seam/png.h"

namespace wince::desktop {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int64_t kCounterFrequency = 1'000'000;
constexpr int64_t kUsPerMs = 1000;
// Asking the window system for input costs a few system calls; while the
// program works through its queue, every other millisecond is as good as at
// once to a player, when a frame lasts 26.
constexpr int64_t kPumpEveryUs = 2000;
// With nothing due (paused, or the program waiting for input alone) the
// window system is still asked this often.
constexpr int64_t kLongestWaitUs = 250'000;
// SDL waits in whole milliseconds: such a wait is made to end up to this
// much before its deadline, never after it, and a short sleep finishes it.
constexpr int64_t kCoarseLeadUs = 420;
// How close to the end of a millisecond a look counts as the next one's.
constexpr int64_t kMillisecondEdgeUs = 50;
// SDL polls every millisecond while a pad is open; then waits are slices.
constexpr int64_t kPadSliceMs = 5;
// How long a word in the title bar (a screenshot's name, sound off) stays.
constexpr int64_t kNoticeUs = 2'000'000;
// Plain ASCII: with the C locale X would garble anything else in a title.
constexpr const char *kDash = " - ";

// Without a display SDL falls back on drivers that draw into memory; a
// player would see nothing, so they count only when asked for by name.
bool ShowsWindows() {
    const std::string driver = SDL_GetCurrentVideoDriver();
    if (std::getenv("SDL_VIDEODRIVER") != nullptr || (driver != "offscreen" && driver != "dummy"))
        return true;
    SDL_SetError("no display");
    return false;
}

// Alt, Shift and the like alone do not end a pause: Alt+Tab back to the
// window would.
bool IsModifier(SDL_Keycode key) {
    return (key >= SDLK_LCTRL && key <= SDLK_RGUI) || key == SDLK_CAPSLOCK ||
           key == SDLK_NUMLOCKCLEAR || key == SDLK_MODE;
}

bool IsShortcut(const SDL_KeyboardEvent &key) {
    const SDL_Keycode sym = key.keysym.sym;
    const bool alt = (key.keysym.mod & KMOD_ALT) != 0;
    return FindDesktopKey(sym) != nullptr || (alt && (sym == SDLK_RETURN || sym == SDLK_KP_ENTER));
}

bool IsRelease(const DeviceMessage &message) {
    return message.message == device::kKeyUpMessage || message.message == device::kStylusUpMessage;
}

std::string TimeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::array<char, 32> text{};
    std::strftime(text.data(), text.size(), "%Y%m%d-%H%M%S", &local);
    return text.data();
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

}  // namespace

struct DesktopHost::Impl {
    Impl(const DesktopSettings &s, std::unique_ptr<ScreenWindow> w)
        : settings(s), screen(std::move(w)), input(s.keys), muted(s.muted) {}
    ~Impl();

    int64_t RealUs() const {
        return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
    }
    // The device's counter stands still while the game is paused.
    int64_t DeviceUs() const { return paused ? frozenUs : RealUs() - pausedForUs; }
    uint64_t NowMs() const { return static_cast<uint64_t>(DeviceUs() / kUsPerMs); }

    void Handle(const SDL_Event &event);
    bool HandleForHost(const SDL_Event &event);
    bool HandleWhileAsleep(const SDL_Event &event);
    void HandleWindow(const SDL_WindowEvent &event);
    bool HandleShortcut(const SDL_KeyboardEvent &key);
    void Post(const std::vector<DeviceMessage> &messages);
    void Deliver();
    void WaitUntil(int64_t realDeadlineUs);
    void Pause();
    void Resume();
    void ShowCurrent();
    void UpdateTitle();
    void Notice(const std::string &text);
    void RequestClose();
    void PadAdded(int deviceIndex);
    void PadRemoved(SDL_JoystickID pad);
    void SaveScreenshot();
    void ReportFrames();

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
    bool idledSincePump = true;
    Pacer pacer;

    bool paused = false, minimised = false, closeRequested = false, muted = false;
    int64_t frozenUs = 0, pausedAtUs = 0, pausedForUs = 0;
    std::vector<DeviceMessage> releasedWhilePaused;
    // The presses that ended a pause, whose releases the game must not see.
    std::set<SDL_Keycode> swallowedKeys;
    std::set<std::pair<SDL_JoystickID, int>> swallowedButtons;

    std::string notice;
    int64_t noticeUntilUs = 0;
    std::tuple<int64_t, bool, bool> titleSays{-1, false, false};
    int64_t statsSinceUs = 0, statsPictures = 0, statsPresents = 0;
};

DesktopHost::Impl::~Impl() {
    for (const auto &[id, pad] : pads) SDL_GameControllerClose(pad);
    {
        QuietStderr quiet;
        sound.reset();
    }
    screen.reset();
    SDL_Quit();
}

// While paused nothing reaches the game; only releases are kept, so that no
// key stays down, and they follow when the game goes on.
void DesktopHost::Impl::Post(const std::vector<DeviceMessage> &list) {
    if (!HasMainWindow()) return;  // input before the game has a window goes nowhere
    if (paused) {
        std::copy_if(list.begin(), list.end(), std::back_inserter(releasedWhilePaused), IsRelease);
        return;
    }
    waiting.insert(waiting.end(), list.begin(), list.end());
    Deliver();
}

// Messages go to the game in the order they came; one that must wait holds
// back those behind it.
void DesktopHost::Impl::Deliver() {
    if (paused) return;
    const uint64_t now = NowMs();
    const bool window = HasMainWindow();
    bool posted = false;
    while (!waiting.empty() && waiting.front().notBeforeMs <= now) {
        if (window) {
            const DeviceMessage &m = waiting.front();
            PostDeviceInput({m.message, m.wParam, m.lParam});
        }
        posted = posted || window;
        waiting.pop_front();
    }
    if (posted) pacer.InputPosted(DeviceUs());
}

void DesktopHost::Impl::Handle(const SDL_Event &event) {
    if (HandleForHost(event)) return;
    messages.clear();
    input.Translate(event, NowMs(), messages);
    Post(messages);
}

// Events that are the desktop's business, not the game's: closing, the
// window, the desktop's keys, pads coming and going, and any press while
// paused, which ends the pause and goes no further.
bool DesktopHost::Impl::HandleForHost(const SDL_Event &event) {
    switch (event.type) {
        case SDL_QUIT:
            RequestClose();
            return true;
        case SDL_WINDOWEVENT:
            HandleWindow(event.window);
            return true;
        case SDL_KEYDOWN: {
            if (HandleShortcut(event.key)) return true;
            if (!paused) return false;
            // A key held into the pause repeats; only a new press goes on.
            const SDL_Keycode sym = event.key.keysym.sym;
            if (event.key.repeat == 0 && (!IsModifier(sym) || input.Maps(sym))) {
                swallowedKeys.insert(sym);
                Resume();
            }
            return true;
        }
        case SDL_KEYUP:
            return swallowedKeys.erase(event.key.keysym.sym) > 0;
        case SDL_MOUSEBUTTONDOWN:
            if (!paused) return false;
            Resume();
            return true;  // a press the translator did not see has no lift either
        case SDL_CONTROLLERDEVICEADDED:
            PadAdded(event.cdevice.which);
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            PadRemoved(event.cdevice.which);
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
            if (event.cbutton.button == SDL_CONTROLLER_BUTTON_BACK) {
                paused ? Resume() : Pause();
                return true;
            }
            if (!paused) return false;
            swallowedButtons.insert({event.cbutton.which, event.cbutton.button});
            Resume();
            return true;
        case SDL_CONTROLLERBUTTONUP:
            return event.cbutton.button == SDL_CONTROLLER_BUTTON_BACK ||
                   swallowedButtons.erase({event.cbutton.which, event.cbutton.button}) > 0;
        default:
            return false;
    }
}

// While the program sleeps, the window, closing, the desktop's keys and
// pausing go on; the game's input waits for it to wake.
bool DesktopHost::Impl::HandleWhileAsleep(const SDL_Event &event) {
    bool now = event.type == SDL_QUIT || event.type == SDL_WINDOWEVENT;
    if (event.type == SDL_KEYDOWN) now = paused || IsShortcut(event.key);
    if (event.type == SDL_CONTROLLERBUTTONDOWN)
        now = paused || event.cbutton.button == SDL_CONTROLLER_BUTTON_BACK;
    if (event.type == SDL_MOUSEBUTTONDOWN) now = paused;
    if (now) Handle(event);
    return now;
}

void DesktopHost::Impl::HandleWindow(const SDL_WindowEvent &event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            screen->Relayout();
            input.SetLayout(screen->Rect(), screen->PixelsPerUnitX(), screen->PixelsPerUnitY());
            if (!minimised) screen->Redraw();
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            if (!minimised) screen->Redraw();
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            minimised = true;
            if (settings.pauseWhenInactive) Pause();
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            if (settings.pauseWhenInactive) Pause();
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_MAXIMIZED:
            if (minimised) {
                minimised = false;
                ShowCurrent();
            }
            break;
        default:
            break;
    }
}

// The desktop's own keys never reach the game.
bool DesktopHost::Impl::HandleShortcut(const SDL_KeyboardEvent &key) {
    if (!IsShortcut(key)) return false;
    if (key.repeat != 0) return true;
    switch (key.keysym.sym) {
        case SDLK_F12:
            SaveScreenshot();
            break;
        case SDLK_ESCAPE:
            RequestClose();
            break;
        case SDLK_p:
        case SDLK_PAUSE:
            paused ? Resume() : Pause();
            break;
        case SDLK_m:
            muted = !muted;
            sound->SetMuted(muted);
            Notice(muted ? "sound off" : "sound on");
            break;
        default:  // F11, Alt+Enter
            screen->ToggleFullScreen();
            break;
    }
    return true;
}

// The game's clock stops and the picture dims: the game resumes exactly
// where it stood.
void DesktopHost::Impl::Pause() {
    if (paused) return;
    frozenUs = DeviceUs();
    pausedAtUs = RealUs();
    paused = true;
    sound->SetPaused(true);
    ShowCurrent();
    UpdateTitle();
}

void DesktopHost::Impl::Resume() {
    if (!paused) return;
    pausedForUs += RealUs() - pausedAtUs;
    paused = false;
    sound->SetPaused(false);
    ShowCurrent();
    UpdateTitle();
    std::vector<DeviceMessage> released;
    released.swap(releasedWhilePaused);
    Post(released);
}

void DesktopHost::Impl::ShowCurrent() {
    if (minimised) return;
    screen->Show(paused ? PausedPicture(shown) : shown);
}

void DesktopHost::Impl::UpdateTitle() {
    const bool awaits = settings.awaitsKey && settings.awaitsKey();
    // Asked every frame; the words are put together only when they change.
    const auto said = std::tuple(noticeUntilUs, paused, awaits);
    if (said == titleSays) return;
    titleSays = said;
    std::string title = settings.title;
    if (noticeUntilUs != 0)
        title += kDash + notice;
    else if (paused)
        title += kDash + std::string("Paused, press a key");
    else if (awaits)
        title += kDash + std::string("Press a key");
    screen->SetTitle(title);
}

void DesktopHost::Impl::Notice(const std::string &text) {
    notice = text;
    noticeUntilUs = RealUs() + kNoticeUs;
    UpdateTitle();
}

// The program's window is asked to close; a sleep under way ends at once.
void DesktopHost::Impl::RequestClose() {
    closeRequested = true;
    CloseMainWindow();
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
    messages.clear();
    input.ReleasePad(pad, messages);
    Post(messages);
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
    if (WriteScreenPng(file, shown, error)) {
        std::cerr << "pellax-rim: screenshot saved to " << file.string() << "\n";
        Notice("saved " + file.filename().string());
    } else {
        std::cerr << "pellax-rim: no screenshot: " << error << "\n";
        Notice("no screenshot (see the terminal)");
    }
}

void DesktopHost::Impl::ReportFrames() {
    const int64_t every = static_cast<int64_t>(settings.frameStatsEverySeconds) * 1'000'000;
    const int64_t now = RealUs();
    if (every == 0 || now - statsSinceUs < every) return;
    const double seconds = static_cast<double>(now - statsSinceUs) / 1e6;
    const int64_t presents = screen->Presents() - statsPresents;
    std::cerr << "pellax-rim: " << statsPictures << " pictures in " << seconds << " s ("
              << statsPictures / seconds << " a second), " << presents << " shown\n";
    statsPictures = 0;
    statsPresents = screen->Presents();
    statsSinceUs = now;
}

// Waits for input or the deadline (on the real clock), whichever is first.
// A wait may end early; the program then looks again and waits the rest.
void DesktopHost::Impl::WaitUntil(int64_t realDeadlineUs) {
    const int64_t left = realDeadlineUs - RealUs();
    if (left <= 0) return;
    if (!pads.empty() && left > kPadSliceMs * kUsPerMs) {
        SDL_Delay(kPadSliceMs);
    } else if (pads.empty() && left > kUsPerMs) {
        SDL_WaitEventTimeout(nullptr, static_cast<int>((left - kCoarseLeadUs + 999) / kUsPerMs));
    } else {
        std::this_thread::sleep_for(std::chrono::microseconds(left));
    }
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
    {
        QuietStderr quiet;
        SDL_InitSubSystem(SDL_INIT_AUDIO);
        impl->sound = std::make_unique<SoundPlayer>();
    }
    if (!impl->sound->HasDevice()) {
        std::cerr << "pellax-rim: no sound device (" << impl->sound->Problem()
                  << "); the game plays silently\n";
        // Else a thread of SDL's would look for sound devices ten times a second.
        QuietStderr quiet;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    impl->sound->SetVolume(settings.volume);
    impl->sound->SetMuted(settings.muted);
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    return std::unique_ptr<DesktopHost>(new DesktopHost(std::move(impl)));
}

DesktopHost::DesktopHost(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
DesktopHost::~DesktopHost() = default;

void DesktopHost::Present(const Picture &picture) {
    Impl &self = *impl_;
    ++self.statsPictures;
    self.pacer.Presented();
    // Most frames repeat the one before; showing it again would be wasted
    // work, and the plain layout is compared where it lies, without a copy.
    const bool plain = picture.xPitch == 2 && picture.yPitch == kScreenWidth * 2 &&
                       picture.format == PixelFormat::Rgb565 &&
                       picture.topLeft + sizeof(Screen) <= picture.memory.size();
    if (self.anyShown && plain &&
        std::memcmp(picture.memory.data() + picture.topLeft, self.shown.data(), sizeof(Screen)) ==
            0) {
        self.UpdateTitle();
        return;
    }
    ReadScreen(picture, self.incoming);
    if (!self.anyShown || self.incoming != self.shown) {
        self.shown = self.incoming;
        self.anyShown = true;
        self.ShowCurrent();
    }
    self.UpdateTitle();
}

void DesktopHost::PumpInput() {
    Impl &self = *impl_;
    const int64_t now = self.RealUs();
    if (self.heldBack.empty() && !self.idledSincePump && now - self.lastPumpUs < kPumpEveryUs)
        return;
    self.idledSincePump = false;
    self.lastPumpUs = now;
    std::vector<SDL_Event> held;
    held.swap(self.heldBack);
    for (const SDL_Event &event : held) self.Handle(event);
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1)
        self.Handle(event);
    if (!self.paused) {
        self.messages.clear();
        self.input.Repeat(self.NowMs(), self.messages);
        self.Post(self.messages);
    }
    self.Deliver();
    if (self.noticeUntilUs != 0 && now >= self.noticeUntilUs) {
        self.noticeUntilUs = 0;
        self.UpdateTitle();
    }
    self.ReportFrames();
}

// The game does its work only in its frames: an empty queue sleeps until the
// next frame can be due, a delayed release or a pad repeat is due, or input
// arrives. Paused, nothing is due.
void DesktopHost::Idle() {
    Impl &self = *impl_;
    self.idledSincePump = true;
    int64_t deadline = self.RealUs() + kLongestWaitUs;
    if (!self.paused) {
        std::optional<int64_t> due = self.pacer.SleepUntil(self.DeviceUs());
        if (!self.waiting.empty()) {
            const auto release = static_cast<int64_t>(self.waiting.front().notBeforeMs) * kUsPerMs;
            due = std::min(due.value_or(release), release);
        }
        if (const auto repeat = self.input.NextRepeatMs()) {
            const auto at = static_cast<int64_t>(*repeat) * kUsPerMs;
            due = std::min(due.value_or(at), at);
        }
        if (due) deadline = std::min(deadline, *due + self.pausedForUs);
    }
    if (self.noticeUntilUs != 0) deadline = std::min(deadline, self.noticeUntilUs);
    self.WaitUntil(deadline);
    // The program reads its clock a moment after this: a look just before a
    // millisecond ends would be read in the next one, so it waits past it.
    const int64_t intoMs = self.DeviceUs() % kUsPerMs;
    if (!self.paused && intoMs > kUsPerMs - kMillisecondEdgeUs)
        std::this_thread::sleep_for(
            std::chrono::microseconds(kUsPerMs - intoMs + Pacer::kAfterTickUs));
    self.pacer.Woke(self.DeviceUs());
}

int64_t DesktopHost::CounterNow() {
    return impl_->DeviceUs();
}

int64_t DesktopHost::CounterFrequency() {
    return kCounterFrequency;
}

// The whole program stands still, as on the device: input that arrives
// meanwhile waits and is delivered afterwards, in order. The window's upkeep,
// the desktop's keys and pausing go on; a pause stretches the sleep, and a
// close request ends it at once.
void DesktopHost::Sleep(uint32_t milliseconds) {
    Impl &self = *impl_;
    const int64_t end = self.DeviceUs() + static_cast<int64_t>(milliseconds) * kUsPerMs;
    while (!self.closeRequested) {
        const int64_t left = self.paused ? kLongestWaitUs : end - self.DeviceUs();
        if (left <= 0) break;
        int64_t deadline = self.RealUs() + std::min(left, kLongestWaitUs);
        if (self.noticeUntilUs != 0) deadline = std::min(deadline, self.noticeUntilUs);
        self.WaitUntil(deadline);
        SDL_PumpEvents();
        SDL_Event event;
        while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
            if (!self.HandleWhileAsleep(event)) self.heldBack.push_back(event);
        }
        if (self.noticeUntilUs != 0 && self.RealUs() >= self.noticeUntilUs) {
            self.noticeUntilUs = 0;
            self.UpdateTitle();
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

DesktopSettings DesktopHost::Current() const {
    DesktopSettings current = impl_->settings;
    current.fullScreen = impl_->screen->FullScreen();
    current.muted = impl_->muted;
    const int scale = impl_->screen->Scale();
    if (!current.fullScreen && scale > 0 && scale != impl_->screen->OpeningScale())
        current.scale = scale;
    return current;
}

}  // namespace wince::desktop
