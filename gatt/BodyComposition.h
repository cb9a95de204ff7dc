// Body Composition service: the Body Composition Feature and Body Composition Measurement values.
#pragma once

#include "gatt/BodyMeasurement.h"
#include "gatt/DateTime.h"

#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

// Bits of the Body Composition Feature value used beyond the fields' own (see BodyCompositionField).
namespace BodyCompositionFeature {
inline constexpr uint32_t TimeStamp = 0x0001;
inline constexpr uint32_t MultipleUsers = 0x0002;
} // namespace BodyCompositionFeature

// Bits of the Body Composition Measurement flags.
namespace BodyCompositionFlag {
inline constexpr uint16_t Imperial = 0x0001;
inline constexpr uint16_t TimeStamp = 0x0002;
inline constexpr uint16_t UserId = 0x0004;
inline constexpr uint16_t MultiplePacket = 0x1000;
} // namespace BodyCompositionFlag

// The measurement's 16-bit fields after the user ID, in the order they follow each other. Field f has
// flag bit f + 3 and feature bit f + 2.
enum class BodyCompositionField {
    BasalMetabolism,
    MusclePercentage,
    MuscleMass,
    FatFreeMass,
    SoftLeanMass,
    BodyWaterMass,
    Impedance,
    Weight,
    Height,
};
inline constexpr int kBodyCompositionFieldCount = 9;

struct BodyCompositionFeatures {
    uint32_t bits = 0;
    uint8_t massResolution = 0;   // bits 11-14
    uint8_t heightResolution = 0; // bits 15-17

    // The first four bytes; nullopt when the value holds fewer.
    static std::optional<BodyCompositionFeatures> decode(std::span<const uint8_t> value);
    static BodyCompositionFeatures fromBits(uint32_t bits);

    bool operator==(const BodyCompositionFeatures&) const = default;
};

struct BodyCompositionMeasurement {
    static constexpr uint16_t kUnsuccessful = 0xFFFF;
    // A value shorter than this with the multiple-packet flag continues the measurement before it.
    static constexpr size_t kFirstPacketMinimum = 16;

    uint16_t flags = 0;
    bool continuation = false;
    // A first packet's body fat (0.1 %; kUnsuccessful when the measurement failed), time stamp and user.
    std::optional<uint16_t> bodyFat;
    std::optional<DateTime> timeStamp;
    std::optional<uint8_t> userId;
    // The fields taken after those, in their order, with their raw values.
    std::vector<std::pair<BodyCompositionField, uint16_t>> fields;

    // A continuation is read from offset 4 and has no body fat, time stamp or user. A field is read,
    // and the reading moves past it, only when its flag and its feature bit (in features) are both
    // set; a failed first packet ends after its body fat. nullopt ("too short") when the value does not
    // hold a field it is read for.
    static std::optional<BodyCompositionMeasurement> decode(std::span<const uint8_t> value,
                                                            uint32_t features);

    bool imperial() const { return (flags & BodyCompositionFlag::Imperial) != 0; }
    bool operator==(const BodyCompositionMeasurement&) const = default;
};
