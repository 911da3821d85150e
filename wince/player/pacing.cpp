#include "wince/player/pacing.h"

#include <algorithm>

namespace wince::player {

namespace {

constexpr int64_t kUsPerMs = 1000;
// A longer period is not a frame timer's: learning goes on.
constexpr int64_t kLongestPeriodMs = 1000;
// Every so many frames the program is looked at a millisecond before its
// frame is due: a period learned too long shows, and shortens.
constexpr int64_t kProbeEvery = 16;

}  // namespace

std::optional<int64_t> Pacer::SleepUntil(int64_t nowUs) {
    const int64_t nextTick = (nowUs / kUsPerMs + 1) * kUsPerMs + kAfterTickUs;
    if (!quietSinceUs_) quietSinceUs_ = nowUs;
    if (mode_ == Mode::Verifying && nowUs > (*frameMs_ + 2 * periodMs_) * kUsPerMs) {
        mode_ = Mode::Learning;  // the input changed what the program waits for
        quietSinceUs_ = nowUs;
    }
    if (mode_ == Mode::Scheduled) {
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
            periodMs_ = period;  // the frame came sooner than the period allowed
        } else if (mode_ == Mode::Verifying) {
            mode_ = Mode::Learning;
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
