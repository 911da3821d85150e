#include "wince/player/resume_lead.h"

#include <algorithm>

namespace wince::player {

namespace {

// Steps of nine to one settle where one cost in ten lies above.
constexpr int64_t kStepUpUs = 90, kStepDownUs = 10;

}  // namespace

int64_t ResumeLead::LeadFor(int64_t waitUs) const {
    return std::min(std::clamp<int64_t>(costUs_ - kHarmlessLateUs, 0, kLongestUs), waitUs);
}

void ResumeLead::Resumed(int64_t lateUs) {
    costUs_ = std::max<int64_t>(costUs_ + (lateUs > costUs_ ? kStepUpUs : -kStepDownUs), 0);
}

}  // namespace wince::player
