#include "../HostHarness.h"

#include <gtest/gtest.h>

namespace orv::host::test {
namespace {

using nlohmann::json;

struct StartupCase {
    const char* name;
    json dongle;
    bool initSucceeds;
    bool startSucceeds;
    uint32_t code;  // code of the one event after the start-up delay
    intptr_t value; // its plain value
};

class StartupMatrix : public ::testing::TestWithParam<StartupCase> {};

TEST_P(StartupMatrix, GivesTheWorldsOutcomeAfterItsDelay) {
    const StartupCase& c = GetParam();
    HostHarness harness;
    json world = basicWorld();
    world["dongle"].update(c.dongle);
    world["dongle"]["startupDelayMs"] = 1500;
    harness.load(world);
    const OrvBleHostInitParams params{};
    const uint32_t id = OrvBleHostInit(0, 0, &params);
    ASSERT_EQ(id != 0, c.initSucceeds);
    if (!c.initSucceeds) {
        return;
    }
    EXPECT_EQ(id, HostHarness::registerResult);
    EXPECT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_E_NOT_STARTED);
    ASSERT_EQ(OrvBleHostStartWnd(HostHarness::window()) != 0, c.startSucceeds);
    if (!c.startSucceeds) {
        return;
    }
    EXPECT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_E_NOT_STARTED) << "before the start-up result";
    orv::sim::advance(1499);
    EXPECT_TRUE(HostHarness::posted.empty()) << "nothing inside the call, nothing before the delay";
    orv::sim::advance(1);
    const auto events = harness.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].message, HostHarness::registerResult);
    EXPECT_EQ(events[0].code, c.code);
    EXPECT_EQ(events[0].lParam, c.value);
    const bool up = c.code == BLE_EVT_HOST_STARTED && c.value == 1;
    EXPECT_EQ(OrvBleHostStartDeviceSearch(0), up ? ORV_BLE_OK : ORV_BLE_E_NOT_STARTED);
}

INSTANTIATE_TEST_SUITE_P(
    Dongle, StartupMatrix,
    ::testing::Values(StartupCase{"Up", json::object(), true, true, BLE_EVT_HOST_STARTED, 1},
                      StartupCase{
                          "StartupFails", {{"startup", "failed"}}, true, true, BLE_EVT_HOST_STARTED, 0},
                      StartupCase{"StartupError", {{"startup", "error"}}, true, true, BLE_EVT_HOST_ERROR, 1},
                      StartupCase{"StartupErrorCode",
                                  {{"startup", "error"}, {"startupError", 9}},
                                  true,
                                  true,
                                  BLE_EVT_HOST_ERROR,
                                  9},
                      StartupCase{"Absent", {{"present", false}}, false, false, 0, 0},
                      StartupCase{"NoDriver", {{"driver", false}}, false, false, 0, 0},
                      StartupCase{"Busy", {{"busy", true}}, false, false, 0, 0},
                      StartupCase{"InitFails", {{"initFails", true}}, false, false, 0, 0},
                      StartupCase{"StartWndFails", {{"startWndFails", true}}, true, false, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HostStartup, InitNeedsAParameterRecordAndAMessageId) {
    HostHarness harness;
    harness.load(basicWorld());
    const OrvBleHostInitParams params{};
    EXPECT_EQ(OrvBleHostInit(0, 0, nullptr), 0u);
    HostHarness::registerResult = 0;
    EXPECT_EQ(OrvBleHostInit(0, 0, &params), 0u);
}

TEST(HostStartup, StartWndNeedsInitAWindowAndHappensOnce) {
    HostHarness harness;
    harness.load(basicWorld());
    EXPECT_EQ(OrvBleHostStartWnd(HostHarness::window()), 0);
    const OrvBleHostInitParams params{};
    ASSERT_NE(OrvBleHostInit(0, 0, &params), 0u);
    EXPECT_EQ(OrvBleHostInit(0, 0, &params), HostHarness::registerResult) << "the same id again";
    EXPECT_EQ(OrvBleHostStartWnd(nullptr), 0);
    EXPECT_EQ(OrvBleHostStartWnd(HostHarness::window()), 1);
    EXPECT_EQ(OrvBleHostStartWnd(HostHarness::window()), 0) << "a second start is refused";
}

TEST(HostStartup, DeinitBeforeTheResultDropsItAndInitWorksAgain) {
    HostHarness harness;
    harness.load(basicWorld());
    const OrvBleHostInitParams params{};
    ASSERT_NE(OrvBleHostInit(0, 0, &params), 0u);
    ASSERT_EQ(OrvBleHostStartWnd(HostHarness::window()), 1);
    OrvBleHostDeinit();
    orv::sim::advance(1000);
    EXPECT_TRUE(HostHarness::posted.empty());
    harness.startHost();
}

} // namespace
} // namespace orv::host::test
