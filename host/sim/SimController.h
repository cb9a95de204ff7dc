// Simulated radio: the controller of the virtual dongle (start-up, scanning, bond store, local database).
#pragma once

#include "../core/ControllerPort.h"
#include "SimConnections.h"

#include <cstdint>
#include <set>
#include <vector>

namespace orv::sim {

class Simulator;
struct PeerDescription;

// Every delivery to the host is scheduled on the simulator's clock and dropped when the controller
// is destroyed.
class SimController : public orv::host::ControllerPort {
public:
    SimController(orv::host::HostPort& host, Simulator& simulator);
    ~SimController() override;
    SimController(const SimController&) = delete;
    SimController& operator=(const SimController&) = delete;

    bool start() override;
    void startScan() override;
    void stopScan() override;
    bool readBonds(std::vector<orv::host::BondEntry>& out) override;
    bool updateBond(const orv::host::BondEntry& entry) override;
    void removeBond(const BleTypedAddress& address) override;
    void allocateDatabase(uint16_t attributeCount) override;
    void addDatabase(const std::vector<orv::host::LocalService>& services) override;
    void setConnectionDefaults(uint16_t scanInterval, uint16_t scanWindow,
                               const orv::host::ConnectionParameters& parameters) override;
    void connect(const BleTypedAddress& address) override;
    void cancelConnect() override;
    void disconnect(uint16_t handle, uint8_t reason) override;
    void updateConnection(uint16_t handle, const orv::host::ConnectionParameters& parameters) override;
    void answerParameterRequest(uint16_t handle, uint8_t identifier, bool accept) override;
    void readRssi(uint16_t handle) override;
    void sendAtt(uint16_t handle, std::vector<uint8_t> pdu) override;
    void startPairing(uint16_t handle, bool mitm) override { m_connections.startPairing(handle, mitm); }
    void confirmPairing(uint16_t handle, bool accept, bool bond) override {
        m_connections.confirmPairing(handle, accept, bond);
    }
    void cancelPairing(uint16_t handle) override { m_connections.cancelPairing(handle); }
    void startEncryption(uint16_t handle) override { m_connections.startEncryption(handle); }
    uint64_t nowMs() const override;
    int64_t startDateMs() const override;
    uint32_t startTimer(uint64_t delayMs) override;
    void cancelTimer(uint32_t timerId) override;

    SimConnections& connections() { return m_connections; }

    // The dongle went away or failed: stops everything and reports the error code to a started host.
    void loseDongle(uint32_t code);
    // The dongle reports an error code without going away; a non-zero code ends its activity as
    // loseDongle does.
    void reportError(uint32_t code);
    // The world was replaced under the controller: ongoing activity is dropped.
    void worldReplaced();

private:
    void finishStartup();
    void scheduleReport(size_t peerIndex, uint64_t delay);
    void sendReport(size_t peerIndex);
    void endScan();
    const void* scanOwner() const { return &m_scanning; }

    orv::host::HostPort& m_host;
    Simulator& m_simulator;
    bool m_attached = false; // start() succeeded
    bool m_lost = false;
    bool m_scanning = false;
    uint16_t m_nextDatabaseId = 1;
    SimConnections m_connections;
    uint32_t m_nextTimer = 1;
    std::set<uint32_t> m_timers; // started and neither fired nor cancelled
};

} // namespace orv::sim
