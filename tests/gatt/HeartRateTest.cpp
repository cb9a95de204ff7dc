// Heart Rate Measurement from golden bytes: every flag alone and together, both rate widths and every
// point at which a value can be cut short; the Body Sensor Location names.
#include "gatt/HeartRate.h"

#include <gtest/gtest.h>

namespace {

using HR = HeartRateMeasurement;
using Rr = std::vector<uint16_t>;
constexpr auto kUnknown = SensorContact::Unknown;
constexpr auto kIn = SensorContact::InContact;

HR Hr(uint16_t rate, SensorContact contact = kUnknown, std::optional<uint16_t> energy = {},
      std::optional<Rr> rr = {}) {
    return {rate, contact, energy, rr.has_value(), rr.value_or(Rr{})};
}

TEST(HeartRateTest, DecodeReadsEveryFlagAndRefusesAValueCutShort) {
    const std::tuple<const char*, std::vector<uint8_t>, std::optional<HR>> rows[] = {
        {"8-bit rate keeps its high bit", {0x00, 0xF0}, Hr(240)},
        {"16-bit rate", {0x01, 0x2C, 0x01}, Hr(300)},
        {"contact detected alone is unknown", {0x02, 0x48}, Hr(72)},
        {"contact supported, not detected", {0x04, 0x48}, Hr(72, SensorContact::NotInContact)},
        {"in contact", {0x06, 0x48}, Hr(72, kIn)},
        {"energy expended", {0x08, 0x48, 0x34, 0x12}, Hr(72, kUnknown, 0x1234)},
        {"RR flag without values", {0x10, 0x48}, Hr(72, kUnknown, {}, Rr{})},
        {"odd trailing byte ignored", {0x10, 0x48, 0x2C, 0x03, 0x16}, Hr(72, kUnknown, {}, Rr{812})},
        {"bytes after the fields without the RR flag ignored", {0x00, 0x48, 0x2C, 0x03}, Hr(72)},
        {"reserved bits ignored", {0xE0, 0x48}, Hr(72)},
        {"all bits",
         {0x1F, 0x2C, 0x01, 0x34, 0x12, 0x2C, 0x03, 0x16, 0x03},
         Hr(300, kIn, 0x1234, Rr{812, 790})},
        {"empty", {}, std::nullopt},
        {"no rate", {0x00}, std::nullopt},
        {"half a 16-bit rate", {0x01, 0x48}, std::nullopt},
        {"no energy", {0x08, 0x48}, std::nullopt},
        {"half the energy after a 16-bit rate", {0x09, 0x2C, 0x01, 0x34}, std::nullopt},
        {"half the energy before RR values", {0x18, 0x48, 0x2C}, std::nullopt},
    };
    for (const auto& [name, value, expected] : rows) {
        EXPECT_EQ(HR::decode(value), expected) << name;
    }
}

TEST(HeartRateTest, BodySensorLocationNames) {
    const std::pair<uint32_t, const char*> rows[] = {
        {0, "Other"},    {1, "Chest"}, {2, "Wrist"},   {3, "Finger"},           {4, "Hand"},
        {5, "Ear lobe"}, {6, "Foot"},  {7, "Unknown"}, {0xFFFFFFFF, "Unknown"},
    };
    for (const auto& [location, name] : rows) {
        EXPECT_EQ(BodySensorLocationName(location), QLatin1String(name)) << location;
    }
}

} // namespace
