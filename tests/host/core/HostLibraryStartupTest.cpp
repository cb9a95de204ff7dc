#include "../HostHarness.h"

#include <gtest/gtest.h>

namespace orv::host::test {
namespace {

using nlohmann::json;

// Each on a world of its own: the dongle's fields that differ, whether init and start succeed, then the
// code and plain value of the one event after the start-up delay.
TEST(HostStartup, GivesTheWorldsOutcomeAfterItsDelay) {
    const std::tuple<const char*, json, bool, bool, uint32_t, intptr_t> cases[] = {
        {"Up", json::object(), true, true, BLE_EVT_HOST_STARTED, 1},
        {"StartupFails", {{"startup", "failed"}}, true, true, BLE_EVT_HOST_STARTED, 0},
        {"StartupError", {{"startup", "error"}}, true, true, BLE_EVT_HOST_ERROR, 1},
        {"StartupErrorCode", {{"startup", "error"}, {"startupError", 9}}, true, true, BLE_EVT_HOST_ERROR, 9},
        {"Absent", {{"present", false}}, false, false, 0, 0},
        {"NoDriver", {{"driver", false}}, false, false, 0, 0},
        {"Busy", {{"busy", true}}, false, false, 0, 0},
        {"InitFails", {{"initFails", true}}, false, false, 0, 0},
        {"StartWndFails", {{"startWndFails", true}}, true, false, 0, 0}};
    for (const auto& [name, dongle, initSucceeds, startSucceeds, code, value] : cases) {
        SCOPED_TRACE(name);
        HostHarness harness;
        json world = basicWorld();
        world["dongle"].update(dongle);
        world["dongle"]["startupDelayMs"] = 1500;
        harness.load(world);
        const OrvBleHostInitParams params{};
        const uint32_t id = OrvBleHostInit(0, 0, &params);
        ASSERT_EQ(id != 0, initSucceeds);
        if (!initSucceeds) {
            continue;
        }
        EXPECT_EQ(id, HostHarness::registerResult);
        EXPECT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_E_NOT_STARTED);
        ASSERT_EQ(OrvBleHostStartWnd(HostHarness::window()) != 0, startSucceeds);
        if (!startSucceeds) {
            continue;
        }
        EXPECT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_E_NOT_STARTED) << "before the start-up result";
        orv::sim::advance(1499);
        EXPECT_TRUE(HostHarness::posted.empty()) << "nothing inside the call, nothing before the delay";
        orv::sim::advance(1);
        const auto events = harness.takeEvents();
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(std::tuple(events[0].message, events[0].code, events[0].lParam),
                  std::tuple(HostHarness::registerResult, code, value));
        const bool up = code == BLE_EVT_HOST_STARTED && value == 1;
        EXPECT_EQ(OrvBleHostStartDeviceSearch(0), up ? ORV_BLE_OK : ORV_BLE_E_NOT_STARTED);
    }
}

// Init needs a parameter record and a message id, StartWnd init and a window; each happens once. A
// de-initialisation before the start-up's result drops it, and the host starts again.
TEST(HostStartup, InitAndStartWndTakeTheirArgumentsOnceAndADeinitBeforeTheResultDropsIt) {
    HostHarness harness;
    harness.load(basicWorld());
    const OrvBleHostInitParams params{};
    EXPECT_EQ(OrvBleHostInit(0, 0, nullptr), 0u);
    HostHarness::registerResult = 0;
    EXPECT_EQ(OrvBleHostInit(0, 0, &params), 0u);
    HostHarness::registerResult = 0xC123;
    EXPECT_EQ(OrvBleHostStartWnd(HostHarness::window()), 0);
    ASSERT_NE(OrvBleHostInit(0, 0, &params), 0u);
    EXPECT_EQ(OrvBleHostInit(0, 0, &params), HostHarness::registerResult) << "the same id again";
    EXPECT_EQ(OrvBleHostStartWnd(nullptr), 0);
    EXPECT_EQ(OrvBleHostStartWnd(HostHarness::window()), 1);
    EXPECT_EQ(OrvBleHostStartWnd(HostHarness::window()), 0) << "a second start is refused";
    OrvBleHostDeinit();
    orv::sim::advance(1000);
    EXPECT_TRUE(HostHarness::posted.empty());
    harness.startHost();
}

} // namespace
} // namespace orv::host::test
