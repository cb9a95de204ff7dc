// Weight Scale service: the Weight Scale Feature and Weight Measurement values.
#include "gatt/WeightScale.h"

#include "gatt/ByteReader.h"

std::optional<WeightScaleFeatures> WeightScaleFeatures::decode(std::span<const uint8_t> value) {
    ByteReader reader(value);
    const auto bits = reader.u16();
    if (!bits)
        return std::nullopt;
    return fromBits(*bits);
}

WeightScaleFeatures WeightScaleFeatures::fromBits(uint16_t bits) {
    return {bits, static_cast<uint8_t>((bits >> 3) & 0x0F), static_cast<uint8_t>((bits >> 7) & 0x07)};
}

std::optional<WeightMeasurement> WeightMeasurement::decode(std::span<const uint8_t> value,
                                                           uint16_t features) {
    ByteReader reader(value);
    const auto flags = reader.u8();
    const auto weight = reader.u16();
    if (!weight)
        return std::nullopt;
    WeightMeasurement measurement;
    measurement.flags = *flags;
    measurement.weight = *weight;
    const auto taken = [&](uint8_t flag, uint16_t feature) {
        return (*flags & flag) && (features & feature);
    };
    if (taken(WeightFlag::TimeStamp, WeightScaleFeature::TimeStamp)) {
        measurement.timeStamp = DateTime::read(reader);
        if (!measurement.timeStamp)
            return std::nullopt;
    }
    if (taken(WeightFlag::UserId, WeightScaleFeature::MultipleUsers)) {
        measurement.userId = reader.u8();
        if (!measurement.userId)
            return std::nullopt;
    }
    if (taken(WeightFlag::BmiAndHeight, WeightScaleFeature::Bmi)) {
        measurement.bmi = reader.u16();
        measurement.height = reader.u16();
        if (!measurement.height)
            return std::nullopt;
    }
    return measurement;
}
