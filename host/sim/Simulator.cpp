// Simulated radio: the process-wide simulator (world, virtual clock, USB list, listeners, bond store).
#include "Simulator.h"

#include "../core/AttProtocol.h"
#include "AddressText.h"
#include "SimController.h"
#include "WorldParser.h"
#include "veyrasim.h"

#include <veyrauuids.h>

#include <algorithm>
#include <chrono>
#include <iostream>

namespace orv::sim {
namespace {

constexpr uint32_t kOpenOk = 0;
constexpr uint32_t kOpenBusy = 170;
constexpr uint32_t kOpenNoDevice = 2;
constexpr uint32_t kCommunicationLost = 2;
constexpr uint8_t kDeleteBondOfRequestingDevice = 0x03;

int64_t systemDateMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

} // namespace

const std::string Simulator::kDongleInterfacePath =
    "\\\\?\\usb#vid_2f1e&pid_0001#sim0001#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";

Simulator& Simulator::instance() {
    static Simulator simulator;
    return simulator;
}

Simulator::Simulator() {
    std::string error;
    if (!loadWorld(builtInWorldJson(), &error)) {
        std::cerr << "veyrasim: built-in world rejected: " << error << '\n';
    }
}

bool Simulator::loadWorld(const std::string& json, std::string* error) {
    auto world = WorldParser::parse(json, error);
    if (!world) {
        return false;
    }
    startWorld(std::move(*world));
    return true;
}

void Simulator::startWorld(World world) {
    // Links end first, while the old world's peers are there to hear it.
    if (m_controller != nullptr) {
        m_controller->worldReplaced();
    }
    m_world = std::move(world);
    m_scheduler.reset();
    m_random.seed(m_world.seed);
    m_donglePresent = m_world.dongle.present;
    m_otherUsb = m_world.otherUsbDevices;
    m_pairedListFails = false;
    std::vector<orv::host::BondEntry> seed;
    for (const PeerDescription& peer : m_world.peers) {
        if (peer.bonded) {
            seed.push_back({peer.address, peer.name.value_or(""), peer.appearance.value_or(0)});
        }
    }
    m_bonds.setSeed(std::move(seed));
    m_peerModels.clear();
    for (size_t i = 0; i < m_world.peers.size(); ++i) {
        m_peerModels.push_back(createPeerModel(*this, i));
        if (m_peerModels[i] != nullptr && m_world.peers[i].gatt.empty()) {
            m_world.peers[i].gatt = m_peerModels[i]->baseDatabase();
        }
    }
    m_peerServers.clear();
    m_peerStates.clear();
    for (const PeerDescription& peer : m_world.peers) {
        m_peerServers.emplace_back(buildAttributeTable(peer.gatt, peer.security));
        m_peerStates.push_back({peer.name, false, false, std::nullopt, false, false, std::nullopt, {}});
    }
    for (size_t i = 0; i < m_peerServers.size(); ++i) {
        m_peerServers[i].setWriteListener(
            [this, i](const PeerAttribute& attribute) { onPeerWrite(i, attribute); });
    }
    for (size_t i = 0; i < m_peerModels.size(); ++i) {
        m_peerServers[i].setModel(m_peerModels[i].get());
    }
    m_peerReceived.assign(m_world.peers.size(), {});
    m_peerClientValues.assign(m_world.peers.size(), {});
    for (const ScriptedEvent& event : m_world.events) {
        scheduleScriptedEvent(event);
    }
    // Last, so that time 0 is dated as close as can be to the moment the world is ready to run.
    m_startDateMs = m_wallClock ? m_wallClock() : systemDateMs();
}

void Simulator::scheduleScriptedEvent(const ScriptedEvent& event) {
    m_scheduler.scheduleAt(event.at, [this, event] {
        switch (event.action) {
        case ScriptedAction::UnplugDongle:
            unplugDongle();
            break;
        case ScriptedAction::UnplugUsb:
            unplugUsbDevice(event.interfacePath);
            break;
        case ScriptedAction::Suspend:
        case ScriptedAction::Resume:
            reportPower(event.action == ScriptedAction::Suspend ? kPowerSuspend : kPowerResumeSuspend);
            break;
        case ScriptedAction::HostError:
            injectHostError(event.code);
            break;
        case ScriptedAction::Disconnect:
            peerDisconnects(event.address, static_cast<uint8_t>(event.code));
            break;
        }
    });
}

UsbDeviceDescription Simulator::dongleDevice() const {
    UsbDeviceDescription dongle;
    dongle.hardwareIds = {"USB\\VID_2F1E&PID_0001&REV_0100", "USB\\VID_2F1E&PID_0001"};
    dongle.service = m_world.dongle.driver ? "orvbc" : "";
    dongle.interfacePath = kDongleInterfacePath;
    return dongle;
}

std::vector<UsbDeviceDescription> Simulator::presentUsbDevices() const {
    std::vector<UsbDeviceDescription> devices = m_otherUsb;
    if (m_donglePresent) {
        devices.insert(devices.begin(), dongleDevice());
    }
    return devices;
}

uint32_t Simulator::openUsbInterface(const std::string& path) const {
    if (m_donglePresent && path == kDongleInterfacePath) {
        return m_world.dongle.busy ? kOpenBusy : kOpenOk;
    }
    for (const UsbDeviceDescription& device : m_otherUsb) {
        if (device.interfacePath == path) {
            return kOpenOk;
        }
    }
    return kOpenNoDevice;
}

void Simulator::setDeviceChangeListener(std::function<void(uint32_t)> listener) {
    m_deviceChange = std::move(listener);
}

void Simulator::setPowerListener(std::function<void(uint32_t)> listener) {
    m_power = std::move(listener);
}

void Simulator::unplugDongle() {
    if (!m_donglePresent) {
        return;
    }
    m_donglePresent = false;
    m_scheduler.scheduleIn(0, [this] {
        if (m_deviceChange) {
            m_deviceChange(kDeviceRemoveComplete);
        }
        if (m_controller != nullptr) {
            m_controller->loseDongle(kCommunicationLost);
        }
    });
}

void Simulator::unplugUsbDevice(const std::string& interfacePath) {
    if (interfacePath == kDongleInterfacePath) {
        unplugDongle();
        return;
    }
    const auto removed = std::erase_if(m_otherUsb, [&interfacePath](const UsbDeviceDescription& device) {
        return device.interfacePath == interfacePath;
    });
    if (removed == 0) {
        return;
    }
    m_scheduler.scheduleIn(0, [this] {
        if (m_deviceChange) {
            m_deviceChange(kDeviceRemoveComplete);
        }
    });
}

void Simulator::reportPower(uint32_t powerEvent) {
    m_scheduler.scheduleIn(0, [this, powerEvent] {
        if (m_power) {
            m_power(powerEvent);
        }
    });
}

void Simulator::onPeerWrite(size_t index, const PeerAttribute& attribute) {
    namespace att = orv::host::att;
    if (att::sameUuid(attribute.type, MakeUuid16(CharacteristicUuid::DeviceName))) {
        m_peerStates[index].name = std::string(attribute.value.begin(), attribute.value.end());
    } else if (att::sameUuid(attribute.type, MakeUuid16(CharacteristicUuid::BondManagementControlPoint)) &&
               !attribute.value.empty() && attribute.value[0] == kDeleteBondOfRequestingDevice) {
        m_peerStates[index].bondForgotten = true;
    }
}

std::optional<size_t> Simulator::peerByText(const std::string& address) const {
    const auto parsed = parseAddress(address, 0);
    if (!parsed) {
        return std::nullopt;
    }
    for (size_t i = 0; i < m_world.peers.size(); ++i) {
        BleTypedAddress candidate = m_world.peers[i].address;
        candidate.type = 0;
        if (sameAddress(candidate, *parsed)) {
            return i;
        }
    }
    return std::nullopt;
}

void Simulator::peerLinked(size_t index, bool linked) {
    PeerModel* model = m_peerModels.at(index).get();
    if (model == nullptr) {
        return;
    }
    if (linked) {
        model->onConnect();
    } else {
        model->onDisconnect();
    }
}

void Simulator::peerEncrypted(size_t index) {
    if (PeerModel* model = m_peerModels.at(index).get()) {
        model->onEncrypted();
    }
}

void Simulator::peerClientReceives(size_t index, std::span<const uint8_t> pdu) {
    if (PeerModel* model = m_peerModels.at(index).get()) {
        model->onHostPdu(pdu);
    }
}

int8_t Simulator::peerRssi(size_t index) {
    if (const auto rssi = m_peerStates.at(index).rssi) {
        return *rssi;
    }
    std::optional<int> rssi;
    if (PeerModel* model = m_peerModels.at(index).get()) {
        rssi = model->rssi();
    }
    if (!rssi) {
        const RssiModel& model = m_world.peers.at(index).rssi;
        std::uniform_int_distribution<int> jitter(-model.jitter, model.jitter);
        rssi = model.mean + jitter(m_random);
    }
    return static_cast<int8_t>(std::clamp(*rssi, -127, 20));
}

void Simulator::peerDisconnects(const BleTypedAddress& address, uint8_t reason) {
    if (m_controller != nullptr) {
        m_controller->connections().peerDisconnects(address, reason);
    }
}

void Simulator::injectHostError(uint32_t code) {
    m_scheduler.scheduleIn(0, [this, code] {
        if (m_controller != nullptr) {
            m_controller->reportError(code);
        }
    });
}

} // namespace orv::sim
