// What every fuzz target shares: the default installation and the reset of
// the game's records, as the tests have them, and a silent host on a
// virtual clock.
#pragma once

#include <functional>

#include "tests/support/installed.h"
#include "wince/host.h"

namespace fuzzing {

using namespace pellax_test;

// Shows nothing and plays nothing; time moves only when the program waits,
// as on the headless host, so a two-second pause costs nothing. `onPump`
// lets a target post input at chosen virtual times.
class QuietHost final : public wince::Host {
public:
    void Present(const wince::Picture &) override {}
    void PumpInput() override {
        if (onPump) onPump(counter / 1000);
    }
    void Idle() override { counter += 1000; }
    int64_t CounterNow() override { return counter; }
    int64_t CounterFrequency() override { return 1000000; }
    void Sleep(uint32_t milliseconds) override { counter += milliseconds * int64_t{1000}; }
    bool PlaySound(const fs::path *) override { return true; }
    int ShowMessageBox(HWND, const std::u16string &, const std::u16string &, uint32_t) override {
        return IDOK;
    }

    int64_t counter = 0;  // microseconds
    std::function<void(int64_t nowMs)> onPump;
};

// The stand-in on the quiet host and the installation, set up on the first
// call; each input then starts from a fresh device and fresh records. The
// fuzzed files are written into the installation, which is the process's own.
inline QuietHost &FreshDevice() {
    static QuietHost host;
    wince::SetHost(&host);
    wince::SetRecorder(nullptr);
    wince::SetRoot(Installation());
    wince::ResetForTest();
    ResetGameRecords();
    host.counter = 0;
    return host;
}

}  // namespace fuzzing
