// Cycling Speed and Cadence: the CSC Measurement and CSC Feature values.
#include "gatt/CscMeasurement.h"

#include "gatt/ByteReader.h"

std::optional<CscMeasurement> CscMeasurement::decode(std::span<const uint8_t> value) {
    ByteReader reader(value);
    const auto flags = reader.u8();
    if (!flags) {
        return std::nullopt;
    }
    CscMeasurement measurement;
    if (*flags & CscFlag::WheelRevolutions) {
        const auto revolutions = reader.u32();
        const auto time = reader.u16();
        if (!revolutions || !time) {
            return std::nullopt;
        }
        measurement.wheel = Wheel{*revolutions, *time};
    }
    if (*flags & CscFlag::CrankRevolutions) {
        const auto revolutions = reader.u16();
        const auto time = reader.u16();
        if (!revolutions || !time) {
            return std::nullopt;
        }
        measurement.crank = Crank{*revolutions, *time};
    }
    return measurement;
}
