#include "../HostHarness.h"

#include <gtest/gtest.h>

#include <random>

namespace orv::host::test {
namespace {

const std::string kPeer = "AA:BB:CC:DD:EE:01";

// Random PDUs from the peer (requests for the local server, responses, values) must neither crash the
// host nor leave records behind; afterwards the link still reads correctly unless it was dropped.
// A local database with a value the program reads (3, configuration 4) and one it is written (6).
void addLocalDatabase(HostHarness& harness) {
    BleUuid service{};
    service.kind = BLE_UUID_KIND_16;
    service.uuid16 = 0x1805;
    BleServerCharacteristicRecord characteristics[2]{};
    characteristics[0].uuid = service;
    characteristics[0].uuid.uuid16 = 0x2A2B;
    characteristics[0].properties = 0x12;
    characteristics[0].permissions = 0x10;
    characteristics[1].uuid = service;
    characteristics[1].uuid.uuid16 = 0x2A16;
    characteristics[1].properties = 0x0C;
    characteristics[1].permissions = 0x20;
    BleServerServiceRecord record{service, 0, 2, characteristics};
    ASSERT_EQ(OrvBleServerAllocDatabase(16), ORV_BLE_OK);
    const auto allocated = harness.advanceUntil(BLE_EVT_SERVER_DB_ALLOCATED);
    ASSERT_TRUE(allocated);
    ASSERT_EQ(
        OrvBleServerAddDatabase(
            reinterpret_cast<const BleHostServerAllocEvent*>(allocated->lParam)->databaseId, 1, &record),
        ORV_BLE_OK);
    orv::sim::advance(100);
    harness.freeAll(harness.takeEvents());
}

TEST(ClientLink, SurvivesRandomPdusFromThePeer) {
    HostHarness harness;
    harness.load(gattWorld());
    harness.startHost();
    addLocalDatabase(harness);
    const uint32_t cid = harness.connect(kPeer);
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> length(0, 30);
    std::uniform_int_distribution<int> byte(0, 255);
    const uint8_t opcodes[] = {0x01, 0x02, 0x04, 0x05, 0x06, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x10, 0x11,
                               0x12, 0x13, 0x16, 0x17, 0x18, 0x19, 0x1B, 0x1D, 0x1E, 0x52, 0xD2, 0x7F};
    std::uniform_int_distribution<int> handle(0, 8);
    int serverReads = 0;
    int serverWrites = 0;
    ::testing::internal::CaptureStderr();
    for (int i = 0; i < 400; ++i) {
        std::vector<uint8_t> pdu{opcodes[random() % std::size(opcodes)]};
        const int n = length(random);
        for (int k = 0; k < n; ++k) {
            // Small handles in the first two bytes reach the attributes that exist.
            pdu.push_back(static_cast<uint8_t>(k == 0 ? handle(random) : k == 1 ? 0 : byte(random)));
        }
        ASSERT_TRUE(orv::sim::injectAttPdu(kPeer, pdu));
        if (i % 7 == 0) {
            OrvBleClientReadCharByHandle(cid, 9);
        }
        orv::sim::advance(20);
        for (const PostedEvent& event : harness.takeEvents()) {
            if (event.code == BLE_EVT_SERVER_READ) {
                ++serverReads;
                const uint8_t value[] = {1, 2, 3};
                const auto* read = reinterpret_cast<const BleHostServerReadEvent*>(event.lParam);
                OrvBleServerReadResponse(cid, read->handle, 0, 3, value);
            }
            if (event.code == BLE_EVT_SERVER_WRITE) {
                ++serverWrites;
                const auto* write = reinterpret_cast<const BleHostServerWriteEvent*>(event.lParam);
                OrvBleServerWriteResponse(cid, write->handle, i % 2 == 0 ? -1 : 0x80);
            }
            OrvBleHostFreeMessageContents(event.code, event.lParam);
        }
    }
    orv::sim::advance(60000);
    harness.freeAll(harness.takeEvents());
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(orv::sim::liveRecordCount(), 0u);
    EXPECT_GT(serverReads, 0) << "the local server was reached";
    EXPECT_GT(serverWrites, 0);
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 9), ORV_BLE_OK);
    const auto read = harness.advanceUntil(BLE_EVT_CHAR_READ, 5000);
    ASSERT_TRUE(read);
    EXPECT_EQ(reinterpret_cast<const BleHostReadEvent*>(read->lParam)->status, 0);
}

TEST(ClientLink, IndicationIsConfirmedToThePeer) {
    HostHarness harness;
    harness.load(gattWorld());
    harness.startHost();
    harness.connect(kPeer);
    ASSERT_TRUE(orv::sim::injectNotification(kPeer, 14, {0x01}, true));
    orv::sim::advance(1000);
    EXPECT_EQ(orv::sim::takePeerReceived(kPeer), std::vector<std::vector<uint8_t>>{{0x1E}});
    harness.freeAll(harness.takeEvents());
}

} // namespace
} // namespace orv::host::test
