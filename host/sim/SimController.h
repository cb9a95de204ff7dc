// Simulated radio: the controller of the virtual dongle (start-up, scanning, bond store, local database).
#pragma once

#include "../core/ControllerPort.h"

#include <cstdint>
#include <vector>

namespace orv::sim {

class Simulator;
struct PeerSpec;

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
    void allocateDatabase(uint16_t attributeCount) override;
    void addDatabase(const std::vector<orv::host::LocalService>& services) override;

    // The dongle went away or failed: stops everything and reports the error code to a started host.
    void loseDongle(uint32_t code);
    // The dongle reports an error code without going away.
    void reportError(uint32_t code);
    // The world was replaced under the controller: ongoing activity is dropped.
    void worldReplaced();

    const std::vector<orv::host::LocalService>& localDatabase() const { return m_database; }

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
    std::vector<orv::host::LocalService> m_database;
};

} // namespace orv::sim
