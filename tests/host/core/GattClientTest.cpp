#include "../HostHarness.h"

#include <gtest/gtest.h>

namespace orv::host::test {
namespace {

const std::string kPeer = "AA:BB:CC:DD:EE:01";

template <typename Record> const Record& recordOf(const PostedEvent& event) {
    return *reinterpret_cast<const Record*>(event.lParam);
}

std::vector<uint8_t> valueOf(const BleHostReadEvent& event) {
    return {event.value, event.value + event.length};
}

class Gatt : public ::testing::Test {
protected:
    void SetUp() override {
        harness.load(gattWorld());
        harness.startHost();
        cid = harness.connect(kPeer);
    }
    void TearDown() override {
        harness.freeAll(harness.takeEvents());
        EXPECT_EQ(orv::sim::liveRecordCount(), 0u);
    }
    // Advances until the event comes, checks nothing else was posted before it and takes it.
    PostedEvent expectOnly(uint32_t code) {
        const auto event = harness.advanceUntil(code);
        EXPECT_TRUE(event) << "no event " << code;
        auto events = harness.takeEvents();
        EXPECT_EQ(events.size(), 1u);
        taken.insert(taken.end(), events.begin(), events.end());
        return event.value_or(PostedEvent{});
    }
    void TearDownTaken() { harness.freeAll(taken); }

    HostHarness harness;
    uint32_t cid = 0;
    std::vector<PostedEvent> taken;
};

TEST_F(Gatt, DiscoveryReportsTheWorldsDatabase) {
    ASSERT_EQ(OrvBleClientDiscoverDatabase(cid), ORV_BLE_OK);
    EXPECT_TRUE(harness.takeEvents().empty());
    const PostedEvent event = expectOnly(BLE_EVT_DATABASE_DISCOVERED);
    const auto& db = recordOf<BleHostDatabaseEvent>(event);
    EXPECT_EQ(db.cid, cid);
    EXPECT_EQ(db.status, 0);
    ASSERT_EQ(db.serviceCount, 3);
    EXPECT_EQ(db.services[0].uuid.kind, BLE_UUID_KIND_16);
    EXPECT_EQ(db.services[0].uuid.uuid16, 0x1800);
    EXPECT_EQ(db.services[0].startHandle, 1);
    EXPECT_EQ(db.services[0].endHandle, 3);
    const BleHostServiceRecord& heartRate = db.services[1];
    EXPECT_EQ(heartRate.uuid.uuid16, 0x180D);
    ASSERT_EQ(heartRate.characteristicCount, 3);
    EXPECT_EQ(heartRate.characteristics[0].uuid.uuid16, 0x2A37);
    EXPECT_EQ(heartRate.characteristics[0].declarationHandle, 5);
    EXPECT_EQ(heartRate.characteristics[0].valueHandle, 6);
    EXPECT_EQ(heartRate.characteristics[0].properties, 0x10);
    ASSERT_EQ(heartRate.characteristics[0].descriptorCount, 1);
    EXPECT_EQ(heartRate.characteristics[0].descriptors[0].uuid.uuid16, 0x2902);
    EXPECT_EQ(heartRate.characteristics[0].descriptors[0].handle, 7);
    EXPECT_EQ(heartRate.characteristics[1].descriptorCount, 0);
    EXPECT_EQ(heartRate.characteristics[2].valueHandle, 11);
    const BleHostServiceRecord& vendor = db.services[2];
    EXPECT_EQ(vendor.uuid.kind, BLE_UUID_KIND_128);
    EXPECT_EQ(vendor.uuid.uuid128[15], 0x00);
    EXPECT_EQ(vendor.uuid.uuid128[13], 0xFF);
    EXPECT_EQ(vendor.uuid.uuid128[12], 0xF0);
    EXPECT_EQ(vendor.uuid.uuid128[0], 0xD4);
    ASSERT_EQ(vendor.characteristicCount, 1);
    const BleHostCharacteristicRecord& value = vendor.characteristics[0];
    EXPECT_EQ(value.uuid.kind, BLE_UUID_KIND_128);
    EXPECT_EQ(value.properties, 0x2E);
    ASSERT_EQ(value.descriptorCount, 3);
    EXPECT_EQ(value.descriptors[0].uuid.uuid16, 0x2902);
    EXPECT_EQ(value.descriptors[1].uuid.uuid16, 0x2901);
    EXPECT_EQ(value.descriptors[1].handle, 16);
    EXPECT_EQ(value.descriptors[2].uuid.kind, BLE_UUID_KIND_128);
    EXPECT_EQ(value.descriptors[2].handle, 17);
    TearDownTaken();
}

TEST_F(Gatt, SecondDiscoveryWhileOneRunsIsRefused) {
    ASSERT_EQ(OrvBleClientDiscoverDatabase(cid), ORV_BLE_OK);
    EXPECT_EQ(OrvBleClientDiscoverDatabase(cid), ORV_BLE_E_BUSY);
}

TEST_F(Gatt, PeerWithoutDatabaseGivesAnEmptyDiscovery) {
    harness.freeAll(harness.takeEvents());
    OrvBleHostDeinit();
    nlohmann::json world = gattWorld();
    world["peers"][0].erase("gatt");
    harness.load(world);
    harness.startHost();
    cid = harness.connect(kPeer);
    ASSERT_EQ(OrvBleClientDiscoverDatabase(cid), ORV_BLE_OK);
    const PostedEvent event = expectOnly(BLE_EVT_DATABASE_DISCOVERED);
    EXPECT_EQ(recordOf<BleHostDatabaseEvent>(event).status, 0);
    EXPECT_EQ(recordOf<BleHostDatabaseEvent>(event).serviceCount, 0);
    TearDownTaken();
}

TEST_F(Gatt, ReadAnswersWithTheValue) {
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 9), ORV_BLE_OK);
    EXPECT_TRUE(harness.takeEvents().empty());
    const PostedEvent event = expectOnly(BLE_EVT_CHAR_READ);
    const auto& read = recordOf<BleHostReadEvent>(event);
    EXPECT_EQ(read.status, 0);
    EXPECT_EQ(read.cid, cid);
    EXPECT_EQ(read.handle, 9);
    EXPECT_EQ(valueOf(read), std::vector<uint8_t>{0x01});
    TearDownTaken();
}

TEST_F(Gatt, LongValueIsReadWhole) {
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 14), ORV_BLE_OK);
    const PostedEvent event = expectOnly(BLE_EVT_CHAR_READ);
    EXPECT_EQ(valueOf(recordOf<BleHostReadEvent>(event)), std::vector<uint8_t>(60, 'L'));
    TearDownTaken();
}

struct ReadErrorCase {
    const char* name;
    uint16_t handle;
    uint16_t status;
};

class GattReadError : public Gatt, public ::testing::WithParamInterface<ReadErrorCase> {};

TEST_P(GattReadError, CarriesTheAttError) {
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, GetParam().handle), ORV_BLE_OK);
    const PostedEvent event = expectOnly(BLE_EVT_CHAR_READ);
    const auto& read = recordOf<BleHostReadEvent>(event);
    EXPECT_EQ(read.status, GetParam().status);
    EXPECT_EQ(read.handle, GetParam().handle);
    EXPECT_EQ(read.length, 0);
    TearDownTaken();
}

INSTANTIATE_TEST_SUITE_P(Handles, GattReadError,
                         ::testing::Values(ReadErrorCase{"NotReadable", 6, 0x02},
                                           ReadErrorCase{"Unknown", 200, 0x01},
                                           ReadErrorCase{"WorldError", 11, 0x81}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Gatt, ErrorHookAnswersReadsAndWrites) {
    ASSERT_TRUE(orv::sim::setPeerAttError(kPeer, 9, 0x05));
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 9), ORV_BLE_OK);
    EXPECT_EQ(recordOf<BleHostReadEvent>(expectOnly(BLE_EVT_CHAR_READ)).status, 0x05);
    ASSERT_TRUE(orv::sim::setPeerAttError(kPeer, 9, 0));
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 9), ORV_BLE_OK);
    EXPECT_EQ(recordOf<BleHostReadEvent>(expectOnly(BLE_EVT_CHAR_READ)).status, 0);
    EXPECT_FALSE(orv::sim::setPeerAttError(kPeer, 500, 0x05));
    TearDownTaken();
}

TEST_F(Gatt, OneReadAndOneWriteAtATime) {
    const uint8_t name[] = {'N'};
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 9), ORV_BLE_OK);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(OrvBleClientReadCharByHandle(cid, 3), ORV_BLE_E_BUSY);
    EXPECT_FALSE(::testing::internal::GetCapturedStderr().empty()) << "a refused request is logged";
    ASSERT_EQ(OrvBleClientWriteCfmCharByHandle(cid, 3, 0, 1, name), ORV_BLE_OK);
    EXPECT_EQ(OrvBleClientWriteCharByHandle(cid, 0, 14, 1, name), ORV_BLE_E_BUSY);
    EXPECT_EQ(OrvBleClientWriteConfiguration(cid, 7, 6, 1), ORV_BLE_E_BUSY);
    orv::sim::advance(1000);
    EXPECT_EQ(harness.eventsWithCode(BLE_EVT_CHAR_READ).size(), 1u);
    EXPECT_EQ(harness.eventsWithCode(BLE_EVT_CHAR_WRITTEN).size(), 1u);
    EXPECT_EQ(OrvBleClientReadCharByHandle(cid, 3), ORV_BLE_OK) << "free again after the answer";
}

TEST_F(Gatt, WriteRequestChangesThePeersValue) {
    const std::string name = "Renamed ✓";
    ASSERT_EQ(OrvBleClientWriteCfmCharByHandle(cid, 3, 0, static_cast<uint8_t>(name.size()),
                                               reinterpret_cast<const uint8_t*>(name.data())),
              ORV_BLE_OK);
    const PostedEvent event = expectOnly(BLE_EVT_CHAR_WRITTEN);
    EXPECT_EQ(recordOf<BleHostWriteEvent>(event).status, 0);
    EXPECT_EQ(recordOf<BleHostWriteEvent>(event).handle, 3);
    EXPECT_EQ(recordOf<BleHostWriteEvent>(event).cid, cid);
    EXPECT_EQ(orv::sim::peerAttributeValue(kPeer, 3), std::vector<uint8_t>(name.begin(), name.end()));
    TearDownTaken();
}

TEST_F(Gatt, LongWriteUsesPreparedWrites) {
    std::vector<uint8_t> value(45);
    for (size_t i = 0; i < value.size(); ++i) {
        value[i] = static_cast<uint8_t>(i);
    }
    ASSERT_EQ(OrvBleClientWriteCfmCharByHandle(cid, 14, 0, static_cast<uint8_t>(value.size()), value.data()),
              ORV_BLE_OK);
    const PostedEvent event = expectOnly(BLE_EVT_CHAR_WRITTEN);
    EXPECT_EQ(recordOf<BleHostWriteEvent>(event).status, 0);
    EXPECT_EQ(orv::sim::peerAttributeValue(kPeer, 14), value);
    TearDownTaken();
}

TEST_F(Gatt, RefusedWriteCarriesTheAttError) {
    const uint8_t command[] = {0x01};
    ASSERT_EQ(OrvBleClientWriteCfmCharByHandle(cid, 11, 0, 1, command), ORV_BLE_OK);
    EXPECT_EQ(recordOf<BleHostWriteEvent>(expectOnly(BLE_EVT_CHAR_WRITTEN)).status, 0x80);
    const std::vector<uint8_t> big(30, 1);
    ASSERT_EQ(OrvBleClientWriteCfmCharByHandle(cid, 9, 0, 30, big.data()), ORV_BLE_OK);
    EXPECT_EQ(recordOf<BleHostWriteEvent>(expectOnly(BLE_EVT_CHAR_WRITTEN)).status, 0x03)
        << "a long write to a read-only value is refused at its first part";
    EXPECT_EQ(orv::sim::peerAttributeValue(kPeer, 9), std::vector<uint8_t>{0x01});
    TearDownTaken();
}

TEST_F(Gatt, WriteCommandAlsoGetsAWriteResult) {
    const uint8_t bytes[] = {0xAB, 0xCD};
    ASSERT_EQ(OrvBleClientWriteCharByHandle(cid, 0, 14, 2, bytes), ORV_BLE_OK);
    EXPECT_TRUE(harness.takeEvents().empty());
    const PostedEvent event = expectOnly(BLE_EVT_CHAR_WRITTEN);
    EXPECT_EQ(recordOf<BleHostWriteEvent>(event).status, 0);
    EXPECT_EQ(recordOf<BleHostWriteEvent>(event).handle, 14);
    orv::sim::advance(100);
    EXPECT_EQ(orv::sim::peerAttributeValue(kPeer, 14), (std::vector<uint8_t>{0xAB, 0xCD}));
    TearDownTaken();
}

TEST_F(Gatt, ConfigurationWriteResultCarriesTheDescriptorHandle) {
    ASSERT_EQ(OrvBleClientWriteConfiguration(cid, 7, 6, 1), ORV_BLE_OK);
    const PostedEvent event = expectOnly(BLE_EVT_CHAR_WRITTEN);
    EXPECT_EQ(recordOf<BleHostWriteEvent>(event).status, 0);
    EXPECT_EQ(recordOf<BleHostWriteEvent>(event).handle, 7);
    EXPECT_EQ(orv::sim::peerAttributeValue(kPeer, 7), (std::vector<uint8_t>{0x01, 0x00}));
    ASSERT_EQ(OrvBleClientWriteConfiguration(cid, 15, 14, 2), ORV_BLE_OK);
    expectOnly(BLE_EVT_CHAR_WRITTEN);
    EXPECT_EQ(orv::sim::peerAttributeValue(kPeer, 15), (std::vector<uint8_t>{0x02, 0x00}));
    TearDownTaken();
}

TEST_F(Gatt, BadArgumentsAreRefusedAtTheBoundary) {
    EXPECT_EQ(OrvBleClientReadCharByHandle(cid, 0), ORV_BLE_E_INVALID_ARGUMENT);
    EXPECT_EQ(OrvBleClientWriteCfmCharByHandle(cid, 3, 0, 4, nullptr), ORV_BLE_E_INVALID_ARGUMENT);
    EXPECT_EQ(OrvBleClientWriteCharByHandle(cid, 0, 3, 4, nullptr), ORV_BLE_E_INVALID_ARGUMENT);
    EXPECT_EQ(OrvBleClientWriteConfiguration(cid, 7, 6, 0x10000), ORV_BLE_E_INVALID_ARGUMENT);
    EXPECT_EQ(OrvBleClientReadCharByHandle(cid + 1, 3), ORV_BLE_E_NOT_CONNECTED);
    EXPECT_EQ(OrvBleClientDiscoverDatabase(cid + 1), ORV_BLE_E_NOT_CONNECTED);
}

TEST_F(Gatt, NotificationsCarryTheExactBytes) {
    ASSERT_TRUE(orv::sim::injectNotification(kPeer, 6, {0x16, 0x48, 0x00, 0x01}));
    const PostedEvent event = expectOnly(BLE_EVT_NOTIFICATION);
    const auto& notification = recordOf<BleHostNotificationEvent>(event);
    EXPECT_EQ(notification.cid, cid);
    EXPECT_EQ(notification.indication, 0);
    EXPECT_EQ(notification.handle, 6);
    EXPECT_EQ(std::vector<uint8_t>(notification.value, notification.value + notification.length),
              (std::vector<uint8_t>{0x16, 0x48, 0x00, 0x01}));
    TearDownTaken();
}

TEST_F(Gatt, IndicationsAreMarked) {
    ASSERT_TRUE(orv::sim::injectNotification(kPeer, 14, {}, true));
    const PostedEvent event = expectOnly(BLE_EVT_NOTIFICATION);
    EXPECT_EQ(recordOf<BleHostNotificationEvent>(event).indication, 1);
    EXPECT_EQ(recordOf<BleHostNotificationEvent>(event).length, 0);
    TearDownTaken();
}

TEST_F(Gatt, MalformedPdusAreIgnored) {
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(orv::sim::injectAttPdu(kPeer, {0x1B, 0x06}));
    ASSERT_TRUE(orv::sim::injectAttPdu(kPeer, {0x0B, 0x01}));
    ASSERT_TRUE(orv::sim::injectAttPdu(kPeer, {0x01}));
    orv::sim::advance(1000);
    EXPECT_FALSE(::testing::internal::GetCapturedStderr().empty());
    EXPECT_TRUE(harness.takeEvents().empty());
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 9), ORV_BLE_OK);
    EXPECT_EQ(recordOf<BleHostReadEvent>(expectOnly(BLE_EVT_CHAR_READ)).status, 0)
        << "the bearer still works";
    TearDownTaken();
}

struct OversizedCase {
    const char* name;
    size_t length;
    uint8_t opcode;
};

class OversizedPdu : public Gatt, public ::testing::WithParamInterface<OversizedCase> {};

// A peer PDU longer than the MTU never becomes a result; a response among them ends the read as the
// peer's protocol error, whatever length field it would overflow.
TEST_P(OversizedPdu, IsAProtocolErrorThatEndsTheReadItAnswers) {
    ASSERT_TRUE(orv::sim::setPeerSilent(kPeer, true));
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 9), ORV_BLE_OK);
    orv::sim::advance(100);
    std::vector<uint8_t> pdu(GetParam().length, 0x5A);
    pdu[0] = GetParam().opcode;
    pdu[1] = 6;
    pdu[2] = 0;
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(orv::sim::injectAttPdu(kPeer, pdu));
    orv::sim::advance(100);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("exceeds the MTU"), std::string::npos);
    EXPECT_TRUE(harness.eventsWithCode(BLE_EVT_NOTIFICATION).empty());
    const auto reads = harness.eventsWithCode(BLE_EVT_CHAR_READ);
    ASSERT_EQ(reads.size(), GetParam().opcode == 0x0B ? 1u : 0u);
    if (!reads.empty()) {
        EXPECT_EQ(recordOf<BleHostReadEvent>(reads[0]).status, 0x04);
        EXPECT_EQ(recordOf<BleHostReadEvent>(reads[0]).length, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Pdus, OversizedPdu,
                         ::testing::Values(OversizedCase{"ReadResponse", 600, 0x0B},
                                           OversizedCase{"ReadResponseBeyond16Bits", 70000, 0x0B},
                                           OversizedCase{"Notification", 24, 0x1B},
                                           OversizedCase{"NotificationBeyond16Bits", 70000, 0x1B},
                                           OversizedCase{"Indication", 600, 0x1D}),
                         [](const auto& info) { return std::string(info.param.name); });

int deinitFromHook(OrvHwnd, uint32_t message, uintptr_t code, intptr_t lParam) {
    HostHarness::posted.push_back({message, static_cast<uint32_t>(code), lParam, orv::sim::now()});
    OrvBleHostDeinit();
    return 1;
}

TEST_F(Gatt, DeinitFromInsideThePostHookIsRefused) {
    const OrvBleHostPlatform platform{[](const char*) { return HostHarness::registerResult; }, deinitFromHook};
    OrvBleHostSetPlatform(&platform);
    ::testing::internal::CaptureStderr();
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 9), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_CHAR_READ));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("from inside postMessage"), std::string::npos);
    HostHarness::installPlatform();
    EXPECT_EQ(OrvBleClientReadCharByHandle(cid, 9), ORV_BLE_OK) << "the library is still up";
}

TEST_F(Gatt, UnansweredRequestDropsTheLinkAfter30Seconds) {
    ASSERT_TRUE(orv::sim::setPeerSilent(kPeer, true));
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 9), ORV_BLE_OK);
    const uint64_t asked = orv::sim::now();
    orv::sim::advance(29000);
    EXPECT_TRUE(harness.takeEvents().empty());
    const auto event = harness.advanceUntil(BLE_EVT_DISCONNECTED, 5000);
    ASSERT_TRUE(event);
    EXPECT_GE(event->at, asked + 30000);
    EXPECT_EQ(recordOf<BleHostDisconnectEvent>(*event).cid, cid);
    EXPECT_TRUE(harness.eventsWithCode(BLE_EVT_CHAR_READ).empty());
}

TEST_F(Gatt, SilentCharacteristicTimesOutToo) {
    harness.freeAll(harness.takeEvents());
    OrvBleHostDeinit();
    nlohmann::json world = gattWorld();
    world["peers"][0]["gatt"][1]["characteristics"][1]["silent"] = true;
    harness.load(world);
    harness.startHost();
    cid = harness.connect(kPeer);
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 9), ORV_BLE_OK);
    EXPECT_TRUE(harness.advanceUntil(BLE_EVT_DISCONNECTED, 31000));
}

TEST_F(Gatt, DisconnectMidReadGivesNoReadResult) {
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 14), ORV_BLE_OK);
    orv::sim::advance(30);
    ASSERT_TRUE(orv::sim::disconnectPeer(kPeer, 0x13));
    orv::sim::advance(60000);
    const auto events = harness.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, static_cast<uint32_t>(BLE_EVT_DISCONNECTED));
    harness.freeAll(events);
}

TEST_F(Gatt, ValuesPersistAcrossConnections) {
    ASSERT_EQ(OrvBleClientWriteConfiguration(cid, 7, 6, 1), ORV_BLE_OK);
    expectOnly(BLE_EVT_CHAR_WRITTEN);
    ASSERT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_OK);
    expectOnly(BLE_EVT_DISCONNECTED);
    cid = harness.connect(kPeer);
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 7), ORV_BLE_OK);
    EXPECT_EQ(valueOf(recordOf<BleHostReadEvent>(expectOnly(BLE_EVT_CHAR_READ))),
              (std::vector<uint8_t>{1, 0}));
    TearDownTaken();
}

} // namespace
} // namespace orv::host::test
