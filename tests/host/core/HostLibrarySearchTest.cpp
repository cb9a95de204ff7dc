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
    return *reinterpret_cast<const BleHostDeviceFoundEvent*>(event.lParam);
}

class Search : public ::testing::Test {
protected:
    void start(const std::vector<json>& peers, uint64_t durationMs = 0) {
        json world = basicWorld();
        world["peers"] = peers;
        world["searchDurationMs"] = durationMs;
        harness.load(world);
        harness.startHost();
        ASSERT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_OK);
        EXPECT_TRUE(harness.takeEvents().empty()) << "no report inside the call";
    }
    void TearDown() override {
        harness.freeAll(harness.takeEvents());
        EXPECT_EQ(orv::sim::liveRecordCount(), 0u);
    }
    HostHarness harness;
};

TEST_F(Search, ReportsRepeatAtTheAdvertisingIntervalWithVaryingRssi) {
    start({peer("12:34:56:78:9A:BC")});
    orv::sim::advance(1000);
    const auto events = harness.takeEvents();
    ASSERT_GE(events.size(), 10u);
    ASSERT_LE(events.size(), 11u);
    std::set<int> rssi;
    for (const PostedEvent& event : events) {
        ASSERT_EQ(event.code, static_cast<uint32_t>(BLE_EVT_DEVICE_FOUND));
        const auto& record = found(event);
        EXPECT_EQ(record.address.nap, 0x1234);
        EXPECT_EQ(record.address.uap, 0x56);
        EXPECT_EQ(record.address.lap, 0x789ABCu);
        EXPECT_GE(record.rssi, -66);
        EXPECT_LE(record.rssi, -54);
        rssi.insert(record.rssi);
    }
    EXPECT_GT(rssi.size(), 1u);
    for (size_t i = 1; i < events.size(); ++i) {
        EXPECT_EQ(events[i].at - events[i - 1].at, 100u);
    }
    harness.freeAll(events);
}

TEST_F(Search, SameWorldAndSeedGiveTheSameRun) {
    const std::vector<json> peers{peer("12:34:56:78:9A:BC"),
                                  peer("12:34:56:78:9A:BD", {{"advIntervalMs", 70}})};
    auto run = [&] {
        start(peers);
        orv::sim::advance(2000);
        std::vector<std::tuple<uint64_t, uint32_t, int>> trace;
        const auto events = harness.takeEvents();
        for (const PostedEvent& event : events) {
            trace.emplace_back(event.at, found(event).address.lap, found(event).rssi);
        }
        harness.freeAll(events);
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
    orv::sim::advance(100);
    std::map<uint32_t, const BleHostDeviceFoundEvent*> byLap;
    const auto events = harness.takeEvents();
    for (const PostedEvent& event : events) {
        byLap[found(event).address.lap] = &found(event);
    }
    ASSERT_EQ(byLap.size(), 4u);
    EXPECT_EQ(byLap[1]->name, nullptr);
    ASSERT_NE(byLap[2]->name, nullptr);
    EXPECT_STREQ(byLap[2]->name, "");
    EXPECT_STREQ(byLap[3]->name, "Größe ✓ 心拍");
    EXPECT_EQ(std::string(byLap[4]->name), longName);
    harness.freeAll(events);
}

TEST_F(Search, PresentMaskSaysWhichOptionalFieldsCame) {
    start(
        {peer("00:00:00:00:00:01"), peer("00:00:00:00:00:02", {{"txPower", -12},
                                                               {"appearance", 961},
                                                               {"slaveInterval", {{"min", 6}, {"max", 3200}}},
                                                               {"adFlags", 5}})});
    orv::sim::advance(100);
    const auto events = harness.takeEvents();
    ASSERT_EQ(events.size(), 2u);
    for (const PostedEvent& event : events) {
        const auto& record = found(event);
        if (record.address.lap == 1) {
            EXPECT_EQ(record.presentMask, 0);
            EXPECT_EQ(record.adFlags, 0x06);
            continue;
        }
        EXPECT_EQ(record.presentMask,
                  BLE_PRESENT_TX_POWER | BLE_PRESENT_APPEARANCE | BLE_PRESENT_SLAVE_INTERVAL);
        EXPECT_EQ(record.txPower, -12);
        EXPECT_EQ(record.appearance, 961);
        EXPECT_EQ(record.slaveIntervalMin, 6);
        EXPECT_EQ(record.slaveIntervalMax, 3200);
        EXPECT_EQ(record.adFlags, 5);
    }
    harness.freeAll(events);
}

TEST_F(Search, PeersThatDoNotAdvertiseAreNotReported) {
    start({peer("00:00:00:00:00:01", {{"advertising", false}})});
    orv::sim::advance(1000);
    EXPECT_TRUE(harness.takeEvents().empty());
}

TEST_F(Search, StopEndsWithEvent3AndNoLaterReport) {
    start({peer("12:34:56:78:9A:BC")});
    orv::sim::advance(250);
    harness.freeAll(harness.takeEvents());
    ASSERT_EQ(OrvBleHostStopDeviceSearch(), ORV_BLE_OK);
    EXPECT_TRUE(harness.takeEvents().empty());
    EXPECT_EQ(OrvBleHostStopDeviceSearch(), ORV_BLE_E_WRONG_STATE);
    EXPECT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_E_BUSY) << "still stopping";
    orv::sim::advance(5000);
    const auto events = harness.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, static_cast<uint32_t>(BLE_EVT_SEARCH_ENDED));
    EXPECT_EQ(reinterpret_cast<const BleHostSearchEndedEvent*>(events[0].lParam)->status, 0);
    harness.freeAll(events);
    EXPECT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_OK) << "a new search may start";
}

TEST_F(Search, StartingTwiceIsRefused) {
    start({});
    EXPECT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_E_BUSY);
}

TEST_F(Search, StopWithoutSearchIsRefused) {
    harness.load(basicWorld());
    harness.startHost();
    EXPECT_EQ(OrvBleHostStopDeviceSearch(), ORV_BLE_E_WRONG_STATE);
}

TEST_F(Search, EndsByItselfAfterTheWorldsDuration) {
    start({peer("12:34:56:78:9A:BC", {{"advIntervalMs", 1000}})}, 3500);
    orv::sim::advance(10000);
    const auto events = harness.takeEvents();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().code, static_cast<uint32_t>(BLE_EVT_SEARCH_ENDED));
    EXPECT_EQ(events.back().at, 1000u + 3500u);
    EXPECT_GE(events.size(), 4u) << "one report per second for 3.5 s, then the end";
    EXPECT_LE(events.size(), 5u);
    harness.freeAll(events);
    EXPECT_EQ(OrvBleHostStopDeviceSearch(), ORV_BLE_E_WRONG_STATE);
}

TEST_F(Search, DeinitStopsTheSearchSilently) {
    start({peer("12:34:56:78:9A:BC")});
    orv::sim::advance(300);
    OrvBleHostDeinit();
    harness.takeEvents();
    orv::sim::advance(1000);
    EXPECT_TRUE(harness.takeEvents().empty());
}

TEST_F(Search, UnplugEndsTheSearchWithTheHostError) {
    start({peer("12:34:56:78:9A:BC")});
    orv::sim::advance(300);
    harness.freeAll(harness.takeEvents());
    orv::sim::unplugDongle();
    orv::sim::advance(1000);
    const auto events = harness.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, static_cast<uint32_t>(BLE_EVT_HOST_ERROR));
}

TEST(BuiltInWorld, AdvertisesEveryProfileWithItsKnownNamesAndAppearances) {
    HostHarness harness;
    std::string error;
    ASSERT_TRUE(orv::sim::loadWorldJson(orv::sim::builtInWorldJson(), &error));
    orv::sim::setBondStorePath(::testing::TempDir() + "veyrahost-builtin-bonds.json");
    harness.startHost();
    ASSERT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_OK);
    orv::sim::advance(1000);
    std::set<uint32_t> laps;
    bool remote = false;
    bool keyboard = false;
    bool wheel = false;
    const auto events = harness.takeEvents();
    for (const PostedEvent& event : events) {
        const auto& record = found(event);
        laps.insert(record.address.lap);
        remote |= record.name != nullptr && std::string(record.name) == "SKY Remote";
        keyboard |= (record.presentMask & BLE_PRESENT_APPEARANCE) != 0 && record.appearance == 0x03C1;
        wheel |= (record.presentMask & BLE_PRESENT_APPEARANCE) != 0 && record.appearance == 0x03CA;
    }
    harness.freeAll(events);
    EXPECT_EQ(laps.size(), 20u);
    EXPECT_TRUE(remote);
    EXPECT_TRUE(keyboard);
    EXPECT_TRUE(wheel);
}

} // namespace
} // namespace orv::host::test
