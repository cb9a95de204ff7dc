#include "../HostHarness.h"
#include "host/sim/GattText.h"

#include <gtest/gtest.h>

#include <array>

namespace orv::host::test {
namespace {

const std::string kPeer = "AA:BB:CC:DD:EE:01";
const auto* const kMaker = reinterpret_cast<const uint8_t*>("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123");

BleServerCharacteristicRecord characteristic(uint16_t uuid, uint8_t properties, uint16_t permissions,
                                             uint16_t length = 0, const uint8_t* value = nullptr) {
    BleServerCharacteristicRecord record{};
    record.uuid = MakeUuid16(uuid);
    record.properties = properties;
    record.permissions = permissions;
    record.length = length;
    record.value = value;
    return record;
}

// The local database, 24 attributes: Current Time 1-6 (3 time value read by the program, 4 its
// configuration, 6 local time information); Alert Notification 7-14 (9 supported categories served by
// the library, 11 New Alert with 12 its configuration, 14 control point); Immediate Alert 15-17 (17
// alert level, write command); Phone Alert Status 18-21 (20 alert status read by the program, 21 its
// configuration); Device Information 22-24 (24 a 30-byte manufacturer name served by the library).
class LocalDatabase : public HostTest {
protected:
    void SetUp() override { harness.start(gattWorld()); }
    // The database id of the allocation's answer.
    uint16_t allocate(uint16_t attributes = 24) {
        EXPECT_EQ(OrvBleServerAllocDatabase(attributes), ORV_BLE_OK);
        EXPECT_TRUE(HostHarness::posted.empty());
        const auto allocated = harness.advanceUntil(BLE_EVT_SERVER_DB_ALLOCATED);
        const uint16_t id = allocated ? record<BleHostServerAllocEvent>(*allocated).databaseId : 0;
        harness.freeQueued();
        return id;
    }
    OrvBleResult add(uint16_t id) { return OrvBleServerAddDatabase(id, 5, services.data()); }

    const std::array<uint8_t, 2> categories{0xFF, 0x03};
    std::string maker = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";
    std::array<BleServerCharacteristicRecord, 2> time{characteristic(0x2A2B, 0x12, 0x10, 10),
                                                      characteristic(0x2A0F, 0x02, 0x10, 2)};
    std::array<BleServerCharacteristicRecord, 3> alerts{
        characteristic(0x2A47, 0x02, 0x00, 2, categories.data()), characteristic(0x2A46, 0x10, 0x08),
        characteristic(0x2A44, 0x08, 0x20, 3)};
    std::array<BleServerCharacteristicRecord, 1> immediate{characteristic(0x2A06, 0x04, 0x20, 1)};
    std::array<BleServerCharacteristicRecord, 1> phone{characteristic(0x2A3F, 0x12, 0x10, 1)};
    std::array<BleServerCharacteristicRecord, 1> information{
        characteristic(0x2A29, 0x02, 0x00, 30, reinterpret_cast<const uint8_t*>(maker.data()))};
    std::array<BleServerServiceRecord, 5> services{
        BleServerServiceRecord{MakeUuid16(0x1805), 0, 2, time.data()},
        BleServerServiceRecord{MakeUuid16(0x1811), 0, 3, alerts.data()},
        BleServerServiceRecord{MakeUuid16(0x1802), 0, 1, immediate.data()},
        BleServerServiceRecord{MakeUuid16(0x180E), 0, 1, phone.data()},
        BleServerServiceRecord{MakeUuid16(0x180A), 0, 1, information.data()}};
};

TEST_F(LocalDatabase, AddFillsHandlesDuringTheCallAndAnswersWithEvent513Once) {
    const uint16_t id = allocate();
    EXPECT_EQ(add(static_cast<uint16_t>(id + 1)), ORV_BLE_E_INVALID_ARGUMENT);
    ASSERT_EQ(add(id), ORV_BLE_OK);
    EXPECT_EQ((std::vector<int>{time[0].valueHandle, time[0].configHandle, time[1].valueHandle,
                                time[1].configHandle, alerts[2].valueHandle, information[0].valueHandle}),
              (std::vector<int>{3, 4, 6, 0, 14, 24}));
    EXPECT_TRUE(HostHarness::posted.empty());
    orv::sim::advance(100);
    ASSERT_EQ(harness.codes(), std::vector<uint32_t>{BLE_EVT_SERVER_DB_ADDED});
    EXPECT_EQ(HostHarness::posted[0].lParam, 0);
    EXPECT_EQ(add(id), ORV_BLE_E_WRONG_STATE);
}

TEST_F(LocalDatabase, RefusesMalformedRecordsAndMoreAttributesThanAllocatedWithoutTouchingThem) {
    EXPECT_EQ(OrvBleServerAllocDatabase(0), ORV_BLE_E_INVALID_ARGUMENT);
    const uint16_t id = allocate();
    EXPECT_EQ(OrvBleServerAddDatabase(id, 0, services.data()), ORV_BLE_E_INVALID_ARGUMENT);
    EXPECT_EQ(OrvBleServerAddDatabase(id, 5, nullptr), ORV_BLE_E_INVALID_ARGUMENT);
    services[1].characteristics = nullptr;
    EXPECT_EQ(add(id), ORV_BLE_E_INVALID_ARGUMENT);
    services[1].characteristics = alerts.data();
    alerts[2].uuid.kind = 7;
    EXPECT_EQ(add(id), ORV_BLE_E_INVALID_ARGUMENT);
    alerts[2].uuid.kind = BLE_UUID_KIND_16;
    alerts[1].length = 513;
    EXPECT_EQ(add(id), ORV_BLE_E_INVALID_ARGUMENT) << "512 at most";
    EXPECT_EQ(time[0].valueHandle, 0);
    alerts[1].length = 512;
    EXPECT_EQ(add(allocate(23)), ORV_BLE_E_NO_RESOURCES);
    EXPECT_EQ(add(allocate(24)), ORV_BLE_OK);
}

class LocalServer : public LocalDatabase {
protected:
    void SetUp() override {
        LocalDatabase::SetUp();
        ASSERT_EQ(add(allocate()), ORV_BLE_OK);
        ASSERT_TRUE(harness.advanceUntil(BLE_EVT_SERVER_DB_ADDED));
        harness.freeQueued();
        maker.assign(maker.size(), '?'); // the peer is served the registered copy
        cid = harness.connect(kPeer);
    }
    // The peer sends a request (hexadecimal); what it received back once the host has answered.
    std::vector<Bytes> exchange(const Bytes& request) {
        EXPECT_TRUE(orv::sim::injectAttPdu(kPeer, request));
        orv::sim::advance(500);
        return orv::sim::takePeerReceived(kPeer);
    }
    std::vector<Bytes> exchange(const char* request) { return exchange(*orv::sim::parseHex(request)); }
    // The one event the peer's request gave the program.
    template <typename Record> const Record& asked(uint32_t code) {
        EXPECT_EQ(harness.codes(), std::vector<uint32_t>{code});
        return record<Record>(HostHarness::posted.at(0));
    }
};

std::vector<Bytes> hex(const char* text) {
    return {*orv::sim::parseHex(text)};
}

TEST_F(LocalServer, PeerDiscoversTheLocalServicesWithoutTheProgram) {
    EXPECT_EQ(exchange("10 0100 FFFF 0028"), hex("11 06 0100 0600 0518 0700 0E00 1118 0F00 1100 0218"));
    EXPECT_EQ(exchange("06 0100 FFFF 0028 1118"), hex("07 0700 0E00"));
    EXPECT_EQ(exchange("08 0700 0E00 0328"),
              hex("09 07 0800 02 0900 472A 0A00 10 0B00 462A 0D00 08 0E00 442A"))
        << "three declarations fill the 23-byte MTU exactly";
    EXPECT_EQ(exchange("04 0B00 0C00"), hex("05 01 0B00 462A 0C00 0229"));
    EXPECT_EQ(exchange("0A 0900"), hex("0B FF03")) << "served from the registered copy";
    EXPECT_TRUE(HostHarness::posted.empty());
}

TEST_F(LocalServer, ReadsAreAnsweredOnceWithTheProgramsBytesOrError) {
    for (const int32_t result : {0, -1, 0x0F}) {
        SCOPED_TRACE(result);
        EXPECT_TRUE(exchange({0x0A, 3, 0}).empty()) << "waits for the program";
        const auto& read = asked<BleHostServerReadEvent>(BLE_EVT_SERVER_READ);
        EXPECT_EQ(std::pair(read.cid, read.handle), std::pair(cid, uint16_t{3}));
        EXPECT_EQ(exchange({0x0A, 9, 0}), (std::vector<Bytes>{{0x01, 0x0A, 0, 0, 0x0E}}))
            << "one request at a time";
        const Bytes now{0xEA, 0x07, 12, 6, 17, 30, 0, 7, 0, 0};
        ASSERT_EQ(OrvBleServerReadResponse(cid, 3, result, static_cast<uint16_t>(now.size()), now.data()),
                  ORV_BLE_OK);
        Bytes expected{0x0B};
        expected.insert(expected.end(), now.begin(), now.end());
        const Bytes refused{0x01, 0x0A, 3, 0, 0x0F};
        EXPECT_EQ(exchange(Bytes{}), std::vector<Bytes>{result > 0 ? refused : expected});
        EXPECT_EQ(OrvBleServerReadResponse(cid, 3, 0, 0, nullptr), ORV_BLE_E_WRONG_STATE) << "answered once";
        harness.freeQueued();
    }
}

Bytes answer(uint8_t opcode, std::string_view text) {
    Bytes bytes{opcode};
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

// Parts of 22 bytes; a blob read at the very end of the value gets an empty part, one past it an error.
TEST_F(LocalServer, LongValuesAreReadInPartsOfTheMtuLessOne) {
    const std::tuple<const char*, Bytes, bool, Bytes> reads[] = {
        // the request, whether the program answers it (with the same 30 bytes), what the peer gets
        {"Read", {0x0A, 24, 0}, false, answer(0x0B, "ABCDEFGHIJKLMNOPQRSTUV")},
        {"BlobRest", {0x0C, 24, 0, 22, 0}, false, answer(0x0D, "WXYZ0123")},
        {"BlobAtTheEnd", {0x0C, 24, 0, 30, 0}, false, answer(0x0D, "")},
        {"BlobPastTheEnd", {0x0C, 24, 0, 31, 0}, false, {0x01, 0x0C, 24, 0, 0x07}},
        {"ProgramsRead", {0x0A, 3, 0}, true, answer(0x0B, "ABCDEFGHIJKLMNOPQRSTUV")},
        {"ProgramsBlobAtTheEnd", {0x0C, 3, 0, 30, 0}, true, answer(0x0D, "")},
        {"ProgramsBlobPastTheEnd", {0x0C, 3, 0, 31, 0}, true, {0x01, 0x0C, 3, 0, 0x07}}};
    for (const auto& [name, request, program, expected] : reads) {
        auto received = exchange(request);
        if (program) {
            ASSERT_EQ(OrvBleServerReadResponse(cid, 3, 0, 30, kMaker), ORV_BLE_OK) << name;
            received = exchange(Bytes{});
        }
        EXPECT_EQ(received, std::vector<Bytes>{expected}) << name;
        harness.freeQueued();
    }
}

TEST_F(LocalServer, PrepareQueueTakes64Parts) {
    const Bytes part{0x16, 14, 0, 0, 0, 0x01};
    for (int i = 0; i < 64; ++i)
        ASSERT_EQ(exchange(part), (std::vector<Bytes>{{0x17, 14, 0, 0, 0, 0x01}})) << i;
    EXPECT_EQ(exchange(part), hex("01 16 0E00 09"));
}

struct WriteCase {
    const char* name;
    std::vector<Bytes> requests;
    uint16_t handle;
    Bytes value; // as the program gets it
    int32_t result;
    std::vector<Bytes> answer;
};

TEST_F(LocalServer, WritesReachTheProgramAndAreAnsweredWithItsResult) {
    const WriteCase cases[] = {
        {"Request", {{0x12, 14, 0, 0x01, 0x03}}, 14, {0x01, 0x03}, 0, {{0x13}}},
        {"NothingTakenIsNotAllowed", {{0x12, 14, 0, 0x07}}, 14, {0x07}, -1, {{0x01, 0x12, 14, 0, 0x13}}},
        {"Refused", {{0x12, 14, 0, 0x09, 0x00}}, 14, {0x09, 0x00}, 0xA0, {{0x01, 0x12, 14, 0, 0xA0}}},
        {"CommandNeedsNoAnswerOnTheAir", {{0x52, 17, 0, 0x02}}, 17, {0x02}, 0, {}},
        {"PreparedJoinedAtExecute",
         {{0x16, 14, 0, 0, 0, 0x00, 0x01}, {0x16, 14, 0, 2, 0, 0x02}, {0x18, 0x01}},
         14,
         {0, 1, 2},
         0,
         {{0x19}}}};
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (const Bytes& request : c.requests)
            exchange(request);
        const auto& write = asked<BleHostServerWriteEvent>(BLE_EVT_SERVER_WRITE);
        EXPECT_EQ(std::pair(write.cid, write.handle), std::pair(cid, c.handle));
        ASSERT_EQ(write.count, 1);
        EXPECT_EQ(Bytes(write.entries[0].value, write.entries[0].value + write.entries[0].length), c.value);
        ASSERT_EQ(OrvBleServerWriteResponse(cid, c.handle, c.result), ORV_BLE_OK);
        EXPECT_EQ(exchange(Bytes{}), c.answer);
        harness.freeQueued();
    }
}

TEST_F(LocalServer, ConfigurationTheProgramTookIsKeptForThePeersReads) {
    EXPECT_EQ(exchange("0A 1500"), hex("0B 0000")) << "a peer may always read its own configuration";
    for (const int32_t result : {-1, 0}) {
        exchange({0x12, 21, 0, 0x01, 0x00});
        ASSERT_EQ(OrvBleServerWriteResponse(cid, 21, result), ORV_BLE_OK);
        orv::sim::advance(500);
        orv::sim::takePeerReceived(kPeer);
        harness.freeQueued();
        EXPECT_EQ(exchange("0A 1500"), hex(result == 0 ? "0B 0100" : "0B 0000")) << result;
    }
    EXPECT_TRUE(HostHarness::posted.empty());
    EXPECT_TRUE(exchange("0A 0400").empty()) << "Current Time's is the program's to answer";
    EXPECT_EQ(asked<BleHostServerReadEvent>(BLE_EVT_SERVER_READ).handle, 4);
}

TEST_F(LocalServer, RefusalsAreAnsweredWithoutTheProgram) {
    const std::tuple<const char*, const char*, const char*> refusals[] = {
        {"UnknownHandle", "0A 2800", "01 0A 2800 01"},
        {"NotReadable", "0A 0B00", "01 0A 0B00 02"},
        {"WriteToDeclaration", "12 0200 01", "01 12 0200 03"},
        {"WriteToReadOnly", "12 0900 01", "01 12 0900 03"},
        {"ConfigurationOfOneByte", "12 0C00 01", "01 12 0C00 0D"},
        {"ConfigurationOfThreeBytes", "12 0C00 010000", "01 12 0C00 0D"},
        {"Mtu", "02 0001", "03 1700"},
        {"Unsupported", "20", "01 20 0000 06"},
        {"ShortRead", "0A 03", "01 0A 0000 04"},
        {"ReversedRange", "04 0500 0100", "01 04 0500 01"},
        {"LongerThanTheMtu", "12 0E00 010101010101010101010101010101010101010101", "01 12 0000 04"}};
    for (const auto& [name, request, refusal] : refusals) {
        EXPECT_EQ(exchange(request), hex(refusal)) << name;
        EXPECT_TRUE(HostHarness::posted.empty()) << name;
    }
}

TEST_F(LocalServer, NotificationsGoToThePeer) {
    const Bytes alert{0x01, 0x01, 'H', 'i'};
    ASSERT_EQ(OrvBleServerSendNotification(cid, 11, static_cast<uint16_t>(alert.size()), alert.data()),
              ORV_BLE_OK);
    EXPECT_EQ(exchange(Bytes{}), (std::vector<Bytes>{{0x1B, 11, 0, 0x01, 0x01, 'H', 'i'}}));
    const Bytes tooLong(21, 0);
    EXPECT_EQ(OrvBleServerSendNotification(cid, 11, 21, tooLong.data()), ORV_BLE_E_INVALID_ARGUMENT);
    EXPECT_EQ(OrvBleServerSendNotification(cid, 9, 1, alert.data()), ORV_BLE_E_INVALID_ARGUMENT);
    EXPECT_EQ(OrvBleServerSendNotification(cid + 1, 11, 1, alert.data()), ORV_BLE_E_NOT_CONNECTED);
}

TEST_F(LocalServer, AnswerOwedToADroppedLinkIsRefused) {
    exchange({0x0A, 3, 0});
    ASSERT_TRUE(orv::sim::disconnectPeer(kPeer, 0x13));
    orv::sim::advance(10);
    EXPECT_EQ(OrvBleServerReadResponse(cid, 3, 0, 0, nullptr), ORV_BLE_E_WRONG_STATE);
    EXPECT_EQ(OrvBleServerWriteResponse(cid, 3, 0), ORV_BLE_E_WRONG_STATE);
}

TEST_F(LocalServer, DatabaseSurvivesDeinitAndANewInitWithoutASecond513) {
    OrvBleHostDeinit();
    harness.startHost(); // fails on any event but the start-up's
    cid = harness.connect(kPeer);
    EXPECT_EQ(exchange("0A 0900"), hex("0B FF03"));
}

} // namespace
} // namespace orv::host::test
