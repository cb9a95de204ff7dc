// Cycling Speed and Cadence: a simulated bike sensor that notifies its wheel and crank counts.
#include "CyclingSensor.h"

#include "LittleEndian.h"

#include <veyrauuids.h>

#include <algorithm>
#include <cmath>

namespace orv::sim {
namespace {

constexpr uint8_t kWheelAndCrank = 0x03;
constexpr uint16_t kNotifyBit = 0x0001;
constexpr uint32_t kWheelTurnsPerCrankTurn = 3;

} // namespace

void CyclingSensor::Revolutions::turn(double perSecond, uint64_t fromMs, uint64_t ms) {
    const double total = fraction + perSecond * static_cast<double>(ms) / 1000.0;
    const double whole = std::floor(total);
    if (whole >= 1) {
        lastMs = fromMs + static_cast<uint64_t>((whole - fraction) / perSecond * 1000.0);
        count += static_cast<uint32_t>(whole);
    }
    fraction = total - whole;
}

CyclingSensor::CyclingSensor(Simulator& simulator, size_t peerIndex)
    : m_context(simulator, peerIndex),
      m_controlPoint(m_context, ServiceUuid::CyclingSpeedAndCadence, {4, 5, 6, kLocation},
                     {[this](uint32_t value) { m_wheel.count = value; }, {}}) {
    m_wheel.count = static_cast<uint32_t>(draw(2000, 6000));
    m_crank.count = m_wheel.count / kWheelTurnsPerCrankTurn;
    m_speed = draw(18, 26);
    m_targetSpeed = m_speed;
    m_phaseSeconds = draw(30, 90);
}

int CyclingSensor::draw(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(m_context.random());
}

std::vector<GattServiceDescription> CyclingSensor::baseDatabase() const {
    GattServiceDescription cycling;
    cycling.uuid = MakeUuid16(ServiceUuid::CyclingSpeedAndCadence);
    cycling.characteristics = {
        characteristic(CharacteristicUuid::CscMeasurement, kPropertyNotify),
        characteristic(CharacteristicUuid::CscFeature, kPropertyRead, {kFeatures, 0x00}),
        characteristic(CharacteristicUuid::SensorLocation, kPropertyRead, {kLocation}),
        characteristic(CharacteristicUuid::ScControlPoint, kPropertyWrite | kPropertyIndicate),
    };
    return {genericAccess(m_context.description()), cycling};
}

void CyclingSensor::onConnect() {
    m_context.forgetSubscriptions();
}

void CyclingSensor::onDisconnect() {
    m_notifying = false;
    m_ticking = false;
    m_context.cancelTimers();
    m_controlPoint.reset();
}

uint8_t CyclingSensor::onWrite(uint16_t handle, std::span<const uint8_t> value) {
    return m_controlPoint.onWrite(handle, value);
}

void CyclingSensor::onConfiguration(uint16_t valueHandle, uint16_t configuration) {
    if (valueHandle != measurementHandle()) {
        return;
    }
    m_notifying = (configuration & kNotifyBit) != 0;
    if (m_notifying && !m_ticking) {
        m_ticking = true;
        m_lastTickMs = m_context.now();
        m_wheel.restart(m_lastTickMs);
        m_crank.restart(m_lastTickMs);
        m_context.after(kPeriodMs, [this] { tick(); });
    }
}

void CyclingSensor::tick() {
    if (!m_notifying) {
        m_ticking = false;
        return;
    }
    const uint64_t from = m_lastTickMs;
    m_lastTickMs = m_context.now();
    ride();
    const uint64_t ms = m_lastTickMs - from;
    m_wheel.turn(m_speed / 3.6 / kWheelMetres, from, ms);
    m_crank.turn(m_cadence / 60.0, from, ms);
    if (!m_context.notify(measurementHandle(), measurement(m_wheel, m_crank))) {
        m_ticking = false;
        return;
    }
    m_context.after(kPeriodMs, [this] { tick(); });
}

void CyclingSensor::ride() {
    if (--m_phaseSeconds <= 0) {
        nextPhase();
    }
    switch (m_phase) {
    case Phase::Riding:
        if (draw(0, 19) == 0) {
            m_targetSpeed = draw(16, 38); // a climb, a descent, a sprint
        }
        m_speed += std::clamp(m_targetSpeed - m_speed, -1.5, 1.5) + draw(-5, 5) / 10.0;
        m_speed = std::max(m_speed, 3.0);
        m_cadence = std::clamp(m_speed * 2.8 + draw(-4, 4), 55.0, 110.0);
        return;
    case Phase::Coasting:
        m_speed = std::max(0.0, m_speed - 1.0 - draw(0, 5) / 10.0);
        m_cadence = 0;
        return;
    case Phase::Stopped:
        m_speed = 0;
        m_cadence = 0;
        return;
    }
}

void CyclingSensor::nextPhase() {
    switch (m_phase) {
    case Phase::Riding:
        m_phase = Phase::Coasting;
        m_phaseSeconds = draw(4, 10);
        return;
    case Phase::Coasting:
        m_phase = draw(0, 2) == 0 ? Phase::Stopped : Phase::Riding;
        m_phaseSeconds = m_phase == Phase::Stopped ? draw(5, 12) : draw(30, 90);
        return;
    case Phase::Stopped:
        m_phase = Phase::Riding;
        m_phaseSeconds = draw(30, 90);
        m_targetSpeed = draw(18, 30);
        return;
    }
}

uint16_t CyclingSensor::measurementHandle() const {
    return m_context.valueHandle(ServiceUuid::CyclingSpeedAndCadence, CharacteristicUuid::CscMeasurement);
}

std::vector<uint8_t> CyclingSensor::measurement(const Revolutions& wheel, const Revolutions& crank) {
    std::vector<uint8_t> value{kWheelAndCrank};
    appendLe(value, wheel.count, 4);
    appendLe(value, wheel.eventTime(), 2);
    appendLe(value, crank.count, 2);
    appendLe(value, crank.eventTime(), 2);
    return value;
}

} // namespace orv::sim
