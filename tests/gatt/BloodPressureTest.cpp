#include "gatt/BloodPressure.h"

#include <gtest/gtest.h>

#include <cmath>

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
    const Bytes value = {0x04, 0x7B, 0xF0, 0xFF, 0x0F, 0xFF, 0x07, 0xFE, 0x07};
    const auto decoded = BloodPressureMeasurement::decode(value);
    ASSERT_TRUE(decoded);
    EXPECT_DOUBLE_EQ(decoded->systolic, 12.3);
    EXPECT_EQ(decoded->diastolic, -1.0);
    EXPECT_TRUE(std::isnan(decoded->meanArterial));
    EXPECT_TRUE(std::isinf(*decoded->pulseRate));
}

} // namespace
