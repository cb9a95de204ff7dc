// Proximity (Link Loss, Immediate Alert, Tx Power): the averaged signal strength, its zones, the Tx
// Power correction and the signal-strength poll period.
#pragma once

#include "gatt/BleConnectionParameters.h"

#include <array>
#include <cstddef>
#include <cstdint>

// Alert Level values.
namespace AlertLevel {
inline constexpr uint8_t NoAlert = 0;
inline constexpr uint8_t MildAlert = 1;
inline constexpr uint8_t HighAlert = 2;
} // namespace AlertLevel

// The last five RSSI samples of the link.
class RssiRing {
public:
    // Keeps sample in place of the oldest and returns the average of the samples kept (at most five),
    // truncated toward zero.
    int AverageRssi(int sample);
    void Reset() { *this = RssiRing(); }

private:
    std::array<int, 5> m_samples{};
    size_t m_next = 0;
    int m_count = 0;
};

// The zone of an averaged signal strength (dBm): 2 (far) below highThreshold, 0 (near) at or above
// lowThreshold, 1 between. The zone is the Alert Level written to the tag.
uint8_t RssiZone(int value, int lowThreshold, int highThreshold);

// The correction (dBm) added to the average for a Tx Power Level byte: the byte read as a signed
// 8-bit number of dBm, as the properties pane shows the advertised level.
int TxPowerCorrection(uint8_t level);

// The poll period of the signal strength: interval min x 1.25 ms x slave latency, truncated.
uint32_t RssiPollPeriodMs(const BleConnectionParameters& parameters);
