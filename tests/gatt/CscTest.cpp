// CSC Measurement from golden bytes, and the cycling window's arithmetic at the edges of its counters.
#include "gatt/CscCalculator.h"
#include "gatt/CscMeasurement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using Csc = CscMeasurement;
using Rates = CscCalculator::Rates;

// Single precision: equal to six significant digits.
bool Near(const std::optional<Rates>& actual, const std::optional<Rates>& expected) {
    const auto close = [](float a, float b) {
        return std::abs(a - b) <= 1e-5f * std::max(1.0f, std::abs(b));
    };
    return actual.has_value() == expected.has_value() &&
           (!actual || (close(actual->instantaneous, expected->instantaneous) &&
                        close(actual->average, expected->average)));
}

TEST(CscTest, DecodeReadsTheAnnouncedFieldsAndRefusesAValueCutShort) {
    const std::tuple<const char*, std::vector<uint8_t>, std::optional<Csc>> rows[] = {
        {"neither", {0x00}, Csc{}},
        {"wheel", {0x01, 0x04, 0x03, 0x02, 0x01, 0x34, 0x12}, Csc{Csc::Wheel{0x01020304, 0x1234}, {}}},
        {"crank", {0x02, 0xFE, 0xFF, 0x01, 0x80}, Csc{{}, Csc::Crank{0xFFFE, 0x8001}}},
        {"both",
         {0x03, 0xE8, 0x03, 0x00, 0x00, 0x00, 0x04, 0x05, 0x00, 0x00, 0x08},
         Csc{Csc::Wheel{1000, 0x0400}, Csc::Crank{5, 0x0800}}},
        {"empty", {}, std::nullopt},
        {"wheel without its time", {0x01, 0xE8, 0x03, 0x00, 0x00, 0x00}, std::nullopt},
        {"crank cut after the wheel",
         {0x03, 0xE8, 0x03, 0x00, 0x00, 0x00, 0x04, 0x05, 0x00, 0x00},
         std::nullopt},
    };
    for (const auto& [name, value, expected] : rows)
        EXPECT_EQ(Csc::decode(value), expected) << name;
}

// Each row: wheel samples after a first one at (1000 revolutions, time 0), and the speed of the last.
TEST(CscTest, WheelSpeedOverWholeSecondsOfEventTimeAlsoWhereTimeAndCountWrap) {
    using Samples = std::vector<std::pair<uint32_t, uint16_t>>;
    const std::tuple<const char*, Samples, std::optional<Rates>, float> rows[] = {
        {"10 revolutions in 2 s", {{1010, 2048}}, Rates{31.5f, 31.5f}, 1.7675f},
        {"a gap under 512 ticks is deferred", {{1003, 511}}, std::nullopt, 1.75f},
        {"... and counted with the next", {{1003, 511}, {1010, 1024}}, Rates{63, 63}, 1.7675f},
        {"512 ticks round up to 1 s", {{1002, 512}}, Rates{12.6f, 12.6f}, 1.7535f},
        {"no movement counts no riding time", {{1000, 2048}, {1010, 4096}}, Rates{31.5f, 31.5f}, 1.7675f},
    };
    for (const auto& [name, samples, expected, distance] : rows) {
        CscCalculator csc;
        csc.AddWheel(1000, 0);
        std::optional<Rates> speed;
        for (const auto& [revolutions, time] : samples)
            speed = csc.AddWheel(revolutions, time);
        EXPECT_TRUE(Near(speed, expected)) << name;
        EXPECT_FLOAT_EQ(csc.TotalDistance(), distance) << name;
    }
    CscCalculator wrapping;
    wrapping.AddWheel(4294967290u, 65000);
    EXPECT_TRUE(Near(wrapping.AddWheel(4, 500), Rates{63, 63})); // 1036 ticks: 1 s; 10 revolutions past 2^32
}

TEST(CscTest, AFallingCrankCountShowsPlus65536AndCountsTheSixteenBitDifference) {
    CscCalculator csc;
    EXPECT_EQ(csc.AddCrank(65530, 0).shownRevolutions, 65530u);
    const auto sample = csc.AddCrank(5, 11 * 1024);
    EXPECT_EQ(sample.shownRevolutions, 65541u);
    EXPECT_TRUE(Near(sample.cadence, Rates{60, 60}));
    EXPECT_EQ(csc.AddCrank(10, 12 * 1024).shownRevolutions, 65546u); // the flag stays
}

TEST(CscTest, CoastingKeepsTheCrankTimeAndTimeoutsStretchTheAverages) {
    CscCalculator csc;
    csc.AddWheel(0, 0);
    csc.AddWheel(40, 4096); // 40 revolutions in 4 s: 63 km/h
    EXPECT_TRUE(Near(csc.SpeedTimeout(), Rates{0, 42}));
    EXPECT_TRUE(Near(csc.SpeedTimeout(), Rates{0, 31.5f})); // 8 s without data: riding time + 4 s
    csc.AddCrank(0, 0);
    csc.AddCrank(30, 30 * 1024);
    EXPECT_EQ(csc.AddCrank(30, 30 * 1024).cadence, std::nullopt); // coasting: the time repeats
    const auto coasting = csc.AddCrank(30, 32 * 1024);            // the crank stands for 2 s
    EXPECT_EQ(coasting.shownRevolutions, 30u);
    EXPECT_TRUE(Near(coasting.cadence, Rates{0, 60}));
    EXPECT_TRUE(Near(csc.CadenceTimeout(), Rates{0, 56.25f}));
}

TEST(CscTest, SetCumulativeValueKeepsTheAverageShownAndResetKeepsTheCrank) {
    CscCalculator csc;
    csc.AddWheel(0, 0);
    csc.SetCumulativeValue(1000, 21);
    EXPECT_FLOAT_EQ(csc.TotalDistance(), 1.75f);
    EXPECT_TRUE(Near(csc.AddWheel(1000, 1024), Rates{0, 21})); // riding time 300 s, 1.75 km
    csc.ResetDistance();
    EXPECT_EQ(csc.TotalDistance(), 0);
    csc.SetCircumference(200);
    EXPECT_TRUE(Near(csc.AddWheel(1010, 2048), Rates{72, 72}));
}

} // namespace
