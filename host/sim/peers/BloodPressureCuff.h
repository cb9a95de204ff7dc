// Blood Pressure service: a simulated cuff that measures every 30 seconds.
#pragma once

#include "PeerContext.h"
#include "PeerModel.h"

#include <cstdint>

namespace orv::sim {

// Kind "bloodPressure": Generic Access, Device Information and Blood Pressure (Measurement,
// indicate; Intermediate Cuff Pressure, notify; Feature, read). While the client has indications of
// the measurement on, a cycle every 30 s of virtual time: ten falling cuff pressures a second apart
// (notified where notifications are on, diastolic and mean arterial NaN), then the measurement in
// mmHg, indicated, whose time stamp, pulse rate, user (1 or unknown) and status come and go.
// Everything it draws comes from the peer's seeded generator.
class BloodPressureCuff : public PeerModel {
public:
    static constexpr uint64_t kCycleMs = 30000;
    static constexpr uint64_t kCuffStepMs = 1000;
    static constexpr int kCuffReadings = 10;

    BloodPressureCuff(Simulator& simulator, size_t peerIndex);

    std::vector<GattServiceDescription> baseDatabase() const override;
    void onConnect() override;
    void onDisconnect() override;
    void onConfiguration(uint16_t valueHandle, uint16_t configuration) override;

private:
    void startCycle();
    void cuffReading(int index);
    void measure();
    int draw(int low, int high);

    PeerContext m_context;
    bool m_running = false;
    int m_systolic = 0;
    int m_diastolic = 0;
    int m_cuffStart = 0; // mmHg at the first cuff reading
};

} // namespace orv::sim
