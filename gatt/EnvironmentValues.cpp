// Environmental Sensing and the maker's motion sensors: the values the environment window reads, as
// it shows and logs them.
#include "gatt/EnvironmentValues.h"

#include "gatt/ByteReader.h"

#include <array>
#include <cmath>
#include <numbers>

namespace {

// X, Y, Z as s16; nullopt when the value holds fewer than six bytes.
std::optional<std::array<int16_t, 3>> ThreeAxes(std::span<const uint8_t> value) {
    ByteReader reader(value);
    const auto x = reader.i16();
    const auto y = reader.i16();
    const auto z = reader.i16();
    if (!x || !y || !z) {
        return std::nullopt;
    }
    return std::array<int16_t, 3>{*x, *y, *z};
}

} // namespace

std::optional<EnvironmentReading> PressureReading(std::span<const uint8_t> value) {
    const auto pressure = ByteReader(value).u32();
    if (!pressure) {
        return std::nullopt;
    }
    return EnvironmentReading{
        QString::asprintf("%5.1f Pa", *pressure / 10.0),
        QString::asprintf("Pressure received in 0.1 pA = %lu\n", static_cast<unsigned long>(*pressure))};
}

std::optional<EnvironmentReading> TemperatureReading(std::span<const uint8_t> value) {
    const auto temperature = ByteReader(value).i16();
    if (!temperature) {
        return std::nullopt;
    }
    return EnvironmentReading{QString::asprintf("%2.2f", *temperature / 100.0) + QStringLiteral(" °C"),
                              QString::asprintf("Temperature received in 0.01 degree = %d\n", *temperature)};
}

std::optional<EnvironmentReading> HumidityReading(std::span<const uint8_t> value) {
    const auto humidity = ByteReader(value).i16();
    if (!humidity) {
        return std::nullopt;
    }
    return EnvironmentReading{QString::asprintf("%2.2f %%", *humidity / 100.0),
                              QString::asprintf("Humidity received in 0.01 percentage = %d\n", *humidity)};
}

std::optional<EnvironmentReading> GyroscopeReading(std::span<const uint8_t> value) {
    const auto axes = ThreeAxes(value);
    if (!axes) {
        return std::nullopt;
    }
    const auto [x, y, z] = *axes;
    return EnvironmentReading{QString::asprintf("X = %d, Y = %d, Z = %d", x, y, z) +
                                  QStringLiteral(" (°/second)"),
                              QString::asprintf("Gyro data received X = %d, Y = %d, Z = %d\n", x, y, z)};
}

std::optional<EnvironmentReading> AccelerometerReading(std::span<const uint8_t> value) {
    const auto axes = ThreeAxes(value);
    if (!axes) {
        return std::nullopt;
    }
    const double x = (*axes)[0] / 100.0;
    const double y = (*axes)[1] / 100.0;
    const double z = (*axes)[2] / 100.0;
    return EnvironmentReading{
        QString::asprintf("X = %5.2f, Y = %5.2f, Z = %5.2f (m/s^2)", x, y, z),
        QString::asprintf("Accelerometer data received X = %5.2f, Y = %5.2f, Z = %5.2f\n", x, y, z)};
}

std::optional<MagneticFlux> DecodeMagneticFlux(std::span<const uint8_t> value, bool threeD) {
    ByteReader reader(value);
    const auto x = reader.i16();
    const auto y = reader.i16();
    const auto z = threeD ? reader.i16() : std::optional<int16_t>(0);
    if (!x || !y || !z) {
        return std::nullopt;
    }
    return MagneticFlux{*x / 1000.0, *y / 1000.0, *z / 1000.0, threeD};
}

EnvironmentReading MagneticFluxReading(const MagneticFlux& flux) {
    const QString text =
        flux.threeD ? QString::asprintf("X = %5.3f, Y = %5.3f, Z = %5.3f (Ga)", flux.x, flux.y, flux.z)
                    : QString::asprintf("X = %5.3f, Y = %5.3f (Ga)", flux.x, flux.y);
    return {text, QString::asprintf("Magnetometer data received X  = %5.3f, Y = %5.3f, Z = %5.3f\n", flux.x,
                                    flux.y, flux.z)};
}

double CompassDirection(const MagneticFlux& flux) {
    const double degrees = std::atan2(flux.y, flux.x) * 180.0 / std::numbers::pi;
    return degrees < 0 ? degrees + 360.0 : degrees;
}

QString DirectionText(double degrees) {
    return QString::asprintf("%2.2f", degrees) + QStringLiteral(" °");
}

std::optional<QString> DeclinationText(std::span<const uint8_t> value) {
    const auto declination = ByteReader(value).u16();
    if (!declination) {
        return std::nullopt;
    }
    return DirectionText(*declination * 0.01);
}
