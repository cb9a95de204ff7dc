// Body Composition service: the Body Composition Feature and Body Composition Measurement values.
#include "gatt/BodyComposition.h"

#include "gatt/ByteReader.h"

std::optional<BodyCompositionFeatures> BodyCompositionFeatures::decode(std::span<const uint8_t> value) {
    ByteReader reader(value);
    const auto bits = reader.u32();
    if (!bits)
        return std::nullopt;
    return fromBits(*bits);
}

BodyCompositionFeatures BodyCompositionFeatures::fromBits(uint32_t bits) {
    return {bits, static_cast<uint8_t>((bits >> 11) & 0x0F), static_cast<uint8_t>((bits >> 15) & 0x07)};
}

std::optional<BodyCompositionMeasurement> BodyCompositionMeasurement::decode(std::span<const uint8_t> value,
                                                                             uint32_t features) {
    ByteReader reader(value);
    const auto flags = reader.u16();
    const auto bodyFat = reader.u16(); // skipped by a continuation
    if (!bodyFat)
        return std::nullopt;
    BodyCompositionMeasurement measurement;
    measurement.flags = *flags;
    measurement.continuation =
        value.size() < kFirstPacketMinimum && (*flags & BodyCompositionFlag::MultiplePacket) != 0;
    const auto taken = [&](uint16_t flag, uint32_t feature) {
        return (*flags & flag) && (features & feature);
    };
    if (!measurement.continuation) {
        measurement.bodyFat = bodyFat;
        if (*bodyFat == kUnsuccessful)
            return measurement;
        if (taken(BodyCompositionFlag::TimeStamp, BodyCompositionFeature::TimeStamp)) {
            measurement.timeStamp = DateTime::read(reader);
            if (!measurement.timeStamp)
                return std::nullopt;
        }
        if (taken(BodyCompositionFlag::UserId, BodyCompositionFeature::MultipleUsers)) {
            measurement.userId = reader.u8();
            if (!measurement.userId)
                return std::nullopt;
        }
    }
    for (int field = 0; field < kBodyCompositionFieldCount; ++field) {
        if (!taken(static_cast<uint16_t>(1u << (field + 3)), 1u << (field + 2)))
            continue;
        const auto raw = reader.u16();
        if (!raw)
            return std::nullopt;
        measurement.fields.emplace_back(static_cast<BodyCompositionField>(field), *raw);
    }
    return measurement;
}
