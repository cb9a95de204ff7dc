#include "gatt/BleDeviceRecord.h"

#include "gatt/Address.h"
#include "gatt/Uuids.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace {

BleTypedAddress testAddress() {
    BleTypedAddress address{};
    address.type = 1;
    address.nap = 0x1234;
    address.uap = 0x56;
    address.lap = 0x789ABC;
    return address;
}

BleHostDescriptorRecord descriptor(const BleUuid& uuid, uint16_t handle) {
    return BleHostDescriptorRecord{uuid, handle};
}

// Builds the host library's discovery records; keeps the arrays they point into alive.
class Database {
public:
    // Adds a characteristic to the service added last.
    Database& characteristic(uint16_t uuid, uint16_t valueHandle, uint8_t properties,
                             std::vector<BleHostDescriptorRecord> descriptors = {}) {
        return characteristic(MakeUuid16(uuid), valueHandle, properties, std::move(descriptors));
    }

    Database& characteristic(const BleUuid& uuid, uint16_t valueHandle, uint8_t properties,
                             std::vector<BleHostDescriptorRecord> descriptors) {
        auto& stored = m_descriptors.emplace_back(std::move(descriptors));
        BleHostCharacteristicRecord record{};
        record.uuid = uuid;
        record.declarationHandle = static_cast<uint16_t>(valueHandle - 1);
        record.valueHandle = valueHandle;
        record.properties = properties;
        record.descriptorCount = static_cast<uint16_t>(stored.size());
        record.descriptors = stored.empty() ? nullptr : stored.data();
        m_characteristics.back().push_back(record);
        return *this;
    }

    Database& service(const BleUuid& uuid, uint16_t start, uint16_t end) {
        m_serviceUuids.push_back({uuid, start, end});
        m_characteristics.emplace_back();
        return *this;
    }

    // The service records, valid while this object lives and no service is added.
    const std::vector<BleHostServiceRecord>& records() {
        m_records.clear();
        for (size_t i = 0; i < m_serviceUuids.size(); ++i) {
            BleHostServiceRecord record{};
            record.uuid = m_serviceUuids[i].uuid;
            record.startHandle = m_serviceUuids[i].start;
            record.endHandle = m_serviceUuids[i].end;
            record.characteristicCount = static_cast<uint16_t>(m_characteristics[i].size());
            record.characteristics = m_characteristics[i].empty() ? nullptr : m_characteristics[i].data();
            m_records.push_back(record);
        }
        return m_records;
    }

    void buildInto(BleDeviceRecord& device) {
        const auto& built = records();
        device.BuildServiceMap(static_cast<int>(built.size()), built.data());
    }

private:
    struct ServiceHead {
        BleUuid uuid;
        uint16_t start;
        uint16_t end;
    };
    std::vector<ServiceHead> m_serviceUuids;
    std::deque<std::vector<BleHostCharacteristicRecord>> m_characteristics;
    std::deque<std::vector<BleHostDescriptorRecord>> m_descriptors;
    std::vector<BleHostServiceRecord> m_records;
};

const BleUuid kHeartRate = MakeUuid16(ServiceUuid::HeartRate);
const BleUuid kBattery = MakeUuid16(ServiceUuid::Battery);
const BleUuid kMeasurement = MakeUuid16(CharacteristicUuid::HeartRateMeasurement);
const BleUuid kLocation = MakeUuid16(CharacteristicUuid::BodySensorLocation);
const BleUuid kCccd = MakeUuid16(DescriptorUuid::ClientCharacteristicConfiguration);
const BleUuid kReportReference = MakeUuid16(DescriptorUuid::ReportReference);

class BleDeviceRecordTest : public testing::Test {
protected:
    BleDeviceRecord device{testAddress(), -60, QStringLiteral("Pulse"), 0x06, true};
    Database database;

    void buildHeartRate() {
        database.service(kHeartRate, 0x0010, 0x0018)
            .characteristic(CharacteristicUuid::HeartRateMeasurement, 0x0012, 0x10,
                            {descriptor(kCccd, 0x0013)})
            .characteristic(CharacteristicUuid::BodySensorLocation, 0x0015, 0x02)
            .characteristic(CharacteristicUuid::HeartRateControlPoint, 0x0017, 0x08);
        database.buildInto(device);
    }
};

TEST_F(BleDeviceRecordTest, ConstructorSetsTheGivenFieldsAndTheDocumentedDefaults) {
    EXPECT_TRUE(IsSameAddress(device.address, testAddress()));
    EXPECT_EQ(device.rssi, -60);
    EXPECT_EQ(device.name, "Pulse");
    EXPECT_EQ(device.adFlags, 0x06);
    EXPECT_TRUE(device.paired);
    EXPECT_EQ(device.appearance, 0);
    EXPECT_EQ(device.txPower, 65535);
    EXPECT_EQ(device.slaveIntervalMin, 0);
    EXPECT_EQ(device.slaveIntervalMax, 0);
    EXPECT_EQ(device.connectionParameters.intervalMin, 0);
    EXPECT_EQ(device.connectionParameters.intervalMax, 0);
    EXPECT_EQ(device.connectionParameters.slaveLatency, 0);
    EXPECT_EQ(device.connectionParameters.supervisionTimeout, 0);
    EXPECT_EQ(device.treeItem, nullptr);
    EXPECT_EQ(device.cid, 0u);
    EXPECT_TRUE(device.services.empty());
    EXPECT_FALSE(device.connected);
    EXPECT_EQ(device.roles, 0u);
    EXPECT_FALSE(device.bondDeletionSupported);
}

TEST_F(BleDeviceRecordTest, DisplayNameIsTheNameOrTheAddressTextWhenEmpty) {
    EXPECT_EQ(device.GetDisplayName(), "Pulse");
    device.SetName(QString());
    EXPECT_EQ(device.GetDisplayName(), "12:34:56:78:9A:BC");
    EXPECT_EQ(device.GetName(), "");
}

TEST_F(BleDeviceRecordTest, SetNameReplacesTheName) {
    device.SetName(QStringLiteral("Brustgurt \u00e4"));
    EXPECT_EQ(device.GetName(), QStringLiteral("Brustgurt \u00e4"));
    EXPECT_EQ(device.GetAddressString(), "12:34:56:78:9A:BC");
}

TEST_F(BleDeviceRecordTest, BuildServiceMapKeepsHandlesPropertiesAndSplitsOffTheClientConfiguration) {
    database.service(kHeartRate, 0x0010, 0x0018)
        .characteristic(CharacteristicUuid::HeartRateMeasurement, 0x0012, 0x10,
                        {descriptor(MakeUuid16(0x2901), 0x0013), descriptor(kCccd, 0x0014),
                         descriptor(kReportReference, 0x0015)});
    database.buildInto(device);

    ASSERT_EQ(device.services.size(), 1u);
    const BleServiceEntry& service = device.services.begin()->second;
    EXPECT_EQ(service.startHandle, 0x0010);
    EXPECT_EQ(service.endHandle, 0x0018);
    EXPECT_EQ(service.uuid.uuid16, ServiceUuid::HeartRate);
    ASSERT_EQ(service.characteristics.size(), 1u);
    const BleCharacteristicEntry& entry = service.characteristics.begin()->second;
    EXPECT_EQ(entry.valueHandle, 0x0012);
    EXPECT_EQ(entry.declarationHandle, 0x0011);
    EXPECT_EQ(entry.properties, 0x10);
    EXPECT_EQ(entry.configHandle, 0x0014);
    ASSERT_EQ(entry.descriptors.size(), 2u);
    EXPECT_EQ(entry.descriptors[0].uuid.uuid16, 0x2901);
    EXPECT_EQ(entry.descriptors[0].handle, 0x0013);
    EXPECT_EQ(entry.descriptors[1].uuid.uuid16, DescriptorUuid::ReportReference);
    EXPECT_EQ(entry.descriptors[1].handle, 0x0015);
}

TEST_F(BleDeviceRecordTest, LaterClientConfigurationDescriptorOverwritesAnEarlierOne) {
    database.service(kHeartRate, 0x0010, 0x0018)
        .characteristic(CharacteristicUuid::HeartRateMeasurement, 0x0012, 0x10,
                        {descriptor(kCccd, 0x0013), descriptor(kCccd, 0x0014)});
    database.buildInto(device);
    EXPECT_EQ(device.GetHandle(kHeartRate, kMeasurement, true), 0x0014);
    EXPECT_TRUE(device.services.begin()->second.characteristics.begin()->second.descriptors.empty());
}

TEST_F(BleDeviceRecordTest, ClientConfigurationWrittenAs128BitStaysADescriptor) {
    const BleUuid longCccd = MakeUuid128(0x0000290200001000ULL, 0x800000805F9B34FBULL);
    database.service(kHeartRate, 0x0010, 0x0018)
        .characteristic(kMeasurement, 0x0012, 0x10, {descriptor(longCccd, 0x0013)});
    database.buildInto(device);
    EXPECT_EQ(device.GetHandle(kHeartRate, kMeasurement, true), 0);
    const auto& entry = device.services.begin()->second.characteristics.begin()->second;
    ASSERT_EQ(entry.descriptors.size(), 1u);
    EXPECT_EQ(entry.descriptors[0].handle, 0x0013);
}

TEST_F(BleDeviceRecordTest, SecondServiceWithTheSameUuidIsDropped) {
    database.service(kBattery, 0x0020, 0x0023)
        .characteristic(CharacteristicUuid::BatteryLevel, 0x0022, 0x12)
        .service(kBattery, 0x0030, 0x0033)
        .characteristic(CharacteristicUuid::BatteryLevel, 0x0032, 0x12);
    database.buildInto(device);
    ASSERT_EQ(device.services.size(), 1u);
    EXPECT_EQ(device.services.begin()->second.startHandle, 0x0020);
    EXPECT_EQ(device.GetHandle(kBattery, MakeUuid16(CharacteristicUuid::BatteryLevel), false), 0x0022);
}

TEST_F(BleDeviceRecordTest, CharacteristicsSharingAUuidAreAllKeptInDeliveryOrder) {
    const BleUuid hid = MakeUuid16(ServiceUuid::HumanInterfaceDevice);
    const BleUuid report = MakeUuid16(CharacteristicUuid::Report);
    database.service(hid, 0x0040, 0x0060)
        .characteristic(CharacteristicUuid::Report, 0x0050, 0x1A, {descriptor(kCccd, 0x0051)})
        .characteristic(CharacteristicUuid::ReportMap, 0x0042, 0x02)
        .characteristic(CharacteristicUuid::Report, 0x0044, 0x0E)
        .characteristic(CharacteristicUuid::Report, 0x0048, 0x1A, {descriptor(kCccd, 0x0049)});
    database.buildInto(device);

    const BleServiceEntry& service = device.services.begin()->second;
    const auto range = service.characteristics.equal_range(report);
    std::vector<uint16_t> handles;
    for (auto it = range.first; it != range.second; ++it) {
        handles.push_back(it->second.valueHandle);
    }
    EXPECT_EQ(handles, (std::vector<uint16_t>{0x0050, 0x0044, 0x0048}));
    EXPECT_EQ(device.GetHandle(hid, report, false), 0x0050);
    EXPECT_EQ(device.GetHandle(hid, report, true), 0x0051);
}

TEST_F(BleDeviceRecordTest, RebuildingReplacesTheWholeMap) {
    buildHeartRate();
    Database other;
    other.service(kBattery, 0x0020, 0x0023).characteristic(CharacteristicUuid::BatteryLevel, 0x0022, 0x12);
    other.buildInto(device);
    ASSERT_EQ(device.services.size(), 1u);
    EXPECT_EQ(device.GetHandle(kHeartRate, kMeasurement, false), 0);
}

TEST_F(BleDeviceRecordTest, CountBelowOneEmptiesTheMap) {
    for (int count : {0, -1}) {
        buildHeartRate();
        const auto& records = database.records();
        device.BuildServiceMap(count, records.data());
        EXPECT_TRUE(device.services.empty()) << count;
    }
}

TEST_F(BleDeviceRecordTest, NullServiceArrayWithACountGivesAnEmptyMap) {
    buildHeartRate();
    device.BuildServiceMap(3, nullptr);
    EXPECT_TRUE(device.services.empty());
}

TEST_F(BleDeviceRecordTest, NullCharacteristicArrayWithACountGivesAServiceWithoutCharacteristics) {
    BleHostServiceRecord record{};
    record.uuid = kHeartRate;
    record.startHandle = 0x0010;
    record.endHandle = 0x0018;
    record.characteristicCount = 4;
    device.BuildServiceMap(1, &record);
    ASSERT_EQ(device.services.size(), 1u);
    EXPECT_TRUE(device.services.begin()->second.characteristics.empty());
}

TEST_F(BleDeviceRecordTest, NullDescriptorArrayWithACountGivesNoDescriptors) {
    BleHostCharacteristicRecord characteristic{};
    characteristic.uuid = kMeasurement;
    characteristic.valueHandle = 0x0012;
    characteristic.descriptorCount = 2;
    BleHostServiceRecord record{};
    record.uuid = kHeartRate;
    record.characteristicCount = 1;
    record.characteristics = &characteristic;
    device.BuildServiceMap(1, &record);
    EXPECT_EQ(device.GetHandle(kHeartRate, kMeasurement, false), 0x0012);
    EXPECT_EQ(device.GetHandle(kHeartRate, kMeasurement, true), 0);
}

TEST_F(BleDeviceRecordTest, GetHandleReturnsValueOrConfigurationHandleAndZeroWhenAbsent) {
    buildHeartRate();
    struct Case {
        const char* name;
        BleUuid service;
        BleUuid characteristic;
        bool configuration;
        uint16_t expected;
    };
    const Case cases[] = {
        {"value handle", kHeartRate, kMeasurement, false, 0x0012},
        {"configuration handle", kHeartRate, kMeasurement, true, 0x0013},
        {"no configuration descriptor", kHeartRate, kLocation, true, 0},
        {"value without configuration descriptor", kHeartRate, kLocation, false, 0x0015},
        {"absent characteristic", kHeartRate, MakeUuid16(CharacteristicUuid::BatteryLevel), false, 0},
        {"absent service", kBattery, kMeasurement, false, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(device.GetHandle(c.service, c.characteristic, c.configuration), c.expected) << c.name;
    }
}

TEST_F(BleDeviceRecordTest, GetHandle16LooksUpWithinOneServiceEntry) {
    buildHeartRate();
    const BleServiceEntry& service = device.services.begin()->second;
    EXPECT_EQ(BleDeviceRecord::GetHandle16(service, CharacteristicUuid::HeartRateControlPoint, false),
              0x0017);
    EXPECT_EQ(BleDeviceRecord::GetHandle16(service, CharacteristicUuid::HeartRateMeasurement, true), 0x0013);
    EXPECT_EQ(BleDeviceRecord::GetHandle16(service, CharacteristicUuid::BatteryLevel, false), 0);
    EXPECT_EQ(BleDeviceRecord::GetServiceHandle(false, service, kLocation), 0x0015);
}

TEST_F(BleDeviceRecordTest, FindServiceCopiesTheWholeEntry) {
    buildHeartRate();
    BleServiceEntry found;
    ASSERT_TRUE(device.FindService(kHeartRate, found));
    EXPECT_EQ(found.startHandle, 0x0010);
    EXPECT_EQ(found.characteristics.size(), 3u);
    device.services.clear();
    EXPECT_EQ(BleDeviceRecord::GetHandle16(found, CharacteristicUuid::HeartRateMeasurement, true), 0x0013);
}

TEST_F(BleDeviceRecordTest, FindServiceLeavesTheOutParameterUntouchedWhenAbsent) {
    buildHeartRate();
    BleServiceEntry found;
    found.startHandle = 0x4242;
    EXPECT_FALSE(device.FindService(kBattery, found));
    EXPECT_EQ(found.startHandle, 0x4242);
}

TEST_F(BleDeviceRecordTest, CharacteristicPropertiesTellServicePresenceApartFromCharacteristicPresence) {
    buildHeartRate();
    struct Case {
        const char* name;
        BleUuid service;
        BleUuid characteristic;
        bool result;
        uint16_t properties;
    };
    const Case cases[] = {
        {"both present", kHeartRate, kLocation, true, 0x02},
        {"characteristic absent", kHeartRate, MakeUuid16(CharacteristicUuid::BatteryLevel), true, 0},
        {"service absent", kBattery, kLocation, false, 0},
    };
    for (const Case& c : cases) {
        uint16_t properties = 0xFFFF;
        EXPECT_EQ(device.GetCharacteristicProperties(c.service, c.characteristic, properties), c.result)
            << c.name;
        EXPECT_EQ(properties, c.properties) << c.name;
    }
}

} // namespace
