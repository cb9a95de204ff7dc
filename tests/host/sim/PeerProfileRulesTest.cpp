#include "../HostHarness.h"

#include <gtest/gtest.h>

namespace orv::host::test {
namespace {

using nlohmann::json;

const char* const kManager = "AA:BB:CC:DD:EE:03";

// Handles: 3 Device Name (read, write); 6 Bond Management Control Point (write; needs encryption);
// 8 Bond Management Feature (read).
json managerWorld() {
    json world = basicWorld();
    world["peers"] =
        json::array({{{"address", kManager},
                      {"name", "Manager"},
                      {"gatt",
                       {{{"uuid", "1800"},
                         {"characteristics",
                          {{{"uuid", "2A00"}, {"properties", {"read", "write"}}, {"text", "Manager"}}}}},
                        {{"uuid", "181E"},
                         {"characteristics",
                          {{{"uuid", "2AA4"}, {"properties", {"write"}}, {"security", "encryption"}},
                           {{"uuid", "2AA5"}, {"properties", {"read"}}, {"value", "10 00 00"}}}}}}}}});
    return world;
}

template <typename Record> const Record& record(const PostedEvent& event) {
    return *reinterpret_cast<const Record*>(event.lParam);
}

class PeerProfileRules : public ::testing::Test {
protected:
    void SetUp() override {
        harness.load(managerWorld());
        harness.startHost();
        cid = harness.connect(kManager);
    }
    void TearDown() override { harness.freeAll(harness.takeEvents()); }

    uint16_t writeAndWait(uint16_t handle, const std::vector<uint8_t>& value) {
        harness.freeAll(harness.takeEvents());
        EXPECT_EQ(OrvBleClientWriteCfmCharByHandle(cid, handle, 0, static_cast<uint8_t>(value.size()),
                                                   value.data()),
                  ORV_BLE_OK);
        const auto written = harness.advanceUntil(BLE_EVT_CHAR_WRITTEN);
        EXPECT_TRUE(written);
        return written ? record<BleHostWriteEvent>(*written).status : 0xFFFF;
    }

    void pair() {
        ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
        ASSERT_TRUE(harness.advanceUntil(BLE_EVT_JUST_WORKS_REQUEST));
        ASSERT_EQ(OrvBleHostJustWorksResult(addressOf(kManager), 1, 1), ORV_BLE_OK);
        ASSERT_TRUE(harness.advanceUntil(BLE_EVT_ENCRYPTION_RESULT));
    }

    void reconnect() {
        ASSERT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_OK);
        ASSERT_TRUE(harness.advanceUntil(BLE_EVT_DISCONNECTED));
        harness.freeAll(harness.takeEvents());
        cid = harness.connect(kManager);
    }

    HostHarness harness;
    uint32_t cid = 0;
};

TEST_F(PeerProfileRules, DeleteBondNeedsAnEncryptedLink) {
    EXPECT_EQ(writeAndWait(6, {0x03}), 0x0F);
    pair();
    EXPECT_EQ(writeAndWait(6, {0x03}), 0);
}

TEST_F(PeerProfileRules, PeerThatDeletedItsBondMustPairAgain) {
    pair();
    ASSERT_EQ(writeAndWait(6, {0x03}), 0);
    reconnect();
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
    EXPECT_TRUE(harness.advanceUntil(BLE_EVT_JUST_WORKS_REQUEST)) << "the host's stored key no longer works";
    EXPECT_TRUE(harness.eventsWithCode(BLE_EVT_ENCRYPTION_RESULT).empty());
}

TEST_F(PeerProfileRules, PeerKeepsItsBondWithoutTheDeleteOpCode) {
    pair();
    reconnect();
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
    const auto encrypted = harness.advanceUntil(BLE_EVT_ENCRYPTION_RESULT);
    ASSERT_TRUE(encrypted);
    EXPECT_EQ(record<BleHostEncryptionEvent>(*encrypted).supplier, BLE_KEY_FROM_BOND);
    EXPECT_TRUE(harness.eventsWithCode(BLE_EVT_JUST_WORKS_REQUEST).empty());
}

class BondManagementOpCode : public PeerProfileRules, public ::testing::WithParamInterface<uint8_t> {};

TEST_P(BondManagementOpCode, OtherOpCodesAreNotSupported) {
    pair();
    EXPECT_EQ(writeAndWait(6, {GetParam()}), 0x80);
    reconnect();
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
    EXPECT_TRUE(harness.advanceUntil(BLE_EVT_ENCRYPTION_RESULT)) << "the bond is kept";
}

INSTANTIATE_TEST_SUITE_P(OpCodes, BondManagementOpCode,
                         ::testing::Values(0x00, 0x01, 0x02, 0x04, 0x06, 0xFF));

TEST_F(PeerProfileRules, DeviceNameOfMaximumLengthRenamesThePeerAndItsAdvertising) {
    const std::vector<uint8_t> name(248, 'R');
    ASSERT_EQ(writeAndWait(3, name), 0);
    EXPECT_EQ(orv::sim::peerAttributeValue(kManager, 3), name);
    ASSERT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_DISCONNECTED));
    harness.freeAll(harness.takeEvents());
    ASSERT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_OK);
    const auto found = harness.advanceUntil(BLE_EVT_DEVICE_FOUND);
    ASSERT_TRUE(found);
    ASSERT_NE(record<BleHostDeviceFoundEvent>(*found).name, nullptr);
    EXPECT_EQ(std::string(record<BleHostDeviceFoundEvent>(*found).name), std::string(248, 'R'));
}

TEST_F(PeerProfileRules, DeviceNameOneByteTooLongIsRefusedAndKeepsTheName) {
    ASSERT_EQ(writeAndWait(3, std::vector<uint8_t>(249, 'R')), 0x0D);
    EXPECT_EQ(orv::sim::peerAttributeValue(kManager, 3),
              (std::vector<uint8_t>{'M', 'a', 'n', 'a', 'g', 'e', 'r'}));
    ASSERT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_DISCONNECTED));
    harness.freeAll(harness.takeEvents());
    ASSERT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_OK);
    const auto found = harness.advanceUntil(BLE_EVT_DEVICE_FOUND);
    ASSERT_TRUE(found);
    EXPECT_STREQ(record<BleHostDeviceFoundEvent>(*found).name, "Manager");
}

TEST_F(PeerProfileRules, RenamedPeerIsBondedUnderItsNewName) {
    const std::vector<uint8_t> name{'D', 'e', 's', 'k'};
    ASSERT_EQ(writeAndWait(3, name), 0);
    pair();
    uint16_t count = 0;
    BleHostPairedDevice* array = nullptr;
    ASSERT_EQ(OrvBleHostGetPairedDeviceList(&count, &array), 1);
    ASSERT_EQ(count, 1);
    EXPECT_STREQ(array[0].name, "Desk");
    OrvBleHostFreePairedDeviceList(array);
}

} // namespace
} // namespace orv::host::test
