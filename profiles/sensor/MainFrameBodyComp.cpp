// The main window's part of the body-composition profile: its window, opened during the walk, and the
// routing of its values.
#include "mainframe/CMainFrame.h"

#include "gatt/Uuids.h"
#include "platform/DebugOutput.h"
#include "profiles/sensor/CBodyCompCtrl.h"

bool CMainFrame::FindBodyCompHandles(BleDeviceRecord& peer, const BleServiceEntry& service) {
    if (!IsService16(service, ServiceUuid::BodyComposition))
        return false;
    if (!m_pBodyComp) {
        m_pBodyComp = new CBodyCompCtrl();
        m_pBodyComp->Create(m_mdiArea, &m_router, &m_commands);
    }
    m_pBodyComp->InitProfile(peer);
    return true;
}

void CMainFrame::OnBodyCompRead(uint16_t handle, std::span<const uint8_t> value) {
    if (m_pBodyComp)
        m_pBodyComp->OnMeasurement(handle, value);
}

void CMainFrame::OnBodyCompNotification(uint16_t handle, std::span<const uint8_t> value) {
    if (!m_pBodyComp)
        return;
    platform::OutputDebugString(QStringLiteral("Indication data received"));
    m_pBodyComp->OnMeasurement(handle, value);
}
