// Health Thermometer service: the Temperature Measurement value.
#include "gatt/HealthThermometer.h"

#include "gatt/ByteReader.h"
#include "gatt/SFloat.h"

#include <cmath>
#include <limits>

namespace {

// Narrowing a double beyond a float's range is undefined: such a number is not shown.
float narrow(double number) {
    if (!std::isfinite(number) || std::fabs(number) > std::numeric_limits<float>::max()) {
        return std::numeric_limits<float>::quiet_NaN();
    }
    return static_cast<float>(number);
}

} // namespace

std::optional<TemperatureMeasurement> TemperatureMeasurement::decode(std::span<const uint8_t> value) {
    ByteReader reader(value);
    const auto flags = reader.u8();
    const auto raw = reader.u32();
    if (reader.failed()) {
        return std::nullopt;
    }
    TemperatureMeasurement measurement;
    measurement.fahrenheit = (*flags & TemperatureFlag::Fahrenheit) != 0;
    measurement.value = narrow(FloatToDouble(*raw));
    return measurement;
}
