// Environmental Sensing and the maker's motion sensors: the values the environment window reads, as
// it shows and logs them.
#pragma once

#include <QString>

#include <optional>
#include <span>

// What one value shows in its row and writes to the log. Each decoder gives nullopt for a value
// shorter than its layout.
struct EnvironmentReading {
    QString text;
    QString log;
    bool operator==(const EnvironmentReading&) const = default;
};

// Pressure, u32 in 0.1 Pa.
std::optional<EnvironmentReading> PressureReading(std::span<const uint8_t> value);
// Temperature, s16 in 0.01 degree Celsius.
std::optional<EnvironmentReading> TemperatureReading(std::span<const uint8_t> value);
// Humidity, s16 in 0.01 %.
std::optional<EnvironmentReading> HumidityReading(std::span<const uint8_t> value);
// The maker's gyroscope: X, Y, Z as s16 in degrees per second.
std::optional<EnvironmentReading> GyroscopeReading(std::span<const uint8_t> value);
// The maker's accelerometer: X, Y, Z as s16 in 0.01 m/s^2.
std::optional<EnvironmentReading> AccelerometerReading(std::span<const uint8_t> value);

// Magnetic flux density in gauss (Z is 0 for the two-dimensional characteristic).
struct MagneticFlux {
    double x = 0;
    double y = 0;
    double z = 0;
    bool threeD = false;
    bool operator==(const MagneticFlux&) const = default;
};
// X, Y (and Z when threeD) as s16 in 0.001 gauss.
std::optional<MagneticFlux> DecodeMagneticFlux(std::span<const uint8_t> value, bool threeD);
EnvironmentReading MagneticFluxReading(const MagneticFlux& flux);
// The compass direction of the flux's horizontal part: degrees from X towards Y, 0 to below 360.
double CompassDirection(const MagneticFlux& flux);
// "<degrees> °" with two decimals.
QString DirectionText(double degrees);
// Magnetic Declination, u16 in 0.01 degree, as DirectionText shows it.
std::optional<QString> DeclinationText(std::span<const uint8_t> value);
