#include "profiles/sensor/CEnvironmentCtrl.h"

#include "app/COrvBleDemoApp.h"
#include "gatt/BleDeviceRecord.h"
#include "gatt/EnvironmentValues.h"
#include "gatt/Uuids.h"
#include "mainframe/CMainFrame.h"
#include "platform/DialogItems.h"
#include "platform/StringTable.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Icons.h"
#include "profiles/sensor/EnvironmentIds.h"
#include "res/resource.h"
#include "ui_EnvironmentPane.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <algorithm>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace {
namespace Chr = CharacteristicUuid;

[[maybe_unused]] const bool kPaneRegistered =
    CProfileCtrlView::RegisterTemplate(IDD_ENVIRONMENT, [](QWidget* pane) {
        Ui::EnvironmentPane form;
        form.setupUi(pane);
    });

constexpr int kImageSize = 24;
constexpr UINT kMsPerSecond = 1000;
constexpr uint8_t kStartCalibration = 0x01;
constexpr uint8_t kStopCalibration = 0x00;

const BleUuid kPressure = MakeUuid16(Chr::Pressure);
const BleUuid kTemperature = MakeUuid16(Chr::Temperature);
const BleUuid kHumidity = MakeUuid16(Chr::Humidity);
const BleUuid kAccelerometer = MakeVendorUuid(VendorUuid::Acceleration);
const BleUuid kGyroscope = MakeVendorUuid(VendorUuid::AngularVelocity);
const BleUuid kFlux2D = MakeUuid16(Chr::MagneticFluxDensity2D);
const BleUuid kFlux3D = MakeUuid16(Chr::MagneticFluxDensity3D);
const BleUuid kDeclination = MakeUuid16(Chr::MagneticDeclination);
const BleUuid kCalibration = MakeVendorUuid(VendorUuid::MagnetometerCalibration);

CMainFrame* Main() {
    return AfxGetMainWnd();
}

} // namespace

CEnvironmentCtrl::CEnvironmentCtrl(QWidget* parent)
    : CChildFrame(parent), m_timers([this](UINT) { Refresh(true); }) {}

CEnvironmentCtrl::~CEnvironmentCtrl() = default;

void CEnvironmentCtrl::OnCreate() {
    m_wndView.Create(IDD_ENVIRONMENT, PaneParent());
    setWindowTitle(platform::LoadString(IDS_ENVIRONMENT_SENSING));
    m_enable = qobject_cast<QCheckBox*>(platform::GetDlgItem(this, ID_ENV_AUTO_UPDATE));
    m_interval = qobject_cast<QComboBox*>(platform::GetDlgItem(this, IDC_ENV_INTERVAL));
    MapCommands();
    if (m_enable)
        m_enable->setChecked(false);
    // As unticking does, except that the main window's queues stay: the other windows' first requests,
    // queued moments before in the same opening, must still be sent.
    OnAutoUpdate(false);
    InitScrollMetrics(&m_wndView);
}

void CEnvironmentCtrl::MapCommands() {
    platform::CommandTarget* commands = GetCommandTarget();
    const std::pair<UINT, std::vector<BleUuid>> updates[] = {
        {ID_ENV_UPDATE_PRESSURE, {kPressure}},          {ID_ENV_UPDATE_TEMPERATURE, {kTemperature}},
        {ID_ENV_UPDATE_HUMIDITY, {kHumidity}},          {ID_ENV_UPDATE_ACCELERATION, {kAccelerometer}},
        {ID_ENV_UPDATE_ANGULAR_VELOCITY, {kGyroscope}}, {ID_ENV_UPDATE_MAGNETIC_FLUX, {kFlux2D, kFlux3D}},
    };
    // Init-captures, as clang before 16 cannot capture a structured binding.
    for (const auto& [id, uuids] : updates) {
        commands->onCommand(id, [this, uuids = uuids] {
            for (const BleUuid& uuid : uuids)
                Read(uuid);
        });
        commands->onUpdate(id, [this, uuids = uuids](platform::CmdUI& ui) {
            ui.Enable(!m_autoUpdate && std::any_of(uuids.begin(), uuids.end(),
                                                   [this](const BleUuid& uuid) { return Has(uuid); }));
        });
        BindCommandButton(id);
    }
    commands->onCommand(ID_ENV_AUTO_UPDATE, [this] { OnAutoUpdate(true); });
    commands->onCommand(ID_ENV_CALIBRATE, [this] { OnCalibrate(); });
    BindCommandButton(ID_ENV_AUTO_UPDATE);
    BindCommandButton(ID_ENV_CALIBRATE);
}

void CEnvironmentCtrl::DestroyWindow() {
    m_timers.killTimer(TIMER_ENV_POLL);
    CChildFrame::DestroyWindow();
}

void CEnvironmentCtrl::InitProfile(const BleDeviceRecord* peer) {
    const BleUuid service = MakeUuid16(ServiceUuid::EnvironmentalSensing);
    // Each in this order; the calibration is only ever written.
    const std::pair<BleUuid, bool> wanted[] = {
        {kPressure, true},      {kTemperature, true}, {kHumidity, true},
        {kAccelerometer, true}, {kGyroscope, true},   {kFlux2D, true},
        {kFlux3D, true},        {kDeclination, true}, {kCalibration, false},
    };
    for (const auto& [uuid, read] : wanted) {
        const uint16_t handle = peer->GetHandle(service, uuid, false);
        if (handle == 0)
            continue;
        m_handles[uuid] = handle;
        if (CMainFrame* main = Main(); main && read)
            main->ReadCharacteristic(handle);
    }
    if (m_interval)
        m_interval->setCurrentIndex(
            std::max(0, m_interval->findText(QStringLiteral("1"), Qt::MatchStartsWith)));
    ShowPictures();
    if (!m_autoUpdate) {
        Refresh(false);
        return;
    }
    if (m_interval)
        m_interval->setEnabled(false);
    m_timers.setTimer(TIMER_ENV_POLL, kMsPerSecond);
}

void CEnvironmentCtrl::ShowPictures() {
    const std::array<std::pair<UINT, UINT>, 7> pictures = {{
        {IDC_ENV_PICTURE_PRESSURE, IDI_PRESSURE},
        {IDC_ENV_PICTURE_TEMPERATURE, IDI_ENV_TEMPERATURE},
        {IDC_ENV_PICTURE_HUMIDITY, IDI_ENV_HUMIDITY},
        {IDC_ENV_PICTURE_ACCELERATION, IDI_ENV_ACCELERATION},
        {IDC_ENV_PICTURE_ANGULAR_VELOCITY, IDI_ENV_ANGULAR_VELOCITY},
        {IDC_ENV_PICTURE_MAGNETIC_FLUX, IDI_ENV_MAGNETIC_FLUX},
        {IDC_ENV_PICTURE_DIRECTION, IDI_ENV_DIRECTION},
    }};
    for (size_t i = 0; i < pictures.size(); ++i) {
        // The pressure picture keeps the icon's own size.
        const int size = i == 0 ? 0 : kImageSize;
        m_pictures[i] = CProfileCtrlView::IconToBitmap(platform::loadIcon(pictures[i].second), size, size);
        if (auto* picture = qobject_cast<QLabel*>(platform::GetDlgItem(this, pictures[i].first)))
            picture->setPixmap(m_pictures[i]);
    }
}

uint16_t CEnvironmentCtrl::Handle(const BleUuid& uuid) const {
    const auto found = m_handles.find(uuid);
    return found == m_handles.end() ? 0 : found->second;
}

void CEnvironmentCtrl::Read(const BleUuid& uuid) const {
    CMainFrame* main = Main();
    if (main && Has(uuid))
        main->ReadCharacteristic(Handle(uuid));
}

void CEnvironmentCtrl::Refresh(bool poll) {
    CMainFrame* main = Main();
    if (!main)
        return;
    for (const BleUuid& uuid :
         {kHumidity, kPressure, kTemperature, kAccelerometer, kGyroscope, kFlux2D, kFlux3D, kDeclination}) {
        const uint16_t handle = Handle(uuid);
        const auto& queue = main->ReadQueue();
        // A poll faster than the link answers would otherwise pile up reads of the same values.
        if (handle == 0 || (poll && std::find(queue.begin(), queue.end(), handle) != queue.end()))
            continue;
        main->ReadCharacteristic(handle);
    }
}

void CEnvironmentCtrl::OnAutoUpdate(bool clearQueues) {
    m_autoUpdate = m_enable && m_enable->isChecked();
    if (m_autoUpdate) {
        const UINT seconds = m_interval ? m_interval->currentText().toUInt() : 1;
        if (m_interval)
            m_interval->setEnabled(false);
        m_timers.setTimer(TIMER_ENV_POLL, seconds * kMsPerSecond);
    } else {
        m_timers.killTimer(TIMER_ENV_POLL);
        if (CMainFrame* main = Main(); main && clearQueues)
            main->ClearRequestQueues();
        if (m_interval)
            m_interval->setEnabled(true);
    }
    update();
}

// ---- Values -------------------------------------------------------------------------------------

void CEnvironmentCtrl::ShowText(UINT id, const QString& text) {
    m_wndView.ShowText(qobject_cast<QLabel*>(platform::GetDlgItem(this, id)), text);
}

void CEnvironmentCtrl::OnCharacteristicValue(uint16_t handle, int length, const uint8_t* data) {
    if (handle == 0 || !data || length <= 0)
        return;
    const std::span<const uint8_t> value(data, static_cast<size_t>(length));
    CMainFrame* main = Main();
    const auto show = [this, main](UINT id, const std::optional<EnvironmentReading>& reading) {
        if (!reading)
            return;
        ShowText(id, reading->text);
        if (main)
            main->AddLogMessage(reading->log);
    };
    if (handle == Handle(kPressure))
        show(IDC_ENV_PRESSURE, PressureReading(value));
    else if (handle == Handle(kTemperature))
        show(IDC_ENV_TEMPERATURE, TemperatureReading(value));
    else if (handle == Handle(kHumidity))
        show(IDC_ENV_HUMIDITY, HumidityReading(value));
    else if (handle == Handle(kGyroscope))
        show(IDC_ENV_ANGULAR_VELOCITY, GyroscopeReading(value));
    else if (handle == Handle(kAccelerometer))
        show(IDC_ENV_ACCELERATION, AccelerometerReading(value));
    else if (handle == Handle(kFlux3D) || handle == Handle(kFlux2D)) {
        const auto flux = DecodeMagneticFlux(value, handle == Handle(kFlux3D));
        if (!flux)
            return;
        show(IDC_ENV_MAGNETIC_FLUX, MagneticFluxReading(*flux));
        if (!Has(kDeclination))
            ShowText(IDC_ENV_DIRECTION, DirectionText(CompassDirection(*flux)));
    } else if (handle == Handle(kDeclination)) {
        if (const auto text = DeclinationText(value))
            ShowText(IDC_ENV_DIRECTION, *text);
    }
}

// ---- Calibration ----------------------------------------------------------------------------------

void CEnvironmentCtrl::OnWriteResponse(uint16_t handle, uint16_t result) {
    CMainFrame* main = Main();
    if (main && handle != 0 && handle == Handle(kCalibration))
        main->AddLogMessage(QString::asprintf("Handle = %d, result %x\n", handle, result));
}

void CEnvironmentCtrl::OnCalibrate() {
    CMainFrame* main = Main();
    if (!main || !Has(kCalibration) || m_calibrating)
        return;
    m_calibrating = true;
    main->WriteCharacteristic(main->GetConnectionHandle(), Handle(kCalibration), 1, &kStartCalibration,
                              GattWriteRequest::kWriteRequest);
    main->ShowProgress(
        QStringLiteral("Magnetometer Sensor Calibration"),
        QStringLiteral("Rotate the device through at least 360° on a flat and horizontal surface. "
                       "Press 'Stop' when complete."),
        false, false);
}

void CEnvironmentCtrl::StopCalibration() {
    CMainFrame* main = Main();
    if (!main || !Has(kCalibration) || !m_calibrating)
        return;
    main->WriteCharacteristic(main->GetConnectionHandle(), Handle(kCalibration), 1, &kStopCalibration,
                              GattWriteRequest::kWriteRequest);
    main->HideProgress();
    m_calibrating = false;
}
