// Fuzz target: every value decoder, encoder and text helper of the application. The first byte picks
// the entry, the rest is the value; a profile adds its entries at the end of the table below, one line
// each, so that the checked-in seeds keep the entry their first byte picks. The entries of
// GattContracts.h also check what the functions promise.
#include "fuzz/GattContracts.h"
#include "gatt/BloodPressure.h"
#include "gatt/BodyComposition.h"
#include "gatt/CscMeasurement.h"
#include "gatt/DeviceInformation.h"
#include "gatt/EnvironmentValues.h"
#include "gatt/Glucose.h"
#include "gatt/GlucoseText.h"
#include "gatt/HealthThermometer.h"
#include "gatt/HeartRate.h"
#include "gatt/Hid.h"
#include "gatt/NotificationCenter.h"
#include "gatt/PhoneAlerts.h"
#include "gatt/RscMeasurement.h"
#include "gatt/SFloat.h"
#include "gatt/SecurityTag.h"
#include "gatt/SpeedAndCadence.h"
#include "gatt/SteeringWheel.h"
#include "gatt/TyrePressure.h"
#include "gatt/UserData.h"
#include "gatt/ValueText.h"
#include "gatt/VehicleInformation.h"
#include "gatt/WeightScale.h"
#include "gatt/ZoneRules.h"

#include <cstddef>
#include <cstdint>

namespace {

using fuzz::after;
using fuzz::typed;
using fuzz::Value;
using namespace fuzz::contracts;

uint32_t firstByte(Value value) {
    return value.empty() ? 0 : value[0];
}

uint16_t first16(Value value) {
    return value.size() < 2 ? 0 : static_cast<uint16_t>(value[0] | value[1] << 8);
}

uint32_t first32(Value value) {
    return value.size() < 4 ? 0 : static_cast<uint32_t>(first16(value) | first16(value.subspan(2)) << 16);
}

// The glucose window's texts of whatever a measurement and its context carry.
void glucoseTexts(Value v) {
    if (const auto m = GlucoseMeasurement::decode(v)) {
        (void)GlucoseMeasurementText(m->concentration, m->unit, m->status.has_value());
        (void)GlucoseSampleText(m->location, m->type);
    }
    if (const auto context = GlucoseContext::decode(v)) {
        for (const GlucoseContextItem& item : context->items) {
            (void)GlucoseContextValue(item);
        }
    }
}

void (*const kDecoders[])(Value) = {
    [](Value v) { (void)HeartRateMeasurement::decode(v); },
    [](Value v) { (void)BodySensorLocationName(firstByte(v)); },
    [](Value v) { (void)WeightScaleFeatures::decode(v); },
    [](Value v) { (void)WeightMeasurement::decode(after(v, 2), first16(v)); },
    [](Value v) { (void)BodyCompositionFeatures::decode(v); },
    [](Value v) { (void)BodyCompositionMeasurement::decode(after(v, 4), first32(v)); },
    [](Value v) { (void)UserControlPointResponse::decode(v); },
    [](Value v) { (void)FirstNameText(v); },
    [](Value v) { (void)DatabaseChangeIncrement(v); },
    [](Value v) { (void)SFloatToDouble(first16(v)); },
    [](Value v) { (void)Utf8ToCString(v.data(), static_cast<int>(v.size())); },
    [](Value v) { (void)BytesToHexString(v.data(), static_cast<int>(v.size()), QStringLiteral(" "), true); },
    [](Value v) { (void)CscMeasurement::decode(v); },
    [](Value v) { (void)RscMeasurement::decode(v); },
    [](Value v) { (void)ScControlPointResponse::decode(v); },
    [](Value v) { (void)SensorLocationName(firstByte(v)); },
    [](Value v) { (void)ParseCumulativeValue(typed(v)); },
    [](Value v) { (void)ParseCircumference(typed(v)); },
    [](Value v) { (void)ParseTotalDistance(typed(v)); },
    [](Value v) { (void)PressureReading(v); },
    [](Value v) { (void)TemperatureReading(v); },
    [](Value v) { (void)HumidityReading(v); },
    [](Value v) { (void)GyroscopeReading(v); },
    [](Value v) { (void)AccelerometerReading(v); },
    [](Value v) { (void)DecodeMagneticFlux(v, false); },
    [](Value v) { (void)DecodeMagneticFlux(v, true); },
    [](Value v) { (void)DeclinationText(v); },
    [](Value v) {
        if (const auto request = DecodeAlertControlPoint(v))
            (void)WithCategory(first16(v), request->category, CheckAlertControlPoint(*request) == 0);
    },
    [](Value v) {
        (void)EncodeNewAlert(static_cast<uint8_t>(firstByte(v)),
                             Utf8ToCString(v.data(), static_cast<int>(v.size())));
    },
    [](Value v) {
        (void)OccurrenceDay(first16(v), static_cast<int>(firstByte(v)) - 100,
                            static_cast<int>(v.size() % 9) - 1, static_cast<int>(v.size() % 7));
    },
    [](Value v) { (void)BloodPressureMeasurement::decode(v); },
    [](Value v) { glucoseTexts(v); },
    [](Value v) { (void)RacpResponse::decode(v); },
    [](Value v) { (void)TemperatureMeasurement::decode(v); },
    [](Value v) { (void)FloatToDouble(first32(v)); },
    [](Value v) { (void)SystemIdText(v); },
    [](Value v) { (void)CertificationDataText(v); },
    [](Value v) { (void)PnpIdText(v); },
    [](Value v) { (void)PsiToKpa(BlowOutPsi(first16(v), firstByte(v) / 10.0), firstByte(v) / 10.0); },
    [](Value v) {
        (void)ParseDecimal(QString::fromLatin1(reinterpret_cast<const char*>(v.data()), v.size()));
    },
    [](Value v) { (void)WheelPositionName(static_cast<uint8_t>(firstByte(v))); },
    [](Value v) { (void)SpeedLimitText(v); },
    [](Value v) { (void)TyrePressureTexts(v); },
    [](Value v) { (void)OdometerText(v); },
    [](Value v) { (void)RegistrationText(v); },
    [](Value v) { (void)FuelAndRangeTexts(v); },
    [](Value v) { (void)StationIds(v); },
    [](Value v) {
        if (const auto coordinate = CoordinateValue(v))
            (void)CoordinateText(*coordinate);
    },
    [](Value v) {
        if (const auto request = DecodeAncsControlPoint(v))
            (void)AncsDataSourceAnswer(*request, {AncsDemoAttributes(request->attributeIds.size() % 13)});
    },
    [](Value v) { (void)TxPowerCorrection(static_cast<uint8_t>(firstByte(v))); },
    [](Value v) { (void)HidInformation::decode(v); },
    [](Value v) { (void)HidReportReference::decode(v); },
    [](Value v) { (void)DecodeLegacyHidFlags(v); },
    [](Value v) { (void)SteeringWheelReport::decode(v).litButtons(); },
    [](Value v) {
        (void)ParseHexBytes(QString::fromLatin1(reinterpret_cast<const char*>(v.data()), v.size()));
    },
    &hidTexts,
    &hexInputFilter,
    &fobStatus,
    &stationName,
    &locationUrl,
    &bodyMeasures,
    &typedNumber,
    &editUInt16,
    &sensorLocationNames,
    &wheelPositionNames,
    &roundToDecimals,
    &cyclingRide,
    &unreadCounts,
    &alertCategories,
    &firstName,
    &userControlRequests,
    &cumulativeValueRequest,
    &currentTime,
    &timeServiceValues,
    &timeSinceUpdateAndZone,
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const Value value(data + 1, size - 1);
    kDecoders[data[0] % std::size(kDecoders)](value);
    return 0;
}
