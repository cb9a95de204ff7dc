#include "platform/HostClockDriver.h"

#include "veyrasim.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace platform {
namespace {

class HostClockDriverTest : public testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(orv::sim::loadWorldJson(
            R"({"seed": 1, "peers": [], "dongle": {"present": true, "driver": true, "busy": false}})",
            &error))
            << error;
        orv::sim::setDeviceChangeListener([this](uint32_t event) {
            m_events.push_back(event);
            if (m_loop != nullptr)
                m_loop->quit();
        });
    }
    void TearDown() override { orv::sim::setDeviceChangeListener(nullptr); }

    // Runs the event loop until the simulator has reported a device change; the deadline only guards
    // against a hang.
    void runUntilDeviceChange() {
        QEventLoop loop;
        m_loop = &loop;
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        if (m_events.empty())
            loop.exec();
        m_loop = nullptr;
    }

    std::vector<uint32_t> m_events;
    QEventLoop* m_loop = nullptr;
};

TEST_F(HostClockDriverTest, RunsActionsTheSimulatorSchedulesFromTheEventLoop) {
    HostClockDriver driver;
    orv::sim::unplugDongle();
    EXPECT_TRUE(m_events.empty());
    runUntilDeviceChange();
    EXPECT_EQ(m_events, std::vector<uint32_t>{orv::sim::kDeviceRemoveComplete});
}

TEST_F(HostClockDriverTest, DestroyedDriverIsNoLongerWokenUp) {
    auto driver = std::make_unique<HostClockDriver>();
    driver.reset();
    orv::sim::unplugDongle();
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_events.empty());
    orv::sim::advance(0);
    EXPECT_EQ(m_events.size(), 1u);
}

} // namespace
} // namespace platform
