#include "panes/CPropertiesWnd.h"

#include "gatt/BleDeviceRecord.h"
#include "gatt/UuidFunctions.h"
#include "gatt/Uuids.h"
#include "platform/StringTable.h"
#include "platform/ui/Property.h"
#include "platform/ui/PropertyGrid.h"
#include "res/StringTable.h"
#include "support/DatabaseBuilder.h"
#include "support/ScopedGermanNumbers.h"

#include <gtest/gtest.h>
#include <initializer_list>

using platform::Property;

namespace {

BleDeviceRecord Record(const QString& name = "Sensor", int rssi = -60, uint8_t flags = 0x06) {
    const BleTypedAddress address{0, 0, 0x1234, 0x56, {}, 0x789ABC};
    return BleDeviceRecord(address, rssi, name, flags, false);
}

// A record with the services of database, kept as database discovery keeps them.
BleDeviceRecord WithServices(DatabaseBuilder& database) {
    BleDeviceRecord record = Record();
    const BleHostDatabaseEvent& event = database.Event(1);
    record.BuildServiceMap(event.serviceCount, event.services);
    return record;
}

class CPropertiesWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::installStringTable(applicationStrings());
        m_pane = std::make_unique<CPropertiesWnd>();
    }

    // The property reached by names from the top level; nullptr when any step is missing.
    Property* Find(std::initializer_list<const char*> path) const {
        Property* found = nullptr;
        for (const char* name : path) {
            const int count = found ? found->subItemCount() : m_pane->PropertyList()->propertyCount();
            Property* next = nullptr;
            for (int i = 0; i < count && !next; ++i) {
                Property* candidate = found ? found->subItem(i) : m_pane->PropertyList()->property(i);
                next = candidate->name() == name ? candidate : nullptr;
            }
            if (!next)
                return nullptr;
            found = next;
        }
        return found;
    }

    // "value" of a row, "(value)" when the row is disabled.
    std::string Shown(std::initializer_list<const char*> path) const {
        const Property* row = Find(path);
        if (!row)
            return "missing";
        const std::string value = row->value().toStdString();
        return row->isEnabled() ? value : "(" + value + ")";
    }

    static std::vector<std::string> Names(const Property* group) {
        std::vector<std::string> names;
        for (int i = 0; group && i < group->subItemCount(); ++i)
            names.push_back(group->subItem(i)->name().toStdString());
        return names;
    }

    std::unique_ptr<CPropertiesWnd> m_pane;
};

TEST_F(CPropertiesWndTest, GeneralRowsShowTheRecordAsAdvertised) {
    const int unknown = BleDeviceRecord::kNotReported;
    struct Case {
        const char* name;
        uint8_t flags;
        uint16_t minimum, maximum;
        int txPower, rssi;
        const char* rows; // Flags, LE only, Minimum, Maximum, Connection interval, TX Level, RSSI
    };
    const Case cases[] = {
        {"A", 0x06, 0x0006, 0x0C80, 0, -60,
         "No, Yes, Yes, No, No|Yes|0006 (7.50ms)|0C80 (4000.00ms)|"
         "0006 (7.50ms), 0C80 (4000.00ms)|0dBm|-60dBm"},
        {"A", 0x18, 0x0006, 0xFFFF, 4, -60,
         "No, No, No, Yes, Yes|No|0006 (7.50ms)|None|0006 (7.50ms), None|+4dBm|-60dBm"},
        {"A", 0x00, 0x0000, 0x0000, -20, -60,
         "((Unknown), (Unknown), (Unknown), (Unknown), (Unknown))|((Unknown))|((Unknown))|((Unknown))|"
         "((Unknown), (Unknown))|-20dBm|-60dBm"},
        {"A", 0x01, 0x0007, 0x0000, unknown, unknown,
         "Yes, No, No, No, No|No|0007 (8.75ms)|((Unknown))|(0007 (8.75ms), (Unknown))|((Unknown))|()"},
        {"", 0xFF, 0x0000, 0xFFFE, -128, -60,
         "Yes, Yes, Yes, Yes, Yes|Yes|((Unknown))|FFFE (81917.50ms)|"
         "(Unknown), FFFE (81917.50ms)|-128dBm|-60dBm"},
    };
    const ScopedGermanNumbers german; // numbers stay in the C locale
    const BleDeviceRecord previous = Record("Previous", -50);
    for (const Case& c : cases) {
        BleDeviceRecord record = Record(c.name, c.rssi, c.flags);
        record.slaveIntervalMin = c.minimum;
        record.slaveIntervalMax = c.maximum;
        record.txPower = c.txPower;
        m_pane->UpdateDevice(&previous); // what a record does not report must not stay from this one
        m_pane->UpdateDevice(&record);
        EXPECT_EQ(Shown({"General", "Address"}), "12:34:56:78:9A:BC");
        EXPECT_EQ(Shown({"General", "Name"}), *c.name ? std::string(c.name) : "()");
        EXPECT_EQ(Shown({"General", "Flags"}) + "|" + Shown({"General", "Flags", "LE only"}) + "|" +
                      Shown({"General", "Connection interval", "Minimum"}) + "|" +
                      Shown({"General", "Connection interval", "Maximum"}) + "|" +
                      Shown({"General", "Connection interval"}) + "|" + Shown({"General", "TX Level"}) + "|" +
                      Shown({"General", "RSSI"}),
                  c.rows);
    }
}

TEST_F(CPropertiesWndTest, ClearingEmptiesAndDisablesEveryGeneralRowAndDropsTheServices) {
    DatabaseBuilder database;
    database.Service(ServiceUuid::Battery, 0x0010, 0x0013);
    BleDeviceRecord record = WithServices(database);
    record.txPower = 4;
    record.slaveIntervalMin = record.slaveIntervalMax = 6;
    m_pane->UpdateDevice(&record);
    m_pane->PropertyList()->setCurSel(Find({"Device services", "Battery Service", "UUID"}));
    m_pane->UpdateDevice(nullptr);

    for (const char* row : {"Address", "Name", "RSSI"})
        EXPECT_EQ(Shown({"General", row}), "()") << row;
    EXPECT_EQ(Shown({"General", "TX Level"}), "((Unknown))");
    EXPECT_EQ(Shown({"General", "Flags"}), "((Unknown), (Unknown), (Unknown), (Unknown), (Unknown))");
    EXPECT_EQ(Shown({"General", "Connection interval"}), "((Unknown), (Unknown))");
    EXPECT_EQ(Find({"Device services"}), nullptr);
    EXPECT_EQ(m_pane->PropertyList()->curSel(), nullptr);
}

TEST_F(CPropertiesWndTest, ServicesAreListedInMapOrderWithTheirHandlesAndCollapsedCharacteristics) {
    DatabaseBuilder database;
    database.Service(ServiceUuid::GenericAccess, 0x0001, 0x0007)
        .Service(MakeVendorUuid(VendorUuid::TemperaturePressureService), 0x0040, 0x0050)
        .Service(ServiceUuid::Battery, 0x0000, 0x0013)
        .Characteristic(CharacteristicUuid::BatteryLevel, 0x0012, 0x02)
        .Service(ServiceUuid::HeartRate, 0x0020, 0x0028)
        .Characteristic(CharacteristicUuid::HeartRateMeasurement, 0x0022, 0x10, 0x0023)
        .Characteristic(CharacteristicUuid::BodySensorLocation, 0x0025, 0x02);
    const BleDeviceRecord record = WithServices(database);
    m_pane->UpdateDevice(&record);

    const Property* services = Find({"Device services"});
    EXPECT_EQ(Names(services),
              (std::vector<std::string>{"Temperature and Pressure Service", "Battery Service",
                                        "Heart Rate Service", "Generic Access Profile"}));
    EXPECT_EQ(Names(Find({"Device services", "Generic Access Profile"})),
              (std::vector<std::string>{"UUID", "Start handle", "End handle"})); // no characteristics
    EXPECT_EQ(Shown({"Device services", "Battery Service", "UUID"}), "180F");
    EXPECT_EQ(Shown({"Device services", "Battery Service", "Start handle"}), "((Unknown))");
    EXPECT_EQ(Shown({"Device services", "Battery Service", "End handle"}), "0013");

    const Property* characteristics = Find({"Device services", "Heart Rate Service", "Characteristics"});
    ASSERT_NE(characteristics, nullptr);
    EXPECT_FALSE(characteristics->isExpanded());
    EXPECT_EQ(Names(characteristics),
              (std::vector<std::string>{"Sensor Location", "Heart Rate Measurement"}));
    const Property* measurement = characteristics->subItem(1);
    EXPECT_EQ(Names(measurement),
              (std::vector<std::string>{"UUID", "Value", "Declaration", "Client config", "Permissions"}));
    for (const auto& [row, value] :
         std::vector<std::pair<int, const char*>>{{0, "2A37"}, {2, "0021"}, {3, "0023"}})
        EXPECT_EQ(measurement->subItem(row)->value(), value);
    EXPECT_EQ(Names(characteristics->subItem(0)),
              (std::vector<std::string>{"UUID", "Value", "Declaration", "Permissions"}));

    DatabaseBuilder bondManagement;
    bondManagement.Service(ServiceUuid::BondManagement, 0x0030, 0x0035);
    const BleDeviceRecord other = WithServices(bondManagement);
    m_pane->UpdateDevice(&other);
    EXPECT_EQ(Names(Find({"Device services"})), std::vector<std::string>{"Bond Management Service"});
    const BleDeviceRecord without = Record();
    m_pane->UpdateDevice(&without);
    EXPECT_EQ(Find({"Device services"}), nullptr);
}

} // namespace
