// The host with no screen, sound or input of its own, on a virtual clock
// that moves only when the program waits (so a two-second pause costs
// nothing). It serves the built-in use before a program entry sets a host,
// tests of the game's folders and the fuzz targets.
#pragma once

#include <functional>

#include "wince/seam/host.h"

namespace wince {

class QuietHost final : public Host {
public:
    // Message boxes go to stderr as one line each, unless silent.
    explicit QuietHost(bool silent = false) : silent_(silent) {}

    void Present(const Picture &) override {}
    void PumpInput() override;
    void Idle() override;
    int64_t CounterNow() override;  // 1 MHz, 0 at the start
    int64_t CounterFrequency() override;
    void Sleep(uint32_t milliseconds) override;
    bool PlayWave(const std::filesystem::path *) override { return true; }
    void ShowMessage(const MessageRequest &message) override;

    int64_t NowMs() const;
    void Restart() { counter_ = 0; }

    // Called at every look at the queue with the virtual time, so that a
    // caller can post input at chosen moments.
    std::function<void(int64_t nowMs)> onPump;

private:
    bool silent_;
    int64_t counter_ = 0;
};

}  // namespace wince
