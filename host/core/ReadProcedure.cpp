// GATT client: reading a characteristic value, continued with blob reads while the value fills the MTU.
#include "ReadProcedure.h"

#include "AttProtocol.h"

#include <algorithm>

namespace orv::host {

std::vector<uint8_t> ReadProcedure::start() {
    att::Pdu pdu{att::kReadRequest};
    att::put16(pdu, m_handle);
    return pdu;
}

std::optional<std::vector<uint8_t>> ReadProcedure::finish(uint16_t status) {
    m_results.readDone(status, m_handle, status == 0 ? m_value : std::vector<uint8_t>{});
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> ReadProcedure::next(std::span<const uint8_t> response) {
    if (response[0] == att::kErrorResponse) {
        const uint8_t error = response[4];
        // A value that turns out not to be long ends the blob reads with what was read.
        const bool endOfValue = m_blob && (error == att::kAttributeNotLong || error == att::kInvalidOffset);
        return finish(endOfValue ? 0 : error);
    }
    const auto chunk = response.subspan(1);
    m_value.insert(m_value.end(), chunk.begin(), chunk.end());
    if (chunk.size() < att::kMtu - 1u || m_value.size() >= att::kMaxAttributeLength) {
        // No attribute holds more; a peer that sends more has its surplus dropped.
        m_value.resize(std::min(m_value.size(), att::kMaxAttributeLength));
        return finish(0);
    }
    m_blob = true;
    att::Pdu pdu{att::kReadBlobRequest};
    att::put16(pdu, m_handle);
    att::put16(pdu, static_cast<uint16_t>(m_value.size()));
    return pdu;
}

} // namespace orv::host
