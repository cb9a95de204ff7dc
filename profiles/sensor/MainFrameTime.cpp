// The main window's part of the time server: the time window's opening, the served values, the peer's
// writes, the pane's commands and the Current Time notifications.
#include "mainframe/CMainFrame.h"

#include "gatt/CurrentTime.h"
#include "profiles/sensor/TimeIds.h"

namespace {

constexpr uint8_t kNotificationsOn = 1;
constexpr uint8_t kNotificationsOff = 0;
constexpr int32_t kAttSuccess = 0;

template <size_t N> std::vector<uint8_t> Bytes(const std::array<uint8_t, N>& value) {
    return {value.begin(), value.end()};
}

} // namespace

void CMainFrame::MapTimeCommands() {
    m_commands.onCommand(IDC_TIME_CALENDAR, [this] { OnTimeDateChanged(); });
    m_commands.onCommand(IDC_TIME_UPDATE, [this] { OnUpdateTime(); });
    m_commands.onCommand(IDC_TIME_ZONE, [this] { OnTimeZoneSelected(); });
    m_commands.onCommand(IDC_TIME_SIMULATE_TIMEOUT, [this] { OnTimeoutReferenceUpdate(); });
    connect(&m_timeChangeWatch, &platform::TimeChangeWatch::timeChanged, this, [this] { OnTimeChange(); });
}

void CMainFrame::OpenTimeWindow() {
    const BleDeviceRecord* peer = ConnectedRecord();
    if (m_pTime || !peer || !peer->connected)
        return;
    m_pTime = new CTimeCtrl();
    m_pTime->Create(m_mdiArea, &m_router, &m_commands);
    ShowServerWindow(m_pTime, BleDeviceRecord::kRoleTime);
}

void CMainFrame::ReopenTimeWindow(const BleDeviceRecord& peer) {
    if (!(peer.roles & BleDeviceRecord::kRoleTime))
        return;
    if (!m_pTime) {
        m_pTime = new CTimeCtrl();
        m_pTime->Create(m_mdiArea, &m_router, &m_commands);
    }
    ShowServerWindow(m_pTime, BleDeviceRecord::kRoleTime);
}

std::vector<uint8_t> CMainFrame::TimeServerValue(uint16_t handle) const {
    const LocalServerHandles& h = m_serverHandles;
    if (handle == h.currentTimeConfig)
        return {m_bCurrentTimeNotifications ? kNotificationsOn : kNotificationsOff, 0};
    if (!m_pTime)
        return {};
    if (handle == h.currentTime)
        return Bytes(m_pTime->GetCurrentTimeValue());
    if (handle == h.localTimeInformation)
        return Bytes(m_pTime->GetLocalTimeInfoValue());
    if (handle == h.referenceTimeInformation)
        return Bytes(m_pTime->GetReferenceTimeInfoValue());
    if (handle == h.timeWithDst)
        return Bytes(m_pTime->GetNextDstChangeValue());
    if (handle == h.timeUpdateState)
        return Bytes(m_pTime->GetTimeUpdateStateValue());
    return {};
}

void CMainFrame::OnTimeServerWrite(uint16_t handle, std::span<const uint8_t> value, int32_t* result) {
    if (value.empty())
        return;
    if (handle == m_serverHandles.currentTimeConfig) {
        if (value[0] == kNotificationsOn || value[0] == kNotificationsOff) {
            m_bCurrentTimeNotifications = value[0] == kNotificationsOn;
            *result = kAttSuccess;
        }
        return;
    }
    // A write command: nothing is answered, whatever it asks.
    if (handle != m_serverHandles.timeUpdateControlPoint || !m_pTime)
        return;
    if (value[0] == TimeUpdate::GetReferenceUpdate)
        m_pTime->OnGetReferenceUpdate();
    else if (value[0] == TimeUpdate::CancelReferenceUpdate)
        m_pTime->EndReferenceUpdate(false);
}

void CMainFrame::SendCurrentTime(uint8_t reason) {
    if (!m_pTime)
        return;
    std::array<uint8_t, 10> value = m_pTime->GetCurrentTimeValue();
    value[9] = reason;
    SendServerNotification(m_serverHandles.currentTime, value);
}

void CMainFrame::OnTimeChange() {
    if (!m_pTime)
        return;
    m_pTime->SyncWithSystemTime();
    if (m_bCurrentTimeNotifications)
        SendCurrentTime(TimeAdjustReason::ExternalReference);
}

void CMainFrame::OnTimeDateChanged() {
    if (!m_pTime)
        return;
    const bool dstChanged = m_pTime->OnDateSelected();
    if (m_bCurrentTimeNotifications)
        SendCurrentTime(dstChanged ? TimeAdjustReason::ManualWithDstChange : TimeAdjustReason::ManualUpdate);
}

void CMainFrame::OnUpdateTime() {
    bool dstChanged = false;
    if (m_pTime && m_pTime->OnSetTime(&dstChanged) && m_bCurrentTimeNotifications)
        SendCurrentTime(dstChanged ? TimeAdjustReason::ManualWithDstChange : TimeAdjustReason::ManualUpdate);
}

void CMainFrame::OnTimeZoneSelected() {
    if (m_pTime && m_pTime->OnDstSelected() && m_bCurrentTimeNotifications)
        SendCurrentTime(TimeAdjustReason::TimeZoneChange);
}

void CMainFrame::OnTimeoutReferenceUpdate() {
    if (m_pTime)
        m_pTime->OnTimeoutCheck();
}
