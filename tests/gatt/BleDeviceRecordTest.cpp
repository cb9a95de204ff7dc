// A peer's database as its record keeps it, from well-formed and from broken discovery records, and
// the peer's address.
#include "gatt/BleDeviceRecord.h"

#include "gatt/Address.h"
#include "gatt/UuidFunctions.h"
#include "gatt/Uuids.h"
#include "support/DatabaseBuilder.h"

#include <gtest/gtest.h>

namespace {

namespace Chr = CharacteristicUuid;
const BleUuid kHeartRate = MakeUuid16(ServiceUuid::HeartRate);
const BleUuid kBattery = MakeUuid16(ServiceUuid::Battery);
const BleUuid kHid = MakeUuid16(ServiceUuid::HumanInterfaceDevice);
const BleUuid kAbsentService = MakeUuid16(ServiceUuid::CurrentTime);
const BleUuid kMeasurement = MakeUuid16(Chr::HeartRateMeasurement);
const BleUuid kLocation = MakeUuid16(Chr::BodySensorLocation);
const BleUuid kLevel = MakeUuid16(Chr::BatteryLevel);
const BleUuid kReport = MakeUuid16(Chr::Report);

class BleDeviceRecordTest : public testing::Test {
protected:
    // Heart Rate with two client configurations on the measurement and a 128-bit one on the location,
    // Battery twice, and a HID service with two reports.
    void SetUp() override {
        const BleUuid cccd = MakeUuid16(DescriptorUuid::ClientCharacteristicConfiguration);
        DatabaseBuilder database;
        database.Service(ServiceUuid::HeartRate, 0x10, 0x19)
            .Characteristic(Chr::HeartRateMeasurement, 0x12, 0x10)
            .Descriptor(MakeUuid16(0x2901), 0x13)
            .Descriptor(cccd, 0x14)
            .Descriptor(cccd, 0x15)
            .Characteristic(Chr::BodySensorLocation, 0x17, 0x02)
            .Descriptor(MakeUuid128(0x0000290200001000ULL, 0x800000805F9B34FBULL), 0x18)
            .Service(ServiceUuid::Battery, 0x20, 0x23)
            .Characteristic(Chr::BatteryLevel, 0x22, 0x12)
            .Service(ServiceUuid::Battery, 0x30, 0x33)
            .Characteristic(Chr::BatteryLevel, 0x32, 0x12)
            .Service(ServiceUuid::HumanInterfaceDevice, 0x40, 0x60)
            .Characteristic(Chr::Report, 0x50, 0x1A, 0x51)
            .Characteristic(Chr::Report, 0x44, 0x0E);
        const BleHostDatabaseEvent& event = database.Event(1);
        device.BuildServiceMap(event.serviceCount, event.services);
    }

    BleDeviceRecord device{BleTypedAddress{}, -60, QStringLiteral("Pulse"), 0x06, true};
};

TEST_F(BleDeviceRecordTest, HandlesAreFoundByServiceAndFirstCharacteristicOfAUuid) {
    const std::tuple<const char*, BleUuid, BleUuid, bool, uint16_t> rows[] = {
        {"value", kHeartRate, kMeasurement, false, 0x12},
        {"the later client configuration", kHeartRate, kMeasurement, true, 0x15},
        {"a 128-bit client configuration is none", kHeartRate, kLocation, true, 0},
        {"absent characteristic", kHeartRate, kLevel, false, 0},
        {"the first of two services", kBattery, kLevel, false, 0x22},
        {"the first of two reports", kHid, kReport, false, 0x50},
        {"its configuration", kHid, kReport, true, 0x51},
        {"absent service", kAbsentService, kMeasurement, false, 0},
    };
    for (const auto& [name, service, characteristic, configuration, expected] : rows) {
        EXPECT_EQ(device.GetHandle(service, characteristic, configuration), expected) << name;
    }
    const BleServiceEntry& heartRate = device.services.at(kHeartRate);
    const BleCharacteristicEntry& measurement = heartRate.characteristics.find(kMeasurement)->second;
    EXPECT_EQ(measurement.declarationHandle, 0x11);
    EXPECT_EQ(measurement.properties, 0x10);
    ASSERT_EQ(measurement.descriptors.size(), 1u);
    EXPECT_EQ(measurement.descriptors[0].handle, 0x13);
    EXPECT_EQ(heartRate.characteristics.find(kLocation)->second.descriptors.size(), 1u);
    const auto reports = device.services.at(kHid).characteristics.equal_range(kReport);
    EXPECT_EQ(std::next(reports.first)->second.valueHandle, 0x44);
}

TEST_F(BleDeviceRecordTest, AServiceIsFoundByItsUuidAndPropertiesTellAnAbsentServiceApart) {
    BleServiceEntry found;
    found.startHandle = 0x4242;
    EXPECT_FALSE(device.FindService(kAbsentService, found));
    EXPECT_EQ(found.startHandle, 0x4242);
    ASSERT_TRUE(device.FindService(kHeartRate, found));
    EXPECT_EQ(found.startHandle, 0x10);
    const std::tuple<BleUuid, BleUuid, bool, uint16_t> rows[] = {{kHeartRate, kLocation, true, 0x02},
                                                                 {kHeartRate, kLevel, true, 0},
                                                                 {kAbsentService, kLocation, false, 0}};
    for (const auto& [service, characteristic, result, expected] : rows) {
        uint16_t properties = 0xFFFF;
        EXPECT_EQ(device.GetCharacteristicProperties(service, characteristic, properties), result);
        EXPECT_EQ(properties, expected);
    }
}

TEST_F(BleDeviceRecordTest, RecordsAnnouncingMoreThanTheyHoldKeepNothingOfThatLevel) {
    // Counts without arrays: two descriptors, four characteristics, then three services.
    BleHostCharacteristicRecord characteristic{};
    characteristic.uuid = kMeasurement;
    characteristic.valueHandle = 0x12;
    characteristic.descriptorCount = 2;
    BleHostServiceRecord services[2] = {};
    services[0].uuid = kHeartRate;
    services[0].characteristicCount = 1;
    services[0].characteristics = &characteristic;
    services[1].uuid = kBattery;
    services[1].characteristicCount = 4;
    device.BuildServiceMap(2, services);
    EXPECT_EQ(device.GetHandle(kHeartRate, kMeasurement, false), 0x12);
    EXPECT_EQ(device.GetHandle(kHeartRate, kMeasurement, true), 0);
    EXPECT_TRUE(device.services.at(kBattery).characteristics.empty());
    device.BuildServiceMap(3, nullptr);
    EXPECT_TRUE(device.services.empty());
    device.BuildServiceMap(2, services);
    device.BuildServiceMap(0, services);
    EXPECT_TRUE(device.services.empty());
}

BleTypedAddress Address(uint8_t type, uint16_t nap, uint8_t uap, uint32_t lap) {
    BleTypedAddress result{};
    result.type = type;
    result.nap = nap;
    result.uap = uap;
    result.lap = lap;
    return result;
}

TEST(AddressTest, TextIsMostSignificantFirstInTwoUpperCaseDigitsPerByte) {
    EXPECT_EQ(BdAddrToString(Address(0, 0x000A, 0x0B, 0xFF00000C)), "00:0A:0B:00:00:0C");
}

TEST(AddressTest, SameAddressComparesTypeNapUapAndLap) {
    const BleTypedAddress base = Address(0, 0x1234, 0x56, 0x789ABC);
    const std::tuple<const char*, BleTypedAddress, bool> rows[] = {
        {"unused LAP byte differs", Address(0, 0x1234, 0x56, 0x01789ABC), true},
        {"type differs", Address(1, 0x1234, 0x56, 0x789ABC), false},
        {"NAP differs", Address(0, 0x1235, 0x56, 0x789ABC), false},
        {"UAP differs", Address(0, 0x1234, 0x57, 0x789ABC), false},
        {"LAP differs", Address(0, 0x1234, 0x56, 0x789ABD), false},
    };
    for (const auto& [name, other, same] : rows) {
        EXPECT_EQ(IsSameAddress(base, other), same) << name;
        EXPECT_EQ(IsSameAddress(other, base), same) << name;
    }
}

} // namespace
