// Pairing and link security, the passkey prompt, renaming the connected peer and removing bonds, with
// the handles and results of Generic Access (Device Name) and Bond Management that they use.
#include "mainframe/CMainFrame.h"

#include "app/BleHostApi.h"
#include "gatt/UuidFunctions.h"
#include "gatt/Uuids.h"
#include "gatt/ValueText.h"
#include "panes/CConnectProgressDlg.h"
#include "panes/CDeviceView.h"
#include "panes/CPropertiesWnd.h"
#include "panes/CUserPromptDlg.h"
#include "platform/Prompter.h"
#include "platform/StringTable.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Property.h"
#include "res/resource.h"

#include <QFont>
#include <QTreeWidgetItem>
#include <algorithm>
#include <cstring>

namespace {
namespace Svc = ServiceUuid;
namespace Chr = CharacteristicUuid;

// Bond Management Control Point op code: delete the bond of the requesting device (LE transport).
constexpr uint8_t kDeleteRequestingDeviceBond = 0x03;
// Bond Management Feature bit: the peer deletes the requesting device's bond on request.
constexpr uint8_t kBondDeletionByPeer = 0x10;
constexpr uint32_t kLapMask = 0x00FFFFFF;
constexpr int kPasskeyFontHeight = 48;

QTreeWidgetItem* TreeItem(const BleDeviceRecord& record) {
    return static_cast<QTreeWidgetItem*>(record.treeItem);
}

// The first bytes of utf8, at most limit of them, ending at a character boundary.
QByteArray CutUtf8(const QByteArray& utf8, qsizetype limit) {
    qsizetype length = std::min(utf8.size(), limit);
    while (length > 0 && length < utf8.size() && (static_cast<uint8_t>(utf8[length]) & 0xC0) == 0x80)
        --length;
    return utf8.left(length);
}

// The host library reports bonds by NAP, UAP and LAP; the address type is not compared.
bool IsSameBondAddress(const BleTypedAddress& a, const BleTypedAddress& b) {
    return a.nap == b.nap && a.uap == b.uap && (a.lap & kLapMask) == (b.lap & kLapMask);
}

// Device Name can be written; a peer without Generic Access in its map is not asked.
bool IsDeviceNameWritable(const BleDeviceRecord& record) {
    uint16_t properties = 0;
    if (!record.GetCharacteristicProperties(MakeUuid16(Svc::GenericAccess), MakeUuid16(Chr::DeviceName),
                                            properties))
        return true;
    return (properties & kPropertyWrite) != 0;
}

QString SecurityFailureText(uint16_t result) {
    if (result == 1)
        return QStringLiteral("Pairing failed with the remote device.");
    if (result == 2)
        return QStringLiteral("Pairing timed out with the remote device.");
    return QString();
}

// The passkey's face: "Arial Black" where it is installed, else the closest bold sans-serif face.
QFont PasskeyFont() {
    QFont font(QStringLiteral("Arial Black"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kPasskeyFontHeight);
    font.setWeight(QFont::Bold);
    return font;
}
} // namespace

void CMainFrame::MapPairingCommands() {
    m_commands.onCommand(ID_ENABLE_MITM, [this] { m_bMitmProtection = !m_bMitmProtection; });
    m_commands.onUpdate(ID_ENABLE_MITM, [this](platform::CmdUI& ui) {
        ui.Enable(true);
        ui.SetCheck(m_bMitmProtection);
    });
    m_commands.onCommand(ID_RENAME_DEVICE, [this] { OnRenameDevice(); });
    m_commands.onUpdate(ID_RENAME_DEVICE, [this](platform::CmdUI& ui) { OnUpdateRenameDevice(ui); });
    m_commands.onCommand(ID_REMOVE_PAIRING, [this] { OnRemovePairing(); });
    m_commands.onUpdate(ID_REMOVE_PAIRING, [this](platform::CmdUI& ui) { OnUpdateRemovePairing(ui); });
}

// ---- Pairing and security ------------------------------------------------------------------------

void CMainFrame::OnSecurityResult(uint16_t result) {
    m_bEncryptionRequested = false;
    BleDeviceRecord* record = ConnectedRecord();
    if (result == 0) {
        m_bLinkEncrypted = true;
        AddLogMessage(QStringLiteral("Link Encrypted"));
        if (record && !record->paired) {
            record->paired = true;
            const DeviceRecordPtr& shared = m_devices[static_cast<size_t>(m_nConnectedDevice)];
            if (std::find(m_pairedDevices.begin(), m_pairedDevices.end(), shared) == m_pairedDevices.end())
                m_pairedDevices.push_back(shared);
        }
        if (record && record->connected)
            HideProgress();
        if (m_pPrompt && m_nPromptMode == 1)
            m_pPrompt->accept(); // CUserPromptDlg::OnOK
        m_pPrompt = nullptr;
        ProcessWriteQueue();
        // Only a read refused for lack of security waits for this result; a read still out is answered.
        if (m_bReadAwaitsSecurity)
            m_bReadInFlight = false;
        m_bReadAwaitsSecurity = false;
        ProcessReadQueue(record ? record->cid : 0);
        return;
    }

    const QString text = SecurityFailureText(result);
    HideProgress();
    if (m_pPrompt && m_nPromptMode == 1) {
        m_pPrompt->reject(); // CUserPromptDlg::OnBnClickedCancel
        m_pPrompt = nullptr;
        // With the passkey prompt open, the first three failures after a keyboard connection only
        // close the prompt.
        if (m_nPairingFailures++ < 3)
            return;
    }
    bleHost().OrvBleHostCancel();
    platform::prompter().messageBox(this, text, QStringLiteral("Pairing failure"),
                                    MB_ICONEXCLAMATION | MB_TASKMODAL);
    DisconnectSelectedDevice();
}

void CMainFrame::OnPasskeyDisplay(const BleHostPasskeyEvent& event) {
    const BleTypedAddress address = event.address;
    bleHost().OrvBleHostPasskeyNotificationResult(address, 1);
    // A new passkey replaces the prompt still open: that one ends as by OK, so its bonding is not
    // cancelled, and its modal loop returns once the new prompt's has.
    if (m_pPrompt)
        m_pPrompt->accept(); // CUserPromptDlg::OnOK

    // Heap-allocated and guarded: the prompt is a child of this window, which deletes its children.
    QPointer<CUserPromptDlg> prompt =
        new CUserPromptDlg(QString::asprintf("%06u", event.passkey), PasskeyFont(), true, false, true, this);
    prompt->SetOwnerHooks({[this] {
                               if (!m_bModalState)
                                   return;
                               m_bModalState = false;
                               m_pProgress->setWindowModality(Qt::NonModal);
                           },
                           [this] { m_pPrompt = nullptr; }});
    m_pPrompt = prompt;
    m_nPromptMode = 1;
    const int result = prompt->exec();
    delete prompt.data();
    m_nPromptMode = 0;
    if (result == IDCANCEL)
        bleHost().OrvBleHostCancelBonding(address);
}

void CMainFrame::CancelPasskeyPrompt() {
    if (m_pPrompt)
        m_pPrompt->reject(); // CUserPromptDlg::OnBnClickedCancel
    m_pPrompt = nullptr;
}

// ---- Renaming the connected peer -----------------------------------------------------------------

void CMainFrame::OnRenameDevice() {
    if (const BleDeviceRecord* record = SelectedRecord())
        m_wndDeviceView->EditLabel(TreeItem(*record));
}

void CMainFrame::OnUpdateRenameDevice(platform::CmdUI& ui) {
    const BleDeviceRecord* record = ConnectedRecord();
    const bool enabled = !m_bRenamePending && record && record->connected &&
                         m_nSelectedItem == m_nConnectedDevice + 1 && ValueHandle(Chr::DeviceName) != 0 &&
                         IsDeviceNameWritable(*record);
    ui.Enable(enabled && m_operationState == Operation::Idle);
}

bool CMainFrame::OnTreeBeginLabelEdit(QTreeWidgetItem* item) {
    const BleDeviceRecord* record = ConnectedRecord();
    return !m_bRenamePending && ValueHandle(Chr::DeviceName) != 0 && record && record->connected &&
           CDeviceView::ItemData(item) == m_nConnectedDevice + 1 && IsDeviceNameWritable(*record);
}

void CMainFrame::OnTreeEndLabelEdit(QTreeWidgetItem* /*item*/, const QString& text, bool cancelled) {
    if (cancelled || text.isEmpty()) {
        platform::prompter().messageBox(this, QStringLiteral("Device name cannot be empty"),
                                        QStringLiteral("Device Renaming"), MB_ICONEXCLAMATION | MB_TASKMODAL);
        return;
    }
    RenameDevice(text);
}

void CMainFrame::OnPropertyChanged(platform::Property* property) {
    if (property && property->data() == CPropertiesWnd::kNamePropertyData)
        RenameDevice(property->value());
}

void CMainFrame::RenameDevice(const QString& name) {
    BleDeviceRecord* record = ConnectedRecord();
    const uint16_t handle = ValueHandle(Chr::DeviceName);
    if (!record || !record->connected || handle == 0)
        return;
    if (m_bRenamePending) {
        AddLogMessage(
            QStringLiteral("The device is being renamed already; \"%1\" is not written.").arg(name));
        return;
    }
    // One write request holds at most kMaxData bytes: a longer name is cut at a character boundary.
    const QByteArray full = name.toUtf8();
    const QByteArray utf8 = CutUtf8(full, GattWriteRequest::kMaxData);
    if (utf8.size() < full.size())
        AddLogMessage(QStringLiteral("The new name is %1 bytes long; its first %2 bytes are written.")
                          .arg(full.size())
                          .arg(utf8.size()));
    m_pendingName = QString::fromUtf8(utf8);

    m_operationState = Operation::Renaming;
    SetStatusText(platform::LoadString(IDS_STATUS_RENAMING));
    ShowProgress(platform::LoadString(IDS_RENAMING_TITLE) + QStringLiteral(" ") + record->GetDisplayName(),
                 platform::LoadString(IDS_RENAMING_TEXT), true, true);
    m_wndProperties->EnableNameProperty(false);
    m_wndProperties->SetPropertyValue(m_pendingName);
    m_wndDeviceView->SetDeviceItemText(TreeItem(*record), m_pendingName + QStringLiteral(" (updating)"));
    WriteCharacteristic(record->cid, handle, static_cast<uint8_t>(utf8.size()),
                        reinterpret_cast<const uint8_t*>(utf8.constData()), GattWriteRequest::kWriteRequest);
    m_bRenamePending = true;
    m_nRenameHandle = handle;
}

// The rename's result is recognised by the handle written: the handle tables may have been emptied since.
bool CMainFrame::OnDeviceNameWritten(uint16_t handle, uint16_t status) {
    if (!m_bRenamePending || handle != m_nRenameHandle)
        return false;
    OnRenameComplete(status == 0);
    return true;
}

void CMainFrame::OnRenameComplete(bool success) {
    BleDeviceRecord* record = ConnectedRecord();
    if (record && record->connected) {
        if (success)
            record->SetName(m_pendingName);
        ShowRecordName(*record);
        HideProgress();
        if (success && record->paired)
            UpdatePairedDeviceEntry(*record);
    }
    m_wndProperties->EnableNameProperty(true);
    m_operationState = Operation::Idle;
    SetStatusText(platform::LoadString(IDS_READY));
    m_bRenamePending = false;
    m_nRenameHandle = 0;
    m_pendingName.clear();
}

void CMainFrame::AbandonRename() {
    if (const BleDeviceRecord* record = ConnectedRecord())
        ShowRecordName(*record);
    HideProgress();
    m_wndProperties->EnableNameProperty(true);
    m_bRenamePending = false;
    m_nRenameHandle = 0;
    m_pendingName.clear();
}

void CMainFrame::ShowRecordName(const BleDeviceRecord& record) {
    m_wndDeviceView->SetDeviceItemText(TreeItem(record), record.GetDisplayName());
    if (SelectedRecord() == &record)
        m_wndProperties->SetPropertyValue(record.GetName());
}

void CMainFrame::UpdatePairedDeviceEntry(const BleDeviceRecord& record) {
    BleHostPairedDevice entry{};
    entry.address = record.address;
    // UTF-8, cut at a character boundary to leave room for the terminating NUL.
    const QByteArray name = CutUtf8(record.GetName().toUtf8(), sizeof entry.name - 1);
    std::memcpy(entry.name, name.constData(), static_cast<size_t>(name.size()));
    entry.appearance = record.appearance;
    bleHost().OrvBleHostUpdatePairedDeviceList(&entry);
}

// ---- Generic Access and Device Name ------------------------------------------------------------

bool CMainFrame::FindGenericAccessHandles(BleDeviceRecord& peer, const BleServiceEntry& service) {
    if (!IsService16(service, Svc::GenericAccess))
        return false;
    m_valueHandles[Chr::DeviceName] = BleDeviceRecord::GetHandle16(service, Chr::DeviceName, false);
    QueueRead(peer.cid, ValueHandle(Chr::DeviceName));
    uint16_t properties = 0;
    peer.GetCharacteristicProperties(service.uuid, MakeUuid16(Chr::DeviceName), properties);
    if (properties & kPropertyWrite)
        m_wndProperties->EnableNameProperty(true);
    return true;
}

bool CMainFrame::OnDeviceNameRead(uint16_t handle, std::span<const uint8_t> value) {
    if (handle != ValueHandle(Chr::DeviceName))
        return false;
    BleDeviceRecord* peer = ConnectedRecord();
    const QString name = Utf8ToCString(value.data(), static_cast<int>(value.size()));
    if (name != peer->GetDisplayName()) {
        peer->SetName(name);
        ShowRecordName(*peer);
    }
    return true;
}

// ---- Removing a bond -----------------------------------------------------------------------------

void CMainFrame::OnRemovePairing() {
    if (!SelectedRecord() || !SelectedRecord()->paired || m_operationState != Operation::Idle)
        return;
    // Shared: the question's nested event loop may change the device list.
    const DeviceRecordPtr record = m_devices[static_cast<size_t>(m_nSelectedItem - 1)];
    const uint16_t controlPoint = ValueHandle(Chr::BondManagementControlPoint);
    if (record->connected && record->bondDeletionSupported && controlPoint != 0) {
        const int answer = platform::AfxMessageBox(
            QStringLiteral(
                "Bonding information will be deleted from the peer device. \r\nDo you want to continue?"),
            MB_YESNO);
        if (answer != IDYES || ConnectedRecord() != record.get() || !record->connected ||
            m_operationState != Operation::Idle)
            return;
        const uint8_t command[] = {kDeleteRequestingDeviceBond};
        WriteCharacteristic(record->cid, controlPoint, sizeof command, command,
                            GattWriteRequest::kWriteRequest);
        m_nBondWriteHandle = controlPoint;
        m_operationState = Operation::RemovingPairing;
        SetStatusText(platform::LoadString(IDS_STATUS_REMOVING_PAIRING));
        return;
    }
    m_operationState = Operation::RemovingPairing;
    bleHost().OrvBleHostDebond(record->address);
    SetStatusText(platform::LoadString(IDS_STATUS_REMOVING_PAIRING));
}

void CMainFrame::OnUpdateRemovePairing(platform::CmdUI& ui) {
    const BleDeviceRecord* record = SelectedRecord();
    const bool paired = record && record->paired;
    ui.SetText(paired ? QStringLiteral("Remove pairing") : QStringLiteral("Pair"));
    ui.Enable(paired && m_operationState == Operation::Idle);
}

bool CMainFrame::FindBondManagementHandles(BleDeviceRecord& /*peer*/, const BleServiceEntry& service) {
    if (!IsService16(service, Svc::BondManagement))
        return false;
    m_valueHandles[Chr::BondManagementFeature] =
        BleDeviceRecord::GetHandle16(service, Chr::BondManagementFeature, false);
    ReadCharacteristic(ValueHandle(Chr::BondManagementFeature));
    m_valueHandles[Chr::BondManagementControlPoint] =
        BleDeviceRecord::GetHandle16(service, Chr::BondManagementControlPoint, false);
    return true;
}

bool CMainFrame::OnBondManagementFeatureRead(uint16_t handle, std::span<const uint8_t> value) {
    if (handle != ValueHandle(Chr::BondManagementFeature))
        return false;
    if (value.empty())
        AddLogMessage(QStringLiteral("Bond Management Feature value is empty; ignored."));
    else if (value[0] & kBondDeletionByPeer)
        ConnectedRecord()->bondDeletionSupported = true;
    return true;
}

// The control point's write is recognised by the handle written: the handle tables may have been
// emptied since.
void CMainFrame::OnBondManagementWritten(uint16_t handle) {
    if (m_nBondWriteHandle == 0 || handle != m_nBondWriteHandle)
        return;
    m_nBondWriteHandle = 0;
    const BleDeviceRecord* record = ConnectedRecord();
    if (!record || !record->connected)
        return;
    m_operationState = Operation::RemovingPairing;
    bleHost().OrvBleHostDebond(record->address);
}

void CMainFrame::OnDebondComplete(const BleTypedAddress& address) {
    const auto sameBond = [&address](const DeviceRecordPtr& record) {
        return IsSameBondAddress(record->address, address);
    };
    const auto found = std::find_if(m_devices.begin(), m_devices.end(), sameBond);
    if (found != m_devices.end() && (*found)->connected) {
        (*found)->paired = false;
        // OnConnect disconnects the connected device when it is the selected one.
        if (SelectedRecord() == found->get())
            OnConnect();
        else
            DisconnectSelectedDevice();
    } else if (found != m_devices.end()) {
        if (SelectedRecord() == found->get()) {
            m_nSelectedItem = 0;
            m_wndProperties->ClearDevice();
        }
        const DeviceRecordPtr selected =
            SelectedRecord() ? m_devices[static_cast<size_t>(m_nSelectedItem - 1)] : nullptr;
        const DeviceRecordPtr connected =
            ConnectedRecord() ? m_devices[static_cast<size_t>(m_nConnectedDevice)] : nullptr;
        m_devices.erase(found);
        RederivePositions(selected.get(), connected.get());
    }

    const auto paired = std::find_if(m_pairedDevices.begin(), m_pairedDevices.end(), sameBond);
    if (paired != m_pairedDevices.end())
        m_pairedDevices.erase(paired);
    RefreshDeviceTree();
}
