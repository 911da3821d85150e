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
    void ReadAt(int64_t ms) { host.counter = ms * 1000; }

    SetCounterHost host;
};

TEST_F(Clock, TimersFireOnlyWhenMoreThanTheIntervalHasPassed) {
    TickSlot[0] = 100;
    ReadAt(125);
    EXPECT_EQ(SlotTimerElapsed(25, 0), 0);
    ReadAt(126);
    EXPECT_EQ(SlotTimerElapsed(25, 0), 1);
    EXPECT_EQ(SlotTimerElapsed(0, 0), 0);  // again in the same millisecond
    ReadAt(200);                           // late: counts on from 200, not 151
    EXPECT_EQ(SlotTimerElapsed(25, 0), 1);
    ReadAt(226);
    EXPECT_EQ(SlotTimerElapsed(25, 0), 1);
    EXPECT_EQ(frameLastTick, 0u);  // the frame timer is separate
    EXPECT_EQ(FrameTimerElapsed(225), 1);
    // Slots beyond the table answer no and touch nothing.
    ReadAt(5000);
    EXPECT_EQ(SlotTimerElapsed(1, 1), 0);
    EXPECT_EQ(SlotTimerElapsed(1, 0xFFFFFFFFu), 0);
    EXPECT_EQ(TickSlot[0] + frameLastTick, 226u + 226u);
}

TEST_F(Clock, ElapsedTimeIsSeenModuloTenSeconds) {
    frameLastTick = 9990;
    ReadAt(10005);  // reads 5
    EXPECT_EQ(FrameTimerElapsed(15), 0);
    EXPECT_EQ(FrameTimerElapsed(14), 1);
    EXPECT_EQ(frameLastTick, 5u);
    ReadAt(10005 + 10500);  // ten and a half seconds untested look like half a second
    EXPECT_EQ(FrameTimerElapsed(500), 0);
    EXPECT_EQ(FrameTimerElapsed(499), 1);
    for (int64_t ms = 0; ms < 10000; ms += 7) {
        ReadAt(ms);
        ASSERT_EQ(SlotTimerElapsed(9999, 0), 0) << ms;
    }
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
