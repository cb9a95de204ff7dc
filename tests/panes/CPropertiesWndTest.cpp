#include "panes/CPropertiesWnd.h"

#include "gatt/BleDeviceRecord.h"
#include "gatt/UuidFunctions.h"
#include "gatt/Uuids.h"
#include "platform/DialogItems.h"
#include "platform/StringTable.h"
#include "platform/ui/Property.h"
#include "platform/ui/PropertyGrid.h"
#include "res/StringTable.h"
#include "res/resource.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

using platform::Property;

namespace {

BleTypedAddress Address() {
    BleTypedAddress address{};
    address.nap = 0x1234;
    address.uap = 0x56;
    address.lap = 0x789ABC;
    return address;
}

BleDeviceRecord Record(const QString& name = QStringLiteral("Sensor"), int rssi = -60, uint8_t flags = 0x06) {
    return BleDeviceRecord(Address(), rssi, name, flags, false);
}

BleCharacteristicEntry Characteristic(const BleUuid& uuid, uint16_t value, uint16_t config,
                                      uint8_t properties) {
    BleCharacteristicEntry entry;
    entry.uuid = uuid;
    entry.valueHandle = value;
    entry.configHandle = config;
    entry.declarationHandle = static_cast<uint16_t>(value - 1);
    entry.properties = properties;
    return entry;
}

BleServiceEntry Service(const BleUuid& uuid, uint16_t start, uint16_t end,
                        std::initializer_list<BleCharacteristicEntry> characteristics = {}) {
    BleServiceEntry service;
    service.uuid = uuid;
    service.startHandle = start;
    service.endHandle = end;
    for (const BleCharacteristicEntry& characteristic : characteristics)
        service.characteristics.emplace(characteristic.uuid, characteristic);
    return service;
}

void AddService(BleDeviceRecord& record, const BleServiceEntry& service) {
    record.services.emplace(service.uuid, service);
}

class CPropertiesWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::installStringTable(applicationStrings());
        m_pane = std::make_unique<CPropertiesWnd>();
    }

    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    platform::PropertyGrid* Grid() const { return m_pane->PropertyList(); }

    // The property reached by names from the top level; nullptr when any step is missing.
    Property* Find(std::initializer_list<const char*> path) const {
        Property* found = nullptr;
        for (const char* name : path) {
            Property* next = nullptr;
            const int count = found ? found->subItemCount() : Grid()->propertyCount();
            for (int i = 0; i < count && !next; ++i) {
                Property* candidate = found ? found->subItem(i) : Grid()->property(i);
                if (candidate->name() == QString::fromUtf8(name))
                    next = candidate;
            }
            if (!next)
                return nullptr;
            found = next;
        }
        return found;
    }

    Property* General(const char* name) const { return Find({"General", name}); }

    static std::vector<std::string> Names(const Property* group) {
        std::vector<std::string> names;
        for (int i = 0; i < group->subItemCount(); ++i)
            names.push_back(group->subItem(i)->name().toStdString());
        return names;
    }

    std::unique_ptr<CPropertiesWnd> m_pane;
};

TEST_F(CPropertiesWndTest, PaneAndGridCarryTheirIdsAndTitle) {
    EXPECT_EQ(m_pane->windowTitle(), platform::LoadString(IDS_PROPERTIES_PANE));
    EXPECT_EQ(m_pane->property(platform::kControlIdProperty).toUInt(), IDC_PROPERTIES_PANE);
    EXPECT_EQ(platform::GetDlgItem(m_pane.get(), IDC_PROPERTY_GRID), Grid());
}

TEST_F(CPropertiesWndTest, FreshPaneShowsTheGeneralGroupInItsInitialState) {
    ASSERT_EQ(Grid()->propertyCount(), 1);
    const Property* general = Find({"General"});
    ASSERT_NE(general, nullptr);
    EXPECT_EQ(general->description(), QStringLiteral("General Bluetooth Smart device properties"));
    EXPECT_EQ(Names(general), (std::vector<std::string>{"Address", "Name", "RSSI", "TX Level", "Flags",
                                                        "Connection interval"}));
    EXPECT_EQ(Names(General("Flags")),
              (std::vector<std::string>{"Limited", "General", "LE only", "Dual mode support in controller",
                                        "Dual mode support in host"}));
    EXPECT_EQ(Names(General("Connection interval")), (std::vector<std::string>{"Minimum", "Maximum"}));
    for (const char* name : {"Address", "Name", "RSSI"}) {
        EXPECT_TRUE(General(name)->isEnabled()) << name;
        EXPECT_TRUE(General(name)->value().isEmpty()) << name;
    }
    EXPECT_EQ(General("TX Level")->value(), QStringLiteral("(Unknown)"));
    EXPECT_FALSE(General("TX Level")->isEnabled());
    EXPECT_FALSE(General("Flags")->isEnabled());
    EXPECT_FALSE(General("Connection interval")->isEnabled());
    EXPECT_EQ(Find({"General", "Flags", "LE only"})->description(), QStringLiteral("BR/EDR not supported"));
}

TEST_F(CPropertiesWndTest, OnlyTheNameRowCarriesItemDataOne) {
    const Property* general = Find({"General"});
    for (int i = 0; i < general->subItemCount(); ++i) {
        const Property* row = general->subItem(i);
        EXPECT_EQ(row->data(), row->name() == QStringLiteral("Name") ? 1 : 0) << row->name().toStdString();
    }
}

TEST_F(CPropertiesWndTest, DeviceShowsAddressNameAndRssi) {
    const BleDeviceRecord record = Record(QStringLiteral("Sensor"), -60);
    m_pane->UpdateDevice(&record);
    EXPECT_EQ(General("Address")->value(), QStringLiteral("12:34:56:78:9A:BC"));
    EXPECT_EQ(General("Name")->value(), QStringLiteral("Sensor"));
    EXPECT_TRUE(General("Name")->isEnabled());
    EXPECT_EQ(General("RSSI")->value(), QStringLiteral("-60dBm"));
    EXPECT_TRUE(General("RSSI")->isEnabled());
}

TEST_F(CPropertiesWndTest, UnreportedRssiShowsAnEmptyDisabledRowAfterADeviceThatHadOne) {
    const BleDeviceRecord first = Record(QStringLiteral("A"), -60);
    const BleDeviceRecord second = Record(QStringLiteral("B"), BleDeviceRecord::kNotReported);
    m_pane->UpdateDevice(&first);
    m_pane->UpdateDevice(&second);
    EXPECT_TRUE(General("RSSI")->value().isEmpty());
    EXPECT_FALSE(General("RSSI")->isEnabled());
}

TEST_F(CPropertiesWndTest, EmptyNameLeavesTheNameRowDisabledAfterANamedDevice) {
    const BleDeviceRecord named = Record(QStringLiteral("A"));
    const BleDeviceRecord unnamed = Record(QString());
    m_pane->UpdateDevice(&named);
    m_pane->UpdateDevice(&unnamed);
    EXPECT_TRUE(General("Name")->value().isEmpty());
    EXPECT_FALSE(General("Name")->isEnabled());
}

struct FlagsCase {
    uint8_t flags;
    std::vector<std::string> rows;
    bool enabled;
};

class CPropertiesWndFlagsTest : public CPropertiesWndTest, public ::testing::WithParamInterface<FlagsCase> {};

TEST_P(CPropertiesWndFlagsTest, FlagRowsFollowTheAdvertisedBits) {
    const FlagsCase& c = GetParam();
    const BleDeviceRecord record = Record(QStringLiteral("A"), -60, c.flags);
    m_pane->UpdateDevice(&record);
    const Property* flags = General("Flags");
    ASSERT_EQ(flags->subItemCount(), 5);
    for (int bit = 0; bit < 5; ++bit) {
        EXPECT_EQ(flags->subItem(bit)->value().toStdString(), c.rows[static_cast<size_t>(bit)]) << bit;
        EXPECT_EQ(flags->subItem(bit)->isEnabled(), c.enabled) << bit;
    }
    EXPECT_EQ(flags->isEnabled(), c.enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, CPropertiesWndFlagsTest,
    ::testing::Values(FlagsCase{0x06, {"No", "Yes", "Yes", "No", "No"}, true},
                      FlagsCase{0x01, {"Yes", "No", "No", "No", "No"}, true},
                      FlagsCase{0x18, {"No", "No", "No", "Yes", "Yes"}, true},
                      FlagsCase{0xFF, {"Yes", "Yes", "Yes", "Yes", "Yes"}, true},
                      FlagsCase{
                          0x00, {"(Unknown)", "(Unknown)", "(Unknown)", "(Unknown)", "(Unknown)"}, false}));

struct IntervalCase {
    uint16_t minimum, maximum;
    std::string minText, maxText;
    bool minEnabled, maxEnabled, groupEnabled;
};

class CPropertiesWndIntervalTest : public CPropertiesWndTest,
                                   public ::testing::WithParamInterface<IntervalCase> {};

TEST_P(CPropertiesWndIntervalTest, IntervalRowsShowTheAdvertisedRange) {
    const IntervalCase& c = GetParam();
    BleDeviceRecord record = Record();
    record.slaveIntervalMin = c.minimum;
    record.slaveIntervalMax = c.maximum;
    m_pane->UpdateDevice(&record);
    const Property* minimum = Find({"General", "Connection interval", "Minimum"});
    const Property* maximum = Find({"General", "Connection interval", "Maximum"});
    EXPECT_EQ(minimum->value().toStdString(), c.minText);
    EXPECT_EQ(maximum->value().toStdString(), c.maxText);
    EXPECT_EQ(minimum->isEnabled(), c.minEnabled);
    EXPECT_EQ(maximum->isEnabled(), c.maxEnabled);
    EXPECT_EQ(General("Connection interval")->isEnabled(), c.groupEnabled);
}

INSTANTIATE_TEST_SUITE_P(
    Intervals, CPropertiesWndIntervalTest,
    ::testing::Values(IntervalCase{0x0006, 0x0C80, "0006 (7.50ms)", "0C80 (4000.00ms)", true, true, true},
                      IntervalCase{0x0006, 0xFFFF, "0006 (7.50ms)", "None", true, true, true},
                      IntervalCase{0xFFFF, 0xFFFF, "None", "None", true, true, true},
                      IntervalCase{0x0000, 0x0000, "(Unknown)", "(Unknown)", false, false, false},
                      IntervalCase{0x0007, 0x0000, "0007 (8.75ms)", "(Unknown)", true, false, false},
                      IntervalCase{0x0000, 0x0007, "(Unknown)", "0007 (8.75ms)", false, true, true},
                      IntervalCase{0xFFFE, 0xFFFE, "FFFE (81917.50ms)", "FFFE (81917.50ms)", true, true,
                                   true}));

TEST_F(CPropertiesWndTest, IntervalIsFormattedInTheCLocaleWhateverTheUsersLocale) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    BleDeviceRecord record = Record();
    record.slaveIntervalMin = 0x0006;
    record.slaveIntervalMax = 0x0C80;
    m_pane->UpdateDevice(&record);
    EXPECT_EQ(Find({"General", "Connection interval", "Maximum"})->value(),
              QStringLiteral("0C80 (4000.00ms)"));
}

struct TxCase {
    int power;
    std::string text;
    bool enabled;
};

class CPropertiesWndTxTest : public CPropertiesWndTest, public ::testing::WithParamInterface<TxCase> {};

TEST_P(CPropertiesWndTxTest, TxLevelShowsTheSignedPower) {
    const TxCase& c = GetParam();
    BleDeviceRecord record = Record();
    record.txPower = c.power;
    m_pane->UpdateDevice(&record);
    EXPECT_EQ(General("TX Level")->value().toStdString(), c.text);
    EXPECT_EQ(General("TX Level")->isEnabled(), c.enabled);
}

INSTANTIATE_TEST_SUITE_P(TxLevels, CPropertiesWndTxTest,
                         ::testing::Values(TxCase{0, "0dBm", true}, TxCase{1, "+1dBm", true},
                                           TxCase{4, "+4dBm", true}, TxCase{-20, "-20dBm", true},
                                           TxCase{-128, "-128dBm", true},
                                           TxCase{BleDeviceRecord::kNotReported, "(Unknown)", false}));

TEST_F(CPropertiesWndTest, ClearDeviceEmptiesAndDisablesEveryGeneralRow) {
    BleDeviceRecord record = Record();
    record.txPower = 4;
    record.slaveIntervalMin = 6;
    record.slaveIntervalMax = 6;
    m_pane->UpdateDevice(&record);

    m_pane->ClearDevice();

    for (const char* name : {"Address", "Name", "RSSI"}) {
        EXPECT_TRUE(General(name)->value().isEmpty()) << name;
        EXPECT_FALSE(General(name)->isEnabled()) << name;
    }
    for (const char* name : {"TX Level", "Flags", "Connection interval"})
        EXPECT_FALSE(General(name)->isEnabled()) << name;
    EXPECT_EQ(General("TX Level")->value(), QStringLiteral("(Unknown)"));
    for (const Property* group : {General("Flags"), General("Connection interval")}) {
        for (int i = 0; i < group->subItemCount(); ++i) {
            EXPECT_EQ(group->subItem(i)->value(), QStringLiteral("(Unknown)"));
            EXPECT_FALSE(group->subItem(i)->isEnabled());
        }
    }
}

TEST_F(CPropertiesWndTest, NullDeviceClearsThePane) {
    const BleDeviceRecord record = Record();
    m_pane->UpdateDevice(&record);
    m_pane->UpdateDevice(nullptr);
    EXPECT_TRUE(General("Address")->value().isEmpty());
    EXPECT_FALSE(General("Address")->isEnabled());
}

TEST_F(CPropertiesWndTest, NameRowIsReadWrittenAndEnabledForTheMainWindow) {
    m_pane->SetPropertyValue(QStringLiteral("Renamed"));
    EXPECT_EQ(m_pane->GetPropertyValue(), QStringLiteral("Renamed"));
    EXPECT_EQ(General("Name")->value(), QStringLiteral("Renamed"));
    m_pane->EnableNameProperty(false);
    EXPECT_FALSE(General("Name")->isEnabled());
    m_pane->EnableNameProperty(true);
    EXPECT_TRUE(General("Name")->isEnabled());
}

TEST_F(CPropertiesWndTest, PropertyChangedIsPassedOnToTheOwner) {
    std::vector<Property*> changed;
    m_pane->SetPropertyChangedHandler([&changed](Property* property) { changed.push_back(property); });
    Property* name = General("Name");
    Grid()->notifyPropertyChanged(name);
    EXPECT_EQ(changed, std::vector<Property*>{name});
}

// ---- Device services ----

TEST_F(CPropertiesWndTest, DeviceWithoutDatabaseShowsNoServicesGroupAlsoAfterOneThatHadIt) {
    BleDeviceRecord withServices = Record();
    AddService(withServices, Service(MakeUuid16(ServiceUuid::Battery), 0x0010, 0x0013));
    const BleDeviceRecord without = Record();
    m_pane->UpdateDevice(&withServices);
    ASSERT_NE(Find({"Device services"}), nullptr);

    m_pane->UpdateDevice(&without);

    EXPECT_EQ(Find({"Device services"}), nullptr);
    EXPECT_EQ(Grid()->propertyCount(), 1);
}

TEST_F(CPropertiesWndTest, UpdateReplacesTheServicesOfThePreviousDevice) {
    BleDeviceRecord first = Record();
    AddService(first, Service(MakeUuid16(ServiceUuid::Battery), 0x0010, 0x0013));
    BleDeviceRecord second = Record();
    AddService(second, Service(MakeUuid16(ServiceUuid::HeartRate), 0x0020, 0x0028));
    m_pane->UpdateDevice(&first);
    m_pane->UpdateDevice(&second);
    ASSERT_EQ(Grid()->propertyCount(), 2);
    EXPECT_EQ(Names(Find({"Device services"})), std::vector<std::string>{"Heart Rate Service"});
}

TEST_F(CPropertiesWndTest, ClearDeviceRemovesTheServicesGroupAndASelectionInIt) {
    BleDeviceRecord record = Record();
    AddService(record, Service(MakeUuid16(ServiceUuid::Battery), 0x0010, 0x0013));
    m_pane->UpdateDevice(&record);
    Grid()->setCurSel(Find({"Device services", "Battery Service", "UUID"}));
    m_pane->ClearDevice();
    EXPECT_EQ(Find({"Device services"}), nullptr);
    EXPECT_EQ(Grid()->curSel(), nullptr);
}

TEST_F(CPropertiesWndTest, ServicesAreListedInMapOrderVendorFirstThenDescending) {
    BleDeviceRecord record = Record();
    AddService(record, Service(MakeUuid16(ServiceUuid::GenericAccess), 0x0001, 0x0007));
    AddService(record, Service(MakeUuid16(ServiceUuid::BondManagement), 0x0030, 0x0035));
    AddService(record, Service(MakeVendorUuid(VendorUuid::TemperaturePressureService), 0x0040, 0x0050));
    AddService(record, Service(MakeUuid16(ServiceUuid::Battery), 0x0010, 0x0013));
    m_pane->UpdateDevice(&record);
    const Property* services = Find({"Device services"});
    ASSERT_NE(services, nullptr);
    EXPECT_EQ(services->description(),
              QStringLiteral("The list of services that are implemented by Bluetooth Smart device"));
    EXPECT_EQ(Names(services),
              (std::vector<std::string>{"Temperature and Pressure Service", "Bond Management Service",
                                        "Battery Service", "Generic Access Profile"}));
}

TEST_F(CPropertiesWndTest, ServiceGroupShowsUuidAndHandles) {
    BleDeviceRecord record = Record();
    AddService(record, Service(MakeUuid16(ServiceUuid::Battery), 0x0010, 0x0013));
    m_pane->UpdateDevice(&record);
    const Property* service = Find({"Device services", "Battery Service"});
    ASSERT_NE(service, nullptr);
    EXPECT_EQ(service->description(),
              QStringLiteral("This service exposes the state of a battery within a device"));
    EXPECT_EQ(Names(service), (std::vector<std::string>{"UUID", "Start handle", "End handle"}));
    EXPECT_EQ(service->subItem(0)->value(), QStringLiteral("180F"));
    EXPECT_EQ(service->subItem(0)->description(),
              QStringLiteral("Bluetooth Smart 128-bit UUID\n00000000-0000-0000-0000-000000000000"));
    EXPECT_EQ(service->subItem(1)->value(), QStringLiteral("0010"));
    EXPECT_EQ(service->subItem(1)->description(),
              QStringLiteral("First handle of the profile characteristics"));
    EXPECT_EQ(service->subItem(2)->value(), QStringLiteral("0013"));
    EXPECT_EQ(service->subItem(2)->description(),
              QStringLiteral("Last handle of the service characteristics"));
    EXPECT_TRUE(service->subItem(1)->isEnabled());
}

struct HandleCase {
    uint16_t start, end;
    std::string startText, endText;
    bool startEnabled, endEnabled;
};

class CPropertiesWndHandleTest : public CPropertiesWndTest,
                                 public ::testing::WithParamInterface<HandleCase> {};

TEST_P(CPropertiesWndHandleTest, ZeroHandleShowsUnknownDisabled) {
    const HandleCase& c = GetParam();
    BleDeviceRecord record = Record();
    AddService(record, Service(MakeUuid16(ServiceUuid::Battery), c.start, c.end));
    m_pane->UpdateDevice(&record);
    const Property* start = Find({"Device services", "Battery Service", "Start handle"});
    const Property* end = Find({"Device services", "Battery Service", "End handle"});
    EXPECT_EQ(start->value().toStdString(), c.startText);
    EXPECT_EQ(end->value().toStdString(), c.endText);
    EXPECT_EQ(start->isEnabled(), c.startEnabled);
    EXPECT_EQ(end->isEnabled(), c.endEnabled);
}

INSTANTIATE_TEST_SUITE_P(Handles, CPropertiesWndHandleTest,
                         ::testing::Values(HandleCase{0x0000, 0x0013, "(Unknown)", "0013", false, true},
                                           HandleCase{0x0010, 0x0000, "0010", "(Unknown)", true, false},
                                           HandleCase{0x0001, 0xFFFF, "0001", "FFFF", true, true}));

TEST_F(CPropertiesWndTest, ServiceWithoutCharacteristicsHasNoCharacteristicsRow) {
    BleDeviceRecord record = Record();
    AddService(record, Service(MakeUuid16(ServiceUuid::Battery), 0x0010, 0x0013));
    m_pane->UpdateDevice(&record);
    EXPECT_EQ(Find({"Device services", "Battery Service", "Characteristics"}), nullptr);
}

TEST_F(CPropertiesWndTest, CharacteristicsAreCollapsedAndListedDescending) {
    BleDeviceRecord record = Record();
    AddService(
        record,
        Service(MakeUuid16(ServiceUuid::HeartRate), 0x0020, 0x0028,
                {Characteristic(MakeUuid16(CharacteristicUuid::HeartRateMeasurement), 0x0022, 0x0023, 0x10),
                 Characteristic(MakeUuid16(CharacteristicUuid::BodySensorLocation), 0x0025, 0, 0x02)}));
    m_pane->UpdateDevice(&record);
    const Property* characteristics = Find({"Device services", "Heart Rate Service", "Characteristics"});
    ASSERT_NE(characteristics, nullptr);
    EXPECT_EQ(characteristics->description(), QStringLiteral("Service characteristics"));
    EXPECT_FALSE(characteristics->isExpanded());
    EXPECT_EQ(Names(characteristics),
              (std::vector<std::string>{"Sensor Location", "Heart Rate Measurement"}));
}

TEST_F(CPropertiesWndTest, CharacteristicRowsShowItsHandlesAndPermissions) {
    BleDeviceRecord record = Record();
    AddService(record, Service(MakeUuid16(ServiceUuid::HeartRate), 0x0020, 0x0028,
                               {Characteristic(MakeUuid16(CharacteristicUuid::HeartRateMeasurement), 0x0022,
                                               0x0023, 0x10)}));
    m_pane->UpdateDevice(&record);
    const Property* measurement =
        Find({"Device services", "Heart Rate Service", "Characteristics", "Heart Rate Measurement"});
    ASSERT_NE(measurement, nullptr);
    EXPECT_EQ(Names(measurement),
              (std::vector<std::string>{"UUID", "Value", "Declaration", "Client config", "Permissions"}));
    EXPECT_EQ(measurement->subItem(0)->value(), QStringLiteral("2A37"));
    EXPECT_EQ(measurement->subItem(1)->value(), QStringLiteral("0022"));
    EXPECT_EQ(measurement->subItem(1)->description(), QStringLiteral("Handle of the characteristic value"));
    EXPECT_EQ(measurement->subItem(2)->value(), QStringLiteral("0021"));
    EXPECT_EQ(measurement->subItem(2)->description(),
              QStringLiteral("Handle of the characteristic declaration"));
    EXPECT_EQ(measurement->subItem(3)->value(), QStringLiteral("0023"));
    EXPECT_EQ(measurement->subItem(3)->description(),
              QStringLiteral("Handle of the characteristic client configuration"));
    EXPECT_EQ(measurement->subItem(4)->value(), QStringLiteral("10"));
    EXPECT_EQ(measurement->subItem(4)->description(), QStringLiteral("Characteristic permissions"));
}

TEST_F(CPropertiesWndTest, CharacteristicWithoutClientConfigHasNoClientConfigRow) {
    BleDeviceRecord record = Record();
    AddService(record,
               Service(MakeUuid16(ServiceUuid::Battery), 0x0010, 0x0013,
                       {Characteristic(MakeUuid16(CharacteristicUuid::BatteryLevel), 0x0012, 0, 0x02)}));
    m_pane->UpdateDevice(&record);
    const Property* level = Find({"Device services", "Battery Service", "Characteristics", "Battery Level"});
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(Names(level), (std::vector<std::string>{"UUID", "Value", "Declaration", "Permissions"}));
    EXPECT_EQ(level->subItem(3)->value(), QStringLiteral("02"));
}

struct NameCase {
    const char* name;
    BleUuid service;
    BleUuid characteristic;
    std::string serviceName, serviceDescription, uuidText, characteristicName, characteristicDescription;
};

class CPropertiesWndNameTest : public CPropertiesWndTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(CPropertiesWndNameTest, ServicesAndCharacteristicsAreNamedFromTheTables) {
    const NameCase& c = GetParam();
    BleDeviceRecord record = Record();
    AddService(record,
               Service(c.service, 0x0001, 0x0009, {Characteristic(c.characteristic, 0x0003, 0, 0x02)}));
    m_pane->UpdateDevice(&record);
    const Property* services = Find({"Device services"});
    ASSERT_NE(services, nullptr);
    ASSERT_EQ(services->subItemCount(), 1);
    const Property* service = services->subItem(0);
    EXPECT_EQ(service->name().toStdString(), c.serviceName);
    EXPECT_EQ(service->description().toStdString(), c.serviceDescription);
    EXPECT_EQ(service->subItem(0)->value().toStdString(), c.uuidText);
    const Property* characteristic = service->subItem(3)->subItem(0);
    EXPECT_EQ(characteristic->name().toStdString(), c.characteristicName);
    EXPECT_EQ(characteristic->description().toStdString(), c.characteristicDescription);
}

BleUuid UnknownVendor() {
    return MakeVendorUuid(0xBEEF);
}

INSTANTIATE_TEST_SUITE_P(
    Names, CPropertiesWndNameTest,
    ::testing::Values(
        NameCase{"UnlistedCharacteristic", MakeUuid16(ServiceUuid::AlertNotification),
                 MakeUuid16(CharacteristicUuid::AlertStatus), "Service 0x1811", "", "1811",
                 "Characteristic 0x2A3F", ""},
        NameCase{"UnknownVendorService", UnknownVendor(), UnknownVendor(), "Unknown Service",
                 "0000BEEF-4B7E-11E2-8C3A-5F8C2E10B7D4", "0000BEEF-4B7E-11E2-8C3A-5F8C2E10B7D4",
                 "Unknown characteristic", "0000BEEF-4B7E-11E2-8C3A-5F8C2E10B7D4"},
        NameCase{
            "VendorServiceAndCharacteristic", MakeVendorUuid(VendorUuid::TemperaturePressureService),
            MakeVendorUuid(VendorUuid::PressureMeasurement), "Temperature and Pressure Service",
            "This service exposes the pressure and temperature data from the temperature and pressure sensor",
            "0000D000-4B7E-11E2-8C3A-5F8C2E10B7D4", "Pressure measurement characteristic",
            "This characteristic specifies the last measured pressure in kPa units"}),
    [](const ::testing::TestParamInfo<NameCase>& info) { return std::string(info.param.name); });

TEST_F(CPropertiesWndTest, UuidRowDescriptionCarriesThe128BitTextOfAVendorUuid) {
    BleDeviceRecord record = Record();
    AddService(record, Service(UnknownVendor(), 0x0001, 0x0009));
    m_pane->UpdateDevice(&record);
    EXPECT_EQ(Find({"Device services", "Unknown Service", "UUID"})->description(),
              QStringLiteral("Bluetooth Smart 128-bit UUID\n0000BEEF-4B7E-11E2-8C3A-5F8C2E10B7D4"));
}

} // namespace
