// The desktop host: the game in a real window, with sound, keyboard, mouse
// and game pads. No SDL type is visible past this header.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "wince/desktop/keymap.h"
#include "wince/player/window_settings.h"
#include "wince/seam/host.h"

namespace wince::desktop {

struct DesktopSettings : WindowSettings {
    // True while the game waits at its idle screen for a key, which the
    // title bar then asks for; empty: never.
    std::function<bool()> awaitsKey;
    KeyMap keys = DefaultKeyMap();
    // Every so many seconds, a line on stderr with the pictures the game
    // finished in them and the presents to the screen; 0: never.
    unsigned frameStatsEverySeconds = 0;
};

class DesktopHost final : public Host {
public:
    // Opens the window, the sound device and the pads. Nothing, with the
    // reason in error, when there is no display to open a window on; no
    // sound device or pad is no error.
    static std::unique_ptr<DesktopHost> Open(const DesktopSettings &settings, std::string &error);
    ~DesktopHost() override;

    void Present(const Picture &picture) override;
    void PumpInput() override;
    void Idle() override;
    int64_t CounterNow() override;  // microseconds since the host opened
    int64_t CounterFrequency() override;
    void Sleep(uint32_t milliseconds) override;
    bool PlayWave(const std::filesystem::path *waveFile) override;
    void ShowMessage(const MessageRequest &message) override;

    // The settings as the player has changed them meanwhile: full screen,
    // mute, and the scale after a resize (otherwise the one asked for).
    DesktopSettings Current() const;

    struct Impl;

private:
    explicit DesktopHost(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace wince::desktop
