// Tyre pressure: a simulated tyre sensor that leaks, reports its temperature and takes a blow-out
// threshold, a wheel position and the removal of its pairing.
#pragma once

#include "PeerContext.h"
#include "PeerModel.h"

#include <cstdint>

namespace orv::sim {

// Kind "tyrePressure". While linked, every 2 s of virtual time the pressure (D001, u16 kPa) drops by
// 2 kPa from 230 down to 170 and is then pumped back up to 230, and the temperature (D006, s8 degrees
// Celsius) wanders by a degree, drawn from the peer's seed, between -6 and 12; both are notified
// when the client has notifications on. The blow-out pressure threshold (D002, u16 kPa) takes 69 to
// 207 kPa, the wheel position (D004) 1 to 5 or 0xFF; other values are refused with ATT 0x13 (value
// not allowed) and values of another length with 0x0D. D003 (discoverability) holds one byte.
// Writing 0x01 to the pairing removal (AB15 in service AB14) succeeds and the sensor forgets its bond.
class TyrePressureSensor : public PeerModel {
public:
    static constexpr uint64_t kPeriodMs = 2000;
    static constexpr uint16_t kFullKpa = 230;
    static constexpr uint16_t kFlatKpa = 170;
    static constexpr uint16_t kLeakKpa = 2;
    static constexpr uint16_t kLowestThresholdKpa = 69;
    static constexpr uint16_t kHighestThresholdKpa = 207;
    static constexpr uint16_t kInitialThresholdKpa = 110;
    static constexpr uint8_t kInitialPosition = 1;
    static constexpr uint8_t kUnknownPosition = 0xFF;
    static constexpr uint8_t kRemovePairing = 0x01;

    TyrePressureSensor(Simulator& simulator, size_t peerIndex);

    std::vector<GattServiceDescription> baseDatabase() const override;
    void onConnect() override;
    void onDisconnect() override;
    uint8_t onWrite(uint16_t handle, std::span<const uint8_t> value) override;

private:
    void tick();
    // Stores value as the attribute's and notifies it when the client has notifications on.
    void report(uint16_t handle, std::vector<uint8_t> value);

    PeerContext m_context;
    uint16_t m_kpa = kFullKpa;
    int8_t m_celsius = 3;
};

} // namespace orv::sim
