// The main window's part of the phone: its server state, the peer's writes, the pane's commands, the
// senders of the alert notifications and the blinking of the alert-status pictures.
#include "mainframe/CMainFrame.h"

#include "platform/ui/CmdUI.h"
#include "profiles/control/PhoneIds.h"
#include "res/resource.h"

namespace {

constexpr int32_t kAttInvalidHandle = 0x01;
constexpr uint8_t kNotificationsOn = 1;
constexpr UINT kBlinkPeriodMs = 500;

} // namespace

void CMainFrame::MapPhoneCommands() {
    m_commands.onCommand(IDC_PHONE_RING, [this] { OnAlertStatusRinger(); });
    m_commands.onCommand(IDC_PHONE_VIBRATE, [this] { OnAlertStatusVibrate(); });
    m_commands.onCommand(IDC_PHONE_DISPLAY, [this] { OnAlertStatusDisplay(); });
    m_commands.onCommand(IDC_PHONE_RINGER_NORMAL, [this] { OnRingerNormal(); });
    m_commands.onCommand(IDC_PHONE_RINGER_MUTE, [this] { OnRingerMute(); });
    m_commands.onCommand(IDC_PHONE_ADD, [this] { OnAddAlert(); });
    m_commands.onCommand(ID_PHONE_TOGGLE_READ, [this] { OnToggleAlertRead(); });
    m_commands.onCommand(ID_PHONE_DELETE_RECORDS, [this] { OnDeleteAlerts(); });

    // The specific entries come before the ranges that hold them.
    const auto statusCheck = [this](bool PhoneServerState::*flag) {
        return [this, flag](platform::CmdUI& ui) {
            ui.Enable(m_phone.alertStatusOn || m_phone.ringerSettingOn);
            ui.SetCheck(m_phone.*flag ? 1 : 0);
        };
    };
    m_commands.onUpdate(IDC_PHONE_RING, statusCheck(&PhoneServerState::ringerActive));
    m_commands.onUpdate(IDC_PHONE_VIBRATE, statusCheck(&PhoneServerState::vibrate));
    m_commands.onUpdate(IDC_PHONE_DISPLAY, statusCheck(&PhoneServerState::display));
    m_commands.onUpdate(IDC_PHONE_RINGER_NORMAL, [this](platform::CmdUI& ui) {
        ui.Enable(m_phone.ringerSettingOn);
        ui.SetCheck(m_phone.silent ? 0 : 1);
    });
    m_commands.onUpdate(IDC_PHONE_RINGER_MUTE, [this](platform::CmdUI& ui) {
        ui.Enable(m_phone.ringerSettingOn);
        ui.SetCheck(m_phone.silent ? 1 : 0);
    });
    m_commands.onUpdateRange(IDC_PHONE_RING, IDC_PHONE_STATUS_GROUP, [this](platform::CmdUI& ui) {
        ui.Enable(m_phone.alertStatusOn || m_phone.ringerSettingOn);
    });
    m_commands.onUpdateRange(IDC_PHONE_CATEGORY, IDC_PHONE_NOTIFICATIONS_GROUP, [this](platform::CmdUI& ui) {
        ui.Enable(m_phone.newAlertOn || m_phone.unreadStatusOn);
    });
}

// ---- The window ------------------------------------------------------------------------------------

void CMainFrame::OpenPhoneWindow() {
    if (m_pPhone)
        return;
    m_pPhone = new CPhoneCtrl();
    m_pPhone->Create(m_mdiArea, &m_router, &m_commands);
    ShowServerWindow(m_pPhone, BleDeviceRecord::kRolePhoneAlerts);
    RestorePhoneWindow(true);
}

void CMainFrame::ReopenPhoneWindow(const BleDeviceRecord& peer) {
    if (!(peer.roles & BleDeviceRecord::kRolePhoneAlerts))
        return;
    const bool created = !m_pPhone;
    if (created) {
        m_pPhone = new CPhoneCtrl();
        m_pPhone->Create(m_mdiArea, &m_router, &m_commands);
    }
    ShowServerWindow(m_pPhone, BleDeviceRecord::kRolePhoneAlerts);
    RestorePhoneWindow(created);
}

void CMainFrame::SavePhoneRecords() {
    const BleDeviceRecord* peer = ConnectedRecord();
    if (peer && peer->connected && (peer->roles & BleDeviceRecord::kRolePhoneAlerts) && m_pPhone)
        m_pPhone->GetRecords(&m_savedPhoneRecords);
}

// The server state lives on while the window is closed and opened again within one connection.
void CMainFrame::RestorePhoneWindow(bool created) {
    if (!m_pPhone)
        return;
    if (m_phone.newAlertOn || m_phone.unreadStatusOn)
        m_pPhone->ResetAlertStatusIcons();
    if (m_phone.alertStatusOn || m_phone.ringerSettingOn)
        m_pPhone->ResetRingerIcons();
    if (!m_timers.isRunning(TIMER_BLINK))
        m_timers.setTimer(TIMER_BLINK, kBlinkPeriodMs);
    ShowAlertStatusPictures();
    if (created)
        m_pPhone->LoadRecords(m_savedPhoneRecords);
}

void CMainFrame::ShowAlertStatusPictures() {
    m_pPhone->ShowControl(IDC_PHONE_RING_PICTURE, m_phone.ringerActive);
    m_pPhone->ShowControl(IDC_PHONE_VIBRATE_PICTURE, m_phone.vibrate);
    m_pPhone->ShowControl(IDC_PHONE_DISPLAY_PICTURE, m_phone.display);
}

void CMainFrame::OnBlinkTimer() {
    ++m_nBlinkCount;
    if (m_pSecurityTag) {
        OnSecurityTagBlink();
        return;
    }
    if (!m_pPhone)
        return;
    const bool shown = m_nBlinkCount % 2 != 0;
    if (m_phone.ringerActive)
        m_pPhone->ShowControl(IDC_PHONE_RING_PICTURE, shown);
    if (m_phone.vibrate)
        m_pPhone->ShowControl(IDC_PHONE_VIBRATE_PICTURE, shown);
    if (m_phone.display)
        m_pPhone->ShowControl(IDC_PHONE_DISPLAY_PICTURE, shown);
}

// ---- The peer's writes -------------------------------------------------------------------------------

bool CMainFrame::OnPhoneServerWrite(uint16_t handle, std::span<const uint8_t> value, int32_t* result) {
    const LocalServerHandles& h = m_serverHandles;
    if (handle == h.newAlertConfig || handle == h.unreadAlertStatusConfig || handle == h.alertStatusConfig ||
        handle == h.ringerSettingConfig) {
        if (value.size() != 2 || value[1] != 0 || value[0] > kNotificationsOn)
            return false;
        const bool on = value[0] == kNotificationsOn;
        bool& flag = handle == h.newAlertConfig            ? m_phone.newAlertOn
                     : handle == h.unreadAlertStatusConfig ? m_phone.unreadStatusOn
                     : handle == h.alertStatusConfig       ? m_phone.alertStatusOn
                                                           : m_phone.ringerSettingOn;
        flag = on;
        if (on && (handle == h.newAlertConfig || handle == h.unreadAlertStatusConfig)) {
            m_pPhone->ResetAlertStatusIcons();
        } else if (on) {
            for (const UINT picture :
                 {IDC_PHONE_RING_PICTURE, IDC_PHONE_VIBRATE_PICTURE, IDC_PHONE_DISPLAY_PICTURE})
                m_pPhone->ShowControl(picture, false);
            m_pPhone->ResetRingerIcons();
        }
        return true;
    }
    if (handle == h.ringerControlPoint) {
        if (value.empty())
            return false;
        switch (value[0]) {
        case RingerControl::SetSilentMode:
            OnRingerControlPoint(true);
            break;
        case RingerControl::CancelSilentMode:
            OnRingerControlPoint(false);
            break;
        case RingerControl::MuteOnce:
            if (m_phone.ringerActive) {
                m_phone.ringerActive = false;
                m_pPhone->ShowControl(IDC_PHONE_RING_PICTURE, false);
                SendAlertStatus();
            }
            break;
        default:
            *result = kAttInvalidHandle;
        }
        return true;
    }
    if (handle != h.alertControlPoint)
        return false;
    const auto request = DecodeAlertControlPoint(value);
    if (!request)
        return false;
    if (const uint8_t refusal = CheckAlertControlPoint(*request)) {
        *result = refusal;
        return true;
    }
    switch (request->command) {
    case AlertControl::EnableNewAlerts:
    case AlertControl::DisableNewAlerts:
        m_phone.newAlertMask = WithCategory(m_phone.newAlertMask, request->category,
                                            request->command == AlertControl::EnableNewAlerts);
        break;
    case AlertControl::EnableUnreadStatus:
    case AlertControl::DisableUnreadStatus:
        m_phone.unreadStatusMask = WithCategory(m_phone.unreadStatusMask, request->category,
                                                request->command == AlertControl::EnableUnreadStatus);
        break;
    case AlertControl::NotifyNewAlertsNow:
        for (const uint8_t category : RequestedCategories(request->category))
            SendNewAlertCount(category);
        break;
    default: // AlertControl::NotifyUnreadStatusNow
        for (const uint8_t category : RequestedCategories(request->category))
            SendUnreadAlertStatus(category);
    }
    return true;
}

// ---- Commands ----------------------------------------------------------------------------------------

void CMainFrame::OnAlertStatusCheck(bool PhoneServerState::*flag, UINT picture) {
    m_phone.*flag = !(m_phone.*flag);
    if (!(m_phone.*flag) && m_pPhone)
        m_pPhone->ShowControl(picture, false);
    SendAlertStatus();
}

void CMainFrame::OnAlertStatusRinger() {
    OnAlertStatusCheck(&PhoneServerState::ringerActive, IDC_PHONE_RING_PICTURE);
}

void CMainFrame::OnAlertStatusVibrate() {
    OnAlertStatusCheck(&PhoneServerState::vibrate, IDC_PHONE_VIBRATE_PICTURE);
}

void CMainFrame::OnAlertStatusDisplay() {
    OnAlertStatusCheck(&PhoneServerState::display, IDC_PHONE_DISPLAY_PICTURE);
}

void CMainFrame::OnRingerNormal() {
    OnRingerControlPoint(false);
}

void CMainFrame::OnRingerMute() {
    OnRingerControlPoint(true);
}

void CMainFrame::OnRingerControlPoint(bool silent) {
    if (silent)
        m_phone.SetSilentMode();
    else
        m_phone.SetNormalMode();
    if (m_pPhone) {
        m_pPhone->ShowControl(IDC_PHONE_RING_PICTURE, m_phone.ringerActive);
        m_pPhone->ShowControl(IDC_PHONE_VIBRATE_PICTURE, m_phone.vibrate);
    }
    SendRingerSetting();
    SendAlertStatus();
}

void CMainFrame::OnAddAlert() {
    if (!m_pPhone)
        return;
    uint8_t category = 0;
    QString text;
    m_pPhone->AddNotification(&category, &text);
    const BleDeviceRecord* peer = ConnectedRecord();
    if (!peer || !peer->connected)
        return;
    SendNewAlert(category, text);
    SendNewAlertCount(category);
    SendUnreadAlertStatus(category);
}

void CMainFrame::OnToggleAlertRead() {
    if (!m_pPhone)
        return;
    std::map<uint8_t, uint8_t> before;
    m_pPhone->GetUnreadCounts(m_phone.unreadStatusMask, &before);
    m_pPhone->ToggleSelectedRead();
    SendUnreadAlertChanges(before);
}

void CMainFrame::OnDeleteAlerts() {
    if (!m_pPhone)
        return;
    std::map<uint8_t, uint8_t> before;
    m_pPhone->GetUnreadCounts(m_phone.unreadStatusMask, &before);
    m_pPhone->DeleteSelected();
    SendUnreadAlertChanges(before);
}

// ---- Senders -----------------------------------------------------------------------------------------

void CMainFrame::SendNewAlert(uint8_t category, const QString& text) {
    if (m_phone.newAlertOn && HasCategory(m_phone.newAlertMask, category))
        SendServerNotification(m_serverHandles.newAlert, EncodeNewAlert(category, text));
}

void CMainFrame::SendNewAlertCount(uint8_t category) {
    if (!m_phone.newAlertOn || !HasCategory(m_phone.newAlertMask, category))
        return;
    const uint8_t value[] = {category, 0};
    SendServerNotification(m_serverHandles.newAlert, value);
}

void CMainFrame::SendUnreadAlertStatus(uint8_t category) {
    if (!m_pPhone || !m_phone.unreadStatusOn || !HasCategory(m_phone.unreadStatusMask, category))
        return;
    std::map<uint8_t, uint8_t> counts;
    m_pPhone->GetUnreadCounts(m_phone.unreadStatusMask, &counts);
    const uint8_t value[] = {category, counts[category]};
    SendServerNotification(m_serverHandles.unreadAlertStatus, value);
}

void CMainFrame::SendUnreadAlertChanges(const std::map<uint8_t, uint8_t>& before) {
    if (!m_pPhone || !m_phone.unreadStatusOn || m_phone.unreadStatusMask == 0)
        return;
    std::map<uint8_t, uint8_t> now;
    m_pPhone->GetUnreadCounts(m_phone.unreadStatusMask, &now);
    for (const auto& [category, count] : ChangedUnreadCounts(before, now)) {
        const uint8_t value[] = {category, count};
        SendServerNotification(m_serverHandles.unreadAlertStatus, value);
    }
}

void CMainFrame::SendAlertStatus() {
    if (!m_phone.alertStatusOn)
        return;
    const uint8_t value[] = {m_phone.AlertStatus()};
    SendServerNotification(m_serverHandles.alertStatus, value);
}

void CMainFrame::SendRingerSetting() {
    if (!m_phone.ringerSettingOn)
        return;
    const uint8_t value[] = {m_phone.RingerSetting()};
    SendServerNotification(m_serverHandles.ringerSetting, value);
}
