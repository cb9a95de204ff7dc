#include "host/sim/Scheduler.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace orv::sim {
namespace {

// Each action notes its letter and the time it ran at; b schedules d 3 ms after itself.
TEST(Scheduler, RunsActionsInTimeOrderAtTheirTimesUntilTheTarget) {
    Scheduler scheduler;
    std::vector<std::pair<uint64_t, char>> trace;
    const auto note = [&](char letter) {
        return [&, letter] { trace.emplace_back(scheduler.now(), letter); };
    };
    scheduler.scheduleAt(20, note('c'));
    scheduler.scheduleAt(10, note('a'));
    scheduler.scheduleAt(10, [&] {
        note('b')();
        scheduler.scheduleIn(3, note('d'));
    });
    scheduler.scheduleAt(50, note('e'));
    scheduler.advanceTo(49);
    EXPECT_EQ(trace, (std::vector<std::pair<uint64_t, char>>{{10, 'a'}, {10, 'b'}, {13, 'd'}, {20, 'c'}}))
        << "ties in scheduling order; a follow-up runs in the same advance";
    EXPECT_EQ(scheduler.now(), 49u);
    EXPECT_EQ(scheduler.nextDueTime(), 50u);
}

TEST(Scheduler, NeverSchedulesIntoThePast) {
    Scheduler scheduler;
    scheduler.advanceTo(30);
    scheduler.scheduleIn(UINT64_MAX, [] {});
    EXPECT_EQ(scheduler.nextDueTime(), UINT64_MAX) << "a delay past the clock's end does not wrap round";
    scheduler.scheduleAt(10, [] {});
    EXPECT_EQ(scheduler.nextDueTime(), 30u);
}

TEST(Scheduler, CancelDropsOnlyTheOwnersActions) {
    Scheduler scheduler;
    int mine = 0;
    int other = 0;
    const int owner = 0;
    scheduler.scheduleAt(
        1, [&] { ++mine; }, &owner);
    scheduler.scheduleAt(2, [&] { ++other; });
    scheduler.cancel(&owner);
    scheduler.advanceTo(10);
    EXPECT_EQ(mine, 0);
    EXPECT_EQ(other, 1);
}

TEST(Scheduler, WakesTheDriverOnlyForANewEarliestAction) {
    Scheduler scheduler;
    int wakeups = 0;
    scheduler.setWakeupListener([&] { ++wakeups; });
    scheduler.scheduleAt(100, [] {});
    scheduler.scheduleAt(200, [] {});
    scheduler.scheduleAt(50, [] {});
    EXPECT_EQ(wakeups, 2);
}

TEST(Scheduler, NestedAdvanceIsIgnored) {
    Scheduler scheduler;
    int late = 0;
    scheduler.scheduleAt(1, [&] { scheduler.advanceTo(1000); });
    scheduler.scheduleAt(500, [&] { ++late; });
    scheduler.advanceTo(10);
    EXPECT_EQ(late, 0);
    EXPECT_EQ(scheduler.now(), 10u);
}

} // namespace
} // namespace orv::sim
