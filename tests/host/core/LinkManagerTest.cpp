#include "../HostHarness.h"

#include <gtest/gtest.h>

namespace orv::host::test {
namespace {

using nlohmann::json;

const std::string kPeer = "AA:BB:CC:DD:EE:01";

using Connection = HostTest;

// Each on a world of its own: the peer's fields that differ, the address and its type asked for.
TEST_F(Connection, AnUnreachablePeerFailsAfterTheTimeOutWithoutADisconnection) {
    const std::tuple<const char*, json, const char*, uint8_t> peers[] = {
        {"absent", json::object(), "01:02:03:04:05:06", 0},
        {"not connectable", {{"connectable", false}}, "AA:BB:CC:DD:EE:01", 0},
        {"not advertising", {{"advertising", false}}, "AA:BB:CC:DD:EE:01", 0},
        {"other address type", json::object(), "AA:BB:CC:DD:EE:01", 1}};
    for (const auto& [name, peerFields, text, type] : peers) {
        SCOPED_TRACE(name);
        harness.freeQueued();
        OrvBleHostDeinit();
        json world = gattWorld();
        world["peers"][0].update(peerFields);
        harness.start(world);
        BleTypedAddress address = addressOf(text);
        address.type = type;
        const uint64_t asked = orv::sim::now();
        ASSERT_EQ(OrvBleHostConnect(address), ORV_BLE_OK);
        orv::sim::advance(4999);
        EXPECT_TRUE(HostHarness::posted.empty());
        orv::sim::advance(60001);
        ASSERT_EQ(harness.codes(), std::vector<uint32_t>{BLE_EVT_CONNECT_RESULT}) << "and no disconnection";
        EXPECT_EQ(HostHarness::posted[0].at, asked + 5000);
        EXPECT_EQ(record<BleHostConnectEvent>(HostHarness::posted[0]).status, BLE_STATUS_CONNECT_FAILED);
        EXPECT_EQ(OrvBleHostConnect(address), ORV_BLE_OK) << "a new attempt may start";
    }
}

TEST_F(Connection, CancelEndsTheAttemptWithCancelledAndNoDisconnection) {
    json world = gattWorld();
    world["peers"][0]["advIntervalMs"] = 2000;
    harness.start(world);
    ASSERT_EQ(OrvBleHostConnect(addressOf(kPeer)), ORV_BLE_OK);
    orv::sim::advance(100);
    ASSERT_EQ(OrvBleHostCancelConnect(), ORV_BLE_OK);
    EXPECT_TRUE(HostHarness::posted.empty());
    orv::sim::advance(10000);
    ASSERT_EQ(harness.codes(), std::vector<uint32_t>{BLE_EVT_CONNECT_RESULT});
    EXPECT_EQ(record<BleHostConnectEvent>(HostHarness::posted[0]).status, BLE_STATUS_CONNECT_CANCELLED);
}

TEST_F(Connection, RequestsTheLinksCannotTakeAreRefused) {
    harness.start(gattWorld());
    EXPECT_EQ(OrvBleHostCancelConnect(), ORV_BLE_E_WRONG_STATE);
    EXPECT_EQ(OrvBleHostUpdateConnectionParams(addressOf(kPeer), 400, 400, 4, 1000, 0xFFFF, 0xFFFF),
              ORV_BLE_E_NOT_CONNECTED);
    EXPECT_EQ(OrvBleHostGetRssi(addressOf(kPeer)), ORV_BLE_E_NOT_CONNECTED);
    ASSERT_EQ(OrvBleHostConnect(addressOf(kPeer)), ORV_BLE_OK);
    EXPECT_EQ(OrvBleHostConnect(addressOf("01:02:03:04:05:06")), ORV_BLE_E_BUSY);
    harness.freeQueued();
    harness.advanceUntil(BLE_EVT_CONNECT_RESULT);
    EXPECT_EQ(OrvBleHostConnect(addressOf(kPeer)), ORV_BLE_E_WRONG_STATE) << "already connected";
    BleTypedAddress random = addressOf(kPeer);
    random.type = 1;
    EXPECT_EQ(OrvBleHostGetRssi(random), ORV_BLE_E_NOT_CONNECTED) << "another device: its type differs";
}

TEST_F(Connection, ConnectsAfterAVirtualDelayAndTheHostsDisconnectEndsWithEvent5) {
    harness.start(gattWorld());
    ASSERT_EQ(OrvBleHostConnect(addressOf(kPeer)), ORV_BLE_OK);
    EXPECT_TRUE(HostHarness::posted.empty());
    const auto connected = harness.advanceUntil(BLE_EVT_CONNECT_RESULT);
    ASSERT_TRUE(connected);
    EXPECT_GT(connected->at, 1000u);
    EXPECT_EQ(record<BleHostConnectEvent>(*connected).status, 0);
    const uint32_t cid = record<BleHostConnectEvent>(*connected).cid;
    harness.freeQueued();
    ASSERT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_OK);
    EXPECT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_E_WRONG_STATE);
    EXPECT_EQ(OrvBleClientReadCharByHandle(cid, 3), ORV_BLE_E_NOT_CONNECTED);
    EXPECT_TRUE(HostHarness::posted.empty());
    const auto event = harness.advanceUntil(BLE_EVT_DISCONNECTED);
    ASSERT_TRUE(event);
    EXPECT_EQ(record<BleHostDisconnectEvent>(*event).cid, cid);
    EXPECT_EQ(record<BleHostDisconnectEvent>(*event).reason, 0x16);
    EXPECT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_E_NOT_CONNECTED);
}

TEST_F(Connection, PeerDisconnectReportsItsReasonAtItsTime) {
    json world = gattWorld();
    world["events"] = json::array({{{"at", 8000}, {"action", "disconnect"}, {"address", kPeer}}});
    harness.start(world);
    uint32_t cid = harness.connect(kPeer);
    ASSERT_TRUE(orv::sim::disconnectPeer(kPeer, 0x08));
    EXPECT_TRUE(HostHarness::posted.empty());
    orv::sim::advance(0);
    ASSERT_EQ(harness.codes(), std::vector<uint32_t>{BLE_EVT_DISCONNECTED});
    EXPECT_EQ(record<BleHostDisconnectEvent>(HostHarness::posted[0]).cid, cid);
    EXPECT_EQ(record<BleHostDisconnectEvent>(HostHarness::posted[0]).reason, 0x08);
    EXPECT_FALSE(orv::sim::disconnectPeer(kPeer, 0x08)) << "no link any more";
    harness.freeQueued();
    cid = harness.connect(kPeer);
    const auto scripted = harness.advanceUntil(BLE_EVT_DISCONNECTED, 20000);
    ASSERT_TRUE(scripted);
    EXPECT_EQ(scripted->at, 8000u);
    EXPECT_EQ(record<BleHostDisconnectEvent>(*scripted).reason, 0x13);
}

TEST_F(Connection, DeinitDropsTheLinkSilently) {
    harness.start(gattWorld());
    const uint32_t cid = harness.connect(kPeer);
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 3), ORV_BLE_OK);
    OrvBleHostDeinit();
    orv::sim::advance(60000);
    EXPECT_TRUE(HostHarness::posted.empty());
}

TEST_F(Connection, ParametersAreAnsweredWithTheNewValuesOrAFailedEvent6) {
    harness.start(gattWorld());
    ASSERT_EQ(OrvBleHostSetConnectionParams(0xFFFF, 0xFFFF, 10, 10, 0, 125), ORV_BLE_OK);
    EXPECT_TRUE(HostHarness::posted.empty());
    ASSERT_EQ(OrvBleHostSetConnectionParams(0xFFFF, 0xFFFF, 3200, 3200, 7, 3200), ORV_BLE_OK);
    orv::sim::advance(100);
    ASSERT_EQ(harness.codes(), (std::vector<uint32_t>{BLE_EVT_CONN_PARAMS_SET, BLE_EVT_CONN_PARAMS_SET}));
    EXPECT_EQ(HostHarness::posted[0].lParam, 0);
    EXPECT_EQ(HostHarness::posted[1].lParam, 0x12) << "refused by the Core rule";
    harness.freeQueued();
    const uint32_t cid = harness.connect(kPeer);
    ASSERT_EQ(OrvBleHostUpdateConnectionParams(addressOf(kPeer), 400, 400, 4, 1000, 0xFFFF, 0xFFFF),
              ORV_BLE_OK);
    const auto event = harness.advanceUntil(BLE_EVT_CONN_PARAMS_UPDATED);
    ASSERT_TRUE(event);
    const auto& updated = record<BleHostConnParamsUpdatedEvent>(*event);
    EXPECT_EQ(updated.cid, cid);
    EXPECT_EQ(updated.intervalMin, 400);
    EXPECT_EQ(updated.slaveLatency, 4);
    EXPECT_EQ(updated.supervisionTimeout, 1000);
    harness.freeQueued();
    ASSERT_EQ(OrvBleHostUpdateConnectionParams(addressOf(kPeer), 5, 400, 4, 1000, 0xFFFF, 0xFFFF),
              ORV_BLE_OK);
    const auto refused = harness.advanceUntil(BLE_EVT_CONN_PARAMS_SET);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->lParam, 0x12);
}

class PeerParameterRequest : public Connection, public ::testing::WithParamInterface<bool> {};

TEST_P(PeerParameterRequest, IsPostedAndAnsweredOnce) {
    json world = gattWorld();
    world["peers"][0]["parameterRequest"] = {{"afterMs", 3000},
                                             {"intervalMin", 80},
                                             {"intervalMax", 100},
                                             {"slaveLatency", 2},
                                             {"supervisionTimeout", 600}};
    harness.start(world);
    const uint32_t cid = harness.connect(kPeer);
    const auto event = harness.advanceUntil(BLE_EVT_REMOTE_CONN_PARAMS);
    ASSERT_TRUE(event);
    const auto& request = record<BleHostConnParamRequestEvent>(*event);
    EXPECT_EQ(request.cid, cid);
    EXPECT_EQ(request.intervalMin, 80);
    EXPECT_EQ(request.intervalMax, 100);
    EXPECT_EQ(request.slaveLatency, 2);
    EXPECT_EQ(request.supervisionTimeout, 600);
    const uint16_t id = request.requestId;
    EXPECT_EQ(OrvBleHostAcceptConnUpdate(cid, static_cast<uint16_t>(id + 1), 1), ORV_BLE_E_INVALID_ARGUMENT);
    ASSERT_EQ(OrvBleHostAcceptConnUpdate(cid, id, GetParam()), ORV_BLE_OK);
    EXPECT_EQ(OrvBleHostAcceptConnUpdate(cid, id, 1), ORV_BLE_E_INVALID_ARGUMENT) << "answered once";
    harness.freeQueued();
    orv::sim::advance(10000);
    if (!GetParam()) {
        EXPECT_TRUE(HostHarness::posted.empty()) << "a rejection changes nothing";
        return;
    }
    ASSERT_EQ(harness.codes(), std::vector<uint32_t>{BLE_EVT_CONN_PARAMS_UPDATED});
    EXPECT_EQ(record<BleHostConnParamsUpdatedEvent>(HostHarness::posted[0]).intervalMax, 100);
}

INSTANTIATE_TEST_SUITE_P(Answers, PeerParameterRequest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Accepted" : "Rejected"; });

TEST_F(Connection, ConnectedPeerStopsAdvertisingUntilTheLinkEnds) {
    harness.start(gattWorld());
    const uint32_t cid = harness.connect(kPeer);
    ASSERT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_OK);
    orv::sim::advance(1000);
    EXPECT_TRUE(harness.eventsWithCode(BLE_EVT_DEVICE_FOUND).empty());
    ASSERT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_OK);
    orv::sim::advance(1000);
    EXPECT_FALSE(harness.eventsWithCode(BLE_EVT_DEVICE_FOUND).empty());
}

TEST_F(Connection, RssiReadsFollowThePeersModel) {
    json world = gattWorld();
    world["peers"][0]["rssi"] = {{"mean", -70}, {"jitter", 3}};
    harness.start(world);
    harness.connect(kPeer);
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(OrvBleHostGetRssi(addressOf(kPeer)), ORV_BLE_OK);
        const auto event = harness.advanceUntil(BLE_EVT_RSSI_READ);
        ASSERT_TRUE(event);
        const auto& rssi = record<BleHostRssiEvent>(*event);
        EXPECT_TRUE(rssi.status == 0 && rssi.rssi >= -73 && rssi.rssi <= -67) << int{rssi.rssi};
        harness.freeQueued();
    }
}

} // namespace
} // namespace orv::host::test
