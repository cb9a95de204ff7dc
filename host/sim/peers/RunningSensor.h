// Running Speed and Cadence: a simulated foot pod that notifies speed, cadence, stride and distance.
#pragma once

#include "PeerContext.h"
#include "PeerModel.h"
#include "ScControlPoint.h"

#include <cstdint>

namespace orv::sim {

// Kind "running". While the client has notifications of RSC Measurement on, one measurement a second:
// the wearer walks and runs by turns; the stride length and the total distance are each sometimes
// left out. The SC Control Point sets the total distance; a calibration succeeds while walking and
// fails while running.
class RunningSensor : public PeerModel {
public:
    static constexpr uint64_t kPeriodMs = 1000;
    static constexpr uint8_t kFeatures = 0x1F; // stride, distance, walking/running, calibration, locations
    static constexpr uint8_t kLocation = 2;    // In Shoe

    RunningSensor(Simulator& simulator, size_t peerIndex);

    std::vector<GattServiceDescription> baseDatabase() const override;
    void onConnect() override;
    void onDisconnect() override;
    uint8_t onWrite(uint16_t handle, std::span<const uint8_t> value) override;
    void onConfiguration(uint16_t valueHandle, uint16_t configuration) override;

private:
    void tick();
    // The wearer one second on: pace, cadence and distance.
    void move();
    uint16_t measurementHandle() const;
    std::vector<uint8_t> measurement();
    int draw(int low, int high);

    PeerContext m_context;
    ScControlPoint m_controlPoint;
    bool m_notifying = false;
    bool m_ticking = false;
    bool m_running = false;
    int m_phaseSeconds = 0; // left in the phase
    double m_speed = 0;     // m/s
    int m_cadence = 0;      // steps a minute
    double m_distance = 0;  // 1/10 m
};

} // namespace orv::sim
