#include "gatt/GlucoseText.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr uint8_t kKg = GlucoseUnit::KgPerLitre, kMol = GlucoseUnit::MolPerLitre;

TEST(GlucoseTextTest, ConcentrationLevelsFollowTheValueAsShown) {
    using L = GlucoseLevel;
    struct Case {
        double concentration;
        uint8_t unit;
        const char* text;
        GlucoseLevel level;
    };
    const Case cases[] = {
        {0.0010, kKg, "100.0 mg/dL", L::Low},          {0.0010995, kKg, "110.0 mg/dL", L::Elevated},
        {0.00109, kKg, "109.0 mg/dL", L::Low},         {0.0011, kKg, "110.0 mg/dL", L::Elevated},
        {0.0012, kKg, "120.0 mg/dL", L::Elevated},     {0.00124949, kKg, "124.9 mg/dL", L::Elevated},
        {0.00125, kKg, "125.0 mg/dL", L::High},        {0.0013, kKg, "130.0 mg/dL", L::High},
        {0.0060, kMol, "6.0 mmol/L", L::Low},          {0.0061, kMol, "6.1 mmol/L", L::Elevated},
        {0.00609996, kMol, "6.1 mmol/L", L::Elevated}, {0.0069, kMol, "6.9 mmol/L", L::Elevated},
        {0.0070, kMol, "7.0 mmol/L", L::High},         {0.0125, kMol, "12.5 mmol/L", L::High},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GlucoseMeasurementText(c.concentration, c.unit, false), QLatin1String(c.text));
        EXPECT_EQ(ShowConcentration(c.concentration, c.unit).level, c.level) << c.text;
    }
}

TEST(GlucoseTextTest, WithoutAConcentrationAStatusIsASensorErrorElseNothing) {
    EXPECT_EQ(GlucoseMeasurementText(std::nullopt, kKg, true), QStringLiteral("Sensor error"));
    EXPECT_EQ(GlucoseMeasurementText(std::nullopt, kMol, false), QString());
    EXPECT_EQ(GlucoseMeasurementText(0.0012, kKg, true), QStringLiteral("120.0 mg/dL"));
}

TEST(GlucoseTextTest, SampleTextJoinsTheKnownLocationAndType) {
    EXPECT_EQ(GlucoseSampleText(1, 1), QStringLiteral("Finger, Capillary Whole blood"));
    EXPECT_EQ(GlucoseSampleText(4, 10), QStringLiteral("Control Solution, Control Solution"));
    EXPECT_EQ(GlucoseSampleText(3, 9), QStringLiteral("Earlobe, Interstitial Fluid"));
    EXPECT_EQ(GlucoseSampleText(15, 2), QStringLiteral("Capillary Plasma"));
    EXPECT_EQ(GlucoseSampleText(2, 0), QStringLiteral("Alternate Test Site, "));
    EXPECT_EQ(GlucoseSampleText(0, 11), QString());
}

TEST(GlucoseTextTest, ContextRowsOfEveryKind) {
    using K = GlucoseContextKind;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        GlucoseContextItem item;
        const char* parameter;
        const char* value;
    };
    const Case cases[] = {
        {{K::Carbohydrate, 1, 0.0505}, "Carbohydrate", "50.5g, Breakfast"},
        {{K::Carbohydrate, 9, 0.012}, "Carbohydrate", "12.0g"},
        {{K::Carbohydrate, 7, nan}, "Carbohydrate", "N/A"},
        {{K::Meal, 4, 0}, "Meal", "Casual (snacks, drinks, etc.)"},
        {{K::Meal, 6, 0}, "Meal", "Reserved"},
        {{K::TesterHealth, 0x25, 0},
         "Tester and Health information",
         "Health Care Professional, No health issuess"},
        {{K::TesterHealth, 0xF0, 0}, "Tester and Health information", "N/A"},
        {{K::TesterHealth, 0x43, 0}, "Tester and Health information", "Reserved, During menses"},
        {{K::Exercise, 1800, 75}, "Exercise information", "1800 seconds, 75%"},
        {{K::Exercise, 0xFFFF, 100}, "Exercise information", "Overrun, 100%"},
        {{K::Medication, 0x0001, 0.0000025}, "Medication", "Rapid acting insulin, 2.5mg"},
        {{K::Medication, 0x8005, 0.0125}, "Medication", "Pre-mixed insulin, 12.5ml"},
        {{K::Medication, 0x8009, 0.002}, "Medication", "2.0ml"},
        {{K::Medication, 0x0002, -std::numeric_limits<double>::infinity()}, "Medication", "N/A"},
        {{K::HbA1c, 0, 5.8}, "HbA1c", "5.8%"},
        {{K::HbA1c, 0, nan}, "HbA1c", "N/A"},
        {{K::ExtendedFlags, 0x0A, 0}, "Extended flags", "0Ah"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GlucoseContextParameter(c.item.kind), QLatin1String(c.parameter));
        EXPECT_EQ(GlucoseContextValue(c.item), QLatin1String(c.value)) << c.value;
    }
}

} // namespace
