// Body Composition values from golden bytes: the feature's resolution indexes, the fields in their
// order, fields skipped by their feature bit, continuations, every cut point. The window test follows
// split measurements.
#include "gatt/BodyComposition.h"

#include "support/Hex.h"

#include <gtest/gtest.h>

namespace {

using BC = BodyCompositionMeasurement;
using F = BodyCompositionField;

// Flags 0FFE with every feature: body fat 300, time stamp, user 2 and the nine fields.
const std::vector<uint8_t> kEverything =
    Hex("FE 0F 2C 01 E8 07 03 0F 08 1E 2D 02 A0 1C C2 01 DC 05 10 27 40 1F 30 1B 88 13 64 3A 2C 06");

TEST(BodyCompositionTest, FeaturesGiveTheResolutionIndexes) {
    EXPECT_EQ(BodyCompositionFeatures::decode(Hex("FF BF 01 00")),
              (BodyCompositionFeatures{0x0001BFFF, 7, 3}));
    EXPECT_EQ(BodyCompositionFeatures::decode(Hex("FF BF 01")), std::nullopt);
}

TEST(BodyCompositionTest, MeasurementFieldsFollowEachOtherWhereFlagAndFeatureAgree) {
    const BC everything{0x0FFE,
                        false,
                        300,
                        DateTime{2024, 3, 15, 8, 30, 45},
                        2,
                        {{F::BasalMetabolism, 7328},
                         {F::MusclePercentage, 450},
                         {F::MuscleMass, 1500},
                         {F::FatFreeMass, 10000},
                         {F::SoftLeanMass, 8000},
                         {F::BodyWaterMass, 6960},
                         {F::Impedance, 5000},
                         {F::Weight, 14948},
                         {F::Height, 1580}}};
    EXPECT_EQ(BC::decode(kEverything, 0x0001BFFF), everything);
    for (size_t length = 0; length < kEverything.size(); ++length)
        EXPECT_EQ(BC::decode(std::span(kEverything).first(length), 0x0001BFFF), std::nullopt) << length;

    const std::tuple<const char*, uint32_t, std::vector<uint8_t>, std::optional<BC>> rows[] = {
        {"failed", 0x0001BFFF, Hex("FE 0F FF FF"), BC{0x0FFE, false, 0xFFFF, {}, {}, {}}},
        {"skipped in place", 0x0010, Hex("30 00 2C 01 DC 05"),
         BC{0x0030, false, 300, {}, {}, {{F::MuscleMass, 1500}}}},
        {"continuation", 0x0001BFFF, Hex("06 14 00 00 02 64 3A"),
         BC{0x1406, true, {}, {}, {}, {{F::Weight, 0x6402}}}},
        {"continuation cut short", 0x0001BFFF, Hex("00 14 2C 01 64"), std::nullopt},
    };
    for (const auto& [name, features, value, expected] : rows)
        EXPECT_EQ(BC::decode(value, features), expected) << name;
}

} // namespace
