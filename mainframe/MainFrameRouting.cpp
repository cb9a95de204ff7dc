// Routing of the GATT client's results (read results and failures, notifications, write results)
// to the main window's own state and to the open profile windows, in a fixed order.
//
// The tables below hold one line per profile, in that order, naming the member that lives beside
// the profile's window (profiles/<group>/MainFrame<Profile>.cpp):
// - read results: On<Profile>Read(handle, value) returns true when the value was its own; the first
//   that does ends the step. Later read steps, offered to every open window whatever happened
//   before, go after that step.
// - notifications and indications: On<Profile>Notification(handle, value), every one in order.
// - write results: On<Profile>Written(handle, status) returns true when the write was its own; the
//   first that does ends the step. Before that step, windows that follow their own subscriptions
//   and control point get On<Profile>Written(handle, status, head) with the queued request the
//   result completed, as it was; after it, the later write steps go to every open window. A write
//   refused for lack of security and sent again is not a result yet: only its final result, success
//   or failure, reaches the members.
// A member whose window is not open does nothing (and returns false); each reads only the bytes the
// value holds.
#include "mainframe/CMainFrame.h"

#include "app/BleHostApi.h"

namespace {
constexpr uint16_t kAttReadNotPermitted = 0x02;
constexpr uint16_t kAttInsufficientAuthentication = 0x05;
constexpr uint16_t kAttInsufficientEncryption = 0x0F;
// A write refused for lack of security is sent again at most this often.
constexpr uint8_t kMaxSecurityResends = 3;

bool IsSecurityRefusal(uint16_t status) {
    return status == kAttInsufficientAuthentication || status == kAttInsufficientEncryption;
}
} // namespace

void CMainFrame::RequestEncryption() {
    BleDeviceRecord* peer = ConnectedRecord();
    if (!peer || m_bEncryptionRequested)
        return;
    const bool mitm = m_bMitmProtection && peer->appearance == kAppearanceKeyboard;
    bleHost().OrvBleHostSetEncryption(peer->cid, mitm ? 2 : 1);
    m_bEncryptionRequested = true;
}

void CMainFrame::ResetRoutingState() {
    m_bEncryptionRequested = false;
    m_nBondWriteHandle = 0;
    ClearSecurityTagPending();
    ClearBatteryPending();
    ClearHeartRatePending();
    ClearHidPending();
    ClearGlucosePending();
    ResetSignalStrength();
}

// ---- Reads ------------------------------------------------------------------------------------

void CMainFrame::OnCharacteristicRead(uint32_t cid, uint16_t handle, uint16_t length, const uint8_t* value) {
    const BleDeviceRecord* peer = ConnectedRecord();
    if (!peer || peer->cid != cid)
        return;
    m_bReadInFlight = false;
    AddLogMessage(QStringLiteral("Reading %1 complete.").arg(handle));
    const std::span<const uint8_t> bytes(value, value ? length : 0);

    static constexpr ReadStep kFirstMatch[] = {
        &CMainFrame::OnDeviceNameRead,
        &CMainFrame::OnBatteryRead,
        &CMainFrame::OnBondManagementFeatureRead,
        &CMainFrame::OnSecurityTagRead,
        &CMainFrame::OnHeartRateRead,
        &CMainFrame::OnDeviceInformationRead,
        &CMainFrame::OnRemoteRead,
        &CMainFrame::OnHidRead,
        &CMainFrame::OnGlucoseRead,
        &CMainFrame::OnBloodPressureRead,
        &CMainFrame::OnThermometerRead,
    };
    for (const ReadStep read : kFirstMatch)
        if ((this->*read)(handle, bytes))
            break;

    // Offered to every open window, whatever the steps above did.
    static constexpr ReadOfferStep kEveryWindow[] = {
        // Feature and location reads of the running and cycling windows.
        &CMainFrame::OnRunningSpeedRead,
        &CMainFrame::OnCycleSpeedRead,
        // Windows that take their values raw.
        &CMainFrame::OnTpmsRead,
        &CMainFrame::OnVehicleInfoRead,
        &CMainFrame::OnWeightScaleRead,
        &CMainFrame::OnBodyCompRead,
        &CMainFrame::OnUserDataRead,
        &CMainFrame::OnEnvironmentRead,
        &CMainFrame::OnOTAAppServiceRead,
        &CMainFrame::OnOTABootLoaderServiceRead,
        &CMainFrame::OnHidReportRead,
        &CMainFrame::OnSteeringWheelRead,
    };
    for (const ReadOfferStep offer : kEveryWindow)
        (this->*offer)(handle, bytes);

    if (m_readQueue.empty())
        OnReadQueueDrained();
    else
        ProcessReadQueue(peer->cid);
}

void CMainFrame::OnReadQueueDrained() {
    ClearBatteryPending();
    ClearHidPending();
    RunQuickConnectRestore();
}

void CMainFrame::OnCharacteristicReadFailed(uint32_t cid, uint16_t handle, uint16_t status) {
    if (!ConnectedRecord())
        return;
    const bool securityRefusal = status == kAttReadNotPermitted || IsSecurityRefusal(status);
    if (securityRefusal && !m_bLinkEncrypted) {
        // Waits for the security result, which restarts the reads (the in-flight mark stays set).
        m_bReadAwaitsSecurity = true;
        RequestEncryption();
        if (handle != 0)
            m_readQueue.push_back(handle);
        ProcessReadQueue(cid);
        return;
    }
    AddLogMessage(
        QStringLiteral("Failed to read characteristic handle %1, result = %2\n").arg(handle).arg(status));
    OnBatteryReadFailed(handle);
    m_bReadInFlight = false;
    if (m_readQueue.empty())
        OnReadQueueDrained();
    else
        ProcessReadQueue(cid);
}

// ---- Notifications and indications -----------------------------------------------------------

void CMainFrame::OnCharacteristicNotification(uint32_t cid, uint16_t handle, uint16_t length,
                                              const uint8_t* value) {
    const BleDeviceRecord* peer = ConnectedRecord();
    if (!peer || peer->cid != cid)
        return;
    const std::span<const uint8_t> bytes(value, value ? length : 0);

    static constexpr NotificationStep kEveryWindow[] = {
        &CMainFrame::OnBatteryNotification,
        &CMainFrame::OnHeartRateNotification,
        &CMainFrame::OnThermometerNotification,
        &CMainFrame::OnRemoteNotification,
        &CMainFrame::OnHidNotification,
        &CMainFrame::OnSteeringWheelNotification,
        &CMainFrame::OnGlucoseNotification,
        &CMainFrame::OnBloodPressureNotification,
        // Running and cycling hide the progress window too, whatever the value.
        &CMainFrame::OnRunningSpeedNotification,
        &CMainFrame::OnCycleSpeedNotification,
        &CMainFrame::OnTpmsNotification,
        &CMainFrame::OnVehicleInfoNotification,
        &CMainFrame::OnWeightScaleNotification,
        &CMainFrame::OnBodyCompNotification,
        &CMainFrame::OnUserDataNotification,
    };
    for (const NotificationStep notify : kEveryWindow)
        (this->*notify)(handle, bytes);
}

// ---- Writes -----------------------------------------------------------------------------------

bool CMainFrame::ResendAfterSecurityRefusal(uint16_t status) {
    if (!IsSecurityRefusal(status) || !ConnectedRecord() || !m_bWriteInFlight || m_writeQueue.empty() ||
        m_writeQueue.front().securityRefusals >= kMaxSecurityResends)
        return false;
    ++m_writeQueue.front().securityRefusals;
    RequestEncryption();
    m_bWriteInFlight = false;
    ProcessWriteQueue();
    return true;
}

// The write in flight is over: its request leaves the queue when the result is for it, and the next
// one is sent. Returns the head request as it was when the result arrived, if there was one.
std::optional<GattWriteRequest> CMainFrame::CompleteWriteInFlight(uint16_t handle) {
    if (!m_bWriteInFlight)
        return std::nullopt;
    while (!m_writeQueue.empty() && m_writeQueue.front().handle == 0)
        m_writeQueue.pop_front();
    m_bWriteInFlight = false;
    if (m_writeQueue.empty()) {
        ProcessWriteQueue();
        return std::nullopt;
    }
    const GattWriteRequest head = m_writeQueue.front();
    if (handle == head.configHandle || handle == head.handle)
        m_writeQueue.pop_front();
    ProcessWriteQueue();
    return head;
}

void CMainFrame::OnCharacteristicWritten(uint16_t handle, uint16_t status) {
    if (status != 0) {
        AddLogMessage(QString::asprintf("Failed to write characteristic %d: %02X\n", handle, status));
        if (ResendAfterSecurityRefusal(status))
            return;
    } else {
        AddLogMessage(QString::asprintf("Writing to handle %02d successful.\n", handle));
    }
    OnBondManagementWritten(handle);
    const std::optional<GattWriteRequest> head = CompleteWriteInFlight(handle);
    static constexpr HeadStep kHeadWritten[] = {
        &CMainFrame::OnRunningSpeedWritten,
        &CMainFrame::OnCycleSpeedWritten,
    };
    for (const HeadStep written : kHeadWritten)
        (this->*written)(handle, status, head ? &*head : nullptr);

    static constexpr WriteStep kFirstMatch[] = {
        &CMainFrame::OnSecurityTagWritten,
        &CMainFrame::OnHeartRateWritten,
        &CMainFrame::OnGlucoseWritten,
        &CMainFrame::OnDeviceNameWritten,
    };
    for (const WriteStep written : kFirstMatch)
        if ((this->*written)(handle, status))
            break;
    OnHidProtocolModeWritten(handle, status);

    // Offered to every open window, success and failure alike.
    static constexpr WriteOfferStep kEveryWindow[] = {
        &CMainFrame::OnTpmsWritten,
        &CMainFrame::OnVehicleInfoWritten,
        &CMainFrame::OnUserDataWritten,
        &CMainFrame::OnEnvironmentWritten,
    };
    for (const WriteOfferStep offer : kEveryWindow)
        (this->*offer)(handle, status);
}
