// The replay host: the program answered from a replay, and held against the
// replay's checks as it goes. On its own it runs as fast as it can (to
// verify a run, or to take pictures of it); with a viewer (a window's host)
// it shows the pictures, plays the sounds and keeps the run's pace.
//
// A replay that diverges, or that the viewer stops, ends the program the
// way the window system would: it is asked to close, and from then on its
// clock runs on by itself, its boxes and sounds go nowhere and nothing is
// checked. (No exception unwinds the game: the page is built without them.)
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

// A window that watches the replay: the replay host hands it the program's
// pictures, sounds and boxes, and lets it keep the pace.
class Viewer {
public:
    virtual ~Viewer() = default;
    virtual Host &Window() = 0;
    // The program reads its clock at this time of the run (microseconds from
    // its start): wait until it is time, keeping the window alive. False
    // when the player has stopped watching.
    virtual bool Reach(int64_t runUs) = 0;
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
    // Whether the replay stopped before the program's end, and the frames
    // it played and the game's facts when it did (or at the end).
    bool Stopped() const { return stopped_; }
    // The replay was saved during its run, which it matched to its end.
    bool RecordingEnded() const { return recordingEnded_; }
    uint64_t Frames() const { return stopped_ ? framesAtStop_ : checker_.Frames(); }
    GameFacts Facts() const;
    int64_t DeviceMs() const;

private:
    void Turn();
    void Diverge(std::string expected, std::string got);
    void RanOut(std::string got);
    void Stop();
    void Compare(size_t from);

    Replay replay_;
    ReadFacts facts_;
    Viewer *viewer_;
    bool stopped_ = false, closeAsked_ = false, recordingEnded_ = false;
    uint64_t framesAtStop_ = 0;
    GameFacts factsAtStop_;
    Checker checker_;
    std::vector<Check> made_;
    std::optional<Divergence> divergence_;
    std::function<void(int64_t)> look_;
    size_t counterAt_ = 0, inputAt_ = 0, boxAt_ = 0, soundAt_ = 0;
    uint64_t turn_ = 0;
    int64_t lastReading_ = 0;
};

}  // namespace wince::replay
