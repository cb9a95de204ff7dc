// The host library's events: dispatch by code, start-up and error handling, the link's own work.
#include "mainframe/CMainFrame.h"

#include "app/BleHostApi.h"
#include "app/COrvBleDemoApp.h"
#include "platform/DeviceNotifications.h"
#include "platform/Prompter.h"
#include "platform/StringTable.h"
#include "res/resource.h"

namespace {
const QString kStartupFailedText = QStringLiteral(
    "Unable to start up communication with the chip.\n\nPlease check that BLE host dongle is connected.");
const QString kServerDatabaseFailedText = QStringLiteral(
    "Unable to create GATT database for Immediate Alert service.\nIncoming alerts will be ignored.");

template <typename Record> const Record& RecordOf(LPARAM lParam) {
    return *reinterpret_cast<const Record*>(lParam);
}
} // namespace

LRESULT CMainFrame::OnBleHostMessage(WPARAM code, LPARAM lParam) {
    // Events still queued when the library was de-initialised carry records it has already released.
    if (const COrvBleDemoApp* app = AfxGetApp(); app && !app->IsHostInitialised())
        return 0;
    DispatchHostEvent(static_cast<UINT>(code), lParam);
    bleHost().OrvBleHostFreeMessageContents(static_cast<uint32_t>(code), lParam);
    return 0;
}

void CMainFrame::DispatchHostEvent(UINT code, LPARAM lParam) {
    switch (code) {
    case BLE_EVT_HOST_STARTED:
        OnHostInitialised(lParam != 0);
        if (lParam == 0) {
            platform::AfxMessageBox(kStartupFailedText, MB_OK);
            close();
        } else if (!m_hDevNotify) {
            m_hDevNotify = platform::RegisterDeviceNotification(GetSafeHwnd());
        }
        break;
    case BLE_EVT_HOST_ERROR:
        OnHostError(static_cast<uint32_t>(lParam));
        break;
    case BLE_EVT_DEVICE_FOUND:
        OnDeviceFound(RecordOf<BleHostDeviceFoundEvent>(lParam));
        break;
    case BLE_EVT_SEARCH_ENDED:
        OnSearchStopped();
        break;
    case BLE_EVT_CONNECT_RESULT:
        OnConnectResult(RecordOf<BleHostConnectEvent>(lParam));
        break;
    case BLE_EVT_DISCONNECTED:
        bleHost().OrvBleHostChangeSecurityLevel(0);
        OnDisconnected(RecordOf<BleHostDisconnectEvent>(lParam).reason);
        break;
    case BLE_EVT_DEBOND_RESULT:
        m_operationState = Operation::Idle;
        SetStatusText(platform::LoadString(IDS_READY));
        if (RecordOf<BleHostDebondEvent>(lParam).status != 0)
            AddLogMessage(QStringLiteral("Failed to remove paired device\n"));
        else
            OnDebondComplete(RecordOf<BleHostDebondEvent>(lParam).address);
        break;
    case BLE_EVT_RSSI_READ:
        if (RecordOf<BleHostRssiEvent>(lParam).status == 0 && ConnectedRecord())
            OnRssiRead(RecordOf<BleHostRssiEvent>(lParam).rssi);
        break;
    case BLE_EVT_CONN_PARAMS_SET:
        OnConnectionParametersUpdated(static_cast<uint32_t>(lParam));
        break;
    case BLE_EVT_CONN_PARAMS_UPDATED:
        OnConnectionParametersUpdated(0);
        break;
    case BLE_EVT_JUST_WORKS_REQUEST:
        bleHost().OrvBleHostJustWorksResult(RecordOf<BleHostJustWorksEvent>(lParam).address, 1, 1);
        break;
    case BLE_EVT_SECURITY_RESULT:
        if (ConnectedRecord())
            OnSecurityResult(RecordOf<BleHostSecurityEvent>(lParam).result);
        break;
    case BLE_EVT_PASSKEY_DISPLAY:
        OnPasskeyDisplay(RecordOf<BleHostPasskeyEvent>(lParam));
        break;
    case BLE_EVT_ENCRYPTION_RESULT: {
        const auto& event = RecordOf<BleHostEncryptionEvent>(lParam);
        if (event.result == 0)
            m_bLinkEncrypted = true;
        AddLogMessage(QString::asprintf("Set encryption result: 0x%04X, supplier = 0x%04X\n", event.result,
                                        event.supplier));
        break;
    }
    case BLE_EVT_REMOTE_CONN_PARAMS:
        OnRemoteConnectionParameterRequest(RecordOf<BleHostConnParamRequestEvent>(lParam));
        break;
    case BLE_EVT_DATABASE_DISCOVERED:
        OnDatabaseDiscovered(RecordOf<BleHostDatabaseEvent>(lParam));
        break;
    case BLE_EVT_CHAR_READ: {
        const auto& read = RecordOf<BleHostReadEvent>(lParam);
        if (read.status == 0)
            OnCharacteristicRead(read.cid, read.handle, read.length, read.value);
        else
            OnCharacteristicReadFailed(read.cid, read.handle, read.status);
        break;
    }
    case BLE_EVT_CHAR_READ2: {
        const auto& read = RecordOf<BleHostReadEvent>(lParam);
        if (read.status == 0)
            OnAlertConfigurationRead(read.cid, read.handle, read.length, read.value);
        break;
    }
    case BLE_EVT_CHAR_WRITTEN: {
        const auto& written = RecordOf<BleHostWriteEvent>(lParam);
        OnCharacteristicWritten(written.handle, written.status);
        break;
    }
    case BLE_EVT_NOTIFICATION: {
        const auto& notification = RecordOf<BleHostNotificationEvent>(lParam);
        OnCharacteristicNotification(notification.cid, notification.handle, notification.length,
                                     notification.value);
        break;
    }
    case BLE_EVT_SERVER_DB_ALLOCATED:
        if (RecordOf<BleHostServerAllocEvent>(lParam).status != 0)
            platform::AfxMessageBox(kServerDatabaseFailedText, MB_OK);
        else
            AddServerDatabase(RecordOf<BleHostServerAllocEvent>(lParam).databaseId);
        break;
    case BLE_EVT_SERVER_DB_ADDED:
        m_bServerReady = lParam == 0;
        if (!m_bServerReady)
            platform::AfxMessageBox(kServerDatabaseFailedText, MB_OK);
        break;
    case BLE_EVT_SERVER_READ:
        OnServerReadRequest(RecordOf<BleHostServerReadEvent>(lParam).cid,
                            RecordOf<BleHostServerReadEvent>(lParam).handle);
        break;
    case BLE_EVT_SERVER_WRITE: {
        const auto& write = RecordOf<BleHostServerWriteEvent>(lParam);
        const int32_t result = OnServerWriteRequest(write.count, write.entries);
        bleHost().OrvBleServerWriteResponse(write.cid, write.handle, result);
        break;
    }
    default:
        break;
    }
}

void CMainFrame::OnHostError(uint32_t error) {
    OnHostInitialised(false);
    if (error == 0)
        return;
    if (error == 1)
        platform::AfxMessageBox(kStartupFailedText, MB_OK);
    else
        platform::AfxMessageBox(
            QString::asprintf("Communication with the BT4.0 USB device has been lost.\nPlease "
                              "unplug the BLE host dongle, plug it once again\nand restart the "
                              "application. Error code = %d.",
                              static_cast<int>(error)),
            MB_OK);
    close();
}

void CMainFrame::OnHostInitialised(bool ok) {
    HideProgress();
    if (!ok)
        return;
    if (!m_bServerDatabaseRequested) {
        bleHost().OrvBleServerAllocDatabase(256);
        m_bServerDatabaseRequested = true;
    }
    m_bDeviceChecksSuspended = false;
    LoadPairedDevices();
}

void CMainFrame::OnConnectResult(const BleHostConnectEvent& event) {
    BleDeviceRecord* device = ConnectedRecord();
    if (event.status != 0) {
        if (device)
            OnConnectComplete(false, 0);
    } else if (!device) {
        // A link nobody asked for: do not keep it.
        AddLogMessage(QStringLiteral("Connection %1 reported without a connecting device; disconnecting.")
                          .arg(event.cid));
        bleHost().OrvBleHostDisconnect(event.cid);
    } else {
        device->connected = true;
        OnConnectComplete(true, event.cid);
        m_operationState = Operation::Discovering;
        AddLogMessage(QStringLiteral("Discovering services..."));
        bleHost().OrvBleClientDiscoverDatabase(event.cid);
    }
    m_operationState = Operation::Idle;
    SetStatusText(platform::LoadString(IDS_READY));
}

void CMainFrame::OnRemoteConnectionParameterRequest(const BleHostConnParamRequestEvent& request) {
    const QString values =
        QString::asprintf("%d %d %d %d, id: %d\n", request.intervalMin, request.intervalMax,
                          request.slaveLatency, request.supervisionTimeout, request.requestId);
    if (!m_bAcceptRemoteUpdates) {
        AddLogMessage(QStringLiteral("Remote Connection parameter request rejected: ") + values);
        bleHost().OrvBleHostAcceptConnUpdate(request.cid, request.requestId, 0);
        return;
    }
    AddLogMessage(QStringLiteral("Remote Connection parameter request accepted: ") + values);
    bleHost().OrvBleHostAcceptConnUpdate(request.cid, request.requestId, 1);
    OnRemoteConnectionParameters(request.intervalMin, request.intervalMax, request.slaveLatency,
                                 request.supervisionTimeout);
    m_requestedParameters = {request.intervalMin, request.intervalMax, request.slaveLatency,
                             request.supervisionTimeout};

    BleDeviceRecord* device = ConnectedRecord();
    if (!device || !device->connected)
        return;
    const BleConnectionParameters requested{request.intervalMin, request.intervalMax, request.slaveLatency,
                                            request.supervisionTimeout};
    auto& current = device->connectionParameters;
    if (current.intervalMin == requested.intervalMin && current.intervalMax == requested.intervalMax &&
        current.slaveLatency == requested.slaveLatency &&
        current.supervisionTimeout == requested.supervisionTimeout)
        return;
    current = requested;
    m_bParamEditsEnabled = false;
}
