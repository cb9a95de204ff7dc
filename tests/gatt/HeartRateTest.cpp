#include "gatt/HeartRate.h"

#include <gtest/gtest.h>

#include <ostream>

// Readable failure output for the table rows.
void PrintTo(const HeartRateMeasurement& m, std::ostream* os) {
    *os << "{rate " << m.rate << (m.rate16Bit ? " (16-bit)" : "") << ", contact "
        << static_cast<int>(m.contact) << ", energy ";
    if (m.energyExpended) {
        *os << *m.energyExpended;
    } else {
        *os << "none";
    }
    *os << ", rr " << (m.rrPresent ? "present" : "absent") << " [";
    for (uint16_t rr : m.rrIntervals) {
        *os << rr << ' ';
    }
    *os << "]}";
}

namespace {

using Bytes = std::vector<uint8_t>;

HeartRateMeasurement measurement(uint16_t rate, bool rate16Bit = false,
                                 SensorContact contact = SensorContact::Unknown,
                                 std::optional<uint16_t> energy = std::nullopt, bool rrPresent = false,
                                 std::vector<uint16_t> rr = {}) {
    HeartRateMeasurement m;
    m.rate = rate;
    m.rate16Bit = rate16Bit;
    m.contact = contact;
    m.energyExpended = energy;
    m.rrPresent = rrPresent;
    m.rrIntervals = std::move(rr);
    return m;
}

struct DecodeCase {
    const char* name;
    Bytes value;
    HeartRateMeasurement expected;
};

TEST(HeartRateTest, DecodeReadsEveryFlagAndField) {
    const DecodeCase cases[] = {
        {"flags 0x00, rate 72", {0x00, 0x48}, measurement(72)},
        {"16-bit rate", {0x01, 0x2C, 0x01}, measurement(300, true)},
        {"16-bit form of a small rate", {0x01, 0x48, 0x00}, measurement(72, true)},
        {"8-bit rate keeps its high bit", {0x00, 0xF0}, measurement(240)},
        {"contact detected alone is unknown (0x02)", {0x02, 0x48}, measurement(72)},
        {"contact supported, not detected (0x04)",
         {0x04, 0x48},
         measurement(72, false, SensorContact::NotInContact)},
        {"in contact (0x06)", {0x06, 0x48}, measurement(72, false, SensorContact::InContact)},
        {"energy expended alone",
         {0x08, 0x48, 0x34, 0x12},
         measurement(72, false, SensorContact::Unknown, 0x1234)},
        {"RR flag without values",
         {0x10, 0x48},
         measurement(72, false, SensorContact::Unknown, std::nullopt, true)},
        {"one RR value",
         {0x10, 0x48, 0x2C, 0x03},
         measurement(72, false, SensorContact::Unknown, std::nullopt, true, {812})},
        {"two RR values",
         {0x10, 0x48, 0x2C, 0x03, 0x16, 0x03},
         measurement(72, false, SensorContact::Unknown, std::nullopt, true, {812, 790})},
        {"odd trailing byte ignored",
         {0x10, 0x48, 0x2C, 0x03, 0x16},
         measurement(72, false, SensorContact::Unknown, std::nullopt, true, {812})},
        {"lone odd byte ignored",
         {0x10, 0x48, 0x2C},
         measurement(72, false, SensorContact::Unknown, std::nullopt, true)},
        {"bytes after the fields without RR flag ignored", {0x00, 0x48, 0x2C, 0x03}, measurement(72)},
        {"energy then RR",
         {0x18, 0x48, 0x10, 0x00, 0x00, 0x04},
         measurement(72, false, SensorContact::Unknown, 16, true, {1024})},
        {"all bits",
         {0x1F, 0x2C, 0x01, 0x34, 0x12, 0x2C, 0x03, 0x16, 0x03},
         measurement(300, true, SensorContact::InContact, 0x1234, true, {812, 790})},
        {"reserved bits ignored", {0xE0, 0x48}, measurement(72)},
    };
    for (const DecodeCase& c : cases) {
        const auto decoded = HeartRateMeasurement::decode(c.value);
        ASSERT_TRUE(decoded) << c.name;
        EXPECT_EQ(*decoded, c.expected) << c.name;
    }
}

TEST(HeartRateTest, DecodeIsTooShortWhereAnAnnouncedFieldIsCut) {
    const std::pair<const char*, Bytes> cases[] = {
        {"empty", {}},
        {"no rate", {0x00}},
        {"no 16-bit rate", {0x01}},
        {"half a 16-bit rate", {0x01, 0x48}},
        {"no energy", {0x08, 0x48}},
        {"half the energy", {0x08, 0x48, 0x34}},
        {"half the energy after a 16-bit rate", {0x09, 0x2C, 0x01, 0x34}},
        {"no energy before RR values", {0x18, 0x48}},
    };
    for (const auto& [name, value] : cases) {
        EXPECT_EQ(HeartRateMeasurement::decode(value), std::nullopt) << name;
    }
}

TEST(HeartRateTest, DecodeReadsNothingPastTheGivenLength) {
    const Bytes buffer = {0x08, 0x48, 0x34, 0x12};
    EXPECT_EQ(HeartRateMeasurement::decode(std::span(buffer.data(), 3)), std::nullopt);
}

struct EncodeCase {
    const char* name;
    HeartRateMeasurement measurement;
    Bytes expected;
};

TEST(HeartRateTest, EncodeWritesTheGoldenBytesAndDecodesBack) {
    const EncodeCase cases[] = {
        {"8-bit rate", measurement(72), {0x00, 0x48}},
        {"rate above 255 needs 16 bits", measurement(300), {0x01, 0x2C, 0x01}},
        {"16-bit form asked for", measurement(72, true), {0x01, 0x48, 0x00}},
        {"not in contact", measurement(72, false, SensorContact::NotInContact), {0x04, 0x48}},
        {"in contact", measurement(72, false, SensorContact::InContact), {0x06, 0x48}},
        {"energy", measurement(72, false, SensorContact::Unknown, 0x1234), {0x08, 0x48, 0x34, 0x12}},
        {"RR flag without values",
         measurement(72, false, SensorContact::Unknown, std::nullopt, true),
         {0x10, 0x48}},
        {"two RR values",
         measurement(72, false, SensorContact::Unknown, std::nullopt, true, {812, 790}),
         {0x10, 0x48, 0x2C, 0x03, 0x16, 0x03}},
        {"all fields",
         measurement(300, true, SensorContact::InContact, 0x1234, true, {812, 790}),
         {0x1F, 0x2C, 0x01, 0x34, 0x12, 0x2C, 0x03, 0x16, 0x03}},
    };
    for (const EncodeCase& c : cases) {
        const Bytes encoded = c.measurement.encode();
        EXPECT_EQ(encoded, c.expected) << c.name;
        HeartRateMeasurement expected = c.measurement;
        expected.rate16Bit = expected.rate16Bit || expected.rate > 0xFF;
        EXPECT_EQ(HeartRateMeasurement::decode(encoded), expected) << c.name;
    }
}

TEST(HeartRateTest, EncodeLeavesOutRrValuesWithoutTheFlag) {
    EXPECT_EQ(measurement(72, false, SensorContact::Unknown, std::nullopt, false, {812}).encode(),
              (Bytes{0x00, 0x48}));
}

TEST(HeartRateTest, BodySensorLocationNames) {
    const std::pair<uint32_t, const char*> cases[] = {
        {0, "Other"},    {1, "Chest"}, {2, "Wrist"},   {3, "Finger"},    {4, "Hand"},
        {5, "Ear lobe"}, {6, "Foot"},  {7, "Unknown"}, {255, "Unknown"}, {0xFFFFFFFF, "Unknown"},
    };
    for (const auto& [location, name] : cases) {
        EXPECT_EQ(BodySensorLocationName(location), name) << location;
    }
}

} // namespace
