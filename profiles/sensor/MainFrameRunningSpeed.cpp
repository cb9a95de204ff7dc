// The main window's part of the running profile: its window's opening, the routing of its values and
// results, and the SC Control Point commands Set Distance, Calibrate Sensor and the location Update
// (which serves the cycling window too).
#include "mainframe/CMainFrame.h"

#include "panes/CConnectProgressDlg.h"
#include "platform/Prompter.h"
#include "profiles/sensor/RunningSpeedIds.h"
#include "profiles/sensor/SpeedAndCadenceRouting.h"

namespace {
namespace Chr = CharacteristicUuid;
} // namespace

void CMainFrame::MapRunningSpeedCommands() {
    m_commands.onCommand(ID_RSC_SET_DISTANCE, [this] { OnSetTotalDistance(); });
    m_commands.onCommand(ID_RSC_CALIBRATE, [this] { OnCalibrateSensor(); });
    m_commands.onCommand(ID_SC_UPDATE_LOCATION, [this] { OnUpdateSensorLocation(); });
}

bool CMainFrame::FindRunningSpeedHandles(BleDeviceRecord& peer, const BleServiceEntry& service) {
    if (!IsService16(service, ServiceUuid::RunningSpeedAndCadence))
        return false;
    if (!m_pRunningSpeed) {
        m_pRunningSpeed = new CRunningSpeedCtrl();
        m_pRunningSpeed->Create(m_mdiArea, &m_router, &m_commands);
    }
    m_pRunningSpeed->InitProfile(peer.cid, service);
    return true;
}

void CMainFrame::OnRunningSpeedRead(uint16_t handle, std::span<const uint8_t> value) {
    if (m_pRunningSpeed)
        speed_and_cadence::OnRead(*this, *m_pRunningSpeed, Chr::RscFeature, "Received RSC features: ", handle,
                                  value);
}

void CMainFrame::OnRunningSpeedNotification(uint16_t handle, std::span<const uint8_t> value) {
    if (m_pRunningSpeed)
        speed_and_cadence::OnNotification(*this, *m_pRunningSpeed, "Received RSC Notification: ", handle,
                                          value);
}

void CMainFrame::OnRunningSpeedWritten(uint16_t handle, uint16_t status, const GattWriteRequest* head) {
    if (m_pRunningSpeed)
        speed_and_cadence::OnWritten(*this, *m_pRunningSpeed, Chr::RscMeasurement, handle, status, head);
}

// ---- SC Control Point commands -------------------------------------------------------------------

bool CMainFrame::SendControlPointRequest(uint16_t controlPoint, std::span<const uint8_t> request,
                                         UINT progressText) {
    const BleDeviceRecord* peer = SelectedRecord();
    if (!peer || peer->cid == 0)
        return false;
    WriteCharacteristic(peer->cid, controlPoint, static_cast<uint8_t>(request.size()), request.data(),
                        GattWriteRequest::kWriteRequest);
    ShowProgress(platform::LoadString(IDS_CONTROL_POINT_OPERATION), platform::LoadString(progressText), true,
                 true);
    return true;
}

void CMainFrame::OnSetTotalDistance() {
    const BleDeviceRecord* peer = SelectedRecord();
    if (!peer || peer->cid == 0 || !m_pRunningSpeed)
        return;
    uint32_t distance = 0;
    if (!m_pRunningSpeed->GetTotalDistance(distance))
        return;
    const uint16_t controlPoint = m_pRunningSpeed->ValueHandle(Chr::ScControlPoint);
    if (m_pProgress->isVisible() || controlPoint == 0) {
        platform::AfxMessageBox(QStringLiteral("Total distance could not be set\n as another control point "
                                               "operation is in progress or the remote "
                                               "device doesn't support control point characteristic."));
        return;
    }
    if (SendControlPointRequest(controlPoint, SetCumulativeValueRequest(distance),
                                IDS_SETTING_TOTAL_DISTANCE))
        m_pRunningSpeed->OnTotalDistanceSent(distance);
}

void CMainFrame::OnCalibrateSensor() {
    const BleDeviceRecord* peer = SelectedRecord();
    if (!peer || peer->cid == 0)
        return;
    if (m_pProgress->isVisible()) {
        platform::AfxMessageBox(QStringLiteral(
            "Calibration could not be done\n as another controlpoint operation is in progress"));
        return;
    }
    const uint16_t controlPoint = m_pRunningSpeed ? m_pRunningSpeed->ValueHandle(Chr::ScControlPoint) : 0;
    if (controlPoint == 0)
        return;
    const uint8_t request[] = {ScOpCode::StartCalibration};
    SendControlPointRequest(controlPoint, request, IDS_CALIBRATING_SENSOR);
}

// Acts on the running window when it is open, else on the cycling window.
void CMainFrame::OnUpdateSensorLocation() {
    const BleDeviceRecord* peer = SelectedRecord();
    if (!peer || peer->cid == 0)
        return;
    const bool running = m_pRunningSpeed != nullptr;
    const bool window = running || m_pCycleSpeed;
    const uint8_t location = running  ? m_pRunningSpeed->GetSelectedSensorLocation()
                             : window ? m_pCycleSpeed->GetSelectedSensorLocation()
                                      : 0;
    if (m_pProgress->isVisible()) {
        platform::AfxMessageBox(QStringLiteral(
            "Sensor location could not be updated\n as another control point operation is in progress."));
        return;
    }
    if (!window)
        return;
    const uint16_t controlPoint = running ? m_pRunningSpeed->ValueHandle(Chr::ScControlPoint)
                                          : m_pCycleSpeed->ValueHandle(Chr::ScControlPoint);
    if (controlPoint == 0) {
        ShowMessage(IDS_NO_SC_CONTROL_POINT);
        return;
    }
    const uint8_t request[] = {ScOpCode::UpdateSensorLocation, location};
    SendControlPointRequest(controlPoint, request, IDS_UPDATING_LOCATION);
}
