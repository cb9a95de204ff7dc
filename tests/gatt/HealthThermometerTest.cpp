#include "gatt/HealthThermometer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Bytes = std::vector<uint8_t>;

TEST(HealthThermometerTest, DecodeReadsUnitAndFloat) {
    const std::tuple<Bytes, bool, float> cases[] = {
        {{0x00, 0x6D, 0x01, 0x00, 0xFF}, false, 36.5f},
        {{0x00, 0xF6, 0xFF, 0xFF, 0x00}, false, -10.0f},
        {{0x01, 0xDA, 0x03, 0x00, 0xFF}, true, 98.6f},
        {{0xF9, 0x6D, 0x01, 0x00, 0xFF, 0x55}, true, 36.5f}, // unknown bits, trailing byte
    };
    for (const auto& [value, fahrenheit, temperature] : cases) {
        const auto decoded = TemperatureMeasurement::decode(value);
        ASSERT_TRUE(decoded) << testing::PrintToString(value);
        EXPECT_EQ(std::pair(decoded->fahrenheit, decoded->value), std::pair(fahrenheit, temperature));
    }
}

TEST(HealthThermometerTest, EveryCutOfTheTemperatureIsTooShortAndAnnouncedFieldsAreNotRead) {
    const Bytes full = {0x06, 0x6D, 0x01, 0x00, 0xFF}; // time stamp and type announced, not held
    ASSERT_TRUE(TemperatureMeasurement::decode(full));
    for (size_t length = 0; length < full.size(); ++length) {
        EXPECT_FALSE(TemperatureMeasurement::decode(Bytes(full.begin(), full.begin() + length))) << length;
    }
}

TEST(HealthThermometerTest, SpecialsAndNumbersBeyondAFloatAreNotANumber) {
    for (const Bytes& value : {Bytes{0x00, 0xFF, 0xFF, 0x7F, 0x00}, Bytes{0x00, 0x00, 0x00, 0x80, 0x00},
                               Bytes{0x00, 0xFE, 0xFF, 0x7F, 0x00}, Bytes{0x00, 0x02, 0x00, 0x80, 0x00},
                               Bytes{0x00, 0x01, 0x00, 0x80, 0x00}, Bytes{0x00, 0x01, 0x00, 0x00, 0x27},
                               Bytes{0x00, 0xFF, 0xFF, 0xFF, 0x7F}}) {
        const auto decoded = TemperatureMeasurement::decode(value);
        ASSERT_TRUE(decoded);
        EXPECT_TRUE(std::isnan(decoded->value)) << testing::PrintToString(value);
    }
    const auto largest = TemperatureMeasurement::decode(Bytes{0x00, 0x01, 0x00, 0x00, 0x26});
    EXPECT_EQ(largest->value, 1e38f);
}

} // namespace
