// Simulated radio: what a peer's behaviour model may use (clock, randomness, attributes, link).
#pragma once

#include "../PeerAttribute.h"
#include "veyrasim.h"

#include <cstdint>
#include <functional>
#include <random>
#include <span>

namespace orv::sim {

class AttServer;
class Simulator;

// Owned by one model for one world peer. Timers are dropped by cancelTimers(), on destruction and
// when the world is replaced.
class PeerContext {
public:
    PeerContext(Simulator& simulator, size_t peerIndex);
    ~PeerContext();
    PeerContext(const PeerContext&) = delete;
    PeerContext& operator=(const PeerContext&) = delete;

    const PeerDescription& description() const;
    AttServer& attributes() const;
    uint64_t now() const;

    // Runs action after delayMs of virtual time.
    void after(uint64_t delayMs, std::function<void()> action);
    void cancelTimers();

    // Seeded from the world's seed and the peer's place in the world only, so that what one peer
    // draws does not depend on the activity of the others.
    std::mt19937& random() { return m_random; }

    // Handle of the first characteristic value with that 16-bit UUID, 0 when the database has none.
    uint16_t valueHandle(uint16_t uuid) const;
    // The same for a UUID of any kind.
    uint16_t valueHandle(const BleUuid& uuid) const;
    // The same within the first service with the 16-bit UUID service.
    uint16_t valueHandle(uint16_t service, uint16_t uuid) const;
    uint16_t valueHandle(uint16_t service, const BleUuid& uuid) const;
    // The configuration descriptor of the characteristic value at valueHandle, if it has one.
    PeerAttribute* configurationOf(uint16_t valueHandle) const;
    // Switches off every client configuration of the database: a new client subscribes again.
    void forgetSubscriptions() const;

    // Sends a notification of value to the host; false when the peer has no link.
    bool notify(uint16_t handle, std::span<const uint8_t> value) const;
    // Sends an indication of value to the host; false when the peer has no link. One indication is
    // outstanding per link: a later one waits until the host has confirmed the one before it; whatever
    // still waits when the link goes is dropped with it. Anything sent from within onWrite reaches the
    // host before the write's response: a model answers a request from a later action (after(0)), as
    // IndicatedControlPoint does.
    bool indicate(uint16_t handle, std::span<const uint8_t> value) const;
    // False while a test hook wants the peer's control points to leave requests unanswered.
    bool answersControlPoints() const;
    // True while a test hook wants the peer's control points to fail every request they answer.
    bool failsControlPoints() const;
    // Whether the client has switched on notifications (or indications) of the value at valueHandle.
    bool notifying(uint16_t valueHandle) const;
    bool indicating(uint16_t valueHandle) const;
    // Sends one ATT PDU to the host (a request or command of the peer as a client); false when the
    // peer has no link.
    bool send(std::vector<uint8_t> pdu) const;
    // Keeps what the peer received as a client, for the test hook takePeerClientValues.
    void record(PeerClientValue value) const;
    // The peer forgets its bond with the dongle: the next encryption fails until it pairs again.
    void forgetBond() const;
    // The peer drops its link with that HCI reason; false when it has none.
    bool disconnect(uint8_t reason) const;
    // Keeps a value written to the peer for the test hook takePeerRecordedWrites.
    void recordWrite(uint16_t handle, std::span<const uint8_t> value) const;

private:
    Simulator& m_simulator;
    size_t m_peerIndex;
    std::mt19937 m_random;
};

} // namespace orv::sim
