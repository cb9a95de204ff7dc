#include "gatt/Glucose.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Bytes = std::vector<uint8_t>;

// Sequence 0x0102 and base time 2026-05-17 09:30:00 after the flags.
Bytes Measurement(uint8_t flags, const Bytes& tail) {
    Bytes value = {flags, 0x02, 0x01, 0xEA, 0x07, 0x05, 0x11, 0x09, 0x1E, 0x00};
    value.insert(value.end(), tail.begin(), tail.end());
    return value;
}

const Bytes kFullContext = {0xFF, 0x05, 0x00, 0x01, 0x02, 0x32, 0xD0, 0x03, 0x12,
                            0x10, 0x0E, 0x50, 0x04, 0x0F, 0xC0, 0x3A, 0xF0};

TEST(GlucoseTest, MeasurementReadsEachFlagAloneAndAll) {
    constexpr uint8_t kg = GlucoseUnit::KgPerLitre, mol = GlucoseUnit::MolPerLitre;
    struct Fields {
        std::optional<int16_t> offset;
        std::optional<double> concentration;
        uint8_t unit, type, location;
        std::optional<uint16_t> status;
    };
    const std::pair<Bytes, Fields> cases[] = {
        {Measurement(0x00, {}), {{}, {}, kg, 0, 0, {}}},
        {Measurement(0x01, {0xF6, 0xFF}), {-10, {}, kg, 0, 0, {}}},
        {Measurement(0x02, {0x78, 0xB0, 0x12}), {{}, 0.0012, kg, 2, 1, {}}},
        {Measurement(0x04, {}), {{}, {}, mol, 0, 0, {}}},
        {Measurement(0x08, {0x40, 0x00}), {{}, {}, kg, 0, 0, 0x0040}},
        {Measurement(0x1F, {0x3C, 0x00, 0x3D, 0xC0, 0xA4, 0x01, 0x80}), {60, 0.0061, mol, 4, 10, 0x8001}},
        {Measurement(0xE2, {0x78, 0xB0, 0x12, 0x77}), {{}, 0.0012, kg, 2, 1, {}}},       // unknown bits, tail
        {Measurement(0x0A, {0xFF, 0x07, 0x11, 0x00, 0x01}), {{}, {}, kg, 1, 1, 0x0100}}, // NaN: no value
        {Measurement(0x02, {0xFE, 0x07, 0x11}), {{}, {}, kg, 1, 1, {}}},                 // +INFINITY
    };
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(value));
        const auto decoded = GlucoseMeasurement::decode(value);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->sequence, 0x0102);
        EXPECT_EQ(decoded->baseTime, (DateTime{2026, 5, 17, 9, 30, 0}));
        EXPECT_EQ(decoded->timeOffset, expected.offset);
        EXPECT_DOUBLE_EQ(decoded->concentration.value_or(-1.0), expected.concentration.value_or(-1.0));
        EXPECT_EQ(decoded->concentration.has_value(), expected.concentration.has_value());
        EXPECT_EQ((std::tuple{decoded->unit, decoded->type, decoded->location, decoded->status}),
                  (std::tuple{expected.unit, expected.type, expected.location, expected.status}));
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

} // namespace
