#include "gatt/Hid.h"

#include <QStringList>
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
        {{}, {}},
    };
    for (const auto& [value, expected] : rows)
        EXPECT_EQ(HidInformation::decode(value), expected) << value.size() << " bytes";
}

TEST(HidTest, ReportReferencesAndLegacyFlagsReadOnlyTheBytesTheyHave) {
    EXPECT_EQ(HidReportReference::decode(Bytes{0x07, 0x03}), (HidReportReference{7, 3}));
    EXPECT_EQ(HidReportReference::decode(Bytes{0x01, 0x02, 0xEE}), (HidReportReference{1, 2}));
    EXPECT_EQ(HidReportReference::decode(Bytes{0x01}), std::nullopt);
    EXPECT_EQ(HidReportReference::decode(Bytes{}), std::nullopt);
    EXPECT_EQ(DecodeLegacyHidFlags(Bytes{0x05, 0x00}), 0x0005);
    EXPECT_EQ(DecodeLegacyHidFlags(Bytes{0xFF, 0x01, 0x02}), 0x01FF);
    EXPECT_EQ(DecodeLegacyHidFlags(Bytes{0x0A}), 0x000A);
    EXPECT_EQ(DecodeLegacyHidFlags(Bytes{}), std::nullopt);
}

TEST(HidTest, Texts) {
    const std::pair<QString, QString> rows[] = {
        {HidVersionText(0x0111), "1.1.1"},
        {HidVersionText(0x0145), "1.4.5"},
        {HidVersionText(0xABCD), "171.12.13"},
        {HidReportText(3, HidReportType::Feature, Bytes{0x10}), "3 FEATURE - 10 "},
        {HidReportText(2, 4, Bytes{}), "2 UNKNOWN - "},
        {FormatBytesDecimal(Bytes{}), ""},
        {FormatBytesDecimal(Bytes{0x02}), "02"},
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
    QStringList twenty, twentyOne;
    for (int i = 0; i < 21; ++i)
        (i < 20 ? twenty : twentyOne) << QString::number(i % 16, 16);
    twentyOne = twenty + twentyOne;
    Bytes twentyBytes;
    for (int i = 0; i < 20; ++i)
        twentyBytes.push_back(static_cast<uint8_t>(i % 16));
    const std::pair<QString, std::optional<Bytes>> rows[] = {
        {"1,2 3", Bytes{0x01, 0x02, 0x03}},
        {"0a, ff", Bytes{0x0A, 0xFF}},
        {" ,,7  ,", Bytes{0x07}},
        {"FF", Bytes{0xFF}},
        {twenty.join(' '), twentyBytes},
        {"123", std::nullopt},
        {"1 123 2", std::nullopt},
        {twentyOne.join(','), std::nullopt},
        {"", std::nullopt},
        {" , ", std::nullopt},
        {"1g", std::nullopt},
    };
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(ParseHexBytes(text), expected) << text.toStdString();
}

} // namespace
