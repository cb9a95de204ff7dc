// Vehicle information values from golden bytes: exact lengths, values not reported (all bits set),
// negative numbers and the station names.
#include "gatt/VehicleInformation.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

TEST(VehicleInformationTest, TextsTakeTheirExactLengthAndShowNotInSyncWhenNotReported) {
    using Decoder = std::optional<QString> (*)(std::span<const uint8_t>);
    const std::tuple<const char*, Decoder, Bytes, std::optional<QString>> rows[] = {
        {"speed limit", SpeedLimitText, {0x50, 0x00}, "80 Km/Hr"},
        {"negative speed limit", SpeedLimitText, {0xFE, 0xFF}, "-2 Km/Hr"},
        {"speed limit not reported", SpeedLimitText, {0xFF, 0xFF}, "Not in sync"},
        {"speed limit one byte short", SpeedLimitText, {0x50}, std::nullopt},
        {"speed limit one byte long", SpeedLimitText, {0x50, 0x00, 0x00}, std::nullopt},
        {"odometer", OdometerText, {0x39, 0x30}, "12345 Km"},
        {"odometer not reported", OdometerText, {0xFF, 0xFF}, "Not in sync"},
        {"smallest odometer", OdometerText, {0x00, 0x80}, "-32768 Km"},
        {"registration", RegistrationText, {'O', 'R', 'V', '-', '2', '0', '2', '6', 'A', 'B'}, "ORV-2026AB"},
        {"cut at the first 0", RegistrationText, {'K', 'A', '0', '1', 0, 'X', 'Y', 0, 0, 0}, "KA01"},
        {"Latin-1", RegistrationText, {0xC4, 'B', 'C', 0, 0, 0, 0, 0, 0, 0}, QStringLiteral("\u00C4BC")},
        {"registration all 0xFF", RegistrationText, Bytes(10, 0xFF), "Not in sync"},
        {"registration 0xFF but one",
         RegistrationText,
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x41},
         QString(9, QChar(0xFF)) + "A"},
        {"registration of nine bytes", RegistrationText, Bytes(9, 'A'), std::nullopt},
        {"registration of eleven bytes", RegistrationText, Bytes(11, 'A'), std::nullopt},
    };
    for (const auto& [name, decode, value, expected] : rows) {
        EXPECT_EQ(decode(value), expected) << name;
    }
    const Bytes tyres = {0x20, 0x00, 0x1F, 0x00, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00};
    EXPECT_EQ(TyrePressureTexts(tyres),
              (std::array<QString, 5>{"32 psi", "31 psi", "NA", "-2 psi", "0 psi"}));
    EXPECT_EQ(TyrePressureTexts(Bytes(9, 0)), std::nullopt);
    EXPECT_EQ(TyrePressureTexts(Bytes(11, 0)), std::nullopt);
}

TEST(VehicleInformationTest, CoordinatesFuelRangeAndStatusTakeTheirExactLength) {
    EXPECT_EQ(CoordinateValue(Bytes{0xF0, 0x91, 0x86, 0x02}), 42373616);
    EXPECT_EQ(CoordinateValue(Bytes{0x9A, 0xF3, 0xC2, 0xFB}), -71109734);
    EXPECT_EQ(CoordinateValue(Bytes{0xFF, 0xFF, 0xFF}), std::nullopt);
    EXPECT_EQ(CoordinateValue(Bytes(5, 0)), std::nullopt);
    const std::pair<int32_t, QString> coordinates[] = {
        {42373616, "4.237361"}, {-71109734, "-7.110973"}, {-1, "Not in sync"}, {0, "0.000000"}};
    for (const auto& [coordinate, text] : coordinates) {
        EXPECT_EQ(CoordinateText(coordinate), text) << coordinate; // single precision
    }
    const std::tuple<Bytes, QString, QString> fuel[] = {{{0x2A, 0x58, 0x02}, "42 L", "600 Km"},
                                                        {{0xF6, 0xFF, 0xFF}, "-10 L", "Not in sync"},
                                                        {{0xFF, 0x10, 0x00}, "Not in sync", "16 Km"}};
    for (const auto& [value, litres, range] : fuel) {
        const auto texts = FuelAndRangeTexts(value);
        ASSERT_TRUE(texts);
        EXPECT_EQ(std::make_pair(texts->fuel, texts->range), std::make_pair(litres, range));
    }
    EXPECT_FALSE(FuelAndRangeTexts(Bytes{0x2A, 0x58}));
    EXPECT_FALSE(FuelAndRangeTexts(Bytes(4, 0)));
    EXPECT_EQ(StatusValue(Bytes{0x02}), 2);
    EXPECT_EQ(StatusValue(Bytes{0x01, 0x00}), std::nullopt);
}

TEST(VehicleInformationTest, StationIdsAndNames) {
    const Bytes value = {0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x04, 0x00, 0x07, 0x00};
    EXPECT_EQ(StationIds(value), (std::array<uint16_t, 5>{1, 2, 3, 4, 7}));
    EXPECT_EQ(StationIds(Bytes(9, 0)), std::nullopt);
    const std::pair<uint16_t, const char*> names[] = {
        {1, "94.3"},  {2, "98.3"},      {3, "101.3"},     {4, "102.6"},
        {5, "104.0"}, {0, "Unknown-0"}, {6, "Unknown-6"}, {0xFFFF, "Unknown-65535"}};
    for (const auto& [id, name] : names) {
        EXPECT_EQ(StationName(id), QLatin1String(name)) << id;
    }
}

} // namespace
