// GATT client: the client procedures of one link over its ATT bearer.
#include "GattClient.h"

#include "AttProtocol.h"
#include "DiscoveryProcedure.h"
#include "HostLog.h"
#include "ReadProcedure.h"
#include "WriteProcedure.h"

namespace orv::host {
namespace {

const char* kindName(int kind) {
    static const char* const kNames[] = {"read", "write", "database discovery"};
    return kNames[kind];
}

} // namespace

OrvBleResult GattClient::admit(Kind kind) {
    if (m_timedOut) {
        return ORV_BLE_E_NOT_CONNECTED;
    }
    if (busy(kind)) {
        hostLog() << "veyrahost: a " << kindName(static_cast<int>(kind))
                  << " is already outstanding on this link; request refused\n";
        return ORV_BLE_E_BUSY;
    }
    return ORV_BLE_OK;
}

OrvBleResult GattClient::discover() {
    const OrvBleResult result = admit(Kind::Discovery);
    if (result == ORV_BLE_OK) {
        enqueue(Kind::Discovery, std::make_unique<DiscoveryProcedure>(m_results));
    }
    return result;
}

OrvBleResult GattClient::read(uint16_t handle) {
    const OrvBleResult result = admit(Kind::Read);
    if (result == ORV_BLE_OK) {
        enqueue(Kind::Read, std::make_unique<ReadProcedure>(m_results, handle));
    }
    return result;
}

OrvBleResult GattClient::writeRequest(uint16_t handle, uint16_t offset, std::vector<uint8_t> value) {
    const OrvBleResult result = admit(Kind::Write);
    if (result == ORV_BLE_OK) {
        enqueue(Kind::Write, std::make_unique<WriteProcedure>(m_results, handle, offset, std::move(value)));
    }
    return result;
}

OrvBleResult GattClient::writeConfiguration(uint16_t configHandle, uint16_t value) {
    return writeRequest(configHandle, 0,
                        {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>(value >> 8)});
}

OrvBleResult GattClient::writeCommand(uint16_t handle, std::vector<uint8_t> value) {
    const OrvBleResult result = admit(Kind::Write);
    if (result != ORV_BLE_OK) {
        return result;
    }
    if (value.size() > att::kMtu - 3u) {
        hostLog() << "veyrahost: write command of " << value.size() << " bytes cut to " << att::kMtu - 3
                  << '\n';
        value.resize(att::kMtu - 3u);
    }
    setBusy(Kind::Write, true);
    att::Pdu pdu{att::kWriteCommand};
    att::put16(pdu, handle);
    pdu.insert(pdu.end(), value.begin(), value.end());
    if (m_held) {
        m_heldCommand.emplace(handle, std::move(pdu));
        return ORV_BLE_OK;
    }
    send(std::move(pdu), handle);
    return ORV_BLE_OK;
}

void GattClient::enqueue(Kind kind, std::unique_ptr<AttProcedure> procedure) {
    setBusy(kind, true);
    m_waiting.push_back({kind, std::move(procedure)});
    if (!m_active) {
        startNext();
    }
}

void GattClient::hold(bool held) {
    m_held = held;
    if (held) {
        return;
    }
    if (m_heldCommand) {
        auto [handle, pdu] = std::move(*m_heldCommand);
        m_heldCommand.reset();
        send(std::move(pdu), handle);
    }
    if (!m_active) {
        startNext();
    }
}

void GattClient::startNext() {
    if (m_waiting.empty() || m_timedOut || m_held) {
        return;
    }
    m_active = std::move(m_waiting.front());
    m_waiting.pop_front();
    sendRequest(m_active->procedure->start());
}

void GattClient::send(std::vector<uint8_t> pdu, std::optional<uint16_t> writeCommandHandle) {
    m_unsent.push_back(writeCommandHandle);
    m_bearer.sendPdu(std::move(pdu));
}

void GattClient::sendRequest(std::vector<uint8_t> pdu) {
    m_activeOpcode = pdu[0];
    m_timer = m_bearer.startTimer(att::kTransactionTimeoutMs);
    send(std::move(pdu));
}

void GattClient::onSent() {
    if (m_unsent.empty()) {
        return;
    }
    const std::optional<uint16_t> command = m_unsent.front();
    m_unsent.pop_front();
    if (command) {
        setBusy(Kind::Write, false);
        m_results.writeDone(0, *command);
    }
}

void GattClient::onTimer(uint32_t timerId) {
    if (m_timer != timerId) {
        return;
    }
    m_timer.reset();
    m_timedOut = true;
    m_active.reset();
    m_waiting.clear();
    m_heldCommand.reset();
    hostLog() << "veyrahost: ATT transaction timed out after 30 s; the link is dropped\n";
    m_bearer.transactionTimedOut();
}

void GattClient::onPdu(std::span<const uint8_t> pdu) {
    if (pdu.empty() || m_timedOut) {
        return;
    }
    if (pdu.size() > att::kMtu) {
        onOversized(pdu);
        return;
    }
    switch (pdu[0]) {
    case att::kHandleValueNotification:
        onValue(pdu, false);
        return;
    case att::kHandleValueIndication:
        send({att::kHandleValueConfirmation});
        onValue(pdu, true);
        return;
    case att::kErrorResponse:
        onResponse(pdu);
        return;
    default:
        onResponse(pdu);
    }
}

void GattClient::onOversized(std::span<const uint8_t> pdu) {
    hostLog() << "veyrahost: ATT PDU 0x" << std::hex << int{pdu[0]} << std::dec << " of " << pdu.size()
              << " bytes exceeds the MTU of " << att::kMtu << "; protocol error\n";
    const bool answersActive = m_active && (pdu[0] == att::kErrorResponse || pdu[0] == m_activeOpcode + 1);
    if (answersActive) {
        // The transaction ends as if the peer had answered Invalid PDU.
        onResponse(att::errorResponse(m_activeOpcode, 0, att::kInvalidPdu));
    }
}

void GattClient::onValue(std::span<const uint8_t> pdu, bool indication) {
    if (pdu.size() < 3) {
        hostLog() << "veyrahost: " << (indication ? "indication" : "notification") << " of " << pdu.size()
                  << " bytes is too short; ignored\n";
        return;
    }
    m_results.valueReceived(att::get16(pdu, 1), {pdu.begin() + 3, pdu.end()}, indication);
}

void GattClient::onResponse(std::span<const uint8_t> pdu) {
    const bool error = pdu[0] == att::kErrorResponse;
    const bool matches = error ? pdu.size() == 5 && pdu[1] == m_activeOpcode : pdu[0] == m_activeOpcode + 1;
    if (!m_active || !matches) {
        hostLog() << "veyrahost: unexpected ATT PDU 0x" << std::hex << int{pdu[0]} << std::dec << " of "
                  << pdu.size() << " bytes; ignored\n";
        return;
    }
    m_bearer.cancelTimer(*m_timer);
    m_timer.reset();
    if (auto request = m_active->procedure->next(pdu)) {
        sendRequest(std::move(*request));
        return;
    }
    setBusy(m_active->kind, false);
    m_active.reset();
    startNext();
}

} // namespace orv::host
