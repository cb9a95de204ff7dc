// Cycling Speed and Cadence: the CSC Measurement and CSC Feature values.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

// Bits of the CSC Measurement flags and of the CSC Feature value.
namespace CscFlag {
inline constexpr uint8_t WheelRevolutions = 0x01;
inline constexpr uint8_t CrankRevolutions = 0x02;
inline constexpr uint8_t MultipleLocations = 0x04; // CSC Feature only
} // namespace CscFlag

struct CscMeasurement {
    struct Wheel {
        uint32_t revolutions = 0;
        uint16_t eventTime = 0; // of the last revolution, 1/1024 s
        bool operator==(const Wheel&) const = default;
    };
    struct Crank {
        uint16_t revolutions = 0;
        uint16_t eventTime = 0;
        bool operator==(const Crank&) const = default;
    };

    std::optional<Wheel> wheel;
    std::optional<Crank> crank;

    // nullopt ("too short") when the value does not hold the flags or a field they announce.
    static std::optional<CscMeasurement> decode(std::span<const uint8_t> value);

    bool operator==(const CscMeasurement&) const = default;
};
