// Connections: one link to a peer with its GATT client and open parameter requests.
#pragma once

#include "ControllerPort.h"
#include "EventPoster.h"
#include "GattClient.h"
#include "LinkSecurity.h"
#include "LocalGattServer.h"

#include <cstdint>
#include <deque>
#include <set>

namespace orv::host {

class ClientLink final : private GattClient::Bearer, private GattResults {
public:
    ClientLink(uint32_t cid, const BleTypedAddress& address, ControllerPort& controller, EventPoster& poster,
               LocalGattServer& server);
    ~ClientLink();
    ClientLink(const ClientLink&) = delete;
    ClientLink& operator=(const ClientLink&) = delete;

    uint32_t cid() const { return m_cid; }
    const BleTypedAddress& address() const { return m_address; }
    GattClient& gatt() { return m_gatt; }
    LinkSecurity& security() { return m_security; }

    bool disconnecting() const { return m_disconnecting; }
    void disconnect();

    // ATT from the peer: responses and values go to the GATT client, requests to the local server.
    void onAttPdu(std::span<const uint8_t> pdu);
    void onAttSent();
    OrvBleResult notify(uint16_t handle, std::span<const uint8_t> data);

    void rememberRequest(uint8_t identifier) { m_openRequests.insert(identifier); }
    // Forgets the request; false when the peer made no such request.
    bool takeRequest(uint8_t identifier) { return m_openRequests.erase(identifier) != 0; }

private:
    void sendPdu(std::vector<uint8_t> pdu) override;
    uint32_t startTimer(uint64_t delayMs) override;
    void cancelTimer(uint32_t timerId) override;
    void transactionTimedOut() override;

    void databaseDiscovered(uint16_t status, const std::vector<DiscoveredService>& services) override;
    void readDone(uint16_t status, uint16_t handle, const std::vector<uint8_t>& value) override;
    void writeDone(uint16_t status, uint16_t handle) override;
    void valueReceived(uint16_t handle, const std::vector<uint8_t>& value, bool indication) override;

    uint32_t m_cid;
    BleTypedAddress m_address;
    ControllerPort& m_controller;
    EventPoster& m_poster;
    LocalGattServer& m_server;
    LocalGattServer::Send m_serverSend;
    GattClient m_gatt;
    LinkSecurity m_security;
    std::deque<bool> m_unsentFromClient; // per PDU handed to the controller: sent by the GATT client
    std::set<uint8_t> m_openRequests;
    bool m_disconnecting = false;
};

} // namespace orv::host
