// Simulated radio: the driver and test interface (veyrasim.h) and the controller factory of the seam.
#include "SimController.h"
#include "Simulator.h"
#include "veyrasim.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

namespace orv::sim {

bool loadWorldJson(const std::string& json, std::string* error) {
    return Simulator::instance().loadWorld(json, error);
}

bool loadWorldFile(const std::string& path, std::string* error) {
    // A folder opens and reads as an empty file, which would be blamed on its JSON.
    std::error_code ignored; // a path that cannot be examined fails to open below
    if (std::filesystem::is_directory(path, ignored)) {
        if (error != nullptr) {
            *error = "cannot read world file " + path + ": it is a folder";
        }
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (!in) {
        if (error != nullptr) {
            *error = "cannot read world file " + path;
        }
        return false;
    }
    std::string parseError;
    if (!loadWorldJson(text.str(), &parseError)) {
        if (error != nullptr) {
            *error = path + ": " + parseError;
        }
        return false;
    }
    return true;
}

bool loadDefaultWorld(std::string* error) {
    const char* path = std::getenv("TINDREL_SIM_WORLD");
    if (path != nullptr && *path != '\0') {
        return loadWorldFile(path, error);
    }
    return loadWorldJson(builtInWorldJson(), error);
}

uint64_t now() {
    return Simulator::instance().scheduler().now();
}

std::optional<uint64_t> nextDueTime() {
    return Simulator::instance().scheduler().nextDueTime();
}

void advanceTo(uint64_t t) {
    Simulator::instance().scheduler().advanceTo(t);
}

void advance(uint64_t ms) {
    advanceTo(now() + ms);
}

void setWakeupListener(std::function<void()> listener) {
    Simulator::instance().scheduler().setWakeupListener(std::move(listener));
}

void setWallClock(std::function<int64_t()> clock) {
    Simulator::instance().setWallClock(std::move(clock));
}

std::vector<UsbDevice> presentUsbDevices() {
    std::vector<UsbDevice> devices;
    for (const UsbDeviceDescription& device : Simulator::instance().presentUsbDevices()) {
        devices.push_back({device.hardwareIds, device.service, device.interfacePath});
    }
    return devices;
}

uint32_t openUsbInterface(const std::string& path) {
    return Simulator::instance().openUsbInterface(path);
}

void setDeviceChangeListener(std::function<void(uint32_t eventType)> listener) {
    Simulator::instance().setDeviceChangeListener(std::move(listener));
}

void setPowerListener(std::function<void(uint32_t powerEvent)> listener) {
    Simulator::instance().setPowerListener(std::move(listener));
}

void unplugDongle() {
    Simulator::instance().unplugDongle();
}

void unplugUsbDevice(const std::string& interfacePath) {
    Simulator::instance().unplugUsbDevice(interfacePath);
}

void suspendSystem() {
    Simulator::instance().reportPower(kPowerSuspend);
}

void resumeSystem() {
    Simulator::instance().reportPower(kPowerResumeSuspend);
}

void injectHostError(uint32_t code) {
    Simulator::instance().injectHostError(code);
}

void setBondStorePath(const std::string& path) {
    Simulator::instance().bondStore().setPath(path);
}

void setPairedListFailure(bool fail) {
    Simulator::instance().setPairedListFails(fail);
}

} // namespace orv::sim

namespace orv::host {

std::unique_ptr<ControllerPort> openController(HostPort& host, std::string* error) {
    auto& simulator = orv::sim::Simulator::instance();
    const auto& dongle = simulator.world().dongle;
    const char* problem = nullptr;
    if (simulator.controller() != nullptr) {
        problem = "the dongle is already open";
    } else if (!simulator.donglePresent()) {
        problem = "no dongle is plugged in";
    } else if (!dongle.driver) {
        problem = "the dongle has no driver";
    } else if (dongle.busy) {
        problem = "another process holds the dongle open";
    } else if (dongle.initFails) {
        problem = "the dongle did not answer its initialisation";
    }
    if (problem != nullptr) {
        if (error != nullptr) {
            *error = problem;
        }
        return nullptr;
    }
    return std::make_unique<orv::sim::SimController>(host, simulator);
}

} // namespace orv::host

namespace orv::sim {
namespace {

SimConnections* connectionsOf(const std::string& peer, BleTypedAddress* address) {
    auto& simulator = Simulator::instance();
    const auto index = simulator.peerByText(peer);
    if (!index || simulator.controller() == nullptr) {
        return nullptr;
    }
    *address = simulator.world().peers[*index].address;
    return &simulator.controller()->connections();
}

} // namespace

bool injectNotification(const std::string& peer, uint16_t handle, const std::vector<uint8_t>& value,
                        bool indication) {
    std::vector<uint8_t> pdu{static_cast<uint8_t>(indication ? 0x1D : 0x1B),
                             static_cast<uint8_t>(handle & 0xFF), static_cast<uint8_t>(handle >> 8)};
    pdu.insert(pdu.end(), value.begin(), value.end());
    if (!indication) {
        return injectAttPdu(peer, pdu);
    }
    BleTypedAddress address{};
    SimConnections* connections = connectionsOf(peer, &address);
    return connections != nullptr && connections->peerIndicates(address, pdu);
}

bool injectAttPdu(const std::string& peer, const std::vector<uint8_t>& pdu) {
    BleTypedAddress address{};
    SimConnections* connections = connectionsOf(peer, &address);
    return connections != nullptr && connections->peerSends(address, pdu);
}

bool disconnectPeer(const std::string& peer, uint8_t reason) {
    BleTypedAddress address{};
    SimConnections* connections = connectionsOf(peer, &address);
    return connections != nullptr && connections->peerDisconnects(address, reason);
}

bool requestConnectionParameters(const std::string& peer, uint16_t intervalMin, uint16_t intervalMax,
                                 uint16_t slaveLatency, uint16_t supervisionTimeout) {
    BleTypedAddress address{};
    SimConnections* connections = connectionsOf(peer, &address);
    return connections != nullptr &&
           connections->peerRequests(address, {intervalMin, intervalMax, slaveLatency, supervisionTimeout});
}

bool setPeerAttError(const std::string& peer, uint16_t handle, uint8_t error) {
    auto& simulator = Simulator::instance();
    const auto index = simulator.peerByText(peer);
    if (!index || simulator.peerServer(*index).attribute(handle) == nullptr) {
        return false;
    }
    simulator.peerServer(*index).setError(handle, error);
    return true;
}

bool setPeerSilent(const std::string& peer, bool silent) {
    auto& simulator = Simulator::instance();
    const auto index = simulator.peerByText(peer);
    if (!index) {
        return false;
    }
    simulator.peerServer(*index).setSilent(silent);
    return true;
}

bool setControlPointsUnanswered(const std::string& peer, bool unanswered) {
    auto& simulator = Simulator::instance();
    const auto index = simulator.peerByText(peer);
    if (!index) {
        return false;
    }
    simulator.peerState(*index).controlPointsUnanswered = unanswered;
    return true;
}

bool setControlPointsFailing(const std::string& peer, bool failing) {
    auto& simulator = Simulator::instance();
    const auto index = simulator.peerByText(peer);
    if (!index) {
        return false;
    }
    simulator.peerState(*index).controlPointsFailing = failing;
    return true;
}

bool injectSecurityResult(const std::string& peer, uint16_t result) {
    auto& simulator = Simulator::instance();
    const auto index = simulator.peerByText(peer);
    if (!index) {
        return false;
    }
    simulator.peerState(*index).injectedSecurityResult = result;
    return true;
}

std::vector<std::vector<uint8_t>> takePeerReceived(const std::string& peer) {
    auto& simulator = Simulator::instance();
    const auto index = simulator.peerByText(peer);
    if (!index) {
        return {};
    }
    return std::exchange(simulator.peerReceived(*index), {});
}

std::vector<PeerClientValue> takePeerClientValues(const std::string& peer) {
    auto& simulator = Simulator::instance();
    const auto index = simulator.peerByText(peer);
    if (!index) {
        return {};
    }
    return std::exchange(simulator.peerClientValues(*index), {});
}

bool setPeerRssi(const std::string& peer, std::optional<int8_t> rssi) {
    auto& simulator = Simulator::instance();
    const auto index = simulator.peerByText(peer);
    if (!index) {
        return false;
    }
    simulator.peerState(*index).rssi = rssi;
    return true;
}

std::vector<PeerWrite> takePeerRecordedWrites(const std::string& peer) {
    auto& simulator = Simulator::instance();
    const auto index = simulator.peerByText(peer);
    if (!index) {
        return {};
    }
    return std::exchange(simulator.peerState(*index).recordedWrites, {});
}

std::optional<std::vector<uint8_t>> peerAttributeValue(const std::string& peer, uint16_t handle) {
    auto& simulator = Simulator::instance();
    const auto index = simulator.peerByText(peer);
    if (!index) {
        return std::nullopt;
    }
    const PeerAttribute* attribute = simulator.peerServer(*index).attribute(handle);
    if (attribute == nullptr) {
        return std::nullopt;
    }
    return attribute->value;
}

} // namespace orv::sim
