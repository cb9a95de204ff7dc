// Heart Rate service: the Heart Rate Measurement and Body Sensor Location values.
#include "gatt/HeartRate.h"

#include "gatt/ByteReader.h"

#include <array>

namespace {

SensorContact contactFromFlags(uint8_t flags) {
    if (!(flags & HeartRateFlag::ContactSupported)) {
        return SensorContact::Unknown;
    }
    return (flags & HeartRateFlag::ContactDetected) ? SensorContact::InContact : SensorContact::NotInContact;
}

} // namespace

std::optional<HeartRateMeasurement> HeartRateMeasurement::decode(std::span<const uint8_t> value) {
    ByteReader reader(value);
    const auto flags = reader.u8();
    if (!flags) {
        return std::nullopt;
    }
    HeartRateMeasurement measurement;
    const std::optional<uint16_t> rate =
        (*flags & HeartRateFlag::Rate16Bit) ? reader.u16() : std::optional<uint16_t>(reader.u8());
    if (!rate) {
        return std::nullopt;
    }
    measurement.rate = *rate;
    measurement.contact = contactFromFlags(*flags);
    if (*flags & HeartRateFlag::EnergyExpended) {
        measurement.energyExpended = reader.u16();
        if (!measurement.energyExpended) {
            return std::nullopt;
        }
    }
    measurement.rrPresent = (*flags & HeartRateFlag::RrIntervals) != 0;
    if (measurement.rrPresent) {
        while (reader.remaining() >= 2) {
            measurement.rrIntervals.push_back(*reader.u16());
        }
    }
    return measurement;
}

QString BodySensorLocationName(uint32_t location) {
    static constexpr std::array<const char*, 7> kNames = {"Other", "Chest",    "Wrist", "Finger",
                                                          "Hand",  "Ear lobe", "Foot"};
    if (location >= kNames.size()) {
        return QStringLiteral("Unknown");
    }
    return QString::fromLatin1(kNames[location]);
}
