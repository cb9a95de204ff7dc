// Blood Pressure service: the Blood Pressure Measurement and Intermediate Cuff Pressure values.
#include "gatt/BloodPressure.h"

#include "gatt/ByteReader.h"
#include "gatt/SFloat.h"

std::optional<BloodPressureMeasurement> BloodPressureMeasurement::decode(std::span<const uint8_t> value) {
    ByteReader reader(value);
    const auto flags = reader.u8();
    const auto systolic = reader.u16();
    const auto diastolic = reader.u16();
    const auto meanArterial = reader.u16();
    if (reader.failed()) {
        return std::nullopt;
    }
    BloodPressureMeasurement measurement;
    measurement.kpa = (*flags & BloodPressureFlag::UnitKpa) != 0;
    measurement.systolic = SFloatToDouble(*systolic);
    measurement.diastolic = SFloatToDouble(*diastolic);
    measurement.meanArterial = SFloatToDouble(*meanArterial);
    if (*flags & BloodPressureFlag::TimeStamp) {
        measurement.timeStamp = DateTime::read(reader);
    }
    if (*flags & BloodPressureFlag::PulseRate) {
        if (const auto pulse = reader.u16()) {
            measurement.pulseRate = SFloatToDouble(*pulse);
        }
    }
    if (*flags & BloodPressureFlag::UserId) {
        measurement.userId = reader.u8();
    }
    if (*flags & BloodPressureFlag::MeasurementStatus) {
        measurement.status = reader.u16();
    }
    if (reader.failed()) {
        return std::nullopt;
    }
    return measurement;
}
