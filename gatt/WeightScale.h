// Weight Scale service: the Weight Scale Feature and Weight Measurement values.
#pragma once

#include "gatt/BodyMeasurement.h"
#include "gatt/DateTime.h"

#include <cstdint>
#include <optional>
#include <span>

// Bits of the Weight Scale Feature value.
namespace WeightScaleFeature {
inline constexpr uint16_t TimeStamp = 0x0001;
inline constexpr uint16_t MultipleUsers = 0x0002;
inline constexpr uint16_t Bmi = 0x0004;
} // namespace WeightScaleFeature

// Bits of the Weight Measurement flags.
namespace WeightFlag {
inline constexpr uint8_t Imperial = 0x01;
inline constexpr uint8_t TimeStamp = 0x02;
inline constexpr uint8_t UserId = 0x04;
inline constexpr uint8_t BmiAndHeight = 0x08;
} // namespace WeightFlag

struct WeightScaleFeatures {
    uint16_t bits = 0;            // the value's low 16 bits
    uint8_t weightResolution = 0; // bits 3-6
    uint8_t heightResolution = 0; // bits 7-9

    // The first two bytes; nullopt when the value holds fewer.
    static std::optional<WeightScaleFeatures> decode(std::span<const uint8_t> value);
    static WeightScaleFeatures fromBits(uint16_t bits);

    bool operator==(const WeightScaleFeatures&) const = default;
};

struct WeightMeasurement {
    static constexpr uint16_t kUnsuccessful = 0xFFFF;

    uint8_t flags = 0;
    uint16_t weight = 0; // raw, kUnsuccessful when the measurement failed
    std::optional<DateTime> timeStamp;
    std::optional<uint8_t> userId;
    std::optional<uint16_t> bmi;    // 0.1 kg/m²
    std::optional<uint16_t> height; // raw

    // A field is read, and the reading moves past it, only when its flag and its feature bit (in
    // features, the feature value's bits) are both set. nullopt ("too short") when the value does not
    // hold a field it is read for.
    static std::optional<WeightMeasurement> decode(std::span<const uint8_t> value, uint16_t features);

    bool imperial() const { return (flags & WeightFlag::Imperial) != 0; }
    bool operator==(const WeightMeasurement&) const = default;
};
