// GATT client: writing a value with a write request, or with prepared writes when it does not fit.
#include "WriteProcedure.h"

#include "AttProtocol.h"
#include "HostLog.h"

#include <algorithm>

namespace orv::host {
namespace {

constexpr size_t kSingleWriteMax = att::kMtu - 3;
constexpr size_t kPrepareChunk = att::kMtu - 5;

} // namespace

WriteProcedure::WriteProcedure(GattResults& results, uint16_t handle, uint16_t offset,
                               std::vector<uint8_t> value)
    : m_results(results), m_handle(handle), m_offset(offset), m_value(std::move(value)),
      m_phase(offset == 0 && m_value.size() <= kSingleWriteMax ? Phase::Single : Phase::Preparing) {}

std::vector<uint8_t> WriteProcedure::start() {
    if (m_phase == Phase::Preparing) {
        return prepareRequest();
    }
    att::Pdu pdu{att::kWriteRequest};
    att::put16(pdu, m_handle);
    pdu.insert(pdu.end(), m_value.begin(), m_value.end());
    return pdu;
}

std::vector<uint8_t> WriteProcedure::prepareRequest() const {
    att::Pdu pdu{att::kPrepareWriteRequest};
    att::put16(pdu, m_handle);
    att::put16(pdu, static_cast<uint16_t>(m_offset + m_sent));
    const size_t length = std::min(kPrepareChunk, m_value.size() - m_sent);
    pdu.insert(pdu.end(), m_value.begin() + static_cast<long>(m_sent),
               m_value.begin() + static_cast<long>(m_sent + length));
    return pdu;
}

std::vector<uint8_t> WriteProcedure::executeRequest(bool commit) const {
    return {att::kExecuteWriteRequest, static_cast<uint8_t>(commit ? 1 : 0)};
}

std::optional<std::vector<uint8_t>> WriteProcedure::finish(uint16_t status) {
    m_results.writeDone(status, m_handle);
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> WriteProcedure::next(std::span<const uint8_t> response) {
    const bool error = response[0] == att::kErrorResponse;
    switch (m_phase) {
    case Phase::Single:
    case Phase::Executing:
        return finish(error ? response[4] : 0);
    case Phase::Cancelling:
        return finish(m_failure);
    case Phase::Preparing:
        if (error) {
            m_failure = response[4];
            m_phase = Phase::Cancelling;
            return executeRequest(false);
        }
        return afterPrepare(response);
    }
    return finish(att::kUnlikelyError);
}

std::optional<std::vector<uint8_t>> WriteProcedure::afterPrepare(std::span<const uint8_t> response) {
    const std::vector<uint8_t> request = prepareRequest();
    // The peer echoes each part; a different echo means the part was not queued as sent.
    if (!std::equal(response.begin() + 1, response.end(), request.begin() + 1, request.end())) {
        hostLog() << "veyrahost: prepared write to handle " << m_handle << " echoed wrongly; cancelled\n";
        m_failure = att::kInvalidPdu;
        m_phase = Phase::Cancelling;
        return executeRequest(false);
    }
    m_sent += request.size() - 5;
    if (m_sent < m_value.size()) {
        return prepareRequest();
    }
    m_phase = Phase::Executing;
    return executeRequest(true);
}

} // namespace orv::host
