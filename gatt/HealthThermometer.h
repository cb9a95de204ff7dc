// Health Thermometer service: the Temperature Measurement value.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

// Bits of the Temperature Measurement flags byte.
namespace TemperatureFlag {
inline constexpr uint8_t Fahrenheit = 0x01; // clear: Celsius
} // namespace TemperatureFlag

struct TemperatureMeasurement {
    bool fahrenheit = false;
    // The FLOAT narrowed to single precision; NaN for a special value and for a number beyond a
    // float's range.
    float value = 0;

    // nullopt ("too short") when the value does not hold the temperature. Nothing after it is read:
    // a time stamp or type that the flags announce may be missing, and other flag bits are ignored.
    static std::optional<TemperatureMeasurement> decode(std::span<const uint8_t> value);
};
