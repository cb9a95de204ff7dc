#include "gatt/GattNames.h"

#include "gatt/UuidFunctions.h"
#include "gatt/Uuids.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
    const char* label;
    BleUuid uuid;
    QString name;
    QString description;
};

BleUuid otherKind() {
    BleUuid uuid = MakeUuid128(0x0102030405060708ULL, 0x090A0B0C0D0E0F10ULL);
    uuid.kind = 4;
    return uuid;
}

TEST(GattNamesTest, ServiceNamesWithFallbacks) {
    const BleUuid unknownVendor = MakeVendorUuid(0xD00F);
    const NameCase cases[] = {
        {"16-bit in table", MakeUuid16(ServiceUuid::HeartRate), "Heart Rate Service",
         "This service exposes heart rate and other data from a Heart Rate Sensor intended for fitness "
         "applications"},
        {"legacy HID", MakeUuid16(ServiceUuid::LegacyHid), "HID Service (legacy)",
         "This service exposes reports and other data from a human interface device"},
        {"16-bit not in table", MakeUuid16(ServiceUuid::CurrentTime), "Service 0x1805", ""},
        {"16-bit padded upper-case", MakeUuid16(0x00ab), "Service 0x00AB", ""},
        {"vendor service", MakeVendorUuid(VendorUuid::OtaApplicationService),
         "Over-the-Air Update Application Service",
         "This service exposes Over-the-Air Update capabilities of ORV Veyra application."},
        {"vendor bootloader", MakeVendorUuid(VendorUuid::OtaBootloaderService),
         "Over-the-Air Bootloader Update Service",
         "This service exposes the Over-the-Air Update abilities of a device."},
        {"vendor not in table", unknownVendor, "Unknown Service", "0000D00F-4B7E-11E2-8C3A-5F8C2E10B7D4"},
        {"other kind", otherKind(), "Unknown Service", "01020304-0506-0708-090A-0B0C0D0E0F10"},
    };
    for (const NameCase& c : cases) {
        const GattName name = ServiceName(c.uuid);
        EXPECT_EQ(name.name, c.name) << c.label;
        EXPECT_EQ(name.description, c.description) << c.label;
    }
}

TEST(GattNamesTest, CharacteristicNamesWithFallbacks) {
    const NameCase cases[] = {
        {"device name", MakeUuid16(CharacteristicUuid::DeviceName), "Device Name",
         "This characteristic contains the name of the device"},
        {"service changed keeps its text", MakeUuid16(CharacteristicUuid::ServiceChanged), "Service Changed",
         "ThIS characteristic is a control-point attribute that shall be used to indicate to connected "
         "devices that "
         "services have changed (i.e., added, removed or modified)"},
        {"body sensor location", MakeUuid16(CharacteristicUuid::BodySensorLocation), "Sensor Location",
         "This characteristic is used to describe the intended location of the heart rate measurement for "
         "the device"},
        {"shared feature text", MakeUuid16(CharacteristicUuid::WeightScaleFeature), "Weight Scale Feature",
         "This characteristic is used to describe the supported features of the device"},
        {"flux 2D", MakeUuid16(CharacteristicUuid::MagneticFluxDensity2D), "Magnetic Fluc Density 2D",
         "This characteristic is used to describe the magentic flux density of the enviroment in 2 "
         "dimensions"},
        {"legacy descriptor extension", MakeUuid16(CharacteristicUuid::LegacyHidDescriptorExtension),
         "Descriptor extension",
         "This characteristic returns the second 512 octets of the HID report descriptor"},
        {"16-bit not in table", MakeUuid16(CharacteristicUuid::AlertStatus), "Characteristic 0x2A3F", ""},
        {"vendor pressure", MakeVendorUuid(VendorUuid::PressureMeasurement),
         "Pressure measurement characteristic",
         "This characteristic specifies the last measured pressure in kPa units"},
        {"vendor version", MakeVendorUuid(VendorUuid::OtaVersion), "Version characteristic",
         "The version of the Over-the-Air Bootloader present on the device."},
        {"vendor calibration", MakeVendorUuid(VendorUuid::MagnetometerCalibration),
         "Magnetometer Calibration characteristic",
         "This characteristic starts/stop the calibration of the magnetometer"},
        {"vendor service is no characteristic", MakeVendorUuid(VendorUuid::TemperaturePressureService),
         "Unknown characteristic", "0000D000-4B7E-11E2-8C3A-5F8C2E10B7D4"},
    };
    for (const NameCase& c : cases) {
        const GattName name = CharacteristicName(c.uuid);
        EXPECT_EQ(name.name, c.name) << c.label;
        EXPECT_EQ(name.description, c.description) << c.label;
    }
}

TEST(GattNamesTest, EveryNamedCharacteristicHasADescription) {
    const uint16_t named[] = {0x2A00, 0x2A01, 0x2A02, 0x2A03, 0x2A04, 0x2A05, 0x2A06, 0x2A07, 0x2A18, 0x2A19,
                              0x2A1C, 0x2A1D, 0x2A22, 0x2A23, 0x2A24, 0x2A25, 0x2A26, 0x2A27, 0x2A28, 0x2A29,
                              0x2A2A, 0x2A32, 0x2A33, 0x2A34, 0x2A35, 0x2A36, 0x2A37, 0x2A38, 0x2A39, 0x2A49,
                              0x2A4A, 0x2A4B, 0x2A4C, 0x2A4D, 0x2A4E, 0x2A50, 0x2A51, 0x2A52, 0x2A53, 0x2A54,
                              0x2A55, 0x2A5B, 0x2A5C, 0x2A5D, 0x2A6D, 0x2A6E, 0x2A6F, 0x2A8A, 0x2A99, 0x2A9A,
                              0x2A9B, 0x2A9C, 0x2A9D, 0x2A9E, 0x2A9F, 0x2AA0, 0x2AA1, 0x2AA4, 0x2AA5, 0x2C00,
                              0x2C01, 0x2C02, 0x2C03, 0x2C04};
    static_assert(std::size(named) == 64);
    for (uint16_t uuid : named) {
        const GattName name = CharacteristicName(MakeUuid16(uuid));
        EXPECT_FALSE(name.name.startsWith("Characteristic 0x")) << std::hex << uuid;
        EXPECT_FALSE(name.description.isEmpty()) << std::hex << uuid;
    }
}

TEST(GattNamesTest, EveryVendorCharacteristicIsNamed) {
    const uint16_t named[] = {0xD001, 0xD002, 0xD003, 0xD004, 0xD006, 0xAB15, 0xAAA1, 0xAAA3,
                              0xAAA2, 0xAAA4, 0x1017, 0x1013, 0x1014, 0x1011, 0x1015};
    for (uint16_t number : named) {
        const GattName name = CharacteristicName(MakeVendorUuid(number));
        EXPECT_TRUE(name.name.endsWith(" characteristic")) << std::hex << number;
        EXPECT_FALSE(name.description.isEmpty()) << std::hex << number;
    }
}

TEST(GattNamesTest, Uuid128TextRunsFromByteFifteenDown) {
    BleUuid uuid{};
    uuid.kind = BLE_UUID_KIND_128;
    for (int i = 0; i < 16; ++i) {
        uuid.uuid128[i] = static_cast<uint8_t>(0xA0 + i);
    }
    EXPECT_EQ(Uuid128ToString(uuid), "AFAEADAC-ABAA-A9A8-A7A6-A5A4A3A2A1A0");
}

TEST(GattNamesTest, Uuid128TextOfASixteenBitRecordUsesItsBytesAsDelivered) {
    EXPECT_EQ(Uuid128ToString(MakeUuid16(0x180D)), "00000000-0000-0000-0000-000000000000");
}

} // namespace
