// Legacy HID remote (service 0x3231): a simulated remote control that presses one key after another.
#pragma once

#include "PeerContext.h"
#include "PeerModel.h"

#include <cstdint>

namespace orv::sim {

// Kind "remote": Descriptor (0x2C00), Descriptor extension (0x2C01), Control (0x2C02) and Interrupt
// (0x2C03) with their configuration descriptors, Flags (0x2C04) = 0x0005. While the host listens to
// Interrupt, its user presses a key every 1.5 s and holds it for 300 ms: the report 00 00 <usage> 00,
// then 00 00 00 00. The keys are those harmless to a desktop they are forwarded to: the digits, volume
// up and down, mute, stop and F16 to F21.
class LegacyRemote : public PeerModel {
public:
    static constexpr uint64_t kPressPeriodMs = 1500;
    static constexpr uint64_t kHoldMs = 300;

    LegacyRemote(Simulator& simulator, size_t peerIndex);

    std::vector<GattServiceDescription> baseDatabase() const override;
    void onConnect() override;
    void onDisconnect() override;
    void onConfiguration(uint16_t valueHandle, uint16_t configuration) override;

private:
    void press();
    void send(uint8_t usage);

    PeerContext m_context;
    bool m_pressing = false;
    size_t m_nextKey = 0;
};

} // namespace orv::sim
