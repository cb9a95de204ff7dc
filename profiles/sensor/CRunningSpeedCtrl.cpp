#include "profiles/sensor/CRunningSpeedCtrl.h"

#include "app/COrvBleDemoApp.h"
#include "gatt/BleDeviceRecord.h"
#include "gatt/RscMeasurement.h"
#include "gatt/SpeedAndCadence.h"
#include "gatt/Uuids.h"
#include "mainframe/CMainFrame.h"
#include "platform/DialogItems.h"
#include "platform/Prompter.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Icons.h"
#include "profiles/sensor/RunningSpeedIds.h"
#include "res/resource.h"
#include "ui_RscPane.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <utility>

namespace {
namespace Chr = CharacteristicUuid;

[[maybe_unused]] const bool kPaneRegistered = CProfileCtrlView::RegisterTemplate(IDD_RSC, [](QWidget* pane) {
    Ui::RscPane form;
    form.setupUi(pane);
});

constexpr int kImageSize = 24;
constexpr UINT kWaitMs = 30000;
constexpr uint8_t kNotifications = 1;
constexpr uint8_t kIndications = 2;

QPixmap Image(UINT iconId) {
    return CProfileCtrlView::IconToBitmap(platform::loadIcon(iconId), kImageSize, kImageSize);
}

const std::pair<uint16_t, const char*> kFeatureLines[] = {
    {RscFeature::StrideLength, "Stride Length"},
    {RscFeature::TotalDistance, "Total Distance"},
    {RscFeature::WalkingOrRunning, "Walking/Running status"},
    {RscFeature::Calibration, "Calibration"},
    {RscFeature::MultipleLocations, "Multiple Sensor location"},
};

} // namespace

CRunningSpeedCtrl::CRunningSpeedCtrl(QWidget* parent)
    : CChildFrame(parent), m_timers([this](UINT id) { OnTimerExpired(id); }) {}

CRunningSpeedCtrl::~CRunningSpeedCtrl() = default;

void CRunningSpeedCtrl::OnCreate() {
    m_wndView.Create(IDD_RSC, PaneParent());
    m_walking = Image(IDI_RSC_WALKING);
    m_running = Image(IDI_RSC_RUNNING);
    m_status = qobject_cast<QLabel*>(platform::GetDlgItem(this, IDC_RSC_STATUS_PICTURE));
    if (m_status)
        m_status->setPixmap(m_walking);
    const std::array<std::pair<UINT, UINT>, 3> decorations = {{
        {IDC_RSC_PICTURE_LOCATION, IDI_SENSOR_LOCATION},
        {IDC_RSC_PICTURE_CADENCE, IDI_RSC_CADENCE},
        {IDC_RSC_PICTURE_STRIDE, IDI_RSC_STRIDE},
    }};
    for (size_t i = 0; i < decorations.size(); ++i) {
        m_decorations[i] = Image(decorations[i].second);
        if (auto* picture = qobject_cast<QLabel*>(platform::GetDlgItem(this, decorations[i].first)))
            picture->setPixmap(m_decorations[i]);
    }
    setWindowTitle(QStringLiteral("Running Speed and Cadence"));
    m_features = qobject_cast<QListWidget*>(platform::GetDlgItem(this, IDC_RSC_FEATURES));
    m_locations = qobject_cast<QComboBox*>(platform::GetDlgItem(this, IDC_RSC_LOCATIONS));
    if (QWidget* edit = platform::GetDlgItem(this, IDC_RSC_DISTANCE_EDIT))
        edit->setEnabled(false);
    MapCommands();
    InitScrollMetrics(&m_wndView);
}

void CRunningSpeedCtrl::MapCommands() {
    platform::CommandTarget* commands = GetCommandTarget();
    commands->onUpdate(ID_RSC_SET_DISTANCE,
                       [this](platform::CmdUI& ui) { ui.Enable(m_totalDistanceSupported); });
    commands->onUpdate(ID_RSC_CALIBRATE, [this](platform::CmdUI& ui) { ui.Enable(m_calibrationSupported); });
    commands->onUpdate(ID_SC_UPDATE_LOCATION,
                       [this](platform::CmdUI& ui) { ui.Enable(m_multipleLocationsSupported); });
    for (const UINT id : {ID_RSC_SET_DISTANCE, ID_RSC_CALIBRATE, ID_SC_UPDATE_LOCATION})
        BindCommandButton(id);
}

void CRunningSpeedCtrl::DestroyWindow() {
    for (const UINT id : {TIMER_RSC_CONTROL_POINT, TIMER_RSC_NO_DATA})
        m_timers.killTimer(id);
    CChildFrame::DestroyWindow();
}

void CRunningSpeedCtrl::InitProfile(uint32_t cid, const BleServiceEntry& service) {
    for (const uint16_t uuid :
         {Chr::RscMeasurement, Chr::RscFeature, Chr::SensorLocation, Chr::ScControlPoint})
        m_valueHandles[uuid] = BleDeviceRecord::GetHandle16(service, uuid, false);
    for (const uint16_t uuid : {Chr::RscMeasurement, Chr::ScControlPoint})
        m_configHandles[uuid] = BleDeviceRecord::GetHandle16(service, uuid, true);
    // The feature read below fills the list again.
    if (m_features)
        m_features->clear();
    CMainFrame* main = AfxGetMainWnd();
    if (!main)
        return;
    main->QueueRead(cid, ValueHandle(Chr::RscFeature));
    main->QueueRead(cid, ValueHandle(Chr::SensorLocation));
    for (const auto& [uuid, configuration] :
         {std::pair{Chr::RscMeasurement, kNotifications}, std::pair{Chr::ScControlPoint, kIndications}})
        if (ConfigHandle(uuid) != 0)
            main->WriteClientConfiguration(cid, ValueHandle(uuid), ConfigHandle(uuid), configuration);
}

uint16_t CRunningSpeedCtrl::ValueHandle(uint16_t uuid) const {
    const auto found = m_valueHandles.find(uuid);
    return found == m_valueHandles.end() ? 0 : found->second;
}

uint16_t CRunningSpeedCtrl::ConfigHandle(uint16_t uuid) const {
    const auto found = m_configHandles.find(uuid);
    return found == m_configHandles.end() ? 0 : found->second;
}

void CRunningSpeedCtrl::ShowText(UINT id, const QString& text) {
    QLabel*& label = m_labels[id];
    if (!label)
        label = qobject_cast<QLabel*>(platform::GetDlgItem(this, id));
    m_wndView.ShowText(label, text);
}

// ---- Values -------------------------------------------------------------------------------------

void CRunningSpeedCtrl::ShowFeatures(uint16_t features) {
    for (const auto& [bit, line] : kFeatureLines)
        if ((features & bit) && m_features)
            m_features->addItem(QString::fromLatin1(line));
    m_totalDistanceSupported = m_totalDistanceSupported || (features & RscFeature::TotalDistance);
    m_calibrationSupported = m_calibrationSupported || (features & RscFeature::Calibration);
    m_multipleLocationsSupported = m_multipleLocationsSupported || (features & RscFeature::MultipleLocations);
    if (m_totalDistanceSupported)
        if (QWidget* edit = platform::GetDlgItem(this, IDC_RSC_DISTANCE_EDIT))
            edit->setEnabled(true);
}

void CRunningSpeedCtrl::ShowSensorLocation(uint8_t location) {
    ShowText(IDC_RSC_LOCATION, SensorLocationName(location).value_or(QStringLiteral("Unknown")));
}

bool CRunningSpeedCtrl::OnCharacteristicValueNotified(uint16_t handle, std::span<const uint8_t> value) {
    if (handle == 0)
        return false;
    if (handle == ValueHandle(Chr::RscMeasurement)) {
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

void CRunningSpeedCtrl::OnMeasurement(std::span<const uint8_t> value) {
    const auto measurement = RscMeasurement::decode(value);
    if (!measurement) {
        if (CMainFrame* main = AfxGetMainWnd())
            main->AddLogMessage(
                QStringLiteral("RSC Measurement of %1 bytes is too short; ignored.").arg(value.size()));
        return;
    }
    m_totalDistance = measurement->totalDistance.value_or(m_totalDistance);
    const QPixmap& gait = measurement->running ? m_running : m_walking;
    if (m_status && m_status->pixmap().cacheKey() != gait.cacheKey())
        m_status->setPixmap(gait);
    ShowText(IDC_RSC_DISTANCE, QString::asprintf("%1.2f km", m_totalDistance / 10000.0));
    ShowText(IDC_RSC_SPEED, QString::asprintf("%1.2f KPH", measurement->speed * 3600 / 256000.0));
    ShowText(IDC_RSC_CADENCE, QString::asprintf("%d RPM", measurement->cadence));
    ShowText(IDC_RSC_STRIDE, QString::asprintf("%d cm", measurement->strideLength.value_or(0)));
    StartDataTimeout();
}

// ---- Timers -------------------------------------------------------------------------------------

void CRunningSpeedCtrl::StartDataTimeout() {
    m_timers.setTimer(TIMER_RSC_NO_DATA, kWaitMs);
}

void CRunningSpeedCtrl::StartControlPointTimeout() {
    m_timers.setTimer(TIMER_RSC_CONTROL_POINT, kWaitMs);
}

void CRunningSpeedCtrl::StopControlPointTimeout() {
    m_timers.killTimer(TIMER_RSC_CONTROL_POINT);
}

void CRunningSpeedCtrl::OnTimerExpired(UINT id) {
    m_timers.killTimer(id);
    if (id == TIMER_RSC_CONTROL_POINT) {
        if (CMainFrame* main = AfxGetMainWnd())
            main->DisconnectSelectedDevice();
        return;
    }
    platform::AfxMessageBox(QStringLiteral("No Data being received from sensor"));
}

// ---- SC Control Point -----------------------------------------------------------------------------

void CRunningSpeedCtrl::OnControlPointResponse(std::span<const uint8_t> value) {
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
            ShowTotalDistance();
        else
            main->ShowMessage(IDS_TOTAL_DISTANCE_FAILED);
        return;
    case ScOpCode::StartCalibration:
        if (!success)
            main->ShowMessage(IDS_CALIBRATION_FAILED);
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
            AddSupportedLocation(location);
        return;
    }
}

bool CRunningSpeedCtrl::GetTotalDistance(uint32_t& distance) const {
    const auto typed = ParseTotalDistance(platform::GetDlgItemText(this, IDC_RSC_DISTANCE_EDIT));
    if (!typed) {
        platform::AfxMessageBox(QStringLiteral("Please enter the distance between 0 and 429,496 km"));
        return false;
    }
    distance = *typed;
    return true;
}

void CRunningSpeedCtrl::OnTotalDistanceSent(uint32_t distance) {
    m_sentDistance = {distance, platform::GetDlgItemText(this, IDC_RSC_DISTANCE_EDIT)};
}

// The distance and text that were sent apply: the edit may have changed since.
void CRunningSpeedCtrl::ShowTotalDistance() {
    if (!m_sentDistance)
        return;
    const auto [distance, text] = *std::exchange(m_sentDistance, std::nullopt);
    m_totalDistance = distance;
    ShowText(IDC_RSC_DISTANCE, text + QStringLiteral(" km"));
}

// ---- Sensor locations -----------------------------------------------------------------------------

void CRunningSpeedCtrl::AddSupportedLocation(uint8_t location) {
    if (!m_locations)
        return;
    const QString name = SensorLocationName(location).value_or(QStringLiteral("Other"));
    if (m_locations->findText(name, Qt::MatchStartsWith) < 0)
        m_locations->addItem(name);
    m_locations->setCurrentIndex(0);
}

uint8_t CRunningSpeedCtrl::GetSelectedSensorLocation() const {
    return m_locations ? SensorLocationFromName(m_locations->currentText()) : 0;
}
