// Heart Rate service: a simulated chest strap that notifies its measurement once a second.
#pragma once

#include "HeartRateMeasurement.h"
#include "PeerContext.h"
#include "PeerModel.h"

#include <cstdint>

namespace orv::sim {

// Kind "heartRate". While the client has notifications of Heart Rate Measurement on, one measurement
// per second of virtual time; the rate wanders, the energy expended grows with it, and the forms vary
// (8- and 16-bit rate, the three contact states, energy present or not, one or several RR
// intervals). Writing 0x01 (Reset Energy Expended) to the control point sets the energy back to 0;
// any other op code is refused with 0x80. Everything it draws comes from the peer's seeded generator.
class HeartRateSensor : public PeerModel {
public:
    static constexpr uint64_t kPeriodMs = 1000;
    static constexpr uint8_t kResetEnergyExpended = 0x01;
    static constexpr uint8_t kOpCodeNotSupported = 0x80;
    static constexpr uint8_t kLocationChest = 1;

    HeartRateSensor(Simulator& simulator, size_t peerIndex);

    std::vector<GattServiceDescription> baseDatabase() const override;
    void onConnect() override;
    void onDisconnect() override;
    uint8_t onWrite(uint16_t handle, std::span<const uint8_t> value) override;
    void onConfiguration(uint16_t valueHandle, uint16_t configuration) override;

private:
    void start();
    void stop();
    void tick();
    // Moves the body on to now at the current rate: beats since the last measurement, energy.
    void live();
    HeartRateMeasurement nextMeasurement();
    std::vector<uint16_t> rrIntervals(size_t count);
    int draw(int low, int high);

    PeerContext m_context;
    bool m_notifying = false;
    int m_rate = 0;   // beats per minute
    int m_target = 0; // where the rate is heading
    uint32_t m_energyJoules = 0;
    uint32_t m_beatMillis = 0; // thousandths of a beat not yet reported
    uint64_t m_livedUntil = 0;
    size_t m_beatsDue = 0;
};

} // namespace orv::sim
