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

// Opcodes.
inline constexpr uint8_t kErrorResponse = 0x01;
inline constexpr uint8_t kExchangeMtuRequest = 0x02;
inline constexpr uint8_t kExchangeMtuResponse = 0x03;
inline constexpr uint8_t kFindInformationRequest = 0x04;
inline constexpr uint8_t kFindInformationResponse = 0x05;
inline constexpr uint8_t kFindByTypeValueRequest = 0x06;
inline constexpr uint8_t kFindByTypeValueResponse = 0x07;
inline constexpr uint8_t kReadByTypeRequest = 0x08;
inline constexpr uint8_t kReadByTypeResponse = 0x09;
inline constexpr uint8_t kReadRequest = 0x0A;
inline constexpr uint8_t kReadResponse = 0x0B;
inline constexpr uint8_t kReadBlobRequest = 0x0C;
inline constexpr uint8_t kReadBlobResponse = 0x0D;
inline constexpr uint8_t kReadByGroupTypeRequest = 0x10;
inline constexpr uint8_t kReadByGroupTypeResponse = 0x11;
inline constexpr uint8_t kWriteRequest = 0x12;
inline constexpr uint8_t kWriteResponse = 0x13;
inline constexpr uint8_t kPrepareWriteRequest = 0x16;
inline constexpr uint8_t kPrepareWriteResponse = 0x17;
inline constexpr uint8_t kExecuteWriteRequest = 0x18;
inline constexpr uint8_t kExecuteWriteResponse = 0x19;
inline constexpr uint8_t kHandleValueNotification = 0x1B;
inline constexpr uint8_t kHandleValueIndication = 0x1D;
inline constexpr uint8_t kHandleValueConfirmation = 0x1E;
inline constexpr uint8_t kWriteCommand = 0x52;

// Error codes.
inline constexpr uint8_t kInvalidHandle = 0x01;
inline constexpr uint8_t kReadNotPermitted = 0x02;
inline constexpr uint8_t kWriteNotPermitted = 0x03;
inline constexpr uint8_t kInvalidPdu = 0x04;
inline constexpr uint8_t kRequestNotSupported = 0x06;
inline constexpr uint8_t kInvalidOffset = 0x07;
inline constexpr uint8_t kPrepareQueueFull = 0x09;
inline constexpr uint8_t kAttributeNotFound = 0x0A;
inline constexpr uint8_t kAttributeNotLong = 0x0B;
inline constexpr uint8_t kInvalidAttributeValueLength = 0x0D;
inline constexpr uint8_t kUnlikelyError = 0x0E;
inline constexpr uint8_t kUnsupportedGroupType = 0x10;
inline constexpr uint8_t kValueNotAllowed = 0x13;

constexpr uint16_t kPrimaryService = 0x2800;
constexpr uint16_t kCharacteristic = 0x2803;

using Pdu = std::vector<uint8_t>;

void put16(Pdu& pdu, uint16_t value);
// Appends the UUID as 2 or 16 bytes, least significant byte first.
void putUuid(Pdu& pdu, const BleUuid& uuid);
uint16_t get16(std::span<const uint8_t> bytes, size_t at);
// Reads a 2- or 16-byte UUID; any other length gives nothing.
std::optional<BleUuid> uuidFromBytes(std::span<const uint8_t> bytes);
bool sameUuid(const BleUuid& a, const BleUuid& b);
size_t uuidSize(const BleUuid& uuid);

Pdu errorResponse(uint8_t requestOpcode, uint16_t handle, uint8_t error);
// True for the PDUs a client receives: responses, error responses, notifications and indications.
bool isForClient(uint8_t opcode);
// True for opcodes the other side must answer (requests), false for commands, notifications and responses.
bool isRequest(uint8_t opcode);

} // namespace orv::host::att
