#include "gatt/LocalServerDatabase.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

namespace {

using Bytes = std::vector<uint8_t>;

std::string UuidText(const BleUuid& uuid) {
    char text[40] = {};
    if (uuid.kind == BLE_UUID_KIND_16) {
        std::snprintf(text, sizeof text, "%04X", uuid.uuid16);
        return text;
    }
    std::string out;
    for (int i = 15; i >= 0; --i) {
        std::snprintf(text, sizeof text, "%02X", uuid.uuid128[i]);
        out += text;
    }
    return out;
}

struct Expected {
    const char* service;
    const char* characteristic;
    uint8_t properties;
    uint16_t extra, permissions, length;
    std::optional<Bytes> value;
};

TEST(LocalServerDatabaseTest, RegistersTheSevenServicesAsTheTableGivesThem) {
    const Expected rows[] = {
        {"1802", "2A06", 0x04, 4, 0x20, 1, Bytes{0xFF}},
        {"1811", "2A47", 0x02, 0, 0x00, 2, Bytes{0xFF, 0x03}},
        {"1811", "2A46", 0x10, 0, 0x08, 0, std::nullopt},
        {"1811", "2A48", 0x02, 0, 0x00, 2, Bytes{0xFF, 0x03}},
        {"1811", "2A45", 0x10, 0, 0x00, 3, std::nullopt},
        {"1811", "2A44", 0x08, 0, 0x20, 3, Bytes{0, 0, 0}},
        {"180E", "2A3F", 0x12, 0, 0x10, 1, Bytes{0x00}},
        {"180E", "2A41", 0x12, 0, 0x10, 1, Bytes{0x01}},
        {"180E", "2A40", 0x04, 0, 0x20, 1, Bytes{0x00}},
        {"1805", "2A2B", 0x12, 0, 0x10, 10, Bytes(10, 0)},
        {"1805", "2A0F", 0x02, 0, 0x10, 2, Bytes{0xFF, 0xFF}},
        {"1805", "2A14", 0x02, 0, 0x10, 4, Bytes{0xFF, 0xFF, 0xFF, 0x00}},
        {"1807", "2A11", 0x02, 0, 0x10, 8, Bytes{0xFF, 0, 0, 0, 0, 0, 0, 0}},
        {"1806", "2A16", 0x04, 4, 0x20, 1, Bytes{0x00}},
        {"1806", "2A17", 0x02, 0, 0x10, 2, Bytes{0x00, 0xFF}},
        {"7905F431B5CE4E99A40F4B1E122D00D0", "69D1D8F345E149A898219BBDFDAAD9D9", 0x08, 0, 0x28, 0,
         std::nullopt},
        {"7905F431B5CE4E99A40F4B1E122D00D0", "9FBF120D630142D98C5825E699A21DBD", 0x12, 4, 0x20, 8,
         Bytes(8, 0xFF)},
        {"7905F431B5CE4E99A40F4B1E122D00D0", "22EAC6E924D64BB5BE44B36ACE7C7BFB", 0x12, 4, 0x28, 0,
         std::nullopt},
    };
    LocalServerDatabase database;
    ASSERT_EQ(database.ServiceCount(), 7);
    size_t row = 0;
    for (uint16_t s = 0; s < database.ServiceCount(); ++s) {
        const BleServerServiceRecord& service = database.Services()[s];
        EXPECT_EQ(service.reserved, 0);
        for (uint16_t c = 0; c < service.characteristicCount; ++c, ++row) {
            ASSERT_LT(row, std::size(rows));
            const Expected& expected = rows[row];
            const BleServerCharacteristicRecord& record = service.characteristics[c];
            SCOPED_TRACE(expected.characteristic);
            EXPECT_EQ(UuidText(service.uuid), expected.service);
            EXPECT_EQ(UuidText(record.uuid), expected.characteristic);
            EXPECT_EQ(record.properties, expected.properties);
            EXPECT_EQ(record.extraFlags, expected.extra);
            EXPECT_EQ(record.permissions, expected.permissions);
            EXPECT_EQ(record.length, expected.length);
            EXPECT_EQ(record.valueHandle | record.configHandle | record.reserved0, 0);
            ASSERT_EQ(record.value != nullptr, expected.value.has_value());
            if (record.value) {
                EXPECT_EQ(Bytes(record.value, record.value + record.length), *expected.value);
            }
        }
    }
    EXPECT_EQ(row, std::size(rows));
}

} // namespace
