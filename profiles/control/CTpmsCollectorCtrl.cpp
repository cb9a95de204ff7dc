#include "profiles/control/CTpmsCollectorCtrl.h"

#include "app/BleHostApi.h"
#include "app/COrvBleDemoApp.h"
#include "app/CRegistrySettings.h"
#include "gatt/BleDeviceRecord.h"
#include "gatt/ByteReader.h"
#include "gatt/GattWriteRequest.h"
#include "gatt/TyrePressure.h"
#include "gatt/UuidFunctions.h"
#include "gatt/Uuids.h"
#include "mainframe/CMainFrame.h"
#include "platform/DebugOutput.h"
#include "platform/DialogItems.h"
#include "platform/Prompter.h"
#include "platform/StringTable.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Icons.h"
#include "profiles/base/ProfileLog.h"
#include "profiles/control/TpmsIds.h"
#include "res/resource.h"
#include "ui_TpmsPane.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <algorithm>

namespace {

[[maybe_unused]] const bool kPaneRegistered = CProfileCtrlView::RegisterTemplate(IDD_TPMS, [](QWidget* pane) {
    Ui::TpmsPane form;
    form.setupUi(pane);
});

namespace Vendor = VendorUuid;

constexpr uint8_t kNotifications = 1;
constexpr uint8_t kRemovePairing = 0x01;
constexpr DWORD kReadWrite = 0x2001F;
constexpr int kPictureSize = 24;
constexpr double kMaxOffset = 20.0;
constexpr double kMaxRelativeLowThreshold = 100.0;
constexpr double kMaxRelativeBlowOut = 10.0;
const QString kSettingsKey = QStringLiteral("Settings");
const QString kThresholdValue = QStringLiteral("Threshold Pressure");

QPixmap Picture(UINT iconId) {
    return CProfileCtrlView::IconToBitmap(platform::loadIcon(iconId), kPictureSize, kPictureSize);
}

// The two number forms of the window: "%3.1lf" and "%2.1lf", in the C locale.
QString Format31(double value) {
    return QString::asprintf("%3.1lf", value);
}

QString Format21(double value) {
    return QString::asprintf("%2.1lf", value);
}

// A range message of the string table: its two "%3.1lf" filled in.
QString RangeMessage(UINT id, double low, double high) {
    return QString::asprintf(qPrintable(platform::LoadString(id)), low, high);
}

} // namespace

CTpmsCollectorCtrl::CTpmsCollectorCtrl(QWidget* parent)
    : CChildFrame(parent), m_wndView(*this), m_timers([this](UINT id) { OnTimer(id); }) {}

// The application may end before a closed window is deleted: the threshold is saved when the window
// closes, and again (the same value) when the user's close deletes it at once.
CTpmsCollectorCtrl::~CTpmsCollectorCtrl() {
    OnDestroy();
}

void CTpmsCollectorCtrl::DestroyWindow() {
    OnDestroy();
    CChildFrame::DestroyWindow();
}

void CTpmsCollectorCtrl::OnDestroy() {
    m_timers.killTimer(TIMER_TPMS_LOW_PRESSURE);
    m_timers.killTimer(TIMER_TPMS_BLOW_OUT);
    if (m_loaded)
        SaveThreshold();
}

void CTpmsCollectorCtrl::OnCreate() {
    m_wndView.Create(IDD_TPMS, PaneParent());
    setWindowTitle(platform::LoadString(IDS_TPMS_TITLE));
    m_alarm = qobject_cast<QLabel*>(platform::GetDlgItem(this, IDC_TPMS_ALARM_PICTURE));
    // Pictures that blink or hide keep their place.
    for (const UINT id :
         {IDC_TPMS_ALARM_PICTURE, IDC_TPMS_SPARE_PICTURE, IDC_TPMS_THRESHOLD_WARNING_PICTURE}) {
        if (QWidget* picture = platform::GetDlgItem(this, id)) {
            QSizePolicy policy = picture->sizePolicy();
            policy.setRetainSizeWhenHidden(true);
            picture->setSizePolicy(policy);
            picture->hide();
        }
    }
    if (auto* absolute = qobject_cast<QAbstractButton*>(platform::GetDlgItem(this, IDC_TPMS_SHOW_ABSOLUTE)))
        absolute->setChecked(true);

    platform::CommandTarget* target = GetCommandTarget();
    target->onCommand(ID_TPMS_UPDATE, [this] { OnUpdate(); });
    target->onCommand(ID_TPMS_REMOVE_PAIRING, [this] { OnRemovePairing(); });
    target->onUpdate(ID_TPMS_REMOVE_PAIRING,
                     [this](platform::CmdUI& ui) { ui.Enable(m_removePairingEnabled); });
    target->onCommand(IDC_TPMS_LOW_THRESHOLD, [this] { m_wndView.OnKillFocusLowThreshold(); });
    target->onCommand(IDC_TPMS_OFFSET, [this] { m_wndView.OnKillFocusOffset(); });
    target->onUpdate(IDC_TPMS_OFFSET,
                     [this](platform::CmdUI& ui) { ui.Enable(m_mode == DisplayMode::Relative); });
    target->onCommand(IDC_TPMS_BLOW_OUT_THRESHOLD, [this] { m_wndView.OnKillFocusBlowOutThreshold(); });
    BindCommandButton(ID_TPMS_UPDATE);
    BindCommandButton(ID_TPMS_REMOVE_PAIRING);
    for (const UINT id : {IDC_TPMS_LOW_THRESHOLD, IDC_TPMS_OFFSET, IDC_TPMS_BLOW_OUT_THRESHOLD})
        BindCommandControl(id);
    if (QWidget* offset = platform::GetDlgItem(this, IDC_TPMS_OFFSET))
        offset->setEnabled(false);
    InitScrollMetrics(&m_wndView);
}

void CTpmsCollectorCtrl::InitProfile(const BleDeviceRecord& device) {
    m_cid = device.cid;
    m_address = device.address;
    if (!m_loaded)
        LoadThreshold();
    SetText(IDC_TPMS_LOW_THRESHOLD, Format31(m_lowThreshold - Shown()));

    m_valueHandles.clear();
    m_configHandles.clear();
    // The opening emptied the request queues: no earlier write keeps a progress window open.
    m_pendingWrites.clear();
    BleServiceEntry sensor;
    if (device.FindService(MakeVendorUuid(Vendor::TemperaturePressureService), sensor)) {
        for (const uint16_t number :
             {Vendor::PressureMeasurement, Vendor::BlowOutPressure, Vendor::Discoverability,
              Vendor::WheelPosition, Vendor::TemperatureMeasurement})
            m_valueHandles[number] = BleDeviceRecord::GetServiceHandle(false, sensor, MakeVendorUuid(number));
        for (const uint16_t number : {Vendor::PressureMeasurement, Vendor::TemperatureMeasurement})
            m_configHandles[number] = BleDeviceRecord::GetServiceHandle(true, sensor, MakeVendorUuid(number));
    }
    BleServiceEntry pairing;
    const bool pairingService = device.FindService(MakeVendorUuid(Vendor::PairingDeletionService), pairing);
    if (pairingService)
        m_valueHandles[Vendor::PairingRemoval] =
            BleDeviceRecord::GetServiceHandle(false, pairing, MakeVendorUuid(Vendor::PairingRemoval));

    if (CMainFrame* mainFrame = AfxGetMainWnd()) {
        for (const uint16_t number :
             {Vendor::BlowOutPressure, Vendor::PressureMeasurement, Vendor::WheelPosition,
              Vendor::Discoverability, Vendor::TemperatureMeasurement})
            mainFrame->QueueRead(m_cid, Handle(number));
        for (const uint16_t number : {Vendor::PressureMeasurement, Vendor::TemperatureMeasurement}) {
            const uint16_t configuration = m_configHandles[number];
            if (Handle(number) == 0 || configuration == 0)
                continue;
            if (number == Vendor::PressureMeasurement)
                platform::OutputDebugString(QStringLiteral("Enabling notification for pressure"));
            mainFrame->WriteClientConfiguration(m_cid, Handle(number), configuration, kNotifications);
        }
    }

    if (QWidget* removePairing = platform::GetDlgItem(this, ID_TPMS_REMOVE_PAIRING))
        removePairing->setVisible(pairingService);
    m_removePairingEnabled = pairingService && device.paired;
    SetText(IDC_TPMS_OFFSET, Format21(m_offset));
    if (m_mode == DisplayMode::Absolute)
        if (auto* absolute =
                qobject_cast<QAbstractButton*>(platform::GetDlgItem(this, IDC_TPMS_SHOW_ABSOLUTE)))
            absolute->setChecked(true);
    if (QWidget* warning = platform::GetDlgItem(this, IDC_TPMS_THRESHOLD_WARNING_PICTURE))
        warning->hide();
    if (!m_loaded)
        LoadAlarmPictures();
    m_loaded = true;
    update();
}

void CTpmsCollectorCtrl::LoadThreshold() {
    CRegistrySettings* settings = CRegistrySettings::Instance();
    QString stored;
    if (!settings || settings->Open(kSettingsKey, 0, kReadWrite) != ERROR_SUCCESS ||
        settings->QueryString(kThresholdValue, &stored) != ERROR_SUCCESS)
        return;
    if (const auto threshold = ParseDecimal(stored)) {
        m_lowThreshold = *threshold;
        return;
    }
    Log(QStringLiteral("The stored threshold pressure \"%1\" is not a number; %2 psi is used.")
            .arg(stored, Format31(m_lowThreshold)));
}

void CTpmsCollectorCtrl::SaveThreshold() const {
    CRegistrySettings* settings = CRegistrySettings::Instance();
    if (!settings || settings->Open(kSettingsKey, 1, kReadWrite) != ERROR_SUCCESS)
        return;
    settings->SetString(kThresholdValue, Format31(m_lowThreshold));
}

void CTpmsCollectorCtrl::LoadAlarmPictures() {
    m_normalPicture = Picture(IDI_PRESSURE);
    m_temperaturePicture = Picture(IDI_TPMS_TEMPERATURE);
    m_lowPressurePicture = Picture(IDI_TPMS_LOW_PRESSURE);
    m_positionPicture = Picture(IDI_TPMS_POSITION);
    m_blowOutPicture = Picture(IDI_TPMS_BLOW_OUT);
    m_warningPicture = Picture(IDI_TPMS_WARNING);
    const std::pair<UINT, const QPixmap*> pictures[] = {
        {IDC_TPMS_ALARM_PICTURE, &m_normalPicture},
        {IDC_TPMS_TEMPERATURE_PICTURE, &m_temperaturePicture},
        {IDC_TPMS_BLOW_OUT_PICTURE, &m_blowOutPicture},
        {IDC_TPMS_BLOW_OUT_THRESHOLD_PICTURE, &m_blowOutPicture},
        {IDC_TPMS_POSITION_PICTURE, &m_positionPicture},
        {IDC_TPMS_POSITION_LIST_PICTURE, &m_positionPicture},
        {IDC_TPMS_LOW_THRESHOLD_PICTURE, &m_lowPressurePicture},
        {IDC_TPMS_THRESHOLD_WARNING_PICTURE, &m_warningPicture},
    };
    for (const auto& [id, picture] : pictures)
        if (auto* label = qobject_cast<QLabel*>(platform::GetDlgItem(this, id)))
            label->setPixmap(*picture);
}

void CTpmsCollectorCtrl::OnValueReceived(uint16_t handle, std::span<const uint8_t> value) {
    if (handle == 0)
        return;
    if (handle == Handle(Vendor::PressureMeasurement)) {
        ShowPressure(value);
    } else if (handle == Handle(Vendor::BlowOutPressure)) {
        const auto kpa = ByteReader(value).u16();
        if (kpa)
            ShowBlowOutPressure(BlowOutPsi(*kpa, m_offset));
        else
            Log(QStringLiteral("Blow-out pressure value of %1 bytes is too short; ignored.")
                    .arg(value.size()));
    } else if (handle == Handle(Vendor::WheelPosition)) {
        if (!value.empty())
            ShowPosition(value[0]);
    } else if (handle == Handle(Vendor::TemperatureMeasurement)) {
        ShowTemperature(value);
    }
}

void CTpmsCollectorCtrl::ShowPressure(std::span<const uint8_t> value) {
    const auto kpa = ByteReader(value).u16();
    if (!kpa) {
        Log(QStringLiteral("Pressure value of %1 bytes is too short; ignored.").arg(value.size()));
        return;
    }
    LogProfileLine(QString::asprintf("Pressure received in kPA = %d\n", *kpa));
    const double psi = *kpa / kKpaPerPsi;
    Log(QString::asprintf("Pressure in psi = %3.1lf\n", psi));
    m_pressureReceived = true;
    m_pressure = RoundToDecimals(psi, 1);
    SetText(IDC_TPMS_PRESSURE, Format31(m_pressure - Shown()));
    UpdateAlarm();
}

void CTpmsCollectorCtrl::ShowTemperature(std::span<const uint8_t> value) {
    const auto byte = ByteReader(value).u8();
    if (!byte)
        return;
    const int celsius = static_cast<int8_t>(*byte);
    SetText(IDC_TPMS_TEMPERATURE, QString::number(celsius));
    platform::OutputDebugString(QString::asprintf("Temperature = %d\n", celsius));
}

void CTpmsCollectorCtrl::ShowBlowOutPressure(double psi) {
    m_blowOut = psi;
    m_blowOutThreshold = psi;
    SetText(IDC_TPMS_BLOW_OUT, Format21(psi - Shown()));
    SetText(IDC_TPMS_BLOW_OUT_THRESHOLD, Format21(psi - Shown()));
    UpdateAlarm();
}

void CTpmsCollectorCtrl::ShowPosition(uint8_t position) {
    m_position = position;
    m_selectedPosition = position;
    const QString name = WheelPositionName(position);
    if (auto* list = qobject_cast<QComboBox*>(platform::GetDlgItem(this, IDC_TPMS_POSITION_LIST)))
        list->setCurrentIndex(list->findText(name, Qt::MatchStartsWith));
    SetText(IDC_TPMS_POSITION, name);
}

void CTpmsCollectorCtrl::UpdateAlarm() {
    m_timers.killTimer(TIMER_TPMS_LOW_PRESSURE);
    m_timers.killTimer(TIMER_TPMS_BLOW_OUT);
    if (!m_alarm)
        return;
    m_alarm->setPixmap(m_normalPicture);
    m_alarm->show();
    if (m_pressureReceived && m_blowOut >= m_pressure) {
        m_alarm->setPixmap(m_blowOutPicture);
        m_timers.setTimer(TIMER_TPMS_BLOW_OUT, kBlinkPeriodMs);
    } else if (m_pressureReceived && m_lowThreshold >= m_pressure) {
        m_alarm->setPixmap(m_lowPressurePicture);
        m_timers.setTimer(TIMER_TPMS_LOW_PRESSURE, kBlinkPeriodMs);
    }
}

void CTpmsCollectorCtrl::OnTimer(UINT id) {
    if ((id == TIMER_TPMS_LOW_PRESSURE || id == TIMER_TPMS_BLOW_OUT) && m_alarm)
        m_alarm->setVisible(!m_alarm->isVisible());
}

uint16_t CTpmsCollectorCtrl::PsiToKpa() {
    const BlowOutSetting setting = ::PsiToKpa(m_blowOutThreshold, m_offset);
    m_blowOutThreshold = setting.psi;
    return setting.kpa;
}

void CTpmsCollectorCtrl::OnUpdate() {
    bool queued = false;
    const uint16_t threshold = Handle(Vendor::BlowOutPressure);
    if (threshold != 0 && m_blowOutThreshold != m_blowOut) {
        const uint16_t kpa = PsiToKpa();
        queued = QueueWrite(threshold, {static_cast<uint8_t>(kpa & 0xFF), static_cast<uint8_t>(kpa >> 8)});
    }
    const auto* list = qobject_cast<QComboBox*>(platform::GetDlgItem(this, IDC_TPMS_POSITION_LIST));
    m_selectedPosition = WheelPositionFromName(list ? list->currentText() : QString());
    const uint16_t position = Handle(Vendor::WheelPosition);
    if (m_selectedPosition != m_position && position != 0)
        queued = QueueWrite(position, {m_selectedPosition}) || queued;
    CMainFrame* mainFrame = AfxGetMainWnd();
    if (queued && mainFrame)
        mainFrame->ShowProgress(platform::LoadString(IDS_TPMS_PROGRESS_TITLE),
                                platform::LoadString(IDS_TPMS_UPDATING), true, true);
    if (QWidget* warning = platform::GetDlgItem(this, IDC_TPMS_THRESHOLD_WARNING_PICTURE))
        warning->hide();
}

void CTpmsCollectorCtrl::OnRemovePairing() {
    const uint16_t removal = Handle(Vendor::PairingRemoval);
    if (removal == 0 || !QueueWrite(removal, {kRemovePairing}))
        return;
    if (CMainFrame* mainFrame = AfxGetMainWnd())
        mainFrame->ShowProgress(platform::LoadString(IDS_TPMS_PROGRESS_TITLE),
                                platform::LoadString(IDS_REMOVING_PAIRING), true, true);
}

bool CTpmsCollectorCtrl::QueueWrite(uint16_t handle, std::vector<uint8_t> value) {
    CMainFrame* mainFrame = AfxGetMainWnd();
    if (!mainFrame)
        return false;
    mainFrame->WriteCharacteristic(m_cid, handle, static_cast<uint8_t>(value.size()), value.data(),
                                   GattWriteRequest::kWriteRequest);
    m_pendingWrites.push_back(handle);
    return true;
}

void CTpmsCollectorCtrl::OnWriteResponse(uint16_t handle, uint16_t status) {
    if (handle == 0)
        return;
    if (handle == Handle(Vendor::BlowOutPressure)) {
        // A refused threshold gives way to the one the sensor holds.
        ShowBlowOutPressure(status == 0 ? m_blowOutThreshold : m_blowOut);
        WriteDone(handle);
    } else if (handle == Handle(Vendor::WheelPosition)) {
        ShowPosition(status == 0 ? m_selectedPosition : m_position);
        WriteDone(handle);
    } else if (handle == Handle(Vendor::PairingRemoval)) {
        bleHost().OrvBleHostDebond(m_address);
        WriteDone(handle);
    }
}

void CTpmsCollectorCtrl::WriteDone(uint16_t handle) {
    const auto pending = std::find(m_pendingWrites.begin(), m_pendingWrites.end(), handle);
    if (pending != m_pendingWrites.end())
        m_pendingWrites.erase(pending);
    if (!m_pendingWrites.empty())
        return;
    if (CMainFrame* mainFrame = AfxGetMainWnd())
        mainFrame->HideProgress();
}

void CTpmsCollectorCtrl::SetDisplayMode(DisplayMode mode) {
    m_mode = mode;
    RefreshPressureDisplays();
}

void CTpmsCollectorCtrl::RefreshPressureDisplays() {
    PsiToKpa();
    const double shown = Shown();
    SetText(IDC_TPMS_PRESSURE, Format31(m_pressure - shown));
    SetText(IDC_TPMS_BLOW_OUT, Format21(m_blowOut - shown));
    SetText(IDC_TPMS_LOW_THRESHOLD, Format31(m_lowThreshold - shown));
    SetText(IDC_TPMS_BLOW_OUT_THRESHOLD, Format21(m_blowOutThreshold - shown));
}

void CTpmsCollectorCtrl::OnEditKillFocus(UINT id) {
    IssueCommand(id);
}

void CTpmsCollectorCtrl::OnOffsetKillFocus() {
    if (m_validating)
        return;
    const auto typed = ParseDecimal(Text(IDC_TPMS_OFFSET));
    if (!typed || *typed < 0.0 || *typed > kMaxOffset) {
        // Only a number too large is selected as well.
        PromptAndRestore(IDC_TPMS_OFFSET, platform::LoadString(IDS_TPMS_OFFSET_RANGE), Format21(m_offset),
                         typed && *typed > kMaxOffset);
        return;
    }
    // The relative values stay where they are.
    const double moved = *typed - m_offset;
    m_pressure += moved;
    m_lowThreshold += moved;
    m_blowOut += moved;
    m_blowOutThreshold += moved;
    m_offset = *typed;
    RefreshPressureDisplays();
}

void CTpmsCollectorCtrl::OnLowThresholdKillFocus() {
    if (m_validating)
        return;
    const QString range =
        RangeMessage(IDS_TPMS_LOW_THRESHOLD_RANGE, m_offset, m_offset + kMaxRelativeLowThreshold);
    const auto typed = ParseDecimal(Text(IDC_TPMS_LOW_THRESHOLD));
    if (!typed || *typed < 0.0) {
        ShowValidationError(IDC_TPMS_LOW_THRESHOLD, range, m_lowThreshold);
        return;
    }
    const double relative = m_mode == DisplayMode::Relative ? *typed : *typed - m_offset;
    const double absolute = m_mode == DisplayMode::Relative ? m_offset + *typed : *typed;
    if (relative < 0.0 || relative > kMaxRelativeLowThreshold) {
        ShowValidationError(IDC_TPMS_LOW_THRESHOLD, range, m_lowThreshold);
        return;
    }
    if (relative < m_blowOutThreshold - m_offset) {
        ShowValidationError(IDC_TPMS_LOW_THRESHOLD, platform::LoadString(IDS_TPMS_THRESHOLD_BELOW_BLOW_OUT),
                            m_lowThreshold);
        return;
    }
    m_lowThreshold = absolute;
    UpdateAlarm();
}

void CTpmsCollectorCtrl::OnBlowOutThresholdKillFocus() {
    if (m_validating)
        return;
    const QString range = RangeMessage(IDS_TPMS_BLOW_OUT_RANGE, m_offset, m_offset + kMaxRelativeBlowOut);
    const auto typed = ParseDecimal(Text(IDC_TPMS_BLOW_OUT_THRESHOLD));
    if (!typed || *typed < 0.0) {
        RefuseBlowOutThreshold(range);
        return;
    }
    const double relative = m_mode == DisplayMode::Relative ? *typed : *typed - m_offset;
    const double absolute = m_mode == DisplayMode::Relative ? m_offset + *typed : *typed;
    if (relative > m_lowThreshold - m_offset) {
        RefuseBlowOutThreshold(platform::LoadString(IDS_TPMS_BLOW_OUT_ABOVE_LOW));
        return;
    }
    if (relative < 0.0 || relative > kMaxRelativeBlowOut) {
        RefuseBlowOutThreshold(range);
        return;
    }
    if (absolute == m_blowOutThreshold)
        return;
    m_blowOutThreshold = absolute;
    PsiToKpa();
    SetText(IDC_TPMS_BLOW_OUT_THRESHOLD, Format21(m_blowOutThreshold - Shown()));
}

void CTpmsCollectorCtrl::RefuseBlowOutThreshold(const QString& message) {
    m_blowOutThreshold = m_blowOut;
    ShowValidationError(IDC_TPMS_BLOW_OUT_THRESHOLD, message, m_blowOut);
}

void CTpmsCollectorCtrl::ShowValidationError(UINT editId, const QString& message, double value) {
    PromptAndRestore(editId, message, Format21(value - Shown()), true);
}

void CTpmsCollectorCtrl::PromptAndRestore(UINT editId, const QString& message, const QString& text,
                                          bool select) {
    m_validating = true;
    platform::AfxMessageBox(message, MB_ICONHAND);
    m_validating = false;
    auto* edit = qobject_cast<QLineEdit*>(platform::GetDlgItem(this, editId));
    if (!edit)
        return;
    edit->setText(text);
    // The message box gave the activation away; the edit's window takes it back with the focus.
    edit->activateWindow();
    edit->setFocus();
    if (select)
        edit->selectAll();
}

double CTpmsCollectorCtrl::Shown() const {
    return m_mode == DisplayMode::Relative ? m_offset : 0.0;
}

QString CTpmsCollectorCtrl::Text(UINT id) const {
    return platform::GetDlgItemText(this, id);
}

void CTpmsCollectorCtrl::SetText(UINT id, const QString& text) {
    QWidget* control = platform::GetDlgItem(this, id);
    if (auto* label = qobject_cast<QLabel*>(control))
        m_wndView.ShowText(label, text);
    else if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
}

void CTpmsCollectorCtrl::Log(const QString& text) const {
    if (CMainFrame* mainFrame = AfxGetMainWnd())
        mainFrame->AddLogMessage(text);
}

uint16_t CTpmsCollectorCtrl::Handle(uint16_t vendorNumber) const {
    const auto found = m_valueHandles.find(vendorNumber);
    return found == m_valueHandles.end() ? 0 : found->second;
}
