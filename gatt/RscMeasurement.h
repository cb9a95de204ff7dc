// Running Speed and Cadence: the RSC Measurement and RSC Feature values.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

// Bits of the RSC Measurement flags.
namespace RscFlag {
inline constexpr uint8_t StrideLength = 0x01;
inline constexpr uint8_t TotalDistance = 0x02;
inline constexpr uint8_t Running = 0x04;
} // namespace RscFlag

// Bits of the RSC Feature value.
namespace RscFeature {
inline constexpr uint16_t StrideLength = 0x0001;
inline constexpr uint16_t TotalDistance = 0x0002;
inline constexpr uint16_t WalkingOrRunning = 0x0004;
inline constexpr uint16_t Calibration = 0x0008;
inline constexpr uint16_t MultipleLocations = 0x0010;
} // namespace RscFeature

struct RscMeasurement {
    uint16_t speed = 0;  // 1/256 m/s
    uint8_t cadence = 0; // steps per minute
    bool running = false;
    std::optional<uint16_t> strideLength;  // cm
    std::optional<uint32_t> totalDistance; // 1/10 m

    // nullopt ("too short") when the value does not hold the flags, speed, cadence or a field the
    // flags announce.
    static std::optional<RscMeasurement> decode(std::span<const uint8_t> value);

    bool operator==(const RscMeasurement&) const = default;
};
