// Simulated radio: the controller of the virtual dongle (start-up, scanning, bond store, local database).
#include "SimController.h"

#include "Simulator.h"

#include <algorithm>
#include <random>

namespace orv::sim {
namespace {

constexpr uint64_t kScanStopDelayMs = 10;
constexpr uint64_t kDatabaseDelayMs = 5; // also the time the bond store takes

int8_t drawRssi(const RssiModel& model, std::mt19937& random) {
    std::uniform_int_distribution<int> jitter(-model.jitter, model.jitter);
    return static_cast<int8_t>(std::clamp(model.mean + jitter(random), -127, 20));
}

} // namespace

SimController::SimController(orv::host::HostPort& host, Simulator& simulator)
    : m_host(host), m_simulator(simulator), m_connections(host, simulator) {
    m_simulator.setController(this);
}

SimController::~SimController() {
    m_simulator.scheduler().cancel(this);
    m_simulator.scheduler().cancel(scanOwner());
    if (m_simulator.controller() == this) {
        m_simulator.setController(nullptr);
    }
}

bool SimController::start() {
    if (m_attached || m_lost || m_simulator.world().dongle.startWndFails) {
        return false;
    }
    m_attached = true;
    m_simulator.scheduler().scheduleIn(
        m_simulator.world().dongle.startupDelayMs, [this] { finishStartup(); }, this);
    return true;
}

void SimController::finishStartup() {
    const DongleDescription& dongle = m_simulator.world().dongle;
    orv::host::StartResult result;
    result.up = dongle.startup == StartupOutcome::Up;
    result.errorCode = dongle.startup == StartupOutcome::Error ? dongle.startupError : 0;
    m_host.onStarted(result);
}

void SimController::startScan() {
    if (m_scanning || m_lost) {
        return;
    }
    m_scanning = true;
    const auto& peers = m_simulator.world().peers;
    for (size_t i = 0; i < peers.size(); ++i) {
        if (!peers[i].advertising) {
            continue;
        }
        std::uniform_int_distribution<uint32_t> offset(0, peers[i].advIntervalMs - 1);
        scheduleReport(i, offset(m_simulator.random()));
    }
    const uint64_t duration = m_simulator.world().searchDurationMs;
    if (duration > 0) {
        m_simulator.scheduler().scheduleIn(
            duration, [this] { endScan(); }, scanOwner());
    }
}

void SimController::scheduleReport(size_t peerIndex, uint64_t delay) {
    m_simulator.scheduler().scheduleIn(
        delay, [this, peerIndex] { sendReport(peerIndex); }, scanOwner());
}

void SimController::sendReport(size_t peerIndex) {
    const PeerDescription& peer = m_simulator.world().peers.at(peerIndex);
    scheduleReport(peerIndex, peer.advIntervalMs);
    if (m_connections.linked(peer.address)) {
        return; // a connected peripheral stops advertising
    }
    orv::host::AdvertisingReport report;
    report.address = peer.address;
    report.rssi = drawRssi(peer.rssi, m_simulator.random());
    report.adFlags = peer.adFlags;
    report.name = m_simulator.peerState(peerIndex).name; // the world's name, or the one written since
    report.txPower = peer.txPower;
    report.appearance = peer.appearance;
    report.slaveInterval = peer.slaveInterval;
    m_host.onAdvertisingReport(report);
}

void SimController::stopScan() {
    if (!m_scanning) {
        return;
    }
    m_simulator.scheduler().cancel(scanOwner());
    m_simulator.scheduler().scheduleIn(
        kScanStopDelayMs, [this] { endScan(); }, scanOwner());
}

void SimController::endScan() {
    m_simulator.scheduler().cancel(scanOwner());
    m_scanning = false;
    m_host.onScanEnded(0);
}

bool SimController::readBonds(std::vector<orv::host::BondEntry>& out) {
    if (m_simulator.pairedListFails()) {
        return false;
    }
    out = m_simulator.bondStore().bonds();
    return true;
}

bool SimController::updateBond(const orv::host::BondEntry& entry) {
    return m_simulator.bondStore().update(entry);
}

void SimController::removeBond(const BleTypedAddress& address) {
    const uint16_t status = m_simulator.bondStore().remove(address) ? 0 : 1;
    m_simulator.scheduler().scheduleIn(
        kDatabaseDelayMs, [this, status, address] { m_host.onBondRemoved(status, address); }, this);
}

void SimController::allocateDatabase(uint16_t /*attributeCount*/) {
    const uint16_t id = m_nextDatabaseId++;
    m_simulator.scheduler().scheduleIn(
        kDatabaseDelayMs, [this, id] { m_host.onDatabaseAllocated(0, id); }, this);
}

// Peers reach the local database through the host's ATT server, so the radio only acknowledges it.
void SimController::addDatabase(const std::vector<orv::host::LocalService>& /*services*/) {
    m_simulator.scheduler().scheduleIn(
        kDatabaseDelayMs, [this] { m_host.onDatabaseAdded(0); }, this);
}

void SimController::loseDongle(uint32_t code) {
    m_simulator.scheduler().cancel(this);
    m_simulator.scheduler().cancel(scanOwner());
    m_scanning = false;
    m_timers.clear();
    m_connections.dropAll();
    const bool report = m_attached && !m_lost;
    m_lost = true;
    if (report) {
        m_host.onHardwareError(code);
    }
}

void SimController::reportError(uint32_t code) {
    if (code != 0) {
        loseDongle(code); // a failed dongle stops scanning and drops its links like an unplugged one
        return;
    }
    if (m_attached && !m_lost) {
        m_host.onHardwareError(code);
    }
}

void SimController::worldReplaced() {
    m_simulator.scheduler().cancel(scanOwner());
    m_scanning = false;
    m_connections.dropAll();
}

void SimController::setConnectionDefaults(uint16_t scanInterval, uint16_t scanWindow,
                                          const orv::host::ConnectionParameters& parameters) {
    m_connections.setDefaults(scanInterval, scanWindow, parameters);
}

void SimController::connect(const BleTypedAddress& address) {
    m_connections.connect(address);
}

void SimController::cancelConnect() {
    m_connections.cancelConnect();
}

void SimController::disconnect(uint16_t handle, uint8_t /*reason*/) {
    m_connections.disconnect(handle);
}

void SimController::updateConnection(uint16_t handle, const orv::host::ConnectionParameters& parameters) {
    m_connections.update(handle, parameters);
}

void SimController::answerParameterRequest(uint16_t handle, uint8_t identifier, bool accept) {
    m_connections.answerRequest(handle, identifier, accept);
}

void SimController::readRssi(uint16_t handle) {
    m_connections.readRssi(handle);
}

void SimController::sendAtt(uint16_t handle, std::vector<uint8_t> pdu) {
    m_connections.sendAtt(handle, std::move(pdu));
}

uint64_t SimController::nowMs() const {
    return m_simulator.scheduler().now();
}

int64_t SimController::startDateMs() const {
    return m_simulator.startDateMs();
}

uint32_t SimController::startTimer(uint64_t delayMs) {
    const uint32_t id = m_nextTimer++;
    m_timers.insert(id);
    m_simulator.scheduler().scheduleIn(
        delayMs,
        [this, id] {
            if (m_timers.erase(id) != 0) {
                m_host.onTimer(id);
            }
        },
        this);
    return id;
}

void SimController::cancelTimer(uint32_t timerId) {
    m_timers.erase(timerId);
}

} // namespace orv::sim
