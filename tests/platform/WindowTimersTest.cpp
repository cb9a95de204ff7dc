#include "platform/WindowTimers.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace platform {
namespace {

class WindowTimersTest : public testing::Test {
protected:
    void SetUp() override {
        TimerClock::useVirtualTime(true);
        m_start = TimerClock::now();
    }
    void TearDown() override { TimerClock::useVirtualTime(false); }

    // Advances to m_start + ms.
    void runUntil(uint64_t ms) { TimerClock::advanceTo(m_start + ms); }
    uint64_t elapsed() const { return TimerClock::now() - m_start; }

    uint64_t m_start = 0;
    std::vector<UINT> fired;
    std::vector<uint64_t> firedAt;
    WindowTimers timers{[this](UINT id) {
        fired.push_back(id);
        firedAt.push_back(elapsed());
    }};
};

TEST_F(WindowTimersTest, TimerRunsPeriodicallyUntilKilled) {
    EXPECT_EQ(timers.setTimer(1, 100), 1u);
    runUntil(350);
    EXPECT_EQ(firedAt, (std::vector<uint64_t>{100, 200, 300}));
    EXPECT_TRUE(timers.killTimer(1));
    runUntil(1000);
    EXPECT_EQ(fired.size(), 3u);
    EXPECT_FALSE(timers.isRunning(1));
}

TEST_F(WindowTimersTest, NothingFiresBeforeTheClockIsAdvanced) {
    timers.setTimer(1, 10);
    EXPECT_TRUE(fired.empty());
    EXPECT_EQ(TimerClock::nextDueTime(), m_start + 10);
}

TEST_F(WindowTimersTest, SettingAnIdAgainReplacesTheTimer) {
    timers.setTimer(7, 100);
    runUntil(50);
    timers.setTimer(7, 300);
    runUntil(400);
    EXPECT_EQ(fired, (std::vector<UINT>{7}));
    EXPECT_EQ(firedAt, (std::vector<uint64_t>{350}));
}

TEST_F(WindowTimersTest, ShortPeriodsRunAtTheMinimumPeriod) {
    struct Case {
        UINT period;
        size_t runsIn100Ms;
    };
    for (const Case c : {Case{0, 10}, Case{1, 10}, Case{9, 10}, Case{10, 10}, Case{25, 4}}) {
        SCOPED_TRACE(c.period);
        fired.clear();
        const uint64_t base = elapsed();
        timers.setTimer(1, c.period);
        runUntil(base + 100);
        EXPECT_EQ(fired.size(), c.runsIn100Ms);
        timers.killTimer(1);
    }
}

TEST_F(WindowTimersTest, TimersDueTogetherFireInCreationOrder) {
    timers.setTimer(3, 50);
    timers.setTimer(1, 50);
    timers.setTimer(2, 25);
    runUntil(50);
    EXPECT_EQ(fired, (std::vector<UINT>{2, 3, 1, 2}));
}

TEST_F(WindowTimersTest, KillingAnUnknownTimerReturnsFalse) {
    EXPECT_FALSE(timers.killTimer(42));
    timers.setTimer(42, 10);
    EXPECT_TRUE(timers.isRunning(42));
    EXPECT_TRUE(timers.killTimer(42));
    EXPECT_FALSE(timers.killTimer(42));
}

TEST_F(WindowTimersTest, DestroyingTheObjectStopsItsTimers) {
    int runs = 0;
    auto own = std::make_unique<WindowTimers>([&](UINT) { ++runs; });
    own->setTimer(1, 10);
    own->setTimer(2, 20);
    own.reset();
    EXPECT_EQ(TimerClock::nextDueTime(), std::nullopt);
    runUntil(100);
    EXPECT_EQ(runs, 0);
}

TEST_F(WindowTimersTest, HandlerMayKillItsOwnTimer) {
    WindowTimers* self = nullptr;
    int runs = 0;
    WindowTimers own([&](UINT id) {
        ++runs;
        self->killTimer(id);
    });
    self = &own;
    own.setTimer(3, 10);
    runUntil(100);
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(own.isRunning(3));
}

TEST_F(WindowTimersTest, HandlerMayDestroyTheTimersObject) {
    int runs = 0;
    std::unique_ptr<WindowTimers> own;
    own = std::make_unique<WindowTimers>([&](UINT) {
        ++runs;
        own.reset();
    });
    own->setTimer(1, 10);
    own->setTimer(2, 10);
    runUntil(100);
    EXPECT_EQ(runs, 1);
}

TEST_F(WindowTimersTest, HandlerMayRestartItsTimerWithAnotherPeriod) {
    WindowTimers* self = nullptr;
    std::vector<uint64_t> times;
    WindowTimers own([&](UINT id) {
        times.push_back(elapsed());
        self->setTimer(id, 100);
    });
    self = &own;
    own.setTimer(1, 10);
    runUntil(250);
    EXPECT_EQ(times, (std::vector<uint64_t>{10, 110, 210}));
}

TEST_F(WindowTimersTest, TimersOfTwoWindowsAreIndependent) {
    std::vector<UINT> other;
    WindowTimers second([&](UINT id) { other.push_back(id); });
    timers.setTimer(1, 30);
    second.setTimer(1, 20);
    timers.killTimer(1);
    runUntil(40);
    EXPECT_TRUE(fired.empty());
    EXPECT_EQ(other, (std::vector<UINT>{1, 1}));
}

TEST_F(WindowTimersTest, VirtualClockNeverGoesBackwards) {
    runUntil(100);
    TimerClock::advanceTo(m_start);
    EXPECT_EQ(elapsed(), 100u);
    TimerClock::advance(5);
    EXPECT_EQ(elapsed(), 105u);
}

TEST_F(WindowTimersTest, NextDueTimeIsTheEarliestTimer) {
    EXPECT_EQ(TimerClock::nextDueTime(), std::nullopt);
    timers.setTimer(1, 500);
    timers.setTimer(2, 200);
    EXPECT_EQ(TimerClock::nextDueTime(), m_start + 200);
    runUntil(200);
    EXPECT_EQ(TimerClock::nextDueTime(), m_start + 400);
}

} // namespace
} // namespace platform
