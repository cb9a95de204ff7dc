// The main window's part of the environment profile: its window's opening and the routing of its read
// and write results. The progress window's Stop ends its calibration (CancelConnect).
#include "mainframe/CMainFrame.h"

#include "gatt/Uuids.h"

bool CMainFrame::FindEnvironmentHandles(BleDeviceRecord& peer, const BleServiceEntry& service) {
    if (!IsService16(service, ServiceUuid::EnvironmentalSensing))
        return false;
    if (!m_pEnvironment) {
        m_pEnvironment = new CEnvironmentCtrl();
        m_pEnvironment->Create(m_mdiArea, &m_router, &m_commands);
    }
    m_pEnvironment->InitProfile(&peer);
    return true;
}

void CMainFrame::OnEnvironmentRead(uint16_t handle, std::span<const uint8_t> value) {
    if (m_pEnvironment)
        m_pEnvironment->OnCharacteristicValue(handle, static_cast<int>(value.size()), value.data());
}

void CMainFrame::OnEnvironmentWritten(uint16_t handle, uint16_t status) {
    if (m_pEnvironment)
        m_pEnvironment->OnWriteResponse(handle, status);
}
