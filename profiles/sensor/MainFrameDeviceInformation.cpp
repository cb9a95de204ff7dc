// The main window's part of the device-information profile: its handles, its window's opening with
// one read per value, and the routing of what the reads return.
#include "mainframe/CMainFrame.h"

#include "gatt/Uuids.h"
#include "profiles/sensor/CDeviceInformationCtrl.h"

#include <array>
#include <utility>

namespace {
namespace Chr = CharacteristicUuid;
using Row = CDeviceInformationCtrl::Row;

// The values in the order they are read, each with the list row that shows it.
constexpr std::array<std::pair<uint16_t, Row>, CDeviceInformationCtrl::RowCount> kValues = {{
    {Chr::ManufacturerName, Row::RowManufacturer},
    {Chr::ModelNumber, Row::RowModel},
    {Chr::SerialNumber, Row::RowSerialNumber},
    {Chr::FirmwareRevision, Row::RowFirmwareRevision},
    {Chr::HardwareRevision, Row::RowHardwareRevision},
    {Chr::SoftwareRevision, Row::RowSoftwareRevision},
    {Chr::SystemId, Row::RowSystemId},
    {Chr::RegulatoryCertification, Row::RowCertificationData},
    {Chr::PnpId, Row::RowPnpId},
}};
} // namespace

bool CMainFrame::FindDeviceInformationHandles(BleDeviceRecord& /*peer*/, const BleServiceEntry& service) {
    if (!IsService16(service, ServiceUuid::DeviceInformation))
        return false;
    for (const auto& [characteristic, row] : kValues)
        m_valueHandles[characteristic] = BleDeviceRecord::GetHandle16(service, characteristic, false);
    return true;
}

void CMainFrame::OpenDeviceInformationWindow(const BleDeviceRecord& peer) {
    if (m_pDeviceInformation || !peer.services.contains(MakeUuid16(ServiceUuid::DeviceInformation)))
        return;
    m_pDeviceInformation = new CDeviceInformationCtrl();
    m_pDeviceInformation->Create(m_mdiArea, &m_router, &m_commands);
    for (const auto& [characteristic, row] : kValues)
        QueueRead(peer.cid, ValueHandle(characteristic));
}

bool CMainFrame::OnDeviceInformationRead(uint16_t handle, std::span<const uint8_t> value) {
    if (!m_pDeviceInformation)
        return false;
    for (const auto& [characteristic, row] : kValues) {
        if (handle == ValueHandle(characteristic)) {
            m_pDeviceInformation->ShowValue(row, value);
            return true;
        }
    }
    return false;
}
