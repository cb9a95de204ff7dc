// Host: the C interface; checks arguments and state once, then hands over to the host library.
#include "HostLibrary.h"
#include "veyrahost.h"
#include "veyrasim.h"

#include <cstddef>

using orv::host::HostLibrary;

// The record layouts the application reads field by field.
static_assert(sizeof(BleTypedAddress) == 12 && offsetof(BleTypedAddress, nap) == 2 &&
              offsetof(BleTypedAddress, uap) == 4 && offsetof(BleTypedAddress, lap) == 8);
static_assert(sizeof(BleUuid) == 20 && offsetof(BleUuid, uuid16) == 2 && offsetof(BleUuid, uuid128) == 4);
static_assert(sizeof(BleHostDescriptorRecord) == 22);
static_assert(sizeof(BleHostPairedDevice) == 68 && offsetof(BleHostPairedDevice, name) == 12 &&
              offsetof(BleHostPairedDevice, appearance) == 64);
static_assert(offsetof(BleHostDeviceFoundEvent, rssi) == 12 &&
              offsetof(BleHostDeviceFoundEvent, presentMask) == 14);
static_assert(offsetof(BleHostDeviceFoundEvent, adFlags) > offsetof(BleHostDeviceFoundEvent, name) &&
              offsetof(BleHostDeviceFoundEvent, slaveIntervalMax) ==
                  offsetof(BleHostDeviceFoundEvent, slaveIntervalMin) + 2);
static_assert(offsetof(BleHostConnectEvent, status) == 2 && offsetof(BleHostConnectEvent, cid) == 4);
static_assert(offsetof(BleHostServerAllocEvent, status) == 2 &&
              offsetof(BleHostServerAllocEvent, databaseId) == 4);
static_assert(offsetof(BleServerCharacteristicRecord, valueHandle) == 26 &&
              offsetof(BleServerCharacteristicRecord, configHandle) == 28);

namespace {

HostLibrary& library() {
    return HostLibrary::instance();
}

} // namespace

namespace orv::sim {

std::size_t liveRecordCount() {
    return library().records().liveCount();
}

std::size_t unknownFreeCount() {
    return library().records().unknownFreeCount();
}

} // namespace orv::sim

extern "C" {

void OrvBleHostSetPlatform(const OrvBleHostPlatform* platform) {
    if (platform != nullptr) {
        library().setPlatform(*platform);
    }
}

uint32_t OrvBleHostInit(int debug, int /*reserved*/, const OrvBleHostInitParams* params) {
    if (params == nullptr) {
        return 0;
    }
    return library().init(debug != 0);
}

int OrvBleHostStartWnd(OrvHwnd window) {
    return library().startWindow(window) ? 1 : 0;
}

void OrvBleHostDeinit(void) {
    library().deinit();
}

void OrvBleHostFreeMessageContents(uint32_t code, intptr_t lParam) {
    library().freeMessage(code, lParam);
}

OrvBleResult OrvBleHostStartDeviceSearch(uint32_t /*mode*/) {
    return library().startSearch();
}

OrvBleResult OrvBleHostStopDeviceSearch(void) {
    return library().stopSearch();
}

int OrvBleHostGetPairedDeviceList(uint16_t* count, BleHostPairedDevice** array) {
    if (!library().initialised() || count == nullptr || array == nullptr) {
        return 0;
    }
    return library().pairedDevices(count, array) ? 1 : 0;
}

void OrvBleHostFreePairedDeviceList(BleHostPairedDevice* array) {
    library().freePairedDevices(array);
}

OrvBleResult OrvBleHostUpdatePairedDeviceList(const BleHostPairedDevice* device) {
    if (!library().initialised()) {
        return ORV_BLE_E_NOT_INITIALISED;
    }
    if (device == nullptr) {
        return ORV_BLE_E_INVALID_ARGUMENT;
    }
    return library().updatePairedDevice(*device);
}

OrvBleResult OrvBleServerAllocDatabase(uint16_t attributeCount) {
    if (!library().initialised()) {
        return ORV_BLE_E_NOT_INITIALISED;
    }
    if (attributeCount == 0) {
        return ORV_BLE_E_INVALID_ARGUMENT;
    }
    return library().allocateServerDatabase(attributeCount);
}

OrvBleResult OrvBleServerAddDatabase(uint16_t databaseId, uint16_t serviceCount,
                                     BleServerServiceRecord* services) {
    if (!library().initialised()) {
        return ORV_BLE_E_NOT_INITIALISED;
    }
    if (serviceCount == 0 || services == nullptr) {
        return ORV_BLE_E_INVALID_ARGUMENT;
    }
    return library().addServerDatabase(databaseId, serviceCount, services);
}

} // extern "C"
