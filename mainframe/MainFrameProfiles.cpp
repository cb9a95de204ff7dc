// Opening and closing the profile windows of the connected peer, in their fixed order.
//
// Every profile follows one pattern. Its CMainFrame members live beside its window, in
// profiles/<group>/MainFrame<Profile>.cpp, and this file only calls them, one line per profile:
// - Find<Profile>Handles(peer, service): the walk over the peer's services. Returns false unless the
//   service is the profile's; otherwise fills the handle tables (and queues what the walk reads).
//   The first member that takes a service ends its turn. A window that the walk itself opens (and
//   initialises again at every opening) is opened here.
// - Open<Profile>Window(peer): after the walk, in the fixed order; opens the window when the walk
//   found its service and queues its first reads and client-configuration writes.
// - Reopen<Profile>Window(peer): for the PC's own services, after those; opens the window again when
//   the peer's role bits say that it has used them.
// - the window's pointer is cleared in CloseProfileWindows.
// The routing of results follows in MainFrameRouting.cpp. The profile's commands are mapped by
// Map<Profile>Commands (called from MapCommands), its pending flags cleared by Clear<Profile>Pending
// (called from ResetRoutingState), and its members and state form a block of their own in
// CMainFrame.h.
#include "mainframe/CMainFrame.h"

#include "profiles/base/CChildFrame.h"
#include "res/resource.h"

bool CMainFrame::IsService16(const BleServiceEntry& service, uint16_t uuid) {
    return service.uuid.kind == BLE_UUID_KIND_16 && service.uuid.uuid16 == uuid;
}

uint16_t CMainFrame::ValueHandle(uint16_t uuid) const {
    const auto found = m_valueHandles.find(uuid);
    return found == m_valueHandles.end() ? 0 : found->second;
}

uint16_t CMainFrame::ConfigHandle(uint16_t uuid) const {
    const auto found = m_configHandles.find(uuid);
    return found == m_configHandles.end() ? 0 : found->second;
}

void CMainFrame::OpenProfileWindows(BleDeviceRecord* peer) {
    m_valueHandles.clear();
    m_configHandles.clear();
    ClearRequestQueues();

    // The walk, in the service map's order: 128-bit services first, then 16-bit ones from the highest.
    static constexpr ServiceStep kFindHandles[] = {
        &CMainFrame::FindGenericAccessHandles,
        &CMainFrame::FindSecurityTagHandles,
        &CMainFrame::FindGlucoseHandles,
        &CMainFrame::FindThermometerHandles,
        &CMainFrame::FindDeviceInformationHandles,
        &CMainFrame::FindHeartRateHandles,
        &CMainFrame::FindBatteryHandles,
        &CMainFrame::FindBloodPressureHandles,
        &CMainFrame::FindSteeringWheelHandles,
        &CMainFrame::FindHidHandles,
        &CMainFrame::FindRunningSpeedHandles,
        &CMainFrame::FindCycleSpeedHandles,
        &CMainFrame::FindEnvironmentHandles,
        &CMainFrame::FindBodyCompHandles,
        &CMainFrame::FindUserDataHandles,
        &CMainFrame::FindWeightScaleHandles,
        &CMainFrame::FindBondManagementHandles,
        &CMainFrame::FindRemoteHandles,
        // The maker's 128-bit services.
        &CMainFrame::FindTpmsHandles,
        &CMainFrame::FindVehicleInfoHandles,
        &CMainFrame::FindOTAAppServiceHandles,
        &CMainFrame::FindOTABootLoaderServiceHandles,
    };
    for (const auto& [uuid, service] : peer->services)
        for (const ServiceStep find : kFindHandles)
            if ((this->*find)(*peer, service))
                break;
    ActivateUserDataWindow(*peer);

    // The windows the walk found, in their fixed order.
    OpenSecurityTagWindow(*peer);
    OpenHeartRateWindow(*peer);
    OpenThermometerWindow(*peer);
    OpenRemoteWindow(*peer);
    OpenHidWindow(*peer);
    OpenGlucoseWindow(*peer);
    OpenBloodPressureWindow(*peer);
    OpenDeviceInformationWindow(*peer);
    OpenBatteryWindow(*peer);

    // The windows of the PC's own services that the peer has used (its role bits), in their fixed order.
    ReopenPhoneWindow(*peer);
    ReopenTimeWindow(*peer);
    ReopenAncsWindow(*peer);

    ProcessReadQueue(peer->cid);
    if (m_readQueue.empty() && !m_bReadInFlight)
        RunQuickConnectRestore();
}

void CMainFrame::CloseProfileWindows() {
    SavePhoneRecords();
    for (const QPointer<QWidget>& window : m_openWindows)
        if (auto* frame = qobject_cast<CChildFrame*>(window.data()))
            frame->DestroyWindow();
    m_openWindows.clear();
    m_valueHandles.clear();
    m_configHandles.clear();
    m_timers.killTimer(TIMER_RSSI);

    m_pSecurityTag = nullptr;
    m_pBattery = nullptr;
    m_pHeartRate = nullptr;
    m_pThermometer = nullptr;
    m_pRemote = nullptr;
    m_pRemoteGeneric = nullptr;
    m_pHid = nullptr;
    ClearHidTables();
    m_pDeviceInformation = nullptr;
    m_pGlucose = nullptr;
    m_pBloodPressure = nullptr;
    m_pRunningSpeed = nullptr;
    m_pCycleSpeed = nullptr;
    m_pTpms = nullptr;
    m_pWeightScale = nullptr;
    m_pBodyComp = nullptr;
    m_pUserData = nullptr;
    m_pVehicleInfo = nullptr;
    m_pSteeringWheel = nullptr;
    m_pEnvironment = nullptr;
    m_pAncs = nullptr;
    m_pOTAAppService = nullptr;
    m_pOTABootLoaderService = nullptr;
    m_pPhone = nullptr;
    m_pTime = nullptr;
}
