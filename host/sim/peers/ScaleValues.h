// Weight Scale and Body Composition services: the measurement values as a simulated scale sends them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace orv::sim {

// Year, month, day, hours, minutes, seconds.
struct ScaleTimeStamp {
    uint16_t year = 0;
    uint8_t month = 0;
    uint8_t day = 0;
    uint8_t hours = 0;
    uint8_t minutes = 0;
    uint8_t seconds = 0;

    // The calendar time seconds after midnight at the start of 1 January 2026.
    static ScaleTimeStamp fromSeconds(uint64_t seconds);
};

struct ScaleWeightMeasurement {
    bool imperial = false;
    uint16_t weight = 0; // 0.005 kg or 0.01 lb; 0xFFFF: the weighing failed
    std::optional<ScaleTimeStamp> timeStamp;
    std::optional<uint8_t> userId;
    std::optional<uint16_t> bmi;    // 0.1 kg/m², sent with the height
    std::optional<uint16_t> height; // 0.001 m or 0.1 in

    // Little-endian: flags, weight, then the fields present (BMI and height only together).
    std::vector<uint8_t> encode() const;
};

struct ScaleBodyComposition {
    static constexpr size_t kFieldCount = 9;
    // A value the client takes as the first packet of a measurement holds at least this many bytes.
    static constexpr size_t kFirstPacketMinimum = 16;

    bool imperial = false;
    uint16_t bodyFat = 0; // 0.1 %; 0xFFFF: the measurement failed
    std::optional<ScaleTimeStamp> timeStamp;
    std::optional<uint8_t> userId;
    // Basal metabolism (kJ), muscle percentage (0.1 %), muscle mass, fat free mass, soft lean mass,
    // body water mass (0.005 kg or 0.01 lb), impedance (0.1 ohm), weight (as the masses), height
    // (0.001 m or 0.1 in), in that order; flag bit 3 + i for field i.
    std::array<std::optional<uint16_t>, kFieldCount> fields{};

    // The whole measurement in one value when it fits in maxLength bytes. Otherwise split: every
    // packet has the multiple-packet flag, the body fat and the flags of its own fields; the first
    // packet (with the time stamp and user) is filled as far as maxLength allows, which keeps it at
    // least kFirstPacketMinimum long for a maxLength of 20, and each later one is shorter than that.
    std::vector<std::vector<uint8_t>> packets(size_t maxLength) const;
};

} // namespace orv::sim
