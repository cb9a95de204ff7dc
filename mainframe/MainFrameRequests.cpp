// GATT client requests: the read queue and the write queue, each with one request in flight.
#include "mainframe/CMainFrame.h"

#include "app/BleHostApi.h"

#include <algorithm>
#include <cstring>

void CMainFrame::ReadCharacteristic(uint16_t handle) {
    const BleDeviceRecord* peer = ConnectedRecord();
    if (!peer)
        return;
    QueueRead(peer->cid, handle);
}

void CMainFrame::QueueRead(uint32_t cid, uint16_t handle) {
    if (handle == 0)
        return;
    m_readQueue.push_back(handle);
    if (!m_bReadInFlight)
        ProcessReadQueue(cid);
}

void CMainFrame::ProcessReadQueue(uint32_t cid) {
    while (!m_bReadInFlight && !m_readQueue.empty()) {
        const uint16_t handle = m_readQueue.front();
        m_readQueue.pop_front();
        if (handle == 0)
            continue;
        m_bReadInFlight = true;
        bleHost().OrvBleClientReadCharByHandle(cid, handle);
        AddLogMessage(QStringLiteral("Reading %1").arg(handle));
    }
}

void CMainFrame::WriteClientConfiguration(uint32_t cid, uint16_t valueHandle, uint16_t configHandle,
                                          uint8_t value) {
    if (valueHandle == 0)
        return;
    if (configHandle == 0) {
        AddLogMessage(QStringLiteral("Characteristic %1 has no client configuration; not subscribed.")
                          .arg(valueHandle));
        return;
    }
    GattWriteRequest request;
    request.cid = cid;
    request.handle = valueHandle;
    request.configHandle = configHandle;
    request.configValue = value;
    m_writeQueue.push_back(request);
    if (!m_bWriteInFlight)
        ProcessWriteQueue();
}

void CMainFrame::WriteCharacteristic(uint32_t cid, uint16_t handle, uint8_t length, const uint8_t* data,
                                     uint32_t mode) {
    if (handle == 0)
        return;
    if (mode != GattWriteRequest::kWriteRequest && mode != GattWriteRequest::kWriteCommand) {
        AddLogMessage(QStringLiteral("Unknown write type."));
        return;
    }
    if (length > GattWriteRequest::kMaxData || (length > 0 && !data)) {
        AddLogMessage(QStringLiteral("Write to handle %1 refused: %2 bytes do not fit a request.")
                          .arg(handle)
                          .arg(length));
        return;
    }
    GattWriteRequest request;
    request.cid = cid;
    request.handle = handle;
    request.length = length;
    request.mode = mode;
    if (length > 0)
        std::memcpy(request.data, data, length);
    m_writeQueue.push_back(request);
    if (!m_bWriteInFlight)
        ProcessWriteQueue();
}

void CMainFrame::ProcessWriteQueue() {
    if (m_bWriteInFlight)
        return;
    while (!m_writeQueue.empty() && m_writeQueue.front().handle == 0)
        m_writeQueue.pop_front();
    if (m_writeQueue.empty())
        return;

    const GattWriteRequest& request = m_writeQueue.front();
    m_bWriteInFlight = true;
    if (request.IsConfigurationWrite()) {
        bleHost().OrvBleClientWriteConfiguration(request.cid, request.configHandle, request.handle,
                                                 request.configValue);
        AddLogMessage(QStringLiteral("Writing client configuration. Handle: %1\n").arg(request.configHandle));
        return;
    }
    if (request.mode == GattWriteRequest::kWriteRequest)
        bleHost().OrvBleClientWriteCfmCharByHandle(request.cid, request.handle, 0, request.length,
                                                   request.data);
    else
        bleHost().OrvBleClientWriteCharByHandle(request.cid, 0, request.handle, request.length, request.data);
    AddLogMessage(QStringLiteral("Writing to handle: %1\n").arg(request.handle));
}

void CMainFrame::ClearRequestQueues() {
    if (!ConnectedRecord())
        return;
    m_readQueue.clear();
    // The write in flight stays at the head until its result arrives.
    if (m_bWriteInFlight && !m_writeQueue.empty())
        m_writeQueue.erase(m_writeQueue.begin() + 1, m_writeQueue.end());
    else
        m_writeQueue.clear();
}

void CMainFrame::ResetRequestQueues() {
    m_readQueue.clear();
    m_writeQueue.clear();
    m_bReadInFlight = false;
    m_bReadAwaitsSecurity = false;
    m_bWriteInFlight = false;
}
