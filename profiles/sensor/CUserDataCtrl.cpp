#include "profiles/sensor/CUserDataCtrl.h"

#include "app/COrvBleDemoApp.h"
#include "gatt/BleDeviceRecord.h"
#include "gatt/GattWriteRequest.h"
#include "gatt/UserData.h"
#include "gatt/Uuids.h"
#include "mainframe/CMainFrame.h"
#include "platform/DialogItems.h"
#include "platform/StringTable.h"
#include "profiles/base/ProfileLog.h"
#include "profiles/sensor/UserDataIds.h"
#include "res/resource.h"
#include "ui_UserDataPane.h"

#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {

[[maybe_unused]] const bool kPaneRegistered =
    CProfileCtrlView::RegisterTemplate(IDD_USER_DATA, [](QWidget* pane) {
        Ui::UserDataPane form;
        form.setupUi(pane);
    });

namespace Chr = CharacteristicUuid;
namespace Op = UserControlPoint;
namespace Result = UserControlPointResult;
using State = TypedNumber::State;

constexpr uint8_t kIndications = 2;
constexpr uint32_t kMaxUserIndex = 0xFF;
constexpr uint32_t kMaxConsentCode = 0xFFFF;
constexpr qsizetype kMaxNameBytes = 262;

} // namespace

CUserDataCtrl::CUserDataCtrl(QWidget* parent)
    : CChildFrame(parent), m_timers([this](UINT id) { OnTimer(id); }) {}

CUserDataCtrl::~CUserDataCtrl() = default;

void CUserDataCtrl::OnCreate() {
    m_wndView.Create(IDD_USER_DATA, PaneParent());
    setWindowTitle(platform::LoadString(IDS_USER_DATA));
    m_status = qobject_cast<QLabel*>(platform::GetDlgItem(this, IDC_UD_STATUS));
    for (const UINT id : {IDC_UD_REGISTER_CODE, IDC_UD_CONSENT_INDEX, IDC_UD_CONSENT_CODE})
        if (auto* edit = qobject_cast<QLineEdit*>(platform::GetDlgItem(this, id)))
            edit->setValidator(
                new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));

    platform::CommandTarget* commands = GetCommandTarget();
    commands->onCommand(ID_UD_REGISTER, [this] { OnRegister(); });
    commands->onCommand(ID_UD_CONSENT, [this] { OnConsent(); });
    commands->onCommand(ID_UD_UPDATE_NAME, [this] { OnUpdateName(); });
    commands->onCommand(ID_UD_DELETE_USER, [this] { OnDeleteUser(); });
    commands->onUpdate(ID_UD_REGISTER,
                       [this](platform::CmdUI& ui) { ui.Enable(m_registrationDisabled != 1); });
    commands->onUpdate(ID_UD_CONSENT, [this](platform::CmdUI& ui) { ui.Enable(m_consentDisabled != 1); });
    for (const UINT id : {ID_UD_REGISTER, ID_UD_CONSENT, ID_UD_UPDATE_NAME, ID_UD_DELETE_USER})
        BindCommandButton(id);
    InitScrollMetrics(&m_wndView);
}

void CUserDataCtrl::InitProfile(const BleDeviceRecord& peer) {
    if (!m_initialised) {
        m_initialised = true;
        m_cid = peer.cid;
        m_user = UserRecord();
    }
    BleServiceEntry service;
    peer.FindService(MakeUuid16(ServiceUuid::UserData), service);
    const uint16_t controlPoint = BleDeviceRecord::GetHandle16(service, Chr::UserControlPoint, false);
    const uint16_t config = BleDeviceRecord::GetHandle16(service, Chr::UserControlPoint, true);
    m_valueHandles[Chr::UserControlPoint] = controlPoint;
    if (config != 0)
        if (CMainFrame* mainFrame = AfxGetMainWnd())
            mainFrame->WriteClientConfiguration(m_cid, controlPoint, config, kIndications);
    for (const uint16_t uuid : {Chr::FirstName, Chr::DatabaseChangeIncrement})
        if (const uint16_t handle = BleDeviceRecord::GetHandle16(service, uuid, false))
            m_valueHandles[uuid] = handle;
    update();
}

// ---- Buttons ------------------------------------------------------------------------------------

void CUserDataCtrl::OnRegister() {
    if (!m_valueHandles.contains(Chr::UserControlPoint))
        return;
    const TypedNumber code = TypedNumber::parse(EditText(IDC_UD_REGISTER_CODE), kMaxConsentCode);
    if (code.state == State::Empty) {
        SetStatus(IDS_UD_ENTER_VALID_VALUE);
        return;
    }
    if (code.state == State::OutOfRange) {
        SetStatus(IDS_UD_CONSENT_CODE_SIZE);
        SetEditText(IDC_UD_REGISTER_CODE, QString());
        return;
    }
    SetStatus(QString());
    LogProfileLine(QString::asprintf("Code generated = 0x%x\n", code.value));
    WriteControlPoint(RegisterNewUserRequest(static_cast<uint16_t>(code.value)));
}

void CUserDataCtrl::OnConsent() {
    if (!m_valueHandles.contains(Chr::UserControlPoint))
        return;
    const TypedNumber index = TypedNumber::parse(EditText(IDC_UD_CONSENT_INDEX), kMaxUserIndex);
    const TypedNumber code = TypedNumber::parse(EditText(IDC_UD_CONSENT_CODE), kMaxConsentCode);
    if (index.state == State::Empty || code.state == State::Empty) {
        SetStatus(IDS_UD_ENTER_VALID_VALUE);
        return;
    }
    if (index.state == State::OutOfRange && code.state == State::OutOfRange) {
        SetStatus(IDS_UD_SIZES);
        SetEditText(IDC_UD_CONSENT_INDEX, QString());
        SetEditText(IDC_UD_CONSENT_CODE, QString());
        return;
    }
    if (code.state == State::OutOfRange || index.state == State::OutOfRange) {
        SetStatus(code.state == State::OutOfRange ? IDS_UD_CONSENT_CODE_SIZE : IDS_UD_USER_ID_SIZE);
        return;
    }
    SetStatus(QString());
    LogProfileLine(QString::asprintf("User ID sent = 0x%x\n", index.value));
    LogProfileLine(QString::asprintf("Code sent = 0x%x\n", code.value));
    m_user.index = static_cast<uint8_t>(index.value);
    m_user.changeIncrement = 0;
    m_user.firstName.clear();
    WriteControlPoint(ConsentRequest(m_user.index, static_cast<uint16_t>(code.value)));
}

void CUserDataCtrl::OnUpdateName() {
    const std::vector<uint8_t> name = FirstNameValue(EditText(IDC_UD_FIRST_NAME));
    if (name.empty()) {
        SetStatus(IDS_UD_ENTER_VALID_VALUE);
        return;
    }
    if (const uint16_t handle = Handle(Chr::FirstName))
        Write(handle, name);
}

void CUserDataCtrl::OnDeleteUser() {
    WriteControlPoint(DeleteUserDataRequest());
}

void CUserDataCtrl::EnableRegistration(bool enable) {
    for (const UINT id : {IDC_UD_REGISTER_GROUP, IDC_UD_REGISTER_CODE})
        if (QWidget* control = platform::GetDlgItem(this, id))
            control->setEnabled(enable);
    m_registrationDisabled = enable ? 0 : 1;
}

void CUserDataCtrl::EnableConsent(bool enable) {
    for (const UINT id : {IDC_UD_CONSENT_GROUP, IDC_UD_CONSENT_INDEX, IDC_UD_CONSENT_CODE})
        if (QWidget* control = platform::GetDlgItem(this, id))
            control->setEnabled(enable);
    m_consentDisabled = enable ? 0 : 1;
}

// ---- Results ------------------------------------------------------------------------------------

void CUserDataCtrl::OnReadResponse(uint16_t handle, std::span<const uint8_t> value) {
    if (handle == 0 || value.empty())
        return;
    if (handle == Handle(Chr::FirstName)) {
        QByteArray name(reinterpret_cast<const char*>(value.data()),
                        std::min<qsizetype>(static_cast<qsizetype>(value.size()), kMaxNameBytes));
        if (const qsizetype zero = name.indexOf('\0'); zero >= 0)
            name.truncate(zero);
        m_user.firstName = name;
        SetEditText(IDC_UD_FIRST_NAME, FirstNameText(value));
    } else if (handle == Handle(Chr::DatabaseChangeIncrement)) {
        const auto increment = DatabaseChangeIncrement(value);
        if (!increment) {
            LogProfileLine(QStringLiteral("Database Change Increment of %1 bytes is too short; ignored.")
                               .arg(value.size()));
            return;
        }
        m_user.changeIncrement = *increment;
        SetEditText(IDC_UD_CHANGES, QString::number(*increment));
    }
}

void CUserDataCtrl::OnWriteResponse(uint16_t handle, uint16_t status) {
    if (handle == 0)
        return;
    if (handle == Handle(Chr::FirstName)) {
        if (status != 0) {
            SetStatus(IDS_UD_ACCESS_NOT_PERMITTED);
            return;
        }
        Read(handle);
        ++m_user.changeIncrement;
        const uint32_t increment = m_user.changeIncrement;
        const uint8_t bytes[] = {static_cast<uint8_t>(increment), static_cast<uint8_t>(increment >> 8),
                                 static_cast<uint8_t>(increment >> 16),
                                 static_cast<uint8_t>(increment >> 24)};
        if (const uint16_t incrementHandle = Handle(Chr::DatabaseChangeIncrement))
            Write(incrementHandle, bytes);
    } else if (handle == Handle(Chr::DatabaseChangeIncrement)) {
        if (status != 0) {
            SetStatus(IDS_UD_ACCESS_NOT_PERMITTED);
            return;
        }
        SetStatus(IDS_UD_NAME_UPDATED);
        SetEditText(IDC_UD_CHANGES, QString::number(m_user.changeIncrement));
    } else if (handle == Handle(Chr::UserControlPoint) && status == 0) {
        m_responseTimer = m_timers.setTimer(TIMER_UD_RESPONSE, kResponseTimeoutMs);
    }
}

uint32_t CUserDataCtrl::OnControlPointIndication(uint16_t handle, std::span<const uint8_t> value) {
    if (handle == 0 || handle != Handle(Chr::UserControlPoint) || value.size() < 2)
        return 1;
    const auto response = UserControlPointResponse::decode(value);
    if (!response) {
        LogProfileLine(QStringLiteral("User Control Point response of %1 bytes is too short; ignored.")
                           .arg(value.size()));
        return 1;
    }
    LogProfileLine(QString::asprintf("resp code = %d, req code = %d, value = %d\n", response->responseCode,
                                     response->requestOpCode, response->result));
    if (response->responseCode != Op::ResponseCode)
        return 1;
    if (m_responseTimer != 0) {
        m_timers.killTimer(TIMER_UD_RESPONSE);
        m_responseTimer = 0;
    }
    switch (response->requestOpCode) {
    case Op::RegisterNewUser:
        OnRegisterResponse(*response);
        return 1;
    case Op::Consent:
        OnConsentResponse(response->result);
        return 1;
    case Op::DeleteUserData:
        if (response->result != Result::Success) {
            SetStatus(IDS_UD_NOT_AUTHORIZED);
            return 1;
        }
        EnableConsent(true);
        EnableRegistration(true);
        m_user.index = kNoUser;
        for (const UINT id : {IDC_UD_USER_INDEX, IDC_UD_FIRST_NAME, IDC_UD_CHANGES})
            SetEditText(id, QString());
        SetStatus(IDS_UD_USER_DELETED);
        return 0;
    default:
        SetStatus(IDS_UD_OPCODE_NOT_SUPPORTED);
        return 1;
    }
}

void CUserDataCtrl::OnRegisterResponse(const UserControlPointResponse& response) {
    switch (response.result) {
    case Result::Success:
        if (!response.userIndex) {
            LogProfileLine(QStringLiteral("Register New User response without the user index; ignored."));
            return;
        }
        SetStatus(QString::asprintf("Success: User registered with user id = %d", *response.userIndex));
        break;
    case Result::InvalidParameter:
        SetStatus(IDS_UD_CODE_OUT_OF_RANGE);
        break;
    case Result::OperationFailed:
        SetStatus(IDS_UD_NO_SPACE);
        break;
    default:
        break;
    }
    SetEditText(IDC_UD_REGISTER_CODE, QString());
}

void CUserDataCtrl::OnConsentResponse(uint8_t result) {
    if (result == Result::Success) {
        SetStatus(IDS_UD_CONSENT_PROVIDED);
        EnableConsent(false);
        EnableRegistration(false);
        SetEditText(IDC_UD_USER_INDEX, QString::number(m_user.index));
        for (const uint16_t uuid : {Chr::FirstName, Chr::DatabaseChangeIncrement})
            if (const uint16_t handle = Handle(uuid))
                Read(handle);
    } else {
        m_user.index = kNoUser;
        if (result == Result::InvalidParameter)
            SetStatus(IDS_UD_OUT_OF_RANGE);
        else if (result == Result::OperationFailed)
            SetStatus(IDS_UD_CONSENT_TRIES_EXCEEDED);
        else if (result == Result::UserNotAuthorized)
            SetStatus(IDS_UD_NOT_AUTHORIZED);
    }
    SetEditText(IDC_UD_CONSENT_INDEX, QString());
    SetEditText(IDC_UD_CONSENT_CODE, QString());
}

void CUserDataCtrl::OnTimer(UINT id) {
    if (id == TIMER_UD_RESPONSE)
        OnResponseTimeout();
}

void CUserDataCtrl::OnResponseTimeout() {
    m_timers.killTimer(TIMER_UD_RESPONSE);
    m_responseTimer = 0;
    if (CMainFrame* mainFrame = AfxGetMainWnd())
        mainFrame->DisconnectSelectedDevice();
}

// ---- Helpers ------------------------------------------------------------------------------------

void CUserDataCtrl::WriteControlPoint(const std::vector<uint8_t>& request) {
    Write(Handle(Chr::UserControlPoint), request);
}

void CUserDataCtrl::Write(uint16_t handle, std::span<const uint8_t> bytes) {
    if (CMainFrame* mainFrame = AfxGetMainWnd())
        mainFrame->WriteCharacteristic(m_cid, handle, static_cast<uint8_t>(bytes.size()), bytes.data(),
                                       GattWriteRequest::kWriteRequest);
}

void CUserDataCtrl::Read(uint16_t handle) {
    if (CMainFrame* mainFrame = AfxGetMainWnd())
        mainFrame->ReadCharacteristic(handle);
}

uint16_t CUserDataCtrl::Handle(uint16_t uuid) const {
    const auto found = m_valueHandles.find(uuid);
    return found == m_valueHandles.end() ? 0 : found->second;
}

void CUserDataCtrl::SetStatus(const QString& text) {
    m_wndView.ShowText(m_status, text);
}

void CUserDataCtrl::SetStatus(UINT stringId) {
    SetStatus(platform::LoadString(stringId));
}

QString CUserDataCtrl::EditText(UINT id) const {
    return platform::GetDlgItemText(this, id);
}

void CUserDataCtrl::SetEditText(UINT id, const QString& text) {
    platform::SetDlgItemText(this, id, text);
}
