// The main window's part of the health-thermometer profile: its handles, its window's opening and the
// routing of the temperature type and measurements.
#include "mainframe/CMainFrame.h"

#include "gatt/HealthThermometer.h"
#include "gatt/Uuids.h"
#include "panes/CLogDialog.h"
#include "profiles/sensor/CTemperatureCtrl.h"

namespace {
namespace Chr = CharacteristicUuid;

constexpr uint8_t kIndications = 2;
} // namespace

bool CMainFrame::FindThermometerHandles(BleDeviceRecord& /*peer*/, const BleServiceEntry& service) {
    if (!IsService16(service, ServiceUuid::HealthThermometer))
        return false;
    for (const uint16_t characteristic : {Chr::TemperatureMeasurement, Chr::TemperatureType})
        m_valueHandles[characteristic] = BleDeviceRecord::GetHandle16(service, characteristic, false);
    m_configHandles[Chr::TemperatureMeasurement] =
        BleDeviceRecord::GetHandle16(service, Chr::TemperatureMeasurement, true);
    return true;
}

void CMainFrame::OpenThermometerWindow(const BleDeviceRecord& peer) {
    if (m_pThermometer || !peer.services.contains(MakeUuid16(ServiceUuid::HealthThermometer)))
        return;
    m_pThermometer = new CTemperatureCtrl();
    m_pThermometer->Create(m_mdiArea, &m_router, &m_commands);
    WriteClientConfiguration(peer.cid, ValueHandle(Chr::TemperatureMeasurement),
                             ConfigHandle(Chr::TemperatureMeasurement), kIndications);
    QueueRead(peer.cid, ValueHandle(Chr::TemperatureType));
}

bool CMainFrame::OnThermometerRead(uint16_t handle, std::span<const uint8_t> value) {
    if (!m_pThermometer || handle != ValueHandle(Chr::TemperatureType))
        return false;
    if (value.empty())
        AddLogMessage(QStringLiteral("Temperature Type value is empty; ignored."));
    else
        m_pThermometer->ShowTemperatureType(value[0]);
    return true;
}

void CMainFrame::OnThermometerNotification(uint16_t handle, std::span<const uint8_t> value) {
    if (!m_pThermometer || handle != ValueHandle(Chr::TemperatureMeasurement))
        return;
    const auto measurement = TemperatureMeasurement::decode(value);
    if (!measurement) {
        AddLogMessage(
            QStringLiteral("Temperature Measurement of %1 bytes is too short; ignored.").arg(value.size()));
        return;
    }
    m_pThermometer->ShowTemperature(measurement->fahrenheit ? 1 : 0, measurement->value);
    m_pLog->AddHexDump(QStringLiteral("Received Temperature "), value.data() + 1,
                       static_cast<uint16_t>(value.size() - 1));
}
