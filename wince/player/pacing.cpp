#include "wince/player/pacing.h"

#include <algorithm>

namespace wince::player {

namespace {

constexpr int64_t kUsPerMs = 1000;
// A longer period is not a frame timer's: learning goes on.
constexpr int64_t kLongestPeriodMs = 1000;
// Every so many frames the program is looked at a millisecond before its
// frame is due: a period learned too long shows, and is learnt again.
constexpr int64_t kProbeEvery = 16;

}  // namespace

std::optional<int64_t> Pacer::SleepUntil(int64_t nowUs) {
    const int64_t nextTick = (nowUs / kUsPerMs + 1) * kUsPerMs + kAfterTickUs;
    if (!quietSinceUs_) quietSinceUs_ = nowUs;
    // After input the program most likely keeps its timer: it sleeps to the
    // frame that is due as before, and only a frame that does not come then
    // sets it learning again. Looking every millisecond instead would cost a
    // slow machine, where each wake-up takes about that long, more frames
    // than it finds.
    if (mode_ == Mode::Scheduled || mode_ == Mode::Verifying) {
        const int64_t due = (*frameMs_ + periodMs_) * kUsPerMs + kAfterTickUs;
        if (frames_ % kProbeEvery == 0 && nowUs < due - kUsPerMs) return due - kUsPerMs;
        if (nowUs < due) return due;
        if (lastLookUs_ < due) return nowUs;  // due, and not looked at since: look at once
        // Looked at after its time and no frame came: the program waits for
        // something else now.
        mode_ = Mode::Learning;
        quietSinceUs_ = nowUs;
    }
    if (mode_ == Mode::Learning && nowUs - *quietSinceUs_ > kGiveUpUs) return std::nullopt;
    return nextTick;
}

void Pacer::Woke(int64_t nowUs) {
    previousLookMs_ = lastLookUs_ / kUsPerMs;
    lastLookUs_ = nowUs;
}

void Pacer::Presented() {
    const int64_t startMs = lastLookUs_ / kUsPerMs;
    // The look before found nothing due a millisecond earlier: the frame came
    // at the first millisecond it could, and the period is exact.
    const bool exact = startMs - previousLookMs_ == 1;
    if (frameMs_) {
        const int64_t period = startMs - *frameMs_;
        if (exact && period >= 1 && period <= kLongestPeriodMs) {
            periodMs_ = period;
            mode_ = Mode::Scheduled;
        } else if (mode_ == Mode::Scheduled && period >= 1 && period < periodMs_) {
            // The frame came sooner than the period allowed, at a look that
            // happened to be early (a key, or the look a millisecond early):
            // the timer is shorter by that much or more (the intro's frames
            // are slower than the game's). Taking that look's period would
            // leave frames late until other looks chanced to be earlier still;
            // the next frame tells it exactly.
            mode_ = Mode::Learning;
        } else if (mode_ == Mode::Verifying) {
            // The frame came at the first look since it was due, late or not:
            // the timer is as it was.
            const bool onTime = period >= periodMs_ && previousLookMs_ < *frameMs_ + periodMs_;
            mode_ = onTime ? Mode::Scheduled : Mode::Learning;
        }
    }
    frameMs_ = startMs;
    quietSinceUs_ = lastLookUs_;
    ++frames_;
}

void Pacer::InputPosted(int64_t nowUs) {
    if (mode_ == Mode::Scheduled) mode_ = Mode::Verifying;
    if (mode_ == Mode::Learning) quietSinceUs_ = std::max(quietSinceUs_.value_or(nowUs), nowUs);
}

}  // namespace wince::player
