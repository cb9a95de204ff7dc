// Simulated radio: the link layer of the virtual dongle (connections, parameters, RSSI, ATT transport).
#pragma once

#include "../core/ControllerPort.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace orv::sim {

class Simulator;

// Deliveries to the host are scheduled on the simulator's clock, in order per link, and dropped once
// the link is gone or this object is destroyed.
class SimConnections {
public:
    SimConnections(orv::host::HostPort& host, Simulator& simulator);
    ~SimConnections();
    SimConnections(const SimConnections&) = delete;
    SimConnections& operator=(const SimConnections&) = delete;

    void setDefaults(uint16_t scanInterval, uint16_t scanWindow,
                     const orv::host::ConnectionParameters& parameters);
    void connect(const BleTypedAddress& address);
    void cancelConnect();
    void disconnect(uint16_t handle);
    void update(uint16_t handle, const orv::host::ConnectionParameters& parameters);
    void answerRequest(uint16_t handle, uint8_t identifier, bool accept);
    void readRssi(uint16_t handle);
    void sendAtt(uint16_t handle, std::vector<uint8_t> pdu);

    // The peer's side of pairing and encryption (see ControllerPort). A pairing ends as the world's
    // peer decides: Just Works at once, a passkey typed right or wrong after a while, or never.
    void startPairing(uint16_t handle, bool mitm);
    void confirmPairing(uint16_t handle, bool accept, bool bond);
    void cancelPairing(uint16_t handle);
    void startEncryption(uint16_t handle);

    // Peer side (world scripts and test hooks); false when the peer has no link.
    bool peerDisconnects(const BleTypedAddress& address, uint8_t reason);
    bool peerSends(const BleTypedAddress& address, std::vector<uint8_t> pdu);
    // Sends an indication PDU. One indication is outstanding per link: a later one waits until the
    // host has confirmed the one before it. Indications still waiting go with the link.
    bool peerIndicates(const BleTypedAddress& address, std::vector<uint8_t> pdu);
    bool peerRequests(const BleTypedAddress& address, const orv::host::ConnectionParameters& parameters);

    bool linked(const BleTypedAddress& address) const { return findLink(address).has_value(); }
    // Drops every link without telling the host (the dongle is gone or the world replaced); the
    // peers' behaviour models hear of it.
    void dropAll();

private:
    struct Pairing {
        orv::host::PairingMethod method = orv::host::PairingMethod::JustWorks;
        uint32_t passkey = 0;
        uint32_t serial = 0; // tells a pairing from a later one on the same link
    };
    struct Link {
        size_t peerIndex = 0;
        std::optional<Pairing> pairing;
        orv::host::ConnectionParameters parameters;
        uint64_t lastToPeer = 0;
        uint64_t lastToHost = 0;
        uint8_t nextRequestId = 1;
        std::map<uint8_t, orv::host::ConnectionParameters> openRequests;
        bool indicationOutstanding = false; // sent and not confirmed yet
        std::deque<std::vector<uint8_t>> heldIndications;
    };

    std::optional<size_t> findPeer(const BleTypedAddress& address) const;
    std::optional<uint16_t> findLink(const BleTypedAddress& address) const;
    void establish(size_t peerIndex);
    void schedulePeerRequest(uint16_t handle);
    // Sends the first held indication unless one is outstanding.
    void sendNextIndication(uint16_t handle, Link& link);
    // Schedules action after one connection interval, after everything already sent that way.
    void toPeer(uint16_t handle, std::function<void(Link&)> action);
    void toHost(uint16_t handle, std::function<void(Link&)> action);
    void later(uint64_t delay, std::function<void()> action);
    // Ends the pairing with that serial, if it is still under way, with status (or an injected one).
    void finishPairing(uint16_t handle, uint32_t serial, uint16_t status, bool bond);
    void storeBond(size_t peerIndex, bool authenticated);
    void encrypted(uint16_t handle, Link& link, bool authenticated);

    orv::host::HostPort& m_host;
    Simulator& m_simulator;
    orv::host::ConnectionParameters m_defaults{24, 40, 0, 500};
    bool m_connecting = false; // also the owner of the pending attempt's scheduled outcome
    uint16_t m_nextHandle = 0x0040;
    uint32_t m_nextPairing = 1;
    std::map<uint16_t, Link> m_links;
};

} // namespace orv::sim
