#include "platform/HostClockDriver.h"

#include "veyrasim.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

namespace platform {
namespace {

// The simulator's due actions run from the event loop while a driver lives, on the wall clock's time
// whenever the loop wakes: a request after a quiet spell (a record report, say) must run at its own pace,
// not catch up at once on the seconds that passed while nothing was due.
TEST(HostClockDriverTest, RunsWhatTheSimulatorSchedulesFromTheEventLoopOnTheWallClockWhileItLives) {
    const std::string world = R"({"seed": 1, "peers": [], "dongle": {"present": true}})";
    ASSERT_TRUE(orv::sim::loadWorldJson(world, nullptr));
    int changes = 0;
    orv::sim::setDeviceChangeListener([&changes](uint32_t) { ++changes; });
    qint64 wall = 500;
    auto driver = std::make_unique<HostClockDriver>(nullptr, [&wall] { return wall; });
    wall += 10000;
    QCoreApplication::processEvents();
    EXPECT_EQ(orv::sim::now(), 10000u);
    orv::sim::unplugDongle(); // due at once
    EXPECT_EQ(changes, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(changes, 1);

    driver.reset();
    orv::sim::loadWorldJson(world, nullptr);
    orv::sim::unplugDongle();
    QCoreApplication::processEvents();
    EXPECT_EQ(changes, 1);
    const HostClockDriver real; // on the real clock, from the action still due
    QCoreApplication::processEvents();
    EXPECT_EQ(changes, 2);
    orv::sim::setDeviceChangeListener(nullptr);
}

// A click or a timer finds the simulator at the present, so what it asks for is scheduled from now: the
// event loop may report waking only after it has delivered what woke it.
TEST(HostClockDriverTest, AnEventFindsTheSimulatorAtThePresentWhenItIsDelivered) {
    ASSERT_TRUE(orv::sim::loadWorldJson(R"({"seed": 1, "peers": []})", nullptr));
    qint64 wall = 500;
    const HostClockDriver driver(nullptr, [&wall] { return wall; });
    QCoreApplication::processEvents();
    wall += 10000;
    std::optional<uint64_t> seen;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&seen] { seen = orv::sim::now(); });
    timer.start(0);
    while (!seen)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ(*seen, 10000u);
}

} // namespace
} // namespace platform
