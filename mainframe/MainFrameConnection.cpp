// The one connection: connecting, cancelling, the outcome, the database, disconnection, parameters.
#include "mainframe/CMainFrame.h"

#include "app/BleHostApi.h"
#include "panes/CConnectProgressDlg.h"
#include "panes/CDeviceView.h"
#include "panes/CPropertiesWnd.h"
#include "platform/Prompter.h"
#include "platform/StringTable.h"
#include "platform/ui/CmdUI.h"
#include "res/resource.h"

#include <QTreeWidgetItem>

namespace {
constexpr BleConnectionParameters kQuickParameters{10, 10, 0, 125};
constexpr uint16_t kUnusedCeLength = 0xFFFF;

QTreeWidgetItem* TreeItem(const BleDeviceRecord& record) {
    return static_cast<QTreeWidgetItem*>(record.treeItem);
}
} // namespace

bool CMainFrame::IsValidConnectionParameters(uint16_t min, uint16_t max, uint16_t latency, uint16_t timeout) {
    if (min < 6 || min > 3200 || max < 6 || max > 3200 || latency > 500 || timeout < 10 || timeout > 3200)
        return false;
    if (max < min)
        return false;
    return timeout * 10.0 > (latency + 1.0) * max * 1.25;
}

BleTypedAddress CMainFrame::ConnectedAddress() const {
    const BleDeviceRecord* record = ConnectedRecord();
    return record ? record->address : BleTypedAddress{};
}

void CMainFrame::OnConnect() {
    BleDeviceRecord* device = SelectedRecord();
    if (!device)
        return;
    if (device->connected) {
        m_operationState = Operation::Disconnecting;
        SetStatusText(platform::LoadString(IDS_STATUS_DISCONNECTING));
        bleHost().OrvBleHostDisconnect(device->cid);
        ShowProgress(platform::LoadString(IDS_DISCONNECTING_FROM) + device->GetDisplayName(),
                     platform::LoadString(IDS_DISCONNECTING), true, false);
        return;
    }
    if (m_nConnectedDevice != -1)
        return;

    m_nConnectedDevice = m_nSelectedItem - 1;
    m_operationState = Operation::Connecting;
    m_bConnectCancelled = false;
    SetStatusText(platform::LoadString(IDS_STATUS_CONNECTING));
    ShowProgress(platform::LoadString(IDS_CONNECTING_TO) + device->GetDisplayName(),
                 platform::LoadString(IDS_INITIATING_CONNECTION), false, false);
    if (m_searchState == Search::Searching) {
        m_searchState = Search::Stopping;
        bleHost().OrvBleHostStopDeviceSearch();
    }
    device->services.clear();
    ReadConnectionParameterEdits(m_connectionParameters.intervalMin, m_connectionParameters.intervalMax,
                                 m_connectionParameters.slaveLatency,
                                 m_connectionParameters.supervisionTimeout);
    device->connectionParameters = m_connectionParameters;
    if (device->appearance == kAppearanceKeyboard) {
        m_nPairingFailures = 0;
        if (m_bMitmProtection)
            bleHost().OrvBleHostChangeSecurityLevel(1);
    }
    // The quick parameters serve only the first reads: the record keeps the stored ones.
    m_requestedParameters = m_connectionParameters;
    const BleConnectionParameters& sent = m_bQuickConnect ? kQuickParameters : m_connectionParameters;
    bleHost().OrvBleHostSetConnectionParams(0xFFFF, 0xFFFF, sent.intervalMin, sent.intervalMax,
                                            sent.slaveLatency, sent.supervisionTimeout);
    bleHost().OrvBleHostConnect(device->address);
}

void CMainFrame::OnUpdateConnect(platform::CmdUI& ui) {
    const BleDeviceRecord* connected = ConnectedRecord();
    const bool selectedIsConnected =
        connected && m_nSelectedItem == m_nConnectedDevice + 1 && connected->connected;
    ui.SetText(platform::LoadString(selectedIsConnected ? IDS_DISCONNECT_LABEL : IDS_CONNECT_LABEL));
    const bool enabled = (m_nConnectedDevice == -1 && m_nSelectedItem > 0) ||
                         (m_nConnectedDevice != -1 && m_nSelectedItem == m_nConnectedDevice + 1);
    ui.Enable(enabled && m_operationState == Operation::Idle);
}

void CMainFrame::DisconnectSelectedDevice() {
    BleDeviceRecord* device = ConnectedRecord();
    if (!device || !device->connected)
        return;
    m_operationState = Operation::Disconnecting;
    ShowProgress(platform::LoadString(IDS_DISCONNECTING_FROM) + device->GetDisplayName(),
                 platform::LoadString(IDS_DISCONNECTING), true, false);
    bleHost().OrvBleHostDisconnect(device->cid);
}

void CMainFrame::CancelConnect() {
    BleDeviceRecord* device = ConnectedRecord();
    if (!device)
        return;
    if (m_operationState == Operation::Idle) {
        if (m_pEnvironment)
            m_pEnvironment->StopCalibration();
        return;
    }
    if (m_operationState != Operation::Connecting && m_operationState != Operation::Discovering)
        return;
    ShowProgress(platform::LoadString(IDS_DISCONNECTING_FROM) + device->GetDisplayName(),
                 platform::LoadString(IDS_DISCONNECTING), true, false);
    if (!device->connected) {
        m_bConnectCancelled = true;
        bleHost().OrvBleHostCancelConnect();
        bleHost().OrvBleHostChangeSecurityLevel(0);
        return;
    }
    m_operationState = Operation::Disconnecting;
    bleHost().OrvBleHostDisconnect(device->cid);
}

void CMainFrame::OnConnectComplete(bool ok, uint32_t cid) {
    ResetRequestQueues();
    if (ok) {
        BleDeviceRecord* device = ConnectedRecord();
        device->cid = cid;
        m_pProgress->SetText(QStringLiteral("Discovering services"));
        m_pProgress->SetNoCancel(false);
        AddLogMessage(QStringLiteral("Connected to ") + device->GetAddressString());
        m_bQuickConnectRestore = false;
        return;
    }
    // The attempt is over: another device may be connected next.
    m_nConnectedDevice = -1;
    bleHost().OrvBleHostChangeSecurityLevel(0);
    UpdateRibbonState(true);
    m_pProgress->SetText(QStringLiteral("Connection failed!"));
    if (!m_bConnectCancelled)
        platform::AfxMessageBox(QStringLiteral("Unable to connect to the device."), MB_OK);
    m_bConnectCancelled = false;
    HideProgress();
}

void CMainFrame::OnDatabaseDiscovered(const BleHostDatabaseEvent& database) {
    BleDeviceRecord* device = ConnectedRecord();
    if (!device)
        return;
    if (m_operationState == Operation::Discovering)
        m_operationState = Operation::Idle;
    device->BuildServiceMap(database.serviceCount, database.services);
    HideProgress();
    setUpdatesEnabled(false);
    // Armed before the row moves: the move opens the profile windows, whose reads run the restore.
    if (m_bQuickConnect) {
        m_bQuickConnectRestore = true;
        m_restoreAddress = device->address;
        m_restoreParameters = m_connectionParameters;
    }
    device->treeItem = m_wndDeviceView->MoveToConnected(TreeItem(*device));
    UpdateRibbonState(false);
    setUpdatesEnabled(true);
}

void CMainFrame::OnDisconnected(uint16_t reason) {
    if (m_bClosing) {
        if (m_nPromptMode == 1)
            CancelPasskeyPrompt();
        CloseNow();
        return;
    }
    BleDeviceRecord* device = ConnectedRecord();
    if (!device)
        return;

    m_bLinkEncrypted = false;
    if (m_operationState == Operation::Renaming)
        AbandonRename();
    device->cid = 0;
    device->connected = false;
    AddLogMessage(QStringLiteral("Disconnected from ") + device->GetAddressString() +
                  QStringLiteral(" with reason %1.").arg(reason));
    device->treeItem = device->paired ? m_wndDeviceView->MoveToPaired(TreeItem(*device))
                                      : m_wndDeviceView->MoveToDiscovered(TreeItem(*device));

    setUpdatesEnabled(false);
    HideProgress();
    CloseProfileWindows();
    m_nConnectedDevice = -1;
    UpdateRibbonState(true);
    m_bParamEditsEnabled = true;
    setUpdatesEnabled(true);
    ResetServerState();

    m_operationState = Operation::Idle;
    SetStatusText(platform::LoadString(IDS_READY));
    ResetRoutingState();
    m_bQuickConnectRestore = false;
    if (m_nPromptMode == 1)
        CancelPasskeyPrompt();
    m_nPromptMode = 0;
    ResetRequestQueues();
}

void CMainFrame::OnUpdateConnectionParameters() {
    BleDeviceRecord* device = ConnectedRecord();
    if (!device || m_nSelectedItem != m_nConnectedDevice + 1)
        return;
    BleConnectionParameters wanted;
    ReadConnectionParameterEdits(wanted.intervalMin, wanted.intervalMax, wanted.slaveLatency,
                                 wanted.supervisionTimeout);
    if (!IsValidConnectionParameters(wanted.intervalMin, wanted.intervalMax, wanted.slaveLatency,
                                     wanted.supervisionTimeout)) {
        platform::prompter().messageBox(this, platform::LoadString(IDS_INVALID_CONNECTION_PARAMETERS),
                                        platform::LoadString(IDS_APP_TITLE), MB_ICONHAND | MB_SETFOREGROUND);
        return;
    }
    m_operationState = Operation::UpdatingParameters;
    SetStatusText(platform::LoadString(IDS_STATUS_UPDATING_PARAMETERS));
    m_requestedParameters = wanted;
    bleHost().OrvBleHostUpdateConnectionParams(device->address, wanted.intervalMin, wanted.intervalMax,
                                               wanted.slaveLatency, wanted.supervisionTimeout,
                                               kUnusedCeLength, kUnusedCeLength);
    m_bParamEditsEnabled = false;
}

void CMainFrame::OnUpdateUpdateParameters(platform::CmdUI& ui) {
    ui.Enable(m_operationState == Operation::Idle && ConnectedRecord() &&
              m_nSelectedItem == m_nConnectedDevice + 1);
}

void CMainFrame::OnConnectionParametersUpdated(uint32_t status) {
    if (status != 0) {
        AddLogMessage(QStringLiteral("Failed to set/update connection parameters %1")
                          .arg(static_cast<int32_t>(status)));
    } else {
        AddLogMessage(QStringLiteral("Set/update connection parameters Successful"));
        if (BleDeviceRecord* device = ConnectedRecord()) {
            device->connectionParameters = m_requestedParameters;
            RearmRssiPoll();
        }
    }
    if (m_operationState == Operation::UpdatingParameters) {
        m_operationState = Operation::Idle;
        SetStatusText(platform::LoadString(IDS_READY));
    }
    m_bParamEditsEnabled = true;
}

void CMainFrame::RunQuickConnectRestore() {
    if (!m_bQuickConnectRestore)
        return;
    m_bQuickConnectRestore = false;
    m_requestedParameters = m_restoreParameters;
    bleHost().OrvBleHostUpdateConnectionParams(
        m_restoreAddress, m_restoreParameters.intervalMin, m_restoreParameters.intervalMax,
        m_restoreParameters.slaveLatency, m_restoreParameters.supervisionTimeout, kUnusedCeLength,
        kUnusedCeLength);
}
