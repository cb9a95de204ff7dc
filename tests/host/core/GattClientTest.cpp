#include "../HostHarness.h"

#include <gtest/gtest.h>

#include <numeric>

namespace orv::host::test {
namespace {

const std::string kPeer = "AA:BB:CC:DD:EE:01";

class Gatt : public HostTest {
protected:
    void SetUp() override { cid = harness.startConnected(gattWorld(), kPeer); }
    // Advances until the event comes and checks that nothing else was posted before it.
    PostedEvent only(uint32_t code) {
        const auto event = harness.advanceUntil(code);
        EXPECT_TRUE(event) << "no event " << code;
        EXPECT_EQ(harness.codes(), std::vector<uint32_t>{code});
        return event.value_or(PostedEvent{});
    }
};

TEST_F(Gatt, DiscoveryReportsTheWorldsDatabaseInOneRecord) {
    ASSERT_EQ(OrvBleClientDiscoverDatabase(cid), ORV_BLE_OK);
    EXPECT_EQ(OrvBleClientDiscoverDatabase(cid), ORV_BLE_E_BUSY);
    EXPECT_TRUE(HostHarness::posted.empty());
    const auto& db = record<BleHostDatabaseEvent>(only(BLE_EVT_DATABASE_DISCOVERED));
    EXPECT_EQ(db.cid, cid);
    EXPECT_EQ(db.status, 0);
    ASSERT_EQ(db.serviceCount, 3);
    EXPECT_EQ(db.services[0].endHandle, 3);
    ASSERT_EQ(db.services[1].characteristicCount, 3);
    const BleHostCharacteristicRecord& measurement = db.services[1].characteristics[0];
    EXPECT_EQ(std::tuple(measurement.uuid.uuid16, measurement.declarationHandle, measurement.valueHandle,
                         measurement.properties),
              std::tuple(0x2A37, 5, 6, kPropertyNotify));
    ASSERT_EQ(measurement.descriptorCount, 1);
    EXPECT_EQ(measurement.descriptors[0].handle, 7);
    const BleHostCharacteristicRecord& vendor = db.services[2].characteristics[0];
    EXPECT_EQ(db.services[2].uuid.uuid128[13], 0xFF);
    EXPECT_EQ(vendor.properties, 0x2E);
    ASSERT_EQ(vendor.descriptorCount, 3);
    EXPECT_EQ(vendor.descriptors[1].uuid.uuid16, 0x2901);
    EXPECT_EQ(vendor.descriptors[2].uuid.kind, BLE_UUID_KIND_128);
    EXPECT_EQ(vendor.descriptors[2].handle, 17);
}

TEST_F(Gatt, ReadsAnswerWithTheValueOrTheAttError) {
    const std::tuple<const char*, uint16_t, ReadResult> reads[] = {
        {"Value", 9, {0, {0x01}}},
        {"LongValueWhole", 14, {0, Bytes(60, 'L')}},
        {"WorldError", 11, {0x81, {}}}};
    for (const auto& [name, handle, result] : reads)
        EXPECT_EQ(harness.read(cid, handle), result) << name;
}

struct WriteCase {
    const char* name;
    uint16_t handle;
    Bytes value;
    uint16_t status;
    Bytes peerValue; // the peer's value afterwards
};

const std::string kName = "Renamed ✓";
Bytes counting(size_t n) {
    Bytes value(n);
    std::iota(value.begin(), value.end(), uint8_t{0});
    return value;
}

TEST_F(Gatt, WritesChangeThePeersValueOrCarryTheAttError) {
    const WriteCase writes[] = {
        {"Request", 3, Bytes(kName.begin(), kName.end()), 0, Bytes(kName.begin(), kName.end())},
        {"LongWithPreparedWrites", 14, counting(45), 0, counting(45)},
        {"RefusedByTheWorld", 11, {0x01}, 0x80, {}},
        {"LongToAReadOnlyValueRefusedAtItsFirstPart", 9, Bytes(30, 1), 0x03, {0x01}}};
    for (const WriteCase& c : writes) {
        EXPECT_EQ(harness.write(cid, c.handle, c.value), c.status) << c.name;
        EXPECT_EQ(orv::sim::peerAttributeValue(kPeer, c.handle), c.peerValue) << c.name;
    }
}

TEST_F(Gatt, OneReadAndOneWriteAtATime) {
    const uint8_t name[] = {'N'};
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 9), ORV_BLE_OK);
    ASSERT_EQ(OrvBleClientWriteCfmCharByHandle(cid, 3, 0, 1, name), ORV_BLE_OK);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(OrvBleClientReadCharByHandle(cid, 3), ORV_BLE_E_BUSY);
    EXPECT_EQ(OrvBleClientWriteCharByHandle(cid, 0, 14, 1, name), ORV_BLE_E_BUSY);
    EXPECT_EQ(OrvBleClientWriteConfiguration(cid, 7, 6, 1), ORV_BLE_E_BUSY);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "veyrahost: a read is already outstanding on this link; request refused\n"
              "veyrahost: a write is already outstanding on this link; request refused\n"
              "veyrahost: a write is already outstanding on this link; request refused\n");
    orv::sim::advance(1000);
    EXPECT_EQ(harness.codes(), (std::vector<uint32_t>{BLE_EVT_CHAR_READ, BLE_EVT_CHAR_WRITTEN}));
    EXPECT_EQ(OrvBleClientReadCharByHandle(cid, 3), ORV_BLE_OK) << "free again after the answer";
}

TEST_F(Gatt, WriteCommandAndConfigurationWriteGetAWriteResult) {
    const uint8_t bytes[] = {0xAB, 0xCD};
    ASSERT_EQ(OrvBleClientWriteCharByHandle(cid, 0, 14, 2, bytes), ORV_BLE_OK);
    EXPECT_TRUE(HostHarness::posted.empty());
    const auto& command = record<BleHostWriteEvent>(only(BLE_EVT_CHAR_WRITTEN));
    EXPECT_EQ(std::tuple(command.status, command.handle, command.cid), std::tuple(0, 14, cid));
    harness.freeQueued();
    orv::sim::advance(100);
    EXPECT_EQ(orv::sim::peerAttributeValue(kPeer, 14), (Bytes{0xAB, 0xCD}));
    ASSERT_EQ(OrvBleClientWriteConfiguration(cid, 15, 14, 2), ORV_BLE_OK);
    EXPECT_EQ(record<BleHostWriteEvent>(only(BLE_EVT_CHAR_WRITTEN)).handle, 15) << "the descriptor's handle";
    EXPECT_EQ(orv::sim::peerAttributeValue(kPeer, 15), (Bytes{0x02, 0x00}));
}

TEST_F(Gatt, BadArgumentsAreRefusedAtTheBoundary) {
    EXPECT_EQ(OrvBleClientReadCharByHandle(cid, 0), ORV_BLE_E_INVALID_ARGUMENT);
    EXPECT_EQ(OrvBleClientWriteCfmCharByHandle(cid, 3, 0, 4, nullptr), ORV_BLE_E_INVALID_ARGUMENT);
    EXPECT_EQ(OrvBleClientWriteCharByHandle(cid, 0, 3, 4, nullptr), ORV_BLE_E_INVALID_ARGUMENT);
    EXPECT_EQ(OrvBleClientWriteConfiguration(cid, 7, 6, 0x10000), ORV_BLE_E_INVALID_ARGUMENT);
    EXPECT_EQ(OrvBleClientReadCharByHandle(cid + 1, 3), ORV_BLE_E_NOT_CONNECTED);
    EXPECT_EQ(OrvBleClientDiscoverDatabase(cid + 1), ORV_BLE_E_NOT_CONNECTED);
}

TEST_F(Gatt, NotificationsAndIndicationsCarryTheExactBytes) {
    for (const uint8_t indication : {0, 1}) {
        ASSERT_TRUE(orv::sim::injectNotification(kPeer, 14, {0x16, 0x48}, indication == 1));
        const auto& value = record<BleHostNotificationEvent>(only(BLE_EVT_NOTIFICATION));
        EXPECT_EQ(std::tuple(value.cid, value.indication, value.handle,
                             Bytes(value.value, value.value + value.length)),
                  std::tuple(cid, indication, uint16_t{14}, Bytes{0x16, 0x48}));
        harness.freeQueued();
    }
}

TEST_F(Gatt, MalformedPdusAreLoggedAndIgnored) {
    ::testing::internal::CaptureStderr();
    for (const Bytes& pdu : {Bytes{0x1B, 0x06}, Bytes{0x0B, 0x01}, Bytes{0x01}}) {
        ASSERT_TRUE(orv::sim::injectAttPdu(kPeer, pdu));
    }
    orv::sim::advance(1000);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "veyrahost: notification of 2 bytes is too short; ignored\n"
              "veyrahost: unexpected ATT PDU 0xb of 2 bytes; ignored\n"
              "veyrahost: unexpected ATT PDU 0x1 of 1 bytes; ignored\n");
    EXPECT_TRUE(HostHarness::posted.empty());
    EXPECT_EQ(harness.read(cid, 9).status, 0) << "the bearer still works";
}

// A peer PDU longer than the MTU never becomes a result: notifications and indications are dropped, a
// read response ends the read as the peer's protocol error, whatever length field it would overflow.
TEST_F(Gatt, OversizedPduIsAProtocolErrorThatEndsOnlyTheReadItAnswers) {
    ASSERT_TRUE(orv::sim::setPeerSilent(kPeer, true));
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 9), ORV_BLE_OK);
    const std::pair<uint8_t, size_t> pdus[] = {
        {0x1B, 24}, {0x1B, 70000}, {0x1D, 600}, {0x0B, 600}, {0x0B, 70000}};
    for (const auto& [opcode, length] : pdus) {
        SCOPED_TRACE(length);
        orv::sim::advance(100);
        Bytes pdu(length, 0x5A);
        pdu[0] = opcode;
        pdu[1] = 6;
        pdu[2] = 0;
        ::testing::internal::CaptureStderr();
        ASSERT_TRUE(orv::sim::injectAttPdu(kPeer, pdu));
        orv::sim::advance(100);
        EXPECT_NE(::testing::internal::GetCapturedStderr().find("exceeds the MTU"), std::string::npos);
        if (opcode != 0x0B) {
            EXPECT_TRUE(HostHarness::posted.empty());
            continue;
        }
        ASSERT_EQ(harness.codes(), std::vector<uint32_t>{BLE_EVT_CHAR_READ});
        const auto& read = record<BleHostReadEvent>(HostHarness::posted[0]);
        EXPECT_EQ(std::pair(read.status, read.length), std::pair(uint16_t{0x04}, uint16_t{0}));
        harness.freeQueued();
        ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 9), ORV_BLE_OK);
    }
}

int deinitFromHook(OrvHwnd, uint32_t message, uintptr_t code, intptr_t lParam) {
    HostHarness::posted.push_back({message, static_cast<uint32_t>(code), lParam, orv::sim::now()});
    OrvBleHostDeinit();
    return 1;
}

TEST_F(Gatt, DeinitFromInsideThePostHookIsRefused) {
    const OrvBleHostPlatform platform{[](const char*) { return HostHarness::registerResult; },
                                      deinitFromHook};
    OrvBleHostSetPlatform(&platform);
    ::testing::internal::CaptureStderr();
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 9), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_CHAR_READ));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("from inside postMessage"), std::string::npos);
    HostHarness::installPlatform();
    EXPECT_EQ(OrvBleClientReadCharByHandle(cid, 9), ORV_BLE_OK) << "the library is still up";
}

// A silent peer drops its link end to end; here a characteristic that never answers.
TEST_F(Gatt, UnansweredRequestDropsTheLinkAfter30Seconds) {
    nlohmann::json world = gattWorld();
    world["peers"][0]["gatt"][1]["characteristics"][1]["silent"] = true;
    cid = harness.startConnected(world, kPeer);
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 9), ORV_BLE_OK);
    const uint64_t asked = orv::sim::now();
    orv::sim::advance(29900);
    EXPECT_TRUE(HostHarness::posted.empty());
    const auto event = harness.advanceUntil(BLE_EVT_DISCONNECTED, 5000);
    ASSERT_TRUE(event);
    EXPECT_GE(event->at, asked + 30000);
    EXPECT_EQ(record<BleHostDisconnectEvent>(*event).cid, cid);
    EXPECT_EQ(harness.codes(), std::vector<uint32_t>{BLE_EVT_DISCONNECTED});
}

TEST_F(Gatt, DisconnectMidReadGivesNoReadResult) {
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 14), ORV_BLE_OK);
    orv::sim::advance(30);
    ASSERT_TRUE(orv::sim::disconnectPeer(kPeer, 0x13));
    orv::sim::advance(60000);
    EXPECT_EQ(harness.codes(), std::vector<uint32_t>{BLE_EVT_DISCONNECTED});
}

} // namespace
} // namespace orv::host::test
