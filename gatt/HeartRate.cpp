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

uint8_t contactFlags(SensorContact contact) {
    switch (contact) {
    case SensorContact::NotInContact:
        return HeartRateFlag::ContactSupported;
    case SensorContact::InContact:
        return HeartRateFlag::ContactSupported | HeartRateFlag::ContactDetected;
    case SensorContact::Unknown:
        break;
    }
    return 0;
}

void appendU16(std::vector<uint8_t>& bytes, uint16_t value) {
    bytes.push_back(static_cast<uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

} // namespace

std::optional<HeartRateMeasurement> HeartRateMeasurement::decode(std::span<const uint8_t> value) {
    ByteReader reader(value);
    const auto flags = reader.u8();
    if (!flags) {
        return std::nullopt;
    }
    HeartRateMeasurement measurement;
    measurement.rate16Bit = (*flags & HeartRateFlag::Rate16Bit) != 0;
    const std::optional<uint16_t> rate =
        measurement.rate16Bit ? reader.u16() : std::optional<uint16_t>(reader.u8());
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

std::vector<uint8_t> HeartRateMeasurement::encode() const {
    const bool wide = rate16Bit || rate > 0xFF;
    uint8_t flags = contactFlags(contact);
    if (wide) {
        flags |= HeartRateFlag::Rate16Bit;
    }
    if (energyExpended) {
        flags |= HeartRateFlag::EnergyExpended;
    }
    if (rrPresent) {
        flags |= HeartRateFlag::RrIntervals;
    }
    std::vector<uint8_t> bytes{flags};
    if (wide) {
        appendU16(bytes, rate);
    } else {
        bytes.push_back(static_cast<uint8_t>(rate));
    }
    if (energyExpended) {
        appendU16(bytes, *energyExpended);
    }
    if (rrPresent) {
        for (uint16_t interval : rrIntervals) {
            appendU16(bytes, interval);
        }
    }
    return bytes;
}

QString BodySensorLocationName(uint32_t location) {
    static constexpr std::array<const char*, 7> kNames = {"Other", "Chest",    "Wrist", "Finger",
                                                          "Hand",  "Ear lobe", "Foot"};
    if (location >= kNames.size()) {
        return QStringLiteral("Unknown");
    }
    return QString::fromLatin1(kNames[location]);
}
