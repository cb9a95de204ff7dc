// Glucose service: the records a simulated glucose meter holds, as it sends them.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace orv::sim {

// What a Glucose Measurement Context carries; each part present is sent with its flag bit.
struct GlucoseContextParts {
    std::optional<uint8_t> extendedFlags;
    std::optional<std::pair<uint8_t, uint16_t>> carbohydrate; // id, SFLOAT kilograms
    std::optional<uint8_t> meal;
    std::optional<uint8_t> testerHealth;                    // tester (high nibble), health (low nibble)
    std::optional<std::pair<uint16_t, uint8_t>> exercise;   // seconds (0xFFFF overrun), intensity percent
    std::optional<std::pair<uint8_t, uint16_t>> medication; // id, SFLOAT kilograms or litres
    bool medicationInLitres = false;
    std::optional<uint16_t> hba1c; // SFLOAT percent

    bool empty() const;
    std::vector<uint8_t> encode(uint16_t sequence) const;
};

struct GlucoseRecord {
    uint16_t sequence = 0;
    int64_t baseTime = 0;                  // seconds since 1970, the meter's clock
    std::optional<int16_t> timeOffset;     // minutes
    std::optional<uint16_t> concentration; // SFLOAT kg/L, with typeLocation
    uint8_t typeLocation = 0;              // sample location (high nibble), type (low nibble)
    std::optional<uint16_t> status;
    GlucoseContextParts context;

    // The Glucose Measurement (announcing the context when there is one) and the context, if any.
    std::vector<uint8_t> measurement() const;
    std::optional<std::vector<uint8_t>> contextValue() const;
};

// The meter's twelve records: sequence numbers 1 to 12, seven hours apart, in kg/L with type and
// location, some with a status, one (5) with a status only, and context of every kind.
std::vector<GlucoseRecord> storedGlucoseRecords();

} // namespace orv::sim
