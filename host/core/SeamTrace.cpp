// Debug output: what crosses the controller seam, in the btsnoop capture and the text log.
#include "SeamTrace.h"

#include "HostLog.h"

#include <cstdio>
#include <string>

namespace orv::host {
namespace {

std::string hex(const std::vector<uint8_t>& bytes) {
    std::string text;
    char byte[4];
    for (uint8_t b : bytes) {
        std::snprintf(byte, sizeof byte, " %02X", b);
        text += byte;
    }
    return text;
}

} // namespace

std::unique_ptr<SeamTrace> SeamTrace::open(HostPort& host, BtsnoopWriter& snoop, std::string* error) {
    std::unique_ptr<SeamTrace> trace(new SeamTrace(host, snoop));
    trace->m_controller = openController(*trace, error);
    if (!trace->m_controller) {
        return nullptr;
    }
    return trace;
}

void SeamTrace::traceLine(const std::string& text) const {
    debugLog() << "[" << m_controller->nowMs() << " ms] " << text << '\n';
}

int64_t SeamTrace::dateMs() const {
    return m_controller->startDateMs() + static_cast<int64_t>(m_controller->nowMs());
}

void SeamTrace::connect(const BleTypedAddress& address) {
    m_connecting = address;
    m_controller->connect(address);
}

void SeamTrace::sendAtt(uint16_t handle, std::vector<uint8_t> pdu) {
    m_snoop.att(dateMs(), handle, pdu, false);
    traceLine("ATT out, link " + std::to_string(handle) + ":" + hex(pdu));
    m_controller->sendAtt(handle, std::move(pdu));
}

void SeamTrace::onAttPdu(uint16_t handle, const std::vector<uint8_t>& pdu) {
    m_snoop.att(dateMs(), handle, pdu, true);
    traceLine("ATT in, link " + std::to_string(handle) + ":" + hex(pdu));
    m_host.onAttPdu(handle, pdu);
}

void SeamTrace::onConnectOutcome(ConnectOutcome outcome, uint16_t handle, const LinkParameters& link) {
    const BleTypedAddress peer = m_connecting.value_or(BleTypedAddress{});
    m_connecting.reset();
    // A cancelled attempt is reported as unknown connection (0x02), a failed one as not established (0x3E).
    const uint8_t status = outcome == ConnectOutcome::Connected   ? 0x00
                           : outcome == ConnectOutcome::Cancelled ? 0x02
                                                                  : 0x3E;
    m_snoop.connectionComplete(dateMs(), status, handle, peer, link);
    traceLine("connection complete, status " + std::to_string(status) + ", link " + std::to_string(handle));
    m_host.onConnectOutcome(outcome, handle, link);
}

void SeamTrace::onDisconnected(uint16_t handle, uint8_t reason) {
    m_snoop.disconnectionComplete(dateMs(), handle, reason);
    traceLine("disconnection complete, link " + std::to_string(handle) + ", reason " +
              std::to_string(reason));
    m_host.onDisconnected(handle, reason);
}

void SeamTrace::onConnectionUpdated(uint16_t handle, uint16_t status,
                                    const ConnectionParameters& parameters) {
    traceLine("connection update, link " + std::to_string(handle) + ", status " + std::to_string(status) +
              ", interval " + std::to_string(parameters.intervalMin) + "-" +
              std::to_string(parameters.intervalMax) + ", latency " +
              std::to_string(parameters.slaveLatency) + ", timeout " +
              std::to_string(parameters.supervisionTimeout));
    m_host.onConnectionUpdated(handle, status, parameters);
}

void SeamTrace::startPairing(uint16_t handle, bool mitm) {
    traceLine("pairing, link " + std::to_string(handle) + (mitm ? ", MITM asked" : ""));
    m_controller->startPairing(handle, mitm);
}

void SeamTrace::startEncryption(uint16_t handle) {
    traceLine("encryption with the bonded key, link " + std::to_string(handle));
    m_controller->startEncryption(handle);
}

void SeamTrace::onPairingComplete(uint16_t handle, uint16_t status) {
    traceLine("pairing complete, link " + std::to_string(handle) + ", status " + std::to_string(status));
    m_host.onPairingComplete(handle, status);
}

void SeamTrace::onEncryptionChanged(uint16_t handle, uint8_t status, bool authenticated) {
    traceLine("encryption change, link " + std::to_string(handle) + ", status " + std::to_string(status) +
              (authenticated ? ", authenticated" : ""));
    m_host.onEncryptionChanged(handle, status, authenticated);
}

void SeamTrace::onHardwareError(uint32_t code) {
    traceLine("hardware error " + std::to_string(code));
    m_host.onHardwareError(code);
}

} // namespace orv::host
