// The main window's part of the cycling profile: its window's opening and the routing of its values
// and results. The window handles its own Set Value; its location Update is OnUpdateSensorLocation
// (MainFrameRunningSpeed.cpp).
#include "mainframe/CMainFrame.h"

#include "profiles/sensor/SpeedAndCadenceRouting.h"

namespace {
namespace Chr = CharacteristicUuid;
} // namespace

bool CMainFrame::FindCycleSpeedHandles(BleDeviceRecord& peer, const BleServiceEntry& service) {
    if (!IsService16(service, ServiceUuid::CyclingSpeedAndCadence))
        return false;
    if (!m_pCycleSpeed) {
        m_pCycleSpeed = new CCycleSpeedCtrl();
        m_pCycleSpeed->Create(m_mdiArea, &m_router, &m_commands);
    }
    m_pCycleSpeed->InitProfile(peer.cid, service);
    return true;
}

void CMainFrame::OnCycleSpeedRead(uint16_t handle, std::span<const uint8_t> value) {
    if (m_pCycleSpeed)
        speed_and_cadence::OnRead(*this, *m_pCycleSpeed, Chr::CscFeature, "Received CSC features: ", handle,
                                  value);
}

void CMainFrame::OnCycleSpeedNotification(uint16_t handle, std::span<const uint8_t> value) {
    if (m_pCycleSpeed)
        speed_and_cadence::OnNotification(*this, *m_pCycleSpeed, "Received CSC Notification: ", handle,
                                          value);
}

void CMainFrame::OnCycleSpeedWritten(uint16_t handle, uint16_t status, const GattWriteRequest* head) {
    if (m_pCycleSpeed)
        speed_and_cadence::OnWritten(*this, *m_pCycleSpeed, Chr::CscMeasurement, handle, status, head);
}
