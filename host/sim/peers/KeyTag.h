// Link Loss, Immediate Alert and Tx Power: a simulated key tag that drifts away and comes back.
#pragma once

#include "PeerContext.h"
#include "PeerGattClient.h"
#include "PeerModel.h"

#include <cstdint>

namespace orv::sim {

// Kind "securityTag": Generic Access, Immediate Alert (Alert Level, write without response), Link
// Loss (Alert Level, read and write with an encrypted link only, so a client's first read pairs it)
// and Tx Power (Tx Power Level -8 dBm). It takes the levels 0-2 (ATT 0x13 for any other value) and
// records every level written (takePeerRecordedWrites). Over each link its distance follows a slow
// cycle, near, far and near again, about a minute long (the length drawn from the seed): the signal
// strength it reports goes from about -58 to about -102 dBm and back, with a few dBm of jitter.
// Once the link is encrypted it is also a client of the PC's Immediate Alert: every 45 s its button
// writes the PC's Alert Level, 2 and 1 in turn (write commands), a level 1 ended by a 0 3 s later.
class KeyTag : public PeerModel {
public:
    static constexpr int8_t kTxPowerDbm = -8;
    static constexpr int kNearDbm = -58;
    static constexpr int kFarDbm = -102;
    static constexpr int kJitterDbm = 3;
    static constexpr uint8_t kHighestLevel = 2;
    static constexpr uint64_t kButtonPeriodMs = 45000;
    static constexpr uint64_t kLowAlertMs = 3000;

    KeyTag(Simulator& simulator, size_t peerIndex);

    std::vector<GattServiceDescription> baseDatabase() const override;
    void onConnect() override;
    void onDisconnect() override;
    void onEncrypted() override;
    void onHostPdu(std::span<const uint8_t> pdu) override { m_client.received(pdu); }
    uint8_t onWrite(uint16_t handle, std::span<const uint8_t> value) override;
    std::optional<int> rssi() override;

    uint64_t cycleMs() const { return m_cycleMs; }

private:
    void pressButton();

    PeerContext m_context;
    PeerGattClient m_client;
    bool m_started = false; // this link's client work has begun
    bool m_highNext = true; // the level the next press writes: 2, else 1
    uint64_t m_cycleMs = 0;
    uint64_t m_linkedAt = 0;
};

} // namespace orv::sim
