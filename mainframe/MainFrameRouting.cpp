// Routing of the GATT client's results: read results and failures, notifications, write results.
#include "mainframe/CMainFrame.h"

#include "app/BleHostApi.h"
#include "gatt/HeartRate.h"
#include "gatt/Uuids.h"
#include "gatt/ValueText.h"
#include "panes/CDeviceView.h"
#include "panes/CPropertiesWnd.h"
#include "platform/ui/CmdUI.h"

#include <QTreeWidgetItem>
#include <span>

namespace {
namespace Chr = CharacteristicUuid;

constexpr uint16_t kAttReadNotPermitted = 0x02;
constexpr uint16_t kAttInsufficientAuthentication = 0x05;
constexpr uint16_t kAttInsufficientEncryption = 0x0F;
constexpr uint8_t kBondDeletionByPeer = 0x10;
constexpr uint16_t kAppearanceKeyboard = 0x03C1;
constexpr uint8_t kResetEnergyExpended = 0x01;
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

// ---- Reads ------------------------------------------------------------------------------------

void CMainFrame::OnCharacteristicRead(uint32_t cid, uint16_t handle, uint16_t length, const uint8_t* value) {
    BleDeviceRecord* peer = ConnectedRecord();
    if (!peer || peer->cid != cid)
        return;
    m_bReadInFlight = false;
    AddLogMessage(QStringLiteral("Reading %1 complete.").arg(handle));
    const std::span<const uint8_t> bytes(value, value ? length : 0);

    // First match only.
    if (handle == ValueHandle(Chr::DeviceName)) {
        const QString name = Utf8ToCString(value, length);
        if (name != peer->GetDisplayName()) {
            peer->SetName(name);
            m_wndDeviceView->SetDeviceItemText(static_cast<QTreeWidgetItem*>(peer->treeItem),
                                               peer->GetDisplayName());
            if (SelectedRecord() == peer)
                m_wndProperties->SetPropertyValue(name);
        }
    } else if (handle == ValueHandle(Chr::BondManagementFeature)) {
        if (bytes.empty())
            AddLogMessage(QStringLiteral("Bond Management Feature value is empty; ignored."));
        else if (bytes[0] & kBondDeletionByPeer)
            peer->bondDeletionSupported = true;
    } else if (handle == ValueHandle(Chr::BodySensorLocation) && m_pHeartRate) {
        if (bytes.empty())
            AddLogMessage(QStringLiteral("Body Sensor Location value is empty; ignored."));
        else
            m_pHeartRate->ShowBodySensorLocation(bytes[0]);
    }

    if (m_readQueue.empty())
        OnReadQueueDrained();
    else
        ProcessReadQueue(peer->cid);
}

void CMainFrame::OnReadQueueDrained() {
    RunQuickConnectRestore();
}

void CMainFrame::OnCharacteristicReadFailed(uint32_t cid, uint16_t handle, uint16_t status) {
    if (!ConnectedRecord())
        return;
    const bool securityRefusal = status == kAttReadNotPermitted || IsSecurityRefusal(status);
    if (securityRefusal && !m_bLinkEncrypted) {
        // Waits for the security result, which restarts the reads (the in-flight mark stays set).
        RequestEncryption();
        if (handle != 0)
            m_readQueue.push_back(handle);
        ProcessReadQueue(cid);
        return;
    }
    AddLogMessage(
        QStringLiteral("Failed to read characteristic handle %1, result = %2\n").arg(handle).arg(status));
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

    // Every open window in this order; no early exit.
    if (m_pHeartRate && handle == ValueHandle(Chr::HeartRateMeasurement)) {
        const auto measurement = HeartRateMeasurement::decode(bytes);
        if (!measurement) {
            AddLogMessage(
                QStringLiteral("Heart Rate Measurement of %1 bytes is too short; ignored.").arg(length));
        } else {
            m_pHeartRate->ShowHeartRate(measurement->rate);
            m_pHeartRate->ShowSensorContact(static_cast<uint32_t>(measurement->contact));
            if (measurement->energyExpended)
                m_pHeartRate->ShowEnergyExpended(*measurement->energyExpended);
            if (measurement->rrPresent)
                m_pHeartRate->ShowRRIntervals(measurement->rrIntervals);
            else
                m_pHeartRate->ClearRRIntervals();
        }
    }
}

// ---- Writes -----------------------------------------------------------------------------------

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
        OnWriteCharacteristicFailed(handle, status);
        return;
    }
    if (handle == m_nBondWriteHandle)
        OnBondManagementWritten();
    AddLogMessage(QString::asprintf("Writing to handle %02d successful.\n", handle));
    CompleteWriteInFlight(handle);

    // First match only.
    if (m_nResetHandle != 0 && handle == m_nResetHandle) {
        m_nResetHandle = 0;
        m_bHeartRateResetPending = false;
        if (m_pHeartRate)
            m_pHeartRate->ClearEnergyExpended();
    } else if (handle == ValueHandle(Chr::DeviceName)) {
        OnRenameComplete(true);
    }
}

void CMainFrame::OnWriteCharacteristicFailed(uint16_t handle, uint16_t status) {
    AddLogMessage(QString::asprintf("Failed to write characteristic %d: %02X\n", handle, status));
    if (IsSecurityRefusal(status) && ConnectedRecord() && m_bWriteInFlight && !m_writeQueue.empty() &&
        m_writeQueue.front().securityRefusals < kMaxSecurityResends) {
        ++m_writeQueue.front().securityRefusals;
        RequestEncryption();
        m_bWriteInFlight = false;
        ProcessWriteQueue();
        return;
    }

    if (handle == m_nBondWriteHandle)
        OnBondManagementWritten();
    CompleteWriteInFlight(handle);
    if (m_nResetHandle != 0 && handle == m_nResetHandle) {
        m_nResetHandle = 0;
        m_bHeartRateResetPending = false;
    } else if (handle == ValueHandle(Chr::DeviceName)) {
        OnRenameComplete(false);
    }
}

// ---- Heart-rate Reset (command 1046) ------------------------------------------------------------

void CMainFrame::OnHeartRateReset() {
    const BleDeviceRecord* peer = ConnectedRecord();
    const uint16_t controlPoint = ValueHandle(Chr::HeartRateControlPoint);
    if (!m_pHeartRate || !peer || !peer->connected || controlPoint == 0)
        return;
    const uint8_t command[] = {kResetEnergyExpended};
    WriteCharacteristic(peer->cid, controlPoint, sizeof command, command, GattWriteRequest::kWriteRequest);
    m_bHeartRateResetPending = true;
    m_nResetHandle = controlPoint;
}
