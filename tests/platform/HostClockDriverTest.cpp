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

} // namespace
} // namespace platform
