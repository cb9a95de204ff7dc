// IEEE 11073-20601 16-bit SFLOAT and 32-bit FLOAT values of health device characteristics.
#include "gatt/SFloat.h"

#include <cmath>
#include <limits>

namespace {

// The value of a bits-wide two's-complement field.
int signExtend(unsigned value, int bits) {
    const unsigned signBit = 1u << (bits - 1);
    return static_cast<int>(value ^ signBit) - static_cast<int>(signBit);
}

} // namespace

double SFloatToDouble(uint16_t raw) {
    switch (raw) {
    case SFloatSpecial::PositiveInfinity:
        return std::numeric_limits<double>::infinity();
    case SFloatSpecial::NegativeInfinity:
        return -std::numeric_limits<double>::infinity();
    case SFloatSpecial::NaN:
    case SFloatSpecial::NRes:
    case SFloatSpecial::Reserved:
        return std::numeric_limits<double>::quiet_NaN();
    default:
        break;
    }
    const int exponent = signExtend(raw >> 12, 4);
    const int mantissa = signExtend(raw & 0x0FFFu, 12);
    return mantissa * std::pow(10.0, exponent);
}

double FloatToDouble(uint32_t raw) {
    switch (raw) {
    case FloatSpecial::PositiveInfinity:
        return std::numeric_limits<double>::infinity();
    case FloatSpecial::NegativeInfinity:
        return -std::numeric_limits<double>::infinity();
    case FloatSpecial::NaN:
    case FloatSpecial::NRes:
    case FloatSpecial::Reserved:
        return std::numeric_limits<double>::quiet_NaN();
    default:
        break;
    }
    const int exponent = signExtend(raw >> 24, 8);
    const int mantissa = signExtend(raw & 0x00FFFFFFu, 24);
    return mantissa * std::pow(10.0, exponent);
}
