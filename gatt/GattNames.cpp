// GATT display names: the names and descriptions of services and characteristics.
#include "gatt/GattNames.h"

#include "gatt/UuidFunctions.h"
#include "gatt/Uuids.h"

#include <cstdint>
#include <span>

namespace {

struct NameRow {
    uint16_t uuid; // 16-bit UUID or vendor number
    const char* name;
    const char* description;
};

constexpr NameRow kServices[] = {
    {ServiceUuid::GenericAccess, "Generic Access Profile",
     "This profile defines the generic procedures related to discovery of Bluetooth devices (idle mode "
     "procedures) and link management aspects of connecting to Bluetooth devices (connecting mode "
     "procedures). It also defines procedures related to use of different security levels. In addition, this "
     "profile includes common format requirements for parameters accessible on the user interface level"},
    {ServiceUuid::GenericAttribute, "Generic Attribute Profile",
     "This profile describes a service framework using the Attribute Protocol for discovering services, and "
     "for reading and writing characteristic values on a peer device"},
    {ServiceUuid::ImmediateAlert, "Immediate Alert Service",
     "This service exposes a control point to allow a peer device to cause the device to immediately alert"},
    {ServiceUuid::LinkLoss, "Link Loss Service",
     "This service defines behavior when a link is lost between two devices"},
    {ServiceUuid::TxPower, "TX Power Service",
     "This service exposes a device's current transmit power level when in a connection"},
    {ServiceUuid::Glucose, "Glucose Service",
     "This service exposes glucose and other data from a personal glucose sensor for use in consumer "
     "healthcare applications"},
    {ServiceUuid::HealthThermometer, "Health Thermometer Service",
     "This service exposes temperature and other data from a thermometer intended for healthcare and fitness "
     "applications"},
    {ServiceUuid::DeviceInformation, "Device Information Service",
     "This service exposes manufacturer and/or vendor information about a device"},
    {ServiceUuid::HeartRate, "Heart Rate Service",
     "This service exposes heart rate and other data from a Heart Rate Sensor intended for fitness "
     "applications"},
    {ServiceUuid::Battery, "Battery Service", "This service exposes the state of a battery within a device"},
    {ServiceUuid::BloodPressure, "Blood Pressure Service",
     "This service exposes blood pressure and other data from a blood pressure monitor for use in consumer "
     "and professional healthcare applications"},
    {ServiceUuid::HumanInterfaceDevice, "HID Service",
     "This service exposes the HID reports and other HID data intended for HID Hosts and HID Devices"},
    {ServiceUuid::RunningSpeedAndCadence, "Running Speed and Cadence Service",
     "This service exposes speed, cadence and other data from a running speed and cadence sensor intended "
     "for fitness applications"},
    {ServiceUuid::CyclingSpeedAndCadence, "Cycling Speed and Cadence Service",
     "This service exposes speed-related and cadence-related data from a cycling speed and cadence sensor "
     "intended for fitness applications"},
    {ServiceUuid::EnvironmentalSensing, "Environment Sensing Service",
     "This service exposes the environment sensing information like pressure, temperature, humidity etc from "
     "the sensor"},
    {ServiceUuid::BodyComposition, "Body Composition Service",
     "This service exposes the body composition related information from the sensor intended for fitness "
     "applications"},
    {ServiceUuid::UserData, "User Data Service", "This service exposes the user related information"},
    {ServiceUuid::WeightScale, "Weight Scale Service",
     "This service exposes the weight related information from the sensor intended for fitness applications"},
    {ServiceUuid::BondManagement, "Bond Management Service",
     "This service exposes the bond management service on the device"},
    {ServiceUuid::LegacyHid, "HID Service (legacy)",
     "This service exposes reports and other data from a human interface device"},
};

// Searched in this order with IsVendorUuid.
constexpr NameRow kVendorServices[] = {
    {VendorUuid::TemperaturePressureService, "Temperature and Pressure Service",
     "This service exposes the pressure and temperature data from the temperature and pressure sensor"},
    {VendorUuid::PairingDeletionService, "Pairing Deletion Service",
     "This service exposes the removal of pairing with the connected or a related device"},
    {VendorUuid::OtaApplicationService, "Over-the-Air Update Application Service",
     "This service exposes Over-the-Air Update capabilities of ORV Veyra application."},
    {VendorUuid::OtaBootloaderService, "Over-the-Air Bootloader Update Service",
     "This service exposes the Over-the-Air Update abilities of a device."},
};

constexpr NameRow kCharacteristics[] = {
    {CharacteristicUuid::DeviceName, "Device Name", "This characteristic contains the name of the device"},
    {CharacteristicUuid::Appearance, "Appearance",
     "This characteristic describes the external appearance of the device"},
    {CharacteristicUuid::PeripheralPrivacyFlag, "Privacy Flag",
     "This characteristic tells whether privacy is enabled on the device"},
    {CharacteristicUuid::ReconnectionAddress, "Reconnection Address",
     "This characteristic holds the address the device uses when it reconnects"},
    {CharacteristicUuid::PreferredConnectionParameters, "Preferred Connection Parameters",
     "This characteristic holds the connection parameters the device prefers"},
    {CharacteristicUuid::ServiceChanged, "Service Changed",
     "ThIS characteristic is a control-point attribute that shall be used to indicate to connected devices "
     "that services have changed (i.e., added, removed or modified)"},
    {CharacteristicUuid::AlertLevel, "Alert Level",
     "This characteristic is used to set the level of alert of the device"},
    {CharacteristicUuid::TxPowerLevel, "TX Power Level",
     "This characteristic reports the device's current transmit power level in dBm"},
    {CharacteristicUuid::GlucoseMeasurement, "Glucose Measurement",
     "This characteristic is used to send glucose measurements"},
    {CharacteristicUuid::BatteryLevel, "Battery Level",
     "This characteristic reports the remaining charge of the battery in percent"},
    {CharacteristicUuid::TemperatureMeasurement, "Temperature Measurement",
     "This characteristic is used to send temperature measurements"},
    {CharacteristicUuid::TemperatureType, "Temperature Type",
     "This characteristic describes where on the body the temperature is measured"},
    {CharacteristicUuid::BootKeyboardInputReport, "Boot keyboard input report",
     "This characteristic is used to send boot keyboard input reports"},
    {CharacteristicUuid::SystemId, "System ID",
     "This characteristic contains the system identifier of the device"},
    {CharacteristicUuid::ModelNumber, "Model Number",
     "This characteristic contains the model number of the device"},
    {CharacteristicUuid::SerialNumber, "Serial Number",
     "This characteristic contains the serial number of the device"},
    {CharacteristicUuid::FirmwareRevision, "Firmware Revision",
     "This characteristic contains the firmware revision of the device"},
    {CharacteristicUuid::HardwareRevision, "Hardware Revision",
     "This characteristic contains the hardware revision of the device"},
    {CharacteristicUuid::SoftwareRevision, "Software Revision",
     "This characteristic contains the software revision of the device"},
    {CharacteristicUuid::ManufacturerName, "Manufacturer Name",
     "This characteristic contains the name of the device's manufacturer"},
    {CharacteristicUuid::RegulatoryCertification, "Regulatory Certification",
     "This characteristic contains the regulatory certification data of the device"},
    {CharacteristicUuid::BootKeyboardOutputReport, "Boot keyboard output report",
     "This characteristic is used to receive boot keyboard output reports"},
    {CharacteristicUuid::BootMouseInputReport, "Boot mouse input report",
     "This characteristic is used to send boot mouse input reports"},
    {CharacteristicUuid::GlucoseMeasurementContext, "Glucose Measurement Context",
     "This characteristic is used to send additional context for glucose measurements"},
    {CharacteristicUuid::BloodPressureMeasurement, "Blood Pressure Measurement",
     "This characteristic is used to send blood pressure measurements"},
    {CharacteristicUuid::IntermediateCuffPressure, "Intermediate Cuff Pressure",
     "This characteristic is used to send the cuff pressure while a measurement is in progress"},
    {CharacteristicUuid::HeartRateMeasurement, "Heart Rate Measurement",
     "This characteristic is used to send heart rate measurements"},
    {CharacteristicUuid::BodySensorLocation, "Sensor Location",
     "This characteristic is used to describe the intended location of the heart rate measurement for the "
     "device"},
    {CharacteristicUuid::HeartRateControlPoint, "Control Point",
     "This characteristic is used to reset the energy expended value of the sensor"},
    {CharacteristicUuid::BloodPressureFeature, "Blood Pressure Feature",
     "This characteristic is used to describe the supported features of the blood pressure monitor"},
    {CharacteristicUuid::HidInformation, "Information",
     "This characteristic contains the HID version, country code and flags of the device"},
    {CharacteristicUuid::ReportMap, "Descriptor", "This characteristic returns the HID report descriptor"},
    {CharacteristicUuid::HidControlPoint, "Control point",
     "This characteristic is used to tell the device that the host is suspending or leaving suspend"},
    {CharacteristicUuid::Report, "Report",
     "This characteristic is used to exchange HID reports with the device"},
    {CharacteristicUuid::ProtocolMode, "Protocol mode",
     "This characteristic selects between boot protocol and report protocol"},
    {CharacteristicUuid::PnpId, "PnP ID",
     "This characteristic contains the vendor, product and version identifiers of the device"},
    {CharacteristicUuid::GlucoseFeature, "Glucose Feature",
     "This characteristic is used to describe the supported features of the glucose sensor"},
    {CharacteristicUuid::RecordAccessControlPoint, "Record Access Control Point",
     "This characteristic is used to request stored records from the device"},
    {CharacteristicUuid::RscMeasurement, "RSC measurement",
     "This characteristic is used to send speed and cadence measurements"},
    {CharacteristicUuid::RscFeature, "RSC Feature",
     "This characteristic is used to describe the supported features of the device"},
    {CharacteristicUuid::ScControlPoint, "SC Control Point",
     "This characteristic is used to control the speed and cadence sensor"},
    {CharacteristicUuid::CscMeasurement, "CSC measurement",
     "This characteristic is used to send speed and cadence measurements"},
    {CharacteristicUuid::CscFeature, "CSC Feature",
     "This characteristic is used to describe the supported features of the device"},
    {CharacteristicUuid::SensorLocation, "Sensor Location",
     "This characteristic is used to describe the physical location of the device when correctly fitted"},
    {CharacteristicUuid::Pressure, "Pressure", "This characteristic contains the measured pressure"},
    {CharacteristicUuid::Temperature, "Temperature", "This characteristic contains the measured temperature"},
    {CharacteristicUuid::Humidity, "Humidity", "This characteristic contains the measured relative humidity"},
    {CharacteristicUuid::FirstName, "First Name", "This characteristic contains the first name of the user"},
    {CharacteristicUuid::DatabaseChangeIncrement, "Database Change Increment",
     "This characteristic counts the changes to the user data on the device"},
    {CharacteristicUuid::UserIndex, "User Index",
     "This characteristic contains the index of the current user"},
    {CharacteristicUuid::BodyCompositionFeature, "Body Composition Feature",
     "This characteristic is used to describe the supported features of the body composition sensor"},
    {CharacteristicUuid::BodyCompositionMeasurement, "Body Composition Measurement",
     "This characteristic is used to send body composition measurements"},
    {CharacteristicUuid::WeightMeasurement, "Weight Measurement",
     "This characteristic is used to send weight measurements"},
    {CharacteristicUuid::WeightScaleFeature, "Weight Scale Feature",
     "This characteristic is used to describe the supported features of the device"},
    {CharacteristicUuid::UserControlPoint, "User Control Point",
     "This characteristic is used to register, select and delete users on the device"},
    {CharacteristicUuid::MagneticFluxDensity2D, "Magnetic Fluc Density 2D",
     "This characteristic is used to describe the magentic flux density of the enviroment in 2 dimensions"},
    {CharacteristicUuid::MagneticFluxDensity3D, "Magnetic Fluc Density 3D",
     "This characteristic is used to describe the magnetic flux density of the environment in 3 dimensions"},
    {CharacteristicUuid::BondManagementControlPoint, "Bond Management Control Point",
     "This characteristic is used to ask the device to delete its bonds"},
    {CharacteristicUuid::BondManagementFeature, "Bond Management Feature",
     "This characteristic is used to describe the bond management operations the device supports"},
    {CharacteristicUuid::LegacyHidDescriptor, "Descriptor",
     "This characteristic returns the first 512 octets of the HID report descriptor"},
    {CharacteristicUuid::LegacyHidDescriptorExtension, "Descriptor extension",
     "This characteristic returns the second 512 octets of the HID report descriptor"},
    {CharacteristicUuid::LegacyHidControl, "Control",
     "This characteristic is used to send control commands to the device"},
    {CharacteristicUuid::LegacyHidInterrupt, "Interrupt",
     "This characteristic is used to send the input reports of the device"},
    {CharacteristicUuid::LegacyHidFlags, "Flags", "This characteristic contains the HID flags of the device"},
};

// Searched in this order with IsVendorUuid.
constexpr NameRow kVendorCharacteristics[] = {
    {VendorUuid::PressureMeasurement, "Pressure measurement characteristic",
     "This characteristic specifies the last measured pressure in kPa units"},
    {VendorUuid::BlowOutPressure, "Blow out pressure characteristic",
     "This characteristic holds the pressure in kPa below which the sensor reports a blow-out"},
    {VendorUuid::Discoverability, "Discoverability characteristic",
     "This characteristic tells whether the sensor can be discovered"},
    {VendorUuid::WheelPosition, "Position characteristic",
     "This characteristic holds the wheel position at which the sensor is fitted"},
    {VendorUuid::TemperatureMeasurement, "Temperature measurement characteristic",
     "This characteristic specifies the last measured temperature in degrees Celsius"},
    {VendorUuid::PairingRemoval, "Pairing removal characteristic",
     "This characteristic is used to ask the device to remove its pairing"},
    {VendorUuid::Acceleration, "Acceleration characteristic",
     "This characteristic contains the measured acceleration along three axes"},
    {VendorUuid::MagneticFlux, "Magnetic flux characteristic",
     "This characteristic contains the measured magnetic flux along three axes"},
    {VendorUuid::AngularVelocity, "Angular Velocity characteristic",
     "This characteristic contains the measured angular velocity around three axes"},
    {VendorUuid::MagnetometerCalibration, "Magnetometer Calibration characteristic",
     "This characteristic starts/stop the calibration of the magnetometer"},
    {VendorUuid::OtaReadCsKey, "Read CS-key characteristic",
     "This characteristic is used to read configuration keys of the device"},
    {VendorUuid::OtaCurrentApplication, "Current Application characteristic",
     "This characteristic contains the index of the application the device runs"},
    {VendorUuid::OtaDataTransfer, "Data Transfer characteristic",
     "This characteristic carries the data of an Over-the-Air update"},
    {VendorUuid::OtaVersion, "Version characteristic",
     "The version of the Over-the-Air Bootloader present on the device."},
    {VendorUuid::OtaTransferControl, "Transfer Control characteristic",
     "This characteristic is used to control an Over-the-Air update transfer"},
};

GattName toName(const NameRow& row) {
    return GattName{QString::fromUtf8(row.name), QString::fromUtf8(row.description)};
}

const NameRow* find16(std::span<const NameRow> rows, uint16_t uuid) {
    for (const NameRow& row : rows) {
        if (row.uuid == uuid) {
            return &row;
        }
    }
    return nullptr;
}

const NameRow* findVendor(std::span<const NameRow> rows, const BleUuid& uuid) {
    for (const NameRow& row : rows) {
        if (IsVendorUuid(uuid, VendorUuidHigh(row.uuid))) {
            return &row;
        }
    }
    return nullptr;
}

// Names a UUID by the 16-bit rows (kind 2) or the vendor rows (any other kind), with the fallbacks.
GattName lookUp(const BleUuid& uuid, std::span<const NameRow> rows16, std::span<const NameRow> vendorRows,
                const char* kindName, const char* unknown) {
    if (uuid.kind == BLE_UUID_KIND_16) {
        const NameRow* row = find16(rows16, uuid.uuid16);
        return row ? toName(*row)
                   : GattName{QString::asprintf("%s 0x%04X", kindName, uuid.uuid16), QString()};
    }
    const NameRow* row = findVendor(vendorRows, uuid);
    return row ? toName(*row) : GattName{QString::fromUtf8(unknown), Uuid128ToString(uuid)};
}

} // namespace

GattName ServiceName(const BleUuid& uuid) {
    return lookUp(uuid, kServices, kVendorServices, "Service", "Unknown Service");
}

GattName CharacteristicName(const BleUuid& uuid) {
    return lookUp(uuid, kCharacteristics, kVendorCharacteristics, "Characteristic", "Unknown characteristic");
}

QString Uuid128ToString(const BleUuid& uuid) {
    const uint8_t* b = uuid.uuid128;
    return QString::asprintf("%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X", b[15],
                             b[14], b[13], b[12], b[11], b[10], b[9], b[8], b[7], b[6], b[5], b[4], b[3],
                             b[2], b[1], b[0]);
}
