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
static_assert(offsetof(BleHostDisconnectEvent, reason) == 2 && offsetof(BleHostDebondEvent, status) == 2 &&
              offsetof(BleHostDebondEvent, address) == 4);
static_assert(offsetof(BleHostRssiEvent, status) == 2 && offsetof(BleHostRssiEvent, rssi) == 16);
static_assert(offsetof(BleHostConnParamRequestEvent, intervalMin) == 4 &&
              offsetof(BleHostConnParamRequestEvent, supervisionTimeout) == 10 &&
              offsetof(BleHostConnParamRequestEvent, requestId) == 12);
static_assert(offsetof(BleHostDatabaseEvent, serviceCount) == 8 &&
              offsetof(BleHostServiceRecord, startHandle) == 20 &&
              offsetof(BleHostServiceRecord, characteristicCount) == 24 &&
              offsetof(BleHostCharacteristicRecord, valueHandle) == 22 &&
              offsetof(BleHostCharacteristicRecord, descriptorCount) == 26);
static_assert(offsetof(BleHostReadEvent, status) == 2 && offsetof(BleHostReadEvent, handle) == 8 &&
              offsetof(BleHostReadEvent, length) == 10);
static_assert(offsetof(BleHostWriteEvent, status) == 2 && offsetof(BleHostWriteEvent, handle) == 8);
static_assert(offsetof(BleHostNotificationEvent, handle) == 16 &&
              offsetof(BleHostNotificationEvent, length) == 18);
static_assert(offsetof(BleHostServerReadEvent, handle) == 4 &&
              offsetof(BleHostServerWriteEvent, count) == 6 && offsetof(BleHostWriteEntry, length) == 4);
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

void setDebugOutputDirectory(const std::string& directory) {
    library().setDebugDirectory(directory.empty() ? "." : directory);
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

namespace {

orv::host::ConnectionParameters parameters(uint16_t min, uint16_t max, uint16_t latency, uint16_t timeout) {
    return {min, max, latency, timeout};
}

// The GATT client of cid when the host is up and the link usable; otherwise why not.
OrvBleResult clientFor(uint32_t cid, orv::host::GattClient** client) {
    if (const OrvBleResult ready = library().readiness(); ready != ORV_BLE_OK) {
        return ready;
    }
    *client = library().client(cid);
    return *client == nullptr ? ORV_BLE_E_NOT_CONNECTED : ORV_BLE_OK;
}

} // namespace

extern "C" {

OrvBleResult OrvBleHostSetConnectionParams(uint16_t scanInterval, uint16_t scanWindow, uint16_t intervalMin,
                                           uint16_t intervalMax, uint16_t slaveLatency,
                                           uint16_t supervisionTimeout) {
    if (const OrvBleResult ready = library().readiness(); ready != ORV_BLE_OK) {
        return ready;
    }
    return library().links().setDefaults(
        scanInterval, scanWindow, parameters(intervalMin, intervalMax, slaveLatency, supervisionTimeout));
}

OrvBleResult OrvBleHostConnect(BleTypedAddress address) {
    if (const OrvBleResult ready = library().readiness(); ready != ORV_BLE_OK) {
        return ready;
    }
    if (address.type > 1) {
        return ORV_BLE_E_INVALID_ARGUMENT;
    }
    return library().links().connect(address);
}

OrvBleResult OrvBleHostCancelConnect(void) {
    if (const OrvBleResult ready = library().readiness(); ready != ORV_BLE_OK) {
        return ready;
    }
    return library().links().cancelConnect();
}

OrvBleResult OrvBleHostDisconnect(uint32_t cid) {
    if (const OrvBleResult ready = library().readiness(); ready != ORV_BLE_OK) {
        return ready;
    }
    return library().links().disconnect(cid);
}

OrvBleResult OrvBleHostUpdateConnectionParams(BleTypedAddress address, uint16_t intervalMin,
                                              uint16_t intervalMax, uint16_t slaveLatency,
                                              uint16_t supervisionTimeout, uint16_t /*minCeLength*/,
                                              uint16_t /*maxCeLength*/) {
    if (const OrvBleResult ready = library().readiness(); ready != ORV_BLE_OK) {
        return ready;
    }
    return library().links().update(address,
                                    parameters(intervalMin, intervalMax, slaveLatency, supervisionTimeout));
}

OrvBleResult OrvBleHostAcceptConnUpdate(uint32_t cid, uint16_t requestId, int accept) {
    if (const OrvBleResult ready = library().readiness(); ready != ORV_BLE_OK) {
        return ready;
    }
    return library().links().answerRequest(cid, requestId, accept != 0);
}

OrvBleResult OrvBleHostGetRssi(BleTypedAddress address) {
    if (const OrvBleResult ready = library().readiness(); ready != ORV_BLE_OK) {
        return ready;
    }
    return library().links().readRssi(address);
}

OrvBleResult OrvBleClientDiscoverDatabase(uint32_t cid) {
    orv::host::GattClient* client = nullptr;
    const OrvBleResult result = clientFor(cid, &client);
    return result == ORV_BLE_OK ? client->discover() : result;
}

OrvBleResult OrvBleClientReadCharByHandle(uint32_t cid, uint16_t handle) {
    if (handle == 0) {
        return library().initialised() ? ORV_BLE_E_INVALID_ARGUMENT : ORV_BLE_E_NOT_INITIALISED;
    }
    orv::host::GattClient* client = nullptr;
    const OrvBleResult result = clientFor(cid, &client);
    return result == ORV_BLE_OK ? client->read(handle) : result;
}

OrvBleResult OrvBleClientWriteCfmCharByHandle(uint32_t cid, uint16_t handle, uint16_t offset, uint8_t length,
                                              const uint8_t* data) {
    if (handle == 0 || (length > 0 && data == nullptr)) {
        return library().initialised() ? ORV_BLE_E_INVALID_ARGUMENT : ORV_BLE_E_NOT_INITIALISED;
    }
    orv::host::GattClient* client = nullptr;
    const OrvBleResult result = clientFor(cid, &client);
    return result == ORV_BLE_OK ? client->writeRequest(handle, offset, {data, data + length}) : result;
}

OrvBleResult OrvBleClientWriteCharByHandle(uint32_t cid, uint16_t /*flags*/, uint16_t handle, uint8_t length,
                                           const uint8_t* data) {
    if (handle == 0 || (length > 0 && data == nullptr)) {
        return library().initialised() ? ORV_BLE_E_INVALID_ARGUMENT : ORV_BLE_E_NOT_INITIALISED;
    }
    orv::host::GattClient* client = nullptr;
    const OrvBleResult result = clientFor(cid, &client);
    return result == ORV_BLE_OK ? client->writeCommand(handle, {data, data + length}) : result;
}

OrvBleResult OrvBleClientWriteConfiguration(uint32_t cid, uint16_t configHandle, uint16_t /*valueHandle*/,
                                            uint32_t value) {
    if (configHandle == 0 || value > 0xFFFF) {
        return library().initialised() ? ORV_BLE_E_INVALID_ARGUMENT : ORV_BLE_E_NOT_INITIALISED;
    }
    orv::host::GattClient* client = nullptr;
    const OrvBleResult result = clientFor(cid, &client);
    return result == ORV_BLE_OK ? client->writeConfiguration(configHandle, static_cast<uint16_t>(value))
                                : result;
}

} // extern "C"

extern "C" {

OrvBleResult OrvBleServerReadResponse(uint32_t cid, uint16_t handle, int32_t result, uint16_t length,
                                      const uint8_t* data) {
    if (!library().initialised()) {
        return ORV_BLE_E_NOT_INITIALISED;
    }
    if (length > 0 && data == nullptr) {
        return ORV_BLE_E_INVALID_ARGUMENT;
    }
    return library().server().readResponse(cid, handle, result, {data, length});
}

OrvBleResult OrvBleServerWriteResponse(uint32_t cid, uint16_t handle, int32_t result) {
    if (!library().initialised()) {
        return ORV_BLE_E_NOT_INITIALISED;
    }
    return library().server().writeResponse(cid, handle, result);
}

OrvBleResult OrvBleServerSendNotification(uint32_t cid, uint16_t handle, uint16_t length,
                                          const uint8_t* data) {
    if (const OrvBleResult ready = library().readiness(); ready != ORV_BLE_OK) {
        return ready;
    }
    if (length > 0 && data == nullptr) {
        return ORV_BLE_E_INVALID_ARGUMENT;
    }
    return library().links().notify(cid, handle, {data, length});
}

} // extern "C"
