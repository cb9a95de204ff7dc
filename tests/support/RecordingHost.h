// A host library that records every call the application makes and answers from scripted values.
#pragma once

#include "app/BleHostApi.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct HostCall {
    std::string name;
    std::vector<int64_t> args; // integer arguments in order (addresses as their LAP, pointers omitted)
    BleTypedAddress address{}; // the address argument, when there is one
    std::vector<uint8_t> data; // the bytes of a write, when there is one
};

class RecordingHost : public BleHostApi {
public:
    RecordingHost();
    ~RecordingHost() override;

    uint32_t OrvBleHostInit(int debug, int reserved, const OrvBleHostInitParams* params) override;
    int OrvBleHostStartWnd(OrvHwnd window) override;
    void OrvBleHostDeinit() override;
    void OrvBleHostFreeMessageContents(uint32_t code, intptr_t lParam) override;
    OrvBleResult OrvBleHostStartDeviceSearch(uint32_t mode) override;
    OrvBleResult OrvBleHostStopDeviceSearch() override;
    int OrvBleHostGetPairedDeviceList(uint16_t* count, BleHostPairedDevice** array) override;
    void OrvBleHostFreePairedDeviceList(BleHostPairedDevice* array) override;
    OrvBleResult OrvBleHostUpdatePairedDeviceList(const BleHostPairedDevice* device) override;
    OrvBleResult OrvBleHostSetConnectionParams(uint16_t scanInterval, uint16_t scanWindow,
                                               uint16_t intervalMin, uint16_t intervalMax,
                                               uint16_t slaveLatency, uint16_t supervisionTimeout) override;
    OrvBleResult OrvBleHostConnect(BleTypedAddress address) override;
    OrvBleResult OrvBleHostCancelConnect() override;
    OrvBleResult OrvBleHostDisconnect(uint32_t cid) override;
    OrvBleResult OrvBleHostUpdateConnectionParams(BleTypedAddress address, uint16_t intervalMin,
                                                  uint16_t intervalMax, uint16_t slaveLatency,
                                                  uint16_t supervisionTimeout, uint16_t minCeLength,
                                                  uint16_t maxCeLength) override;
    OrvBleResult OrvBleHostAcceptConnUpdate(uint32_t cid, uint16_t requestId, int accept) override;
    OrvBleResult OrvBleHostGetRssi(BleTypedAddress address) override;
    OrvBleResult OrvBleHostChangeSecurityLevel(int mitm) override;
    OrvBleResult OrvBleHostSetEncryption(uint32_t cid, int level) override;
    OrvBleResult OrvBleHostJustWorksResult(BleTypedAddress address, int accept, int bond) override;
    OrvBleResult OrvBleHostPasskeyNotificationResult(BleTypedAddress address, int accept) override;
    OrvBleResult OrvBleHostCancelBonding(BleTypedAddress address) override;
    OrvBleResult OrvBleHostCancel() override;
    OrvBleResult OrvBleHostDebond(BleTypedAddress address) override;
    OrvBleResult OrvBleClientDiscoverDatabase(uint32_t cid) override;
    OrvBleResult OrvBleClientReadCharByHandle(uint32_t cid, uint16_t handle) override;
    OrvBleResult OrvBleClientWriteCfmCharByHandle(uint32_t cid, uint16_t handle, uint16_t offset,
                                                  uint8_t length, const uint8_t* data) override;
    OrvBleResult OrvBleClientWriteCharByHandle(uint32_t cid, uint16_t flags, uint16_t handle, uint8_t length,
                                               const uint8_t* data) override;
    OrvBleResult OrvBleClientWriteConfiguration(uint32_t cid, uint16_t configHandle, uint16_t valueHandle,
                                                uint32_t value) override;
    OrvBleResult OrvBleServerAllocDatabase(uint16_t attributeCount) override;
    OrvBleResult OrvBleServerAddDatabase(uint16_t databaseId, uint16_t serviceCount,
                                         BleServerServiceRecord* services) override;
    OrvBleResult OrvBleServerReadResponse(uint32_t cid, uint16_t handle, int32_t result, uint16_t length,
                                          const uint8_t* data) override;
    OrvBleResult OrvBleServerWriteResponse(uint32_t cid, uint16_t handle, int32_t result) override;
    OrvBleResult OrvBleServerSendNotification(uint32_t cid, uint16_t handle, uint16_t length,
                                              const uint8_t* data) override;

    // Calls with that name, in order.
    std::vector<HostCall> callsNamed(const std::string& name) const;
    size_t count(const std::string& name) const { return callsNamed(name).size(); }
    // Names of all calls in order.
    std::vector<std::string> names() const;

    std::vector<HostCall> calls;
    std::map<intptr_t, int> frees; // lParam -> times given back
    uint32_t initResult = 0xC123;
    int startWndResult = 1;
    OrvHwnd startedWindow = nullptr;
    bool pairedListResult = true;
    std::vector<BleHostPairedDevice> pairedDevices;
};
