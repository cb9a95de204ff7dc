// Connections: one link to a peer with its GATT client and open parameter requests.
#include "ClientLink.h"

#include "AttProtocol.h"
#include "GattEvents.h"

namespace orv::host {
namespace {

constexpr uint8_t kRemoteUserTerminated = 0x13;

} // namespace

ClientLink::ClientLink(uint32_t cid, const BleTypedAddress& address, ControllerPort& controller,
                       EventPoster& poster, LocalGattServer& server)
    : m_cid(cid), m_address(address), m_controller(controller), m_poster(poster), m_server(server),
      m_serverSend([this](std::vector<uint8_t> pdu) {
          m_unsentFromClient.push_back(false);
          m_controller.sendAtt(static_cast<uint16_t>(m_cid), std::move(pdu));
      }),
      m_gatt(*this, *this), m_security(cid, address, controller, poster, m_gatt) {}

ClientLink::~ClientLink() {
    m_server.linkClosed(m_cid); // drops answers the application still owes this link
}

void ClientLink::onAttPdu(std::span<const uint8_t> pdu) {
    if (pdu.empty()) {
        return;
    }
    if (att::isForClient(pdu[0])) {
        m_gatt.onPdu(pdu);
    } else {
        m_server.onPeerPdu(m_cid, pdu, m_serverSend);
    }
}

void ClientLink::onAttSent() {
    if (m_unsentFromClient.empty()) {
        return;
    }
    const bool fromClient = m_unsentFromClient.front();
    m_unsentFromClient.pop_front();
    if (fromClient) {
        m_gatt.onSent();
    }
}

OrvBleResult ClientLink::notify(uint16_t handle, std::span<const uint8_t> data) {
    return m_server.notify(handle, data, m_serverSend);
}

void ClientLink::disconnect() {
    if (m_disconnecting) {
        return;
    }
    m_disconnecting = true;
    m_controller.disconnect(static_cast<uint16_t>(m_cid), kRemoteUserTerminated);
}

void ClientLink::sendPdu(std::vector<uint8_t> pdu) {
    m_unsentFromClient.push_back(true);
    m_controller.sendAtt(static_cast<uint16_t>(m_cid), std::move(pdu));
}

uint32_t ClientLink::startTimer(uint64_t delayMs) {
    return m_controller.startTimer(delayMs);
}

void ClientLink::cancelTimer(uint32_t timerId) {
    m_controller.cancelTimer(timerId);
}

void ClientLink::transactionTimedOut() {
    disconnect();
}

void ClientLink::databaseDiscovered(uint16_t status, const std::vector<DiscoveredService>& services) {
    gattEvents::postDatabase(m_poster, m_cid, status, services);
}

void ClientLink::readDone(uint16_t status, uint16_t handle, const std::vector<uint8_t>& value) {
    gattEvents::postRead(m_poster, m_cid, status, handle, value);
}

void ClientLink::writeDone(uint16_t status, uint16_t handle) {
    gattEvents::postWritten(m_poster, m_cid, status, handle);
}

void ClientLink::valueReceived(uint16_t handle, const std::vector<uint8_t>& value, bool indication) {
    gattEvents::postNotification(m_poster, m_cid, handle, value, indication);
}

} // namespace orv::host
