// Running Speed and Cadence: the RSC Measurement and RSC Feature values.
#include "gatt/RscMeasurement.h"

#include "gatt/ByteReader.h"

std::optional<RscMeasurement> RscMeasurement::decode(std::span<const uint8_t> value) {
    ByteReader reader(value);
    const auto flags = reader.u8();
    const auto speed = reader.u16();
    const auto cadence = reader.u8();
    if (!flags || !speed || !cadence) {
        return std::nullopt;
    }
    RscMeasurement measurement{*speed, *cadence, (*flags & RscFlag::Running) != 0, {}, {}};
    if (*flags & RscFlag::StrideLength) {
        measurement.strideLength = reader.u16();
        if (!measurement.strideLength) {
            return std::nullopt;
        }
    }
    if (*flags & RscFlag::TotalDistance) {
        measurement.totalDistance = reader.u32();
        if (!measurement.totalDistance) {
            return std::nullopt;
        }
    }
    return measurement;
}
