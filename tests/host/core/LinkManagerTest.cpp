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
        json world = gattWorld();
        world["peers"][0].update(peerFields);
        harness.start(world);
        const BleTypedAddress address = addressOf(text, type);
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
    EXPECT_TRUE(HostHarness::posted.empty()) << "answered later";
    harness.advanceUntil(BLE_EVT_CONNECT_RESULT);
    EXPECT_EQ(OrvBleHostConnect(addressOf(kPeer)), ORV_BLE_E_WRONG_STATE) << "already connected";
    EXPECT_EQ(OrvBleHostGetRssi(addressOf(kPeer, 1)), ORV_BLE_E_NOT_CONNECTED)
        << "another device: its type differs";
}

// The host's own disconnection, the peer's, then one the world scripts at its time; a de-initialisation
// drops the last link silently.
TEST_F(Connection, DisconnectionEndsWithEvent5AndItsReasonOrSilentlyWithTheHost) {
    json world = gattWorld();
    world["events"] = json::array({{{"at", 20000}, {"action", "disconnect"}, {"address", kPeer}}});
    harness.start(world);
    const auto disconnected = [&](uint16_t reason) {
        const auto event = harness.advanceUntil(BLE_EVT_DISCONNECTED, 20000);
        ASSERT_TRUE(event);
        const auto& record = orv::host::test::record<BleHostDisconnectEvent>(*event);
        EXPECT_EQ(std::pair(record.cid, record.reason), std::pair(cid, reason));
        EXPECT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_E_NOT_CONNECTED);
        harness.freeQueued();
    };
    cid = harness.connect(kPeer);
    ASSERT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_OK);
    EXPECT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_E_WRONG_STATE);
    EXPECT_EQ(OrvBleClientReadCharByHandle(cid, 3), ORV_BLE_E_NOT_CONNECTED);
    EXPECT_TRUE(HostHarness::posted.empty());
    disconnected(0x16);
    cid = harness.connect(kPeer);
    ASSERT_TRUE(orv::sim::disconnectPeer(kPeer, 0x08));
    EXPECT_TRUE(HostHarness::posted.empty());
    disconnected(0x08);
    EXPECT_FALSE(orv::sim::disconnectPeer(kPeer, 0x08)) << "no link any more";
    cid = harness.connect(kPeer);
    disconnected(0x13);
    EXPECT_EQ(orv::sim::now(), 20000u) << "the scripted disconnection";
    cid = harness.connect(kPeer);
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 3), ORV_BLE_OK);
    OrvBleHostDeinit();
    orv::sim::advance(60000);
    EXPECT_TRUE(HostHarness::posted.empty());
}

TEST_F(Connection, ParametersAreAnsweredWithTheNewValuesOrAFailedEvent6) {
    harness.start(gattWorld());
    ASSERT_EQ(OrvBleHostSetConnectionParams(0xFFFF, 0xFFFF, 10, 10, 0, 125), ORV_BLE_OK);
    ASSERT_EQ(OrvBleHostSetConnectionParams(0xFFFF, 0xFFFF, 3200, 3200, 7, 3200), ORV_BLE_OK);
    EXPECT_TRUE(HostHarness::posted.empty());
    orv::sim::advance(100);
    ASSERT_EQ(harness.codes(), (std::vector<uint32_t>{BLE_EVT_CONN_PARAMS_SET, BLE_EVT_CONN_PARAMS_SET}));
    EXPECT_EQ(HostHarness::posted[0].lParam, 0);
    EXPECT_EQ(HostHarness::posted[1].lParam, 0x12) << "refused by the Core rule";
    harness.freeQueued();
    cid = harness.connect(kPeer);
    ASSERT_EQ(OrvBleHostUpdateConnectionParams(addressOf(kPeer), 400, 420, 4, 1000, 0xFFFF, 0xFFFF),
              ORV_BLE_OK);
    const auto event = harness.advanceUntil(BLE_EVT_CONN_PARAMS_UPDATED);
    ASSERT_TRUE(event);
    const auto& updated = record<BleHostConnParamsUpdatedEvent>(*event);
    EXPECT_EQ(std::tuple(updated.cid, updated.intervalMin, updated.intervalMax, updated.slaveLatency,
                         updated.supervisionTimeout),
              std::tuple(cid, 400, 420, 4, 1000));
    harness.freeQueued();
    ASSERT_EQ(OrvBleHostUpdateConnectionParams(addressOf(kPeer), 5, 400, 4, 1000, 0xFFFF, 0xFFFF),
              ORV_BLE_OK);
    const auto refused = harness.advanceUntil(BLE_EVT_CONN_PARAMS_SET);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->lParam, 0x12);
}

// An accepted request reaches the link end to end; a rejected one changes nothing.
TEST_F(Connection, PeerParameterRequestIsAnsweredOnce) {
    json world = gattWorld();
    world["peers"][0]["parameterRequest"] = {{"afterMs", 3000},
                                             {"intervalMin", 80},
                                             {"intervalMax", 100},
                                             {"slaveLatency", 2},
                                             {"supervisionTimeout", 600}};
    cid = harness.startConnected(world, kPeer);
    const auto event = harness.advanceUntil(BLE_EVT_REMOTE_CONN_PARAMS);
    ASSERT_TRUE(event);
    EXPECT_EQ(record<BleHostConnParamRequestEvent>(*event).cid, cid);
    const uint16_t id = record<BleHostConnParamRequestEvent>(*event).requestId;
    EXPECT_EQ(OrvBleHostAcceptConnUpdate(cid, static_cast<uint16_t>(id + 1), 1), ORV_BLE_E_INVALID_ARGUMENT);
    ASSERT_EQ(OrvBleHostAcceptConnUpdate(cid, id, 0), ORV_BLE_OK);
    EXPECT_EQ(OrvBleHostAcceptConnUpdate(cid, id, 1), ORV_BLE_E_INVALID_ARGUMENT) << "answered once";
    harness.freeQueued();
    orv::sim::advance(10000);
    EXPECT_TRUE(HostHarness::posted.empty()) << "a rejection changes nothing";
}

TEST_F(Connection, ConnectedPeerStopsAdvertisingUntilTheLinkEnds) {
    const uint32_t cid = harness.startConnected(gattWorld(), kPeer);
    ASSERT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_OK);
    orv::sim::advance(1000);
    EXPECT_TRUE(harness.eventsWithCode(BLE_EVT_DEVICE_FOUND).empty());
    ASSERT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_OK);
    orv::sim::advance(1000);
    EXPECT_FALSE(harness.eventsWithCode(BLE_EVT_DEVICE_FOUND).empty());
}

} // namespace
} // namespace orv::host::test
