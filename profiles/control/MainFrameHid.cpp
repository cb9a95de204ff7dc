// The main window's part of HID devices: the report tables, the window's opening and first reads, the
// routing of its values and the commands of its buttons.
#include "mainframe/CMainFrame.h"

#include "gatt/Hid.h"
#include "gatt/Uuids.h"
#include "platform/ui/CmdUI.h"
#include "profiles/control/HidIds.h"

namespace {
namespace Chr = CharacteristicUuid;

constexpr uint8_t kNotifications = 1;

bool IsReportReference(const BleDescriptorEntry& descriptor) {
    return descriptor.uuid.kind == BLE_UUID_KIND_16 &&
           descriptor.uuid.uuid16 == DescriptorUuid::ReportReference;
}
} // namespace

void CMainFrame::MapHidCommands() {
    m_commands.onCommand(ID_HID_GET_PROTOCOL_MODE, [this] { OnHidGetProtocolMode(); });
    m_commands.onUpdate(ID_HID_GET_PROTOCOL_MODE,
                        [this](platform::CmdUI& ui) { ui.Enable(!m_bHidReadPending); });
    m_commands.onCommand(ID_HID_SET_PROTOCOL_MODE, [this] { OnHidSetProtocolMode(); });
    m_commands.onUpdate(ID_HID_SET_PROTOCOL_MODE,
                        [this](platform::CmdUI& ui) { ui.Enable(ValueHandle(Chr::ProtocolMode) != 0); });
    m_commands.onCommand(ID_HID_SEND_CONTROL_POINT, [this] { OnHidSendControlPoint(); });
    m_commands.onUpdate(ID_HID_SEND_CONTROL_POINT,
                        [this](platform::CmdUI& ui) { ui.Enable(ValueHandle(Chr::HidControlPoint) != 0); });
    m_commands.onCommand(ID_HID_GET_OUTPUT_REPORT, [this] { OnHidGetOutputReport(); });
    m_commands.onCommand(ID_HID_GET_FEATURE_REPORT, [this] { OnHidGetFeatureReport(); });
    m_commands.onCommand(ID_HID_SET_OUTPUT_REPORT, [this] { OnHidSetOutputReport(); });
    m_commands.onCommand(ID_HID_SET_FEATURE_REPORT, [this] { OnHidSetFeatureReport(); });
}

// A walk while the window is open (the peer selected again) keeps what the Report References said:
// the window is not opened again, so they are not read again.
bool CMainFrame::FindHidHandles(BleDeviceRecord& /*peer*/, const BleServiceEntry& service) {
    if (!IsService16(service, ServiceUuid::HumanInterfaceDevice))
        return false;
    for (const uint16_t characteristic :
         {Chr::HidControlPoint, Chr::HidInformation, Chr::ProtocolMode, Chr::ReportMap,
          Chr::BootMouseInputReport, Chr::BootKeyboardInputReport})
        m_valueHandles[characteristic] = BleDeviceRecord::GetHandle16(service, characteristic, false);
    for (const uint16_t characteristic : {Chr::BootMouseInputReport, Chr::BootKeyboardInputReport})
        m_configHandles[characteristic] = BleDeviceRecord::GetHandle16(service, characteristic, true);

    const std::map<uint16_t, HidReportEntry> known =
        m_pHid ? m_hidReports : std::map<uint16_t, HidReportEntry>{};
    ClearHidTables();
    const auto [first, last] = service.characteristics.equal_range(MakeUuid16(Chr::Report));
    for (auto it = first; it != last; ++it) {
        const BleCharacteristicEntry& report = it->second;
        for (const BleDescriptorEntry& descriptor : report.descriptors) {
            if (!IsReportReference(descriptor))
                continue;
            m_hidReferences[descriptor.handle] = report.valueHandle;
            const auto before = known.find(report.valueHandle);
            HidReportEntry entry = before != known.end() ? before->second : HidReportEntry{};
            entry.configHandle = report.configHandle;
            m_hidReports[report.valueHandle] = entry;
        }
    }
    return true;
}

void CMainFrame::OpenHidWindow(const BleDeviceRecord& peer) {
    if (m_pHid || peer.appearance == kAppearanceSteeringWheel ||
        !peer.services.contains(MakeUuid16(ServiceUuid::HumanInterfaceDevice)))
        return;
    m_pHid = new CHidCtrl();
    m_pHid->Create(m_mdiArea, &m_router, &m_commands);
    RequestEncryption();
    bool queued = false;
    for (const uint16_t characteristic : {Chr::ReportMap, Chr::HidInformation, Chr::ProtocolMode}) {
        queued |= ValueHandle(characteristic) != 0;
        QueueRead(peer.cid, ValueHandle(characteristic));
    }
    // "Get" waits only for a read that was queued, or nothing would ever enable it again.
    m_bHidReadPending |= queued;
    for (const auto& [reference, report] : m_hidReferences)
        QueueRead(peer.cid, reference);
}

void CMainFrame::ClearHidTables() {
    m_hidReports.clear();
    m_hidReferences.clear();
}

void CMainFrame::ClearHidPending() {
    m_bHidReadPending = false;
}

bool CMainFrame::OnHidRead(uint16_t handle, std::span<const uint8_t> value) {
    if (!m_pHid)
        return false;
    if (handle == ValueHandle(Chr::ReportMap)) {
        m_pHid->ShowReportMap(value);
    } else if (handle == ValueHandle(Chr::HidInformation)) {
        m_pHid->ShowHidInformation(HidInformation::decode(value));
    } else if (handle == ValueHandle(Chr::ProtocolMode)) {
        if (value.empty())
            AddLogMessage(QStringLiteral("Protocol Mode value is empty; ignored."));
        else
            m_pHid->ShowProtocolMode(value[0]);
    } else {
        return false;
    }
    return true;
}

// Report References name their report and subscribe it; reports read by "Get Value" are shown.
void CMainFrame::OnHidReportRead(uint16_t handle, std::span<const uint8_t> value) {
    const BleDeviceRecord* peer = ConnectedRecord();
    if (!m_pHid || !peer)
        return;
    for (const auto& [reference, valueHandle] : m_hidReferences) {
        if (reference != handle)
            continue;
        HidReportEntry& report = m_hidReports[valueHandle];
        const std::optional<HidReportReference> decoded = HidReportReference::decode(value);
        if (!decoded)
            AddLogMessage(
                QStringLiteral("Report Reference %1 of %2 bytes is too short; its report stays unknown.")
                    .arg(handle)
                    .arg(value.size()));
        report.id = decoded ? decoded->id : 0;
        report.type = decoded ? decoded->type : HidReportType::Unknown;
        if (report.type == HidReportType::Output)
            m_pHid->AddReportId(report.id, IDC_HID_OUTPUT_REPORT_ID);
        if (report.type == HidReportType::Feature)
            m_pHid->AddReportId(report.id, IDC_HID_FEATURE_REPORT_ID);
        if (report.configHandle != 0)
            WriteClientConfiguration(peer->cid, valueHandle, report.configHandle, kNotifications);
    }
    const auto report = m_hidReports.find(handle);
    if (report == m_hidReports.end())
        return;
    if (report->second.type == HidReportType::Output)
        m_pHid->ShowBytesDecimal(value, IDC_HID_OUTPUT_REPORT);
    if (report->second.type == HidReportType::Feature)
        m_pHid->ShowBytesDecimal(value, IDC_HID_FEATURE_REPORT);
}

void CMainFrame::OnHidNotification(uint16_t handle, std::span<const uint8_t> value) {
    if (!m_pHid)
        return;
    if (const auto report = m_hidReports.find(handle); report != m_hidReports.end())
        m_pHid->ShowReport(report->second.id, report->second.type, value);
    if (handle == ValueHandle(Chr::BootKeyboardInputReport) ||
        handle == ValueHandle(Chr::BootMouseInputReport))
        m_pHid->ShowReport(0, HidReportType::Boot, value);
}

void CMainFrame::OnHidProtocolModeWritten(uint16_t handle, uint16_t status) {
    if (status != 0 || !m_pHid || handle != ValueHandle(Chr::ProtocolMode))
        return;
    if (m_pHid->IsBootProtocolChecked())
        EnableBootReportNotifications();
    else
        EnableReportNotifications();
}

void CMainFrame::EnableReportNotifications() {
    const BleDeviceRecord* peer = ConnectedRecord();
    if (!peer || !m_pHid)
        return;
    for (const auto& [valueHandle, report] : m_hidReports)
        if (valueHandle != 0 && report.configHandle != 0)
            WriteClientConfiguration(peer->cid, valueHandle, report.configHandle, kNotifications);
}

void CMainFrame::EnableBootReportNotifications() {
    const BleDeviceRecord* peer = ConnectedRecord();
    if (!peer || !m_pHid)
        return;
    for (const uint16_t boot : {Chr::BootMouseInputReport, Chr::BootKeyboardInputReport})
        if (ConfigHandle(boot) != 0)
            WriteClientConfiguration(peer->cid, ValueHandle(boot), ConfigHandle(boot), kNotifications);
}

void CMainFrame::OnHidGetProtocolMode() {
    const BleDeviceRecord* peer = ConnectedRecord();
    const uint16_t protocolMode = ValueHandle(Chr::ProtocolMode);
    if (!peer || protocolMode == 0)
        return;
    m_bHidReadPending = true;
    QueueRead(peer->cid, protocolMode);
}

void CMainFrame::OnHidSetProtocolMode() {
    const BleDeviceRecord* peer = ConnectedRecord();
    if (!peer || !m_pHid)
        return;
    const uint8_t mode = m_pHid->IsBootProtocolChecked() ? HidProtocolMode::Boot : HidProtocolMode::Report;
    WriteCharacteristic(peer->cid, ValueHandle(Chr::ProtocolMode), 1, &mode, GattWriteRequest::kWriteCommand);
}

void CMainFrame::OnHidSendControlPoint() {
    const BleDeviceRecord* peer = ConnectedRecord();
    if (!peer || !m_pHid)
        return;
    const uint8_t command = m_pHid->SelectedControlCommand();
    WriteCharacteristic(peer->cid, ValueHandle(Chr::HidControlPoint), 1, &command,
                        GattWriteRequest::kWriteCommand);
}

void CMainFrame::OnHidGetOutputReport() {
    OnHidGetReport(IDC_HID_OUTPUT_REPORT_ID, HidReportType::Output);
}

void CMainFrame::OnHidGetFeatureReport() {
    OnHidGetReport(IDC_HID_FEATURE_REPORT_ID, HidReportType::Feature);
}

void CMainFrame::OnHidSetOutputReport() {
    OnHidSetReport(IDC_HID_OUTPUT_REPORT_ID, IDC_HID_OUTPUT_REPORT, HidReportType::Output);
}

void CMainFrame::OnHidSetFeatureReport() {
    OnHidSetReport(IDC_HID_FEATURE_REPORT_ID, IDC_HID_FEATURE_REPORT, HidReportType::Feature);
}

void CMainFrame::OnHidGetReport(UINT comboId, uint8_t type) {
    if (!m_pHid)
        return;
    const std::optional<uint8_t> id = m_pHid->GetSelectedReportId(comboId);
    if (!id) {
        AddLogMessage(QStringLiteral("Invalid report ID selected.\n"));
        return;
    }
    for (const auto& [valueHandle, report] : m_hidReports)
        if (report.id == *id && report.type == type)
            ReadCharacteristic(valueHandle);
}

void CMainFrame::OnHidSetReport(UINT comboId, UINT editId, uint8_t type) {
    const BleDeviceRecord* peer = ConnectedRecord();
    if (!m_pHid || !peer)
        return;
    const std::optional<std::vector<uint8_t>> bytes = m_pHid->ParseHexBytes(editId);
    if (!bytes)
        return;
    const std::optional<uint8_t> id = m_pHid->GetSelectedReportId(comboId);
    if (!id) {
        AddLogMessage(QStringLiteral("Invalid report ID selected.\n"));
        return;
    }
    for (const auto& [valueHandle, report] : m_hidReports)
        if (report.id == *id && report.type == type)
            WriteCharacteristic(peer->cid, valueHandle, static_cast<uint8_t>(bytes->size()), bytes->data(),
                                GattWriteRequest::kWriteRequest);
}
