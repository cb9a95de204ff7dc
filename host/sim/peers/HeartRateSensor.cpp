// Heart Rate service: a simulated chest strap that notifies its measurement once a second.
#include "HeartRateSensor.h"

#include <veyrauuids.h>

#include <algorithm>

namespace orv::sim {
namespace {

constexpr uint16_t kNotifyBit = 0x0001;

constexpr int kLowestRate = 45;
constexpr int kHighestRate = 200;
constexpr int kRateStep = 3;                           // bpm the rate moves towards its target per second
constexpr size_t kMaxRrIntervals = 7;                  // 1 + 2 + 2 + 7 * 2 bytes fill a notification's 20
constexpr uint32_t kMaxEnergyJoules = 0xFFFFu * 1000u; // the field stays at 0xFFFF kJ once there

// Energy burnt per second at a rate: about 0.1 kJ/s at rest, 0.6 kJ/s at 190 bpm.
uint64_t joulesPerSecond(int rate) {
    return static_cast<uint64_t>(std::max(50, 4 * rate - 150));
}

} // namespace

HeartRateSensor::HeartRateSensor(Simulator& simulator, size_t peerIndex) : m_context(simulator, peerIndex) {
    m_rate = draw(64, 78);
    m_target = m_rate;
}

int HeartRateSensor::draw(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(m_context.random());
}

std::vector<GattServiceDescription> HeartRateSensor::baseDatabase() const {
    GattServiceDescription heartRate;
    heartRate.uuid = MakeUuid16(ServiceUuid::HeartRate);
    heartRate.characteristics = {
        characteristic(CharacteristicUuid::HeartRateMeasurement, kPropertyNotify),
        characteristic(CharacteristicUuid::BodySensorLocation, kPropertyRead, {kLocationChest}),
        characteristic(CharacteristicUuid::HeartRateControlPoint, kPropertyWrite),
    };
    return {genericAccess(m_context.description()), heartRate};
}

void HeartRateSensor::onConnect() {
    m_context.forgetSubscriptions();
}

void HeartRateSensor::onDisconnect() {
    stop();
}

uint8_t HeartRateSensor::onWrite(uint16_t handle, std::span<const uint8_t> value) {
    if (handle != m_context.valueHandle(CharacteristicUuid::HeartRateControlPoint)) {
        return 0;
    }
    if (value.empty() || value[0] != kResetEnergyExpended) {
        return kOpCodeNotSupported;
    }
    live();
    m_energyJoules = 0;
    return 0;
}

void HeartRateSensor::onConfiguration(uint16_t valueHandle, uint16_t configuration) {
    if (valueHandle != m_context.valueHandle(CharacteristicUuid::HeartRateMeasurement)) {
        return;
    }
    if ((configuration & kNotifyBit) != 0) {
        start();
    } else {
        stop();
    }
}

void HeartRateSensor::start() {
    if (m_notifying) {
        return;
    }
    m_notifying = true;
    live();
    m_beatsDue = 0; // RR intervals only of beats since the subscription
    m_context.after(kPeriodMs, [this] { tick(); });
}

void HeartRateSensor::stop() {
    m_notifying = false;
    m_context.cancelTimers();
}

void HeartRateSensor::tick() {
    const uint16_t handle = m_context.valueHandle(CharacteristicUuid::HeartRateMeasurement);
    const std::vector<uint8_t> value = nextMeasurement().encode();
    if (handle == 0 || !m_context.notify(handle, value)) {
        stop();
        return;
    }
    m_context.after(kPeriodMs, [this] { tick(); });
}

void HeartRateSensor::live() {
    const uint64_t elapsed = m_context.now() - m_livedUntil;
    m_livedUntil = m_context.now();
    const uint64_t energy = m_energyJoules + elapsed * joulesPerSecond(m_rate) / 1000;
    m_energyJoules = static_cast<uint32_t>(std::min<uint64_t>(energy, kMaxEnergyJoules));
    const uint64_t beatMillis = m_beatMillis + elapsed * static_cast<uint64_t>(m_rate) / 60;
    m_beatsDue += static_cast<size_t>(beatMillis / 1000);
    m_beatMillis = static_cast<uint32_t>(beatMillis % 1000);
}

HeartRateMeasurement HeartRateSensor::nextMeasurement() {
    live();
    if (draw(0, 29) == 0) {
        m_target = draw(60, 175); // a new pace now and then
    }
    m_rate += std::clamp(m_target - m_rate, -kRateStep, kRateStep) + draw(-2, 2);
    m_rate = std::clamp(m_rate, kLowestRate, kHighestRate);

    HeartRateMeasurement measurement;
    measurement.rate = static_cast<uint16_t>(m_rate);
    const int contact = draw(0, 19);
    measurement.contact = contact < 2   ? SensorContact::NotSupported
                          : contact < 5 ? SensorContact::NotDetected
                                        : SensorContact::Detected;
    measurement.rate16Bit = draw(0, 3) == 0;
    if (draw(0, 2) == 0) {
        measurement.energyExpended = static_cast<uint16_t>(m_energyJoules / 1000);
    }
    // Off the skin the strap hears no beats.
    if (measurement.contact != SensorContact::NotDetected) {
        measurement.rrIntervals = rrIntervals(std::min(m_beatsDue, kMaxRrIntervals));
    }
    m_beatsDue = 0;
    return measurement;
}

std::vector<uint16_t> HeartRateSensor::rrIntervals(size_t count) {
    const int period = 60 * 1024 / m_rate; // one beat in 1/1024 s
    const int jitter = period * 3 / 100;
    std::vector<uint16_t> intervals;
    for (size_t i = 0; i < count; ++i) {
        intervals.push_back(static_cast<uint16_t>(period + draw(-jitter, jitter)));
    }
    return intervals;
}

} // namespace orv::sim
