// Glucose service: a simulated glucose meter whose records are reached through the Record Access
// Control Point.
#include "GlucoseMeter.h"

#include "HealthValues.h"
#include <veyrauuids.h>

#include <algorithm>

namespace orv::sim {
namespace {

namespace OpCode {
constexpr uint8_t kReport = 0x01;
constexpr uint8_t kDelete = 0x02;
constexpr uint8_t kAbort = 0x03;
constexpr uint8_t kCount = 0x04;
constexpr uint8_t kNumberOfRecords = 0x05;
constexpr uint8_t kResponseCode = 0x06;
} // namespace OpCode

namespace Operator {
constexpr uint8_t kNull = 0x00;
constexpr uint8_t kAll = 0x01;
constexpr uint8_t kAtMost = 0x02;
constexpr uint8_t kWithin = 0x04;
constexpr uint8_t kFirst = 0x05;
constexpr uint8_t kLast = 0x06;
} // namespace Operator

namespace Response {
constexpr uint8_t kSuccess = 0x01;
constexpr uint8_t kOpCodeNotSupported = 0x02;
constexpr uint8_t kInvalidOperator = 0x03;
constexpr uint8_t kOperatorNotSupported = 0x04;
constexpr uint8_t kInvalidOperand = 0x05;
constexpr uint8_t kNoRecordsFound = 0x06;
constexpr uint8_t kOperandNotSupported = 0x09;
} // namespace Response

constexpr uint8_t kFilterSequenceNumber = 0x01;

uint16_t le16(std::span<const uint8_t> bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

// The meter's characteristics are open on an encrypted link only.
GattCharacteristicDescription encrypted(uint16_t uuid, uint8_t properties, std::vector<uint8_t> value = {}) {
    GattCharacteristicDescription description = characteristic(uuid, properties, std::move(value));
    description.security = PeerSecurity::Encryption;
    return description;
}

} // namespace

GlucoseMeter::GlucoseMeter(Simulator& simulator, size_t peerIndex)
    : m_context(simulator, peerIndex),
      m_controlPoint(
          m_context, ServiceUuid::Glucose, CharacteristicUuid::RecordAccessControlPoint,
          {kImproperlyConfigured, kProcedureAlreadyInProgress},
          [this](const std::vector<uint8_t>& request) { onRequest(request); },
          [](std::span<const uint8_t> request) { return !request.empty() && request[0] == OpCode::kAbort; }),
      m_records(storedGlucoseRecords()) {}

std::vector<GattServiceDescription> GlucoseMeter::baseDatabase() const {
    GattServiceDescription glucose;
    glucose.uuid = MakeUuid16(ServiceUuid::Glucose);
    glucose.characteristics = {
        encrypted(CharacteristicUuid::GlucoseMeasurement, kPropertyNotify),
        encrypted(CharacteristicUuid::GlucoseMeasurementContext, kPropertyNotify),
        encrypted(CharacteristicUuid::GlucoseFeature, kPropertyRead, {0xFF, 0x03}), // the statuses it reports
        encrypted(CharacteristicUuid::RecordAccessControlPoint, kPropertyWrite | kPropertyIndicate),
    };
    return {genericAccess(m_context.description()),
            deviceInformation("Orvane", "GM-12", {0x03, 0x71, 0xDA, 0xFE, 0xFF, 0x7D, 0x1A, 0x00}), glucose};
}

void GlucoseMeter::onConnect() {
    m_context.forgetSubscriptions();
}

void GlucoseMeter::onDisconnect() {
    m_context.cancelTimers();
    m_controlPoint.reset();
}

uint8_t GlucoseMeter::onWrite(uint16_t handle, std::span<const uint8_t> value) {
    return m_controlPoint.onWrite(handle, value);
}

void GlucoseMeter::onRequest(const std::vector<uint8_t>& request) {
    const uint8_t opCode = request.empty() ? 0 : request[0];
    if (opCode == OpCode::kAbort) {
        if (request.size() != 2 || request[1] != Operator::kNull) {
            respondCode(opCode, Response::kInvalidOperator);
            return;
        }
        m_context.cancelTimers(); // the report in progress, if any, sends nothing more
        respondCode(opCode, Response::kSuccess);
        return;
    }
    if (opCode != OpCode::kReport && opCode != OpCode::kDelete && opCode != OpCode::kCount) {
        respondCode(opCode, Response::kOpCodeNotSupported);
        return;
    }
    const Selection selection = select(request);
    if (const auto* refusal = std::get_if<uint8_t>(&selection)) {
        respondCode(opCode, *refusal);
        return;
    }
    const auto& records = std::get<std::vector<size_t>>(selection);
    if (opCode == OpCode::kCount) {
        std::vector<uint8_t> response{OpCode::kNumberOfRecords, Operator::kNull};
        put16(response, static_cast<uint16_t>(records.size()));
        m_controlPoint.respond(response);
    } else if (records.empty()) {
        respondCode(opCode, Response::kNoRecordsFound);
    } else if (opCode == OpCode::kDelete) {
        deleteRecords(records);
        respondCode(opCode, Response::kSuccess);
    } else {
        report(records, 0);
    }
}

GlucoseMeter::Selection GlucoseMeter::select(std::span<const uint8_t> request) const {
    if (request.size() < 2 || request[1] == Operator::kNull) {
        return Response::kInvalidOperator;
    }
    const uint8_t op = request[1];
    const auto operand = request.subspan(2);
    if (op > Operator::kLast) {
        return Response::kOperatorNotSupported;
    }
    std::vector<size_t> selected;
    if (op == Operator::kAll || op == Operator::kFirst || op == Operator::kLast) {
        if (!operand.empty()) {
            return Response::kInvalidOperand;
        }
        for (size_t i = 0; i < m_records.size(); ++i) {
            selected.push_back(i);
        }
        if (op != Operator::kAll && !selected.empty()) {
            selected = {op == Operator::kFirst ? selected.front() : selected.back()};
        }
        return selected;
    }
    if (operand.empty()) {
        return Response::kInvalidOperand;
    }
    if (operand[0] != kFilterSequenceNumber) {
        return Response::kOperandNotSupported;
    }
    if (operand.size() != (op == Operator::kWithin ? 5u : 3u)) {
        return Response::kInvalidOperand;
    }
    uint16_t low = op == Operator::kAtMost ? 0 : le16(operand, 1);
    uint16_t high = op == Operator::kAtMost ? le16(operand, 1) : 0xFFFF;
    if (op == Operator::kWithin) {
        high = le16(operand, 3);
        if (low > high) {
            return Response::kInvalidOperand;
        }
    }
    for (size_t i = 0; i < m_records.size(); ++i) {
        if (m_records[i].sequence >= low && m_records[i].sequence <= high) {
            selected.push_back(i);
        }
    }
    return selected;
}

void GlucoseMeter::report(std::vector<size_t> records, size_t next) {
    if (next == records.size()) {
        respondCode(OpCode::kReport, Response::kSuccess);
        return;
    }
    const GlucoseRecord& record = m_records[records[next]];
    notifyIfOn(CharacteristicUuid::GlucoseMeasurement, record.measurement());
    if (const auto context = record.contextValue()) {
        notifyIfOn(CharacteristicUuid::GlucoseMeasurementContext, *context);
    }
    m_context.after(kPaceMs, [this, records = std::move(records), next] { report(records, next + 1); });
}

void GlucoseMeter::deleteRecords(const std::vector<size_t>& records) {
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(*it));
    }
}

void GlucoseMeter::respondCode(uint8_t requestOpCode, uint8_t responseCode) {
    const uint8_t response[] = {OpCode::kResponseCode, Operator::kNull, requestOpCode, responseCode};
    m_controlPoint.respond(response);
}

void GlucoseMeter::notifyIfOn(uint16_t uuid, std::span<const uint8_t> value) {
    const uint16_t handle = m_context.valueHandle(uuid);
    if (m_context.notifying(handle)) {
        m_context.notify(handle, value);
    }
}

} // namespace orv::sim
