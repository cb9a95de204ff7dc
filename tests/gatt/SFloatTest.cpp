#include "gatt/SFloat.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct SFloatCase {
    uint16_t raw;
    double expected;
};

TEST(SFloatTest, OrdinaryValuesAreMantissaTimesTenToTheExponent) {
    const SFloatCase cases[] = {
        {0x0072, 114.0},  {0xF48A, 116.2},   {0x0FFF, -1.0},   {0xE7FF, 20.47},
        {0x0000, 0.0},    {0x1001, 10.0},    {0x7001, 1.0e7},  {0x8001, 1.0e-8},
        {0xF801, -204.7}, {0x0803, -2045.0}, {0x07FD, 2045.0},
    };
    for (const SFloatCase& c : cases) {
        EXPECT_DOUBLE_EQ(SFloatToDouble(c.raw), c.expected) << std::hex << c.raw;
    }
}

TEST(SFloatTest, NotANumberValuesGiveNaN) {
    for (uint16_t raw : {SFloatSpecial::NaN, SFloatSpecial::NRes, SFloatSpecial::Reserved}) {
        EXPECT_TRUE(std::isnan(SFloatToDouble(raw))) << std::hex << raw;
    }
}

TEST(SFloatTest, InfinitiesKeepTheirSign) {
    const double positive = SFloatToDouble(SFloatSpecial::PositiveInfinity);
    const double negative = SFloatToDouble(SFloatSpecial::NegativeInfinity);
    EXPECT_TRUE(std::isinf(positive));
    EXPECT_GT(positive, 0.0);
    EXPECT_TRUE(std::isinf(negative));
    EXPECT_LT(negative, 0.0);
}

TEST(SFloatTest, SpecialMantissasWithANonZeroExponentAreOrdinary) {
    EXPECT_DOUBLE_EQ(SFloatToDouble(0x17FF), 20470.0);
    EXPECT_DOUBLE_EQ(SFloatToDouble(0xF800), -204.8);
}

} // namespace
