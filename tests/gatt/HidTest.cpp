#include "gatt/Hid.h"
#include "gatt/SteeringWheel.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

TEST(HidTest, HidInformationOfFiveFourAndFewerBytes) {
    constexpr auto na = std::nullopt; // shown as "N/A"
    const std::pair<Bytes, HidInformation> rows[] = {
        {{0x45, 0x01, 0x21, 0x0D, 0x05, 0xAA}, {0x0145, 0x21, 0x0D, true, false, true, false}},
        {{0x00, 0x00, 0x00, 0x00, 0x0A}, {0, 0, 0, false, true, false, true}},
        {{0x11, 0x01, 0x21, 0x02}, {0x0111, na, 0x21, na, false, na, true}},
        {{0x11, 0x01, 0x21, 0x01}, {0x0111, na, 0x21, na, true, na, false}},
        {{0x11, 0x01, 0x21}, {0x0111, na, 0x21, na, na, na, na}},
        {{0x11, 0x01}, {0x0111, na, na, na, na, na, na}},
        {{0x11}, {}},
    };
    for (const auto& [value, expected] : rows)
        EXPECT_EQ(HidInformation::decode(value), expected) << value.size() << " bytes";
}

TEST(HidTest, ReportReferencesAndLegacyFlagsReadOnlyTheBytesTheyHave) {
    EXPECT_EQ(HidReportReference::decode(Bytes{0x07, 0x03}), (HidReportReference{7, 3}));
    EXPECT_EQ(HidReportReference::decode(Bytes{0x01, 0x02, 0xEE}), (HidReportReference{1, 2}));
    EXPECT_EQ(HidReportReference::decode(Bytes{0x01}), std::nullopt);
    EXPECT_EQ(DecodeLegacyHidFlags(Bytes{0x05, 0x00}), 0x0005);
    EXPECT_EQ(DecodeLegacyHidFlags(Bytes{0xFF, 0x01, 0x02}), 0x01FF);
    EXPECT_EQ(DecodeLegacyHidFlags(Bytes{0x0A}), 0x000A);
    EXPECT_EQ(DecodeLegacyHidFlags(Bytes{}), std::nullopt);
}

TEST(HidTest, Texts) {
    const std::pair<QString, QString> rows[] = {
        {HidVersionText(0xABCD), "171.12.13"},
        {HidReportText(3, HidReportType::Feature, Bytes{0x10}), "3 FEATURE - 10 "},
        {FormatBytesDecimal(Bytes{}), ""},
        {FormatBytesDecimal(Bytes{0x02, 0xFF, 0x0A}), "02 255 10"},
    };
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(text, expected);
}

TEST(HidTest, TheReportEditKeepsTheTextUpToItsFirstForeignCharacter) {
    const std::tuple<QString, QString, bool> rows[] = {
        {"12 3g", "12 3", false}, {"ab,cd;ef", "ab,cd", false}, {"AF 09, 7", "AF 09, 7", true},
        {"", "", true},           {"x12", "", false},           {"0a\t1", "0a", false},
    };
    for (auto [text, expected, whole] : rows) {
        const QString typed = text;
        EXPECT_EQ(FilterHexInput(text), whole) << typed.toStdString();
        EXPECT_EQ(text, expected) << typed.toStdString();
    }
}

TEST(HidTest, TypedReportBytes) {
    const std::pair<QString, std::optional<Bytes>> rows[] = {
        {"1,2 3", Bytes{0x01, 0x02, 0x03}},
        {"0a, ff", Bytes{0x0A, 0xFF}},
        {" ,,7  ,", Bytes{0x07}},
        {"FF", Bytes{0xFF}},
        {QString("a ").repeated(20), Bytes(20, 0x0A)},
        {"123", std::nullopt},
        {"1 123 2", std::nullopt},
        {QString("a,").repeated(21), std::nullopt},
        {"", std::nullopt},
        {" , ", std::nullopt},
        {"1g", std::nullopt},
    };
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(ParseHexBytes(text), expected) << text.toStdString();
}

// A steering wheel's input report: two 16-bit usages and a code, in exactly five bytes.
TEST(HidTest, SteeringWheelReportsOfFiveBytesHoldTheirButtonsAndOthersNone) {
    const std::tuple<Bytes, SteeringWheelReport, std::set<uint16_t>> rows[] = {
        {{0x34, 0x12, 0xB6, 0x00, 0x26}, {0x1234, 0xB6, 0x26}, {0x26, 0xB6, 0x1234}},
        {{0x42, 0x00, 0x00, 0x00}, {}, {}},
        {{0x42, 0x00, 0x00, 0x00, 0x00, 0x00}, {}, {}},
    };
    for (const auto& [value, report, lit] : rows) {
        EXPECT_EQ(SteeringWheelReport::decode(value), report) << value.size() << " bytes";
        EXPECT_EQ(SteeringWheelReport::decode(value).litButtons(), lit) << value.size() << " bytes";
    }
}

} // namespace
