// The main window's part of the tyre-pressure profile: its window, opened by the walk over the peer's
// services, and the routing of its values and write results.
#include "mainframe/CMainFrame.h"

#include "gatt/Uuids.h"
#include "platform/DebugOutput.h"
#include "profiles/control/CTpmsCollectorCtrl.h"

// The window is created once; it takes its handles and queues its requests on every walk.
bool CMainFrame::FindTpmsHandles(BleDeviceRecord& peer, const BleServiceEntry& service) {
    if (!IsVendorUuid(service.uuid, VendorUuidHigh(VendorUuid::TemperaturePressureService)))
        return false;
    if (!m_pTpms) {
        m_pTpms = new CTpmsCollectorCtrl();
        m_pTpms->Create(m_mdiArea, &m_router, &m_commands);
    }
    m_pTpms->InitProfile(peer);
    return true;
}

void CMainFrame::OnTpmsRead(uint16_t handle, std::span<const uint8_t> value) {
    if (m_pTpms)
        m_pTpms->OnValueReceived(handle, value);
}

void CMainFrame::OnTpmsNotification(uint16_t handle, std::span<const uint8_t> value) {
    if (!m_pTpms)
        return;
    platform::OutputDebugString(QStringLiteral("Notification data recieved"));
    m_pTpms->OnValueReceived(handle, value);
}

void CMainFrame::OnTpmsWritten(uint16_t handle, uint16_t status) {
    if (m_pTpms)
        m_pTpms->OnWriteResponse(handle, status);
}
