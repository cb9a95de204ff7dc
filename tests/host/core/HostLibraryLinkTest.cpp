#include "../HostHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace orv::host::test {
namespace {

using nlohmann::json;

class HostLink : public ::testing::Test {
protected:
    HostHarness harness;
};

TEST_F(HostLink, UnpluggingTheDongleReportsTheRemovalThenCommunicationLost) {
    harness.load(basicWorld());
    harness.startHost();
    std::vector<std::string> trace;
    orv::sim::setDeviceChangeListener([&](uint32_t type) {
        trace.push_back("device change " + std::to_string(type));
        EXPECT_TRUE(HostHarness::posted.empty()) << "the host error must follow the notification";
    });
    orv::sim::unplugDongle();
    EXPECT_TRUE(trace.empty()) << "nothing is delivered inside the call";
    EXPECT_TRUE(orv::sim::presentUsbDevices().empty());
    orv::sim::advance(0);
    ASSERT_EQ(trace, std::vector<std::string>{"device change 32772"});
    const auto events = harness.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, static_cast<uint32_t>(BLE_EVT_HOST_ERROR));
    EXPECT_EQ(events[0].lParam, 2);
    EXPECT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_E_NOT_STARTED);
}

TEST_F(HostLink, UnpluggedDongleCannotBeInitialisedAgain) {
    harness.load(basicWorld());
    harness.startHost();
    orv::sim::unplugDongle();
    orv::sim::advance(0);
    OrvBleHostDeinit();
    const OrvBleHostInitParams params{};
    EXPECT_EQ(OrvBleHostInit(0, 0, &params), 0u);
}

TEST_F(HostLink, UnpluggingBeforeStartWndPostsNothing) {
    harness.load(basicWorld());
    const OrvBleHostInitParams params{};
    ASSERT_NE(OrvBleHostInit(0, 0, &params), 0u);
    orv::sim::unplugDongle();
    orv::sim::advance(1000);
    EXPECT_TRUE(harness.takeEvents().empty());
    EXPECT_EQ(OrvBleHostStartWnd(HostHarness::window()), 0);
}

TEST_F(HostLink, ScriptedUnplugOfAnotherDeviceLeavesTheHostRunning) {
    json world = basicWorld();
    world["usbDevices"] = {{{"hardwareIds", {"USB\\VID_1234&PID_5678"}}, {"interfacePath", "mouse"}}};
    world["events"] = {{{"at", 2000}, {"action", "unplugUsb"}, {"interfacePath", "mouse"}}};
    harness.load(world);
    harness.startHost();
    ASSERT_EQ(orv::sim::presentUsbDevices().size(), 2u);
    std::vector<uint32_t> changes;
    orv::sim::setDeviceChangeListener([&](uint32_t type) { changes.push_back(type); });
    orv::sim::advanceTo(2000);
    EXPECT_EQ(changes, std::vector<uint32_t>{orv::sim::kDeviceRemoveComplete});
    ASSERT_EQ(orv::sim::presentUsbDevices().size(), 1u);
    EXPECT_EQ(orv::sim::presentUsbDevices()[0].service, "orvbc");
    EXPECT_TRUE(harness.takeEvents().empty());
    EXPECT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_OK);
}

TEST_F(HostLink, ScriptedEventsHappenAtTheirTimesInOrder) {
    json world = basicWorld();
    world["events"] = {{{"at", 5000}, {"action", "unplugDongle"}},
                       {{"at", 3000}, {"action", "resume"}},
                       {{"at", 1500}, {"action", "suspend"}},
                       {{"at", 4000}, {"action", "hostError"}, {"code", 0}}};
    harness.load(world);
    harness.startHost();
    std::vector<std::pair<uint64_t, std::string>> trace;
    orv::sim::setPowerListener(
        [&](uint32_t e) { trace.emplace_back(orv::sim::now(), "power " + std::to_string(e)); });
    orv::sim::setDeviceChangeListener(
        [&](uint32_t e) { trace.emplace_back(orv::sim::now(), "device " + std::to_string(e)); });
    orv::sim::advanceTo(10000);
    const std::vector<std::pair<uint64_t, std::string>> expected{
        {1500, "power 4"}, {3000, "power 7"}, {5000, "device 32772"}};
    EXPECT_EQ(trace, expected);
    const auto events = harness.takeEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].at, 4000u);
    EXPECT_EQ(events[0].code, static_cast<uint32_t>(BLE_EVT_HOST_ERROR));
    EXPECT_EQ(events[0].lParam, 0);
    EXPECT_EQ(events[1].at, 5000u);
    EXPECT_EQ(events[1].lParam, 2);
}

TEST_F(HostLink, SuspendAndResumeOnlyReachThePowerListener) {
    harness.load(basicWorld());
    harness.startHost();
    std::vector<uint32_t> power;
    orv::sim::setPowerListener([&](uint32_t e) { power.push_back(e); });
    orv::sim::suspendSystem();
    orv::sim::resumeSystem();
    EXPECT_TRUE(power.empty());
    orv::sim::advance(0);
    EXPECT_EQ(power, (std::vector<uint32_t>{orv::sim::kPowerSuspend, orv::sim::kPowerResumeSuspend}));
    EXPECT_TRUE(harness.takeEvents().empty());
    EXPECT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_OK);
}

TEST_F(HostLink, InjectedHostErrorTakesTheHostDown) {
    harness.load(basicWorld());
    harness.startHost();
    orv::sim::injectHostError(5);
    EXPECT_TRUE(HostHarness::posted.empty());
    orv::sim::advance(0);
    const auto events = harness.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, static_cast<uint32_t>(BLE_EVT_HOST_ERROR));
    EXPECT_EQ(events[0].lParam, 5);
    EXPECT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_E_NOT_STARTED);
}

TEST_F(HostLink, InjectedHostErrorEndsTheSearchAndTheLinksQuietly) {
    json world = gattWorld();
    world["peers"].push_back({{"address", "00:00:00:00:00:02"}, {"advIntervalMs", 50}});
    harness.load(world);
    harness.startHost();
    harness.connect("AA:BB:CC:DD:EE:01");
    ASSERT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_OK);
    orv::sim::advance(200);
    harness.freeAll(harness.takeEvents());
    orv::sim::injectHostError(3);
    orv::sim::advance(10000);
    const auto events = harness.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, static_cast<uint32_t>(BLE_EVT_HOST_ERROR));
    EXPECT_FALSE(orv::sim::disconnectPeer("AA:BB:CC:DD:EE:01", 0x13)) << "the radio dropped the link too";
    EXPECT_FALSE(orv::sim::nextDueTime()) << "nothing left running in the radio";
}

TEST_F(HostLink, InjectedErrorWithoutHostIsDropped) {
    harness.load(basicWorld());
    orv::sim::injectHostError(5);
    orv::sim::advance(0);
    EXPECT_TRUE(harness.takeEvents().empty());
}

TEST_F(HostLink, DongleInterfaceOpensUnlessBusy) {
    json world = basicWorld();
    world["dongle"]["busy"] = true;
    harness.load(world);
    const auto devices = orv::sim::presentUsbDevices();
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(orv::sim::openUsbInterface(devices[0].interfacePath), 170u);
    EXPECT_EQ(orv::sim::openUsbInterface("no such path"), 2u);
    harness.load(basicWorld());
    EXPECT_EQ(orv::sim::openUsbInterface(devices[0].interfacePath), 0u);
}

TEST_F(HostLink, DongleIsFoundByHardwareIdAndDriverService) {
    json world = basicWorld();
    world["dongle"]["driver"] = false;
    harness.load(world);
    auto devices = orv::sim::presentUsbDevices();
    ASSERT_EQ(devices.size(), 1u);
    std::string id = devices[0].hardwareIds.at(0);
    std::transform(id.begin(), id.end(), id.begin(), [](unsigned char c) { return std::tolower(c); });
    EXPECT_NE(id.find("vid_2f1e&pid_0001"), std::string::npos);
    EXPECT_EQ(devices[0].service, "");
    harness.load(basicWorld());
    EXPECT_NE(orv::sim::presentUsbDevices().at(0).service.find("orvbc"), std::string::npos);
}

} // namespace
} // namespace orv::host::test
