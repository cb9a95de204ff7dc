// The environment window's values as it shows and logs them, from golden bytes, and the compass.
#include "gatt/EnvironmentValues.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;
using Decoder = std::optional<EnvironmentReading> (*)(std::span<const uint8_t>);

TEST(EnvironmentValuesTest, EachValueShowsItsTextAndLogLineAndAShortValueNothing) {
    const std::tuple<Decoder, Bytes, const char*, const char*> rows[] = {
        {PressureReading, {0x02, 0x76, 0x0F, 0x00}, "101325.0 Pa", "Pressure received in 0.1 pA = 1013250\n"},
        {PressureReading, {0x05, 0x00, 0x00, 0x00}, "  0.5 Pa", "Pressure received in 0.1 pA = 5\n"},
        {TemperatureReading, {0x9C, 0xFF}, "-1.00 °C", "Temperature received in 0.01 degree = -100\n"},
        {HumidityReading, {0x94, 0x11}, "45.00 %", "Humidity received in 0.01 percentage = 4500\n"},
        {GyroscopeReading,
         {0xFF, 0xFF, 0x02, 0x00, 0x00, 0x80},
         "X = -1, Y = 2, Z = -32768 (°/second)",
         "Gyro data received X = -1, Y = 2, Z = -32768\n"},
        {AccelerometerReading,
         {0x0C, 0x00, 0xF6, 0xFF, 0xD5, 0x03},
         "X =  0.12, Y = -0.10, Z =  9.81 (m/s^2)",
         "Accelerometer data received X =  0.12, Y = -0.10, Z =  9.81\n"},
    };
    for (const auto& [decode, value, text, log] : rows) {
        EXPECT_EQ(decode(value), (EnvironmentReading{QString::fromUtf8(text), QString::fromUtf8(log)}))
            << text;
        EXPECT_EQ(decode(Bytes(value.begin(), value.end() - 1)), std::nullopt) << text;
    }
}

TEST(EnvironmentValuesTest, FluxInTwoAndThreeDimensionsAndTheCompassDirectionFrom0Below360) {
    const auto solid = DecodeMagneticFlux(Bytes{0xC8, 0x00, 0x38, 0xFF, 0x90, 0x01}, true);
    ASSERT_TRUE(solid);
    EXPECT_EQ(MagneticFluxReading(*solid).text, QStringLiteral("X = 0.200, Y = -0.200, Z = 0.400 (Ga)"));
    EXPECT_EQ(DecodeMagneticFlux(Bytes{0xC8, 0x00, 0x38, 0xFF, 0x90}, true), std::nullopt);
    EXPECT_EQ(DecodeMagneticFlux(Bytes{0xC8, 0x00, 0x38}, false), std::nullopt);
    const std::tuple<double, double, const char*> rows[] = {
        {1, 0, "0.00 °"},    {0, 0, "0.00 °"},    {0, 1, "90.00 °"},
        {-1, 0, "180.00 °"}, {0, -1, "270.00 °"}, {1, -1, "315.00 °"},
    };
    for (const auto& [x, y, text] : rows)
        EXPECT_EQ(DirectionText(CompassDirection({x, y, 0, false})), QString::fromUtf8(text))
            << x << " " << y;
    EXPECT_EQ(DeclinationText(Bytes{0x39}), std::nullopt);
}

} // namespace
