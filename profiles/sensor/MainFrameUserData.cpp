// The main window's part of the user-data profile: its window, opened during the walk and then made
// the active one, and the routing of its values and write results. A deletion of the user's data also
// clears the user display of the weight-scale and body-composition windows.
#include "mainframe/CMainFrame.h"

#include "gatt/Uuids.h"
#include "platform/DebugOutput.h"
#include "profiles/sensor/CUserDataCtrl.h"

#include <QMdiArea>
#include <QMdiSubWindow>

bool CMainFrame::FindUserDataHandles(BleDeviceRecord& peer, const BleServiceEntry& service) {
    if (!IsService16(service, ServiceUuid::UserData))
        return false;
    if (!m_pUserData) {
        m_pUserData = new CUserDataCtrl();
        m_pUserData->Create(m_mdiArea, &m_router, &m_commands);
    }
    m_pUserData->InitProfile(peer);
    return true;
}

// After the walk: a window the walk opens later (body composition comes after user data) would
// otherwise take the activation with its creation.
void CMainFrame::ActivateUserDataWindow(const BleDeviceRecord& peer) {
    if (!m_pUserData || !peer.services.contains(MakeUuid16(ServiceUuid::UserData)))
        return;
    if (auto* subWindow = qobject_cast<QMdiSubWindow*>(m_pUserData->parentWidget()))
        m_mdiArea->setActiveSubWindow(subWindow);
}

void CMainFrame::OnUserDataRead(uint16_t handle, std::span<const uint8_t> value) {
    if (m_pUserData)
        m_pUserData->OnReadResponse(handle, value);
}

void CMainFrame::OnUserDataNotification(uint16_t handle, std::span<const uint8_t> value) {
    if (!m_pUserData)
        return;
    platform::OutputDebugString(QStringLiteral("Indication data recieved"));
    if (m_pUserData->OnControlPointIndication(handle, value) != 0)
        return;
    if (m_pWeightScale)
        m_pWeightScale->ClearUserDisplay();
    if (m_pBodyComp)
        m_pBodyComp->ClearValues();
}

void CMainFrame::OnUserDataWritten(uint16_t handle, uint16_t status) {
    if (m_pUserData)
        m_pUserData->OnWriteResponse(handle, status);
}
