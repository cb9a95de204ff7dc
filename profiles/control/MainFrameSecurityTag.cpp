// The main window's part of the security tag: its handles, its window's opening, the signal-strength
// poll and zones, the routing of its values and results, and the pane's commands.
#include "mainframe/CMainFrame.h"

#include "app/BleHostApi.h"
#include "gatt/SecurityTag.h"
#include "gatt/Uuids.h"
#include "platform/SoundPlayer.h"
#include "platform/ui/CmdUI.h"
#include "profiles/control/CSecurityTagCtrl.h"
#include "profiles/control/SecurityTagIds.h"
#include "res/resource.h"

namespace {
namespace Chr = CharacteristicUuid;

// Keys of the value-handle table for the two Alert Levels, which share one characteristic UUID.
constexpr uint16_t kLinkLossLevel = 0xB1E0;
constexpr uint16_t kImmediateAlertLevel = 0xB1E1;

constexpr UINT kBlinkPeriodMs = 500;
constexpr int kLastBlinkTick = 16; // hides the picture and ends the alert

} // namespace

void CMainFrame::MapSecurityTagCommands() {
    m_commands.onCommand(ID_TAG_SET_LEVEL, [this] { OnSetImmediateAlertLevel(); });
    m_commands.onCommand(ID_TAG_LINK_LOSS_ALERT, [this] { OnLinkLossAlert(); });
    m_commands.onCommand(ID_TAG_PLAY_SOUND, [this] { OnPlaySound(); });
    m_commands.onUpdate(ID_TAG_SET_LEVEL,
                        [this](platform::CmdUI& ui) { ui.Enable(ValueHandle(kImmediateAlertLevel) != 0); });
    m_commands.onUpdate(ID_TAG_LINK_LOSS_ALERT,
                        [this](platform::CmdUI& ui) { ui.Enable(!IsLinkLossWriteBusy()); });
    // The specific entry comes before the range that holds it.
    m_commands.onUpdate(ID_TAG_PLAY_SOUND, [this](platform::CmdUI& ui) {
        ui.Enable(m_bServerReady);
        ui.SetCheck(m_bPlaySound ? 1 : 0);
    });
    m_commands.onUpdateRange(IDC_TAG_LOCAL_GROUP, IDC_TAG_ALERT_LEVEL,
                             [this](platform::CmdUI& ui) { ui.Enable(m_bServerReady); });
}

bool CMainFrame::FindSecurityTagHandles(BleDeviceRecord& /*peer*/, const BleServiceEntry& service) {
    const std::pair<uint16_t, uint16_t> rows[] = {{ServiceUuid::ImmediateAlert, kImmediateAlertLevel},
                                                  {ServiceUuid::LinkLoss, kLinkLossLevel},
                                                  {ServiceUuid::TxPower, Chr::TxPowerLevel}};
    for (const auto& [uuid, key] : rows) {
        if (!IsService16(service, uuid))
            continue;
        const uint16_t characteristic = uuid == ServiceUuid::TxPower ? Chr::TxPowerLevel : Chr::AlertLevel;
        m_valueHandles[key] = BleDeviceRecord::GetHandle16(service, characteristic, false);
        return true;
    }
    return false;
}

void CMainFrame::OpenSecurityTagWindow(BleDeviceRecord& peer) {
    if (m_pSecurityTag || ValueHandle(kLinkLossLevel) == 0)
        return;
    m_pSecurityTag = new CSecurityTagCtrl();
    m_pSecurityTag->Create(m_mdiArea, &m_router, &m_commands);
    peer.roles |= BleDeviceRecord::kRoleSecurityTag;
    m_nZone = 0;
    m_lastShownRssi.reset();
    m_timers.setTimer(TIMER_RSSI, RssiPollPeriodMs(peer.connectionParameters));
    QueueRead(peer.cid, ValueHandle(kLinkLossLevel));
    QueueRead(peer.cid, ValueHandle(Chr::TxPowerLevel));
}

void CMainFrame::RearmRssiPoll() {
    const BleDeviceRecord* peer = ConnectedRecord();
    if (peer && m_timers.killTimer(TIMER_RSSI))
        m_timers.setTimer(TIMER_RSSI, RssiPollPeriodMs(peer->connectionParameters));
}

void CMainFrame::OnRssiTimer() {
    if (const BleDeviceRecord* peer = ConnectedRecord())
        bleHost().OrvBleHostGetRssi(peer->address);
}

void CMainFrame::OnRssiRead(int8_t rssi) {
    const int value = m_rssiRing.AverageRssi(rssi) + m_nRssiCorrection;
    if (!m_pSecurityTag)
        return;
    if (value != m_lastShownRssi) {
        m_pSecurityTag->ShowRssi(value);
        m_lastShownRssi = value;
    }
    const BleDeviceRecord* peer = ConnectedRecord();
    const uint16_t alertLevel = ValueHandle(kImmediateAlertLevel);
    if (!peer || alertLevel == 0)
        return;
    const uint8_t zone = RssiZone(value, m_pSecurityTag->GetThreshold(IDC_TAG_LOW_THRESHOLD),
                                  m_pSecurityTag->GetThreshold(IDC_TAG_HIGH_THRESHOLD));
    if (zone == m_nZone)
        return;
    m_nZone = zone;
    WriteCharacteristic(peer->cid, alertLevel, 1, &zone, GattWriteRequest::kWriteCommand);
}

void CMainFrame::OnAlertConfigurationRead(uint32_t cid, uint16_t field, uint16_t length,
                                          const uint8_t* data) {
    const BleDeviceRecord* peer = ConnectedRecord();
    if (!peer || peer->cid != cid || field != 0 || length != 2 || !data || !m_pSecurityTag)
        return;
    m_pSecurityTag->SetLinkLossAlert(data[0] != 0);
    m_nRssiCorrection = TxPowerCorrection(data[1]);
}

bool CMainFrame::OnSecurityTagRead(uint16_t handle, std::span<const uint8_t> value) {
    if (!m_pSecurityTag)
        return false;
    if (handle == ValueHandle(kLinkLossLevel)) {
        if (!value.empty())
            m_pSecurityTag->SetLinkLossAlert(value[0] != 0);
        return true;
    }
    if (handle == ValueHandle(Chr::TxPowerLevel)) {
        if (!value.empty())
            m_nRssiCorrection = TxPowerCorrection(value[0]);
        return true;
    }
    return false;
}

// The link-loss write is recognised by the handle written: the handle tables may have been emptied since.
bool CMainFrame::OnSecurityTagWritten(uint16_t handle, uint16_t /*status*/) {
    if (!IsLinkLossWriteBusy() || handle != m_nLinkLossHandle)
        return false;
    ClearSecurityTagPending();
    return true;
}

void CMainFrame::ClearSecurityTagPending() {
    m_nLinkLossHandle = 0;
}

void CMainFrame::ResetSignalStrength() {
    m_rssiRing.Reset();
    m_nRssiCorrection = 0;
    m_lastShownRssi.reset();
}

void CMainFrame::OnSetImmediateAlertLevel() {
    const BleDeviceRecord* peer = ConnectedRecord();
    const uint16_t alertLevel = ValueHandle(kImmediateAlertLevel);
    if (!m_pSecurityTag || !peer || !peer->connected || alertLevel == 0)
        return;
    const uint8_t level = m_pSecurityTag->SelectedAlertLevel();
    WriteCharacteristic(peer->cid, alertLevel, 1, &level, GattWriteRequest::kWriteCommand);
}

void CMainFrame::OnLinkLossAlert() {
    const BleDeviceRecord* peer = ConnectedRecord();
    const uint16_t alertLevel = ValueHandle(kLinkLossLevel);
    if (!m_pSecurityTag || !peer || !peer->connected || alertLevel == 0)
        return;
    const uint8_t level =
        m_pSecurityTag->IsLinkLossAlertChecked() ? AlertLevel::HighAlert : AlertLevel::NoAlert;
    WriteCharacteristic(peer->cid, alertLevel, 1, &level, GattWriteRequest::kWriteRequest);
    m_nLinkLossHandle = alertLevel;
}

void CMainFrame::OnPlaySound() {
    m_bPlaySound = !m_bPlaySound;
    if (!m_bPlaySound)
        platform::soundPlayer().stop();
}

// ---- The PC's own Immediate Alert ------------------------------------------------------------------

void CMainFrame::OnLocalAlert(uint8_t level) {
    m_pSecurityTag->ShowAlertLevel(level);
    m_nBlinkCount = 0;
    if (level == AlertLevel::NoAlert) {
        if (m_bPlaySound)
            platform::soundPlayer().stop();
        m_timers.killTimer(TIMER_BLINK);
        m_pSecurityTag->ShowAlertIcon(false);
        return;
    }
    if (m_bPlaySound)
        platform::soundPlayer().play(IDR_WAVE_ALERT);
    m_timers.setTimer(TIMER_BLINK, kBlinkPeriodMs);
}

void CMainFrame::OnSecurityTagBlink() {
    if (m_nBlinkCount < kLastBlinkTick) {
        m_pSecurityTag->ShowAlertIcon(m_nBlinkCount % 2 != 0);
        return;
    }
    m_pSecurityTag->ShowAlertIcon(false);
    m_pSecurityTag->ShowAlertLevel(AlertLevel::NoAlert);
    m_nBlinkCount = 0;
    m_timers.killTimer(TIMER_BLINK);
}
