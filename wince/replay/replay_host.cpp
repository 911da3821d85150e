#include "wince/replay/replay_host.h"

#include <utility>

namespace wince::replay {

namespace {
constexpr int64_t kUsPerSecond = 1'000'000;
constexpr int64_t kMsPerSecond = 1000;
}  // namespace

std::string Describe(const Divergence &divergence) {
    return "diverges at frame " + std::to_string(divergence.frame) + ": expected " +
           divergence.expected + ", got " + divergence.got;
}

ReplayHost::ReplayHost(Replay replay, ReadFacts facts, Viewer *viewer)
    : replay_(std::move(replay)),
      facts_(facts),
      viewer_(viewer),
      checker_(replay_.header.counterFrequency, std::move(facts)) {}

GameFacts ReplayHost::Facts() const {
    if (stopped_) return factsAtStop_;
    return facts_ ? facts_() : GameFacts{};
}

void ReplayHost::Stop() {
    if (stopped_) return;
    factsAtStop_ = Facts();
    framesAtStop_ = checker_.Frames();
    stopped_ = true;
}

int64_t ReplayHost::DeviceMs() const {
    const int64_t frequency = std::max<int64_t>(replay_.header.counterFrequency, 1);
    return lastReading_ / frequency * 1000 + lastReading_ % frequency * 1000 / frequency;
}

// A replay saved during its run (at a game over) ends where the run was
// then: running out there is no divergence, only the recording's end.
void ReplayHost::RanOut(std::string got) {
    const bool whole = !replay_.checks.empty() && replay_.checks.back().kind == CheckKind::End;
    if (whole) return Diverge("the run to end", std::move(got));
    recordingEnded_ = true;
    Stop();
}

void ReplayHost::Diverge(std::string expected, std::string got) {
    if (stopped_) return;
    divergence_ = Divergence{checker_.Frames(), std::move(expected), std::move(got)};
    Stop();
}

// Each check the program makes is held against the replay's next one.
void ReplayHost::Compare(size_t from) {
    for (size_t i = from; i < made_.size(); ++i) {
        if (i >= replay_.checks.size()) return RanOut(Describe(made_[i]));
        if (made_[i] != replay_.checks[i]) {
            const Check &expected = replay_.checks[i];
            const bool sameKind = expected.kind == made_[i].kind;
            Diverge(Describe(expected) +
                        (sameKind ? "" : " at frame " + std::to_string(expected.frame)),
                    Describe(made_[i]));
            return;
        }
    }
}

void ReplayHost::Present(const Picture &picture) {
    if (stopped_) return;
    const size_t before = made_.size();
    checker_.Presented(picture, lastReading_, made_);
    Compare(before);
    if (viewer_ != nullptr && !stopped_) viewer_->Window().Present(picture);
}

// The input the run was handed in this turn is handed over again.
void ReplayHost::Turn() {
    ++turn_;
    if (stopped_) {
        if (!closeAsked_ && HasMainWindow()) {
            closeAsked_ = true;
            CloseMainWindow();
        }
        return;
    }
    while (inputAt_ < replay_.inputs.size() && replay_.inputs[inputAt_].turn <= turn_) {
        const Input &input = replay_.inputs[inputAt_++];
        if (input.close)
            CloseMainWindow();
        else
            PostDeviceInput(input.message);
    }
}

void ReplayHost::PumpInput() {
    if (viewer_ != nullptr && !stopped_) viewer_->Window().PumpInput();
    Turn();
    if (look_) look_(DeviceMs());
}

void ReplayHost::Idle() {
    Turn();
}

void ReplayHost::Sleep(uint32_t) {
    Turn();
}

// Once stopped, the clock runs on a millisecond a reading, so that the
// program's timers, and with them its way to the close, go on.
int64_t ReplayHost::CounterNow() {
    const int64_t frequency = std::max<int64_t>(replay_.header.counterFrequency, 1);
    if (!stopped_ && counterAt_ >= replay_.counter.size()) RanOut("another reading of the clock");
    if (stopped_) return lastReading_ += std::max<int64_t>(frequency / kMsPerSecond, 1);
    lastReading_ = replay_.counter[counterAt_++];
    if (viewer_ != nullptr && !viewer_->Reach(lastReading_ / frequency * kUsPerSecond +
                                              lastReading_ % frequency * kUsPerSecond / frequency))
        Stop();
    return lastReading_;
}

int64_t ReplayHost::CounterFrequency() {
    return replay_.header.counterFrequency;
}

bool ReplayHost::PlayWave(const std::filesystem::path *waveFile) {
    if (!stopped_ && soundAt_ >= replay_.sounds.size()) RanOut("a sound");
    if (stopped_) return false;
    const bool started = replay_.sounds[soundAt_++] != 0;
    if (viewer_ != nullptr) viewer_->Window().PlayWave(started ? waveFile : nullptr);
    return started;
}

void ReplayHost::ShowMessage(const MessageRequest &message) {
    if (stopped_) return;
    const std::string got = "a message box \"" + ToUtf8(message.text) + "\"";
    if (boxAt_ >= replay_.boxes.size()) return RanOut(got);
    if (replay_.boxes[boxAt_++] != MessageDigest(message))
        return Diverge("another message box", got);
    if (viewer_ != nullptr) viewer_->Window().ShowMessage(message);
}

void ReplayHost::Finish() {
    if (stopped_) return;
    const size_t before = made_.size();
    made_.push_back(checker_.End());
    Compare(before);
    if (!stopped_ && (counterAt_ != replay_.counter.size() || inputAt_ != replay_.inputs.size()))
        Diverge("the run to go on", "its end");
}

}  // namespace wince::replay
