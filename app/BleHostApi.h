// The host library's entry points as the application calls them. The default forwards every call to
// the library; tests install a recording host in its place.
#pragma once

#include "veyrahost.h"

class BleHostApi {
public:
    virtual ~BleHostApi() = default;

    virtual uint32_t OrvBleHostInit(int debug, int reserved, const OrvBleHostInitParams* params);
    virtual int OrvBleHostStartWnd(OrvHwnd window);
    virtual void OrvBleHostDeinit();
    virtual void OrvBleHostFreeMessageContents(uint32_t code, intptr_t lParam);
    virtual OrvBleResult OrvBleHostStartDeviceSearch(uint32_t mode);
    virtual OrvBleResult OrvBleHostStopDeviceSearch();
    virtual int OrvBleHostGetPairedDeviceList(uint16_t* count, BleHostPairedDevice** array);
    virtual void OrvBleHostFreePairedDeviceList(BleHostPairedDevice* array);
    virtual OrvBleResult OrvBleHostUpdatePairedDeviceList(const BleHostPairedDevice* device);
    virtual OrvBleResult OrvBleHostSetConnectionParams(uint16_t scanInterval, uint16_t scanWindow,
                                                       uint16_t intervalMin, uint16_t intervalMax,
                                                       uint16_t slaveLatency, uint16_t supervisionTimeout);
    virtual OrvBleResult OrvBleHostConnect(BleTypedAddress address);
    virtual OrvBleResult OrvBleHostCancelConnect();
    virtual OrvBleResult OrvBleHostDisconnect(uint32_t cid);
    virtual OrvBleResult OrvBleHostUpdateConnectionParams(BleTypedAddress address, uint16_t intervalMin,
                                                          uint16_t intervalMax, uint16_t slaveLatency,
                                                          uint16_t supervisionTimeout, uint16_t minCeLength,
                                                          uint16_t maxCeLength);
    virtual OrvBleResult OrvBleHostAcceptConnUpdate(uint32_t cid, uint16_t requestId, int accept);
    virtual OrvBleResult OrvBleHostGetRssi(BleTypedAddress address);
    virtual OrvBleResult OrvBleHostChangeSecurityLevel(int mitm);
    virtual OrvBleResult OrvBleHostSetEncryption(uint32_t cid, int level);
    virtual OrvBleResult OrvBleHostJustWorksResult(BleTypedAddress address, int accept, int bond);
    virtual OrvBleResult OrvBleHostPasskeyNotificationResult(BleTypedAddress address, int accept);
    virtual OrvBleResult OrvBleHostCancelBonding(BleTypedAddress address);
    virtual OrvBleResult OrvBleHostCancel();
    virtual OrvBleResult OrvBleHostDebond(BleTypedAddress address);
    virtual OrvBleResult OrvBleClientDiscoverDatabase(uint32_t cid);
    virtual OrvBleResult OrvBleClientReadCharByHandle(uint32_t cid, uint16_t handle);
    virtual OrvBleResult OrvBleClientWriteCfmCharByHandle(uint32_t cid, uint16_t handle, uint16_t offset,
                                                          uint8_t length, const uint8_t* data);
    virtual OrvBleResult OrvBleClientWriteCharByHandle(uint32_t cid, uint16_t flags, uint16_t handle,
                                                       uint8_t length, const uint8_t* data);
    virtual OrvBleResult OrvBleClientWriteConfiguration(uint32_t cid, uint16_t configHandle,
                                                        uint16_t valueHandle, uint32_t value);
    virtual OrvBleResult OrvBleServerAllocDatabase(uint16_t attributeCount);
    virtual OrvBleResult OrvBleServerAddDatabase(uint16_t databaseId, uint16_t serviceCount,
                                                 BleServerServiceRecord* services);
    virtual OrvBleResult OrvBleServerReadResponse(uint32_t cid, uint16_t handle, int32_t result,
                                                  uint16_t length, const uint8_t* data);
    virtual OrvBleResult OrvBleServerWriteResponse(uint32_t cid, uint16_t handle, int32_t result);
    virtual OrvBleResult OrvBleServerSendNotification(uint32_t cid, uint16_t handle, uint16_t length,
                                                      const uint8_t* data);
};

// The host currently in use (the library unless a test installed another).
BleHostApi& bleHost();
// nullptr restores the library.
void setBleHost(BleHostApi* host);
