// Heart Rate service: the Heart Rate Measurement value as a simulated sensor sends it.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace orv::sim {

// Bits of the measurement's flags byte.
namespace HeartRateFlag {
inline constexpr uint8_t kRate16Bit = 0x01;
inline constexpr uint8_t kContactDetected = 0x02;
inline constexpr uint8_t kContactSupported = 0x04;
inline constexpr uint8_t kEnergyExpended = 0x08;
inline constexpr uint8_t kRrIntervals = 0x10;
} // namespace HeartRateFlag

enum class SensorContact {
    NotSupported, // the sensor cannot tell
    NotDetected,
    Detected,
};

struct HeartRateMeasurement {
    uint16_t rate = 0;      // beats per minute
    bool rate16Bit = false; // send the rate as 16 bits even when it fits in 8
    SensorContact contact = SensorContact::NotSupported;
    std::optional<uint16_t> energyExpended; // kilojoules
    std::vector<uint16_t> rrIntervals;      // units of 1/1024 s; the RR flag is set when not empty

    // Little-endian value: flags, rate (8 bits, or 16 when asked or above 255), energy when present,
    // then the RR intervals. The caller keeps the RR count within what fits a notification.
    std::vector<uint8_t> encode() const;
};

} // namespace orv::sim
