// Glucose values from golden bytes, and the texts and levels the glucose window shows for them.
#include "gatt/Glucose.h"
#include "gatt/GlucoseText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using Bytes = std::vector<uint8_t>;
constexpr uint8_t kKg = GlucoseUnit::KgPerLitre, kMol = GlucoseUnit::MolPerLitre;

// Sequence 0x0102 and base time 2026-05-17 09:30:00 after the flags.
Bytes Measurement(uint8_t flags, const Bytes& tail) {
    Bytes value = {flags, 0x02, 0x01, 0xEA, 0x07, 0x05, 0x11, 0x09, 0x1E, 0x00};
    value.insert(value.end(), tail.begin(), tail.end());
    return value;
}

const Bytes kFullContext = {0xFF, 0x05, 0x00, 0x01, 0x02, 0x32, 0xD0, 0x03, 0x12,
                            0x10, 0x0E, 0x50, 0x04, 0x0F, 0xC0, 0x3A, 0xF0};

TEST(GlucoseTest, MeasurementReadsEachFlagAloneAndAll) {
    // Time offset, concentration, unit, type, sample location, status.
    using Fields = std::tuple<std::optional<int16_t>, std::optional<double>, uint8_t, uint8_t, uint8_t,
                              std::optional<uint16_t>>;
    const std::pair<Bytes, Fields> cases[] = {
        {Measurement(0x00, {}), {{}, {}, kKg, 0, 0, {}}},
        {Measurement(0x01, {0xF6, 0xFF}), {-10, {}, kKg, 0, 0, {}}},
        {Measurement(0x02, {0x78, 0xB0, 0x12}), {{}, 0.0012, kKg, 2, 1, {}}},
        {Measurement(0x04, {}), {{}, {}, kMol, 0, 0, {}}},
        {Measurement(0x08, {0x40, 0x00}), {{}, {}, kKg, 0, 0, 0x0040}},
        {Measurement(0x1F, {0x3C, 0x00, 0x3D, 0xC0, 0xA4, 0x01, 0x80}), {60, 0.0061, kMol, 4, 10, 0x8001}},
        {Measurement(0xE2, {0x78, 0xB0, 0x12, 0x77}), {{}, 0.0012, kKg, 2, 1, {}}}, // unknown bits, tail
        {Measurement(0x0A, {0xFF, 0x07, 0x11, 0x00, 0x01}), {{}, {}, kKg, 1, 1, 0x0100}}, // NaN: no value
        {Measurement(0x02, {0xFE, 0x07, 0x11}), {{}, {}, kKg, 1, 1, {}}},                 // +INFINITY
    };
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(value));
        const auto m = GlucoseMeasurement::decode(value);
        ASSERT_TRUE(m);
        EXPECT_EQ((std::tuple{m->sequence, m->baseTime}),
                  (std::tuple{0x0102, DateTime{2026, 5, 17, 9, 30, 0}}));
        const auto& [offset, concentration, unit, type, location, status] = expected;
        EXPECT_EQ(m->concentration.has_value(), concentration.has_value());
        EXPECT_DOUBLE_EQ(m->concentration.value_or(-1.0), concentration.value_or(-1.0));
        EXPECT_EQ((std::tuple{m->timeOffset, m->unit, m->type, m->location, m->status}),
                  (std::tuple{offset, unit, type, location, status}));
    }
}

TEST(GlucoseTest, EveryCutOfAnAnnouncedFieldIsTooShort) {
    const auto expectCutsTooShort = [](auto decode, const Bytes& full) {
        ASSERT_TRUE(decode(full));
        for (size_t length = 0; length < full.size(); ++length) {
            EXPECT_FALSE(decode(Bytes(full.begin(), full.begin() + length))) << length;
        }
    };
    expectCutsTooShort(GlucoseMeasurement::decode,
                       Measurement(0x0B, {0x3C, 0x00, 0x3D, 0xC0, 0xA4, 0x01, 0x80}));
    expectCutsTooShort(GlucoseContext::decode, kFullContext);
    expectCutsTooShort(RacpResponse::decode, {0x06, 0x00, 0x01, 0x06});
    expectCutsTooShort(RacpResponse::decode, {0x05, 0x00, 0x0C, 0x00});
}

TEST(GlucoseTest, ContextItemsComeInFlagOrderWithTheirCodesAndValues) {
    using Kind = GlucoseContextKind;
    const std::pair<Bytes, std::vector<GlucoseContextItem>> cases[] = {
        {{0x00, 0x05, 0x00}, {}},
        {{0x01, 0x05, 0x00, 0x02, 0x32, 0xD0}, {{Kind::Carbohydrate, 2, 0.050}}},
        {{0x02, 0x05, 0x00, 0x03}, {{Kind::Meal, 3, 0}}},
        {{0x04, 0x05, 0x00, 0x12}, {{Kind::TesterHealth, 0x12, 0}}},
        {{0x08, 0x05, 0x00, 0x10, 0x0E, 0x50}, {{Kind::Exercise, 3600, 80}}},
        {{0x10, 0x05, 0x00, 0x04, 0x0F, 0xC0}, {{Kind::Medication, 4, 0.0015}}},
        {{0x30, 0x05, 0x00, 0x01, 0x0F, 0xC0}, {{Kind::Medication, 0x8001, 0.0015}}},
        {{0x40, 0x05, 0x00, 0x3A, 0xF0}, {{Kind::HbA1c, 0, 5.8}}},
        {{0x80, 0x05, 0x00, 0x01}, {{Kind::ExtendedFlags, 1, 0}}},
        {{0x20, 0x05, 0x00, 0x99}, {}}, // litres without medication; trailing byte
        {kFullContext,
         {{Kind::ExtendedFlags, 1, 0},
          {Kind::Carbohydrate, 2, 0.050},
          {Kind::Meal, 3, 0},
          {Kind::TesterHealth, 0x12, 0},
          {Kind::Exercise, 3600, 80},
          {Kind::Medication, 0x8004, 0.0015},
          {Kind::HbA1c, 0, 5.8}}},
    };
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(value));
        const auto decoded = GlucoseContext::decode(value);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->sequence, 5);
        ASSERT_EQ(decoded->items.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(std::pair(decoded->items[i].kind, decoded->items[i].code),
                      std::pair(expected[i].kind, expected[i].code));
            EXPECT_DOUBLE_EQ(decoded->items[i].value, expected[i].value) << i;
        }
    }
    EXPECT_TRUE(std::isnan(GlucoseContext::decode(Bytes{0x40, 0x05, 0x00, 0x00, 0x08})->items.at(0).value));
}

TEST(GlucoseTest, RacpResponsesCarryTheirOperands) {
    const auto code = RacpResponse::decode(Bytes{0x06, 0x00, 0x01, 0x06, 0x55});
    const auto count = RacpResponse::decode(Bytes{0x05, 0x00, 0x34, 0x12});
    const auto other = RacpResponse::decode(Bytes{0x07, 0x01});
    ASSERT_TRUE(code && count && other);
    EXPECT_EQ((std::tuple{code->opCode, code->requestOpCode, code->responseCode}),
              (std::tuple{0x06, 0x01, 0x06}));
    EXPECT_EQ((std::pair{count->opCode, count->count}), (std::pair{uint8_t{0x05}, uint16_t{0x1234}}));
    EXPECT_EQ((std::pair{other->opCode, other->operatorValue}), (std::pair{uint8_t{0x07}, uint8_t{0x01}}));
}

TEST(GlucoseTest, ConcentrationTextsAndLevelsFollowTheValueAsShown) {
    using L = GlucoseLevel;
    const std::tuple<double, uint8_t, const char*, GlucoseLevel> cases[] = {
        {0.0010, kKg, "100.0 mg/dL", L::Low},          {0.0010995, kKg, "110.0 mg/dL", L::Elevated},
        {0.00109, kKg, "109.0 mg/dL", L::Low},         {0.0011, kKg, "110.0 mg/dL", L::Elevated},
        {0.00124949, kKg, "124.9 mg/dL", L::Elevated}, {0.00125, kKg, "125.0 mg/dL", L::High},
        {0.0060, kMol, "6.0 mmol/L", L::Low},          {0.0061, kMol, "6.1 mmol/L", L::Elevated},
        {0.00609996, kMol, "6.1 mmol/L", L::Elevated}, {0.0069, kMol, "6.9 mmol/L", L::Elevated},
        {0.0070, kMol, "7.0 mmol/L", L::High},         {0.0125, kMol, "12.5 mmol/L", L::High},
    };
    for (const auto& [concentration, unit, text, level] : cases) {
        EXPECT_EQ(GlucoseMeasurementText(concentration, unit, false), QLatin1String(text));
        EXPECT_EQ(ShowConcentration(concentration, unit).level, level) << text;
    }
}

TEST(GlucoseTest, SampleTextJoinsTheKnownLocationAndType) {
    EXPECT_EQ(GlucoseSampleText(1, 1), QStringLiteral("Finger, Capillary Whole blood"));
    EXPECT_EQ(GlucoseSampleText(4, 10), QStringLiteral("Control Solution, Control Solution"));
    EXPECT_EQ(GlucoseSampleText(3, 9), QStringLiteral("Earlobe, Interstitial Fluid"));
    EXPECT_EQ(GlucoseSampleText(15, 2), QStringLiteral("Capillary Plasma"));
    EXPECT_EQ(GlucoseSampleText(2, 0), QStringLiteral("Alternate Test Site, "));
    EXPECT_EQ(GlucoseSampleText(0, 11), QString());
}

TEST(GlucoseTest, ContextRowsOfEveryKindAsShown) {
    using K = GlucoseContextKind;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::tuple<GlucoseContextItem, const char*, const char*> cases[] = {
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
    for (const auto& [item, parameter, value] : cases) {
        EXPECT_EQ(GlucoseContextParameter(item.kind), QLatin1String(parameter));
        EXPECT_EQ(GlucoseContextValue(item), QLatin1String(value)) << value;
    }
}

} // namespace
