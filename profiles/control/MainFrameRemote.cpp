// The main window's part of the legacy HID remotes: their handles, the opening of the remote or the
// generic window, the routing of their values and the forwarding switch.
#include "mainframe/CMainFrame.h"

#include "gatt/Hid.h"
#include "gatt/Uuids.h"
#include "panes/CLogDialog.h"
#include "profiles/control/RemoteIds.h"

namespace {
namespace Chr = CharacteristicUuid;

constexpr uint8_t kNotifications = 1;
// The one name that gets the picture of the remote; any other peer gets the generic window.
const QString kPictureRemoteName = QStringLiteral("SKY Remote");
} // namespace

void CMainFrame::MapRemoteCommands() {
    m_commands.onCommand(ID_FORWARD_HID_REPORTS, [this] { OnForwardHidReports(); });
}

bool CMainFrame::FindRemoteHandles(BleDeviceRecord& /*peer*/, const BleServiceEntry& service) {
    if (!IsService16(service, ServiceUuid::LegacyHid))
        return false;
    for (const uint16_t characteristic :
         {Chr::LegacyHidDescriptor, Chr::LegacyHidDescriptorExtension, Chr::LegacyHidControl,
          Chr::LegacyHidInterrupt, Chr::LegacyHidFlags})
        m_valueHandles[characteristic] = BleDeviceRecord::GetHandle16(service, characteristic, false);
    for (const uint16_t characteristic : {Chr::LegacyHidControl, Chr::LegacyHidInterrupt})
        m_configHandles[characteristic] = BleDeviceRecord::GetHandle16(service, characteristic, true);
    return true;
}

// Subscribes and reads again also when the window was open already.
void CMainFrame::OpenRemoteWindow(const BleDeviceRecord& peer) {
    if (!peer.services.contains(MakeUuid16(ServiceUuid::LegacyHid)))
        return;
    if (peer.GetName() == kPictureRemoteName) {
        if (!m_pRemote) {
            m_pRemote = new CRemoteCtrl();
            m_pRemote->Create(m_mdiArea, &m_router, &m_commands);
            // A new remote window starts with its box clear, and forwarding with it.
            m_bForwardHidReports = false;
        }
    } else if (!m_pRemoteGeneric) {
        m_pRemoteGeneric = new CRemoteCtrlGeneric();
        m_pRemoteGeneric->Create(m_mdiArea, &m_router, &m_commands);
    }
    WriteClientConfiguration(peer.cid, ValueHandle(Chr::LegacyHidInterrupt),
                             ConfigHandle(Chr::LegacyHidInterrupt), kNotifications);
    QueueRead(peer.cid, ValueHandle(Chr::LegacyHidDescriptor));
    QueueRead(peer.cid, ValueHandle(Chr::LegacyHidFlags));
}

bool CMainFrame::OnRemoteRead(uint16_t handle, std::span<const uint8_t> value) {
    if (!m_pRemoteGeneric)
        return false;
    if (handle == ValueHandle(Chr::LegacyHidDescriptor)) {
        m_pRemoteGeneric->ShowReportMap(value);
        return true;
    }
    if (handle != ValueHandle(Chr::LegacyHidFlags))
        return false;
    if (const std::optional<uint16_t> flags = DecodeLegacyHidFlags(value))
        m_pRemoteGeneric->SetHidFlags(*flags);
    else
        AddLogMessage(QStringLiteral("HID flags value is empty; ignored."));
    return true;
}

void CMainFrame::OnRemoteNotification(uint16_t handle, std::span<const uint8_t> value) {
    if (handle != ValueHandle(Chr::LegacyHidInterrupt))
        return;
    if (m_pRemote)
        m_pRemote->OnKeyReport(value);
    if (m_pRemoteGeneric) {
        m_pRemoteGeneric->ShowReport(value);
        m_pLog->AddHexDump(QStringLiteral("Received HID report "), value.data(),
                           static_cast<uint16_t>(value.size()));
    }
}

void CMainFrame::OnForwardHidReports() {
    if (!m_pRemote)
        return;
    m_bForwardHidReports = m_pRemote->IsForwardingBoxChecked();
    m_pRemote->SetForwarding(m_bForwardHidReports);
}

void CMainFrame::OnKeyNotForwarded(uint16_t virtualKey, platform::KeyInputResult result) {
    if (result == platform::KeyInputResult::NoX11Session && !m_bKeysWithoutSessionLogged) {
        m_bKeysWithoutSessionLogged = true;
        AddLogMessage(QStringLiteral("Keys are not forwarded: not an X11 session."));
    }
    if (result == platform::KeyInputResult::NoKeyCode && m_keysWithoutCode.insert(virtualKey).second)
        AddLogMessage(QString::asprintf("No key code for key 0x%02X; not forwarded.", virtualKey));
}
