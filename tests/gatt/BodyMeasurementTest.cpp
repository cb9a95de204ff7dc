// Weight Scale and Body Composition values from golden bytes: the features' resolution indexes, every
// measurement field with the flag and feature that let it be read, continuations, every cut point. The
// window tests show the masses and heights of the resolutions in use and follow split measurements.
#include "gatt/BodyComposition.h"
#include "gatt/WeightScale.h"

#include "support/Hex.h"

#include <gtest/gtest.h>

namespace {

using WM = WeightMeasurement;
using BC = BodyCompositionMeasurement;
using F = BodyCompositionField;

const DateTime kStamp{2024, 3, 15, 8, 30, 45}; // E8 07 03 0F 08 1E 2D

WM Weight(uint8_t flags, uint16_t weight, std::optional<DateTime> stamp = {},
          std::optional<uint8_t> user = {}, std::optional<uint16_t> bmi = {},
          std::optional<uint16_t> height = {}) {
    return {flags, weight, stamp, user, bmi, height};
}

TEST(BodyMeasurementTest, FeaturesGiveTheResolutionIndexesThatScaleAMassAndNoValueOutsideTheTable) {
    EXPECT_EQ(WeightScaleFeatures::decode(Hex("BF 01")), (WeightScaleFeatures{0x01BF, 7, 3}));
    EXPECT_EQ(WeightScaleFeatures::decode(Hex("FF FF 00 00")), (WeightScaleFeatures{0xFFFF, 15, 7}));
    EXPECT_EQ(WeightScaleFeatures::decode(Hex("BF")), std::nullopt);
    EXPECT_EQ(BodyCompositionFeatures::decode(Hex("FF BF 01 00")),
              (BodyCompositionFeatures{0x0001BFFF, 7, 3}));
    EXPECT_EQ(BodyCompositionFeatures::decode(Hex("FF BF 01")), std::nullopt);
    EXPECT_EQ(MassText(MassValue(725, 3, false), false), "72.50 kg");
    EXPECT_EQ(MassText(MassValue(725, 3, true), true), "145.00 lb");
    EXPECT_EQ(MassValue(725, 8, true), std::nullopt);
    EXPECT_EQ(HeightValue(1580, 4, false), std::nullopt);
}

TEST(BodyMeasurementTest, AWeightFieldIsReadOnlyWhenItsFlagAndFeatureAreSet) {
    // Every flag: weight 725, the time stamp, user 3, BMI 242, height 1580.
    const std::vector<uint8_t> all = Hex("0F D5 02 E8 07 03 0F 08 1E 2D 03 F2 00 2C 06");
    const std::tuple<const char*, uint16_t, std::vector<uint8_t>, std::optional<WM>> rows[] = {
        {"weight", 0x01BF, Hex("01 D5 02"), Weight(0x01, 725)},
        {"unsuccessful", 0x01BF, Hex("00 FF FF"), Weight(0x00, 0xFFFF)},
        {"time stamp", 0x01BF, Hex("02 D5 02 E8 07 03 0F 08 1E 2D"), Weight(0x02, 725, kStamp)},
        {"user", 0x01BF, Hex("04 D5 02 03"), Weight(0x04, 725, {}, 3)},
        {"BMI and height", 0x01BF, Hex("08 D5 02 F2 00 2C 06"), Weight(0x08, 725, {}, {}, 242, 1580)},
        {"all", 0x01BF, all, Weight(0x0F, 725, kStamp, 3, 242, 1580)},
        {"features 0000 take the weight only", 0x0000, all, Weight(0x0F, 725)},
        {"features 0006: user at 3", 0x0006, Hex("0E D5 02 07 F2 00 2C 06"),
         Weight(0x0E, 725, {}, 7, 242, 1580)},
        {"bytes behind the fields ignored", 0x01BF, Hex("00 D5 02 99"), Weight(0x00, 725)},
    };
    for (const auto& [name, features, value, expected] : rows)
        EXPECT_EQ(WM::decode(value, features), expected) << name;
    for (size_t length = 0; length < all.size(); ++length)
        EXPECT_EQ(WM::decode(std::span(all).first(length), 0x01BF), std::nullopt) << "cut at " << length;
}

TEST(BodyMeasurementTest, BodyCompositionFieldsFollowEachOtherWhereFlagAndFeatureAgree) {
    // Flags 0FFE with every feature: body fat 300, the time stamp, user 2 and the nine fields.
    const std::vector<uint8_t> everything =
        Hex("FE 0F 2C 01 E8 07 03 0F 08 1E 2D 02 A0 1C C2 01 DC 05 10 27 40 1F 30 1B 88 13 64 3A 2C 06");
    const BC decoded{0x0FFE,
                     false,
                     300,
                     kStamp,
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
    EXPECT_EQ(BC::decode(everything, 0x0001BFFF), decoded);
    for (size_t length = 0; length < everything.size(); ++length)
        EXPECT_EQ(BC::decode(std::span(everything).first(length), 0x0001BFFF), std::nullopt) << length;

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
