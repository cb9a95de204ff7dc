// IEEE 11073-20601 16-bit SFLOAT values of health device characteristics.
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
