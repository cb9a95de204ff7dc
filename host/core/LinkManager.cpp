// Connections: connecting, disconnecting, connection parameters and RSSI of the host's links.
#include "LinkManager.h"

#include "HostLog.h"

namespace orv::host {
namespace {

bool sameDevice(const BleTypedAddress& a, const BleTypedAddress& b) {
    return a.type == b.type && a.nap == b.nap && a.uap == b.uap && (a.lap & 0xFFFFFF) == (b.lap & 0xFFFFFF);
}

} // namespace

void LinkManager::attach(ControllerPort* controller) {
    m_controller = controller;
    m_links.clear();
    m_connecting.reset();
    m_mitm = false;
}

ClientLink* LinkManager::find(uint32_t cid) {
    const auto it = m_links.find(cid);
    return it == m_links.end() ? nullptr : it->second.get();
}

ClientLink* LinkManager::find(const BleTypedAddress& address) {
    for (auto& [cid, link] : m_links) {
        if (sameDevice(link->address(), address) && !link->disconnecting()) {
            return link.get();
        }
    }
    return nullptr;
}

GattClient* LinkManager::client(uint32_t cid) {
    ClientLink* link = find(cid);
    return link == nullptr || link->disconnecting() ? nullptr : &link->gatt();
}

OrvBleResult LinkManager::setDefaults(uint16_t scanInterval, uint16_t scanWindow,
                                      const ConnectionParameters& parameters) {
    m_controller->setConnectionDefaults(scanInterval, scanWindow, parameters);
    return ORV_BLE_OK;
}

OrvBleResult LinkManager::connect(const BleTypedAddress& address) {
    if (m_connecting) {
        hostLog() << "veyrahost: a connection attempt is already under way\n";
        return ORV_BLE_E_BUSY;
    }
    if (find(address) != nullptr) {
        return ORV_BLE_E_WRONG_STATE;
    }
    m_connecting = address;
    m_controller->connect(address);
    return ORV_BLE_OK;
}

OrvBleResult LinkManager::cancelConnect() {
    if (!m_connecting) {
        return ORV_BLE_E_WRONG_STATE;
    }
    m_controller->cancelConnect();
    return ORV_BLE_OK;
}

OrvBleResult LinkManager::disconnect(uint32_t cid) {
    ClientLink* link = find(cid);
    if (link == nullptr) {
        return ORV_BLE_E_NOT_CONNECTED;
    }
    if (link->disconnecting()) {
        return ORV_BLE_E_WRONG_STATE;
    }
    link->disconnect();
    return ORV_BLE_OK;
}

OrvBleResult LinkManager::update(const BleTypedAddress& address, const ConnectionParameters& parameters) {
    ClientLink* link = find(address);
    if (link == nullptr) {
        return ORV_BLE_E_NOT_CONNECTED;
    }
    m_controller->updateConnection(static_cast<uint16_t>(link->cid()), parameters);
    return ORV_BLE_OK;
}

OrvBleResult LinkManager::answerRequest(uint32_t cid, uint16_t requestId, bool accept) {
    ClientLink* link = find(cid);
    if (link == nullptr || link->disconnecting()) {
        return ORV_BLE_E_NOT_CONNECTED;
    }
    if (requestId > 0xFF || !link->takeRequest(static_cast<uint8_t>(requestId))) {
        return ORV_BLE_E_INVALID_ARGUMENT;
    }
    m_controller->answerParameterRequest(static_cast<uint16_t>(cid), static_cast<uint8_t>(requestId), accept);
    return ORV_BLE_OK;
}

OrvBleResult LinkManager::readRssi(const BleTypedAddress& address) {
    ClientLink* link = find(address);
    if (link == nullptr) {
        return ORV_BLE_E_NOT_CONNECTED;
    }
    m_controller->readRssi(static_cast<uint16_t>(link->cid()));
    return ORV_BLE_OK;
}

void LinkManager::onDefaultsSet(uint16_t status) {
    m_poster.postValue(BLE_EVT_CONN_PARAMS_SET, status);
}

void LinkManager::onConnectOutcome(ConnectOutcome outcome, uint16_t handle) {
    const std::optional<BleTypedAddress> address = m_connecting;
    m_connecting.reset();
    auto* event = m_poster.create<BleHostConnectEvent>(BLE_EVT_CONNECT_RESULT);
    if (outcome == ConnectOutcome::Connected && address) {
        m_links[handle] = std::make_unique<ClientLink>(handle, *address, *m_controller, m_poster, m_server);
        event->cid = handle;
    } else {
        event->status =
            outcome == ConnectOutcome::Cancelled ? BLE_STATUS_CONNECT_CANCELLED : BLE_STATUS_CONNECT_FAILED;
    }
    m_poster.postRecord(BLE_EVT_CONNECT_RESULT, event);
}

void LinkManager::onDisconnected(uint16_t handle, uint8_t reason) {
    if (m_links.erase(handle) == 0) {
        return;
    }
    auto* event = m_poster.create<BleHostDisconnectEvent>(BLE_EVT_DISCONNECTED);
    event->reason = reason;
    event->cid = handle;
    m_poster.postRecord(BLE_EVT_DISCONNECTED, event);
}

void LinkManager::onUpdated(uint16_t handle, uint16_t status, const ConnectionParameters& parameters) {
    if (find(handle) == nullptr) {
        return;
    }
    if (status != 0) {
        m_poster.postValue(BLE_EVT_CONN_PARAMS_SET, status);
        return;
    }
    auto* event = m_poster.create<BleHostConnParamsUpdatedEvent>(BLE_EVT_CONN_PARAMS_UPDATED);
    event->cid = handle;
    event->intervalMin = parameters.intervalMin;
    event->intervalMax = parameters.intervalMax;
    event->slaveLatency = parameters.slaveLatency;
    event->supervisionTimeout = parameters.supervisionTimeout;
    m_poster.postRecord(BLE_EVT_CONN_PARAMS_UPDATED, event);
}

void LinkManager::onParameterRequest(uint16_t handle, uint8_t identifier,
                                     const ConnectionParameters& parameters) {
    ClientLink* link = find(handle);
    if (link == nullptr) {
        return;
    }
    link->rememberRequest(identifier);
    auto* event = m_poster.create<BleHostConnParamRequestEvent>(BLE_EVT_REMOTE_CONN_PARAMS);
    event->cid = handle;
    event->intervalMin = parameters.intervalMin;
    event->intervalMax = parameters.intervalMax;
    event->slaveLatency = parameters.slaveLatency;
    event->supervisionTimeout = parameters.supervisionTimeout;
    event->requestId = identifier;
    m_poster.postRecord(BLE_EVT_REMOTE_CONN_PARAMS, event);
}

void LinkManager::onRssiRead(uint16_t handle, uint16_t status, int8_t rssi) {
    if (find(handle) == nullptr) {
        return;
    }
    auto* event = m_poster.create<BleHostRssiEvent>(BLE_EVT_RSSI_READ);
    event->status = status;
    event->rssi = rssi;
    m_poster.postRecord(BLE_EVT_RSSI_READ, event);
}

void LinkManager::onAttPdu(uint16_t handle, const std::vector<uint8_t>& pdu) {
    if (ClientLink* link = find(handle)) {
        link->onAttPdu(pdu);
    }
}

void LinkManager::onAttSent(uint16_t handle) {
    if (ClientLink* link = find(handle)) {
        link->onAttSent();
    }
}

OrvBleResult LinkManager::notify(uint32_t cid, uint16_t handle, std::span<const uint8_t> data) {
    ClientLink* link = find(cid);
    if (link == nullptr || link->disconnecting()) {
        return ORV_BLE_E_NOT_CONNECTED;
    }
    return link->notify(handle, data);
}

void LinkManager::onTimer(uint32_t timerId) {
    for (auto& [cid, link] : m_links) {
        link->gatt().onTimer(timerId);
        link->security().onTimer(timerId);
    }
}

OrvBleResult LinkManager::setEncryption(uint32_t cid, int level) {
    ClientLink* link = find(cid);
    if (link == nullptr || link->disconnecting()) {
        return ORV_BLE_E_NOT_CONNECTED;
    }
    return link->security().encrypt(level == 2 || m_mitm);
}

OrvBleResult LinkManager::answerJustWorks(const BleTypedAddress& address, bool accept, bool bond) {
    ClientLink* link = find(address);
    return link == nullptr ? ORV_BLE_E_NOT_CONNECTED : link->security().answerJustWorks(accept, bond);
}

OrvBleResult LinkManager::answerPasskey(const BleTypedAddress& address, bool accept) {
    ClientLink* link = find(address);
    return link == nullptr ? ORV_BLE_E_NOT_CONNECTED : link->security().answerPasskey(accept);
}

OrvBleResult LinkManager::cancelBonding(const BleTypedAddress& address) {
    ClientLink* link = find(address);
    if (link == nullptr) {
        return ORV_BLE_E_NOT_CONNECTED;
    }
    return link->security().cancelPairing() ? ORV_BLE_OK : ORV_BLE_E_WRONG_STATE;
}

void LinkManager::cancelPairings() {
    for (auto& [cid, link] : m_links) {
        link->security().cancelPairing();
    }
}

void LinkManager::onPairingMethod(uint16_t handle, PairingMethod method, uint32_t passkey) {
    if (ClientLink* link = find(handle)) {
        link->security().onPairingMethod(method, passkey);
    }
}

void LinkManager::onPairingComplete(uint16_t handle, uint16_t status) {
    if (ClientLink* link = find(handle)) {
        link->security().onPairingComplete(status);
    }
}

void LinkManager::onEncryptionChanged(uint16_t handle, uint8_t status, bool authenticated) {
    if (ClientLink* link = find(handle)) {
        link->security().onEncryptionChanged(status, authenticated);
    }
}

} // namespace orv::host
