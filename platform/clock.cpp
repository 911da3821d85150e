// The millisecond clock (0..9999, wrapping every ten seconds) on the
// performance counter, and the interval timers built on it.
#include "platform/platform.h"

int64_t counterFrequency = 0;
int64_t counterValue = 0;
uint32_t frameLastTick = 0;
uint32_t TickSlot[kTickSlots] = {};

namespace {

constexpr int64_t kMsPerSecond = 1000;
// Without a counter frequency the counter is taken to count microseconds, so
// the clock still runs instead of dividing by zero.
constexpr int64_t kFallbackFrequency = 1000000;

int64_t EffectiveFrequency() {
    return counterFrequency > 0 ? counterFrequency : kFallbackFrequency;
}

// Whether more than `interval` ms have passed since `last`; on yes, `last`
// becomes the reading now, so any overshoot is not carried over.
int IntervalElapsed(int32_t interval, uint32_t &last) {
    const int32_t now = ClockMs();
    int32_t elapsed = now - static_cast<int32_t>(last);
    if (now < static_cast<int32_t>(last)) elapsed += kClockCycleMs;
    if (elapsed <= interval) return 0;
    last = static_cast<uint32_t>(now);
    return 1;
}

}  // namespace

BOOL StartClock() {
    LARGE_INTEGER frequency{};
    const BOOL result = QueryPerformanceFrequency(&frequency);
    counterFrequency = frequency.QuadPart;
    return result;
}

uint32_t ReadCounterLow() {
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    counterValue = counter.QuadPart;
    return counter.u.LowPart;
}

int32_t ClockMs() {
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    counterValue = counter.QuadPart;
    // counter * 1000 / frequency, split so that a long-running counter
    // cannot overflow the product.
    const int64_t frequency = EffectiveFrequency();
    const int64_t ms = counterValue / frequency * kMsPerSecond +
                       counterValue % frequency * kMsPerSecond / frequency;
    return static_cast<int32_t>(ms % kClockCycleMs);
}

int FrameTimerElapsed(int32_t interval) {
    return IntervalElapsed(interval, frameLastTick);
}

int SlotTimerElapsed(int32_t interval, uint32_t slot) {
    if (slot >= kTickSlots) return 0;
    return IntervalElapsed(interval, TickSlot[slot]);
}
