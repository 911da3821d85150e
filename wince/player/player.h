// The player's side of every window, written once: the host every real-time
// platform (the SDL desktop, Windows, the web page) runs the program on. It
// owns every rule a player meets: the device's clock, which stands still
// while the game is paused; pause itself and the key that ends it; the key
// map and the keys the player keeps; the shortest press; game pads; where
// the screen sits in the window; the title's notices; screenshots; sound's
// volume and mute; and how long the machine may sleep between frames. A
// platform only translates: its events in, as the neutral calls below, and
// pixels, sound and waits out, through the small Platform interface.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "wince/player/input_queue.h"
#include "wince/player/layout.h"
#include "wince/player/pacing.h"
#include "wince/player/pads.h"
#include "wince/player/settings.h"
#include "wince/player/wave.h"
#include "wince/seam/host.h"

namespace wince::player {

class Player;

// What a platform does for the player.
class Platform {
public:
    virtual ~Platform() = default;
    // A steady clock, in microseconds.
    virtual int64_t NowUs() = 0;
    // Hands the player every event that has arrived (its On... calls) and
    // returns at once.
    virtual void Poll(Player &player) = 0;
    // Waits until NowUs() reaches untilUs or an event arrives; may end sooner.
    virtual void Wait(int64_t untilUs) = 0;
    // The pixels, drawn at where in the window's drawable area, the rest black.
    virtual void Show(const Screen &pixels, const ScreenRect &where) = 0;
    virtual void SetTitle(const std::string &title) = 0;
    virtual void SetFullScreen(bool full) = 0;
    // Starts the wave at once, cutting off the one playing; null stops it.
    virtual void Play(const std::shared_ptr<const Wave> &wave) = 0;
    // Loudness 0..100 (0 while muted); a paused sound stands where it was.
    virtual void SetSound(int volume, bool paused) = 0;
    // Shows the box and returns once it is answered.
    virtual void ShowMessage(const MessageRequest &message) = 0;
};

// Where the device's input goes: the program's window, through the core.
class DeviceSink {
public:
    virtual ~DeviceSink() = default;
    virtual bool Ready() = 0;  // the program has made its window
    virtual void Post(const DeviceInput &input) = 0;
    virtual void Close() = 0;  // the window is asked to close
};
DeviceSink &CoreSink();

enum class Pointer : uint8_t { Down, Move, Up };

class Player final : public Host {
public:
    Player(Platform &platform, Settings settings, DeviceSink &sink = CoreSink());

    void Present(const Picture &picture) override;
    void PumpInput() override;
    void Idle() override;
    int64_t CounterNow() override;  // the device's time, in counts of CounterFrequency
    int64_t CounterFrequency() override;
    void Sleep(uint32_t milliseconds) override;
    bool PlayWave(const std::filesystem::path *waveFile) override;
    void ShowMessage(const MessageRequest &message) override;

    // ---- Events, as the platform translates them -------------------------
    // A key by its name (keys.h); alt: an Alt key is held with it.
    void OnKey(std::string_view name, bool down, bool repeat = false, bool alt = false);
    // The primary button of a mouse, a finger or a pen, in the window's units.
    void OnPointer(Pointer action, double x, double y);
    void OnPad(int pad, const PadReading &reading);
    void OnFocus(bool focused);
    void OnMinimised(bool minimised);
    // The window's drawable area in pixels, and how many of them one unit of
    // pointer coordinates spans (above 1 where the desktop scales windows).
    void OnResize(int width, int height, double pixelsPerUnitX = 1.0, double pixelsPerUnitY = 1.0);
    void OnExposed();  // the window lost its pixels: they are shown again
    // The window went to full screen or left it by the platform's own means
    // (a browser's Esc), so that the next toggle goes the right way.
    void OnFullScreen(bool full) { fullScreen_ = full; }
    void OnClose();

    // The title's own words (the notices come after them), and the pause
    // as P gives it: for a window that shows something else than a game.
    void SetTitleText(std::string title);
    void TogglePause() { HostKey(HostAction::Pause); }

    // The device's time in microseconds: real time less the time paused.
    int64_t DeviceTimeUs() const { return DeviceUs(); }
    const ScreenRect &Layout() const { return layout_; }
    bool Paused() const { return paused_; }
    bool CloseRequested() const { return closeRequested_; }
    // The settings as the player has changed them meanwhile: full screen,
    // mute, and the scale after a resize (otherwise the one asked for).
    Settings Current() const;

private:
    int64_t DeviceUs() const { return paused_ ? frozenUs_ : platform_.NowUs() - pausedForUs_; }
    void HostKey(HostAction action);
    void GameKey(uint8_t code, bool down, bool repeat);
    void PadEdges(const std::vector<PadEdge> &edges);
    void Queue(const DeviceInput &input);
    void Deliver();
    void Pause();
    void Resume();
    void ShowCurrent();
    void UpdateTitle();
    void Notice(const std::string &text);
    void ExpireNotice();
    void SaveScreenshot();
    void ApplySound();
    void ReportFrames();
    int64_t WaitDeadline();

    Platform &platform_;
    Settings settings_;
    DeviceSink &sink_;
    Pacer pacer_;
    InputQueue queue_;
    Pads pads_;
    std::vector<PadEdge> edges_;

    Screen shown_{}, incoming_{};
    bool anyShown_ = false;
    ScreenRect layout_;
    double unitX_ = 1.0, unitY_ = 1.0;
    int openingScale_ = 0;
    bool fullScreen_ = false, muted_ = false, minimised_ = false;

    bool paused_ = false;
    int64_t frozenUs_ = 0, pausedAtUs_ = 0, pausedForUs_ = 0;
    std::vector<DeviceInput> releasedWhilePaused_;
    // The presses that ended a pause, whose releases the game must not see.
    std::set<std::string> swallowedKeys_;
    std::set<std::pair<int, PadButton>> swallowedButtons_;
    bool stylusDown_ = false;

    bool closeRequested_ = false, closePosted_ = false;
    int64_t lastPumpUs_ = 0;
    bool idledSincePump_ = true;

    std::map<std::filesystem::path, std::shared_ptr<const Wave>> waves_;

    std::string notice_, title_;
    using TitleState = std::tuple<int64_t, bool, bool>;  // notice's end, paused, awaits a key
    std::optional<TitleState> titleState_;
    int64_t noticeUntilUs_ = 0;
    int64_t statsSinceUs_ = 0, statsPictures_ = 0, statsShows_ = 0;
};

}  // namespace wince::player
