// Heart Rate service: the Heart Rate Measurement value as a simulated sensor sends it.
#include "HeartRateMeasurement.h"

namespace orv::sim {
namespace {

void put16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

uint8_t contactFlags(SensorContact contact) {
    switch (contact) {
    case SensorContact::NotSupported:
        return 0;
    case SensorContact::NotDetected:
        return HeartRateFlag::kContactSupported;
    case SensorContact::Detected:
        return HeartRateFlag::kContactSupported | HeartRateFlag::kContactDetected;
    }
    return 0;
}

} // namespace

std::vector<uint8_t> HeartRateMeasurement::encode() const {
    const bool wide = rate16Bit || rate > 0xFF;
    uint8_t flags = contactFlags(contact);
    if (wide) {
        flags |= HeartRateFlag::kRate16Bit;
    }
    if (energyExpended) {
        flags |= HeartRateFlag::kEnergyExpended;
    }
    if (!rrIntervals.empty()) {
        flags |= HeartRateFlag::kRrIntervals;
    }
    std::vector<uint8_t> out{flags};
    if (wide) {
        put16(out, rate);
    } else {
        out.push_back(static_cast<uint8_t>(rate));
    }
    if (energyExpended) {
        put16(out, *energyExpended);
    }
    for (const uint16_t interval : rrIntervals) {
        put16(out, interval);
    }
    return out;
}

} // namespace orv::sim
