// Cycling Speed and Cadence: a simulated bike sensor that notifies its wheel and crank counts.
#pragma once

#include "PeerContext.h"
#include "PeerModel.h"
#include "ScControlPoint.h"

#include <cstdint>

namespace orv::sim {

// Kind "cycling". While the client has notifications of CSC Measurement on, one measurement a second
// with the cumulative wheel (u32) and crank (u16) revolutions, each with the event time (1/1024 s) of
// its last whole revolution. The ride varies its pace, coasts (the crank stands: its count and time
// repeat) and stops (the wheel stands too). The counts start where a bike ridden for a while has them
// (a few thousand wheel revolutions, about three for each crank revolution), and each subscription
// starts on a whole revolution, so that the first event times belong to the counts they come with.
// The SC Control Point sets the wheel count; the sensor cannot calibrate.
class CyclingSensor : public PeerModel {
public:
    static constexpr uint64_t kPeriodMs = 1000;
    static constexpr uint8_t kFeatures = 0x07;   // wheel, crank, multiple locations
    static constexpr uint8_t kLocation = 12;     // Rear Wheel
    static constexpr double kWheelMetres = 1.75; // the wheel the application assumes by default

    CyclingSensor(Simulator& simulator, size_t peerIndex);

    std::vector<GattServiceDescription> baseDatabase() const override;
    void onConnect() override;
    void onDisconnect() override;
    uint8_t onWrite(uint16_t handle, std::span<const uint8_t> value) override;
    void onConfiguration(uint16_t valueHandle, uint16_t configuration) override;

    // A cumulative count turning at a rate; the time of its last whole revolution is what a sensor
    // reports.
    struct Revolutions {
        uint32_t count = 0;
        double fraction = 0; // of a revolution since the last whole one
        uint64_t lastMs = 0; // virtual time of the last whole revolution
        // Turns at perSecond revolutions a second from fromMs for ms.
        void turn(double perSecond, uint64_t fromMs, uint64_t ms);
        // A whole revolution ends at atMs.
        void restart(uint64_t atMs) {
            fraction = 0;
            lastMs = atMs;
        }
        uint16_t eventTime() const { return static_cast<uint16_t>(lastMs * 1024 / 1000); }
    };
    // CSC Measurement with the wheel and the crank data.
    static std::vector<uint8_t> measurement(const Revolutions& wheel, const Revolutions& crank);

private:
    enum class Phase { Riding, Coasting, Stopped };

    void tick();
    // The ride one second on: its phase, speed and cadence.
    void ride();
    void nextPhase();
    uint16_t measurementHandle() const;
    int draw(int low, int high);

    PeerContext m_context;
    ScControlPoint m_controlPoint;
    bool m_notifying = false;
    bool m_ticking = false;
    uint64_t m_lastTickMs = 0;
    Phase m_phase = Phase::Riding;
    int m_phaseSeconds = 0; // left in the phase
    double m_speed = 0;     // km/h
    double m_targetSpeed = 0;
    double m_cadence = 0; // rpm
    Revolutions m_wheel;
    Revolutions m_crank;
};

} // namespace orv::sim
