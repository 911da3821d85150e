// The replay host: the program answered from a replay, and held against the
// replay's checks as it goes. On its own it runs as fast as it can (to
// verify a run, or to take pictures of it); with a viewer (a window's host)
// it shows the pictures, plays the sounds and keeps the run's pace.
#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "wince/replay/checks.h"
#include "wince/replay/replay.h"

namespace wince::replay {

// Where the program stopped doing what the replay says it did.
struct Divergence {
    uint64_t frame = 0;
    std::string expected, got;
};
std::string Describe(const Divergence &divergence);

// Thrown out of the program through its host to end a replay early: it has
// diverged, or the viewer stopped watching.
class ReplayStopped : public std::exception {
public:
    const char *what() const noexcept override { return "the replay stopped"; }
};

// A window that watches the replay: the replay host hands it the program's
// pictures, sounds and boxes, and lets it keep the pace.
class Viewer {
public:
    virtual ~Viewer() = default;
    virtual Host &Window() = 0;
    // The program reads its clock at this time of the run (microseconds from
    // its start): wait until it is time, keeping the window alive. Throws
    // ReplayStopped when the viewer has stopped watching.
    virtual void Reach(int64_t runUs) = 0;
};

class ReplayHost final : public Host {
public:
    ReplayHost(Replay replay, ReadFacts facts, Viewer *viewer = nullptr);

    void Present(const Picture &picture) override;
    void PumpInput() override;
    void Idle() override;
    int64_t CounterNow() override;
    int64_t CounterFrequency() override;
    void Sleep(uint32_t milliseconds) override;
    bool PlayWave(const std::filesystem::path *waveFile) override;
    void ShowMessage(const MessageRequest &message) override;

    // Called at each look at the queue with the device's time in ms, so a
    // headless run can take pictures and states of the replayed run.
    void OnLook(std::function<void(int64_t deviceMs)> look) { look_ = std::move(look); }
    // The program ended: its end is held against the replay's. The
    // divergence, if any, is kept.
    void Finish();
    const std::optional<Divergence> &Diverged() const { return divergence_; }
    uint64_t Frames() const { return checker_.Frames(); }
    const Replay &Played() const { return replay_; }
    int64_t DeviceMs() const;

private:
    void Turn();
    [[noreturn]] void Diverge(std::string expected, std::string got);
    void Compare(size_t from);

    Replay replay_;
    Viewer *viewer_;
    Checker checker_;
    std::vector<Check> made_;
    std::optional<Divergence> divergence_;
    std::function<void(int64_t)> look_;
    size_t counterAt_ = 0, inputAt_ = 0, boxAt_ = 0, soundAt_ = 0;
    uint64_t turn_ = 0;
    int64_t lastReading_ = 0;
};

}  // namespace wince::replay
