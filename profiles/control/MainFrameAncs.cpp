// The main window's part of the notification center: its window, opened by the peer's first write to
// the provider's attributes and again on a later selection, and the provider's state it hands to it.
#include "mainframe/CMainFrame.h"

void CMainFrame::KeepAncsHandles() {
    const AncsServerHandles& h = m_serverHandles.ancs;
    m_ancs.controlPoint = h.controlPoint;
    m_ancs.notificationSource = h.notificationSource;
    m_ancs.notificationSourceConfig = h.notificationSourceConfig;
    m_ancs.dataSource = h.dataSource;
    m_ancs.dataSourceConfig = h.dataSourceConfig;
}

bool CMainFrame::IsAncsHandle(uint16_t handle) const {
    const AncsServerHandles& h = m_serverHandles.ancs;
    return handle != 0 &&
           (handle == h.controlPoint || handle == h.notificationSource ||
            handle == h.notificationSourceConfig || handle == h.dataSource || handle == h.dataSourceConfig);
}

void CMainFrame::OpenAncsWindow() {
    if (m_pAncs || m_nConnectedDevice < 0 || m_nConnectedDevice >= static_cast<int>(m_devices.size()))
        return;
    m_pAncs = new CAncsCtrl();
    m_pAncs->Create(m_mdiArea, &m_router, &m_commands);
    m_pAncs->InitServer(m_devices[static_cast<size_t>(m_nConnectedDevice)], &m_ancs);
    ShowServerWindow(m_pAncs, BleDeviceRecord::kRoleNotificationCenter);
}

void CMainFrame::ReopenAncsWindow(const BleDeviceRecord& peer) {
    if (!(peer.roles & BleDeviceRecord::kRoleNotificationCenter))
        return;
    if (m_pAncs)
        ShowServerWindow(m_pAncs, BleDeviceRecord::kRoleNotificationCenter);
    else
        OpenAncsWindow();
}

// The peer's subscriptions belong to one connection.
void CMainFrame::ResetAncsState() {
    m_ancs.notificationSourceOn = false;
    m_ancs.dataSourceOn = false;
}
