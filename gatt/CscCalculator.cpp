// Cycling Speed and Cadence: speed, cadence and distance from a sensor's cumulative revolution counts.
#include "gatt/CscCalculator.h"

namespace {

constexpr float kCmPerKm = 100000;
constexpr float kSecondsPerHour = 3600;
constexpr float kSecondsPerMinute = 60;
constexpr uint32_t kCrankWrap = 65536;
constexpr uint64_t kSecondsPerTimeout = 2;

// Whole seconds between two event times in 1/1024 s, halves up.
uint64_t Seconds(uint16_t time, uint16_t last) {
    const auto ticks = static_cast<uint16_t>(time - last);
    return (ticks + 512u) / 1024u;
}

float Average(float amount, uint64_t seconds) {
    return seconds == 0 ? 0 : amount / static_cast<float>(seconds);
}

} // namespace

float CscCalculator::Distance(uint32_t revolutions) const {
    return static_cast<float>(revolutions) * static_cast<float>(m_circumference) / kCmPerKm;
}

std::optional<CscCalculator::Rates> CscCalculator::AddWheel(uint32_t revolutions, uint16_t eventTime) {
    if (m_firstWheel) {
        m_firstWheel = false;
        m_tripKm = 0;
        m_ridingSeconds = 0;
        m_lastWheel = revolutions;
        m_lastWheelTime = eventTime;
        m_totalKm = Distance(revolutions);
        return std::nullopt;
    }
    const uint64_t dt = Seconds(eventTime, m_lastWheelTime);
    if (dt == 0) {
        return std::nullopt;
    }
    const float d = Distance(revolutions - m_lastWheel);
    m_totalKm += d;
    m_tripKm += d;
    if (d != 0) {
        m_ridingSeconds += dt;
    }
    m_lastWheel = revolutions;
    m_lastWheelTime = eventTime;
    m_speedTimeouts = 0;
    return Rates{d * kSecondsPerHour / static_cast<float>(dt),
                 Average(m_tripKm * kSecondsPerHour, m_ridingSeconds)};
}

CscCalculator::CrankSample CscCalculator::AddCrank(uint16_t revolutions, uint16_t eventTime) {
    if (revolutions < m_lastCrank) {
        m_crankWrapped = true;
    }
    CrankSample sample;
    sample.shownRevolutions = m_crankWrapped ? revolutions + kCrankWrap : revolutions;
    if (m_firstCrank) {
        m_firstCrank = false;
        m_lastCrank = revolutions;
        m_lastCrankTime = eventTime;
        return sample;
    }
    const auto dCrank = static_cast<uint16_t>(revolutions - m_lastCrank);
    const uint64_t dt = Seconds(eventTime, m_lastCrankTime);
    if (dCrank != 0) {
        m_crankSeconds += dt;
    }
    if (dt == 0) {
        return sample;
    }
    const float instantaneous = static_cast<float>(dCrank) * kSecondsPerMinute / static_cast<float>(dt);
    m_crankCounted += dCrank;
    m_lastCrank = revolutions;
    m_lastCrankTime = eventTime;
    m_cadenceTimeouts = 0;
    sample.cadence =
        Rates{instantaneous, Average(static_cast<float>(m_crankCounted) * kSecondsPerMinute, m_crankSeconds)};
    return sample;
}

CscCalculator::Rates CscCalculator::SpeedTimeout() {
    ++m_speedTimeouts;
    return {0, Average(m_tripKm * kSecondsPerHour, m_ridingSeconds + kSecondsPerTimeout * m_speedTimeouts)};
}

CscCalculator::Rates CscCalculator::CadenceTimeout() {
    ++m_cadenceTimeouts;
    return {0, Average(static_cast<float>(m_crankCounted) * kSecondsPerMinute,
                       m_crankSeconds + kSecondsPerTimeout * m_cadenceTimeouts)};
}

void CscCalculator::ResetDistance() {
    m_totalKm = 0;
    m_tripKm = 0;
    m_ridingSeconds = 0;
}

void CscCalculator::SetCumulativeValue(uint32_t revolutions, float averageShown) {
    m_lastWheel = revolutions;
    m_totalKm = Distance(revolutions);
    m_tripKm = m_totalKm;
    if (averageShown > 0) {
        m_ridingSeconds = static_cast<uint64_t>(m_tripKm * kSecondsPerHour / averageShown);
    }
}
