// GATT UUIDs: named 16-bit constants of the services, characteristics and descriptors, shared by the
// application and the simulated peers. Depends on nothing.
#pragma once

#include <cstdint>

// 16-bit UUIDs of services.
namespace ServiceUuid {
inline constexpr uint16_t GenericAccess = 0x1800;
inline constexpr uint16_t GenericAttribute = 0x1801;
inline constexpr uint16_t ImmediateAlert = 0x1802;
inline constexpr uint16_t LinkLoss = 0x1803;
inline constexpr uint16_t TxPower = 0x1804;
inline constexpr uint16_t CurrentTime = 0x1805;
inline constexpr uint16_t ReferenceTimeUpdate = 0x1806;
inline constexpr uint16_t NextDstChange = 0x1807;
inline constexpr uint16_t Glucose = 0x1808;
inline constexpr uint16_t HealthThermometer = 0x1809;
inline constexpr uint16_t DeviceInformation = 0x180A;
inline constexpr uint16_t HeartRate = 0x180D;
inline constexpr uint16_t PhoneAlertStatus = 0x180E;
inline constexpr uint16_t Battery = 0x180F;
inline constexpr uint16_t BloodPressure = 0x1810;
inline constexpr uint16_t AlertNotification = 0x1811;
inline constexpr uint16_t HumanInterfaceDevice = 0x1812;
inline constexpr uint16_t RunningSpeedAndCadence = 0x1814;
inline constexpr uint16_t CyclingSpeedAndCadence = 0x1816;
inline constexpr uint16_t EnvironmentalSensing = 0x181A;
inline constexpr uint16_t BodyComposition = 0x181B;
inline constexpr uint16_t UserData = 0x181C;
inline constexpr uint16_t WeightScale = 0x181D;
inline constexpr uint16_t BondManagement = 0x181E;
inline constexpr uint16_t LegacyHid = 0x3231;
} // namespace ServiceUuid

// 16-bit UUIDs of characteristics.
namespace CharacteristicUuid {
inline constexpr uint16_t DeviceName = 0x2A00;
inline constexpr uint16_t Appearance = 0x2A01;
inline constexpr uint16_t PeripheralPrivacyFlag = 0x2A02;
inline constexpr uint16_t ReconnectionAddress = 0x2A03;
inline constexpr uint16_t PreferredConnectionParameters = 0x2A04;
inline constexpr uint16_t ServiceChanged = 0x2A05;
inline constexpr uint16_t AlertLevel = 0x2A06;
inline constexpr uint16_t TxPowerLevel = 0x2A07;
inline constexpr uint16_t LocalTimeInformation = 0x2A0F;
inline constexpr uint16_t TimeWithDst = 0x2A11;
inline constexpr uint16_t ReferenceTimeInformation = 0x2A14;
inline constexpr uint16_t TimeUpdateControlPoint = 0x2A16;
inline constexpr uint16_t TimeUpdateState = 0x2A17;
inline constexpr uint16_t GlucoseMeasurement = 0x2A18;
inline constexpr uint16_t BatteryLevel = 0x2A19;
inline constexpr uint16_t TemperatureMeasurement = 0x2A1C;
inline constexpr uint16_t TemperatureType = 0x2A1D;
inline constexpr uint16_t BootKeyboardInputReport = 0x2A22;
inline constexpr uint16_t SystemId = 0x2A23;
inline constexpr uint16_t ModelNumber = 0x2A24;
inline constexpr uint16_t SerialNumber = 0x2A25;
inline constexpr uint16_t FirmwareRevision = 0x2A26;
inline constexpr uint16_t HardwareRevision = 0x2A27;
inline constexpr uint16_t SoftwareRevision = 0x2A28;
inline constexpr uint16_t ManufacturerName = 0x2A29;
inline constexpr uint16_t RegulatoryCertification = 0x2A2A;
inline constexpr uint16_t CurrentTime = 0x2A2B;
inline constexpr uint16_t MagneticDeclination = 0x2A2C;
inline constexpr uint16_t BootKeyboardOutputReport = 0x2A32;
inline constexpr uint16_t BootMouseInputReport = 0x2A33;
inline constexpr uint16_t GlucoseMeasurementContext = 0x2A34;
inline constexpr uint16_t BloodPressureMeasurement = 0x2A35;
inline constexpr uint16_t IntermediateCuffPressure = 0x2A36;
inline constexpr uint16_t HeartRateMeasurement = 0x2A37;
inline constexpr uint16_t BodySensorLocation = 0x2A38;
inline constexpr uint16_t HeartRateControlPoint = 0x2A39;
inline constexpr uint16_t AlertStatus = 0x2A3F;
inline constexpr uint16_t RingerControlPoint = 0x2A40;
inline constexpr uint16_t RingerSetting = 0x2A41;
inline constexpr uint16_t AlertNotificationControlPoint = 0x2A44;
inline constexpr uint16_t UnreadAlertStatus = 0x2A45;
inline constexpr uint16_t NewAlert = 0x2A46;
inline constexpr uint16_t SupportedNewAlertCategory = 0x2A47;
inline constexpr uint16_t SupportedUnreadAlertCategory = 0x2A48;
inline constexpr uint16_t BloodPressureFeature = 0x2A49;
inline constexpr uint16_t HidInformation = 0x2A4A;
inline constexpr uint16_t ReportMap = 0x2A4B;
inline constexpr uint16_t HidControlPoint = 0x2A4C;
inline constexpr uint16_t Report = 0x2A4D;
inline constexpr uint16_t ProtocolMode = 0x2A4E;
inline constexpr uint16_t PnpId = 0x2A50;
inline constexpr uint16_t GlucoseFeature = 0x2A51;
inline constexpr uint16_t RecordAccessControlPoint = 0x2A52;
inline constexpr uint16_t RscMeasurement = 0x2A53;
inline constexpr uint16_t RscFeature = 0x2A54;
inline constexpr uint16_t ScControlPoint = 0x2A55;
inline constexpr uint16_t CscMeasurement = 0x2A5B;
inline constexpr uint16_t CscFeature = 0x2A5C;
inline constexpr uint16_t SensorLocation = 0x2A5D;
inline constexpr uint16_t Pressure = 0x2A6D;
inline constexpr uint16_t Temperature = 0x2A6E;
inline constexpr uint16_t Humidity = 0x2A6F;
inline constexpr uint16_t FirstName = 0x2A8A;
inline constexpr uint16_t DatabaseChangeIncrement = 0x2A99;
inline constexpr uint16_t UserIndex = 0x2A9A;
inline constexpr uint16_t BodyCompositionFeature = 0x2A9B;
inline constexpr uint16_t BodyCompositionMeasurement = 0x2A9C;
inline constexpr uint16_t WeightMeasurement = 0x2A9D;
inline constexpr uint16_t WeightScaleFeature = 0x2A9E;
inline constexpr uint16_t UserControlPoint = 0x2A9F;
inline constexpr uint16_t MagneticFluxDensity2D = 0x2AA0;
inline constexpr uint16_t MagneticFluxDensity3D = 0x2AA1;
inline constexpr uint16_t BondManagementControlPoint = 0x2AA4;
inline constexpr uint16_t BondManagementFeature = 0x2AA5;
// Characteristics of the legacy HID service 0x3231.
inline constexpr uint16_t LegacyHidDescriptor = 0x2C00;
inline constexpr uint16_t LegacyHidDescriptorExtension = 0x2C01;
inline constexpr uint16_t LegacyHidControl = 0x2C02;
inline constexpr uint16_t LegacyHidInterrupt = 0x2C03;
inline constexpr uint16_t LegacyHidFlags = 0x2C04;
} // namespace CharacteristicUuid

// 16-bit UUIDs of descriptors.
namespace DescriptorUuid {
inline constexpr uint16_t ClientCharacteristicConfiguration = 0x2902;
inline constexpr uint16_t ReportReference = 0x2908;
inline constexpr uint16_t EnvironmentalSensingConfiguration = 0x290B;
inline constexpr uint16_t EnvironmentalSensingMeasurement = 0x290C;
inline constexpr uint16_t EnvironmentalSensingTriggerSetting = 0x290D;
} // namespace DescriptorUuid

// Vendor numbers XXXX of the maker's 128-bit UUIDs 0000XXXX-4b7e-11e2-8c3a-5f8c2e10b7d4
// (built with MakeVendorUuid, recognised with IsVendorUuid and VendorUuidHigh).
namespace VendorUuid {
// Tyre pressure sensor.
inline constexpr uint16_t TemperaturePressureService = 0xD000;
inline constexpr uint16_t PressureMeasurement = 0xD001;
inline constexpr uint16_t BlowOutPressure = 0xD002;
inline constexpr uint16_t Discoverability = 0xD003;
inline constexpr uint16_t WheelPosition = 0xD004;
inline constexpr uint16_t TemperatureMeasurement = 0xD006;
// Vehicle information key fob.
inline constexpr uint16_t VehicleInformationService = 0xAB09;
inline constexpr uint16_t SpeedLimit = 0xAB0A;
inline constexpr uint16_t TyrePressures = 0xAB0B;
inline constexpr uint16_t Odometer = 0xAB0C;
inline constexpr uint16_t Registration = 0xAB0D;
inline constexpr uint16_t LockStatus = 0xAB0E;
inline constexpr uint16_t Latitude = 0xAB0F;
inline constexpr uint16_t Longitude = 0xAB10;
inline constexpr uint16_t FuelAndRange = 0xAB11;
inline constexpr uint16_t RadioStations = 0xAB12;
inline constexpr uint16_t TrunkStatus = 0xAB13;
// Pairing deletion.
inline constexpr uint16_t PairingDeletionService = 0xAB14;
inline constexpr uint16_t PairingRemoval = 0xAB15;
// Motion sensors of the environment sensing peer.
inline constexpr uint16_t Acceleration = 0xAAA1;
inline constexpr uint16_t AngularVelocity = 0xAAA2;
inline constexpr uint16_t MagneticFlux = 0xAAA3;
inline constexpr uint16_t MagnetometerCalibration = 0xAAA4;
// Over-the-air update.
inline constexpr uint16_t OtaBootloaderService = 0x1010;
inline constexpr uint16_t OtaVersion = 0x1011;
inline constexpr uint16_t OtaCurrentApplication = 0x1013;
inline constexpr uint16_t OtaDataTransfer = 0x1014;
inline constexpr uint16_t OtaTransferControl = 0x1015;
inline constexpr uint16_t OtaApplicationService = 0x1016;
inline constexpr uint16_t OtaReadCsKey = 0x1017;
} // namespace VendorUuid
