// The millisecond clock and the interval timers, on a counter the test sets.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "wince/headless/headless.h"

namespace {

class SetCounterHost : public wince::headless::HeadlessHost {
public:
    int64_t counter = 0;
    int64_t frequency = 1000000;
    int64_t CounterNow() override { return counter; }
    int64_t CounterFrequency() override { return frequency; }
};

class ClockTest : public ::testing::Test {
protected:
    void SetUp() override {
        wince::SetHost(&host);
        wince::ResetForTest();
        counterFrequency = 0;
        counterValue = 0;
        frameLastTick = 0;
        TickSlot[0] = 0;
        StartClock();
    }

    // Sets the counter so that the clock reads `ms` (plus whole cycles).
    void ReadAt(int64_t ms) { host.counter = ms * 1000; }

    SetCounterHost host;
};

TEST_F(ClockTest, TimerFiresOnlyWhenMoreThanTheIntervalHasPassed) {
    TickSlot[0] = 100;
    ReadAt(125);
    EXPECT_EQ(SlotTimerElapsed(25, 0), 0);
    EXPECT_EQ(TickSlot[0], 100u);
    ReadAt(126);
    EXPECT_EQ(SlotTimerElapsed(25, 0), 1);
    EXPECT_EQ(TickSlot[0], 126u);
    // A second test in the same millisecond sees nothing elapsed.
    EXPECT_EQ(SlotTimerElapsed(0, 0), 0);
    // Overshoot is not carried: the next tick counts from the late reading.
    ReadAt(200);
    EXPECT_EQ(SlotTimerElapsed(25, 0), 1);
    ReadAt(226);
    EXPECT_EQ(SlotTimerElapsed(25, 0), 1);
}

TEST_F(ClockTest, ClockWrapsEveryTenSeconds) {
    ReadAt(9999);
    EXPECT_EQ(ClockMs(), 9999);
    ReadAt(10000);
    EXPECT_EQ(ClockMs(), 0);

    frameLastTick = 9990;
    ReadAt(10005);  // reads 5: elapsed 15 across the wrap
    EXPECT_EQ(FrameTimerElapsed(15), 0);
    EXPECT_EQ(FrameTimerElapsed(14), 1);
    EXPECT_EQ(frameLastTick, 5u);

    // Ten and a half seconds untested look like half a second.
    frameLastTick = 1000;
    ReadAt(11500 + 10000);
    EXPECT_EQ(FrameTimerElapsed(500), 0);
    EXPECT_EQ(FrameTimerElapsed(499), 1);
}

TEST_F(ClockTest, IntervalOfACycleOrMoreNeverFires) {
    for (int64_t ms = 0; ms < 10000; ms += 7) {
        ReadAt(ms);
        ASSERT_EQ(SlotTimerElapsed(9999, 0), 0) << ms;
    }
}

TEST_F(ClockTest, FirstTestComparesWithReadingZeroAndTimersAreIndependent) {
    ReadAt(25);
    EXPECT_EQ(FrameTimerElapsed(25), 0);
    ReadAt(26);
    EXPECT_EQ(FrameTimerElapsed(25), 1);
    EXPECT_EQ(TickSlot[0], 0u);
    EXPECT_EQ(SlotTimerElapsed(25, 0), 1);
}

TEST_F(ClockTest, SlotsBeyondTheTableAnswerNoAndTouchNothing) {
    ReadAt(5000);
    EXPECT_EQ(SlotTimerElapsed(1, 1), 0);
    EXPECT_EQ(SlotTimerElapsed(1, 0xFFFFFFFFu), 0);
    EXPECT_EQ(TickSlot[0], 0u);
    EXPECT_EQ(frameLastTick, 0u);
}

TEST_F(ClockTest, ClockFollowsAnyFrequencyWithoutOverflow) {
    host.frequency = 3;
    StartClock();
    host.counter = 10;  // 3.33 s
    EXPECT_EQ(ClockMs(), 3333);

    host.frequency = 10000000;
    StartClock();
    host.counter = int64_t{1} << 62;  // about 14,600 years at 10 MHz
    EXPECT_EQ(ClockMs(), 2738);       // 2^62 * 1000 / 10^7 = 461168601842738
    EXPECT_EQ(counterValue, host.counter);
}

TEST_F(ClockTest, WithoutACounterFrequencyTheCounterCountsMicroseconds) {
    host.frequency = 0;
    StartClock();
    EXPECT_EQ(counterFrequency, 0);
    host.counter = 12345678;
    EXPECT_EQ(ClockMs(), 2345);
    TickSlot[0] = 2000;
    EXPECT_EQ(SlotTimerElapsed(344, 0), 1);
}

TEST_F(ClockTest, SeedIsTheLowHalfOfAFreshReading) {
    host.counter = 0x123456789ABLL;
    EXPECT_EQ(ReadCounterLow(), 0x456789ABu);
    EXPECT_EQ(counterValue, 0x123456789ABLL);
}

}  // namespace
