#include "platform/TimerClock.h"

#include <gtest/gtest.h>
#include <vector>

namespace platform {
namespace {

TEST(TimerClock, RealTimersAreNotRunByTheVirtualClock) {
    TimerClock::useVirtualTime(false);
    int runs = 0;
    const auto id = TimerClock::start(10, [&] { ++runs; });
    TimerClock::useVirtualTime(true);
    EXPECT_EQ(TimerClock::nextDueTime(), std::nullopt);
    TimerClock::advance(1000);
    EXPECT_EQ(runs, 0);
    EXPECT_TRUE(TimerClock::isActive(id));
    EXPECT_TRUE(TimerClock::stop(id));
    EXPECT_FALSE(TimerClock::isActive(id));
    TimerClock::useVirtualTime(false);
}

class VirtualTimerClockTest : public testing::Test {
protected:
    void SetUp() override { TimerClock::useVirtualTime(true); }
    void TearDown() override { TimerClock::useVirtualTime(false); }
};

TEST_F(VirtualTimerClockTest, CallbacksSeeTheirOwnDueTimeAsNow) {
    const uint64_t start = TimerClock::now();
    std::vector<uint64_t> seen;
    const auto id = TimerClock::start(40, [&] { seen.push_back(TimerClock::now() - start); });
    TimerClock::advance(130);
    TimerClock::stop(id);
    EXPECT_EQ(seen, (std::vector<uint64_t>{40, 80, 120}));
    EXPECT_EQ(TimerClock::now() - start, 130u);
}

TEST_F(VirtualTimerClockTest, TimerStartedByACallbackRunsInTheSameAdvanceWhenDue) {
    std::vector<int> order;
    TimerClock::TimerId inner = 0;
    const auto outer = TimerClock::start(10, [&] {
        order.push_back(1);
        if (inner == 0)
            inner = TimerClock::start(5, [&] { order.push_back(2); });
    });
    TimerClock::advance(20);
    TimerClock::stop(outer);
    TimerClock::stop(inner);
    // Outer at 10 and 20, inner at 15 and 20; at 20 the older timer runs first.
    EXPECT_EQ(order, (std::vector<int>{1, 2, 1, 2}));
}

TEST_F(VirtualTimerClockTest, StoppingAnUnknownTimerFails) {
    EXPECT_FALSE(TimerClock::stop(0));
    const auto id = TimerClock::start(10, [] {});
    EXPECT_TRUE(TimerClock::stop(id));
    EXPECT_FALSE(TimerClock::stop(id));
}

TEST_F(VirtualTimerClockTest, IdsAreNeverReused) {
    const auto a = TimerClock::start(10, [] {});
    TimerClock::stop(a);
    const auto b = TimerClock::start(10, [] {});
    TimerClock::stop(b);
    EXPECT_NE(a, b);
}

} // namespace
} // namespace platform
