#include "app/BleHostApi.h"

namespace {
BleHostApi g_library;
BleHostApi* g_current = &g_library;
} // namespace

BleHostApi& bleHost() {
    return *g_current;
}

void setBleHost(BleHostApi* host) {
    g_current = host ? host : &g_library;
}

uint32_t BleHostApi::OrvBleHostInit(int debug, int reserved, const OrvBleHostInitParams* params) {
    return ::OrvBleHostInit(debug, reserved, params);
}

int BleHostApi::OrvBleHostStartWnd(OrvHwnd window) {
    return ::OrvBleHostStartWnd(window);
}

void BleHostApi::OrvBleHostDeinit() {
    ::OrvBleHostDeinit();
}

void BleHostApi::OrvBleHostFreeMessageContents(uint32_t code, intptr_t lParam) {
    ::OrvBleHostFreeMessageContents(code, lParam);
}

OrvBleResult BleHostApi::OrvBleHostStartDeviceSearch(uint32_t mode) {
    return ::OrvBleHostStartDeviceSearch(mode);
}

OrvBleResult BleHostApi::OrvBleHostStopDeviceSearch() {
    return ::OrvBleHostStopDeviceSearch();
}

int BleHostApi::OrvBleHostGetPairedDeviceList(uint16_t* count, BleHostPairedDevice** array) {
    return ::OrvBleHostGetPairedDeviceList(count, array);
}

void BleHostApi::OrvBleHostFreePairedDeviceList(BleHostPairedDevice* array) {
    ::OrvBleHostFreePairedDeviceList(array);
}

OrvBleResult BleHostApi::OrvBleHostUpdatePairedDeviceList(const BleHostPairedDevice* device) {
    return ::OrvBleHostUpdatePairedDeviceList(device);
}

OrvBleResult BleHostApi::OrvBleHostSetConnectionParams(uint16_t scanInterval, uint16_t scanWindow,
                                                       uint16_t intervalMin, uint16_t intervalMax,
                                                       uint16_t slaveLatency, uint16_t supervisionTimeout) {
    return ::OrvBleHostSetConnectionParams(scanInterval, scanWindow, intervalMin, intervalMax, slaveLatency,
                                           supervisionTimeout);
}

OrvBleResult BleHostApi::OrvBleHostConnect(BleTypedAddress address) {
    return ::OrvBleHostConnect(address);
}

OrvBleResult BleHostApi::OrvBleHostCancelConnect() {
    return ::OrvBleHostCancelConnect();
}

OrvBleResult BleHostApi::OrvBleHostDisconnect(uint32_t cid) {
    return ::OrvBleHostDisconnect(cid);
}

OrvBleResult BleHostApi::OrvBleHostUpdateConnectionParams(BleTypedAddress address, uint16_t intervalMin,
                                                          uint16_t intervalMax, uint16_t slaveLatency,
                                                          uint16_t supervisionTimeout, uint16_t minCeLength,
                                                          uint16_t maxCeLength) {
    return ::OrvBleHostUpdateConnectionParams(address, intervalMin, intervalMax, slaveLatency,
                                              supervisionTimeout, minCeLength, maxCeLength);
}

OrvBleResult BleHostApi::OrvBleHostAcceptConnUpdate(uint32_t cid, uint16_t requestId, int accept) {
    return ::OrvBleHostAcceptConnUpdate(cid, requestId, accept);
}

OrvBleResult BleHostApi::OrvBleHostGetRssi(BleTypedAddress address) {
    return ::OrvBleHostGetRssi(address);
}

OrvBleResult BleHostApi::OrvBleHostChangeSecurityLevel(int mitm) {
    return ::OrvBleHostChangeSecurityLevel(mitm);
}

OrvBleResult BleHostApi::OrvBleHostSetEncryption(uint32_t cid, int level) {
    return ::OrvBleHostSetEncryption(cid, level);
}

OrvBleResult BleHostApi::OrvBleHostJustWorksResult(BleTypedAddress address, int accept, int bond) {
    return ::OrvBleHostJustWorksResult(address, accept, bond);
}

OrvBleResult BleHostApi::OrvBleHostPasskeyNotificationResult(BleTypedAddress address, int accept) {
    return ::OrvBleHostPasskeyNotificationResult(address, accept);
}

OrvBleResult BleHostApi::OrvBleHostCancelBonding(BleTypedAddress address) {
    return ::OrvBleHostCancelBonding(address);
}

OrvBleResult BleHostApi::OrvBleHostCancel() {
    return ::OrvBleHostCancel();
}

OrvBleResult BleHostApi::OrvBleHostDebond(BleTypedAddress address) {
    return ::OrvBleHostDebond(address);
}

OrvBleResult BleHostApi::OrvBleClientDiscoverDatabase(uint32_t cid) {
    return ::OrvBleClientDiscoverDatabase(cid);
}

OrvBleResult BleHostApi::OrvBleClientReadCharByHandle(uint32_t cid, uint16_t handle) {
    return ::OrvBleClientReadCharByHandle(cid, handle);
}

OrvBleResult BleHostApi::OrvBleClientWriteCfmCharByHandle(uint32_t cid, uint16_t handle, uint16_t offset,
                                                          uint8_t length, const uint8_t* data) {
    return ::OrvBleClientWriteCfmCharByHandle(cid, handle, offset, length, data);
}

OrvBleResult BleHostApi::OrvBleClientWriteCharByHandle(uint32_t cid, uint16_t flags, uint16_t handle,
                                                       uint8_t length, const uint8_t* data) {
    return ::OrvBleClientWriteCharByHandle(cid, flags, handle, length, data);
}

OrvBleResult BleHostApi::OrvBleClientWriteConfiguration(uint32_t cid, uint16_t configHandle,
                                                        uint16_t valueHandle, uint32_t value) {
    return ::OrvBleClientWriteConfiguration(cid, configHandle, valueHandle, value);
}

OrvBleResult BleHostApi::OrvBleServerAllocDatabase(uint16_t attributeCount) {
    return ::OrvBleServerAllocDatabase(attributeCount);
}

OrvBleResult BleHostApi::OrvBleServerAddDatabase(uint16_t databaseId, uint16_t serviceCount,
                                                 BleServerServiceRecord* services) {
    return ::OrvBleServerAddDatabase(databaseId, serviceCount, services);
}

OrvBleResult BleHostApi::OrvBleServerReadResponse(uint32_t cid, uint16_t handle, int32_t result,
                                                  uint16_t length, const uint8_t* data) {
    return ::OrvBleServerReadResponse(cid, handle, result, length, data);
}

OrvBleResult BleHostApi::OrvBleServerWriteResponse(uint32_t cid, uint16_t handle, int32_t result) {
    return ::OrvBleServerWriteResponse(cid, handle, result);
}

OrvBleResult BleHostApi::OrvBleServerSendNotification(uint32_t cid, uint16_t handle, uint16_t length,
                                                      const uint8_t* data) {
    return ::OrvBleServerSendNotification(cid, handle, length, data);
}
