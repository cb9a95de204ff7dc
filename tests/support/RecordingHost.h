// A host library that records every call the application makes and answers from scripted values.
#pragma once

#include "app/BleHostApi.h"

#include <concepts>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

struct HostCall {
    std::string name;
    std::vector<int64_t> args; // integer arguments in order (addresses as their LAP, pointers omitted)
    BleTypedAddress address{}; // the address argument, when there is one
    std::vector<uint8_t> data; // the bytes of a write or the name of a paired-device entry
};

// Only the calls the application makes are recorded: a caller of another call adds its line here.
class RecordingHost : public BleHostApi {
public:
    // The bytes a call hands over (recorded in HostCall::data).
    struct Bytes {
        const uint8_t* data;
        size_t length;
    };

    RecordingHost() { setBleHost(this); }
    ~RecordingHost() override { setBleHost(nullptr); }

    uint32_t OrvBleHostInit(int debug, int reserved, const OrvBleHostInitParams*) override {
        Record(__func__, debug, reserved);
        return initResult;
    }
    int OrvBleHostStartWnd(OrvHwnd window) override {
        Record(__func__, reinterpret_cast<intptr_t>(window));
        startedWindow = window;
        return startWndResult;
    }
    void OrvBleHostDeinit() override { Record(__func__); }
    void OrvBleHostFreeMessageContents(uint32_t code, intptr_t lParam) override {
        Record(__func__, code, lParam);
        ++frees[lParam];
    }
    OrvBleResult OrvBleHostStartDeviceSearch(uint32_t mode) override { return Record(__func__, mode); }
    OrvBleResult OrvBleHostStopDeviceSearch() override { return Record(__func__); }
    int OrvBleHostGetPairedDeviceList(uint16_t* count, BleHostPairedDevice** array) override;
    void OrvBleHostFreePairedDeviceList(BleHostPairedDevice*) override { Record(__func__); }
    OrvBleResult OrvBleHostUpdatePairedDeviceList(const BleHostPairedDevice* device) override {
        const auto* name = reinterpret_cast<const uint8_t*>(device->name);
        return Record(__func__, device->address, device->appearance,
                      Bytes{name, strnlen(device->name, sizeof device->name)});
    }
    OrvBleResult OrvBleHostSetConnectionParams(uint16_t scanInt, uint16_t scanWin, uint16_t min, uint16_t max,
                                               uint16_t latency, uint16_t timeout) override {
        return Record(__func__, scanInt, scanWin, min, max, latency, timeout);
    }
    OrvBleResult OrvBleHostConnect(BleTypedAddress address) override { return Record(__func__, address); }
    OrvBleResult OrvBleHostCancelConnect() override { return Record(__func__); }
    OrvBleResult OrvBleHostDisconnect(uint32_t cid) override { return Record(__func__, cid); }
    OrvBleResult OrvBleHostUpdateConnectionParams(BleTypedAddress address, uint16_t min, uint16_t max,
                                                  uint16_t latency, uint16_t timeout, uint16_t minCe,
                                                  uint16_t maxCe) override {
        return Record(__func__, address, min, max, latency, timeout, minCe, maxCe);
    }
    OrvBleResult OrvBleHostAcceptConnUpdate(uint32_t cid, uint16_t requestId, int accept) override {
        return Record(__func__, cid, requestId, accept);
    }
    OrvBleResult OrvBleHostGetRssi(BleTypedAddress address) override { return Record(__func__, address); }
    OrvBleResult OrvBleHostChangeSecurityLevel(int mitm) override { return Record(__func__, mitm); }
    OrvBleResult OrvBleHostSetEncryption(uint32_t cid, int mitm) override {
        return Record(__func__, cid, mitm);
    }
    OrvBleResult OrvBleHostJustWorksResult(BleTypedAddress address, int accept, int bond) override {
        return Record(__func__, address, accept, bond);
    }
    OrvBleResult OrvBleHostPasskeyNotificationResult(BleTypedAddress address, int accept) override {
        return Record(__func__, address, accept);
    }
    OrvBleResult OrvBleHostCancelBonding(BleTypedAddress peer) override { return Record(__func__, peer); }
    OrvBleResult OrvBleHostCancel() override { return Record(__func__); }
    OrvBleResult OrvBleHostDebond(BleTypedAddress address) override { return Record(__func__, address); }
    OrvBleResult OrvBleClientDiscoverDatabase(uint32_t cid) override { return Record(__func__, cid); }
    OrvBleResult OrvBleClientReadCharByHandle(uint32_t cid, uint16_t at) override {
        return Record(__func__, cid, at);
    }
    OrvBleResult OrvBleClientWriteCfmCharByHandle(uint32_t cid, uint16_t handle, uint16_t offset,
                                                  uint8_t length, const uint8_t* data) override {
        return Record(__func__, cid, handle, offset, length, Bytes{data, length});
    }
    OrvBleResult OrvBleClientWriteCharByHandle(uint32_t cid, uint16_t flags, uint16_t handle, uint8_t length,
                                               const uint8_t* data) override {
        return Record(__func__, cid, flags, handle, length, Bytes{data, length});
    }
    OrvBleResult OrvBleClientWriteConfiguration(uint32_t cid, uint16_t configHandle, uint16_t valueHandle,
                                                uint32_t value) override {
        return Record(__func__, cid, configHandle, valueHandle, value);
    }
    OrvBleResult OrvBleServerAllocDatabase(uint16_t count) override { return Record(__func__, count); }
    // Fills in the handles as the library does: from 1, each service, then per characteristic its
    // declaration, its value and, with the notify property, its configuration descriptor.
    OrvBleResult OrvBleServerAddDatabase(uint16_t id, uint16_t count,
                                         BleServerServiceRecord* services) override;
    OrvBleResult OrvBleServerReadResponse(uint32_t cid, uint16_t handle, int32_t result, uint16_t length,
                                          const uint8_t* data) override {
        return Record(__func__, cid, handle, result, length, Bytes{data, length});
    }
    OrvBleResult OrvBleServerWriteResponse(uint32_t cid, uint16_t handle, int32_t result) override {
        return Record(__func__, cid, handle, result);
    }
    OrvBleResult OrvBleServerSendNotification(uint32_t cid, uint16_t handle, uint16_t length,
                                              const uint8_t* data) override {
        return Record(__func__, cid, handle, length, Bytes{data, length});
    }

    // Calls with that name, in order.
    std::vector<HostCall> callsNamed(const std::string& name) const;
    size_t count(const std::string& name) const { return callsNamed(name).size(); }

    std::vector<HostCall> calls;
    std::map<intptr_t, int> frees; // lParam -> times given back
    uint32_t initResult = 0xC123;
    int startWndResult = 1;
    OrvHwnd startedWindow = nullptr;
    bool pairedListResult = true;
    std::vector<BleHostPairedDevice> pairedDevices;

private:
    // Records one call with its arguments: integers in order, an address as its LAP, bytes as data.
    template <typename... Args> OrvBleResult Record(const char* name, const Args&... args) {
        HostCall call{name, {}, {}, {}};
        (Add(call, args), ...);
        calls.push_back(std::move(call));
        return ORV_BLE_OK;
    }
    template <std::integral Integer> static void Add(HostCall& call, Integer value) {
        call.args.push_back(static_cast<int64_t>(value));
    }
    static void Add(HostCall& call, const BleTypedAddress& address) {
        call.address = address;
        call.args.push_back(address.lap);
    }
    static void Add(HostCall& call, Bytes bytes) {
        if (bytes.data)
            call.data.assign(bytes.data, bytes.data + bytes.length);
    }
};
