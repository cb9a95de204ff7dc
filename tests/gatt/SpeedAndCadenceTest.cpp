// The RSC Measurement from golden bytes, the SC Control Point response, Sensor Location names and the
// numbers typed in to set a sensor.
#include "gatt/SpeedAndCadence.h"
#include "gatt/RscMeasurement.h"

#include <gtest/gtest.h>

namespace {

using Response = ScControlPointResponse;
using Rsc = RscMeasurement;

TEST(SpeedAndCadenceTest, ControlPointResponsesNeedTheirThreeLeadingBytes) {
    using Bytes = std::vector<uint8_t>;
    const std::tuple<Bytes, std::optional<Response>> rows[] = {
        {Bytes{0x10, 0x04, 0x01, 0x04, 0x05, 0x06}, Response{0x10, 0x04, 0x01, {4, 5, 6}}},
        {Bytes{0x10, 0x01, 0x04}, Response{0x10, 0x01, 0x04, {}}},
        {Bytes{0x10, 0x01}, std::nullopt},
        {Bytes{}, std::nullopt},
    };
    for (const auto& [value, expected] : rows)
        EXPECT_EQ(Response::decode(value), expected) << value.size();
    EXPECT_EQ(SetCumulativeValueRequest(0xFFFFFFFE), (std::array<uint8_t, 5>{0x01, 0xFE, 0xFF, 0xFF, 0xFF}));
}

TEST(SpeedAndCadenceTest, SensorLocationNamesAndTheirNumbers) {
    const std::tuple<uint32_t, std::optional<QString>> rows[] = {
        {0, "Other"},     {2, "In Shoe"}, {4, "Front Wheel"}, {12, "Rear Wheel"},
        {13, "Rear Hub"}, {14, {}},       {255, {}},
    };
    for (const auto& [location, name] : rows)
        EXPECT_EQ(SensorLocationName(location), name) << location;
    EXPECT_EQ(SensorLocationFromName(QStringLiteral("Rear Hub")), 13);
    EXPECT_EQ(SensorLocationFromName(QStringLiteral("rear hub")), 0);
    EXPECT_EQ(SensorLocationFromName(QString()), 0);
}

TEST(SpeedAndCadenceTest, CumulativeValueIsALeadingIntegerUpTo2To32WhichSendsZero) {
    const std::tuple<const char*, std::optional<uint32_t>> rows[] = {
        {"1000", 1000},    {"  +42 laps", 42}, {"4294967295", 4294967295u},
        {"4294967296", 0}, {"4294967297", {}}, {"99999999999999999999", {}},
        {"-1", {}},        {"", {}},           {"abc", {}},
        {"-", {}},
    };
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(ParseCumulativeValue(QString::fromLatin1(text)), expected) << text;
}

TEST(SpeedAndCadenceTest, CircumferenceLiesIn1To65535) {
    const std::tuple<const char*, std::optional<uint16_t>> rows[] = {
        {"210", 210}, {"1", 1}, {"65535", 65535}, {"0", {}}, {"70000", {}}, {"-5", {}}, {"cm", {}},
    };
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(ParseCircumference(QString::fromLatin1(text)), expected) << text;
}

TEST(SpeedAndCadenceTest, TotalDistanceIsANumberOfKilometresRoundedToTenthsOfAMetre) {
    const std::tuple<const char*, std::optional<uint32_t>> rows[] = {
        {"12.5", 125000}, {"0.0371", 371},  {"0", 0},      {"429496", 4294960000u},
        {" .5km", 5000},  {"1e2", 1000000}, {"2.", 20000}, {"1e", 10000},
        {"429496.1", {}}, {"-0.5", {}},     {"abc", {}},   {"", {}},
        {".", {}},        {"inf", {}},      {"1e999", {}},
    };
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(ParseTotalDistance(QString::fromLatin1(text)), expected) << text;
}

TEST(SpeedAndCadenceTest, RscMeasurementReadsTheAnnouncedFieldsAndRefusesAValueCutShort) {
    const std::tuple<const char*, std::vector<uint8_t>, std::optional<Rsc>> rows[] = {
        {"walking", {0x00, 0x00, 0x03, 0x50}, Rsc{768, 80, false, {}, {}}},
        {"running with stride", {0x05, 0x00, 0x03, 0xB4, 0x7B, 0x00}, Rsc{768, 180, true, 123, {}}},
        {"distance without stride",
         {0x06, 0x00, 0x03, 0x50, 0x40, 0xE2, 0x01, 0x00},
         Rsc{768, 80, true, {}, 123456}},
        {"every field",
         {0x07, 0xFF, 0xFF, 0xFF, 0x7B, 0x00, 0xFF, 0xFF, 0xFF, 0xFF},
         Rsc{0xFFFF, 0xFF, true, 123, 0xFFFFFFFF}},
        {"no cadence", {0x00, 0x00, 0x03}, std::nullopt},
        {"half a stride", {0x01, 0x00, 0x03, 0x50, 0x7B}, std::nullopt},
        {"distance cut short", {0x03, 0x00, 0x03, 0x50, 0x7B, 0x00, 0x40, 0xE2, 0x01}, std::nullopt},
    };
    for (const auto& [name, value, expected] : rows)
        EXPECT_EQ(Rsc::decode(value), expected) << name;
}

} // namespace
