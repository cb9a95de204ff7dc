// Running Speed and Cadence: a simulated foot pod that notifies speed, cadence, stride and distance.
#include "RunningSensor.h"

#include "LittleEndian.h"

#include <veyrauuids.h>

#include <algorithm>
#include <cmath>

namespace orv::sim {
namespace {

constexpr uint16_t kNotifyBit = 0x0001;
constexpr uint8_t kStridePresent = 0x01;
constexpr uint8_t kDistancePresent = 0x02;
constexpr uint8_t kRunning = 0x04;
constexpr double kLargestDistance = 4294967295.0;

} // namespace

RunningSensor::RunningSensor(Simulator& simulator, size_t peerIndex)
    : m_context(simulator, peerIndex),
      m_controlPoint(m_context, ServiceUuid::RunningSpeedAndCadence, {1, kLocation, 3},
                     {[this](uint32_t value) { m_distance = value; }, [this] { return !m_running; }}) {
    m_distance = draw(0, 50000);
    m_speed = 1.4;
    m_cadence = 110;
    m_phaseSeconds = draw(15, 30);
}

int RunningSensor::draw(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(m_context.random());
}

std::vector<GattServiceDescription> RunningSensor::baseDatabase() const {
    GattServiceDescription running;
    running.uuid = MakeUuid16(ServiceUuid::RunningSpeedAndCadence);
    running.characteristics = {
        characteristic(CharacteristicUuid::RscMeasurement, kPropertyNotify),
        characteristic(CharacteristicUuid::RscFeature, kPropertyRead, {kFeatures, 0x00}),
        characteristic(CharacteristicUuid::SensorLocation, kPropertyRead, {kLocation}),
        characteristic(CharacteristicUuid::ScControlPoint, kPropertyWrite | kPropertyIndicate),
    };
    return {genericAccess(m_context.description()), running};
}

void RunningSensor::onConnect() {
    m_context.forgetSubscriptions();
}

void RunningSensor::onDisconnect() {
    m_notifying = false;
    m_ticking = false;
    m_context.cancelTimers();
    m_controlPoint.reset();
}

uint8_t RunningSensor::onWrite(uint16_t handle, std::span<const uint8_t> value) {
    return m_controlPoint.onWrite(handle, value);
}

void RunningSensor::onConfiguration(uint16_t valueHandle, uint16_t configuration) {
    if (valueHandle != measurementHandle()) {
        return;
    }
    m_notifying = (configuration & kNotifyBit) != 0;
    if (m_notifying && !m_ticking) {
        m_ticking = true;
        m_context.after(kPeriodMs, [this] { tick(); });
    }
}

void RunningSensor::tick() {
    if (!m_notifying) {
        m_ticking = false;
        return;
    }
    move();
    if (!m_context.notify(measurementHandle(), measurement())) {
        m_ticking = false;
        return;
    }
    m_context.after(kPeriodMs, [this] { tick(); });
}

void RunningSensor::move() {
    if (--m_phaseSeconds <= 0) {
        m_running = !m_running;
        m_phaseSeconds = m_running ? draw(20, 60) : draw(15, 40);
    }
    const double target = m_running ? 3.0 + draw(0, 12) / 10.0 : 1.2 + draw(0, 6) / 10.0;
    m_speed += std::clamp(target - m_speed, -0.8, 0.8);
    m_cadence = m_running ? draw(155, 180) : draw(100, 120);
    m_distance = std::min(m_distance + m_speed * 10.0, kLargestDistance);
}

uint16_t RunningSensor::measurementHandle() const {
    return m_context.valueHandle(ServiceUuid::RunningSpeedAndCadence, CharacteristicUuid::RscMeasurement);
}

std::vector<uint8_t> RunningSensor::measurement() {
    const bool stride = draw(0, 3) != 0;
    const bool distance = draw(0, 2) != 0;
    const uint8_t flags =
        (stride ? kStridePresent : 0) | (distance ? kDistancePresent : 0) | (m_running ? kRunning : 0);
    std::vector<uint8_t> value{flags};
    appendLe(value, static_cast<uint32_t>(std::lround(m_speed * 256)), 2);
    value.push_back(static_cast<uint8_t>(m_cadence));
    if (stride) {
        appendLe(value, static_cast<uint32_t>(std::lround(m_speed * 6000 / m_cadence)), 2); // cm a step
    }
    if (distance) {
        appendLe(value, static_cast<uint32_t>(m_distance), 4);
    }
    return value;
}

} // namespace orv::sim
