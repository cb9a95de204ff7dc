// The main window's part of the heart-rate profile: its handles, its window's opening, the routing of
// its values and results, and the Reset command.
#include "mainframe/CMainFrame.h"

#include "gatt/HeartRate.h"
#include "gatt/Uuids.h"
#include "platform/ui/CmdUI.h"
#include "profiles/sensor/CHeartRateMonitorCtrl.h"
#include "profiles/sensor/HeartRateIds.h"

namespace {
namespace Chr = CharacteristicUuid;

constexpr uint8_t kNotifications = 1;
// Heart Rate Control Point op code.
constexpr uint8_t kResetEnergyExpended = 0x01;
} // namespace

void CMainFrame::MapHeartRateCommands() {
    m_commands.onCommand(ID_HR_RESET_ENERGY, [this] { OnHeartRateReset(); });
    m_commands.onUpdate(ID_HR_RESET_ENERGY,
                        [this](platform::CmdUI& ui) { ui.Enable(!m_bHeartRateResetPending); });
}

bool CMainFrame::FindHeartRateHandles(BleDeviceRecord& /*peer*/, const BleServiceEntry& service) {
    if (!IsService16(service, ServiceUuid::HeartRate))
        return false;
    for (const uint16_t characteristic :
         {Chr::HeartRateMeasurement, Chr::BodySensorLocation, Chr::HeartRateControlPoint})
        m_valueHandles[characteristic] = BleDeviceRecord::GetHandle16(service, characteristic, false);
    m_configHandles[Chr::HeartRateMeasurement] =
        BleDeviceRecord::GetHandle16(service, Chr::HeartRateMeasurement, true);
    return true;
}

void CMainFrame::OpenHeartRateWindow(const BleDeviceRecord& peer) {
    if (m_pHeartRate || !peer.services.contains(MakeUuid16(ServiceUuid::HeartRate)))
        return;
    m_pHeartRate = new CHeartRateMonitorCtrl();
    m_pHeartRate->Create(m_mdiArea, &m_router, &m_commands);
    WriteClientConfiguration(peer.cid, ValueHandle(Chr::HeartRateMeasurement),
                             ConfigHandle(Chr::HeartRateMeasurement), kNotifications);
    QueueRead(peer.cid, ValueHandle(Chr::BodySensorLocation));
}

bool CMainFrame::OnHeartRateRead(uint16_t handle, std::span<const uint8_t> value) {
    if (!m_pHeartRate || handle != ValueHandle(Chr::BodySensorLocation))
        return false;
    if (value.empty())
        AddLogMessage(QStringLiteral("Body Sensor Location value is empty; ignored."));
    else
        m_pHeartRate->ShowBodySensorLocation(value[0]);
    return true;
}

void CMainFrame::OnHeartRateNotification(uint16_t handle, std::span<const uint8_t> value) {
    if (!m_pHeartRate || handle != ValueHandle(Chr::HeartRateMeasurement))
        return;
    const auto measurement = HeartRateMeasurement::decode(value);
    if (!measurement) {
        AddLogMessage(
            QStringLiteral("Heart Rate Measurement of %1 bytes is too short; ignored.").arg(value.size()));
        return;
    }
    m_pHeartRate->ShowHeartRate(measurement->rate);
    m_pHeartRate->ShowSensorContact(static_cast<uint32_t>(measurement->contact));
    if (measurement->energyExpended)
        m_pHeartRate->ShowEnergyExpended(*measurement->energyExpended);
    if (measurement->rrPresent)
        m_pHeartRate->ShowRRIntervals(measurement->rrIntervals);
    else
        m_pHeartRate->ClearRRIntervals();
}

// The Reset write is recognised by the handle written: the handle tables may have been emptied since.
bool CMainFrame::OnHeartRateWritten(uint16_t handle, uint16_t status) {
    if (m_nResetHandle == 0 || handle != m_nResetHandle)
        return false;
    ClearHeartRatePending();
    if (status == 0 && m_pHeartRate)
        m_pHeartRate->ClearEnergyExpended();
    return true;
}

void CMainFrame::ClearHeartRatePending() {
    m_bHeartRateResetPending = false;
    m_nResetHandle = 0;
}

void CMainFrame::OnHeartRateReset() {
    const BleDeviceRecord* peer = ConnectedRecord();
    const uint16_t controlPoint = ValueHandle(Chr::HeartRateControlPoint);
    if (!m_pHeartRate || !peer || !peer->connected || controlPoint == 0)
        return;
    const uint8_t command[] = {kResetEnergyExpended};
    WriteCharacteristic(peer->cid, controlPoint, sizeof command, command, GattWriteRequest::kWriteRequest);
    m_bHeartRateResetPending = true;
    m_nResetHandle = controlPoint;
}
