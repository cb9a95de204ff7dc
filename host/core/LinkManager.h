// Connections: connecting, disconnecting, connection parameters and RSSI of the host's links.
#pragma once

#include "ClientLink.h"
#include "ControllerPort.h"
#include "EventPoster.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>

namespace orv::host {

// Requests check their arguments against the links and are answered by events posted when the
// controller's deliveries arrive (onXxx below).
class LinkManager {
public:
    LinkManager(EventPoster& poster, LocalGattServer& server) : m_poster(poster), m_server(server) {}

    // The controller the links run on; null drops every link without an event.
    void attach(ControllerPort* controller);

    OrvBleResult setDefaults(uint16_t scanInterval, uint16_t scanWindow,
                             const ConnectionParameters& parameters);
    OrvBleResult connect(const BleTypedAddress& address);
    OrvBleResult cancelConnect();
    OrvBleResult disconnect(uint32_t cid);
    OrvBleResult update(const BleTypedAddress& address, const ConnectionParameters& parameters);
    OrvBleResult answerRequest(uint32_t cid, uint16_t requestId, bool accept);
    OrvBleResult readRssi(const BleTypedAddress& address);
    // The GATT client of a usable link, or null (unknown or going down).
    GattClient* client(uint32_t cid);
    OrvBleResult notify(uint32_t cid, uint16_t handle, std::span<const uint8_t> data);

    // Security: the level asked for later pairings (true: man-in-the-middle protection), encryption of
    // a link (level 1, or 2 with man-in-the-middle protection) and the answers to pairing questions.
    void setMitm(bool mitm) { m_mitm = mitm; }
    OrvBleResult setEncryption(uint32_t cid, int level);
    OrvBleResult answerJustWorks(const BleTypedAddress& address, bool accept, bool bond);
    OrvBleResult answerPasskey(const BleTypedAddress& address, bool accept);
    OrvBleResult cancelBonding(const BleTypedAddress& address);
    void cancelPairings();

    void onDefaultsSet(uint16_t status);
    void onConnectOutcome(ConnectOutcome outcome, uint16_t handle);
    void onDisconnected(uint16_t handle, uint8_t reason);
    void onUpdated(uint16_t handle, uint16_t status, const ConnectionParameters& parameters);
    void onParameterRequest(uint16_t handle, uint8_t identifier, const ConnectionParameters& parameters);
    void onRssiRead(uint16_t handle, uint16_t status, int8_t rssi);
    void onPairingMethod(uint16_t handle, PairingMethod method, uint32_t passkey);
    void onPairingComplete(uint16_t handle, uint16_t status);
    void onEncryptionChanged(uint16_t handle, uint8_t status, bool authenticated);
    void onAttPdu(uint16_t handle, const std::vector<uint8_t>& pdu);
    void onAttSent(uint16_t handle);
    void onTimer(uint32_t timerId);

private:
    ClientLink* find(uint32_t cid);
    ClientLink* find(const BleTypedAddress& address);

    EventPoster& m_poster;
    LocalGattServer& m_server;
    ControllerPort* m_controller = nullptr;
    std::map<uint32_t, std::unique_ptr<ClientLink>> m_links;
    std::optional<BleTypedAddress> m_connecting;
    bool m_mitm = false;
};

} // namespace orv::host
