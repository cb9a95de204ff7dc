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

HeartRateMeasurement make(uint16_t rate, bool rate16Bit, SensorContact contact,
                          std::optional<uint16_t> energy, std::vector<uint16_t> rr) {
    return {rate, rate16Bit, contact, energy, std::move(rr)};
}

TEST(HeartRateMeasurementGolden, EncodesTheExpectedBytes) {
    const Golden forms[] = {
        {"RateOnly", make(72, false, SensorContact::NotSupported, {}, {}), Bytes{0x00, 0x48}},
        {"Rate16BitAsked", make(72, true, SensorContact::NotSupported, {}, {}), Bytes{0x01, 0x48, 0x00}},
        {"RateAbove255Is16Bit", make(0x0123, false, SensorContact::NotSupported, {}, {}),
         Bytes{0x01, 0x23, 0x01}},
        {"Rate255StaysEightBit", make(255, false, SensorContact::NotSupported, {}, {}), Bytes{0x00, 0xFF}},
        {"ContactSupportedNotDetected", make(60, false, SensorContact::NotDetected, {}, {}),
         Bytes{0x04, 0x3C}},
        {"ContactDetected", make(60, false, SensorContact::Detected, {}, {}), Bytes{0x06, 0x3C}},
        {"EnergyExpended", make(90, false, SensorContact::NotSupported, 0x0102, {}),
         Bytes{0x08, 0x5A, 0x02, 0x01}},
        {"EnergyZeroStillSent", make(90, false, SensorContact::NotSupported, 0, {}),
         Bytes{0x08, 0x5A, 0x00, 0x00}},
        {"OneRrInterval", make(75, false, SensorContact::NotSupported, {}, {812}),
         Bytes{0x10, 0x4B, 0x2C, 0x03}},
        {"SeveralRrIntervals", make(150, false, SensorContact::NotSupported, {}, {410, 0x0203}),
         Bytes{0x10, 0x96, 0x9A, 0x01, 0x03, 0x02}},
        {"EveryField", make(0x0140, true, SensorContact::Detected, 0xABCD, {0x0304, 0x0506}),
         Bytes{0x1F, 0x40, 0x01, 0xCD, 0xAB, 0x04, 0x03, 0x06, 0x05}},
        {"EnergyBeforeRrWithEightBitRate", make(100, false, SensorContact::NotDetected, 7, {614}),
         Bytes{0x1C, 0x64, 0x07, 0x00, 0x66, 0x02}}};
    for (const Golden& form : forms)
        EXPECT_EQ(form.measurement.encode(), form.bytes) << form.name;
}

} // namespace
} // namespace orv::sim
