// The main window's part of the blood-pressure profile: its handles, its window's opening and the
// routing of the feature read, the measurements and the cuff pressures.
#include "mainframe/CMainFrame.h"

#include "gatt/BloodPressure.h"
#include "gatt/Uuids.h"
#include "gatt/ValueText.h"
#include "profiles/sensor/CBloodPressureCtrl.h"

#include <ctime>

namespace {
namespace Chr = CharacteristicUuid;

constexpr uint8_t kNotifications = 1;
constexpr uint8_t kIndications = 2;
} // namespace

bool CMainFrame::FindBloodPressureHandles(BleDeviceRecord& /*peer*/, const BleServiceEntry& service) {
    if (!IsService16(service, ServiceUuid::BloodPressure))
        return false;
    for (const uint16_t characteristic :
         {Chr::BloodPressureMeasurement, Chr::IntermediateCuffPressure, Chr::BloodPressureFeature})
        m_valueHandles[characteristic] = BleDeviceRecord::GetHandle16(service, characteristic, false);
    for (const uint16_t characteristic : {Chr::BloodPressureMeasurement, Chr::IntermediateCuffPressure})
        m_configHandles[characteristic] = BleDeviceRecord::GetHandle16(service, characteristic, true);
    return true;
}

void CMainFrame::OpenBloodPressureWindow(const BleDeviceRecord& peer) {
    if (m_pBloodPressure || !peer.services.contains(MakeUuid16(ServiceUuid::BloodPressure)))
        return;
    m_pBloodPressure = new CBloodPressureCtrl();
    m_pBloodPressure->Create(m_mdiArea, &m_router, &m_commands);
    QueueRead(peer.cid, ValueHandle(Chr::BloodPressureFeature));
    WriteClientConfiguration(peer.cid, ValueHandle(Chr::BloodPressureMeasurement),
                             ConfigHandle(Chr::BloodPressureMeasurement), kIndications);
    WriteClientConfiguration(peer.cid, ValueHandle(Chr::IntermediateCuffPressure),
                             ConfigHandle(Chr::IntermediateCuffPressure), kNotifications);
}

bool CMainFrame::OnBloodPressureRead(uint16_t handle, std::span<const uint8_t> value) {
    if (!m_pBloodPressure || handle != ValueHandle(Chr::BloodPressureFeature))
        return false;
    AddLogMessage(QStringLiteral("Received Blood Pressure features: ") +
                  BytesToHexString(value.data(), static_cast<int>(value.size()), QStringLiteral(" "), false));
    return true;
}

void CMainFrame::OnBloodPressureNotification(uint16_t handle, std::span<const uint8_t> value) {
    if (!m_pBloodPressure || (handle != ValueHandle(Chr::BloodPressureMeasurement) &&
                              handle != ValueHandle(Chr::IntermediateCuffPressure)))
        return;
    const auto measurement = BloodPressureMeasurement::decode(value);
    if (!measurement) {
        AddLogMessage(
            QStringLiteral("Blood pressure value of %1 bytes is too short; ignored.").arg(value.size()));
        return;
    }
    m_pBloodPressure->ShowPressure(measurement->kpa, measurement->systolic, measurement->diastolic,
                                   measurement->meanArterial);
    if (measurement->timeStamp)
        m_pBloodPressure->ShowTimeStamp(ReceivedLocalTime(*measurement->timeStamp, std::time(nullptr)));
    if (measurement->pulseRate)
        m_pBloodPressure->ShowPulseRate(*measurement->pulseRate);
    if (measurement->userId || measurement->status)
        m_pBloodPressure->ShowUserAndStatus(measurement->userId.value_or(BloodPressureMeasurement::kNoUser),
                                            measurement->status.value_or(0));
}
