#include "../HostHarness.h"

#include <gtest/gtest.h>

namespace orv::host::test {
namespace {

using nlohmann::json;

const std::string kPeer = "AA:BB:CC:DD:EE:01";

using HostLink = HostTest;

class DongleLost : public HostLink, public ::testing::WithParamInterface<bool> {};

// With a link and a search running, the dongle's unplug (error 2, after the removal notice) or its
// own error ends everything with the one host error event.
TEST_P(DongleLost, EndsTheSearchAndTheLinksWithOnlyTheHostError) {
    const bool unplug = GetParam();
    json world = gattWorld();
    world["peers"].push_back({{"address", "00:00:00:00:00:02"}, {"advIntervalMs", 50}});
    harness.startConnected(world, kPeer);
    ASSERT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_OK);
    orv::sim::advance(200);
    harness.freeQueued();
    std::vector<uint32_t> changes;
    orv::sim::setDeviceChangeListener([&](uint32_t type) {
        changes.push_back(type);
        EXPECT_TRUE(HostHarness::posted.empty()) << "the host error follows the notification";
    });
    unplug ? orv::sim::unplugDongle() : orv::sim::injectHostError(5);
    EXPECT_TRUE(changes.empty() && HostHarness::posted.empty()) << "nothing is delivered inside the call";
    EXPECT_EQ(orv::sim::presentUsbDevices().empty(), unplug);
    orv::sim::advance(60000);
    EXPECT_EQ(changes,
              unplug ? std::vector<uint32_t>{orv::sim::kDeviceRemoveComplete} : std::vector<uint32_t>{});
    ASSERT_EQ(harness.codes(), std::vector<uint32_t>{BLE_EVT_HOST_ERROR});
    EXPECT_EQ(HostHarness::posted[0].lParam, unplug ? 2 : 5);
    EXPECT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_E_NOT_STARTED);
    EXPECT_FALSE(orv::sim::disconnectPeer(kPeer, 0x13)) << "the radio dropped the link too";
    EXPECT_FALSE(orv::sim::nextDueTime()) << "nothing left running in the radio";
    if (unplug) {
        OrvBleHostDeinit();
        const OrvBleHostInitParams params{};
        EXPECT_EQ(OrvBleHostInit(0, 0, &params), 0u) << "an unplugged dongle cannot be opened";
    }
}

INSTANTIATE_TEST_SUITE_P(Ways, DongleLost, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Unplugged" : "HostError"; });

TEST_F(HostLink, TroubleBeforeTheHostRunsPostsNothing) {
    harness.load(basicWorld());
    orv::sim::injectHostError(5);
    orv::sim::advance(0);
    const OrvBleHostInitParams params{};
    ASSERT_NE(OrvBleHostInit(0, 0, &params), 0u);
    orv::sim::unplugDongle();
    orv::sim::advance(1000);
    EXPECT_TRUE(HostHarness::posted.empty());
    EXPECT_EQ(OrvBleHostStartWnd(HostHarness::window()), 0);
}

TEST_F(HostLink, ScriptedEventsHappenAtTheirTimesInOrder) {
    json world = basicWorld();
    world["usbDevices"] = {{{"hardwareIds", {"USB\\VID_1234&PID_5678"}}, {"interfacePath", "mouse"}}};
    world["events"] = {{{"at", 5000}, {"action", "unplugDongle"}},
                       {{"at", 3000}, {"action", "resume"}},
                       {{"at", 1500}, {"action", "suspend"}},
                       {{"at", 2000}, {"action", "unplugUsb"}, {"interfacePath", "mouse"}},
                       {{"at", 4000}, {"action", "hostError"}, {"code", 0}}};
    harness.start(world);
    ASSERT_EQ(orv::sim::presentUsbDevices().size(), 2u);
    std::vector<std::pair<uint64_t, std::string>> trace;
    orv::sim::setPowerListener(
        [&](uint32_t e) { trace.emplace_back(orv::sim::now(), "power " + std::to_string(e)); });
    orv::sim::setDeviceChangeListener(
        [&](uint32_t e) { trace.emplace_back(orv::sim::now(), "device " + std::to_string(e)); });
    orv::sim::advanceTo(2000);
    ASSERT_EQ(orv::sim::presentUsbDevices().size(), 1u);
    EXPECT_EQ(orv::sim::presentUsbDevices()[0].service, "orvbc") << "the dongle stays";
    EXPECT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_OK) << "the host is not affected";
    EXPECT_EQ(OrvBleHostStopDeviceSearch(), ORV_BLE_OK);
    orv::sim::advanceTo(10000);
    orv::sim::suspendSystem();
    EXPECT_EQ(trace.size(), 4u) << "nothing is delivered inside the call";
    orv::sim::advance(0);
    const std::vector<std::pair<uint64_t, std::string>> expected{{1500, "power 4"},
                                                                 {2000, "device 32772"},
                                                                 {3000, "power 7"},
                                                                 {5000, "device 32772"},
                                                                 {10000, "power 4"}};
    EXPECT_EQ(trace, expected);
    const auto errors = harness.eventsWithCode(BLE_EVT_HOST_ERROR);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].at, 4000u);
    EXPECT_EQ(errors[0].lParam, 0) << "error 0 leaves the host running";
    EXPECT_EQ(errors[1].at, 5000u);
    EXPECT_EQ(errors[1].lParam, 2);
}

} // namespace
} // namespace orv::host::test
