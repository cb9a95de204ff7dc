// GATT server: answers a connected peer's ATT requests from the local database and the application.
#include "LocalGattServer.h"

#include "AttProtocol.h"
#include "HostLog.h"

#include <veyrauuids.h>

#include <algorithm>
#include <cstring>

namespace orv::host {
namespace {

constexpr uint16_t kApplicationReads = 0x10;
// The one configuration whose reads the application answers: it keeps Current Time's notification state.
const BleUuid kCurrentTime = MakeUuid16(CharacteristicUuid::CurrentTime);
constexpr size_t kPrepareQueueLimit = 64;

struct Range {
    uint16_t start;
    uint16_t end;
};

std::optional<Range> rangeOf(std::span<const uint8_t> pdu, size_t minimum, att::Pdu* error) {
    if (pdu.size() < minimum) {
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

att::Pdu declarationValue(const LocalCharacteristic& characteristic) {
    att::Pdu value{characteristic.properties};
    att::put16(value, characteristic.valueHandle);
    att::putUuid(value, characteristic.uuid);
    return value;
}

att::Pdu uuidValue(const BleUuid& uuid) {
    att::Pdu value;
    att::putUuid(value, uuid);
    return value;
}

} // namespace

std::optional<LocalGattServer::Attribute> LocalGattServer::find(uint16_t handle) const {
    for (const LocalService& service : m_database.services()) {
        if (handle == service.startHandle) {
            return Attribute{Kind::Service, &service, nullptr};
        }
        for (const LocalCharacteristic& c : service.characteristics) {
            if (handle == c.valueHandle - 1) {
                return Attribute{Kind::Declaration, &service, &c};
            }
            if (handle == c.valueHandle) {
                return Attribute{Kind::Value, &service, &c};
            }
            if (c.configHandle != 0 && handle == c.configHandle) {
                return Attribute{Kind::Configuration, &service, &c};
            }
        }
    }
    return std::nullopt;
}

std::vector<uint8_t> LocalGattServer::storedValue(const LinkState& link, uint16_t handle,
                                                  const Attribute& attribute) const {
    switch (attribute.kind) {
    case Kind::Service:
        return uuidValue(attribute.service->uuid);
    case Kind::Declaration:
        return declarationValue(*attribute.characteristic);
    case Kind::Value:
        return attribute.characteristic->value;
    case Kind::Configuration:
        break;
    }
    const auto it = link.configurations.find(handle);
    return it == link.configurations.end() ? std::vector<uint8_t>{0, 0} : it->second;
}

void LocalGattServer::onPeerPdu(uint32_t cid, std::span<const uint8_t> pdu, const Send& send) {
    if (pdu.empty() || pdu[0] == att::kHandleValueConfirmation) {
        return;
    }
    if (pdu.size() > att::kMtu) {
        hostLog() << "veyrahost: ATT PDU 0x" << std::hex << int{pdu[0]} << std::dec << " of " << pdu.size()
                  << " bytes exceeds the MTU of " << att::kMtu << "; protocol error\n";
        if (att::isRequest(pdu[0])) {
            send(att::errorResponse(pdu[0], 0, att::kInvalidPdu));
        }
        return;
    }
    LinkState& link = m_links[cid];
    if (link.pending && pdu[0] != att::kWriteCommand) {
        hostLog() << "veyrahost: peer sent a request while one is unanswered; refused\n";
        send(att::errorResponse(pdu[0], 0, att::kUnlikelyError));
        return;
    }
    std::optional<att::Pdu> answer;
    switch (pdu[0]) {
    case att::kExchangeMtuRequest:
        answer = att::Pdu{att::kExchangeMtuResponse, att::kMtu & 0xFF, att::kMtu >> 8};
        break;
    case att::kFindInformationRequest:
        answer = findInformation(pdu);
        break;
    case att::kFindByTypeValueRequest:
        answer = findByTypeValue(pdu);
        break;
    case att::kReadByTypeRequest:
        answer = readByType(pdu);
        break;
    case att::kReadByGroupTypeRequest:
        answer = readByGroupType(pdu);
        break;
    case att::kReadRequest:
    case att::kReadBlobRequest:
        answer = read(cid, pdu, send);
        break;
    case att::kWriteRequest:
    case att::kWriteCommand:
        answer = write(cid, pdu, send);
        break;
    case att::kPrepareWriteRequest:
        answer = prepare(cid, pdu);
        break;
    case att::kExecuteWriteRequest:
        answer = execute(cid, pdu, send);
        break;
    default:
        if ((pdu[0] & 0x40) == 0) {
            answer = att::errorResponse(pdu[0], 0, att::kRequestNotSupported);
        }
    }
    if (answer) {
        send(std::move(*answer));
    }
}

std::vector<uint8_t> LocalGattServer::findInformation(std::span<const uint8_t> pdu) const {
    att::Pdu error;
    const auto range = rangeOf(pdu, 5, &error);
    if (!range) {
        return error;
    }
    att::Pdu response{att::kFindInformationResponse, 0};
    auto add = [&](uint16_t handle, const BleUuid& type) {
        const uint8_t format = type.kind == BLE_UUID_KIND_16 ? 1 : 2;
        if (handle < range->start || handle > range->end) {
            return true;
        }
        if ((response[1] != 0 && response[1] != format) ||
            response.size() + 2 + att::uuidSize(type) > att::kMtu) {
            return false;
        }
        response[1] = format;
        att::put16(response, handle);
        att::putUuid(response, type);
        return true;
    };
    for (const LocalService& service : m_database.services()) {
        bool more = add(service.startHandle, MakeUuid16(att::kPrimaryService));
        for (const LocalCharacteristic& c : service.characteristics) {
            more = more && add(static_cast<uint16_t>(c.valueHandle - 1), MakeUuid16(att::kCharacteristic)) &&
                   add(c.valueHandle, c.uuid) &&
                   (c.configHandle == 0 ||
                    add(c.configHandle, MakeUuid16(DescriptorUuid::ClientCharacteristicConfiguration)));
        }
        if (!more) {
            break;
        }
    }
    return response[1] == 0 ? att::errorResponse(pdu[0], range->start, att::kAttributeNotFound) : response;
}

std::vector<uint8_t> LocalGattServer::findByTypeValue(std::span<const uint8_t> pdu) const {
    att::Pdu error;
    const auto range = rangeOf(pdu, 7, &error);
    if (!range) {
        return error;
    }
    if (att::get16(pdu, 5) != att::kPrimaryService) {
        return att::errorResponse(pdu[0], range->start, att::kAttributeNotFound);
    }
    const auto wanted = pdu.subspan(7);
    att::Pdu response{att::kFindByTypeValueResponse};
    for (const LocalService& service : m_database.services()) {
        const att::Pdu value = uuidValue(service.uuid);
        if (service.startHandle < range->start || service.startHandle > range->end ||
            !std::equal(value.begin(), value.end(), wanted.begin(), wanted.end()) ||
            response.size() + 4 > att::kMtu) {
            continue;
        }
        att::put16(response, service.startHandle);
        att::put16(response, service.endHandle);
    }
    return response.size() == 1 ? att::errorResponse(pdu[0], range->start, att::kAttributeNotFound)
                                : response;
}

std::vector<uint8_t> LocalGattServer::readByGroupType(std::span<const uint8_t> pdu) const {
    att::Pdu error;
    const auto range = rangeOf(pdu, 7, &error);
    if (!range) {
        return error;
    }
    const auto type = att::uuidFromBytes(pdu.subspan(5));
    if (!type || !att::sameUuid(*type, MakeUuid16(att::kPrimaryService))) {
        return att::errorResponse(pdu[0], range->start, att::kUnsupportedGroupType);
    }
    att::Pdu response{att::kReadByGroupTypeResponse, 0};
    for (const LocalService& service : m_database.services()) {
        if (service.startHandle < range->start || service.startHandle > range->end) {
            continue;
        }
        const att::Pdu value = uuidValue(service.uuid);
        const auto length = static_cast<uint8_t>(4 + value.size());
        if ((response[1] != 0 && response[1] != length) || response.size() + length > att::kMtu) {
            break;
        }
        response[1] = length;
        att::put16(response, service.startHandle);
        att::put16(response, service.endHandle);
        response.insert(response.end(), value.begin(), value.end());
    }
    return response[1] == 0 ? att::errorResponse(pdu[0], range->start, att::kAttributeNotFound) : response;
}

std::vector<uint8_t> LocalGattServer::readByType(std::span<const uint8_t> pdu) const {
    att::Pdu error;
    const auto range = rangeOf(pdu, 7, &error);
    if (!range) {
        return error;
    }
    const auto type = att::uuidFromBytes(pdu.subspan(5));
    att::Pdu response{att::kReadByTypeResponse, 0};
    // Only characteristic declarations are served by type; values are read by handle.
    if (type && att::sameUuid(*type, MakeUuid16(att::kCharacteristic))) {
        for (const LocalService& service : m_database.services()) {
            for (const LocalCharacteristic& c : service.characteristics) {
                const auto handle = static_cast<uint16_t>(c.valueHandle - 1);
                if (handle < range->start || handle > range->end) {
                    continue;
                }
                const att::Pdu value = declarationValue(c);
                const auto length = static_cast<uint8_t>(2 + value.size());
                if ((response[1] != 0 && response[1] != length) || response.size() + length > att::kMtu) {
                    return response;
                }
                response[1] = length;
                att::put16(response, handle);
                response.insert(response.end(), value.begin(), value.end());
            }
        }
    }
    return response[1] == 0 ? att::errorResponse(pdu[0], range->start, att::kAttributeNotFound) : response;
}

std::optional<std::vector<uint8_t>> LocalGattServer::read(uint32_t cid, std::span<const uint8_t> pdu,
                                                          const Send& send) {
    const bool blob = pdu[0] == att::kReadBlobRequest;
    if (pdu.size() != (blob ? 5u : 3u)) {
        return att::errorResponse(pdu[0], 0, att::kInvalidPdu);
    }
    const uint16_t handle = att::get16(pdu, 1);
    const uint16_t offset = blob ? att::get16(pdu, 3) : 0;
    const auto attribute = find(handle);
    if (!attribute) {
        return att::errorResponse(pdu[0], handle, att::kInvalidHandle);
    }
    if (attribute->kind == Kind::Value && (attribute->characteristic->properties & kPropertyRead) == 0) {
        return att::errorResponse(pdu[0], handle, att::kReadNotPermitted);
    }
    const bool applicationValue =
        attribute->kind == Kind::Value && (attribute->characteristic->permissions & kApplicationReads) != 0;
    const bool applicationConfiguration = attribute->kind == Kind::Configuration &&
                                          att::sameUuid(attribute->characteristic->uuid, kCurrentTime);
    const bool application = applicationValue || applicationConfiguration;
    LinkState& link = m_links[cid];
    if (application) {
        link.pending = Pending{pdu[0], handle, offset, {}, send};
        auto* event = m_poster.create<BleHostServerReadEvent>(BLE_EVT_SERVER_READ);
        event->cid = cid;
        event->handle = handle;
        m_poster.postRecord(BLE_EVT_SERVER_READ, event);
        return std::nullopt;
    }
    const std::vector<uint8_t> value = storedValue(link, handle, *attribute);
    if (offset > value.size()) {
        return att::errorResponse(pdu[0], handle, att::kInvalidOffset);
    }
    att::Pdu response{static_cast<uint8_t>(pdu[0] + 1)};
    const size_t length = std::min<size_t>(value.size() - offset, att::kMtu - 1);
    response.insert(response.end(), value.begin() + offset,
                    value.begin() + static_cast<long>(offset + length));
    return response;
}

uint8_t LocalGattServer::writeCheck(const Attribute& attribute, size_t length, bool command) {
    if (attribute.kind == Kind::Configuration) {
        return length == 2 ? 0 : att::kInvalidAttributeValueLength;
    }
    if (attribute.kind != Kind::Value || (attribute.characteristic->properties &
                                          (command ? kPropertyWriteWithoutResponse : kPropertyWrite)) == 0) {
        return att::kWriteNotPermitted;
    }
    return length > att::kMaxAttributeLength ? att::kInvalidAttributeValueLength : 0;
}

std::optional<std::vector<uint8_t>> LocalGattServer::write(uint32_t cid, std::span<const uint8_t> pdu,
                                                           const Send& send) {
    const bool command = pdu[0] == att::kWriteCommand;
    if (pdu.size() < 3) {
        return command ? std::nullopt : std::optional(att::errorResponse(pdu[0], 0, att::kInvalidPdu));
    }
    const uint16_t handle = att::get16(pdu, 1);
    const auto attribute = find(handle);
    const uint8_t refusal = attribute ? writeCheck(*attribute, pdu.size() - 3, command) : att::kInvalidHandle;
    if (refusal != 0) {
        return command ? std::nullopt : std::optional(att::errorResponse(pdu[0], handle, refusal));
    }
    std::vector<std::pair<uint16_t, std::vector<uint8_t>>> writes{{handle, {pdu.begin() + 3, pdu.end()}}};
    LinkState& link = m_links[cid];
    if (command) {
        link.commands.push_back(handle);
    } else {
        link.pending = Pending{pdu[0], handle, 0, writes, send};
    }
    postWrite(cid, handle, writes);
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> LocalGattServer::prepare(uint32_t cid, std::span<const uint8_t> pdu) {
    if (pdu.size() < 5) {
        return att::errorResponse(pdu[0], 0, att::kInvalidPdu);
    }
    const uint16_t handle = att::get16(pdu, 1);
    const auto attribute = find(handle);
    const uint8_t refusal = attribute ? writeCheck(*attribute, 0, false) : att::kInvalidHandle;
    if (refusal != 0 && refusal != att::kInvalidAttributeValueLength) {
        return att::errorResponse(pdu[0], handle, refusal);
    }
    auto& prepared = m_links[cid].prepared;
    if (prepared.size() >= kPrepareQueueLimit) {
        return att::errorResponse(pdu[0], handle, att::kPrepareQueueFull);
    }
    prepared.emplace_back(handle, att::get16(pdu, 3), std::vector<uint8_t>(pdu.begin() + 5, pdu.end()));
    att::Pdu response(pdu.begin(), pdu.end());
    response[0] = att::kPrepareWriteResponse;
    return response;
}

std::optional<std::vector<uint8_t>> LocalGattServer::execute(uint32_t cid, std::span<const uint8_t> pdu,
                                                             const Send& send) {
    LinkState& link = m_links[cid];
    const auto prepared = std::move(link.prepared);
    link.prepared.clear();
    if (pdu.size() != 2) {
        return att::errorResponse(pdu[0], 0, att::kInvalidPdu);
    }
    if (pdu[1] == 0 || prepared.empty()) {
        return att::Pdu{att::kExecuteWriteResponse};
    }
    // The parts of each attribute are joined into one value; the application gets one entry per attribute.
    std::vector<std::pair<uint16_t, std::vector<uint8_t>>> writes;
    for (const auto& [handle, offset, bytes] : prepared) {
        auto it =
            std::find_if(writes.begin(), writes.end(), [h = handle](const auto& w) { return w.first == h; });
        if (it == writes.end()) {
            it = writes.insert(writes.end(), {handle, {}});
        }
        if (offset > it->second.size()) {
            return att::errorResponse(pdu[0], handle, att::kInvalidOffset);
        }
        it->second.resize(std::max<size_t>(it->second.size(), offset + bytes.size()));
        std::copy(bytes.begin(), bytes.end(), it->second.begin() + offset);
        const auto attribute = find(handle);
        const uint8_t refusal =
            attribute ? writeCheck(*attribute, it->second.size(), false) : att::kInvalidHandle;
        if (refusal != 0) {
            return att::errorResponse(pdu[0], handle, refusal);
        }
    }
    link.pending = Pending{pdu[0], writes.front().first, 0, writes, send};
    postWrite(cid, writes.front().first, writes);
    return std::nullopt;
}

void LocalGattServer::postWrite(uint32_t cid, uint16_t handle,
                                const std::vector<std::pair<uint16_t, std::vector<uint8_t>>>& writes) {
    size_t extra = (sizeof(BleHostWriteEntry) * writes.size() + 15) / 16 * 16;
    for (const auto& write : writes) {
        extra += write.second.size();
    }
    auto* event = m_poster.create<BleHostServerWriteEvent>(BLE_EVT_SERVER_WRITE, extra);
    event->cid = cid;
    event->handle = handle;
    event->count = static_cast<uint16_t>(writes.size());
    uint8_t* cursor = EventPoster::trailing(event);
    event->entries = reinterpret_cast<BleHostWriteEntry*>(cursor);
    cursor += (sizeof(BleHostWriteEntry) * writes.size() + 15) / 16 * 16;
    for (size_t i = 0; i < writes.size(); ++i) {
        BleHostWriteEntry& entry = event->entries[i];
        entry.handle = writes[i].first;
        entry.length = static_cast<uint16_t>(writes[i].second.size());
        std::copy(writes[i].second.begin(), writes[i].second.end(), cursor);
        entry.value = cursor;
        cursor += writes[i].second.size();
    }
    m_poster.postRecord(BLE_EVT_SERVER_WRITE, event);
}

OrvBleResult LocalGattServer::readResponse(uint32_t cid, uint16_t handle, int32_t result,
                                           std::span<const uint8_t> data) {
    const auto it = m_links.find(cid);
    if (it == m_links.end() || !it->second.pending || it->second.pending->handle != handle ||
        (it->second.pending->opcode != att::kReadRequest &&
         it->second.pending->opcode != att::kReadBlobRequest)) {
        hostLog() << "veyrahost: no peer read of handle " << handle << " is waiting for an answer\n";
        return ORV_BLE_E_WRONG_STATE;
    }
    const Pending pending = std::move(*it->second.pending);
    it->second.pending.reset();
    if (result > 0) {
        pending.send(att::errorResponse(pending.opcode, handle, static_cast<uint8_t>(result)));
        return ORV_BLE_OK;
    }
    if (pending.offset > data.size()) {
        pending.send(att::errorResponse(pending.opcode, handle, att::kInvalidOffset));
        return ORV_BLE_OK;
    }
    att::Pdu response{static_cast<uint8_t>(pending.opcode + 1)};
    const size_t length = std::min<size_t>(data.size() - pending.offset, att::kMtu - 1);
    response.insert(response.end(), data.begin() + pending.offset,
                    data.begin() + static_cast<long>(pending.offset + length));
    pending.send(std::move(response));
    return ORV_BLE_OK;
}

OrvBleResult LocalGattServer::writeResponse(uint32_t cid, uint16_t handle, int32_t result) {
    const auto it = m_links.find(cid);
    if (it == m_links.end()) {
        return ORV_BLE_E_WRONG_STATE;
    }
    LinkState& link = it->second;
    const bool request =
        link.pending && link.pending->handle == handle &&
        (link.pending->opcode == att::kWriteRequest || link.pending->opcode == att::kExecuteWriteRequest);
    if (!request) {
        const auto command = std::find(link.commands.begin(), link.commands.end(), handle);
        if (command == link.commands.end()) {
            hostLog() << "veyrahost: no peer write of handle " << handle << " is waiting for an answer\n";
            return ORV_BLE_E_WRONG_STATE;
        }
        link.commands.erase(command);
        return ORV_BLE_OK;
    }
    const Pending pending = std::move(*link.pending);
    link.pending.reset();
    // A negative result (-1): the application took nothing from the value; the peer is told so.
    if (result != 0) {
        const uint8_t error = result > 0 ? static_cast<uint8_t>(result) : att::kValueNotAllowed;
        pending.send(att::errorResponse(pending.opcode, handle, error));
        return ORV_BLE_OK;
    }
    for (const auto& [written, value] : pending.writes) {
        if (const auto attribute = find(written); attribute && attribute->kind == Kind::Configuration) {
            link.configurations[written] = value;
        }
    }
    pending.send({static_cast<uint8_t>(pending.opcode + 1)});
    return ORV_BLE_OK;
}

OrvBleResult LocalGattServer::notify(uint16_t handle, std::span<const uint8_t> data, const Send& send) const {
    const auto attribute = find(handle);
    if (!attribute || attribute->kind != Kind::Value ||
        (attribute->characteristic->properties & (kPropertyNotify | kPropertyIndicate)) == 0 ||
        data.size() > att::kMtu - 3u) {
        hostLog() << "veyrahost: cannot notify handle " << handle << " with " << data.size() << " bytes\n";
        return ORV_BLE_E_INVALID_ARGUMENT;
    }
    att::Pdu pdu{att::kHandleValueNotification};
    att::put16(pdu, handle);
    pdu.insert(pdu.end(), data.begin(), data.end());
    send(std::move(pdu));
    return ORV_BLE_OK;
}

} // namespace orv::host
