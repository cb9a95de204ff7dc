// ATT: opcodes, error codes and the little-endian PDU helpers shared by client and test peers.
#pragma once

#include "veyrahost.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace orv::host::att {

constexpr uint16_t kMtu = 23;
constexpr size_t kMaxAttributeLength = 512;
constexpr uint64_t kTransactionTimeoutMs = 30000;

enum Opcode : uint8_t {
    kErrorResponse = 0x01,
    kExchangeMtuRequest = 0x02,
    kExchangeMtuResponse = 0x03,
    kFindInformationRequest = 0x04,
    kFindInformationResponse = 0x05,
    kReadByTypeRequest = 0x08,
    kReadByTypeResponse = 0x09,
    kReadRequest = 0x0A,
    kReadResponse = 0x0B,
    kReadBlobRequest = 0x0C,
    kReadBlobResponse = 0x0D,
    kReadByGroupTypeRequest = 0x10,
    kReadByGroupTypeResponse = 0x11,
    kWriteRequest = 0x12,
    kWriteResponse = 0x13,
    kPrepareWriteRequest = 0x16,
    kPrepareWriteResponse = 0x17,
    kExecuteWriteRequest = 0x18,
    kExecuteWriteResponse = 0x19,
    kHandleValueNotification = 0x1B,
    kHandleValueIndication = 0x1D,
    kHandleValueConfirmation = 0x1E,
    kWriteCommand = 0x52,
};

enum Error : uint8_t {
    kInvalidHandle = 0x01,
    kReadNotPermitted = 0x02,
    kWriteNotPermitted = 0x03,
    kInvalidPdu = 0x04,
    kRequestNotSupported = 0x06,
    kInvalidOffset = 0x07,
    kAttributeNotFound = 0x0A,
    kAttributeNotLong = 0x0B,
    kInvalidAttributeValueLength = 0x0D,
    kUnlikelyError = 0x0E,
    kUnsupportedGroupType = 0x10,
};

constexpr uint16_t kPrimaryService = 0x2800;
constexpr uint16_t kCharacteristic = 0x2803;
constexpr uint16_t kClientConfiguration = 0x2902;

using Pdu = std::vector<uint8_t>;

void put16(Pdu& pdu, uint16_t value);
// Appends the UUID as 2 or 16 bytes, least significant byte first.
void putUuid(Pdu& pdu, const BleUuid& uuid);
uint16_t get16(std::span<const uint8_t> bytes, size_t at);
// Reads a 2- or 16-byte UUID; any other length gives nothing.
std::optional<BleUuid> uuidFromBytes(std::span<const uint8_t> bytes);
BleUuid uuid16(uint16_t value);
bool sameUuid(const BleUuid& a, const BleUuid& b);
size_t uuidSize(const BleUuid& uuid);

Pdu errorResponse(uint8_t requestOpcode, uint16_t handle, uint8_t error);
// True for opcodes the other side must answer (requests), false for commands, notifications and responses.
bool isRequest(uint8_t opcode);

} // namespace orv::host::att
