// Simulated radio: the ATT server of a virtual peer, answering the host's requests from its table.
#include "AttServer.h"

#include "../core/AttProtocol.h"
#include "peers/PeerModel.h"

#include <veyrauuids.h>

#include <algorithm>
#include <map>

namespace orv::sim {
namespace {

namespace att = orv::host::att;

constexpr uint8_t kInsufficientAuthentication = 0x05;
constexpr uint8_t kInsufficientEncryption = 0x0F;
constexpr uint8_t kOpCodeNotSupported = 0x80;
constexpr size_t kMaxDeviceNameLength = 248;
constexpr uint8_t kDeleteBondOfRequestingDevice = 0x03;

bool isCharacteristic(const PeerAttribute& a, uint16_t uuid) {
    return a.isValue && att::sameUuid(a.type, MakeUuid16(uuid));
}

size_t maxLength(const PeerAttribute& a) {
    return isCharacteristic(a, CharacteristicUuid::DeviceName) ? kMaxDeviceNameLength
                                                               : att::kMaxAttributeLength;
}

// The ATT error a profile's own rule gives a written value, 0 when the value is accepted.
uint8_t profileRefusal(const PeerAttribute& a, std::span<const uint8_t> value) {
    if (isCharacteristic(a, CharacteristicUuid::BondManagementControlPoint) &&
        (value.empty() || value[0] != kDeleteBondOfRequestingDevice)) {
        return kOpCodeNotSupported;
    }
    return 0;
}

struct Range {
    uint16_t start;
    uint16_t end;
};

// Start and end handle of a ranged request, or the error response it deserves.
std::optional<Range> readRange(std::span<const uint8_t> pdu, att::Pdu* error) {
    if (pdu.size() != 7 && pdu.size() != 21 && !(pdu[0] == att::kFindInformationRequest && pdu.size() == 5)) {
        *error = att::errorResponse(pdu[0], 0, att::kInvalidPdu);
        return std::nullopt;
    }
    const Range range{att::get16(pdu, 1), att::get16(pdu, 3)};
    if (range.start == 0 || range.start > range.end) {
        *error = att::errorResponse(pdu[0], range.start, att::kInvalidHandle);
        return std::nullopt;
    }
    return range;
}

} // namespace

PeerAttribute* AttServer::attribute(uint16_t handle) {
    if (handle == 0 || handle > m_table.size()) {
        return nullptr;
    }
    return &m_table[handle - 1];
}

void AttServer::setLinkSecurity(bool encrypted, bool authenticated) {
    m_encrypted = encrypted;
    m_authenticated = encrypted && authenticated;
}

uint8_t AttServer::securityRefusal(const PeerAttribute& a) const {
    switch (a.security) {
    case PeerSecurity::None:
        return 0;
    case PeerSecurity::Encryption:
        return m_encrypted ? 0 : kInsufficientEncryption;
    case PeerSecurity::Mitm:
        return m_authenticated ? 0 : kInsufficientAuthentication;
    }
    return 0;
}

void AttServer::written(const PeerAttribute& a) const {
    if (m_written) {
        m_written(a);
    }
    if (m_model != nullptr && a.isConfiguration && a.value.size() == 2) {
        m_model->onConfiguration(valueHandleOf(a.handle), att::get16(a.value, 0));
    }
}

uint8_t AttServer::modelRefusal(const PeerAttribute& a, std::span<const uint8_t> value) const {
    return m_model != nullptr && a.isValue ? m_model->onWrite(a.handle, value) : 0;
}

uint8_t AttServer::modelReadRefusal(const PeerAttribute& a) const {
    return m_model != nullptr && a.isValue ? m_model->onRead(a.handle) : 0;
}

uint16_t AttServer::valueHandleOf(uint16_t descriptorHandle) const {
    for (uint16_t handle = descriptorHandle; handle > 1; --handle) {
        if (m_table[handle - 2].isValue) {
            return handle - 1;
        }
    }
    return 0;
}

void AttServer::setError(uint16_t handle, uint8_t error) {
    if (PeerAttribute* target = attribute(handle)) {
        target->readError = error;
        target->writeError = error;
    }
}

std::optional<AttServer::Pdu> AttServer::handle(std::span<const uint8_t> pdu) {
    if (pdu.empty()) {
        return std::nullopt;
    }
    if (m_silent && att::isRequest(pdu[0])) {
        return std::nullopt;
    }
    switch (pdu[0]) {
    case att::kExchangeMtuRequest:
        return Pdu{att::kExchangeMtuResponse, att::kMtu & 0xFF, att::kMtu >> 8};
    case att::kReadByGroupTypeRequest:
        return readByGroupType(pdu);
    case att::kReadByTypeRequest:
        return readByType(pdu);
    case att::kFindInformationRequest:
        return findInformation(pdu);
    case att::kReadRequest:
    case att::kReadBlobRequest:
        return read(pdu);
    case att::kWriteRequest:
        return write(pdu);
    case att::kWriteCommand:
        writeCommand(pdu);
        return std::nullopt;
    case att::kPrepareWriteRequest:
        return prepareWrite(pdu);
    case att::kExecuteWriteRequest:
        return executeWrite(pdu);
    case att::kHandleValueConfirmation:
        return std::nullopt;
    default:
        // Unknown commands (bit 6 set) are ignored; anything else is an unsupported request.
        if ((pdu[0] & 0x40) != 0) {
            return std::nullopt;
        }
        return att::errorResponse(pdu[0], 0, att::kRequestNotSupported);
    }
}

AttServer::Pdu AttServer::readByGroupType(std::span<const uint8_t> pdu) const {
    Pdu error;
    const auto range = readRange(pdu, &error);
    if (!range) {
        return error;
    }
    const auto type = att::uuidFromBytes(pdu.subspan(5));
    if (!type || !att::sameUuid(*type, MakeUuid16(att::kPrimaryService))) {
        return att::errorResponse(pdu[0], range->start, att::kUnsupportedGroupType);
    }
    Pdu response{att::kReadByGroupTypeResponse, 0};
    for (const PeerAttribute& a : m_table) {
        if (a.handle < range->start || a.handle > range->end || a.groupEnd == 0) {
            continue;
        }
        const auto length = static_cast<uint8_t>(4 + a.value.size());
        if ((response[1] != 0 && length != response[1]) || response.size() + length > att::kMtu) {
            break;
        }
        response[1] = length;
        att::put16(response, a.handle);
        att::put16(response, a.groupEnd);
        response.insert(response.end(), a.value.begin(), a.value.end());
    }
    return response[1] == 0 ? att::errorResponse(pdu[0], range->start, att::kAttributeNotFound) : response;
}

AttServer::Pdu AttServer::readByType(std::span<const uint8_t> pdu) const {
    Pdu error;
    const auto range = readRange(pdu, &error);
    if (!range) {
        return error;
    }
    const auto type = att::uuidFromBytes(pdu.subspan(5));
    if (!type) {
        return att::errorResponse(pdu[0], range->start, att::kInvalidPdu);
    }
    Pdu response{att::kReadByTypeResponse, 0};
    for (const PeerAttribute& a : m_table) {
        if (a.handle < range->start || a.handle > range->end || !att::sameUuid(a.type, *type)) {
            continue;
        }
        const uint8_t security = a.isValue ? securityRefusal(a) : 0;
        if (a.isValue && (a.readError != 0 || security != 0 || (a.properties & kPropertyRead) == 0)) {
            if (response[1] == 0) {
                const uint8_t refusal = a.readError != 0 ? a.readError : security;
                return att::errorResponse(pdu[0], a.handle, refusal != 0 ? refusal : att::kReadNotPermitted);
            }
            break;
        }
        const size_t valueLength = std::min<size_t>(a.value.size(), att::kMtu - 4);
        const auto length = static_cast<uint8_t>(2 + valueLength);
        if ((response[1] != 0 && length != response[1]) || response.size() + length > att::kMtu) {
            break;
        }
        response[1] = length;
        att::put16(response, a.handle);
        response.insert(response.end(), a.value.begin(), a.value.begin() + static_cast<long>(valueLength));
    }
    return response[1] == 0 ? att::errorResponse(pdu[0], range->start, att::kAttributeNotFound) : response;
}

AttServer::Pdu AttServer::findInformation(std::span<const uint8_t> pdu) const {
    Pdu error;
    const auto range = readRange(pdu, &error);
    if (!range) {
        return error;
    }
    Pdu response{att::kFindInformationResponse, 0};
    for (const PeerAttribute& a : m_table) {
        if (a.handle < range->start || a.handle > range->end) {
            continue;
        }
        const uint8_t format = a.type.kind == BLE_UUID_KIND_16 ? 1 : 2;
        const size_t length = 2 + att::uuidSize(a.type);
        if ((response[1] != 0 && format != response[1]) || response.size() + length > att::kMtu) {
            break;
        }
        response[1] = format;
        att::put16(response, a.handle);
        att::putUuid(response, a.type);
    }
    return response[1] == 0 ? att::errorResponse(pdu[0], range->start, att::kAttributeNotFound) : response;
}

std::optional<AttServer::Pdu> AttServer::read(std::span<const uint8_t> pdu) {
    const bool blob = pdu[0] == att::kReadBlobRequest;
    if (pdu.size() != (blob ? 5u : 3u)) {
        return att::errorResponse(pdu[0], 0, att::kInvalidPdu);
    }
    const uint16_t handle = att::get16(pdu, 1);
    const uint16_t offset = blob ? att::get16(pdu, 3) : 0;
    const PeerAttribute* a = attribute(handle);
    if (a == nullptr) {
        return att::errorResponse(pdu[0], handle, att::kInvalidHandle);
    }
    if (a->silent) {
        return std::nullopt;
    }
    if (a->readError != 0) {
        return att::errorResponse(pdu[0], handle, a->readError);
    }
    if (const uint8_t refusal = securityRefusal(*a); refusal != 0) {
        return att::errorResponse(pdu[0], handle, refusal);
    }
    if (a->isValue && (a->properties & kPropertyRead) == 0) {
        return att::errorResponse(pdu[0], handle, att::kReadNotPermitted);
    }
    if (const uint8_t refusal = modelReadRefusal(*a); refusal != 0) {
        return att::errorResponse(pdu[0], handle, refusal);
    }
    if (offset > a->value.size()) {
        return att::errorResponse(pdu[0], handle, att::kInvalidOffset);
    }
    const size_t length = std::min<size_t>(a->value.size() - offset, att::kMtu - 1);
    Pdu response{blob ? att::kReadBlobResponse : att::kReadResponse};
    response.insert(response.end(), a->value.begin() + offset,
                    a->value.begin() + static_cast<long>(offset + length));
    return response;
}

uint8_t AttServer::writeRefusal(const PeerAttribute& a, size_t length, uint8_t property) const {
    if (a.writeError != 0) {
        return a.writeError;
    }
    if (const uint8_t refusal = securityRefusal(a); refusal != 0) {
        return refusal;
    }
    if (a.isConfiguration) {
        return length == 2 ? 0 : att::kInvalidAttributeValueLength;
    }
    if (!a.isValue || (a.properties & property) == 0) {
        return att::kWriteNotPermitted;
    }
    return length > maxLength(a) ? att::kInvalidAttributeValueLength : 0;
}

std::optional<AttServer::Pdu> AttServer::write(std::span<const uint8_t> pdu) {
    if (pdu.size() < 3) {
        return att::errorResponse(pdu[0], 0, att::kInvalidPdu);
    }
    const uint16_t handle = att::get16(pdu, 1);
    PeerAttribute* a = attribute(handle);
    if (a == nullptr) {
        return att::errorResponse(pdu[0], handle, att::kInvalidHandle);
    }
    if (a->silent) {
        return std::nullopt;
    }
    const auto value = pdu.subspan(3);
    if (const uint8_t refusal = writeRefusal(*a, value.size(), kPropertyWrite); refusal != 0) {
        return att::errorResponse(pdu[0], handle, refusal);
    }
    if (const uint8_t refusal = profileRefusal(*a, value); refusal != 0) {
        return att::errorResponse(pdu[0], handle, refusal);
    }
    if (const uint8_t refusal = modelRefusal(*a, value); refusal != 0) {
        return att::errorResponse(pdu[0], handle, refusal);
    }
    a->value.assign(value.begin(), value.end());
    written(*a);
    return Pdu{att::kWriteResponse};
}

void AttServer::writeCommand(std::span<const uint8_t> pdu) {
    if (pdu.size() < 3) {
        return;
    }
    PeerAttribute* a = attribute(att::get16(pdu, 1));
    const auto value = pdu.subspan(3);
    if (a != nullptr && writeRefusal(*a, value.size(), kPropertyWriteWithoutResponse) == 0 &&
        profileRefusal(*a, value) == 0 && modelRefusal(*a, value) == 0) {
        a->value.assign(value.begin(), value.end());
        written(*a);
    }
}

std::optional<AttServer::Pdu> AttServer::prepareWrite(std::span<const uint8_t> pdu) {
    if (pdu.size() < 5) {
        return att::errorResponse(pdu[0], 0, att::kInvalidPdu);
    }
    const uint16_t handle = att::get16(pdu, 1);
    const PeerAttribute* a = attribute(handle);
    if (a == nullptr) {
        return att::errorResponse(pdu[0], handle, att::kInvalidHandle);
    }
    if (a->silent) {
        return std::nullopt;
    }
    // The length is known only at execution; every other refusal is given now.
    const uint8_t refusal = writeRefusal(*a, 0, kPropertyWrite);
    if (refusal != 0 && !(a->isConfiguration && refusal == att::kInvalidAttributeValueLength)) {
        return att::errorResponse(pdu[0], handle, refusal);
    }
    m_prepared.emplace_back(handle, att::get16(pdu, 3), std::vector<uint8_t>(pdu.begin() + 5, pdu.end()));
    Pdu response(pdu.begin(), pdu.end());
    response[0] = att::kPrepareWriteResponse;
    return response;
}

AttServer::Pdu AttServer::executeWrite(std::span<const uint8_t> pdu) {
    auto prepared = std::move(m_prepared);
    m_prepared.clear();
    if (pdu.size() != 2) {
        return att::errorResponse(pdu[0], 0, att::kInvalidPdu);
    }
    if (pdu[1] == 0) {
        return Pdu{att::kExecuteWriteResponse};
    }
    // The queue is applied to copies first so that a refused execution leaves every value as it was.
    std::map<uint16_t, std::vector<uint8_t>> staged;
    for (const auto& [handle, offset, bytes] : prepared) {
        std::vector<uint8_t>& value = staged.try_emplace(handle, attribute(handle)->value).first->second;
        if (offset > value.size()) {
            return att::errorResponse(pdu[0], handle, att::kInvalidOffset);
        }
        if (offset + bytes.size() > maxLength(*attribute(handle))) {
            return att::errorResponse(pdu[0], handle, att::kInvalidAttributeValueLength);
        }
        if (offset == 0) {
            value.clear(); // a long write starting at 0 replaces the whole value
        }
        value.resize(std::max(value.size(), offset + bytes.size()));
        std::copy(bytes.begin(), bytes.end(), value.begin() + offset);
    }
    for (const auto& [handle, value] : staged) {
        if (const uint8_t refusal = modelRefusal(*attribute(handle), value); refusal != 0) {
            return att::errorResponse(pdu[0], handle, refusal);
        }
    }
    for (const auto& [handle, value] : staged) {
        const PeerAttribute& a = *attribute(handle);
        uint8_t refusal = writeRefusal(a, value.size(), kPropertyWrite);
        if (refusal == 0) {
            refusal = profileRefusal(a, value);
        }
        if (refusal != 0) {
            return att::errorResponse(pdu[0], handle, refusal);
        }
    }
    for (auto& [handle, value] : staged) {
        PeerAttribute* a = attribute(handle);
        a->value = std::move(value);
        written(*a);
    }
    return Pdu{att::kExecuteWriteResponse};
}

} // namespace orv::sim
