#include "gatt/BloodPressure.h"
#include "gatt/SFloat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using Bytes = std::vector<uint8_t>;

// Pressures 120, 80 and 93 mmHg (exponent 0), as both values start.
const Bytes kPressures = {0x78, 0x00, 0x50, 0x00, 0x5D, 0x00};

Bytes WithFlags(uint8_t flags, const Bytes& tail) {
    Bytes value{flags};
    value.insert(value.end(), kPressures.begin(), kPressures.end());
    value.insert(value.end(), tail.begin(), tail.end());
    return value;
}

const Bytes kTimeStamp = {0xEA, 0x07, 0x05, 0x11, 0x09, 0x1E, 0x00}; // 2026-05-17 09:30:00
const DateTime kTime{2026, 5, 17, 9, 30, 0};

TEST(BloodPressureTest, DecodeReadsEachFlagAloneAndAll) {
    using Fields = std::tuple<bool, std::optional<DateTime>, std::optional<double>, std::optional<uint8_t>,
                              std::optional<uint16_t>>; // kPa, time, pulse, user, status
    const std::pair<Bytes, Fields> cases[] = {
        {WithFlags(0x00, {}), {false, {}, {}, {}, {}}},
        {WithFlags(0x01, {}), {true, {}, {}, {}, {}}},
        {WithFlags(0x02, kTimeStamp), {false, kTime, {}, {}, {}}},
        {WithFlags(0x04, {0x48, 0x00}), {false, {}, 72.0, {}, {}}},
        {WithFlags(0x08, {0x03}), {false, {}, {}, 3, {}}},
        {WithFlags(0x10, {0x04, 0x01}), {false, {}, {}, {}, 0x0104}},
        {WithFlags(0x1F, {0xEA, 0x07, 0x05, 0x11, 0x09, 0x1E, 0x00, 0x48, 0x00, 0xFF, 0x04, 0x00}),
         {true, kTime, 72.0, 0xFF, 0x0004}},
        {WithFlags(0xE4, {0x48, 0x00, 0x99}), {false, {}, 72.0, {}, {}}}, // unknown bits, trailing byte
    };
    for (const auto& [value, expected] : cases) {
        const auto m = BloodPressureMeasurement::decode(value);
        ASSERT_TRUE(m) << static_cast<int>(value[0]);
        EXPECT_EQ((std::tuple{m->systolic, m->diastolic, m->meanArterial}), (std::tuple{120.0, 80.0, 93.0}));
        EXPECT_EQ((Fields{m->kpa, m->timeStamp, m->pulseRate, m->userId, m->status}), expected)
            << static_cast<int>(value[0]);
    }
}

TEST(BloodPressureTest, EveryCutOfAnAnnouncedFieldIsTooShort) {
    const Bytes full =
        WithFlags(0x1E, {0xEA, 0x07, 0x05, 0x11, 0x09, 0x1E, 0x00, 0x48, 0x00, 0x01, 0x04, 0x00});
    ASSERT_TRUE(BloodPressureMeasurement::decode(full));
    for (size_t length = 0; length < full.size(); ++length) {
        EXPECT_EQ(BloodPressureMeasurement::decode(Bytes(full.begin(), full.begin() + length)), std::nullopt)
            << length;
    }
}

TEST(BloodPressureTest, PressuresAndPulseAreSFloatsWithTheirSpecials) {
    // Systolic 12.3 (exponent -1), diastolic -1, mean arterial NaN, pulse +infinity.
    const auto m =
        BloodPressureMeasurement::decode(Bytes{0x04, 0x7B, 0xF0, 0xFF, 0x0F, 0xFF, 0x07, 0xFE, 0x07});
    ASSERT_TRUE(m);
    EXPECT_DOUBLE_EQ(m->systolic, 12.3);
    EXPECT_EQ((std::tuple{m->diastolic, std::isnan(m->meanArterial), std::isinf(*m->pulseRate)}),
              (std::tuple{-1.0, true, true}));
}

// The 16-bit floats of the pressures and of other health values.
TEST(BloodPressureTest, SFloatIsTheMantissaTimesTenToTheExponentOrTheSpecialValue) {
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
