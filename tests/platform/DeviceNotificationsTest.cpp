#include "platform/DeviceNotifications.h"

#include "platform/WindowMessages.h"
#include "veyrasim.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace platform {
namespace {

using Message = std::pair<UINT, WPARAM>;

struct RecordingWindow {
    QObject target;
    std::vector<Message> received;
    std::unique_ptr<MessageWindow> window =
        std::make_unique<MessageWindow>(&target, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
            EXPECT_EQ(lParam, 0);
            received.emplace_back(msg, wParam);
            return LRESULT(0);
        });

    const HWND registeredHandle = window->handle();

    HWND handle() const { return registeredHandle; }
    void deliver() { QCoreApplication::sendPostedEvents(&target); }
};

class DeviceNotificationsTest : public testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(orv::sim::loadWorldJson(
            R"({"seed": 1, "peers": [], "dongle": {"present": true, "driver": true, "busy": false}})",
            &error))
            << error;
    }
    void TearDown() override {
        for (HDEVNOTIFY notification : m_notifications)
            UnregisterDeviceNotification(notification);
        detachPowerBroadcast(first.handle());
        detachPowerBroadcast(second.handle());
    }

    HDEVNOTIFY registerWindow(const RecordingWindow& w) {
        HDEVNOTIFY notification = RegisterDeviceNotification(w.handle());
        m_notifications.push_back(notification);
        return notification;
    }

    // Lets the simulator deliver what is due and the windows handle what was posted to them.
    void runSimulator() {
        orv::sim::advance(0);
        first.deliver();
        second.deliver();
    }

    RecordingWindow first;
    RecordingWindow second;
    std::vector<HDEVNOTIFY> m_notifications;
};

TEST_F(DeviceNotificationsTest, UnpluggingTheDongleReachesTheRegisteredWindow) {
    ASSERT_NE(registerWindow(first), nullptr);
    orv::sim::unplugDongle();
    runSimulator();
    EXPECT_EQ(first.received, (std::vector<Message>{{WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE}}));
    EXPECT_TRUE(second.received.empty());
}

TEST_F(DeviceNotificationsTest, RegisteringAWindowTwiceGivesTheSameHandleAndOneMessage) {
    HDEVNOTIFY a = registerWindow(first);
    HDEVNOTIFY b = registerWindow(first);
    EXPECT_EQ(a, b);
    orv::sim::unplugDongle();
    runSimulator();
    EXPECT_EQ(first.received.size(), 1u);
}

TEST_F(DeviceNotificationsTest, EveryRegisteredWindowIsNotified) {
    HDEVNOTIFY a = registerWindow(first);
    HDEVNOTIFY b = registerWindow(second);
    EXPECT_NE(a, b);
    orv::sim::unplugDongle();
    runSimulator();
    EXPECT_EQ(first.received.size(), 1u);
    EXPECT_EQ(second.received.size(), 1u);
}

TEST_F(DeviceNotificationsTest, UnregisteredWindowHearsNothingMore) {
    HDEVNOTIFY notification = registerWindow(first);
    EXPECT_TRUE(UnregisterDeviceNotification(notification));
    EXPECT_FALSE(UnregisterDeviceNotification(notification));
    orv::sim::unplugDongle();
    runSimulator();
    EXPECT_TRUE(first.received.empty());
}

TEST_F(DeviceNotificationsTest, NullWindowsAndHandlesAreRefused) {
    EXPECT_EQ(RegisterDeviceNotification(nullptr), nullptr);
    EXPECT_FALSE(UnregisterDeviceNotification(nullptr));
}

TEST_F(DeviceNotificationsTest, WindowDestroyedWhileRegisteredIsSkipped) {
    registerWindow(first);
    registerWindow(second);
    first.window.reset();
    orv::sim::unplugDongle();
    runSimulator();
    EXPECT_TRUE(first.received.empty());
    EXPECT_EQ(second.received.size(), 1u);
}

TEST_F(DeviceNotificationsTest, SuspendAndResumeReachAttachedWindows) {
    attachPowerBroadcast(first.handle());
    attachPowerBroadcast(first.handle());
    orv::sim::suspendSystem();
    runSimulator();
    orv::sim::resumeSystem();
    runSimulator();
    EXPECT_EQ(first.received, (std::vector<Message>{{WM_POWERBROADCAST, PBT_APMSUSPEND},
                                                    {WM_POWERBROADCAST, PBT_APMRESUMESUSPEND}}));
    EXPECT_TRUE(second.received.empty());
}

TEST_F(DeviceNotificationsTest, DetachedWindowGetsNoPowerEvents) {
    attachPowerBroadcast(first.handle());
    attachPowerBroadcast(second.handle());
    detachPowerBroadcast(first.handle());
    orv::sim::suspendSystem();
    runSimulator();
    EXPECT_TRUE(first.received.empty());
    EXPECT_EQ(second.received, (std::vector<Message>{{WM_POWERBROADCAST, PBT_APMSUSPEND}}));
}

TEST_F(DeviceNotificationsTest, PowerAndDeviceRegistrationsAreSeparate) {
    registerWindow(first);
    orv::sim::suspendSystem();
    runSimulator();
    EXPECT_TRUE(first.received.empty());
}

} // namespace
} // namespace platform
