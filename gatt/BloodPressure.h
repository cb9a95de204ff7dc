// Blood Pressure service: the Blood Pressure Measurement and Intermediate Cuff Pressure values.
#pragma once

#include "gatt/DateTime.h"

#include <cstdint>
#include <optional>
#include <span>

// Bits of the flags byte that both values share.
namespace BloodPressureFlag {
inline constexpr uint8_t UnitKpa = 0x01;
inline constexpr uint8_t TimeStamp = 0x02;
inline constexpr uint8_t PulseRate = 0x04;
inline constexpr uint8_t UserId = 0x08;
inline constexpr uint8_t MeasurementStatus = 0x10;
} // namespace BloodPressureFlag

// One layout for a measurement and an intermediate cuff pressure (whose systolic field is the cuff
// pressure). Pressures and pulse are SFLOATs: a special value gives NaN or an infinity.
struct BloodPressureMeasurement {
    static constexpr uint8_t kNoUser = 0xFF;

    bool kpa = false; // else mmHg
    double systolic = 0;
    double diastolic = 0;
    double meanArterial = 0;
    std::optional<DateTime> timeStamp;
    std::optional<double> pulseRate; // beats per minute
    std::optional<uint8_t> userId;
    std::optional<uint16_t> status;

    // nullopt ("too short") when the value does not hold every field its flags announce. Unknown
    // flag bits and bytes after the announced fields are ignored.
    static std::optional<BloodPressureMeasurement> decode(std::span<const uint8_t> value);
};
