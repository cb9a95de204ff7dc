#include "../HostHarness.h"

#include <gtest/gtest.h>

#include <map>

namespace orv::host::test {
namespace {

const char* const kKeyboard = "00:1A:7D:DA:71:0C";
const char* const kBondManager = "00:1A:7D:DA:71:13";

class BuiltInWorldSecurity : public ::testing::Test {
protected:
    // Connects to the built-in world's peer and learns its value handles by UUID.
    void start(const char* peer) {
        harness.start(nlohmann::json::parse(orv::sim::builtInWorldJson()));
        cid = harness.connect(peer);
        ASSERT_EQ(OrvBleClientDiscoverDatabase(cid), ORV_BLE_OK);
        const auto discovered = harness.advanceUntil(BLE_EVT_DATABASE_DISCOVERED);
        ASSERT_TRUE(discovered);
        const auto& db = record<BleHostDatabaseEvent>(*discovered);
        for (uint16_t s = 0; s < db.serviceCount; ++s) {
            for (uint16_t c = 0; c < db.services[s].characteristicCount; ++c) {
                handles[db.services[s].characteristics[c].uuid.uuid16] = db.services[s].characteristics[c].valueHandle;
            }
        }
        harness.freeQueued();
    }
    void TearDown() override { harness.freeQueued(); }

    HostHarness harness;
    uint32_t cid = 0;
    std::map<uint16_t, uint16_t> handles;
};

TEST_F(BuiltInWorldSecurity, KeyboardNeedsEncryptionAndItsUserTypesThePasskeyRight) {
    start(kKeyboard);
    for (const uint16_t uuid : {0x2A00, 0x2A4A, 0x2A4B, 0x2A4D}) {
        EXPECT_EQ(harness.read(cid, handles[uuid]).status, 0x0F) << std::hex << uuid;
    }
    ASSERT_EQ(OrvBleHostChangeSecurityLevel(1), ORV_BLE_OK);
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 2), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_PASSKEY_DISPLAY));
    ASSERT_EQ(OrvBleHostPasskeyNotificationResult(addressOf(kKeyboard), 1), ORV_BLE_OK);
    const auto result = harness.advanceUntil(BLE_EVT_SECURITY_RESULT, 40000);
    ASSERT_TRUE(result);
    EXPECT_EQ(record<BleHostSecurityEvent>(*result).result, BLE_SECURITY_SUCCESS);
    harness.freeQueued();
    const std::string name = "Orvane Veyra Keyboard";
    EXPECT_EQ(harness.read(cid, handles[0x2A00]), (ReadResult{0, Bytes(name.begin(), name.end())}));
}

// Its first read pairs it, so that its bond can then be deleted through Bond Management.
TEST_F(BuiltInWorldSecurity, BondManagerFeatureNeedsEncryptionThenDeletesTheRequestersBond) {
    start(kBondManager);
    EXPECT_EQ(harness.read(cid, handles[0x2AA5]).status, 0x0F);
    harness.pairJustWorks(cid, kBondManager);
    harness.freeQueued();
    const ReadResult feature = harness.read(cid, handles[0x2AA5]);
    ASSERT_EQ(feature.status, 0);
    EXPECT_NE(feature.value.at(0) & 0x10, 0);
    EXPECT_EQ(harness.write(cid, handles[0x2AA4], {0x03}), 0);
}

} // namespace
} // namespace orv::host::test
