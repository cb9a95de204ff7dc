#include "gatt/LocalServerDatabase.h"

#include "gatt/GattNames.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using Bytes = std::vector<uint8_t>;

std::string UuidText(const BleUuid& uuid) {
    return (uuid.kind == BLE_UUID_KIND_16 ? QString::asprintf("%04X", uuid.uuid16) : Uuid128ToString(uuid))
        .toStdString();
}

TEST(LocalServerDatabaseTest, RegistersTheSevenServicesAsTheTableGivesThem) {
    // Service, characteristic, properties, extra flags, permissions, length and value (none: no buffer).
    using Row =
        std::tuple<std::string, std::string, uint8_t, uint16_t, uint16_t, uint16_t, std::optional<Bytes>>;
    const std::string ancs = "7905F431-B5CE-4E99-A40F-4B1E122D00D0";
    const std::vector<Row> expected = {
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
        {ancs, "69D1D8F3-45E1-49A8-9821-9BBDFDAAD9D9", 0x08, 0, 0x28, 0, std::nullopt},
        {ancs, "9FBF120D-6301-42D9-8C58-25E699A21DBD", 0x12, 4, 0x20, 8, Bytes(8, 0xFF)},
        {ancs, "22EAC6E9-24D6-4BB5-BE44-B36ACE7C7BFB", 0x12, 4, 0x28, 0, std::nullopt},
    };
    LocalServerDatabase database;
    EXPECT_EQ(database.ServiceCount(), 7);
    std::vector<Row> registered;
    for (uint16_t s = 0; s < database.ServiceCount(); ++s) {
        const BleServerServiceRecord& service = database.Services()[s];
        EXPECT_EQ(service.reserved, 0);
        for (uint16_t c = 0; c < service.characteristicCount; ++c) {
            const BleServerCharacteristicRecord& record = service.characteristics[c];
            EXPECT_EQ(record.valueHandle | record.configHandle | record.reserved0, 0);
            std::optional<Bytes> value;
            if (record.value)
                value = Bytes(record.value, record.value + record.length);
            registered.emplace_back(UuidText(service.uuid), UuidText(record.uuid), record.properties,
                                    record.extraFlags, record.permissions, record.length, value);
        }
    }
    EXPECT_EQ(registered, expected);
}

} // namespace
