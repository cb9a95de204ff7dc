// Body Composition values from golden bytes: the feature's resolution indexes, first packets and
// continuations, fields skipped by their feature bit, every cut point.
#include "gatt/BodyComposition.h"

#include <gtest/gtest.h>

namespace {

using BC = BodyCompositionMeasurement;
using F = BodyCompositionField;
using Bytes = std::vector<uint8_t>;
using Fields = std::vector<std::pair<F, uint16_t>>;

const BodyTimeStamp kStamp{2024, 3, 15, 8, 30, 45};

BC First(uint16_t flags, uint16_t fat, Fields fields = {}, std::optional<BodyTimeStamp> stamp = {},
         std::optional<uint8_t> user = {}) {
    return {flags, false, fat, stamp, user, std::move(fields)};
}

BC Continuation(uint16_t flags, Fields fields) {
    return {flags, true, std::nullopt, std::nullopt, std::nullopt, std::move(fields)};
}

// Flags 0x0FFE with every feature: body fat, time stamp, user and the nine fields, 30 bytes.
const Bytes kEverything = {0xFE, 0x0F, 0x2C, 0x01, 0xE8, 0x07, 0x03, 0x0F, 0x08, 0x1E,
                           0x2D, 0x02, 0xA0, 0x1C, 0xC2, 0x01, 0xDC, 0x05, 0x10, 0x27,
                           0x40, 0x1F, 0x30, 0x1B, 0x88, 0x13, 0x64, 0x3A, 0x2C, 0x06};

TEST(BodyCompositionTest, FeaturesGiveTheResolutionIndexes) {
    const struct {
        Bytes value;
        std::optional<BodyCompositionFeatures> expected;
    } rows[] = {
        {{0xFF, 0xBF, 0x01, 0x00}, BodyCompositionFeatures{0x0001BFFF, 7, 3}},
        {{0x01, 0x02, 0x00, 0x00, 0x55}, BodyCompositionFeatures{0x00000201, 0, 0}},
        {{0x00, 0x28, 0x00, 0x00}, BodyCompositionFeatures{0x00002800, 5, 0}},
        {{0xFF, 0xBF, 0x01}, std::nullopt},
    };
    for (const auto& [value, expected] : rows)
        EXPECT_EQ(BodyCompositionFeatures::decode(value), expected) << value.size();
}

TEST(BodyCompositionTest, MeasurementPacketsAndTheirFields) {
    const std::tuple<const char*, uint32_t, Bytes, std::optional<BC>> rows[] = {
        {"body fat only", 0x0001BFFF, {0x00, 0x00, 0x2C, 0x01}, First(0x0000, 300)},
        {"everything", 0x0001BFFF, kEverything,
         First(0x0FFE, 300,
               {{F::BasalMetabolism, 7328},
                {F::MusclePercentage, 450},
                {F::MuscleMass, 1500},
                {F::FatFreeMass, 10000},
                {F::SoftLeanMass, 8000},
                {F::BodyWaterMass, 6960},
                {F::Impedance, 5000},
                {F::Weight, 14948},
                {F::Height, 1580}},
               kStamp, 2)},
        {"unsuccessful: nothing after the body fat",
         0x0001BFFF,
         {0xFE, 0x0F, 0xFF, 0xFF},
         First(0x0FFE, 0xFFFF)},
        {"a flagged field without its feature is skipped in place",
         0x0010,
         {0x30, 0x00, 0x2C, 0x01, 0xDC, 0x05},
         First(0x0030, 300, {{F::MuscleMass, 1500}})},
        {"12 bytes with bits 12 and 10 continue at offset 4",
         0x0001BFFF,
         {0x00, 0x14, 0x2C, 0x01, 0x64, 0x3A, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06},
         Continuation(0x1400, {{F::Weight, 14948}})},
        {"a continuation has no time stamp or user",
         0x0001BFFF,
         {0x06, 0x10, 0x00, 0x00, 0x02},
         Continuation(0x1006, {})},
        {"16 bytes with bit 12 start a row",
         0x0001BFFF,
         {0x00, 0x14, 0x2C, 0x01, 0x64, 0x3A, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A},
         First(0x1400, 300, {{F::Weight, 14948}})},
        {"a short value without bit 12 starts a row",
         0x0001BFFF,
         {0x00, 0x04, 0x2C, 0x01, 0x64, 0x3A},
         First(0x0400, 300, {{F::Weight, 14948}})},
        {"a continuation without its skipped bytes", 0x0001BFFF, {0x00, 0x14, 0x2C}, std::nullopt},
        {"a continuation cut in its field", 0x0001BFFF, {0x00, 0x14, 0x2C, 0x01, 0x64}, std::nullopt},
    };
    for (const auto& [name, features, value, expected] : rows)
        EXPECT_EQ(BC::decode(value, features), expected) << name;
}

TEST(BodyCompositionTest, AFirstPacketCutShortAnywhereIsRefused) {
    for (size_t length = 0; length < kEverything.size(); ++length)
        EXPECT_EQ(BC::decode(std::span(kEverything).first(length), 0x0001BFFF), std::nullopt) << length;
}

} // namespace
