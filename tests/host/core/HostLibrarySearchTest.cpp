#include "../HostHarness.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

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
    // The latest report of each address (by its lower bytes) after ms.
    std::map<uint32_t, const BleHostDeviceFoundEvent*> reports(uint64_t ms) {
        orv::sim::advance(ms);
        std::map<uint32_t, const BleHostDeviceFoundEvent*> byLap;
        for (const PostedEvent& event : HostHarness::posted) {
            byLap[found(event).address.lap] = &found(event);
        }
        return byLap;
    }
};

TEST_F(Search, ReportsRepeatAtTheAdvertisingIntervalWithVaryingRssi) {
    start({peer("12:34:56:78:9A:BC"), peer("00:00:00:00:00:01", {{"advertising", false}})});
    orv::sim::advance(1000);
    const auto& events = HostHarness::posted;
    ASSERT_GE(events.size(), 10u);
    ASSERT_LE(events.size(), 11u) << "one peer only: the other does not advertise";
    std::set<int> rssi;
    for (size_t i = 0; i < events.size(); ++i) {
        ASSERT_EQ(events[i].code, static_cast<uint32_t>(BLE_EVT_DEVICE_FOUND));
        const auto& report = found(events[i]);
        EXPECT_EQ(report.address.nap, 0x1234);
        EXPECT_EQ(report.address.uap, 0x56);
        EXPECT_EQ(report.address.lap, 0x789ABCu);
        EXPECT_GE(report.rssi, -66);
        EXPECT_LE(report.rssi, -54);
        rssi.insert(report.rssi);
        if (i > 0) {
            EXPECT_EQ(events[i].at - events[i - 1].at, 100u);
        }
    }
    EXPECT_GT(rssi.size(), 1u);
}

TEST_F(Search, SameWorldAndSeedGiveTheSameRun) {
    auto run = [this] {
        start({peer("12:34:56:78:9A:BC"), peer("12:34:56:78:9A:BD", {{"advIntervalMs", 70}})});
        orv::sim::advance(2000);
        std::vector<std::tuple<uint64_t, uint32_t, int>> trace;
        for (const PostedEvent& event : HostHarness::posted) {
            trace.emplace_back(event.at, found(event).address.lap, found(event).rssi);
        }
        harness.freeQueued();
        OrvBleHostDeinit();
        return trace;
    };
    const auto first = run();
    EXPECT_EQ(run(), first);
}

TEST_F(Search, NameIsAbsentEmptyOrCarriedWhole) {
    const std::string longName(60, 'n');
    start({peer("00:00:00:00:00:01"), peer("00:00:00:00:00:02", {{"name", ""}}),
           peer("00:00:00:00:00:03", {{"name", "Größe ✓ 心拍"}}),
           peer("00:00:00:00:00:04", {{"name", longName}})});
    auto byLap = reports(100);
    ASSERT_EQ(byLap.size(), 4u);
    EXPECT_EQ(byLap[1]->name, nullptr);
    ASSERT_NE(byLap[2]->name, nullptr);
    EXPECT_STREQ(byLap[2]->name, "");
    EXPECT_STREQ(byLap[3]->name, "Größe ✓ 心拍");
    EXPECT_EQ(std::string(byLap[4]->name), longName);
}

TEST_F(Search, PresentMaskSaysWhichOptionalFieldsCame) {
    start(
        {peer("00:00:00:00:00:01"), peer("00:00:00:00:00:02", {{"txPower", -12},
                                                               {"appearance", 961},
                                                               {"slaveInterval", {{"min", 6}, {"max", 3200}}},
                                                               {"adFlags", 5}})});
    auto byLap = reports(100);
    ASSERT_EQ(byLap.size(), 2u);
    EXPECT_EQ(byLap[1]->presentMask, 0);
    EXPECT_EQ(byLap[1]->adFlags, 0x06);
    const auto& full = *byLap[2];
    EXPECT_EQ(full.presentMask, BLE_PRESENT_TX_POWER | BLE_PRESENT_APPEARANCE | BLE_PRESENT_SLAVE_INTERVAL);
    EXPECT_EQ(full.txPower, -12);
    EXPECT_EQ(full.appearance, 961);
    EXPECT_EQ(full.slaveIntervalMin, 6);
    EXPECT_EQ(full.slaveIntervalMax, 3200);
    EXPECT_EQ(full.adFlags, 5);
}

TEST_F(Search, StopEndsWithEvent3AndNoLaterReport) {
    harness.start(basicWorld());
    EXPECT_EQ(OrvBleHostStopDeviceSearch(), ORV_BLE_E_WRONG_STATE) << "no search";
    harness.freeQueued();
    OrvBleHostDeinit();
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
