// The Windows host: the game in a real Win32 window, with waveform sound,
// the keyboard, the mouse as the stylus and XInput pads, and a pause that
// stops the device's clock. No type of the
// system's headers is visible past this header.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "wince/player/window_settings.h"
#include "wince/seam/host.h"
#include "wince/windows/keys.h"

namespace wince::windows {

struct WindowsSettings : desktop::WindowSettings {
    KeyMap keys = DefaultKeyMap();
};

class WindowsHost final : public Host {
public:
    // Opens the window; nothing, with the reason in error, when it cannot.
    static std::unique_ptr<WindowsHost> Open(const WindowsSettings &settings, std::string &error);
    ~WindowsHost() override;

    void Present(const Picture &picture) override;
    void PumpInput() override;
    void Idle() override;
    int64_t CounterNow() override;
    int64_t CounterFrequency() override;
    void Sleep(uint32_t milliseconds) override;
    bool PlayWave(const std::filesystem::path *waveFile) override;
    void ShowMessage(const MessageRequest &message) override;

    // The settings as the player has changed them meanwhile: full screen,
    // mute, and the scale after a resize.
    WindowsSettings Current() const;

    struct Impl;

private:
    explicit WindowsHost(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace wince::windows
