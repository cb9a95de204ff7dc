// UUIDs: their order, layout and text, the vendor UUIDs, and the names of services and characteristics.
#include "gatt/UuidFunctions.h"

#include "gatt/GattNames.h"
#include "gatt/Uuids.h"

#include <gtest/gtest.h>

namespace {

BleUuid WithStrayBytes(uint16_t value) {
    BleUuid uuid = MakeUuid16(value);
    uuid.uuid128[15] = 0xFF;
    return uuid;
}

// Each row: a, b, and whether a comes first; b never comes before a.
TEST(UuidFunctionsTest, MapsRunFrom128BitToSixteenBitAndFromGreaterToSmaller) {
    const std::tuple<const char*, BleUuid, BleUuid, bool> rows[] = {
        {"greater 16-bit first", MakeUuid16(0x181E), MakeUuid16(0x1800), true},
        {"16-bit compared unsigned", MakeUuid16(0x8000), MakeUuid16(0x7FFF), true},
        {"equal 16-bit", MakeUuid16(0x180D), MakeUuid16(0x180D), false},
        {"16-bit ignores its 128-bit bytes", WithStrayBytes(0x2A37), MakeUuid16(0x2A37), false},
        {"128-bit before 16-bit", MakeUuid128(0, 1), MakeUuid16(0xFFFF), true},
        {"most significant byte decides", MakeUuid128(0x0100000000000000ULL, 0),
         MakeUuid128(0x00FFFFFFFFFFFFFFULL, ~0ULL), true},
        {"least significant byte decides last", MakeUuid128(7, 2), MakeUuid128(7, 1), true},
        {"equal 128-bit", MakeVendorUuid(0xD000), MakeVendorUuid(0xD000), false},
    };
    for (const auto& [name, a, b, aFirst] : rows) {
        EXPECT_EQ(BleUuidGreater(a, b), aFirst) << name;
        EXPECT_FALSE(BleUuidGreater(b, a)) << name;
    }
}

TEST(UuidFunctionsTest, HundredTwentyEightBitValuesAreStoredLeastSignificantByteFirst) {
    const BleUuid uuid = MakeUuid128(0x0011223344556677ULL, 0x8899AABBCCDDEEFFULL);
    EXPECT_EQ(uuid.uuid128[0], 0xFF);
    EXPECT_EQ(uuid.uuid128[15], 0x00);
    EXPECT_EQ(Uuid128ToString(uuid), "00112233-4455-6677-8899-AABBCCDDEEFF");
}

TEST(UuidFunctionsTest, VendorUuidNeedsKind128TheGivenHighAndTheVendorLow) {
    const BleUuid vendor = MakeVendorUuid(0xD000);
    BleUuid sixteenBitKind = vendor;
    sixteenBitKind.kind = BLE_UUID_KIND_16;
    const uint64_t high = VendorUuidHigh(0xD000);
    const std::tuple<const char*, BleUuid, uint64_t, bool> rows[] = {
        {"vendor service", vendor, high, true},
        {"other vendor number", vendor, VendorUuidHigh(0xD001), false},
        {"other lower half", MakeUuid128(high, kVendorUuidLow ^ 1), high, false},
        {"16-bit kind", sixteenBitKind, high, false},
    };
    for (const auto& [name, uuid, expectedHigh, expected] : rows) {
        EXPECT_EQ(IsVendorUuid(uuid, expectedHigh), expected) << name;
    }
}

using LookUp = GattName (*)(const BleUuid&);

TEST(UuidFunctionsTest, ServicesAndCharacteristicsAreNamedFromTheTablesWithFallbacks) {
    const std::tuple<const char*, LookUp, BleUuid, QString, QString> rows[] = {
        {"16-bit service", ServiceName, MakeUuid16(ServiceUuid::HeartRate), "Heart Rate Service",
         "This service exposes heart rate and other data from a Heart Rate Sensor intended for fitness "
         "applications"},
        {"16-bit service not in the table", ServiceName, MakeUuid16(0x00ab), "Service 0x00AB", ""},
        {"vendor service", ServiceName, MakeVendorUuid(VendorUuid::OtaBootloaderService),
         "Over-the-Air Bootloader Update Service",
         "This service exposes the Over-the-Air Update abilities of a device."},
        {"vendor service not in the table", ServiceName, MakeVendorUuid(0xD00F), "Unknown Service",
         "0000D00F-4B7E-11E2-8C3A-5F8C2E10B7D4"},
        {"16-bit characteristic", CharacteristicName, MakeUuid16(CharacteristicUuid::BodySensorLocation),
         "Sensor Location",
         "This characteristic is used to describe the intended location of the heart rate measurement for "
         "the device"},
        {"16-bit characteristic not in the table", CharacteristicName,
         MakeUuid16(CharacteristicUuid::AlertStatus), "Characteristic 0x2A3F", ""},
        {"vendor characteristic", CharacteristicName, MakeVendorUuid(VendorUuid::OtaVersion),
         "Version characteristic", "The version of the Over-the-Air Bootloader present on the device."},
        {"a vendor service is no characteristic", CharacteristicName,
         MakeVendorUuid(VendorUuid::TemperaturePressureService), "Unknown characteristic",
         "0000D000-4B7E-11E2-8C3A-5F8C2E10B7D4"},
    };
    for (const auto& [label, lookUp, uuid, name, description] : rows) {
        EXPECT_EQ(lookUp(uuid).name, name) << label;
        EXPECT_EQ(lookUp(uuid).description, description) << label;
    }
}

} // namespace
