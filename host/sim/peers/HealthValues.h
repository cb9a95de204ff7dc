// Health device values as simulated sensors send them: SFLOAT, FLOAT and Date Time fields.
#pragma once

#include <cstdint>
#include <vector>

namespace orv::sim {

// The 16-bit SFLOAT mantissa x 10^exponent (mantissa -2048..2047, exponent -8..7).
uint16_t sfloat(int mantissa, int exponent);
inline constexpr uint16_t kSFloatNaN = 0x07FF;

// The 32-bit FLOAT mantissa x 10^exponent (24-bit mantissa, 8-bit exponent).
uint32_t float32(int mantissa, int exponent);

void put8(std::vector<uint8_t>& out, uint8_t value);
void put16(std::vector<uint8_t>& out, uint16_t value);
void put32(std::vector<uint8_t>& out, uint32_t value);

// Year, month, day, hours, minutes and seconds of a wall-clock time in seconds since 1970 (UTC).
void putDateTime(std::vector<uint8_t>& out, int64_t secondsSince1970);

} // namespace orv::sim
