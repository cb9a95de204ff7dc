// Health Thermometer service: a simulated ear thermometer that measures every 5 seconds.
#include "EarThermometer.h"

#include "HealthValues.h"
#include <veyrauuids.h>

#include <algorithm>

namespace orv::sim {
namespace {

constexpr uint8_t kTimeStampFlag = 0x02;
constexpr uint8_t kTypeFlag = 0x04;
constexpr int kLowest = 3620; // hundredths of a degree Celsius
constexpr int kHighest = 3780;
constexpr int64_t kClockAtWorldStart = 1778832000; // the thermometer's clock: 2026-05-15 08:00:00

} // namespace

EarThermometer::EarThermometer(Simulator& simulator, size_t peerIndex) : m_context(simulator, peerIndex) {
    m_centidegrees = draw(3640, 3720);
}

int EarThermometer::draw(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(m_context.random());
}

std::vector<GattServiceDescription> EarThermometer::baseDatabase() const {
    GattServiceDescription thermometer;
    thermometer.uuid = MakeUuid16(ServiceUuid::HealthThermometer);
    thermometer.characteristics = {
        characteristic(CharacteristicUuid::TemperatureMeasurement, kPropertyIndicate),
        characteristic(CharacteristicUuid::TemperatureType, kPropertyRead, {kTypeEar}),
    };
    return {genericAccess(m_context.description()),
            deviceInformation("Orvane", "TH-3", {0x04, 0x71, 0xDA, 0xFE, 0xFF, 0x7D, 0x1A, 0x00}),
            thermometer};
}

void EarThermometer::onConnect() {
    m_context.forgetSubscriptions();
}

void EarThermometer::onDisconnect() {
    m_running = false;
    m_context.cancelTimers();
}

void EarThermometer::onConfiguration(uint16_t valueHandle, uint16_t /*configuration*/) {
    if (valueHandle != m_context.valueHandle(CharacteristicUuid::TemperatureMeasurement)) {
        return;
    }
    if (!m_context.indicating(valueHandle)) {
        m_running = false;
        m_context.cancelTimers();
    } else if (!m_running) {
        m_running = true;
        m_context.after(kPeriodMs, [this] { measure(); });
    }
}

void EarThermometer::measure() {
    m_centidegrees = std::clamp(m_centidegrees + draw(-12, 12), kLowest, kHighest);
    uint8_t flags = 0;
    std::vector<uint8_t> fields;
    if (draw(0, 2) == 0) {
        flags |= kTimeStampFlag;
        putDateTime(fields, kClockAtWorldStart + static_cast<int64_t>(m_context.now() / 1000));
    }
    if (draw(0, 2) == 0) {
        flags |= kTypeFlag;
        put8(fields, kTypeEar);
    }
    std::vector<uint8_t> value{flags};
    // Some readings to a tenth, others to a hundredth of a degree.
    put32(value, draw(0, 1) == 0 ? float32(m_centidegrees / 10, -1) : float32(m_centidegrees, -2));
    value.insert(value.end(), fields.begin(), fields.end());
    m_context.indicate(m_context.valueHandle(CharacteristicUuid::TemperatureMeasurement), value);
    m_context.after(kPeriodMs, [this] { measure(); });
}

} // namespace orv::sim
