// The local GATT server: the PC's own database, the peer's reads and writes by handle, notifications.
#include "mainframe/CMainFrame.h"

#include "app/BleHostApi.h"
#include "res/resource.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>
#include <array>

namespace {

constexpr int32_t kNoResult = -1;
constexpr int32_t kAttSuccess = 0;
constexpr int32_t kAttInvalidHandle = 0x01;
constexpr int32_t kAttReadNotPermitted = 0x02;
constexpr int32_t kAttInsufficientEncryption = 0x0F;

} // namespace

void CMainFrame::AddServerDatabase(uint16_t databaseId) {
    LocalServerDatabase database;
    bleHost().OrvBleServerAddDatabase(databaseId, database.ServiceCount(), database.Services());
    m_serverHandles = database.Handles();
    KeepAncsHandles();
}

bool CMainFrame::IsAlertServiceHandle(uint16_t handle) const {
    const LocalServerHandles& h = m_serverHandles;
    const std::array<uint16_t, 10> alert{h.newAlert,
                                         h.newAlertConfig,
                                         h.unreadAlertStatus,
                                         h.unreadAlertStatusConfig,
                                         h.alertControlPoint,
                                         h.alertStatus,
                                         h.alertStatusConfig,
                                         h.ringerSetting,
                                         h.ringerSettingConfig,
                                         h.ringerControlPoint};
    return handle != 0 && std::find(alert.begin(), alert.end(), handle) != alert.end();
}

bool CMainFrame::IsTimeServiceHandle(uint16_t handle) const {
    const LocalServerHandles& h = m_serverHandles;
    const std::array<uint16_t, 7> time{
        h.currentTime, h.currentTimeConfig,      h.localTimeInformation, h.referenceTimeInformation,
        h.timeWithDst, h.timeUpdateControlPoint, h.timeUpdateState};
    return handle != 0 && std::find(time.begin(), time.end(), handle) != time.end();
}

void CMainFrame::OnServerReadRequest(uint32_t cid, uint16_t handle) {
    AddLogMessage(QString::asprintf("DbDataReadResult, m_bEncrypted = %d, handle = 0x%04X\n",
                                    m_bLinkEncrypted ? 1 : 0, handle));
    int32_t result = kAttReadNotPermitted;
    std::vector<uint8_t> data;
    if (!m_bLinkEncrypted) {
        result = kAttInsufficientEncryption;
    } else if (IsAlertServiceHandle(handle)) {
        if (handle == m_serverHandles.alertStatus || handle == m_serverHandles.ringerSetting) {
            data = {handle == m_serverHandles.alertStatus ? m_phone.AlertStatus() : m_phone.RingerSetting()};
            result = kAttSuccess;
        }
    } else if (IsTimeServiceHandle(handle)) {
        OpenTimeWindow();
        if (handle != m_serverHandles.timeUpdateControlPoint) {
            data = TimeServerValue(handle);
            result = kAttSuccess;
        }
    }
    bleHost().OrvBleServerReadResponse(cid, handle, result, static_cast<uint16_t>(data.size()),
                                       data.empty() ? nullptr : data.data());
}

int32_t CMainFrame::OnServerWriteRequest(uint16_t count, const BleHostWriteEntry* entries) {
    AddLogMessage(QString::asprintf("DbDataWriteResult, m_bEncrypted = %d\n", m_bLinkEncrypted ? 1 : 0));
    const BleDeviceRecord* peer = ConnectedRecord();
    const bool connected = peer && peer->connected;
    int32_t result = kNoResult;
    for (uint16_t i = 0; entries && i < count; ++i) {
        const BleHostWriteEntry& entry = entries[i];
        const std::span<const uint8_t> value(entry.value, entry.value ? entry.length : 0);
        if (!m_bLinkEncrypted) {
            result = kAttInsufficientEncryption;
            continue;
        }
        if (entry.handle != 0 && entry.handle == m_serverHandles.immediateAlertLevel) {
            // Only the security tag may alert the PC; a write without its level byte is skipped.
            if (connected && (peer->roles & BleDeviceRecord::kRoleSecurityTag) && m_pSecurityTag &&
                !value.empty()) {
                OnLocalAlert(value[0]);
                result = kAttSuccess;
            }
            continue;
        }
        if (IsTimeServiceHandle(entry.handle)) {
            if (connected) {
                OpenTimeWindow();
                OnTimeServerWrite(entry.handle, value, &result);
            }
            continue;
        }
        if (IsAncsHandle(entry.handle)) {
            if (connected) {
                OpenAncsWindow();
                result = m_pAncs->OnServerWrite(entry.handle, entry.length, entry.value);
            }
            continue;
        }
        if (!IsAlertServiceHandle(entry.handle)) {
            result = kAttInvalidHandle;
            continue;
        }
        if (!connected)
            continue;
        OpenPhoneWindow();
        if (OnPhoneServerWrite(entry.handle, value, &result) && result == kNoResult)
            result = kAttSuccess;
    }
    return result;
}

void CMainFrame::ShowServerWindow(CChildFrame* window, uint32_t role) {
    if (auto* subWindow = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
        m_mdiArea->setActiveSubWindow(subWindow);
    if (BleDeviceRecord* peer = ConnectedRecord())
        peer->roles |= role;
}

void CMainFrame::SendServerNotification(uint16_t handle, std::span<const uint8_t> value) {
    const BleDeviceRecord* peer = ConnectedRecord();
    if (!peer || !peer->connected || handle == 0)
        return;
    bleHost().OrvBleServerSendNotification(peer->cid, handle, static_cast<uint16_t>(value.size()),
                                           value.data());
}

void CMainFrame::ResetServerState() {
    m_phone = {};
    m_savedPhoneRecords.clear();
    m_bCurrentTimeNotifications = false;
    ResetAncsState();
    m_nBlinkCount = 0;
    m_timers.killTimer(TIMER_BLINK);
}
