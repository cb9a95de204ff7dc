#include "../HostHarness.h"

#include <gtest/gtest.h>

namespace orv::host::test {
namespace {

using nlohmann::json;

const std::string kPeer = "AA:BB:CC:DD:EE:01";

template <typename Record> const Record& recordOf(const PostedEvent& event) {
    return *reinterpret_cast<const Record*>(event.lParam);
}

class Connection : public ::testing::Test {
protected:
    void start(json world = gattWorld()) {
        harness.load(world);
        harness.startHost();
    }
    void TearDown() override {
        harness.freeAll(harness.takeEvents());
        EXPECT_EQ(orv::sim::liveRecordCount(), 0u);
    }
    HostHarness harness;
};

TEST_F(Connection, ConnectsToAConnectableAdvertiserAfterAVirtualDelay) {
    start();
    const uint64_t asked = orv::sim::now();
    ASSERT_EQ(OrvBleHostConnect(addressOf(kPeer)), ORV_BLE_OK);
    EXPECT_TRUE(harness.takeEvents().empty());
    const auto event = harness.advanceUntil(BLE_EVT_CONNECT_RESULT);
    ASSERT_TRUE(event);
    EXPECT_GT(event->at, asked);
    EXPECT_EQ(recordOf<BleHostConnectEvent>(*event).status, 0);
    EXPECT_NE(recordOf<BleHostConnectEvent>(*event).cid, 0u);
}

struct UnreachableCase {
    const char* name;
    json peerFields;
    const char* address;
};

class Unreachable : public Connection, public ::testing::WithParamInterface<UnreachableCase> {};

TEST_P(Unreachable, FailsAfterTheTimeOutWithoutADisconnection) {
    json world = gattWorld();
    world["peers"][0].update(GetParam().peerFields);
    start(world);
    const uint64_t asked = orv::sim::now();
    ASSERT_EQ(OrvBleHostConnect(addressOf(GetParam().address)), ORV_BLE_OK);
    orv::sim::advance(4999);
    EXPECT_TRUE(harness.takeEvents().empty());
    orv::sim::advance(1);
    auto events = harness.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].at, asked + 5000);
    EXPECT_EQ(recordOf<BleHostConnectEvent>(events[0]).status, BLE_STATUS_CONNECT_FAILED);
    harness.freeAll(events);
    orv::sim::advance(60000);
    EXPECT_TRUE(harness.eventsWithCode(BLE_EVT_DISCONNECTED).empty());
    EXPECT_EQ(OrvBleHostConnect(addressOf(GetParam().address)), ORV_BLE_OK) << "a new attempt may start";
}

INSTANTIATE_TEST_SUITE_P(
    Peers, Unreachable,
    ::testing::Values(UnreachableCase{"Absent", json::object(), "01:02:03:04:05:06"},
                      UnreachableCase{"NotConnectable", {{"connectable", false}}, "AA:BB:CC:DD:EE:01"},
                      UnreachableCase{"NotAdvertising", {{"advertising", false}}, "AA:BB:CC:DD:EE:01"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Connection, RandomAddressTypeMustMatch) {
    start();
    BleTypedAddress address = addressOf(kPeer);
    address.type = 1;
    ASSERT_EQ(OrvBleHostConnect(address), ORV_BLE_OK);
    const auto event = harness.advanceUntil(BLE_EVT_CONNECT_RESULT);
    ASSERT_TRUE(event);
    EXPECT_EQ(recordOf<BleHostConnectEvent>(*event).status, BLE_STATUS_CONNECT_FAILED);
}

TEST_F(Connection, CancelEndsTheAttemptWithCancelledAndNoDisconnection) {
    json world = gattWorld();
    world["peers"][0]["advIntervalMs"] = 2000;
    start(world);
    ASSERT_EQ(OrvBleHostConnect(addressOf(kPeer)), ORV_BLE_OK);
    orv::sim::advance(100);
    ASSERT_EQ(OrvBleHostCancelConnect(), ORV_BLE_OK);
    EXPECT_TRUE(harness.takeEvents().empty());
    orv::sim::advance(10000);
    const auto events = harness.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, static_cast<uint32_t>(BLE_EVT_CONNECT_RESULT));
    EXPECT_EQ(recordOf<BleHostConnectEvent>(events[0]).status, BLE_STATUS_CONNECT_CANCELLED);
    harness.freeAll(events);
}

TEST_F(Connection, CancelWithoutAnAttemptIsRefused) {
    start();
    EXPECT_EQ(OrvBleHostCancelConnect(), ORV_BLE_E_WRONG_STATE);
}

TEST_F(Connection, SecondAttemptWhileConnectingIsRefused) {
    start();
    ASSERT_EQ(OrvBleHostConnect(addressOf(kPeer)), ORV_BLE_OK);
    EXPECT_EQ(OrvBleHostConnect(addressOf("01:02:03:04:05:06")), ORV_BLE_E_BUSY);
}

TEST_F(Connection, ConnectingTwiceToOnePeerIsRefused) {
    start();
    harness.connect(kPeer);
    EXPECT_EQ(OrvBleHostConnect(addressOf(kPeer)), ORV_BLE_E_WRONG_STATE);
}

TEST_F(Connection, HostDisconnectEndsWithEvent5ForThatLink) {
    start();
    const uint32_t cid = harness.connect(kPeer);
    ASSERT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_OK);
    EXPECT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_E_WRONG_STATE);
    EXPECT_EQ(OrvBleClientReadCharByHandle(cid, 3), ORV_BLE_E_NOT_CONNECTED);
    EXPECT_TRUE(harness.takeEvents().empty());
    const auto event = harness.advanceUntil(BLE_EVT_DISCONNECTED);
    ASSERT_TRUE(event);
    EXPECT_EQ(recordOf<BleHostDisconnectEvent>(*event).cid, cid);
    EXPECT_EQ(recordOf<BleHostDisconnectEvent>(*event).reason, 0x16);
    EXPECT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_E_NOT_CONNECTED);
}

TEST_F(Connection, PeerDisconnectReportsItsReason) {
    start();
    const uint32_t cid = harness.connect(kPeer);
    ASSERT_TRUE(orv::sim::disconnectPeer(kPeer, 0x08));
    EXPECT_TRUE(harness.takeEvents().empty());
    orv::sim::advance(0);
    const auto events = harness.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(recordOf<BleHostDisconnectEvent>(events[0]).cid, cid);
    EXPECT_EQ(recordOf<BleHostDisconnectEvent>(events[0]).reason, 0x08);
    harness.freeAll(events);
    EXPECT_FALSE(orv::sim::disconnectPeer(kPeer, 0x08)) << "no link any more";
}

TEST_F(Connection, ScriptedPeerDisconnectHappensAtItsTime) {
    json world = gattWorld();
    world["events"] = json::array({{{"at", 8000}, {"action", "disconnect"}, {"address", kPeer}}});
    start(world);
    harness.connect(kPeer);
    const auto event = harness.advanceUntil(BLE_EVT_DISCONNECTED, 20000);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->at, 8000u);
    EXPECT_EQ(recordOf<BleHostDisconnectEvent>(*event).reason, 0x13);
}

TEST_F(Connection, UnplugWhileConnectedReportsOnlyTheHostError) {
    start();
    harness.connect(kPeer);
    orv::sim::unplugDongle();
    orv::sim::advance(60000);
    const auto events = harness.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, static_cast<uint32_t>(BLE_EVT_HOST_ERROR));
}

TEST_F(Connection, DeinitDropsTheLinkSilently) {
    start();
    const uint32_t cid = harness.connect(kPeer);
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 3), ORV_BLE_OK);
    OrvBleHostDeinit();
    orv::sim::advance(60000);
    EXPECT_TRUE(harness.takeEvents().empty());
}

TEST_F(Connection, DefaultParametersAreAnsweredWithEvent6) {
    start();
    ASSERT_EQ(OrvBleHostSetConnectionParams(0xFFFF, 0xFFFF, 10, 10, 0, 125), ORV_BLE_OK);
    EXPECT_TRUE(harness.takeEvents().empty());
    orv::sim::advance(100);
    auto events = harness.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, static_cast<uint32_t>(BLE_EVT_CONN_PARAMS_SET));
    EXPECT_EQ(events[0].lParam, 0);
    ASSERT_EQ(OrvBleHostSetConnectionParams(0xFFFF, 0xFFFF, 3200, 3200, 7, 3200), ORV_BLE_OK);
    orv::sim::advance(100);
    events = harness.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].lParam, 0x12) << "refused by the Core rule";
}

TEST_F(Connection, UpdateAnswersWithTheNewParametersOrAFailedEvent6) {
    start();
    const uint32_t cid = harness.connect(kPeer);
    ASSERT_EQ(OrvBleHostUpdateConnectionParams(addressOf(kPeer), 400, 400, 4, 1000, 0xFFFF, 0xFFFF),
              ORV_BLE_OK);
    auto event = harness.advanceUntil(BLE_EVT_CONN_PARAMS_UPDATED);
    ASSERT_TRUE(event);
    const auto& updated = recordOf<BleHostConnParamsUpdatedEvent>(*event);
    EXPECT_EQ(updated.cid, cid);
    EXPECT_EQ(updated.intervalMin, 400);
    EXPECT_EQ(updated.intervalMax, 400);
    EXPECT_EQ(updated.slaveLatency, 4);
    EXPECT_EQ(updated.supervisionTimeout, 1000);
    harness.freeAll(harness.takeEvents());
    ASSERT_EQ(OrvBleHostUpdateConnectionParams(addressOf(kPeer), 5, 400, 4, 1000, 0xFFFF, 0xFFFF),
              ORV_BLE_OK);
    event = harness.advanceUntil(BLE_EVT_CONN_PARAMS_SET);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->lParam, 0x12);
}

TEST_F(Connection, UpdateOfAnUnconnectedPeerIsRefused) {
    start();
    EXPECT_EQ(OrvBleHostUpdateConnectionParams(addressOf(kPeer), 400, 400, 4, 1000, 0xFFFF, 0xFFFF),
              ORV_BLE_E_NOT_CONNECTED);
    EXPECT_EQ(OrvBleHostGetRssi(addressOf(kPeer)), ORV_BLE_E_NOT_CONNECTED);
}

TEST_F(Connection, PeerParameterRequestIsPostedAndAcceptedWithEvent13) {
    json world = gattWorld();
    world["peers"][0]["parameterRequest"] = {{"afterMs", 3000},
                                             {"intervalMin", 80},
                                             {"intervalMax", 100},
                                             {"slaveLatency", 2},
                                             {"supervisionTimeout", 600}};
    start(world);
    const uint32_t cid = harness.connect(kPeer);
    const auto event = harness.advanceUntil(BLE_EVT_REMOTE_CONN_PARAMS);
    ASSERT_TRUE(event);
    const auto& request = recordOf<BleHostConnParamRequestEvent>(*event);
    EXPECT_EQ(request.cid, cid);
    EXPECT_EQ(request.intervalMin, 80);
    EXPECT_EQ(request.intervalMax, 100);
    EXPECT_EQ(request.slaveLatency, 2);
    EXPECT_EQ(request.supervisionTimeout, 600);
    const uint16_t id = request.requestId;
    EXPECT_EQ(OrvBleHostAcceptConnUpdate(cid, static_cast<uint16_t>(id + 1), 1), ORV_BLE_E_INVALID_ARGUMENT);
    ASSERT_EQ(OrvBleHostAcceptConnUpdate(cid, id, 1), ORV_BLE_OK);
    EXPECT_EQ(OrvBleHostAcceptConnUpdate(cid, id, 1), ORV_BLE_E_INVALID_ARGUMENT) << "answered once";
    const auto updated = harness.advanceUntil(BLE_EVT_CONN_PARAMS_UPDATED);
    ASSERT_TRUE(updated);
    EXPECT_EQ(recordOf<BleHostConnParamsUpdatedEvent>(*updated).intervalMax, 100);
}

TEST_F(Connection, RejectedPeerRequestChangesNothing) {
    start();
    const uint32_t cid = harness.connect(kPeer);
    ASSERT_TRUE(orv::sim::requestConnectionParameters(kPeer, 80, 100, 2, 600));
    const auto event = harness.advanceUntil(BLE_EVT_REMOTE_CONN_PARAMS);
    ASSERT_TRUE(event);
    ASSERT_EQ(OrvBleHostAcceptConnUpdate(cid, recordOf<BleHostConnParamRequestEvent>(*event).requestId, 0),
              ORV_BLE_OK);
    orv::sim::advance(10000);
    EXPECT_TRUE(harness.eventsWithCode(BLE_EVT_CONN_PARAMS_UPDATED).empty());
    EXPECT_TRUE(harness.eventsWithCode(BLE_EVT_CONN_PARAMS_SET).empty());
}

TEST_F(Connection, ConnectedPeerStopsAdvertisingUntilTheLinkEnds) {
    start();
    const uint32_t cid = harness.connect(kPeer);
    ASSERT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_OK);
    orv::sim::advance(1000);
    EXPECT_TRUE(harness.eventsWithCode(BLE_EVT_DEVICE_FOUND).empty());
    ASSERT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_OK);
    orv::sim::advance(1000);
    EXPECT_FALSE(harness.eventsWithCode(BLE_EVT_DEVICE_FOUND).empty());
}

TEST_F(Connection, RequestsWakeTheDriverOfTheVirtualClock) {
    start();
    int wakeups = 0;
    orv::sim::setWakeupListener([&] { ++wakeups; });
    ASSERT_EQ(OrvBleHostConnect(addressOf(kPeer)), ORV_BLE_OK);
    orv::sim::setWakeupListener(nullptr);
    EXPECT_EQ(wakeups, 1) << "the connection outcome is the earliest pending action";
}

TEST_F(Connection, RssiReadsFollowThePeersModel) {
    json world = gattWorld();
    world["peers"][0]["rssi"] = {{"mean", -70}, {"jitter", 3}};
    start(world);
    harness.connect(kPeer);
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(OrvBleHostGetRssi(addressOf(kPeer)), ORV_BLE_OK);
        const auto event = harness.advanceUntil(BLE_EVT_RSSI_READ);
        ASSERT_TRUE(event);
        const auto& record = recordOf<BleHostRssiEvent>(*event);
        EXPECT_EQ(record.status, 0);
        EXPECT_GE(record.rssi, -73);
        EXPECT_LE(record.rssi, -67);
        harness.freeAll(harness.takeEvents());
    }
}

} // namespace
} // namespace orv::host::test
