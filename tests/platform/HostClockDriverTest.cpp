#include "platform/HostClockDriver.h"

#include "veyrasim.h"

#include <QCoreApplication>
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

// A request after a quiet spell (a record report, say) must run at its own pace, not catch up at once
// on the seconds that passed while nothing was due.
TEST(HostClockDriverTest, TheSimulatorFollowsTheWallClockWheneverTheEventLoopWakes) {
    std::string error;
    ASSERT_TRUE(orv::sim::loadWorldJson(R"({"seed": 1, "peers": []})", &error)) << error;
    int changes = 0;
    orv::sim::setDeviceChangeListener([&changes](uint32_t) { ++changes; });
    qint64 wall = 500;
    HostClockDriver driver(nullptr, [&wall] { return wall; });
    wall += 10000;
    QCoreApplication::processEvents();
    EXPECT_EQ(orv::sim::now(), 10000u);
    orv::sim::unplugDongle(); // due at once
    QCoreApplication::processEvents();
    EXPECT_EQ(changes, 1);
    orv::sim::setDeviceChangeListener(nullptr);
}

} // namespace
} // namespace platform
