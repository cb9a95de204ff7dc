// The main window's part of the weight-scale profile: its window, opened during the walk, and the
// routing of its values.
#include "mainframe/CMainFrame.h"

#include "gatt/Uuids.h"
#include "platform/DebugOutput.h"
#include "profiles/sensor/CWeightScaleCtrl.h"

bool CMainFrame::FindWeightScaleHandles(BleDeviceRecord& peer, const BleServiceEntry& service) {
    if (!IsService16(service, ServiceUuid::WeightScale))
        return false;
    if (!m_pWeightScale) {
        m_pWeightScale = new CWeightScaleCtrl();
        m_pWeightScale->Create(m_mdiArea, &m_router, &m_commands);
    }
    m_pWeightScale->InitProfile(peer);
    return true;
}

void CMainFrame::OnWeightScaleRead(uint16_t handle, std::span<const uint8_t> value) {
    if (m_pWeightScale)
        m_pWeightScale->OnValueReceived(handle, value);
}

void CMainFrame::OnWeightScaleNotification(uint16_t handle, std::span<const uint8_t> value) {
    if (!m_pWeightScale)
        return;
    platform::OutputDebugString(QStringLiteral("Indication data recieved"));
    m_pWeightScale->OnValueReceived(handle, value);
}
