// GATT client database model: what the application knows about one peer.
#include "gatt/BleDeviceRecord.h"

#include "gatt/Address.h"
#include "gatt/Uuids.h"

#include <QtGlobal>

namespace {

bool isClientConfiguration(const BleUuid& uuid) {
    return uuid.kind == BLE_UUID_KIND_16 && uuid.uuid16 == DescriptorUuid::ClientCharacteristicConfiguration;
}

BleCharacteristicEntry makeCharacteristic(const BleHostCharacteristicRecord& record) {
    BleCharacteristicEntry entry;
    entry.uuid = record.uuid;
    entry.valueHandle = record.valueHandle;
    entry.declarationHandle = record.declarationHandle;
    entry.properties = record.properties;
    if (record.descriptorCount > 0 && record.descriptors == nullptr) {
        qWarning("Characteristic at handle %u announces %u descriptors without a descriptor array; none kept",
                 record.valueHandle, record.descriptorCount);
        return entry;
    }
    for (uint16_t i = 0; i < record.descriptorCount; ++i) {
        const BleHostDescriptorRecord& descriptor = record.descriptors[i];
        if (isClientConfiguration(descriptor.uuid)) {
            entry.configHandle = descriptor.handle;
            continue;
        }
        entry.descriptors.push_back(BleDescriptorEntry{descriptor.uuid, descriptor.handle});
    }
    return entry;
}

BleServiceEntry makeService(const BleHostServiceRecord& record) {
    BleServiceEntry entry;
    entry.startHandle = record.startHandle;
    entry.endHandle = record.endHandle;
    entry.uuid = record.uuid;
    if (record.characteristicCount > 0 && record.characteristics == nullptr) {
        qWarning(
            "Service at handle %u announces %u characteristics without a characteristic array; none kept",
            record.startHandle, record.characteristicCount);
        return entry;
    }
    for (uint16_t i = 0; i < record.characteristicCount; ++i) {
        const BleHostCharacteristicRecord& characteristic = record.characteristics[i];
        entry.characteristics.insert({characteristic.uuid, makeCharacteristic(characteristic)});
    }
    return entry;
}

// The first of the characteristics with that UUID (a multimap's find may yield any of them).
const BleCharacteristicEntry* firstCharacteristic(const BleServiceEntry& service, const BleUuid& uuid) {
    const auto range = service.characteristics.equal_range(uuid);
    return range.first == range.second ? nullptr : &range.first->second;
}

} // namespace

BleDeviceRecord::BleDeviceRecord(const BleTypedAddress& address, int rssi, const QString& name,
                                 uint8_t adFlags, bool paired)
    : address(address), rssi(rssi), name(name), adFlags(adFlags), paired(paired) {}

QString BleDeviceRecord::GetDisplayName() const {
    return name.isEmpty() ? GetAddressString() : name;
}

QString BleDeviceRecord::GetAddressString() const {
    return BdAddrToString(address);
}

void BleDeviceRecord::BuildServiceMap(int count, const BleHostServiceRecord* records) {
    services.clear();
    if (count < 1) {
        return;
    }
    if (records == nullptr) {
        qWarning("Database discovery announces %d services without a service array; none kept", count);
        return;
    }
    for (int i = 0; i < count; ++i) {
        services.emplace(records[i].uuid, makeService(records[i]));
    }
}

uint16_t BleDeviceRecord::GetHandle(const BleUuid& service, const BleUuid& characteristic,
                                    bool configuration) const {
    const auto found = services.find(service);
    if (found == services.end()) {
        return 0;
    }
    return GetServiceHandle(configuration, found->second, characteristic);
}

uint16_t BleDeviceRecord::GetServiceHandle(bool configuration, const BleServiceEntry& service,
                                           const BleUuid& characteristic) {
    const BleCharacteristicEntry* entry = firstCharacteristic(service, characteristic);
    if (entry == nullptr) {
        return 0;
    }
    return configuration ? entry->configHandle : entry->valueHandle;
}

uint16_t BleDeviceRecord::GetHandle16(const BleServiceEntry& service, uint16_t characteristic,
                                      bool configuration) {
    return GetServiceHandle(configuration, service, MakeUuid16(characteristic));
}

bool BleDeviceRecord::FindService(const BleUuid& service, BleServiceEntry& out) const {
    const auto found = services.find(service);
    if (found == services.end()) {
        return false;
    }
    out = found->second;
    return true;
}

bool BleDeviceRecord::GetCharacteristicProperties(const BleUuid& service, const BleUuid& characteristic,
                                                  uint16_t& properties) const {
    properties = 0;
    const auto found = services.find(service);
    if (found == services.end()) {
        return false;
    }
    const BleCharacteristicEntry* entry = firstCharacteristic(found->second, characteristic);
    if (entry != nullptr) {
        properties = entry->properties;
    }
    return true;
}
