// Weight Scale values from golden bytes: the feature's resolution indexes, every measurement flag with
// the features that let it be read, every cut point; the shared resolution tables and texts.
#include "gatt/WeightScale.h"

#include "support/Hex.h"

#include <gtest/gtest.h>

namespace {

using WM = WeightMeasurement;

const DateTime kStamp{2024, 3, 15, 8, 30, 45}; // E8 07 03 0F 08 1E 2D
// Every flag: weight 725, the time stamp, user 3, BMI 242, height 1580.
const std::vector<uint8_t> kAll = Hex("0F D5 02 E8 07 03 0F 08 1E 2D 03 F2 00 2C 06");

WM Weight(uint8_t flags, uint16_t weight, std::optional<DateTime> stamp = {},
          std::optional<uint8_t> user = {}, std::optional<uint16_t> bmi = {},
          std::optional<uint16_t> height = {}) {
    return {flags, weight, stamp, user, bmi, height};
}

TEST(WeightScaleTest, FeaturesGiveTheResolutionIndexes) {
    EXPECT_EQ(WeightScaleFeatures::decode(Hex("BF 01")), (WeightScaleFeatures{0x01BF, 7, 3}));
    EXPECT_EQ(WeightScaleFeatures::decode(Hex("FF FF 00 00")), (WeightScaleFeatures{0xFFFF, 15, 7}));
    EXPECT_EQ(WeightScaleFeatures::decode(Hex("BF")), std::nullopt);
}

TEST(WeightScaleTest, MeasurementReadsAFieldOnlyWhenItsFlagAndFeatureAreSet) {
    const std::tuple<const char*, uint16_t, std::vector<uint8_t>, std::optional<WM>> rows[] = {
        {"weight", 0x01BF, Hex("01 D5 02"), Weight(0x01, 725)},
        {"unsuccessful", 0x01BF, Hex("00 FF FF"), Weight(0x00, 0xFFFF)},
        {"time stamp", 0x01BF, Hex("02 D5 02 E8 07 03 0F 08 1E 2D"), Weight(0x02, 725, kStamp)},
        {"user", 0x01BF, Hex("04 D5 02 03"), Weight(0x04, 725, {}, 3)},
        {"BMI and height", 0x01BF, Hex("08 D5 02 F2 00 2C 06"), Weight(0x08, 725, {}, {}, 242, 1580)},
        {"all", 0x01BF, kAll, Weight(0x0F, 725, kStamp, 3, 242, 1580)},
        {"features 0000 take the weight only", 0x0000, kAll, Weight(0x0F, 725)},
        {"features 0006: user at 3", 0x0006, Hex("0E D5 02 07 F2 00 2C 06"),
         Weight(0x0E, 725, {}, 7, 242, 1580)},
        {"bytes behind the fields ignored", 0x01BF, Hex("00 D5 02 99"), Weight(0x00, 725)},
    };
    for (const auto& [name, features, value, expected] : rows)
        EXPECT_EQ(WM::decode(value, features), expected) << name;
    for (size_t length = 0; length < kAll.size(); ++length)
        EXPECT_EQ(WM::decode(std::span(kAll).first(length), 0x01BF), std::nullopt) << "cut at " << length;
}

TEST(WeightScaleTest, ResolutionTablesAndTexts) {
    const std::tuple<QString, const char*> rows[] = {
        {MassText(MassValue(725, 3, false), false), "72.50 kg"},
        {MassText(MassValue(725, 3, true), true), "145.00 lb"},
        {MassText(MassValue(725, 0, false), false), "N/A"},
        {MassText(MassValue(725, 8, true), true), "N/A"},
        {HeightText(HeightValue(1580, 3, false), false), "1.58 m"},
        {HeightText(HeightValue(622, 3, true), true), "62.200 inch"},
    };
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(text, QString(expected));
    EXPECT_EQ(kStamp.text(), "2024/03/15 08:30:45");
}

} // namespace
