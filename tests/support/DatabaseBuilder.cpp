#include "support/DatabaseBuilder.h"

#include "gatt/UuidFunctions.h"

DatabaseBuilder& DatabaseBuilder::Service(uint16_t uuid, uint16_t start, uint16_t end) {
    return Service(MakeUuid16(uuid), start, end);
}

DatabaseBuilder& DatabaseBuilder::Service(const BleUuid& uuid, uint16_t start, uint16_t end) {
    Svc& service = m_services.emplace_back();
    service.record.uuid = uuid;
    service.record.startHandle = start;
    service.record.endHandle = end;
    return *this;
}

DatabaseBuilder& DatabaseBuilder::Characteristic(uint16_t uuid, uint16_t valueHandle, uint8_t properties,
                                                 uint16_t configHandle) {
    return Characteristic(MakeUuid16(uuid), valueHandle, properties, configHandle);
}

DatabaseBuilder& DatabaseBuilder::Characteristic(const BleUuid& uuid, uint16_t valueHandle,
                                                 uint8_t properties, uint16_t configHandle) {
    Char& characteristic = m_services.back().characteristics.emplace_back();
    characteristic.record.uuid = uuid;
    characteristic.record.declarationHandle = static_cast<uint16_t>(valueHandle - 1);
    characteristic.record.valueHandle = valueHandle;
    characteristic.record.properties = properties;
    if (configHandle != 0)
        characteristic.descriptors.push_back({MakeUuid16(0x2902), configHandle});
    return *this;
}

DatabaseBuilder& DatabaseBuilder::Descriptor(const BleUuid& uuid, uint16_t handle) {
    m_services.back().characteristics.back().descriptors.push_back({uuid, handle});
    return *this;
}

const BleHostDatabaseEvent& DatabaseBuilder::Event(uint32_t cid) {
    m_flat.clear();
    for (Svc& service : m_services) {
        service.flat.clear();
        for (Char& characteristic : service.characteristics) {
            characteristic.record.descriptorCount = static_cast<uint16_t>(characteristic.descriptors.size());
            characteristic.record.descriptors =
                characteristic.descriptors.empty() ? nullptr : characteristic.descriptors.data();
            service.flat.push_back(characteristic.record);
        }
        service.record.characteristicCount = static_cast<uint16_t>(service.flat.size());
        service.record.characteristics = service.flat.empty() ? nullptr : service.flat.data();
        m_flat.push_back(service.record);
    }
    m_event = {};
    m_event.cid = cid;
    m_event.serviceCount = static_cast<uint16_t>(m_flat.size());
    m_event.services = m_flat.data();
    return m_event;
}
