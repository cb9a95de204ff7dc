// Tyre pressure helpers against golden numbers: rounding, kPa and psi, the blow-out threshold's whole
// psi steps, wheel positions and typed numbers.
#include "gatt/TyrePressure.h"

#include <gtest/gtest.h>

namespace {

TEST(TyrePressureTest, RoundToDecimalsKeepsTheWholePartAndRoundsTheFractionHalfUp) {
    const std::tuple<double, int, double> rows[] = {
        {29.0075476, 1, 29.0}, {1.25, 1, 1.3},  {-1.25, 1, -1.2}, {25.95, 1, 25.9},     {12.345, 2, 12.35},
        {2.5, 0, 3.0},         {-2.5, 0, -2.0}, {0.05, 1, 0.1},   {1234.5, -2, 1234.0},
    };
    for (const auto& [value, decimals, expected] : rows) {
        EXPECT_DOUBLE_EQ(RoundToDecimals(value, decimals), expected) << value << " " << decimals;
    }
}

TEST(TyrePressureTest, ABlowOutThresholdIsAWholeNumberOfPsiAboveTheOffset) {
    const std::tuple<uint16_t, double, double> rows[] = {
        {110, 14.5, 15.5}, // 15.95 psi, relative 1.45
        {103, 14.5, 14.5}, // relative 0.44
        {110, 0.0, 16.0},  {110, 5.1, 16.1}, {69, 20.0, 10.0}, {65535, 14.5, 9505.5},
    };
    for (const auto& [kpa, offset, psi] : rows) {
        EXPECT_DOUBLE_EQ(BlowOutPsi(kpa, offset), psi) << kpa << " kPa, offset " << offset;
    }
}

TEST(TyrePressureTest, PsiToKpaRaisesAFractionToTheNextWholePsiAndReRounds) {
    const std::tuple<const char*, double, double, uint16_t, double> rows[] = {
        {"3.2 relative becomes 4", 17.7, 14.5, 128, 18.5},
        {"a whole relative value stays", 15.5, 14.5, 107, 15.5},
        {"zero relative", 14.5, 14.5, 100, 14.5},
        {"the subtraction's noise is no fraction", 16.1, 5.1, 111, 16.1},
        {"a fraction under 1e-6 is none", 14.5000005, 14.5, 100, 14.5},
        {"held at the largest kPa", 9505.5, 14.5, 65535, 9505.5},
        {"held at 0 kPa", -30.0, 14.5, 0, 0.5},
    };
    for (const auto& [name, threshold, offset, kpa, psi] : rows) {
        const BlowOutSetting setting = PsiToKpa(threshold, offset);
        EXPECT_EQ(setting.kpa, kpa) << name;
        EXPECT_DOUBLE_EQ(setting.psi, psi) << name;
    }
}

TEST(TyrePressureTest, WheelPositionsByNumberAndByName) {
    const std::tuple<uint8_t, QString, uint8_t> rows[] = {
        {1, "Front Left", 1}, {2, "Front Right", 2}, {3, "Rear Left", 3},  {4, "Rear Right", 4},
        {5, "Spare", 5},      {0, "Unknown", 0xFF},  {7, "Unknown", 0xFF}, {0xFF, "Unknown", 0xFF},
    };
    for (const auto& [position, name, back] : rows) {
        EXPECT_EQ(WheelPositionName(position), name) << int(position);
        EXPECT_EQ(WheelPositionFromName(name), back) << name.toStdString();
    }
    EXPECT_EQ(WheelPositionFromName(QString()), kUnknownWheelPosition);
}

TEST(TyrePressureTest, ParseDecimalTakesOnlyAWholeDecimalNumber) {
    const std::pair<QString, double> numbers[] = {
        {"26.0", 26.0}, {" 3.2", 3.2}, {"+4", 4.0}, {"-0.5", -0.5}, {"1e1", 10.0}};
    for (const auto& [text, expected] : numbers) {
        EXPECT_EQ(ParseDecimal(text), expected) << text.toStdString();
    }
    for (const QString text :
         {"26,0", "26.0 ", "", "abc", "1.5x", "+-1", "inf", "nan", "1e999", "0x10", "2\u00B2"}) {
        EXPECT_EQ(ParseDecimal(text), std::nullopt) << text.toStdString();
    }
}

} // namespace
