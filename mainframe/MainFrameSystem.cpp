// The system around the main window: dongle removal, suspend and resume.
#include "mainframe/CMainFrame.h"

#include "app/BleHostApi.h"
#include "app/COrvBleDemoApp.h"
#include "app/DongleDetection.h"
#include "platform/Prompter.h"
#include "platform/StringTable.h"
#include "res/resource.h"

namespace {
constexpr UINT kDeviceNodesChanged = 0x0001;
constexpr UINT kResumeDelayMs = 2000;
} // namespace

LRESULT CMainFrame::OnDeviceChange(UINT eventType, uintptr_t /*data*/) {
    if (eventType != DBT_DEVICEREMOVECOMPLETE && eventType != kDeviceNodesChanged)
        return 0;
    if (m_bDeviceChecksSuspended)
        return 0;
    // A dongle held by another process is still there.
    if (const DongleState dongle = CheckDongle(); dongle == DongleState::Ready || dongle == DongleState::Busy)
        return 0;
    if (ConnectedRecord())
        OnDisconnected(0);
    platform::AfxMessageBox(platform::LoadString(IDS_DONGLE_UNPLUGGED), MB_OK);
    close();
    return 0;
}

LRESULT CMainFrame::OnPowerBroadcast(UINT powerEvent, LPARAM /*data*/) {
    if (powerEvent == PBT_APMSUSPEND) {
        m_bDeviceChecksSuspended = true;
        // A resume still waiting to start the host is void, and so is its progress: the system sleeps again.
        m_timers.killTimer(TIMER_RESUME);
        if (m_bResumePending)
            HideProgress();
        m_bResumePending = false;
        if (COrvBleDemoApp* app = AfxGetApp())
            app->DeinitBleHost();
        if (ConnectedRecord())
            OnDisconnected(0);
        else if (m_searchState == Search::Searching) {
            m_searchState = Search::Stopping;
            OnSearchStopped();
        }
        return 0;
    }
    if (powerEvent == PBT_APMRESUMECRITICAL || powerEvent == PBT_APMRESUMESUSPEND) {
        if (m_bResumePending)
            return 0;
        m_bResumePending = true;
        ShowProgress(platform::LoadString(IDS_STARTING_UP), platform::LoadString(IDS_INITIALIZING_USB), true,
                     true);
        m_timers.setTimer(TIMER_RESUME, kResumeDelayMs);
    }
    return 0;
}

void CMainFrame::ResumeHost() {
    m_bResumePending = false;
    COrvBleDemoApp* app = AfxGetApp();
    // A resume without a suspend before it finds the host still up: there is nothing to start.
    if (app && app->IsHostInitialised()) {
        HideProgress();
        return;
    }
    bool ok = app && app->InitBleHost(m_bHostDebug);
    if (ok && bleHost().OrvBleHostStartWnd(GetSafeHwnd()) == 0) {
        platform::AfxMessageBox(QStringLiteral("Unable to start BLE client"), MB_OK);
        ok = false;
    }
    if (!ok)
        close();
}
