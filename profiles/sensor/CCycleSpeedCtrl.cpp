#include "profiles/sensor/CCycleSpeedCtrl.h"

#include "app/COrvBleDemoApp.h"
#include "gatt/BleDeviceRecord.h"
#include "gatt/CscMeasurement.h"
#include "gatt/SpeedAndCadence.h"
#include "gatt/Uuids.h"
#include "mainframe/CMainFrame.h"
#include "platform/DialogItems.h"
#include "platform/Prompter.h"
#include "platform/StringTable.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Icons.h"
#include "profiles/sensor/CycleSpeedIds.h"
#include "res/resource.h"
#include "ui_CscPane.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <utility>

namespace {
namespace Chr = CharacteristicUuid;

[[maybe_unused]] const bool kPaneRegistered = CProfileCtrlView::RegisterTemplate(IDD_CSC, [](QWidget* pane) {
    Ui::CscPane form;
    form.setupUi(pane);
});

constexpr int kImageSize = 24;
constexpr UINT kWaitMs = 30000;
constexpr UINT kSpeedPeriodMs = 4000;
constexpr UINT kCadencePeriodMs = 6000;
constexpr uint8_t kNotifications = 1;
constexpr uint8_t kIndications = 2;

QPixmap Image(UINT iconId) {
    return CProfileCtrlView::IconToBitmap(platform::loadIcon(iconId), kImageSize, kImageSize);
}

// "%1.2f" and the unit.
QString Fixed2(float value, const char* unit) {
    return QString::number(static_cast<double>(value), 'f', 2) + QLatin1String(unit);
}

QString LocationName(uint8_t location) {
    return SensorLocationName(location).value_or(QStringLiteral("Other"));
}

} // namespace

CCycleSpeedCtrl::CCycleSpeedCtrl(QWidget* parent)
    : CChildFrame(parent), m_timers([this](UINT id) { OnTimerExpired(id); }) {}

CCycleSpeedCtrl::~CCycleSpeedCtrl() = default;

void CCycleSpeedCtrl::OnCreate() {
    m_wndView.Create(IDD_CSC, PaneParent());
    setWindowTitle(QStringLiteral("Cycle Speed and Cadence"));
    const std::array<std::pair<UINT, UINT>, 7> decorations = {{
        {IDC_CSC_PICTURE_SPEED, IDI_CSC_SPEED},
        {IDC_CSC_PICTURE_CADENCE, IDI_CSC_BICYCLE},
        {IDC_CSC_PICTURE_DISTANCE, IDI_CSC_DISTANCE},
        {IDC_CSC_PICTURE_WHEEL, IDI_CSC_WHEEL},
        {IDC_CSC_PICTURE_LOCATION, IDI_SENSOR_LOCATION},
        {IDC_CSC_PICTURE_CRANK, IDI_CSC_CRANK},
        {IDC_CSC_PICTURE_SETTINGS, IDI_CSC_BICYCLE},
    }};
    for (size_t i = 0; i < decorations.size(); ++i) {
        m_decorations[i] = Image(decorations[i].second);
        if (auto* picture = qobject_cast<QLabel*>(platform::GetDlgItem(this, decorations[i].first)))
            picture->setPixmap(m_decorations[i]);
    }
    m_markOn = Image(IDI_MARK_ON);
    m_markOff = Image(IDI_MARK_OFF);
    m_locations = qobject_cast<QComboBox*>(platform::GetDlgItem(this, IDC_CSC_LOCATIONS));
    SetWheelCircumference(m_csc.Circumference());
    if (QWidget* edit = platform::GetDlgItem(this, IDC_CSC_CUMULATIVE_VALUE))
        edit->setEnabled(false);
    MapCommands();
    InitScrollMetrics(&m_wndView);
}

void CCycleSpeedCtrl::MapCommands() {
    platform::CommandTarget* commands = GetCommandTarget();
    commands->onCommand(ID_CSC_RESET_DISTANCE, [this] { OnResetDistance(); });
    commands->onCommand(ID_CSC_SET_VALUE, [this] { OnSetCumulativeValue(); });
    commands->onCommand(ID_CSC_CIRCUMFERENCE, [this] { OnCircumferenceChanged(); });
    commands->onUpdate(ID_CSC_SET_VALUE, [this](platform::CmdUI& ui) { ui.Enable(m_wheelDataSupported); });
    commands->onUpdate(ID_SC_UPDATE_LOCATION,
                       [this](platform::CmdUI& ui) { ui.Enable(m_multipleLocationsSupported); });
    for (const UINT id :
         {ID_CSC_RESET_DISTANCE, ID_CSC_SET_VALUE, ID_CSC_CIRCUMFERENCE, ID_SC_UPDATE_LOCATION})
        BindCommandButton(id);
}

void CCycleSpeedCtrl::DestroyWindow() {
    for (const UINT id : {TIMER_CSC_NO_DATA, TIMER_CSC_CONTROL_POINT, TIMER_CSC_SPEED, TIMER_CSC_CADENCE})
        m_timers.killTimer(id);
    CChildFrame::DestroyWindow();
}

void CCycleSpeedCtrl::InitProfile(uint32_t cid, const BleServiceEntry& service) {
    for (const uint16_t uuid :
         {Chr::CscMeasurement, Chr::CscFeature, Chr::SensorLocation, Chr::ScControlPoint})
        m_valueHandles[uuid] = BleDeviceRecord::GetHandle16(service, uuid, false);
    for (const uint16_t uuid : {Chr::CscMeasurement, Chr::ScControlPoint})
        m_configHandles[uuid] = BleDeviceRecord::GetHandle16(service, uuid, true);
    CMainFrame* main = AfxGetMainWnd();
    if (!main)
        return;
    main->QueueRead(cid, ValueHandle(Chr::CscFeature));
    main->QueueRead(cid, ValueHandle(Chr::SensorLocation));
    for (const auto& [uuid, configuration] :
         {std::pair{Chr::CscMeasurement, kNotifications}, std::pair{Chr::ScControlPoint, kIndications}})
        if (ConfigHandle(uuid) != 0)
            main->WriteClientConfiguration(cid, ValueHandle(uuid), ConfigHandle(uuid), configuration);
}

uint16_t CCycleSpeedCtrl::ValueHandle(uint16_t uuid) const {
    const auto found = m_valueHandles.find(uuid);
    return found == m_valueHandles.end() ? 0 : found->second;
}

uint16_t CCycleSpeedCtrl::ConfigHandle(uint16_t uuid) const {
    const auto found = m_configHandles.find(uuid);
    return found == m_configHandles.end() ? 0 : found->second;
}

// The value labels are found once: a measurement comes every second, in bursts much more often.
void CCycleSpeedCtrl::ShowText(UINT id, const QString& text) {
    QLabel*& label = m_labels[id];
    if (!label)
        label = qobject_cast<QLabel*>(platform::GetDlgItem(this, id));
    m_wndView.ShowText(label, text);
}

// ---- Values -------------------------------------------------------------------------------------

void CCycleSpeedCtrl::ShowFeatures(uint8_t features) {
    m_wheelDataSupported = m_wheelDataSupported || (features & CscFlag::WheelRevolutions);
    m_multipleLocationsSupported = m_multipleLocationsSupported || (features & CscFlag::MultipleLocations);
    const std::pair<UINT, uint8_t> marks[] = {{IDC_CSC_MARK_WHEEL, CscFlag::WheelRevolutions},
                                              {IDC_CSC_MARK_CRANK, CscFlag::CrankRevolutions},
                                              {IDC_CSC_MARK_LOCATIONS, CscFlag::MultipleLocations}};
    for (const auto& [id, bit] : marks)
        if (auto* mark = qobject_cast<QLabel*>(platform::GetDlgItem(this, id)))
            mark->setPixmap((features & bit) ? m_markOn : m_markOff);
    if (m_wheelDataSupported)
        if (QWidget* edit = platform::GetDlgItem(this, IDC_CSC_CUMULATIVE_VALUE))
            edit->setEnabled(true);
}

void CCycleSpeedCtrl::ShowSensorLocation(uint8_t location) {
    ShowText(IDC_CSC_LOCATION, LocationName(location));
}

bool CCycleSpeedCtrl::OnCharacteristicValueNotified(uint16_t handle, std::span<const uint8_t> value) {
    if (handle == 0)
        return false;
    if (handle == ValueHandle(Chr::CscMeasurement)) {
        OnMeasurement(value);
        return true;
    }
    if (handle == ValueHandle(Chr::ScControlPoint)) {
        StopControlPointTimeout();
        OnControlPointResponse(value);
        return true;
    }
    return false;
}

void CCycleSpeedCtrl::OnMeasurement(std::span<const uint8_t> value) {
    const auto measurement = CscMeasurement::decode(value);
    if (!measurement) {
        if (CMainFrame* main = AfxGetMainWnd())
            main->AddLogMessage(
                QStringLiteral("CSC Measurement of %1 bytes is too short; ignored.").arg(value.size()));
        return;
    }
    if (const auto& wheel = measurement->wheel) {
        ShowText(IDC_CSC_WHEEL_REVOLUTIONS, QString::number(wheel->revolutions));
        if (const auto speed = m_csc.AddWheel(wheel->revolutions, wheel->eventTime)) {
            ShowSpeed(*speed);
            m_timers.setTimer(TIMER_CSC_SPEED, kSpeedPeriodMs);
        }
        ShowTotalDistance();
    }
    if (const auto& crank = measurement->crank) {
        const CscCalculator::CrankSample sample = m_csc.AddCrank(crank->revolutions, crank->eventTime);
        ShowText(IDC_CSC_CRANK_REVOLUTIONS, QString::number(sample.shownRevolutions));
        if (sample.cadence) {
            ShowCadence(*sample.cadence);
            m_timers.setTimer(TIMER_CSC_CADENCE, kCadencePeriodMs);
        }
    }
    StartDataTimeout();
}

void CCycleSpeedCtrl::ShowSpeed(const CscCalculator::Rates& speed) {
    ShowText(IDC_CSC_SPEED, Fixed2(speed.instantaneous, " KPH"));
    ShowText(IDC_CSC_AVERAGE_SPEED, Fixed2(speed.average, " KPH"));
}

void CCycleSpeedCtrl::ShowCadence(const CscCalculator::Rates& cadence) {
    ShowText(IDC_CSC_CADENCE, Fixed2(cadence.instantaneous, " RPM"));
    ShowText(IDC_CSC_AVERAGE_CADENCE, Fixed2(cadence.average, " RPM"));
}

void CCycleSpeedCtrl::ShowTotalDistance() {
    ShowText(IDC_CSC_DISTANCE, Fixed2(m_csc.TotalDistance(), " km"));
}

// ---- Timers -------------------------------------------------------------------------------------

void CCycleSpeedCtrl::StartDataTimeout() {
    m_timers.setTimer(TIMER_CSC_NO_DATA, kWaitMs);
}

void CCycleSpeedCtrl::StartControlPointTimeout() {
    m_timers.setTimer(TIMER_CSC_CONTROL_POINT, kWaitMs);
}

void CCycleSpeedCtrl::StopControlPointTimeout() {
    m_timers.killTimer(TIMER_CSC_CONTROL_POINT);
}

void CCycleSpeedCtrl::OnTimerExpired(UINT id) {
    switch (id) {
    case TIMER_CSC_CONTROL_POINT:
        m_timers.killTimer(id);
        if (CMainFrame* main = AfxGetMainWnd())
            main->DisconnectSelectedDevice();
        return;
    case TIMER_CSC_NO_DATA:
        m_timers.killTimer(id);
        platform::AfxMessageBox(QStringLiteral("No Data being received from sensor"));
        return;
    case TIMER_CSC_SPEED:
        ShowSpeed(m_csc.SpeedTimeout());
        return;
    case TIMER_CSC_CADENCE:
        ShowCadence(m_csc.CadenceTimeout());
        return;
    }
}

// ---- SC Control Point -----------------------------------------------------------------------------

void CCycleSpeedCtrl::OnControlPointResponse(std::span<const uint8_t> value) {
    CMainFrame* main = AfxGetMainWnd();
    const auto response = ScControlPointResponse::decode(value);
    if (!response) {
        if (main)
            main->AddLogMessage(QStringLiteral("SC Control Point response of %1 bytes is too short; ignored.")
                                    .arg(value.size()));
        return;
    }
    if (response->responseCode != ScOpCode::ResponseCode || !main)
        return;
    const bool success = response->result == ScResult::Success;
    switch (response->requestOpCode) {
    case ScOpCode::SetCumulativeValue:
        if (success)
            OnCumulativeValueSet();
        else
            main->ShowMessage(IDS_TOTAL_DISTANCE_FAILED);
        return;
    case ScOpCode::UpdateSensorLocation:
        if (success)
            main->ReadCharacteristic(ValueHandle(Chr::SensorLocation));
        else if (response->result == ScResult::OperationFailed)
            main->ShowMessage(IDS_LOCATION_UPDATE_FAILED);
        else if (response->result == ScResult::InvalidParameter)
            main->ShowMessage(IDS_LOCATION_INVALID_PARAMETER);
        return;
    case ScOpCode::RequestSupportedLocations:
        if (!success) {
            main->ShowMessage(IDS_LOCATIONS_FAILED);
            return;
        }
        for (const uint8_t location : response->parameters)
            AddSupportedSensorLocation(location);
        return;
    }
}

void CCycleSpeedCtrl::OnSetCumulativeValue() {
    CMainFrame* main = AfxGetMainWnd();
    const uint32_t cid = main ? main->GetConnectionHandle() : 0;
    if (cid == 0)
        return;
    const QString text = platform::GetDlgItemText(this, IDC_CSC_CUMULATIVE_VALUE);
    const auto value = ParseCumulativeValue(text);
    if (!value) {
        platform::AfxMessageBox(QStringLiteral("Please enter a number between 0 and 4,294,967,296"));
        return;
    }
    const uint16_t controlPoint = ValueHandle(Chr::ScControlPoint);
    if (controlPoint == 0) {
        main->ShowMessage(IDS_NO_SC_CONTROL_POINT);
        return;
    }
    const auto request = SetCumulativeValueRequest(*value);
    main->WriteCharacteristic(cid, controlPoint, request.size(), request.data(),
                              GattWriteRequest::kWriteRequest);
    m_sentValue = {*value, text};
    main->ShowProgress(platform::LoadString(IDS_CONTROL_POINT_OPERATION),
                       platform::LoadString(IDS_SETTING_WHEEL_REVOLUTIONS), true, true);
}

// The value and text that were sent apply: the edit may have changed since.
void CCycleSpeedCtrl::OnCumulativeValueSet() {
    if (!m_sentValue)
        return;
    const auto [value, text] = *std::exchange(m_sentValue, std::nullopt);
    ShowText(IDC_CSC_WHEEL_REVOLUTIONS, text);
    const QString average = platform::GetDlgItemText(this, IDC_CSC_AVERAGE_SPEED);
    m_csc.SetCumulativeValue(value, average.section(QLatin1Char(' '), 0, 0).toFloat());
    ShowTotalDistance();
}

void CCycleSpeedCtrl::OnResetDistance() {
    m_csc.ResetDistance();
    ShowTotalDistance();
}

void CCycleSpeedCtrl::OnCircumferenceChanged() {
    const QString text = platform::GetDlgItemText(this, IDC_CSC_CIRCUMFERENCE);
    if (text.isEmpty())
        return;
    if (const auto cm = ParseCircumference(text)) {
        SetWheelCircumference(*cm);
        return;
    }
    SetWheelCircumference(m_csc.Circumference());
    platform::AfxMessageBox(QStringLiteral("Please enter a value between 1 and 65,535"));
}

void CCycleSpeedCtrl::SetWheelCircumference(uint16_t cm) {
    m_csc.SetCircumference(cm);
    platform::SetDlgItemText(this, IDC_CSC_CIRCUMFERENCE, QString::number(cm));
}

// ---- Sensor locations -----------------------------------------------------------------------------

void CCycleSpeedCtrl::AddSupportedSensorLocation(uint8_t location) {
    if (!m_locations)
        return;
    const QString name = LocationName(location);
    if (m_locations->findText(name, Qt::MatchStartsWith) < 0)
        m_locations->addItem(name);
    m_locations->setCurrentIndex(0);
}

uint8_t CCycleSpeedCtrl::GetSelectedSensorLocation() const {
    return m_locations ? SensorLocationFromName(m_locations->currentText()) : 0;
}
