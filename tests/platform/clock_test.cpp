// The millisecond clock and the interval timers, on a counter the test sets.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "wince/core/control.h"
#include "wince/headless/host.h"

namespace {

class Clock : public ::testing::Test, public wince::headless::HeadlessHost {
protected:
    void SetUp() override {
        wince::SetHost(this);
        wince::ResetForTest();
        frameLastTick = TickSlot[0] = 0;
        StartClock();
    }
    int64_t CounterNow() override { return counter; }
    int64_t CounterFrequency() override { return frequency; }
    // Whether the slot's or, with no slot, the frame's timer fires when asked at `ms`.
    int At(int64_t ms, int32_t interval, int64_t slot = -1) {
        counter = ms * 1000;
        return slot < 0 ? FrameTimerElapsed(interval) : SlotTimerElapsed(interval, uint32_t(slot));
    }

    int64_t counter = 0, frequency = 1000000;
};

// Late, a timer counts on from when it was asked (200), not from when it was
// due (151); slots beyond the table answer no and touch nothing. Ten and a
// half seconds unasked look like half a second.
TEST_F(Clock, TimersFireWhenMoreThanTheIntervalHasPassedModuloTenSeconds) {
    TickSlot[0] = 100;
    EXPECT_EQ(std::vector<int>({At(125, 25, 0), At(126, 25, 0), At(126, 0, 0), At(200, 25, 0),
                                At(226, 25, 0), At(5000, 1, 1), At(5000, 1, 0xFFFFFFFFu)}),
              std::vector<int>({0, 1, 0, 1, 1, 0, 0}));
    EXPECT_EQ(std::make_pair(TickSlot[0], frameLastTick), std::make_pair(226u, 0u));
    frameLastTick = 9990;
    EXPECT_EQ(std::vector<int>({At(10005, 15), At(10005, 14), At(20505, 500), At(20505, 499)}),
              std::vector<int>({0, 1, 0, 1}));
    EXPECT_EQ(frameLastTick, 505u);
    for (int64_t ms = 0; ms < 10000; ms += 7) ASSERT_EQ(At(ms, 9999, 0), 0) << ms;
}

// Without a frequency the counter is taken as microseconds; any other
// frequency works without the product overflowing.
TEST_F(Clock, AnyFrequency) {
    const int64_t cases[][3] = {{0, 12345678, 2345},
                                {3, 10, 3333},
                                {10000000, int64_t{1} << 62, 2738}};  // 2^62 / 10^4 = ...2738.4
    for (const auto &[hertz, count, ms] : cases) {
        frequency = hertz;
        StartClock();
        counter = count;
        EXPECT_EQ(ClockMs(), ms) << hertz;
    }
    counter = 0x123456789ABLL;
    EXPECT_EQ(ReadCounterLow(), 0x456789ABu);
}

}  // namespace
