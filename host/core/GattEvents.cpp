// GATT client: event records for discovery, read, write and notification results.
#include "GattEvents.h"

#include <algorithm>
#include <cstring>

namespace orv::host::gattEvents {
namespace {

constexpr size_t alignUp(size_t size) {
    return (size + 15) / 16 * 16;
}

template <typename T> T* place(uint8_t*& cursor, size_t count) {
    T* first = reinterpret_cast<T*>(cursor);
    cursor += alignUp(sizeof(T) * count);
    return first;
}

} // namespace

void postDatabase(EventPoster& poster, uint32_t cid, uint16_t status,
                  const std::vector<DiscoveredService>& services) {
    size_t extra = alignUp(sizeof(BleHostServiceRecord) * services.size());
    for (const DiscoveredService& service : services) {
        extra += alignUp(sizeof(BleHostCharacteristicRecord) * service.characteristics.size());
        for (const DiscoveredCharacteristic& characteristic : service.characteristics) {
            extra += alignUp(sizeof(BleHostDescriptorRecord) * characteristic.descriptors.size());
        }
    }
    auto* event = poster.create<BleHostDatabaseEvent>(BLE_EVT_DATABASE_DISCOVERED, extra);
    event->cid = cid;
    event->status = status;
    event->serviceCount = static_cast<uint16_t>(std::min<size_t>(services.size(), 0xFFFF));
    uint8_t* cursor = EventPoster::trailing(event);
    event->services = services.empty() ? nullptr : place<BleHostServiceRecord>(cursor, services.size());
    for (size_t s = 0; s < event->serviceCount; ++s) {
        const DiscoveredService& service = services[s];
        BleHostServiceRecord& record = event->services[s];
        record.uuid = service.uuid;
        record.startHandle = service.startHandle;
        record.endHandle = service.endHandle;
        record.characteristicCount = static_cast<uint16_t>(service.characteristics.size());
        if (service.characteristics.empty()) {
            continue;
        }
        record.characteristics = place<BleHostCharacteristicRecord>(cursor, service.characteristics.size());
        for (size_t c = 0; c < service.characteristics.size(); ++c) {
            const DiscoveredCharacteristic& characteristic = service.characteristics[c];
            BleHostCharacteristicRecord& out = record.characteristics[c];
            out.uuid = characteristic.uuid;
            out.declarationHandle = characteristic.declarationHandle;
            out.valueHandle = characteristic.valueHandle;
            out.properties = characteristic.properties;
            out.descriptorCount = static_cast<uint16_t>(characteristic.descriptors.size());
            if (characteristic.descriptors.empty()) {
                continue;
            }
            out.descriptors = place<BleHostDescriptorRecord>(cursor, characteristic.descriptors.size());
            for (size_t d = 0; d < characteristic.descriptors.size(); ++d) {
                out.descriptors[d].uuid = characteristic.descriptors[d].uuid;
                out.descriptors[d].handle = characteristic.descriptors[d].handle;
            }
        }
    }
    poster.postRecord(BLE_EVT_DATABASE_DISCOVERED, event);
}

void postRead(EventPoster& poster, uint32_t cid, uint16_t status, uint16_t handle,
              const std::vector<uint8_t>& value) {
    auto* event = poster.create<BleHostReadEvent>(BLE_EVT_CHAR_READ, value.size());
    event->status = status;
    event->cid = cid;
    event->handle = handle;
    event->length = static_cast<uint16_t>(value.size());
    uint8_t* bytes = EventPoster::trailing(event);
    std::copy(value.begin(), value.end(), bytes);
    event->value = bytes;
    poster.postRecord(BLE_EVT_CHAR_READ, event);
}

void postWritten(EventPoster& poster, uint32_t cid, uint16_t status, uint16_t handle) {
    auto* event = poster.create<BleHostWriteEvent>(BLE_EVT_CHAR_WRITTEN);
    event->status = status;
    event->cid = cid;
    event->handle = handle;
    poster.postRecord(BLE_EVT_CHAR_WRITTEN, event);
}

void postNotification(EventPoster& poster, uint32_t cid, uint16_t handle, const std::vector<uint8_t>& value,
                      bool indication) {
    auto* event = poster.create<BleHostNotificationEvent>(BLE_EVT_NOTIFICATION, value.size());
    event->cid = cid;
    event->indication = indication ? 1 : 0;
    event->handle = handle;
    event->length = static_cast<uint16_t>(value.size());
    uint8_t* bytes = EventPoster::trailing(event);
    std::copy(value.begin(), value.end(), bytes);
    event->value = bytes;
    poster.postRecord(BLE_EVT_NOTIFICATION, event);
}

} // namespace orv::host::gattEvents
