// Heart Rate service: the Heart Rate Measurement and Body Sensor Location values.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Bits of the Heart Rate Measurement flags byte.
namespace HeartRateFlag {
inline constexpr uint8_t Rate16Bit = 0x01;
inline constexpr uint8_t ContactDetected = 0x02;
inline constexpr uint8_t ContactSupported = 0x04;
inline constexpr uint8_t EnergyExpended = 0x08;
inline constexpr uint8_t RrIntervals = 0x10;
} // namespace HeartRateFlag

// Sensor contact as the heart-rate window shows it.
enum class SensorContact : uint32_t {
    Unknown = 0,      // contact feature not supported
    NotInContact = 1, // supported, no contact detected
    InContact = 2,
};

struct HeartRateMeasurement {
    uint16_t rate = 0; // beats per minute
    SensorContact contact = SensorContact::Unknown;
    std::optional<uint16_t> energyExpended; // kilojoules
    bool rrPresent = false;
    std::vector<uint16_t> rrIntervals; // units of 1/1024 s

    // nullopt ("too short") when the value does not hold the flags, the rate or the energy field
    // it announces. RR intervals run to the end of the value; a last odd byte is ignored.
    static std::optional<HeartRateMeasurement> decode(std::span<const uint8_t> value);

    bool operator==(const HeartRateMeasurement&) const = default;
};

// Body Sensor Location names: 0 "Other" to 6 "Foot", anything else "Unknown".
QString BodySensorLocationName(uint32_t location);
