// Opening and closing the profile windows of the connected peer, and the handle tables they use.
#include "mainframe/CMainFrame.h"

#include "gatt/UuidFunctions.h"
#include "gatt/Uuids.h"
#include "panes/CPropertiesWnd.h"
#include "profiles/sensor/CHeartRateMonitorCtrl.h"
#include "res/resource.h"

namespace {
constexpr uint8_t kPropertyWrite = 0x08;
constexpr uint8_t kNotifications = 1;

namespace Svc = ServiceUuid;
namespace Chr = CharacteristicUuid;
} // namespace

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

    // Services in the map's order: 128-bit services first, then 16-bit ones from the highest down.
    bool openHeartRate = false;
    for (const auto& [uuid, service] : peer->services) {
        if (uuid.kind != BLE_UUID_KIND_16)
            continue;
        const auto value = [&](uint16_t characteristic) {
            m_valueHandles[characteristic] = BleDeviceRecord::GetHandle16(service, characteristic, false);
        };
        const auto config = [&](uint16_t characteristic) {
            m_configHandles[characteristic] = BleDeviceRecord::GetHandle16(service, characteristic, true);
        };
        switch (uuid.uuid16) {
        case Svc::GenericAccess: {
            value(Chr::DeviceName);
            QueueRead(peer->cid, ValueHandle(Chr::DeviceName));
            uint16_t properties = 0;
            peer->GetCharacteristicProperties(uuid, MakeUuid16(Chr::DeviceName), properties);
            if (properties & kPropertyWrite)
                m_wndProperties->EnableNameProperty(true);
            break;
        }
        case Svc::HeartRate:
            value(Chr::HeartRateMeasurement);
            value(Chr::BodySensorLocation);
            value(Chr::HeartRateControlPoint);
            config(Chr::HeartRateMeasurement);
            openHeartRate = true;
            break;
        case Svc::BondManagement:
            value(Chr::BondManagementFeature);
            ReadCharacteristic(ValueHandle(Chr::BondManagementFeature));
            value(Chr::BondManagementControlPoint);
            break;
        default:
            break;
        }
    }

    // The windows of the walk, in their fixed order.
    if (openHeartRate && !m_pHeartRate) {
        m_pHeartRate = new CHeartRateMonitorCtrl();
        m_pHeartRate->Create(m_mdiArea, &m_router, &m_commands);
        WriteClientConfiguration(peer->cid, ValueHandle(Chr::HeartRateMeasurement),
                                 ConfigHandle(Chr::HeartRateMeasurement), kNotifications);
        QueueRead(peer->cid, ValueHandle(Chr::BodySensorLocation));
    }

    ProcessReadQueue(peer->cid);
    if (m_readQueue.empty() && !m_bReadInFlight)
        RunQuickConnectRestore();
}

void CMainFrame::CloseProfileWindows() {
    for (const QPointer<QWidget>& window : m_openWindows)
        if (auto* frame = qobject_cast<CChildFrame*>(window.data()))
            frame->DestroyWindow();
    m_openWindows.clear();
    m_valueHandles.clear();
    m_configHandles.clear();
    m_pHeartRate = nullptr;
}
