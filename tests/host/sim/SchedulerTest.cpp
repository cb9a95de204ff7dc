#include "host/sim/Scheduler.h"

#include <gtest/gtest.h>

#include <string>

namespace orv::sim {
namespace {

TEST(Scheduler, RunsActionsInTimeOrderWithTiesInSchedulingOrder) {
    Scheduler scheduler;
    std::string trace;
    scheduler.scheduleAt(20, [&] { trace += "c"; });
    scheduler.scheduleAt(10, [&] { trace += "a"; });
    scheduler.scheduleAt(10, [&] { trace += "b"; });
    scheduler.advanceTo(20);
    EXPECT_EQ(trace, "abc");
}

TEST(Scheduler, LeavesLaterActionsPendingAndMovesTheClockToTheTarget) {
    Scheduler scheduler;
    int runs = 0;
    scheduler.scheduleAt(50, [&] { ++runs; });
    scheduler.advanceTo(49);
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(scheduler.now(), 49u);
    EXPECT_EQ(scheduler.nextDueTime(), 50u);
}

TEST(Scheduler, ActionSeesItsOwnTimeAndItsFollowUpsRunInTheSameAdvance) {
    Scheduler scheduler;
    std::vector<uint64_t> times;
    scheduler.scheduleAt(5, [&] {
        times.push_back(scheduler.now());
        scheduler.scheduleIn(3, [&] { times.push_back(scheduler.now()); });
    });
    scheduler.advanceTo(100);
    EXPECT_EQ(times, (std::vector<uint64_t>{5, 8}));
    EXPECT_EQ(scheduler.now(), 100u);
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
