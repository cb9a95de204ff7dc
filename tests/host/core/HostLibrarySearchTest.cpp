#include "../HostHarness.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace orv::host::test {
namespace {

using nlohmann::json;

json peer(const std::string& address, json fields = json::object()) {
    json p = {{"address", address}, {"advIntervalMs", 100}, {"rssi", {{"mean", -60}, {"jitter", 6}}}};
    p.update(fields);
    return p;
}

const BleHostDeviceFoundEvent& found(const PostedEvent& event) {
    return record<BleHostDeviceFoundEvent>(event);
}

class Search : public HostTest {
protected:
    void start(const std::vector<json>& peers, uint64_t durationMs = 0) {
        json world = basicWorld();
        world["peers"] = peers;
        world["searchDurationMs"] = durationMs;
        harness.start(world);
        ASSERT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_OK);
        EXPECT_TRUE(HostHarness::posted.empty()) << "no report inside the call";
    }
};

// Twice over: the same world and seed give the same run.
TEST_F(Search, ReportsRepeatAtTheAdvertisingIntervalWithVaryingRssi) {
    std::vector<std::pair<uint64_t, int>> runs[2];
    for (auto& run : runs) {
        start({peer("12:34:56:78:9A:BC"), peer("00:00:00:00:00:01", {{"advertising", false}})});
        orv::sim::advance(1000);
        const auto& events = HostHarness::posted;
        ASSERT_GE(events.size(), 10u);
        ASSERT_LE(events.size(), 11u) << "one peer only: the other does not advertise";
        for (size_t i = 0; i < events.size(); ++i) {
            ASSERT_EQ(events[i].code, static_cast<uint32_t>(BLE_EVT_DEVICE_FOUND));
            const BleTypedAddress& address = found(events[i]).address;
            EXPECT_EQ(std::tuple(address.nap, address.uap, address.lap), std::tuple(0x1234, 0x56, 0x789ABCu));
            EXPECT_EQ(events[i].at - events[0].at, 100u * i);
            EXPECT_TRUE(found(events[i]).rssi >= -66 && found(events[i]).rssi <= -54);
            run.emplace_back(events[i].at, found(events[i]).rssi);
        }
    }
    EXPECT_EQ(runs[0], runs[1]);
    EXPECT_GT(std::set(runs[0].begin(), runs[0].end()).size(), 1u);
}

TEST_F(Search, ReportsCarryTheNameWholeOrNoneAndThePresentMaskSaysWhichOptionalFieldsCame) {
    const std::string longName(60, 'n');
    start({peer("00:00:00:00:00:01"), peer("00:00:00:00:00:02", {{"name", ""}}),
           peer("00:00:00:00:00:03", {{"name", "Größe ✓ 心拍"}}),
           peer("00:00:00:00:00:04", {{"name", longName}}),
           peer("00:00:00:00:00:05", {{"txPower", -12},
                                      {"appearance", 961},
                                      {"slaveInterval", {{"min", 6}, {"max", 3200}}},
                                      {"adFlags", 5}})});
    orv::sim::advance(100);
    std::map<uint32_t, const BleHostDeviceFoundEvent*> byLap; // the latest report of each address
    for (const PostedEvent& event : HostHarness::posted)
        byLap[found(event).address.lap] = &found(event);
    ASSERT_EQ(byLap.size(), 5u);
    EXPECT_EQ(byLap[1]->name, nullptr);
    ASSERT_NE(byLap[2]->name, nullptr);
    EXPECT_STREQ(byLap[2]->name, "");
    EXPECT_STREQ(byLap[3]->name, "Größe ✓ 心拍");
    EXPECT_EQ(std::string(byLap[4]->name), longName);
    EXPECT_EQ(std::pair(byLap[1]->presentMask, byLap[1]->adFlags), std::pair(uint16_t{0}, uint8_t{0x06}));
    const auto& full = *byLap[5];
    EXPECT_EQ(full.presentMask, BLE_PRESENT_TX_POWER | BLE_PRESENT_APPEARANCE | BLE_PRESENT_SLAVE_INTERVAL);
    EXPECT_EQ(
        std::tuple(full.txPower, full.appearance, full.slaveIntervalMin, full.slaveIntervalMax, full.adFlags),
        std::tuple(-12, 961, 6, 3200, 5));
}

TEST_F(Search, StopEndsWithEvent3AndNoLaterReport) {
    harness.start(basicWorld());
    EXPECT_EQ(OrvBleHostStopDeviceSearch(), ORV_BLE_E_WRONG_STATE) << "no search";
    start({peer("12:34:56:78:9A:BC")});
    EXPECT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_E_BUSY);
    orv::sim::advance(250);
    harness.freeQueued();
    ASSERT_EQ(OrvBleHostStopDeviceSearch(), ORV_BLE_OK);
    EXPECT_TRUE(HostHarness::posted.empty());
    EXPECT_EQ(OrvBleHostStopDeviceSearch(), ORV_BLE_E_WRONG_STATE);
    EXPECT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_E_BUSY) << "still stopping";
    orv::sim::advance(5000);
    ASSERT_EQ(harness.codes(), std::vector<uint32_t>{BLE_EVT_SEARCH_ENDED});
    EXPECT_EQ(record<BleHostSearchEndedEvent>(HostHarness::posted[0]).status, 0);
    harness.freeQueued();
    EXPECT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_OK) << "a new search may start";
    orv::sim::advance(300);
    OrvBleHostDeinit();
    harness.takeEvents();
    orv::sim::advance(1000);
    EXPECT_TRUE(HostHarness::posted.empty()) << "de-initialisation stops the search silently";
}

TEST_F(Search, EndsByItselfAfterTheWorldsDuration) {
    start({peer("12:34:56:78:9A:BC", {{"advIntervalMs", 1000}})}, 3500);
    orv::sim::advance(10000);
    const auto& events = HostHarness::posted;
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().code, static_cast<uint32_t>(BLE_EVT_SEARCH_ENDED));
    EXPECT_EQ(events.back().at, 1000u + 3500u);
    EXPECT_GE(events.size(), 4u) << "one report per second for 3.5 s, then the end";
    EXPECT_LE(events.size(), 5u);
    EXPECT_EQ(OrvBleHostStopDeviceSearch(), ORV_BLE_E_WRONG_STATE);
}

} // namespace
} // namespace orv::host::test
