// The main window's part of the steering wheel: its window opens during the walk and keeps its own
// report tables; the main window offers it read results and notifications.
#include "mainframe/CMainFrame.h"

#include "gatt/Uuids.h"

bool CMainFrame::FindSteeringWheelHandles(BleDeviceRecord& peer, const BleServiceEntry& service) {
    if (!IsService16(service, ServiceUuid::HumanInterfaceDevice) ||
        peer.appearance != kAppearanceSteeringWheel)
        return false;
    if (!m_pSteeringWheel) {
        m_pSteeringWheel = new CMfswHostCtrl();
        m_pSteeringWheel->Create(m_mdiArea, &m_router, &m_commands);
    }
    m_pSteeringWheel->InitHandles(peer);
    return true;
}

void CMainFrame::OnSteeringWheelRead(uint16_t handle, std::span<const uint8_t> value) {
    if (m_pSteeringWheel)
        m_pSteeringWheel->OnReportReferenceRead(handle, value);
}

void CMainFrame::OnSteeringWheelNotification(uint16_t handle, std::span<const uint8_t> value) {
    if (m_pSteeringWheel)
        m_pSteeringWheel->OnReportNotification(handle, value);
}
