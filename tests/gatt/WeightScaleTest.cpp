// Weight Scale values from golden bytes: the feature's resolution indexes, every measurement flag with
// the features that let it be read, every cut point; the shared resolution tables and texts.
#include "gatt/WeightScale.h"

#include <gtest/gtest.h>

namespace {

using WM = WeightMeasurement;
using Bytes = std::vector<uint8_t>;

const BodyTimeStamp kStamp{2024, 3, 15, 8, 30, 45};
const Bytes kStampBytes = {0xE8, 0x07, 0x03, 0x0F, 0x08, 0x1E, 0x2D};

WM Weight(uint8_t flags, uint16_t weight, std::optional<BodyTimeStamp> stamp = {},
          std::optional<uint8_t> user = {}, std::optional<uint16_t> bmi = {},
          std::optional<uint16_t> height = {}) {
    return {flags, weight, stamp, user, bmi, height};
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes joined;
    for (const Bytes& part : parts)
        joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

TEST(WeightScaleTest, FeaturesGiveTheResolutionIndexes) {
    const struct {
        Bytes value;
        std::optional<WeightScaleFeatures> expected;
    } rows[] = {
        {{0xBF, 0x01}, WeightScaleFeatures{0x01BF, 7, 3}},
        {{0x06, 0x00, 0xFF, 0xFF}, WeightScaleFeatures{0x0006, 0, 0}},
        {{0xFF, 0xFF}, WeightScaleFeatures{0xFFFF, 15, 7}},
        {{0xBF}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const auto& [value, expected] : rows)
        EXPECT_EQ(WeightScaleFeatures::decode(value), expected) << value.size();
}

TEST(WeightScaleTest, MeasurementReadsAFieldOnlyWhenItsFlagAndFeatureAreSet) {
    const Bytes all = Join({{0x0F, 0xD5, 0x02}, kStampBytes, {0x03, 0xF2, 0x00, 0x2C, 0x06}});
    const std::tuple<const char*, uint16_t, Bytes, std::optional<WM>> rows[] = {
        {"weight only", 0x01BF, {0x00, 0xD5, 0x02}, Weight(0x00, 725)},
        {"imperial", 0x01BF, {0x01, 0xD5, 0x02}, Weight(0x01, 725)},
        {"unsuccessful", 0x01BF, {0x00, 0xFF, 0xFF}, Weight(0x00, 0xFFFF)},
        {"time stamp", 0x01BF, Join({{0x02, 0xD5, 0x02}, kStampBytes}), Weight(0x02, 725, kStamp)},
        {"user", 0x01BF, {0x04, 0xD5, 0x02, 0x03}, Weight(0x04, 725, {}, 3)},
        {"BMI and height",
         0x01BF,
         {0x08, 0xD5, 0x02, 0xF2, 0x00, 0x2C, 0x06},
         Weight(0x08, 725, {}, {}, 242, 1580)},
        {"all", 0x01BF, all, Weight(0x0F, 725, kStamp, 3, 242, 1580)},
        {"features 0000 take the weight only", 0x0000, all, Weight(0x0F, 725)},
        {"features 0006: user at 3, BMI at 4, height at 6",
         0x0006,
         {0x0E, 0xD5, 0x02, 0x07, 0xF2, 0x00, 0x2C, 0x06},
         Weight(0x0E, 725, {}, 7, 242, 1580)},
        {"bytes behind the fields ignored", 0x01BF, {0x00, 0xD5, 0x02, 0x99}, Weight(0x00, 725)},
    };
    for (const auto& [name, features, value, expected] : rows)
        EXPECT_EQ(WM::decode(value, features), expected) << name;
}

TEST(WeightScaleTest, AMeasurementCutShortAnywhereIsRefused) {
    const Bytes all = Join({{0x0F, 0xD5, 0x02}, kStampBytes, {0x03, 0xF2, 0x00, 0x2C, 0x06}});
    for (size_t length = 0; length < all.size(); ++length)
        EXPECT_EQ(WM::decode(std::span(all).first(length), 0x01BF), std::nullopt) << length;
}

TEST(WeightScaleTest, ResolutionTablesAndTexts) {
    const std::tuple<const char*, QString, const char*> rows[] = {
        {"725 at weight index 3", MassText(MassValue(725, 3, false), false), "72.50 kg"},
        {"725 lb at weight index 3", MassText(MassValue(725, 3, true), true), "145.00 lb"},
        {"index 7", MassText(MassValue(14500, 7, false), false), "72.50 kg"},
        {"index 1 lb", MassText(MassValue(160, 1, true), true), "160.00 lb"},
        {"1500 at mass index 5", MassText(MassValue(1500, 5, false), false), "30.00 kg"},
        {"weight index 0", MassText(MassValue(725, 0, false), false), "N/A"},
        {"weight index 8", MassText(MassValue(725, 8, true), true), "N/A"},
        {"height index 3", HeightText(HeightValue(1580, 3, false), false), "1.58 m"},
        {"height index 3 in inches", HeightText(HeightValue(622, 3, true), true), "62.200 inch"},
        {"height index 1", HeightText(HeightValue(158, 1, false), false), "1.58 m"},
        {"height index 4", HeightText(HeightValue(1580, 4, false), false), "N/A"},
        {"height index 0", HeightText(HeightValue(1580, 0, true), true), "N/A"},
    };
    for (const auto& [name, text, expected] : rows)
        EXPECT_EQ(text, QString(expected)) << name;
    EXPECT_EQ(kStamp.text(), "2024/03/15 08:30:45");
}

} // namespace
