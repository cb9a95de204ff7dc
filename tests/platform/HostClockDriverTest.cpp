#include "platform/HostClockDriver.h"

#include "veyrasim.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

namespace platform {
namespace {

// The dongle's unplugging is due at once on the simulator's clock; only the event loop can run it.
TEST(HostClockDriverTest, RunsWhatTheSimulatorSchedulesFromTheEventLoopWhileItLives) {
    const std::string world = R"({"seed": 1, "peers": [], "dongle": {"present": true}})";
    ASSERT_TRUE(orv::sim::loadWorldJson(world, nullptr));
    int changes = 0;
    orv::sim::setDeviceChangeListener([&](uint32_t) { ++changes; });
    auto driver = std::make_unique<HostClockDriver>();

    orv::sim::unplugDongle();
    EXPECT_EQ(changes, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(changes, 1);

    driver.reset();
    orv::sim::loadWorldJson(world, nullptr);
    orv::sim::unplugDongle();
    QCoreApplication::processEvents();
    EXPECT_EQ(changes, 1);
    orv::sim::advance(0);
    EXPECT_EQ(changes, 2);
    orv::sim::setDeviceChangeListener(nullptr);
}

// What the application asks of the host library is scheduled from the simulator's present, so its clock
// must not stand still while nothing is due. The loop ends as soon as the clock has moved.
TEST(HostClockDriverTest, ClockKeepsUpWithTheWallClockWhileNothingIsDue) {
    ASSERT_TRUE(orv::sim::loadWorldJson(R"({"seed": 1, "peers": []})", nullptr));
    HostClockDriver driver;
    ASSERT_FALSE(orv::sim::nextDueTime());
    QEventLoop loop;
    QTimer poll;
    poll.callOnTimeout([&] {
        if (orv::sim::now() > 0)
            loop.quit();
    });
    poll.start(1);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit); // only against a hang
    loop.exec();
    EXPECT_GT(orv::sim::now(), 0u);
}

} // namespace
} // namespace platform
