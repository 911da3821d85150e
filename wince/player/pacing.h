// When the waiting program may next want to run. The game runs a frame when
// its timer, read in whole milliseconds, has run out, and looks at the timer
// only when its queue is empty; the host learns the timer's period from the
// pictures it is given and lets the machine sleep until the next one is due.
#pragma once

#include <cstdint>
#include <optional>

namespace wince::player {

class Pacer {
public:
    // Waking this long after a millisecond begins makes sure the program's
    // reading then has moved on to it.
    static constexpr int64_t kAfterTickUs = 20;
    // With no picture for this long the program waits for input alone.
    static constexpr int64_t kGiveUpUs = 200'000;

    // The program found its queue empty at nowUs (device microseconds): the
    // time until which it can sleep, waking for input; nothing when it
    // waits for input alone.
    std::optional<int64_t> SleepUntil(int64_t nowUs);
    // The sleep is over; the program now looks at its timers. The host sees
    // to it that the program's own reading falls in the same millisecond.
    void Woke(int64_t nowUs);
    // A picture: a frame ran, from the program's last look on.
    void Presented();
    // Input went to the program, which may now wait for something else.
    void InputPosted(int64_t nowUs);

private:
    enum class Mode { Learning, Scheduled, Verifying };
    Mode mode_ = Mode::Learning;
    int64_t lastLookUs_ = 0;
    int64_t previousLookMs_ = -2;
    std::optional<int64_t> frameMs_;  // when the last frame began
    int64_t periodMs_ = 0;
    int64_t frames_ = 0;
    std::optional<int64_t> quietSinceUs_;  // since when no picture came while learning
};

}  // namespace wince::player
