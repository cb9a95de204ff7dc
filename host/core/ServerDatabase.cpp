// GATT server: the local database, its allocation and the handles assigned at registration.
#include "ServerDatabase.h"

#include "AttProtocol.h"
#include "HostLog.h"

namespace orv::host {
namespace {

constexpr uint16_t kFirstHandle = 0x0001;

bool validUuid(const BleUuid& uuid) {
    return uuid.kind == BLE_UUID_KIND_16 || uuid.kind == BLE_UUID_KIND_128;
}

bool hasConfiguration(uint8_t properties) {
    return (properties & (kPropertyNotify | kPropertyIndicate)) != 0;
}

} // namespace

void ServerDatabase::requestAllocation(uint16_t attributeCount) {
    m_attributeCount = attributeCount;
    m_databaseId = 0;
    m_added = false;
    m_services.clear();
}

void ServerDatabase::allocationAnswered(uint16_t status, uint16_t databaseId) {
    m_databaseId = status == 0 ? databaseId : 0;
}

OrvBleResult ServerDatabase::check(uint16_t serviceCount, const BleServerServiceRecord* services,
                                   size_t* attributes) {
    if (serviceCount == 0 || services == nullptr) {
        return ORV_BLE_E_INVALID_ARGUMENT;
    }
    *attributes = 0;
    for (uint16_t s = 0; s < serviceCount; ++s) {
        const BleServerServiceRecord& service = services[s];
        if (!validUuid(service.uuid) ||
            (service.characteristicCount > 0 && service.characteristics == nullptr)) {
            return ORV_BLE_E_INVALID_ARGUMENT;
        }
        *attributes += 1;
        for (uint16_t c = 0; c < service.characteristicCount; ++c) {
            const BleServerCharacteristicRecord& characteristic = service.characteristics[c];
            if (!validUuid(characteristic.uuid)) {
                return ORV_BLE_E_INVALID_ARGUMENT;
            }
            if (characteristic.length > att::kMaxAttributeLength) {
                hostLog() << "veyrahost: a local value of " << characteristic.length << " bytes exceeds "
                          << att::kMaxAttributeLength << '\n';
                return ORV_BLE_E_INVALID_ARGUMENT;
            }
            *attributes += hasConfiguration(characteristic.properties) ? 3 : 2;
        }
    }
    return ORV_BLE_OK;
}

LocalCharacteristic ServerDatabase::copyCharacteristic(BleServerCharacteristicRecord& record,
                                                       uint16_t* handle) {
    LocalCharacteristic characteristic;
    characteristic.uuid = record.uuid;
    characteristic.properties = record.properties;
    characteristic.permissions = record.permissions;
    // A missing value buffer with a length stands for that many zero bytes.
    characteristic.value.assign(record.length, 0);
    if (record.value != nullptr) {
        characteristic.value.assign(record.value, record.value + record.length);
    }
    ++*handle; // declaration
    characteristic.valueHandle = (*handle)++;
    if (hasConfiguration(record.properties)) {
        characteristic.configHandle = (*handle)++;
    }
    record.valueHandle = characteristic.valueHandle;
    record.configHandle = characteristic.configHandle;
    return characteristic;
}

OrvBleResult ServerDatabase::add(uint16_t databaseId, uint16_t serviceCount,
                                 BleServerServiceRecord* services) {
    if (m_databaseId == 0 || databaseId != m_databaseId) {
        hostLog() << "veyrahost: no allocated database has id " << databaseId << '\n';
        return ORV_BLE_E_INVALID_ARGUMENT;
    }
    if (m_added) {
        return ORV_BLE_E_WRONG_STATE;
    }
    size_t attributes = 0;
    if (const OrvBleResult result = check(serviceCount, services, &attributes); result != ORV_BLE_OK) {
        return result;
    }
    if (attributes > m_attributeCount) {
        hostLog() << "veyrahost: local database needs " << attributes << " attributes, " << m_attributeCount
                  << " were allocated\n";
        return ORV_BLE_E_NO_RESOURCES;
    }
    uint16_t handle = kFirstHandle;
    for (uint16_t s = 0; s < serviceCount; ++s) {
        LocalService service;
        service.uuid = services[s].uuid;
        service.startHandle = handle++;
        for (uint16_t c = 0; c < services[s].characteristicCount; ++c) {
            service.characteristics.push_back(copyCharacteristic(services[s].characteristics[c], &handle));
        }
        service.endHandle = static_cast<uint16_t>(handle - 1);
        m_services.push_back(std::move(service));
    }
    m_added = true;
    return ORV_BLE_OK;
}

} // namespace orv::host
