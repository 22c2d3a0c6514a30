#include "platform/clock/Clock.h"

#include <gtest/gtest.h>

namespace {

TEST(Clock, TheSystemClockNeverGoesBackwards) {
    plat::clock::SystemClock clock;
    EXPECT_EQ(clock.Frequency(), 1000000000ull);
    std::uint64_t last = clock.Counter();
    for (int i = 0; i < 1000; ++i) {
        std::uint64_t now = clock.Counter();
        ASSERT_GE(now, last);
        last = now;
        if (i % 100 == 0)
            clock.Yield();
    }
}

TEST(Clock, TheFakeClockStepsOnEveryReadAndYieldSoABusyWaitEnds) {
    plat::clock::FakeClock clock(1000, 10, 1000);
    EXPECT_EQ(clock.Counter(), 1000u);
    EXPECT_EQ(clock.Counter(), 1010u);
    clock.Yield();
    EXPECT_EQ(clock.Counter(), 1030u);
    EXPECT_EQ(clock.Yields(), 1);

    // A wait of 5 ms at 1000 counts per second, as the frame pacing does it.
    std::uint64_t start = clock.Counter();
    int reads = 0;
    while (clock.Counter() - start < 5) {
        clock.Yield();
        ASSERT_LT(++reads, 100);
    }
    clock.Set(7);
    EXPECT_EQ(clock.Counter(), 7u);
}

} // namespace
