#include "gatt/GattNames.h"

#include "gatt/UuidFunctions.h"
#include "gatt/Uuids.h"

#include <gtest/gtest.h>

namespace {

struct NameRow {
    const char* label;
    GattName (*lookUp)(const BleUuid&);
    BleUuid uuid;
    QString name;
    QString description;
};

TEST(GattNamesTest, ServicesAndCharacteristicsAreNamedFromTheTablesWithFallbacks) {
    const NameRow rows[] = {
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
    for (const NameRow& row : rows) {
        const GattName name = row.lookUp(row.uuid);
        EXPECT_EQ(name.name, row.name) << row.label;
        EXPECT_EQ(name.description, row.description) << row.label;
    }
}

} // namespace
