#include "../HostHarness.h"

#include <gtest/gtest.h>

#include <array>

namespace orv::host::test {
namespace {

BleServerCharacteristicRecord characteristic(uint16_t uuid, uint8_t properties, uint16_t length,
                                             const uint8_t* value) {
    BleServerCharacteristicRecord record{};
    record.uuid = MakeUuid16(uuid);
    record.properties = properties;
    record.length = length;
    record.value = value;
    return record;
}

class LocalDatabase : public ::testing::Test {
protected:
    void SetUp() override { harness.start(basicWorld()); }
    uint16_t allocate(uint16_t attributes = 256) {
        EXPECT_EQ(OrvBleServerAllocDatabase(attributes), ORV_BLE_OK);
        EXPECT_TRUE(HostHarness::posted.empty());
        orv::sim::advance(100);
        EXPECT_EQ(harness.codes(), std::vector<uint32_t>{BLE_EVT_SERVER_DB_ALLOCATED});
        const auto& allocated = record<BleHostServerAllocEvent>(HostHarness::posted.at(0));
        EXPECT_EQ(allocated.status, 0);
        const uint16_t id = allocated.databaseId;
        harness.freeQueued();
        return id;
    }

    HostHarness harness;
    const std::array<uint8_t, 2> categories{0xFF, 0x03};
    std::array<BleServerCharacteristicRecord, 3> alerts{characteristic(0x2A47, 0x02, 2, categories.data()),
                                                        characteristic(0x2A46, 0x10, 0, nullptr),
                                                        characteristic(0x2A45, 0x10, 3, nullptr)};
    std::array<BleServerCharacteristicRecord, 1> immediate{
        characteristic(0x2A06, 0x04, 1, categories.data())};
    std::array<BleServerServiceRecord, 2> services{
        BleServerServiceRecord{MakeUuid16(0x1802), 0, 1, immediate.data()},
        BleServerServiceRecord{MakeUuid16(0x1811), 0, 3, alerts.data()}};
};

TEST_F(LocalDatabase, AddFillsHandlesDuringTheCallAndAnswersWithEvent513Once) {
    const uint16_t id = allocate();
    EXPECT_EQ(OrvBleServerAddDatabase(static_cast<uint16_t>(id + 1), 2, services.data()),
              ORV_BLE_E_INVALID_ARGUMENT);
    ASSERT_EQ(OrvBleServerAddDatabase(id, 2, services.data()), ORV_BLE_OK);
    EXPECT_EQ(immediate[0].valueHandle, 3);
    EXPECT_EQ(immediate[0].configHandle, 0);
    EXPECT_EQ(alerts[0].valueHandle, 6);
    EXPECT_EQ(alerts[1].valueHandle, 8);
    EXPECT_EQ(alerts[1].configHandle, 9);
    EXPECT_EQ(alerts[2].valueHandle, 11);
    EXPECT_EQ(alerts[2].configHandle, 12);
    EXPECT_TRUE(HostHarness::posted.empty());
    orv::sim::advance(100);
    ASSERT_EQ(harness.codes(), std::vector<uint32_t>{BLE_EVT_SERVER_DB_ADDED});
    EXPECT_EQ(HostHarness::posted[0].lParam, 0);
    EXPECT_EQ(OrvBleServerAddDatabase(id, 2, services.data()), ORV_BLE_E_WRONG_STATE);
}

TEST_F(LocalDatabase, RefusesMalformedRecordsWithoutTouchingThem) {
    EXPECT_EQ(OrvBleServerAllocDatabase(0), ORV_BLE_E_INVALID_ARGUMENT);
    const uint16_t id = allocate();
    services[1].characteristics = nullptr;
    EXPECT_EQ(OrvBleServerAddDatabase(id, 2, services.data()), ORV_BLE_E_INVALID_ARGUMENT);
    services[1].characteristics = alerts.data();
    alerts[2].uuid.kind = 7;
    EXPECT_EQ(OrvBleServerAddDatabase(id, 2, services.data()), ORV_BLE_E_INVALID_ARGUMENT);
    EXPECT_EQ(OrvBleServerAddDatabase(id, 0, services.data()), ORV_BLE_E_INVALID_ARGUMENT);
    EXPECT_EQ(OrvBleServerAddDatabase(id, 2, nullptr), ORV_BLE_E_INVALID_ARGUMENT);
    alerts[2].uuid.kind = BLE_UUID_KIND_16;
    alerts[1].length = 513;
    EXPECT_EQ(OrvBleServerAddDatabase(id, 2, services.data()), ORV_BLE_E_INVALID_ARGUMENT) << "512 at most";
    EXPECT_EQ(immediate[0].valueHandle, 0);
    alerts[1].length = 512;
    EXPECT_EQ(OrvBleServerAddDatabase(id, 2, services.data()), ORV_BLE_OK);
}

TEST_F(LocalDatabase, RefusesMoreAttributesThanAllocated) {
    const uint16_t id = allocate(5);
    EXPECT_EQ(OrvBleServerAddDatabase(id, 2, services.data()), ORV_BLE_E_NO_RESOURCES);
    EXPECT_EQ(OrvBleServerAddDatabase(id, 1, services.data()), ORV_BLE_OK);
}

TEST_F(LocalDatabase, SurvivesDeinitAndReinit) {
    const uint16_t id = allocate();
    ASSERT_EQ(OrvBleServerAddDatabase(id, 2, services.data()), ORV_BLE_OK);
    orv::sim::advance(100);
    harness.freeQueued();
    OrvBleHostDeinit();
    harness.startHost();
    orv::sim::advance(1000);
    EXPECT_TRUE(HostHarness::posted.empty()) << "republishing does not post a second 513";
    EXPECT_EQ(OrvBleServerAddDatabase(id, 2, services.data()), ORV_BLE_E_WRONG_STATE)
        << "the database registered before is still there";
}

} // namespace
} // namespace orv::host::test
