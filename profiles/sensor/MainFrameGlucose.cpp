// The main window's part of the glucose profile: its handles, its window's opening, the routing of its
// records, context and Record Access Control Point answers, and the record-access commands with the
// pending flag that keeps one procedure at a time.
#include "mainframe/CMainFrame.h"

#include "gatt/Glucose.h"
#include "gatt/Uuids.h"
#include "gatt/ValueText.h"
#include "platform/ui/CmdUI.h"
#include "profiles/sensor/CGlucoseCtrl.h"
#include "profiles/sensor/GlucoseIds.h"

#include <ctime>

namespace {
namespace Chr = CharacteristicUuid;

constexpr uint8_t kNotifications = 1;
constexpr uint8_t kIndications = 2;
} // namespace

void CMainFrame::MapGlucoseCommands() {
    m_commands.onCommand(ID_GLUCOSE_READ_ALL, [this] { OnRecordAccessAll(RacpOpCode::ReportStoredRecords); });
    m_commands.onCommand(ID_GLUCOSE_DELETE_ALL,
                         [this] { OnRecordAccessAll(RacpOpCode::DeleteStoredRecords); });
    m_commands.onCommand(ID_GLUCOSE_READ, [this] { OnRecordAccess(RacpOpCode::ReportStoredRecords, true); });
    m_commands.onCommand(ID_GLUCOSE_DELETE,
                         [this] { OnRecordAccess(RacpOpCode::DeleteStoredRecords, true); });
    m_commands.onCommand(ID_GLUCOSE_GET_COUNT,
                         [this] { OnRecordAccess(RacpOpCode::ReportNumberOfRecords, false); });
    m_commands.onCommand(ID_GLUCOSE_CANCEL_ALL, [this] { OnRecordAccessAbort(); });
    m_commands.onCommand(ID_GLUCOSE_CANCEL, [this] { OnRecordAccessAbort(); });
    for (const UINT id : {ID_GLUCOSE_READ_ALL, ID_GLUCOSE_DELETE_ALL, ID_GLUCOSE_GET_COUNT, ID_GLUCOSE_READ,
                          ID_GLUCOSE_DELETE})
        m_commands.onUpdate(id, [this](platform::CmdUI& ui) { ui.Enable(!IsRecordAccessPending()); });
    for (const UINT id : {ID_GLUCOSE_CANCEL_ALL, ID_GLUCOSE_CANCEL})
        m_commands.onUpdate(id, [this](platform::CmdUI& ui) { ui.Enable(IsRecordAccessPending()); });
}

bool CMainFrame::FindGlucoseHandles(BleDeviceRecord& /*peer*/, const BleServiceEntry& service) {
    if (!IsService16(service, ServiceUuid::Glucose))
        return false;
    for (const uint16_t characteristic : {Chr::GlucoseMeasurement, Chr::GlucoseMeasurementContext,
                                          Chr::GlucoseFeature, Chr::RecordAccessControlPoint})
        m_valueHandles[characteristic] = BleDeviceRecord::GetHandle16(service, characteristic, false);
    for (const uint16_t characteristic :
         {Chr::GlucoseMeasurement, Chr::GlucoseMeasurementContext, Chr::RecordAccessControlPoint})
        m_configHandles[characteristic] = BleDeviceRecord::GetHandle16(service, characteristic, true);
    return true;
}

void CMainFrame::OpenGlucoseWindow(const BleDeviceRecord& peer) {
    if (m_pGlucose || !peer.services.contains(MakeUuid16(ServiceUuid::Glucose)))
        return;
    m_pGlucose = new CGlucoseCtrl();
    m_pGlucose->Create(m_mdiArea, &m_router, &m_commands);
    QueueRead(peer.cid, ValueHandle(Chr::GlucoseFeature));
    for (const auto& [characteristic, value] : {std::pair{Chr::GlucoseMeasurement, kNotifications},
                                                {Chr::GlucoseMeasurementContext, kNotifications},
                                                {Chr::RecordAccessControlPoint, kIndications}})
        WriteClientConfiguration(peer.cid, ValueHandle(characteristic), ConfigHandle(characteristic), value);
}

bool CMainFrame::OnGlucoseRead(uint16_t handle, std::span<const uint8_t> value) {
    if (!m_pGlucose || handle != ValueHandle(Chr::GlucoseFeature))
        return false;
    AddLogMessage(QStringLiteral("Received Glucose Meter features: ") +
                  BytesToHexString(value.data(), static_cast<int>(value.size()), QStringLiteral(" "), false));
    return true;
}

void CMainFrame::OnGlucoseNotification(uint16_t handle, std::span<const uint8_t> value) {
    // The answer is recognised by the handle written, also after the handle tables were emptied; an
    // indication while no request is under way is ignored.
    if (IsRecordAccessPending() && handle == m_nRecordAccessHandle)
        OnRecordAccessResponse(value);
    if (!m_pGlucose)
        return;
    if (handle == ValueHandle(Chr::GlucoseMeasurement))
        OnGlucoseMeasurement(value);
    else if (handle == ValueHandle(Chr::GlucoseMeasurementContext))
        OnGlucoseContext(value);
}

void CMainFrame::OnGlucoseMeasurement(std::span<const uint8_t> value) {
    const auto measurement = GlucoseMeasurement::decode(value);
    if (!measurement) {
        AddLogMessage(
            QStringLiteral("Glucose Measurement of %1 bytes is too short; ignored.").arg(value.size()));
        return;
    }
    const std::tm time = ReceivedLocalTime(measurement->baseTime, std::time(nullptr));
    const GlucoseMeasurement& m = *measurement;
    if (m.concentration && m.status)
        m_pGlucose->AddMeasurementWithStatus(m.sequence, time, m.unit, m.location, m.type, *m.status,
                                             *m.concentration);
    else if (m.concentration)
        m_pGlucose->AddMeasurement(m.sequence, time, m.unit, m.location, m.type, *m.concentration);
    else if (m.status)
        m_pGlucose->AddMeasurementStatusOnly(m.sequence, time, *m.status);
    else
        m_pGlucose->AddMeasurementTimeOnly(m.sequence, time);
}

void CMainFrame::OnGlucoseContext(std::span<const uint8_t> value) {
    const auto context = GlucoseContext::decode(value);
    if (!context) {
        AddLogMessage(QStringLiteral("Glucose Measurement Context of %1 bytes is too short; ignored.")
                          .arg(value.size()));
        return;
    }
    for (const GlucoseContextItem& item : context->items)
        m_pGlucose->AddContextItem(context->sequence, item.kind, item.code, item.value);
}

void CMainFrame::OnRecordAccessResponse(std::span<const uint8_t> value) {
    ClearGlucosePending();
    const auto response = RacpResponse::decode(value);
    if (!response) {
        AddLogMessage(QStringLiteral("Record Access Control Point value of %1 bytes is too short; ignored.")
                          .arg(value.size()));
        return;
    }
    if (response->opCode == RacpOpCode::ResponseCode && response->operatorValue == RacpOperator::Null)
        AddLogMessage(QStringLiteral("Glucose operation result: ") +
                      QString::asprintf("%02X", response->responseCode));
    else if (response->opCode == RacpOpCode::NumberOfRecordsResponse && m_pGlucose)
        m_pGlucose->ShowRecordCount(response->count);
}

// A request that fails for good ends its procedure; a security refusal is resent and not seen here.
bool CMainFrame::OnGlucoseWritten(uint16_t handle, uint16_t status) {
    if (!IsRecordAccessPending() || handle != m_nRecordAccessHandle)
        return false;
    if (status != 0)
        ClearGlucosePending();
    return true;
}

void CMainFrame::ClearGlucosePending() {
    m_nRecordAccessHandle = 0;
}

bool CMainFrame::CanAccessRecords() const {
    return ConnectedRecord() && ValueHandle(Chr::RecordAccessControlPoint) != 0;
}

void CMainFrame::OnRecordAccessAll(uint8_t opCode) {
    if (!CanAccessRecords())
        return;
    if (m_pGlucose)
        m_pGlucose->ClearRecords();
    const uint8_t request[] = {opCode, RacpOperator::AllRecords};
    WriteRecordAccess(request);
}

void CMainFrame::OnRecordAccess(uint8_t opCode, bool clearRecords) {
    if (!m_pGlucose || !CanAccessRecords())
        return;
    std::vector<uint8_t> request{opCode};
    if (!m_pGlucose->BuildRacpOperator(request))
        return;
    if (clearRecords)
        m_pGlucose->ClearRecords();
    WriteRecordAccess(request);
}

void CMainFrame::OnRecordAccessAbort() {
    if (!CanAccessRecords())
        return;
    const uint8_t request[] = {RacpOpCode::Abort, RacpOperator::Null};
    WriteCharacteristic(ConnectedRecord()->cid, ValueHandle(Chr::RecordAccessControlPoint), sizeof request,
                        request, GattWriteRequest::kWriteRequest);
}

// Writes a request other than an abort to the control point; its answer ends the pending state.
void CMainFrame::WriteRecordAccess(std::span<const uint8_t> request) {
    const uint16_t controlPoint = ValueHandle(Chr::RecordAccessControlPoint);
    WriteCharacteristic(ConnectedRecord()->cid, controlPoint, static_cast<uint8_t>(request.size()),
                        request.data(), GattWriteRequest::kWriteRequest);
    m_nRecordAccessHandle = controlPoint;
}
