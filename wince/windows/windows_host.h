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

#include "wince/seam/host.h"
#include "wince/windows/keys.h"

namespace wince::windows {

struct WindowsSettings {
    std::u16string title;
    std::vector<uint32_t> iconArgb;  // iconSize x iconSize, 0xAARRGGBB; empty: none
    int iconSize = 0;
    int scale = 0;  // 0: the largest whole factor that fits the work area
    bool fullScreen = false;
    int volume = 100;  // 0..100
    bool muted = false;
    // Losing the focus or being minimised pauses the game.
    bool pauseWhenInactive = true;
    KeyMap keys = DefaultKeyMap();
    std::filesystem::path screenshotFolder;  // F12 saves here
    std::string screenshotPrefix = "screen";
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
