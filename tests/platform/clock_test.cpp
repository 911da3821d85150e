// The millisecond clock and the interval timers, on a counter the test sets.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "wince/headless/headless.h"

namespace {

class SetCounterHost : public wince::headless::HeadlessHost {
public:
    int64_t counter = 0, frequency = 1000000;
    int64_t CounterNow() override { return counter; }
    int64_t CounterFrequency() override { return frequency; }
};

class Clock : public ::testing::Test {
protected:
    void SetUp() override {
        wince::SetHost(&host);
        wince::ResetForTest();
        frameLastTick = TickSlot[0] = 0;
        StartClock();
    }
    // Whether a timer fires when asked at `ms` (braced lists ask in order).
    int SlotAt(int64_t ms, int32_t interval, uint32_t slot = 0) {
        host.counter = ms * 1000;
        return SlotTimerElapsed(interval, slot);
    }
    int FrameAt(int64_t ms, int32_t interval) {
        host.counter = ms * 1000;
        return FrameTimerElapsed(interval);
    }

    SetCounterHost host;
};

// Late, a timer counts on from when it was asked (200), not from when it was
// due (151); slots beyond the table answer no and touch nothing.
TEST_F(Clock, TimersFireOnlyWhenMoreThanTheIntervalHasPassed) {
    TickSlot[0] = 100;
    EXPECT_EQ(std::vector<int>({SlotAt(125, 25), SlotAt(126, 25), SlotAt(126, 0), SlotAt(200, 25),
                                SlotAt(226, 25)}),
              std::vector<int>({0, 1, 0, 1, 1}));
    EXPECT_EQ(frameLastTick, 0u);  // the frame timer is separate
    EXPECT_EQ(FrameAt(226, 225), 1);
    EXPECT_EQ(SlotAt(5000, 1, 1) + SlotAt(5000, 1, 0xFFFFFFFFu), 0);
    EXPECT_EQ(TickSlot[0] + frameLastTick, 226u + 226u);
}

// Ten and a half seconds untested look like half a second.
TEST_F(Clock, ElapsedTimeIsSeenModuloTenSeconds) {
    frameLastTick = 9990;
    EXPECT_EQ(std::vector<int>({FrameAt(10005, 15), FrameAt(10005, 14)}), std::vector<int>({0, 1}));
    EXPECT_EQ(frameLastTick, 5u);
    EXPECT_EQ(std::vector<int>({FrameAt(20505, 500), FrameAt(20505, 499)}),
              std::vector<int>({0, 1}));
    for (int64_t ms = 0; ms < 10000; ms += 7) ASSERT_EQ(SlotAt(ms, 9999), 0) << ms;
}

// Without a frequency the counter is taken as microseconds; any other
// frequency works without the product overflowing.
TEST_F(Clock, AnyFrequency) {
    const struct {
        int64_t frequency, counter;
        int32_t ms;
    } cases[] = {{0, 12345678, 2345},
                 {3, 10, 3333},
                 {10000000, int64_t{1} << 62, 2738}};  // 2^62 * 1000 / 10^7 = 461168601842738
    for (const auto &[frequency, counter, ms] : cases) {
        host.frequency = frequency;
        StartClock();
        host.counter = counter;
        EXPECT_EQ(ClockMs(), ms) << frequency;
    }
    host.counter = 0x123456789ABLL;
    EXPECT_EQ(ReadCounterLow(), 0x456789ABu);
}

}  // namespace
