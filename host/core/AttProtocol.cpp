// ATT: opcodes, error codes and the little-endian PDU helpers shared by client and test peers.
#include "AttProtocol.h"

#include <algorithm>

namespace orv::host::att {

void put16(Pdu& pdu, uint16_t value) {
    pdu.push_back(static_cast<uint8_t>(value & 0xFF));
    pdu.push_back(static_cast<uint8_t>(value >> 8));
}

void putUuid(Pdu& pdu, const BleUuid& uuid) {
    if (uuid.kind == BLE_UUID_KIND_16) {
        put16(pdu, uuid.uuid16);
        return;
    }
    pdu.insert(pdu.end(), std::begin(uuid.uuid128), std::end(uuid.uuid128));
}

uint16_t get16(std::span<const uint8_t> bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::optional<BleUuid> uuidFromBytes(std::span<const uint8_t> bytes) {
    if (bytes.size() == 2) {
        return MakeUuid16(get16(bytes, 0));
    }
    if (bytes.size() != 16) {
        return std::nullopt;
    }
    BleUuid uuid{};
    uuid.kind = BLE_UUID_KIND_128;
    std::copy(bytes.begin(), bytes.end(), uuid.uuid128);
    return uuid;
}

bool sameUuid(const BleUuid& a, const BleUuid& b) {
    if (a.kind != b.kind) {
        return false;
    }
    return a.kind == BLE_UUID_KIND_16 ? a.uuid16 == b.uuid16
                                      : std::equal(a.uuid128, a.uuid128 + 16, b.uuid128);
}

size_t uuidSize(const BleUuid& uuid) {
    return uuid.kind == BLE_UUID_KIND_16 ? 2 : 16;
}

Pdu errorResponse(uint8_t requestOpcode, uint16_t handle, uint8_t error) {
    Pdu pdu{kErrorResponse, requestOpcode};
    put16(pdu, handle);
    pdu.push_back(error);
    return pdu;
}

bool isForClient(uint8_t opcode) {
    return opcode == kHandleValueNotification || opcode == kHandleValueIndication ||
           ((opcode & 1) != 0 && opcode <= kExecuteWriteResponse);
}

bool isRequest(uint8_t opcode) {
    switch (opcode) {
    case kExchangeMtuRequest:
    case kFindInformationRequest:
    case kFindByTypeValueRequest:
    case kReadByTypeRequest:
    case kReadRequest:
    case kReadBlobRequest:
    case kReadByGroupTypeRequest:
    case kWriteRequest:
    case kPrepareWriteRequest:
    case kExecuteWriteRequest:
        return true;
    default:
        return false;
    }
}

} // namespace orv::host::att
