#include "platform/WindowTimers.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

class WindowTimersTest : public testing::Test {
protected:
    void SetUp() override {
        TimerClock::useVirtualTime(true);
        m_start = TimerClock::now();
    }
    void TearDown() override { TimerClock::useVirtualTime(false); }

    void runUntil(uint64_t ms) { TimerClock::advanceTo(m_start + ms); }
    uint64_t elapsed() const { return TimerClock::now() - m_start; }

    uint64_t m_start = 0;
    std::string fired; // "id@time " per run
    WindowTimers timers{
        [this](UINT id) { fired += std::to_string(id) + "@" + std::to_string(elapsed()) + " "; }};
};

TEST_F(WindowTimersTest, TimersRunPeriodicallyInDueThenCreationOrderUntilKilledOrReplaced) {
    WindowTimers other([](UINT) {}); // another window's timer 1 is its own
    other.setTimer(1, 20);
    EXPECT_EQ(timers.setTimer(3, 100), 3u);
    timers.setTimer(1, 100);
    timers.setTimer(2, 50);
    timers.setTimer(7, 100);
    EXPECT_TRUE(other.killTimer(1));
    EXPECT_TRUE(fired.empty()); // nothing before the clock moves
    runUntil(60);
    timers.setTimer(7, 300); // replaces the running timer 7
    runUntil(250);
    EXPECT_TRUE(timers.killTimer(1) && !timers.killTimer(1) && timers.killTimer(2));
    runUntil(400);
    EXPECT_EQ(fired, "2@50 3@100 1@100 2@100 2@150 3@200 1@200 2@200 2@250 3@300 7@360 3@400 ");
}

TEST_F(WindowTimersTest, ShortPeriodsRunAtTheMinimumPeriod) {
    for (const auto& [period, runs] :
         std::vector<std::pair<UINT, size_t>>{{0, 10}, {9, 10}, {10, 10}, {25, 4}}) {
        fired.clear();
        timers.setTimer(1, period);
        runUntil(elapsed() + 100);
        EXPECT_EQ(std::count(fired.begin(), fired.end(), '@'), static_cast<long>(runs)) << period;
        timers.killTimer(1);
    }
}

TEST_F(WindowTimersTest, HandlerMayKillRestartOrDestroyItsTimers) {
    std::unique_ptr<WindowTimers> own;
    std::vector<uint64_t> times;
    own = std::make_unique<WindowTimers>([&](UINT id) {
        times.push_back(elapsed());
        if (id == 1)
            own->setTimer(1, 100);
        if (id == 2)
            own->killTimer(2);
        if (id == 3)
            own.reset();
    });
    for (const auto& [id, period] : std::vector<std::pair<UINT, UINT>>{{1, 10}, {2, 20}, {3, 235}, {4, 235}})
        own->setTimer(id, period);
    runUntil(1000);
    EXPECT_EQ(times, (std::vector<uint64_t>{10, 20, 110, 210, 235}));
    EXPECT_EQ(TimerClock::nextDueTime(), std::nullopt); // a destroyed object leaves no timer behind
}

} // namespace
} // namespace platform
