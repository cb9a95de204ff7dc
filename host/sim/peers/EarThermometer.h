// Health Thermometer service: a simulated ear thermometer that measures every 5 seconds.
#pragma once

#include "PeerContext.h"
#include "PeerModel.h"

#include <cstdint>

namespace orv::sim {

// Kind "thermometer": Generic Access, Device Information and Health Thermometer (Temperature
// Measurement, indicate; Temperature Type, read: 3, ear). While the client has indications on, one
// measurement every 5 s of virtual time between 36.2 and 37.8 degrees Celsius, some with a time
// stamp and the temperature type. Everything it draws comes from the peer's seeded generator.
class EarThermometer : public PeerModel {
public:
    static constexpr uint64_t kPeriodMs = 5000;
    static constexpr uint8_t kTypeEar = 3;

    EarThermometer(Simulator& simulator, size_t peerIndex);

    std::vector<GattServiceDescription> baseDatabase() const override;
    void onConnect() override;
    void onDisconnect() override;
    void onConfiguration(uint16_t valueHandle, uint16_t configuration) override;

private:
    void measure();
    int draw(int low, int high);

    PeerContext m_context;
    bool m_running = false;
    int m_centidegrees = 0;
};

} // namespace orv::sim
