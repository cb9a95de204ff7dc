// Battery service: a simulated battery pack that runs down, stays empty a while and is recharged.
#pragma once

#include "PeerContext.h"
#include "PeerModel.h"

#include <cstdint>

namespace orv::sim {

// Kind "battery". The pack's clock starts at the first connection: the level starts at 15 % and
// loses 1 % every 4 s of virtual time; at 0 % it stays empty for 20 s, is recharged to 100 % and runs
// down again. It runs down also while no host is connected. While the client has notifications of
// Battery Level on, every change of the level is notified.
class BatteryPack : public PeerModel {
public:
    static constexpr uint64_t kStepMs = 4000;
    static constexpr uint64_t kEmptyMs = 20000;
    static constexpr uint8_t kStartLevel = 15;
    static constexpr uint8_t kFullLevel = 100;

    BatteryPack(Simulator& simulator, size_t peerIndex);

    std::vector<GattServiceDescription> baseDatabase() const override;
    void onConnect() override;
    void onDisconnect() override;
    void onConfiguration(uint16_t valueHandle, uint16_t configuration) override;

private:
    // Brings the stored level up to now, notifying a change while subscribed.
    void update();
    void tick();

    PeerContext m_context;
    bool m_started = false;
    uint64_t m_startedAt = 0;
    bool m_notifying = false;
};

} // namespace orv::sim
