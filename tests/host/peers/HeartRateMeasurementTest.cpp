#include "host/sim/peers/HeartRateMeasurement.h"

#include <gtest/gtest.h>

namespace orv::sim {
namespace {

using Bytes = std::vector<uint8_t>;

struct Golden {
    const char* name;
    HeartRateMeasurement measurement;
    Bytes bytes;
};

TEST(HeartRateMeasurementGolden, EncodesTheExpectedBytes) {
    constexpr SensorContact kNone = SensorContact::NotSupported;
    const Golden forms[] = {
        {"RateOnly", {72, false, kNone, {}, {}}, {0x00, 0x48}},
        {"Rate16BitAsked", {72, true, kNone, {}, {}}, {0x01, 0x48, 0x00}},
        {"RateAbove255Is16Bit", {0x0123, false, kNone, {}, {}}, {0x01, 0x23, 0x01}},
        {"Rate255StaysEightBit", {255, false, kNone, {}, {}}, {0x00, 0xFF}},
        {"ContactSupportedNotDetected", {60, false, SensorContact::NotDetected, {}, {}}, {0x04, 0x3C}},
        {"ContactDetected", {60, false, SensorContact::Detected, {}, {}}, {0x06, 0x3C}},
        {"EnergyExpended", {90, false, kNone, 0x0102, {}}, {0x08, 0x5A, 0x02, 0x01}},
        {"EnergyZeroStillSent", {90, false, kNone, 0, {}}, {0x08, 0x5A, 0x00, 0x00}},
        {"OneRrInterval", {75, false, kNone, {}, {812}}, {0x10, 0x4B, 0x2C, 0x03}},
        {"SeveralRrIntervals", {150, false, kNone, {}, {410, 0x0203}}, {0x10, 0x96, 0x9A, 0x01, 0x03, 0x02}},
        {"EveryField",
         {0x0140, true, SensorContact::Detected, 0xABCD, {0x0304, 0x0506}},
         {0x1F, 0x40, 0x01, 0xCD, 0xAB, 0x04, 0x03, 0x06, 0x05}},
        {"EnergyBeforeRrWithEightBitRate",
         {100, false, SensorContact::NotDetected, 7, {614}},
         {0x1C, 0x64, 0x07, 0x00, 0x66, 0x02}}};
    for (const Golden& form : forms)
        EXPECT_EQ(form.measurement.encode(), form.bytes) << form.name;
}

} // namespace
} // namespace orv::sim
