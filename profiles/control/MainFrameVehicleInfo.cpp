// The main window's part of the vehicle information profile: its window, opened by the walk over the
// peer's services, and the routing of its values and write results.
#include "mainframe/CMainFrame.h"

#include "gatt/Uuids.h"
#include "profiles/control/CVehicleInfoCtrl.h"

// The window is created once; it takes its handles and queues its requests on every walk.
bool CMainFrame::FindVehicleInfoHandles(BleDeviceRecord& peer, const BleServiceEntry& service) {
    if (!IsVendorUuid(service.uuid, VendorUuidHigh(VendorUuid::VehicleInformationService)))
        return false;
    if (!m_pVehicleInfo) {
        m_pVehicleInfo = new CVehicleInfoCtrl();
        m_pVehicleInfo->Create(m_mdiArea, &m_router, &m_commands);
    }
    m_pVehicleInfo->InitProfile(peer);
    return true;
}

void CMainFrame::OnVehicleInfoRead(uint16_t handle, std::span<const uint8_t> value) {
    if (m_pVehicleInfo)
        m_pVehicleInfo->OnValueReceived(handle, value);
}

void CMainFrame::OnVehicleInfoNotification(uint16_t handle, std::span<const uint8_t> value) {
    if (m_pVehicleInfo)
        m_pVehicleInfo->OnValueReceived(handle, value);
}

void CMainFrame::OnVehicleInfoWritten(uint16_t handle, uint16_t status) {
    if (m_pVehicleInfo)
        m_pVehicleInfo->OnWriteResponse(handle, status);
}
