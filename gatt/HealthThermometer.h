// Health Thermometer service: the Temperature Measurement value.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

// Bits of the Temperature Measurement flags byte.
namespace TemperatureFlag {
inline constexpr uint8_t Fahrenheit = 0x01; // clear: Celsius
inline constexpr uint8_t TimeStamp = 0x02;
inline constexpr uint8_t TemperatureType = 0x04;
} // namespace TemperatureFlag

struct TemperatureMeasurement {
    bool fahrenheit = false;
    // The FLOAT narrowed to single precision; NaN for a special value and for a number beyond a
    // float's range.
    float value = 0;

    // nullopt ("too short") when the value does not hold the temperature or the time stamp and type
    // its flags announce; those two are not read further. Unknown flag bits and bytes after the
    // announced fields are ignored.
    static std::optional<TemperatureMeasurement> decode(std::span<const uint8_t> value);
};
