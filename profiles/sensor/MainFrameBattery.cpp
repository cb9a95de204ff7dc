// The main window's part of the battery profile: its handles, its window's opening, the routing of
// the level, and the Update command.
#include "mainframe/CMainFrame.h"

#include "gatt/Uuids.h"
#include "platform/ui/CmdUI.h"
#include "profiles/sensor/BatteryIds.h"
#include "profiles/sensor/CBatteryCtrl.h"

namespace {
constexpr uint16_t kBatteryLevel = CharacteristicUuid::BatteryLevel;
constexpr uint8_t kNotifications = 1;
} // namespace

void CMainFrame::MapBatteryCommands() {
    m_commands.onCommand(ID_BATTERY_UPDATE, [this] { OnBatteryUpdate(); });
    m_commands.onUpdate(ID_BATTERY_UPDATE, [this](platform::CmdUI& ui) { OnUpdateBatteryUpdate(ui); });
}

bool CMainFrame::FindBatteryHandles(BleDeviceRecord& /*peer*/, const BleServiceEntry& service) {
    if (!IsService16(service, ServiceUuid::Battery))
        return false;
    m_valueHandles[kBatteryLevel] = BleDeviceRecord::GetHandle16(service, kBatteryLevel, false);
    m_configHandles[kBatteryLevel] = BleDeviceRecord::GetHandle16(service, kBatteryLevel, true);
    return true;
}

// Only a Battery service with a Battery Level opens the window.
void CMainFrame::OpenBatteryWindow(const BleDeviceRecord& peer) {
    const uint16_t level = ValueHandle(kBatteryLevel);
    if (m_pBattery || level == 0)
        return;
    m_pBattery = new CBatteryCtrl();
    m_pBattery->Create(m_mdiArea, &m_router, &m_commands);
    WriteClientConfiguration(peer.cid, level, ConfigHandle(kBatteryLevel), kNotifications);
    QueueRead(peer.cid, level);
    m_bBatteryReadPending = true;
}

// Also an empty value answers the read: nothing is shown, but the read is no longer pending.
bool CMainFrame::OnBatteryRead(uint16_t handle, std::span<const uint8_t> value) {
    if (!m_pBattery || handle != ValueHandle(kBatteryLevel))
        return false;
    if (value.empty())
        AddLogMessage(QStringLiteral("Battery Level value is empty; ignored."));
    else
        m_pBattery->SetBatteryLevel(value[0]);
    m_bBatteryReadPending = false;
    return true;
}

void CMainFrame::OnBatteryReadFailed(uint16_t handle) {
    if (handle == ValueHandle(kBatteryLevel))
        m_bBatteryReadPending = false;
}

// A notified level is one byte; other lengths are not shown.
void CMainFrame::OnBatteryNotification(uint16_t handle, std::span<const uint8_t> value) {
    if (!m_pBattery || handle != ValueHandle(kBatteryLevel))
        return;
    if (value.size() != 1) {
        AddLogMessage(QStringLiteral("Battery Level notification of %1 bytes ignored.").arg(value.size()));
        return;
    }
    m_pBattery->SetBatteryLevel(value[0]);
}

void CMainFrame::ClearBatteryPending() {
    m_bBatteryReadPending = false;
}

void CMainFrame::OnBatteryUpdate() {
    const BleDeviceRecord* peer = ConnectedRecord();
    const uint16_t level = ValueHandle(kBatteryLevel);
    if (!m_pBattery || !peer || level == 0)
        return;
    QueueRead(peer->cid, level);
    m_pBattery->ClearBatteryLevel();
    m_bBatteryReadPending = true;
}

void CMainFrame::OnUpdateBatteryUpdate(platform::CmdUI& ui) {
    ui.Enable(!m_bBatteryReadPending);
}
