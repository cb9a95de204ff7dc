// IEEE 11073-20601 16-bit SFLOAT and 32-bit FLOAT values of health device characteristics.
#pragma once

#include <cstdint>

// Special values of the format (exponent 0 with a reserved mantissa).
namespace SFloatSpecial {
inline constexpr uint16_t NaN = 0x07FF;
inline constexpr uint16_t NRes = 0x0800;
inline constexpr uint16_t PositiveInfinity = 0x07FE;
inline constexpr uint16_t NegativeInfinity = 0x0802;
inline constexpr uint16_t Reserved = 0x0801;
} // namespace SFloatSpecial

// mantissa (bits 11-0, two's complement) x 10^exponent (bits 15-12, two's complement). The special
// values give NaN (NaN, NRes, reserved) or an infinity, never a number the sensor did not measure.
double SFloatToDouble(uint16_t raw);

// Special values of the 32-bit format (exponent 0 with a reserved 24-bit mantissa).
namespace FloatSpecial {
inline constexpr uint32_t NaN = 0x007FFFFF;
inline constexpr uint32_t NRes = 0x00800000;
inline constexpr uint32_t PositiveInfinity = 0x007FFFFE;
inline constexpr uint32_t NegativeInfinity = 0x00800002;
inline constexpr uint32_t Reserved = 0x00800001;
} // namespace FloatSpecial

// mantissa (bits 23-0, two's complement) x 10^exponent (bits 31-24, signed). The special values give
// NaN (NaN, NRes, reserved) or an infinity.
double FloatToDouble(uint32_t raw);
