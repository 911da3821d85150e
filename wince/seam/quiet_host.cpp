#include "wince/seam/quiet_host.h"

#include <cstdio>

namespace wince {

namespace {
constexpr int64_t kCountsPerMs = 1000;
}

void QuietHost::PumpInput() {
    if (onPump) onPump(NowMs());
}

void QuietHost::Idle() {
    counter_ += kCountsPerMs;
}

int64_t QuietHost::CounterNow() {
    return counter_;
}

int64_t QuietHost::CounterFrequency() {
    return 1000 * kCountsPerMs;
}

void QuietHost::Sleep(uint32_t milliseconds) {
    counter_ += milliseconds * kCountsPerMs;
}

int64_t QuietHost::NowMs() const {
    return counter_ / kCountsPerMs;
}

void QuietHost::ShowMessage(const MessageRequest &message) {
    if (silent_) return;
    std::fprintf(stderr, "[%s] %s\n", ToUtf8(message.caption).c_str(),
                 ToUtf8(message.text).c_str());
}

}  // namespace wince
