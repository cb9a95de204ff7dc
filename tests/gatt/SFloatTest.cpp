#include "gatt/SFloat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(SFloatTest, MantissaTimesTenToTheExponentOrTheSpecialValue) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const std::pair<uint16_t, double> rows[] = {
        {0x0072, 114.0},  {0xF48A, 116.2},  {0x0FFF, -1.0},    {0xE7FF, 20.47},    {0x7001, 1.0e7},
        {0x8001, 1.0e-8}, {0xF801, -204.7}, {0x0803, -2045.0}, {0x17FF, 20470.0},  {0xF800, -204.8},
        {0x07FF, nan},    {0x0800, nan},    {0x0801, nan},     {0x07FE, infinity}, {0x0802, -infinity},
    };
    for (const auto& [raw, expected] : rows) {
        const double value = SFloatToDouble(raw);
        if (std::isnan(expected)) {
            EXPECT_TRUE(std::isnan(value)) << std::hex << raw;
        } else {
            EXPECT_DOUBLE_EQ(value, expected) << std::hex << raw;
        }
    }
}

} // namespace
