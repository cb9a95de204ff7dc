// Simulated radio: the link layer of the virtual dongle (connections, parameters, RSSI, ATT transport).
#include "SimConnections.h"

#include "../core/AttProtocol.h"
#include "AddressText.h"
#include "ConnectionRules.h"
#include "Simulator.h"

#include <algorithm>
#include <random>
#include <utility>

namespace orv::sim {
namespace {

using orv::host::ConnectionParameters;
using orv::host::ConnectOutcome;

constexpr uint64_t kConnectTimeoutMs = 5000;
constexpr uint64_t kCommandDelayMs = 5;
constexpr uint8_t kLocalHostTerminated = 0x16;
constexpr uint64_t kUpdateIntervals = 6;    // the new parameters take effect a few connection events later
constexpr uint64_t kPairingIntervals = 4;   // confirm, random and key distribution exchanges
constexpr uint64_t kPasskeyTypingMs = 6000; // the user reads the passkey and types six digits and Enter
constexpr uint32_t kPasskeyLimit = 999999;
constexpr uint16_t kPairingFailed = 1;
constexpr uint8_t kKeyMissing = 0x06;

} // namespace

SimConnections::SimConnections(orv::host::HostPort& host, Simulator& simulator)
    : m_host(host), m_simulator(simulator) {}

SimConnections::~SimConnections() {
    dropAll();
}

void SimConnections::later(uint64_t delay, std::function<void()> action) {
    m_simulator.scheduler().scheduleIn(delay, std::move(action), this);
}

std::optional<size_t> SimConnections::findPeer(const BleTypedAddress& address) const {
    const auto& peers = m_simulator.world().peers;
    for (size_t i = 0; i < peers.size(); ++i) {
        if (sameAddress(peers[i].address, address)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<uint16_t> SimConnections::findLink(const BleTypedAddress& address) const {
    for (const auto& [handle, link] : m_links) {
        if (sameAddress(m_simulator.world().peers[link.peerIndex].address, address)) {
            return handle;
        }
    }
    return std::nullopt;
}

void SimConnections::setDefaults(uint16_t scanInterval, uint16_t scanWindow,
                                 const ConnectionParameters& parameters) {
    const bool valid = validScanParameters(scanInterval, scanWindow) && validConnectionParameters(parameters);
    if (valid) {
        m_defaults = parameters;
    }
    later(kCommandDelayMs,
          [this, valid] { m_host.onConnectionDefaultsSet(valid ? 0 : kHciInvalidParameters); });
}

void SimConnections::connect(const BleTypedAddress& address) {
    m_connecting = true;
    const auto peer = findPeer(address);
    auto& scheduler = m_simulator.scheduler();
    if (peer && m_simulator.world().peers[*peer].connectable &&
        m_simulator.world().peers[*peer].advertising && !findLink(address)) {
        const uint64_t delay =
            m_simulator.world().peers[*peer].advIntervalMs + connectionIntervalMs(m_defaults);
        scheduler.scheduleIn(
            delay, [this, index = *peer] { establish(index); }, &m_connecting);
        return;
    }
    scheduler.scheduleIn(
        kConnectTimeoutMs,
        [this] {
            m_connecting = false;
            m_host.onConnectOutcome(ConnectOutcome::Failed, 0, {});
        },
        &m_connecting);
}

void SimConnections::cancelConnect() {
    if (!m_connecting) {
        return;
    }
    m_simulator.scheduler().cancel(&m_connecting);
    m_connecting = false;
    later(kCommandDelayMs, [this] { m_host.onConnectOutcome(ConnectOutcome::Cancelled, 0, {}); });
}

void SimConnections::establish(size_t peerIndex) {
    m_connecting = false;
    const uint16_t handle = m_nextHandle++;
    Link link;
    link.peerIndex = peerIndex;
    link.parameters = m_defaults;
    link.lastToPeer = link.lastToHost = m_simulator.scheduler().now();
    m_links.emplace(handle, std::move(link));
    m_simulator.peerServer(peerIndex).setLinkSecurity(false, false);
    schedulePeerRequest(handle);
    m_host.onConnectOutcome(ConnectOutcome::Connected, handle, linkParameters(m_links.at(handle).parameters));
    m_simulator.peerLinked(peerIndex, true);
}

void SimConnections::schedulePeerRequest(uint16_t handle) {
    const auto& request = m_simulator.world().peers[m_links.at(handle).peerIndex].parameterRequest;
    if (!request) {
        return;
    }
    const ConnectionParameters parameters{request->intervalMin, request->intervalMax, request->slaveLatency,
                                          request->supervisionTimeout};
    later(request->afterMs, [this, handle, parameters] {
        const auto it = m_links.find(handle);
        if (it == m_links.end()) {
            return;
        }
        const uint8_t id = it->second.nextRequestId++;
        it->second.openRequests[id] = parameters;
        m_host.onParameterRequest(handle, id, parameters);
    });
}

void SimConnections::toPeer(uint16_t handle, std::function<void(Link&)> action) {
    Link& link = m_links.at(handle);
    link.lastToPeer =
        std::max(m_simulator.scheduler().now() + connectionIntervalMs(link.parameters), link.lastToPeer);
    m_simulator.scheduler().scheduleAt(
        link.lastToPeer,
        [this, handle, action = std::move(action)] {
            if (const auto it = m_links.find(handle); it != m_links.end()) {
                action(it->second);
            }
        },
        this);
}

void SimConnections::toHost(uint16_t handle, std::function<void(Link&)> action) {
    Link& link = m_links.at(handle);
    link.lastToHost =
        std::max(m_simulator.scheduler().now() + connectionIntervalMs(link.parameters), link.lastToHost);
    m_simulator.scheduler().scheduleAt(
        link.lastToHost,
        [this, handle, action = std::move(action)] {
            if (const auto it = m_links.find(handle); it != m_links.end()) {
                action(it->second);
            }
        },
        this);
}

void SimConnections::disconnect(uint16_t handle) {
    if (!m_links.contains(handle)) {
        return;
    }
    toPeer(handle, [this, handle](Link& link) {
        const size_t peerIndex = link.peerIndex;
        m_links.erase(handle);
        m_host.onDisconnected(handle, kLocalHostTerminated);
        m_simulator.peerLinked(peerIndex, false);
    });
}

void SimConnections::update(uint16_t handle, const ConnectionParameters& parameters) {
    if (!m_links.contains(handle)) {
        return;
    }
    if (!validConnectionParameters(parameters)) {
        toHost(handle, [this, handle, parameters](Link&) {
            m_host.onConnectionUpdated(handle, kHciInvalidParameters, parameters);
        });
        return;
    }
    const uint64_t delay = kUpdateIntervals * connectionIntervalMs(m_links.at(handle).parameters);
    later(delay, [this, handle, parameters] {
        const auto it = m_links.find(handle);
        if (it == m_links.end()) {
            return;
        }
        it->second.parameters = parameters;
        m_host.onConnectionUpdated(handle, 0, parameters);
    });
}

void SimConnections::answerRequest(uint16_t handle, uint8_t identifier, bool accept) {
    const auto it = m_links.find(handle);
    if (it == m_links.end()) {
        return;
    }
    const auto request = it->second.openRequests.find(identifier);
    if (request == it->second.openRequests.end()) {
        return;
    }
    const ConnectionParameters parameters = request->second;
    it->second.openRequests.erase(request);
    if (accept) {
        update(handle, parameters);
    }
}

void SimConnections::readRssi(uint16_t handle) {
    if (!m_links.contains(handle)) {
        return;
    }
    toHost(handle, [this, handle](Link& link) {
        m_host.onRssiRead(handle, 0, m_simulator.peerRssi(link.peerIndex));
    });
}

void SimConnections::sendAtt(uint16_t handle, std::vector<uint8_t> pdu) {
    if (!m_links.contains(handle)) {
        return;
    }
    toPeer(handle, [this, handle, pdu = std::move(pdu)](Link& link) {
        m_host.onAttSent(handle);
        namespace att = orv::host::att;
        if (!pdu.empty() && (att::isForClient(pdu[0]) || pdu[0] == att::kHandleValueConfirmation)) {
            m_simulator.peerReceived(link.peerIndex).push_back(pdu); // not for the peer's database
            if (pdu[0] != att::kHandleValueConfirmation) {
                m_simulator.peerClientReceives(link.peerIndex, pdu); // the peer as a client of the host
            } else if (link.indicationOutstanding) {
                link.indicationOutstanding = false;
                sendNextIndication(handle, link);
            }
            return;
        }
        auto response = m_simulator.peerServer(link.peerIndex).handle(pdu);
        if (response && m_links.contains(handle)) {
            toHost(handle,
                   [this, handle, bytes = std::move(*response)](Link&) { m_host.onAttPdu(handle, bytes); });
        }
    });
}

void SimConnections::sendNextIndication(uint16_t handle, Link& link) {
    if (link.indicationOutstanding || link.heldIndications.empty()) {
        return;
    }
    link.indicationOutstanding = true;
    toHost(handle, [this, handle, pdu = std::move(link.heldIndications.front())](Link&) {
        m_host.onAttPdu(handle, pdu);
    });
    link.heldIndications.pop_front();
}

void SimConnections::startPairing(uint16_t handle, bool mitm) {
    if (!m_links.contains(handle)) {
        return;
    }
    toHost(handle, [this, handle, mitm](Link& link) {
        const bool passkey = mitm && m_simulator.world().peers[link.peerIndex].passkeyInput;
        Pairing pairing;
        pairing.serial = m_nextPairing++;
        if (passkey) {
            pairing.method = orv::host::PairingMethod::PasskeyDisplay;
            pairing.passkey = std::uniform_int_distribution<uint32_t>(0, kPasskeyLimit)(m_simulator.random());
        }
        link.pairing = pairing;
        m_host.onPairingMethod(handle, pairing.method, pairing.passkey);
    });
}

void SimConnections::confirmPairing(uint16_t handle, bool accept, bool bond) {
    const auto it = m_links.find(handle);
    if (it == m_links.end() || !it->second.pairing) {
        return;
    }
    const Link& link = it->second;
    const uint32_t serial = link.pairing->serial;
    const auto finish = [this, handle, serial, bond](uint16_t status) {
        return [this, handle, serial, bond, status] { finishPairing(handle, serial, status, bond); };
    };
    if (!accept) {
        later(connectionIntervalMs(link.parameters), finish(kPairingFailed));
        return;
    }
    if (link.pairing->method == orv::host::PairingMethod::JustWorks) {
        later(kPairingIntervals * connectionIntervalMs(link.parameters), finish(0));
        return;
    }
    switch (m_simulator.world().peers[link.peerIndex].passkey) {
    case PasskeyBehaviour::Right:
        later(kPasskeyTypingMs, finish(0));
        break;
    case PasskeyBehaviour::Wrong:
        later(kPasskeyTypingMs, finish(kPairingFailed)); // the confirm values do not match
        break;
    case PasskeyBehaviour::None:
        break; // nobody types: the host's pairing time-out ends it
    }
}

void SimConnections::finishPairing(uint16_t handle, uint32_t serial, uint16_t status, bool bond) {
    const auto it = m_links.find(handle);
    if (it == m_links.end() || !it->second.pairing || it->second.pairing->serial != serial) {
        return;
    }
    Link& link = it->second;
    const bool authenticated = link.pairing->method == orv::host::PairingMethod::PasskeyDisplay;
    link.pairing.reset();
    auto& state = m_simulator.peerState(link.peerIndex);
    if (state.injectedSecurityResult) {
        status = *std::exchange(state.injectedSecurityResult, std::nullopt);
    }
    if (status != 0) {
        m_host.onPairingComplete(handle, status);
        return;
    }
    if (bond) {
        storeBond(link.peerIndex, authenticated);
    }
    m_host.onPairingComplete(handle, 0);
    encrypted(handle, link, authenticated);
}

void SimConnections::storeBond(size_t peerIndex, bool authenticated) {
    const PeerDescription& peer = m_simulator.world().peers[peerIndex];
    auto& state = m_simulator.peerState(peerIndex);
    m_simulator.bondStore().store({peer.address, state.name.value_or(""), peer.appearance.value_or(0)});
    state.bondForgotten = false;
    state.bondAuthenticated = authenticated;
}

void SimConnections::encrypted(uint16_t handle, Link& link, bool authenticated) {
    m_simulator.peerServer(link.peerIndex).setLinkSecurity(true, authenticated);
    m_host.onEncryptionChanged(handle, 0, authenticated);
    m_simulator.peerEncrypted(link.peerIndex);
}

void SimConnections::cancelPairing(uint16_t handle) {
    const auto it = m_links.find(handle);
    if (it == m_links.end() || !it->second.pairing) {
        return;
    }
    it->second.pairing.reset();
    toHost(handle, [this, handle](Link&) { m_host.onPairingComplete(handle, kPairingFailed); });
}

void SimConnections::startEncryption(uint16_t handle) {
    if (!m_links.contains(handle)) {
        return;
    }
    toHost(handle, [this, handle](Link& link) {
        const PeerDescription& peer = m_simulator.world().peers[link.peerIndex];
        const auto& state = m_simulator.peerState(link.peerIndex);
        const auto& bonds = m_simulator.bondStore().bonds();
        const bool stored =
            std::any_of(bonds.begin(), bonds.end(), [&peer](const orv::host::BondEntry& bond) {
                return sameAddress(bond.address, peer.address);
            });
        if (!stored || state.bondForgotten) {
            m_host.onEncryptionChanged(handle, kKeyMissing, false);
            return;
        }
        encrypted(handle, link, state.bondAuthenticated);
    });
}

bool SimConnections::peerDisconnects(const BleTypedAddress& address, uint8_t reason) {
    const auto handle = findLink(address);
    if (!handle) {
        return false;
    }
    const size_t peerIndex = m_links.at(*handle).peerIndex;
    m_links.erase(*handle);
    later(0, [this, handle = *handle, reason] { m_host.onDisconnected(handle, reason); });
    m_simulator.peerLinked(peerIndex, false);
    return true;
}

bool SimConnections::peerSends(const BleTypedAddress& address, std::vector<uint8_t> pdu) {
    const auto handle = findLink(address);
    if (!handle) {
        return false;
    }
    toHost(*handle, [this, handle = *handle, pdu = std::move(pdu)](Link&) { m_host.onAttPdu(handle, pdu); });
    return true;
}

bool SimConnections::peerIndicates(const BleTypedAddress& address, std::vector<uint8_t> pdu) {
    const auto handle = findLink(address);
    if (!handle) {
        return false;
    }
    Link& link = m_links.at(*handle);
    link.heldIndications.push_back(std::move(pdu));
    sendNextIndication(*handle, link);
    return true;
}

bool SimConnections::peerRequests(const BleTypedAddress& address, const ConnectionParameters& parameters) {
    const auto handle = findLink(address);
    if (!handle) {
        return false;
    }
    toHost(*handle, [this, handle = *handle, parameters](Link& link) {
        const uint8_t id = link.nextRequestId++;
        link.openRequests[id] = parameters;
        m_host.onParameterRequest(handle, id, parameters);
    });
    return true;
}

void SimConnections::dropAll() {
    m_simulator.scheduler().cancel(this);
    m_simulator.scheduler().cancel(&m_connecting);
    const auto links = std::exchange(m_links, {});
    m_connecting = false;
    for (const auto& [handle, link] : links) {
        m_simulator.peerLinked(link.peerIndex, false);
    }
}

} // namespace orv::sim
