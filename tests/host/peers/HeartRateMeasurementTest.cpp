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

class HeartRateMeasurementGolden : public ::testing::TestWithParam<Golden> {};

TEST_P(HeartRateMeasurementGolden, EncodesTheExpectedBytes) {
    EXPECT_EQ(GetParam().measurement.encode(), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, HeartRateMeasurementGolden,
    ::testing::Values(
        Golden{"RateOnly", make(72, false, SensorContact::NotSupported, {}, {}), Bytes{0x00, 0x48}},
        Golden{"Rate16BitAsked", make(72, true, SensorContact::NotSupported, {}, {}),
               Bytes{0x01, 0x48, 0x00}},
        Golden{"RateAbove255Is16Bit", make(0x0123, false, SensorContact::NotSupported, {}, {}),
               Bytes{0x01, 0x23, 0x01}},
        Golden{"Rate255StaysEightBit", make(255, false, SensorContact::NotSupported, {}, {}),
               Bytes{0x00, 0xFF}},
        Golden{"ContactSupportedNotDetected", make(60, false, SensorContact::NotDetected, {}, {}),
               Bytes{0x04, 0x3C}},
        Golden{"ContactDetected", make(60, false, SensorContact::Detected, {}, {}), Bytes{0x06, 0x3C}},
        Golden{"EnergyExpended", make(90, false, SensorContact::NotSupported, 0x0102, {}),
               Bytes{0x08, 0x5A, 0x02, 0x01}},
        Golden{"EnergyZeroStillSent", make(90, false, SensorContact::NotSupported, 0, {}),
               Bytes{0x08, 0x5A, 0x00, 0x00}},
        Golden{"OneRrInterval", make(75, false, SensorContact::NotSupported, {}, {812}),
               Bytes{0x10, 0x4B, 0x2C, 0x03}},
        Golden{"SeveralRrIntervals", make(150, false, SensorContact::NotSupported, {}, {410, 0x0203}),
               Bytes{0x10, 0x96, 0x9A, 0x01, 0x03, 0x02}},
        Golden{"EveryField", make(0x0140, true, SensorContact::Detected, 0xABCD, {0x0304, 0x0506}),
               Bytes{0x1F, 0x40, 0x01, 0xCD, 0xAB, 0x04, 0x03, 0x06, 0x05}},
        Golden{"EnergyBeforeRrWithEightBitRate", make(100, false, SensorContact::NotDetected, 7, {614}),
               Bytes{0x1C, 0x64, 0x07, 0x00, 0x66, 0x02}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace orv::sim
