#include "support/RecordingHost.h"

RecordingHost::RecordingHost() {
    setBleHost(this);
}

RecordingHost::~RecordingHost() {
    setBleHost(nullptr);
}

uint32_t RecordingHost::OrvBleHostInit(int debug, int reserved, const OrvBleHostInitParams* /*params*/) {
    HostCall call{"OrvBleHostInit", {}, {}, {}};
    call.args.push_back(static_cast<int64_t>(debug));
    call.args.push_back(static_cast<int64_t>(reserved));
    calls.push_back(call);
    return initResult;
}

int RecordingHost::OrvBleHostStartWnd(OrvHwnd window) {
    HostCall call{"OrvBleHostStartWnd", {}, {}, {}};
    call.args.push_back(reinterpret_cast<intptr_t>(window));
    calls.push_back(call);
    startedWindow = window;
    return startWndResult;
}

void RecordingHost::OrvBleHostDeinit() {
    HostCall call{"OrvBleHostDeinit", {}, {}, {}};
    calls.push_back(call);
}

void RecordingHost::OrvBleHostFreeMessageContents(uint32_t code, intptr_t lParam) {
    HostCall call{"OrvBleHostFreeMessageContents", {}, {}, {}};
    call.args.push_back(static_cast<int64_t>(code));
    call.args.push_back(static_cast<int64_t>(lParam));
    calls.push_back(call);
    ++frees[lParam];
}

OrvBleResult RecordingHost::OrvBleHostStartDeviceSearch(uint32_t mode) {
    HostCall call{"OrvBleHostStartDeviceSearch", {}, {}, {}};
    call.args.push_back(static_cast<int64_t>(mode));
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleHostStopDeviceSearch() {
    HostCall call{"OrvBleHostStopDeviceSearch", {}, {}, {}};
    calls.push_back(call);
    return ORV_BLE_OK;
}

int RecordingHost::OrvBleHostGetPairedDeviceList(uint16_t* count, BleHostPairedDevice** array) {
    HostCall call{"OrvBleHostGetPairedDeviceList", {}, {}, {}};
    calls.push_back(call);
    if (!pairedListResult)
        return 0;
    *count = static_cast<uint16_t>(pairedDevices.size());
    *array = pairedDevices.empty() ? nullptr : pairedDevices.data();
    return 1;
}

void RecordingHost::OrvBleHostFreePairedDeviceList(BleHostPairedDevice* /*array*/) {
    HostCall call{"OrvBleHostFreePairedDeviceList", {}, {}, {}};
    calls.push_back(call);
}

OrvBleResult RecordingHost::OrvBleHostUpdatePairedDeviceList(const BleHostPairedDevice* /*device*/) {
    HostCall call{"OrvBleHostUpdatePairedDeviceList", {}, {}, {}};
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleHostSetConnectionParams(uint16_t scanInterval, uint16_t scanWindow,
                                                          uint16_t intervalMin, uint16_t intervalMax,
                                                          uint16_t slaveLatency,
                                                          uint16_t supervisionTimeout) {
    HostCall call{"OrvBleHostSetConnectionParams", {}, {}, {}};
    call.args.push_back(static_cast<int64_t>(scanInterval));
    call.args.push_back(static_cast<int64_t>(scanWindow));
    call.args.push_back(static_cast<int64_t>(intervalMin));
    call.args.push_back(static_cast<int64_t>(intervalMax));
    call.args.push_back(static_cast<int64_t>(slaveLatency));
    call.args.push_back(static_cast<int64_t>(supervisionTimeout));
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleHostConnect(BleTypedAddress address) {
    HostCall call{"OrvBleHostConnect", {}, {}, {}};
    call.address = address;
    call.args.push_back(address.lap);
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleHostCancelConnect() {
    HostCall call{"OrvBleHostCancelConnect", {}, {}, {}};
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleHostDisconnect(uint32_t cid) {
    HostCall call{"OrvBleHostDisconnect", {}, {}, {}};
    call.args.push_back(static_cast<int64_t>(cid));
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleHostUpdateConnectionParams(BleTypedAddress address, uint16_t intervalMin,
                                                             uint16_t intervalMax, uint16_t slaveLatency,
                                                             uint16_t supervisionTimeout,
                                                             uint16_t minCeLength, uint16_t maxCeLength) {
    HostCall call{"OrvBleHostUpdateConnectionParams", {}, {}, {}};
    call.address = address;
    call.args.push_back(address.lap);
    call.args.push_back(static_cast<int64_t>(intervalMin));
    call.args.push_back(static_cast<int64_t>(intervalMax));
    call.args.push_back(static_cast<int64_t>(slaveLatency));
    call.args.push_back(static_cast<int64_t>(supervisionTimeout));
    call.args.push_back(static_cast<int64_t>(minCeLength));
    call.args.push_back(static_cast<int64_t>(maxCeLength));
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleHostAcceptConnUpdate(uint32_t cid, uint16_t requestId, int accept) {
    HostCall call{"OrvBleHostAcceptConnUpdate", {}, {}, {}};
    call.args.push_back(static_cast<int64_t>(cid));
    call.args.push_back(static_cast<int64_t>(requestId));
    call.args.push_back(static_cast<int64_t>(accept));
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleHostGetRssi(BleTypedAddress address) {
    HostCall call{"OrvBleHostGetRssi", {}, {}, {}};
    call.address = address;
    call.args.push_back(address.lap);
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleHostChangeSecurityLevel(int mitm) {
    HostCall call{"OrvBleHostChangeSecurityLevel", {}, {}, {}};
    call.args.push_back(static_cast<int64_t>(mitm));
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleHostSetEncryption(uint32_t cid, int level) {
    HostCall call{"OrvBleHostSetEncryption", {}, {}, {}};
    call.args.push_back(static_cast<int64_t>(cid));
    call.args.push_back(static_cast<int64_t>(level));
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleHostJustWorksResult(BleTypedAddress address, int accept, int bond) {
    HostCall call{"OrvBleHostJustWorksResult", {}, {}, {}};
    call.address = address;
    call.args.push_back(address.lap);
    call.args.push_back(static_cast<int64_t>(accept));
    call.args.push_back(static_cast<int64_t>(bond));
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleHostPasskeyNotificationResult(BleTypedAddress address, int accept) {
    HostCall call{"OrvBleHostPasskeyNotificationResult", {}, {}, {}};
    call.address = address;
    call.args.push_back(address.lap);
    call.args.push_back(static_cast<int64_t>(accept));
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleHostCancelBonding(BleTypedAddress address) {
    HostCall call{"OrvBleHostCancelBonding", {}, {}, {}};
    call.address = address;
    call.args.push_back(address.lap);
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleHostCancel() {
    HostCall call{"OrvBleHostCancel", {}, {}, {}};
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleHostDebond(BleTypedAddress address) {
    HostCall call{"OrvBleHostDebond", {}, {}, {}};
    call.address = address;
    call.args.push_back(address.lap);
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleClientDiscoverDatabase(uint32_t cid) {
    HostCall call{"OrvBleClientDiscoverDatabase", {}, {}, {}};
    call.args.push_back(static_cast<int64_t>(cid));
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleClientReadCharByHandle(uint32_t cid, uint16_t handle) {
    HostCall call{"OrvBleClientReadCharByHandle", {}, {}, {}};
    call.args.push_back(static_cast<int64_t>(cid));
    call.args.push_back(static_cast<int64_t>(handle));
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleClientWriteCfmCharByHandle(uint32_t cid, uint16_t handle, uint16_t offset,
                                                             uint8_t length, const uint8_t* data) {
    HostCall call{"OrvBleClientWriteCfmCharByHandle", {}, {}, {}};
    call.args.push_back(static_cast<int64_t>(cid));
    call.args.push_back(static_cast<int64_t>(handle));
    call.args.push_back(static_cast<int64_t>(offset));
    call.args.push_back(static_cast<int64_t>(length));
    if (data)
        call.data.assign(data, data + length);
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleClientWriteCharByHandle(uint32_t cid, uint16_t flags, uint16_t handle,
                                                          uint8_t length, const uint8_t* data) {
    HostCall call{"OrvBleClientWriteCharByHandle", {}, {}, {}};
    call.args.push_back(static_cast<int64_t>(cid));
    call.args.push_back(static_cast<int64_t>(flags));
    call.args.push_back(static_cast<int64_t>(handle));
    call.args.push_back(static_cast<int64_t>(length));
    if (data)
        call.data.assign(data, data + length);
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleClientWriteConfiguration(uint32_t cid, uint16_t configHandle,
                                                           uint16_t valueHandle, uint32_t value) {
    HostCall call{"OrvBleClientWriteConfiguration", {}, {}, {}};
    call.args.push_back(static_cast<int64_t>(cid));
    call.args.push_back(static_cast<int64_t>(configHandle));
    call.args.push_back(static_cast<int64_t>(valueHandle));
    call.args.push_back(static_cast<int64_t>(value));
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleServerAllocDatabase(uint16_t attributeCount) {
    HostCall call{"OrvBleServerAllocDatabase", {}, {}, {}};
    call.args.push_back(static_cast<int64_t>(attributeCount));
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleServerAddDatabase(uint16_t databaseId, uint16_t serviceCount,
                                                    BleServerServiceRecord* /*services*/) {
    HostCall call{"OrvBleServerAddDatabase", {}, {}, {}};
    call.args.push_back(static_cast<int64_t>(databaseId));
    call.args.push_back(static_cast<int64_t>(serviceCount));
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleServerReadResponse(uint32_t cid, uint16_t handle, int32_t result,
                                                     uint16_t length, const uint8_t* data) {
    HostCall call{"OrvBleServerReadResponse", {}, {}, {}};
    call.args.push_back(static_cast<int64_t>(cid));
    call.args.push_back(static_cast<int64_t>(handle));
    call.args.push_back(static_cast<int64_t>(result));
    call.args.push_back(static_cast<int64_t>(length));
    if (data)
        call.data.assign(data, data + length);
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleServerWriteResponse(uint32_t cid, uint16_t handle, int32_t result) {
    HostCall call{"OrvBleServerWriteResponse", {}, {}, {}};
    call.args.push_back(static_cast<int64_t>(cid));
    call.args.push_back(static_cast<int64_t>(handle));
    call.args.push_back(static_cast<int64_t>(result));
    calls.push_back(call);
    return ORV_BLE_OK;
}

OrvBleResult RecordingHost::OrvBleServerSendNotification(uint32_t cid, uint16_t handle, uint16_t length,
                                                         const uint8_t* data) {
    HostCall call{"OrvBleServerSendNotification", {}, {}, {}};
    call.args.push_back(static_cast<int64_t>(cid));
    call.args.push_back(static_cast<int64_t>(handle));
    call.args.push_back(static_cast<int64_t>(length));
    if (data)
        call.data.assign(data, data + length);
    calls.push_back(call);
    return ORV_BLE_OK;
}

std::vector<HostCall> RecordingHost::callsNamed(const std::string& name) const {
    std::vector<HostCall> out;
    for (const auto& call : calls)
        if (call.name == name)
            out.push_back(call);
    return out;
}

std::vector<std::string> RecordingHost::names() const {
    std::vector<std::string> out;
    for (const auto& call : calls)
        out.push_back(call.name);
    return out;
}
