// GATT client: discovering the peer's database (primary services, characteristics, descriptors).
#include "DiscoveryProcedure.h"

#include "AttProtocol.h"

namespace orv::host {
namespace {

constexpr uint32_t kLastHandle = 0xFFFF;

att::Pdu rangeRequest(uint8_t opcode, uint32_t start, uint32_t end) {
    att::Pdu pdu{opcode};
    att::put16(pdu, static_cast<uint16_t>(start));
    att::put16(pdu, static_cast<uint16_t>(end));
    return pdu;
}

} // namespace

std::vector<uint8_t> DiscoveryProcedure::start() {
    return *request();
}

std::optional<std::vector<uint8_t>> DiscoveryProcedure::finish(uint16_t status) {
    if (status != 0) {
        m_services.clear();
    }
    m_results.databaseDiscovered(status, m_services);
    return std::nullopt;
}

uint32_t DiscoveryProcedure::descriptorRangeEnd() const {
    const DiscoveredService& service = m_services[m_service];
    if (m_characteristic + 1 < service.characteristics.size()) {
        return service.characteristics[m_characteristic + 1].declarationHandle - 1u;
    }
    return service.endHandle;
}

std::optional<std::vector<uint8_t>> DiscoveryProcedure::request() {
    if (m_phase == Phase::Services) {
        if (m_next <= kLastHandle) {
            att::Pdu pdu = rangeRequest(att::kReadByGroupTypeRequest, m_next, kLastHandle);
            att::put16(pdu, att::kPrimaryService);
            return pdu;
        }
        m_phase = Phase::Characteristics;
        m_service = 0;
        m_next = m_services.empty() ? 0 : m_services[0].startHandle;
    }
    if (m_phase == Phase::Characteristics) {
        while (m_service < m_services.size() && m_next > m_services[m_service].endHandle) {
            if (++m_service < m_services.size()) {
                m_next = m_services[m_service].startHandle;
            }
        }
        if (m_service < m_services.size()) {
            att::Pdu pdu = rangeRequest(att::kReadByTypeRequest, m_next, m_services[m_service].endHandle);
            att::put16(pdu, att::kCharacteristic);
            return pdu;
        }
        m_phase = Phase::Descriptors;
        m_service = 0;
        m_characteristic = 0;
        m_next = 0;
    }
    for (; m_service < m_services.size(); ++m_service, m_characteristic = 0, m_next = 0) {
        const auto& characteristics = m_services[m_service].characteristics;
        for (; m_characteristic < characteristics.size(); ++m_characteristic, m_next = 0) {
            if (m_next == 0) {
                m_next = characteristics[m_characteristic].valueHandle + 1u;
            }
            if (m_next <= descriptorRangeEnd()) {
                return rangeRequest(att::kFindInformationRequest, m_next, descriptorRangeEnd());
            }
        }
    }
    return finish(0);
}

std::optional<std::vector<uint8_t>> DiscoveryProcedure::next(std::span<const uint8_t> response) {
    if (response[0] == att::kErrorResponse) {
        if (response[4] != att::kAttributeNotFound) {
            return finish(response[4]);
        }
        // Nothing more in this range.
        m_next = m_phase == Phase::Services          ? kLastHandle + 1
                 : m_phase == Phase::Characteristics ? m_services[m_service].endHandle + 1u
                                                     : descriptorRangeEnd() + 1;
        return request();
    }
    switch (m_phase) {
    case Phase::Services:
        return onServices(response);
    case Phase::Characteristics:
        return onCharacteristics(response);
    case Phase::Descriptors:
        return onDescriptors(response);
    }
    return finish(att::kUnlikelyError);
}

std::optional<std::vector<uint8_t>> DiscoveryProcedure::onServices(std::span<const uint8_t> response) {
    const size_t length = response.size() >= 2 ? response[1] : 0;
    if ((length != 6 && length != 20) || (response.size() - 2) % length != 0 || response.size() == 2) {
        return finish(att::kInvalidPdu);
    }
    for (size_t at = 2; at < response.size(); at += length) {
        DiscoveredService service;
        service.startHandle = att::get16(response, at);
        service.endHandle = att::get16(response, at + 2);
        service.uuid = *att::uuidFromBytes(response.subspan(at + 4, length - 4));
        if (service.startHandle < m_next || service.endHandle < service.startHandle) {
            return finish(att::kInvalidPdu);
        }
        m_next = service.endHandle + 1u;
        m_services.push_back(service);
    }
    return request();
}

std::optional<std::vector<uint8_t>> DiscoveryProcedure::onCharacteristics(std::span<const uint8_t> response) {
    const size_t length = response.size() >= 2 ? response[1] : 0;
    if ((length != 7 && length != 21) || (response.size() - 2) % length != 0 || response.size() == 2) {
        return finish(att::kInvalidPdu);
    }
    DiscoveredService& service = m_services[m_service];
    for (size_t at = 2; at < response.size(); at += length) {
        DiscoveredCharacteristic characteristic;
        characteristic.declarationHandle = att::get16(response, at);
        characteristic.properties = response[at + 2];
        characteristic.valueHandle = att::get16(response, at + 3);
        characteristic.uuid = *att::uuidFromBytes(response.subspan(at + 5, length - 5));
        if (characteristic.declarationHandle < m_next ||
            characteristic.valueHandle <= characteristic.declarationHandle ||
            characteristic.valueHandle > service.endHandle) {
            return finish(att::kInvalidPdu);
        }
        m_next = characteristic.declarationHandle + 1u;
        service.characteristics.push_back(characteristic);
    }
    return request();
}

std::optional<std::vector<uint8_t>> DiscoveryProcedure::onDescriptors(std::span<const uint8_t> response) {
    const size_t length = response.size() >= 2 ? (response[1] == 1 ? 4 : response[1] == 2 ? 18 : 0) : 0;
    if (length == 0 || (response.size() - 2) % length != 0 || response.size() == 2) {
        return finish(att::kInvalidPdu);
    }
    auto& characteristic = m_services[m_service].characteristics[m_characteristic];
    const uint32_t end = descriptorRangeEnd();
    for (size_t at = 2; at < response.size(); at += length) {
        DiscoveredDescriptor descriptor;
        descriptor.handle = att::get16(response, at);
        descriptor.uuid = *att::uuidFromBytes(response.subspan(at + 2, length - 2));
        if (descriptor.handle < m_next || descriptor.handle > end) {
            return finish(att::kInvalidPdu);
        }
        m_next = descriptor.handle + 1u;
        characteristic.descriptors.push_back(descriptor);
    }
    return request();
}

} // namespace orv::host
