#include "platform/TimerClock.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(TimerClockTest, VirtualTimersRunInDueOrderIncludingOnesStartedOnTheWayButNeverRealOnes) {
    int realRuns = 0;
    const auto real = TimerClock::start(10, [&] { ++realRuns; });
    TimerClock::useVirtualTime(true);
    const uint64_t start = TimerClock::now();
    std::vector<std::pair<int, uint64_t>> runs;
    TimerClock::TimerId inner = 0;
    const auto outer = TimerClock::start(10, [&] {
        runs.emplace_back(1, TimerClock::now() - start);
        if (inner == 0)
            inner = TimerClock::start(5, [&] { runs.emplace_back(2, TimerClock::now() - start); });
    });
    TimerClock::advance(22);
    TimerClock::advanceTo(start); // never backwards
    EXPECT_EQ(TimerClock::now() - start, 22u);
    EXPECT_TRUE(TimerClock::stop(outer));
    EXPECT_FALSE(TimerClock::stop(outer));
    EXPECT_TRUE(TimerClock::stop(inner) && TimerClock::stop(real));
    TimerClock::useVirtualTime(false);

    // At 20 both are due: the older timer runs first.
    EXPECT_EQ(runs, (std::vector<std::pair<int, uint64_t>>{{1, 10}, {2, 15}, {1, 20}, {2, 20}}));
    EXPECT_EQ(realRuns, 0);
    EXPECT_GT(inner, outer); // ids are never reused
}

} // namespace
} // namespace platform
