// Proximity (Link Loss, Immediate Alert, Tx Power): the averaged signal strength, its zones, the Tx
// Power correction and the signal-strength poll period.
#include "gatt/SecurityTag.h"

#include <algorithm>
#include <numeric>

int RssiRing::AverageRssi(int sample) {
    m_samples[m_next] = sample;
    m_next = (m_next + 1) % m_samples.size();
    m_count = std::min(m_count + 1, static_cast<int>(m_samples.size()));
    return std::accumulate(m_samples.begin(), m_samples.begin() + m_count, 0) / m_count;
}

uint8_t RssiZone(int value, int lowThreshold, int highThreshold) {
    if (value < highThreshold)
        return AlertLevel::HighAlert;
    if (value >= lowThreshold)
        return AlertLevel::NoAlert;
    return AlertLevel::MildAlert;
}

int TxPowerCorrection(uint8_t level) {
    return static_cast<int8_t>(level);
}

uint32_t RssiPollPeriodMs(const BleConnectionParameters& parameters) {
    return static_cast<uint32_t>(parameters.intervalMin) * parameters.slaveLatency * 5 / 4;
}
