#include "../HostHarness.h"

#include <gtest/gtest.h>

#include <map>

namespace orv::host::test {
namespace {

const char* const kKeyboard = "00:1A:7D:DA:71:0C";
const char* const kBondManager = "00:1A:7D:DA:71:13";

template <typename Record> const Record& record(const PostedEvent& event) {
    return *reinterpret_cast<const Record*>(event.lParam);
}

class BuiltInWorldSecurity : public ::testing::Test {
protected:
    void start(const char* peer) {
        harness.load(nlohmann::json::parse(orv::sim::builtInWorldJson()));
        harness.startHost();
        cid = harness.connect(peer);
        address = addressOf(peer);
        ASSERT_EQ(OrvBleClientDiscoverDatabase(cid), ORV_BLE_OK);
        const auto discovered = harness.advanceUntil(BLE_EVT_DATABASE_DISCOVERED);
        ASSERT_TRUE(discovered);
        const auto& db = record<BleHostDatabaseEvent>(*discovered);
        for (uint16_t s = 0; s < db.serviceCount; ++s) {
            for (uint16_t c = 0; c < db.services[s].characteristicCount; ++c) {
                const BleHostCharacteristicRecord& characteristic = db.services[s].characteristics[c];
                handles[characteristic.uuid.uuid16] = characteristic.valueHandle;
            }
        }
        harness.freeAll(harness.takeEvents());
    }
    void TearDown() override { harness.freeAll(harness.takeEvents()); }

    std::optional<PostedEvent> read(uint16_t uuid) {
        EXPECT_EQ(OrvBleClientReadCharByHandle(cid, handles[uuid]), ORV_BLE_OK);
        return harness.advanceUntil(BLE_EVT_CHAR_READ, 40000);
    }

    HostHarness harness;
    uint32_t cid = 0;
    BleTypedAddress address{};
    std::map<uint16_t, uint16_t> handles;
};

TEST_F(BuiltInWorldSecurity, KeyboardNameNeedsEncryptionAndItsUserTypesThePasskeyRight) {
    start(kKeyboard);
    const auto refused = read(0x2A00);
    ASSERT_TRUE(refused);
    EXPECT_EQ(record<BleHostReadEvent>(*refused).status, 0x0F);
    harness.freeAll(harness.takeEvents());

    ASSERT_EQ(OrvBleHostChangeSecurityLevel(1), ORV_BLE_OK);
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 2), ORV_BLE_OK);
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, handles[0x2A00]), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_PASSKEY_DISPLAY));
    ASSERT_EQ(OrvBleHostPasskeyNotificationResult(address, 1), ORV_BLE_OK);
    const auto named = harness.advanceUntil(BLE_EVT_CHAR_READ, 40000);
    ASSERT_TRUE(named);
    const auto& value = record<BleHostReadEvent>(*named);
    ASSERT_EQ(value.status, 0);
    EXPECT_EQ(std::string(value.value, value.value + value.length), "Orvane Veyra Keyboard");
    const auto results = harness.eventsWithCode(BLE_EVT_SECURITY_RESULT);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(record<BleHostSecurityEvent>(results[0]).result, BLE_SECURITY_SUCCESS);
}

TEST_F(BuiltInWorldSecurity, KeyboardReportsNeedEncryption) {
    start(kKeyboard);
    for (const uint16_t uuid : {0x2A4A, 0x2A4B, 0x2A4D}) {
        const auto refused = read(uuid);
        ASSERT_TRUE(refused);
        EXPECT_EQ(record<BleHostReadEvent>(*refused).status, 0x0F) << std::hex << uuid;
        harness.freeAll(harness.takeEvents());
    }
}

// Its first read pairs it, so that its bond can then be deleted through Bond Management.
TEST_F(BuiltInWorldSecurity, BondManagerFeatureNeedsEncryptionThenDeletesTheRequestersBond) {
    start(kBondManager);
    const auto refused = read(0x2AA5);
    ASSERT_TRUE(refused);
    EXPECT_EQ(record<BleHostReadEvent>(*refused).status, 0x0F);
    harness.freeAll(harness.takeEvents());

    ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_JUST_WORKS_REQUEST));
    ASSERT_EQ(OrvBleHostJustWorksResult(address, 1, 1), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_ENCRYPTION_RESULT));
    harness.freeAll(harness.takeEvents());
    const auto feature = read(0x2AA5);
    ASSERT_TRUE(feature);
    ASSERT_EQ(record<BleHostReadEvent>(*feature).status, 0);
    EXPECT_NE(record<BleHostReadEvent>(*feature).value[0] & 0x10, 0);
    const uint8_t deleteBond = 0x03;
    ASSERT_EQ(OrvBleClientWriteCfmCharByHandle(cid, handles[0x2AA4], 0, 1, &deleteBond), ORV_BLE_OK);
    const auto written = harness.advanceUntil(BLE_EVT_CHAR_WRITTEN);
    ASSERT_TRUE(written);
    EXPECT_EQ(record<BleHostWriteEvent>(*written).status, 0);
}

} // namespace
} // namespace orv::host::test
