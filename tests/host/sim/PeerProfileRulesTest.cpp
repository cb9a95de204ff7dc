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
    world["peers"] = json::parse(R"([{"address": "AA:BB:CC:DD:EE:03", "name": "Manager", "gatt": [
        {"uuid": "1800", "characteristics": [{"uuid": "2A00", "properties": ["read", "write"], "text": "Manager"}]},
        {"uuid": "181E", "characteristics": [{"uuid": "2AA4", "properties": ["write"], "security": "encryption"},
                                             {"uuid": "2AA5", "properties": ["read"], "value": "10 00 00"}]}]}])");
    return world;
}

class PeerProfileRules : public HostTest {
protected:
    void SetUp() override {
        harness.start(managerWorld());
        cid = harness.connect(kManager);
    }
    // Reconnects and asks for encryption: the codes of the security events that follow.
    std::vector<uint32_t> encryptAgain() {
        cid = harness.reconnect(cid, kManager);
        EXPECT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
        orv::sim::advance(2000);
        return harness.codes();
    }
};

TEST_F(PeerProfileRules, DeletingItsBondNeedsEncryptionAndMakesThePeerPairAgain) {
    EXPECT_EQ(harness.write(cid, 6, {0x03}), 0x0F);
    harness.pairJustWorks(cid, kManager);
    harness.freeQueued();
    EXPECT_EQ(harness.write(cid, 6, {0x03}), 0);
    EXPECT_EQ(encryptAgain(), std::vector<uint32_t>{BLE_EVT_JUST_WORKS_REQUEST})
        << "the stored key no longer works";
}

TEST_F(PeerProfileRules, PeerKeepsItsBondWithoutTheDeleteOpCode) {
    harness.pairJustWorks(cid, kManager);
    harness.freeQueued();
    EXPECT_EQ(harness.write(cid, 6, {0x01}), 0x80);
    EXPECT_EQ(encryptAgain(), (std::vector<uint32_t>{BLE_EVT_ENCRYPTION_RESULT, BLE_EVT_SECURITY_RESULT}));
}

struct NameCase {
    const char* name;
    size_t length;
    uint16_t status;
    std::string advertised;
};

class DeviceNameWrite : public PeerProfileRules, public ::testing::WithParamInterface<NameCase> {};

// 248 bytes, the most a Device Name holds, take prepared writes; the name reaches the advertising.
TEST_P(DeviceNameWrite, RenamesThePeerUpTo248Bytes) {
    EXPECT_EQ(harness.write(cid, 3, Bytes(GetParam().length, 'R')), GetParam().status);
    ASSERT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_DISCONNECTED));
    harness.freeQueued();
    ASSERT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_OK);
    const auto found = harness.advanceUntil(BLE_EVT_DEVICE_FOUND);
    ASSERT_TRUE(found);
    ASSERT_NE(record<BleHostDeviceFoundEvent>(*found).name, nullptr);
    EXPECT_EQ(std::string(record<BleHostDeviceFoundEvent>(*found).name), GetParam().advertised);
}

INSTANTIATE_TEST_SUITE_P(Lengths, DeviceNameWrite,
                         ::testing::Values(NameCase{"Longest", 248, 0, std::string(248, 'R')},
                                           NameCase{"OneByteTooLong", 249, 0x0D, "Manager"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PeerProfileRules, RenamedPeerIsBondedUnderItsNewName) {
    ASSERT_EQ(harness.write(cid, 3, {'D', 'e', 's', 'k'}), 0);
    harness.pairJustWorks(cid, kManager);
    uint16_t count = 0;
    BleHostPairedDevice* array = nullptr;
    ASSERT_EQ(OrvBleHostGetPairedDeviceList(&count, &array), 1);
    ASSERT_EQ(count, 1);
    EXPECT_STREQ(array[0].name, "Desk");
    OrvBleHostFreePairedDeviceList(array);
}

} // namespace
} // namespace orv::host::test
