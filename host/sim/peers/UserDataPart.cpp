// User Data service: the users a simulated household scale keeps, reached through its User Control
// Point.
#include "UserDataPart.h"

#include "../../core/AttProtocol.h"
#include "../AttServer.h"
#include "PeerModel.h"

#include <veyrauuids.h>

namespace orv::sim {
namespace {

constexpr uint16_t kFirstName = CharacteristicUuid::FirstName;
constexpr uint16_t kDatabaseChangeIncrement = CharacteristicUuid::DatabaseChangeIncrement;
constexpr uint16_t kUserIndex = CharacteristicUuid::UserIndex;
constexpr uint16_t kUserControlPoint = CharacteristicUuid::UserControlPoint;

constexpr uint8_t kRegisterNewUser = 0x01;
constexpr uint8_t kConsent = 0x02;
constexpr uint8_t kDeleteUserData = 0x03;
constexpr uint8_t kResponseCode = 0x20;
constexpr uint8_t kSuccess = 0x01;
constexpr uint8_t kOpCodeNotSupported = 0x02;
constexpr uint8_t kInvalidParameter = 0x03;
constexpr uint8_t kOperationFailed = 0x04;
constexpr uint8_t kUserNotAuthorized = 0x05;

uint16_t get16(std::span<const uint8_t> bytes, size_t offset) {
    return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

std::vector<uint8_t> le32(uint32_t value) {
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
            static_cast<uint8_t>(value >> 24)};
}

} // namespace

UserDataPart::UserDataPart(PeerContext& context)
    : m_context(context),
      m_controlPoint(context, ServiceUuid::UserData, kUserControlPoint,
                     {kImproperlyConfigured, kProcedureAlreadyInProgress},
                     [this](const std::vector<uint8_t>& request) { onRequest(request); }) {
    m_users[0] = User{1234, {'A', 'n', 'n'}, 0};
}

GattServiceDescription UserDataPart::service() const {
    GattServiceDescription service;
    service.uuid = MakeUuid16(ServiceUuid::UserData);
    service.characteristics = {
        characteristic(kFirstName, kPropertyRead | kPropertyWrite),
        characteristic(kDatabaseChangeIncrement, kPropertyRead | kPropertyWrite | kPropertyNotify),
        characteristic(kUserIndex, kPropertyRead),
        characteristic(kUserControlPoint, kPropertyWrite | kPropertyIndicate),
    };
    service.characteristics[2].value = {kNoUser};
    return service;
}

bool UserDataPart::isUserValue(uint16_t handle) const {
    return handle == m_context.valueHandle(kFirstName) ||
           handle == m_context.valueHandle(kDatabaseChangeIncrement);
}

uint8_t UserDataPart::onRead(uint16_t handle) const {
    return isUserValue(handle) && !m_consented ? kUserDataAccessNotPermitted : 0;
}

uint8_t UserDataPart::onWrite(uint16_t handle, std::span<const uint8_t> value) {
    if (handle == m_context.valueHandle(kUserControlPoint)) {
        return m_controlPoint.onWrite(handle, value);
    }
    if (!isUserValue(handle)) {
        return 0;
    }
    if (!m_consented) {
        return kUserDataAccessNotPermitted;
    }
    User& user = *m_users[*m_consented];
    if (handle == m_context.valueHandle(kFirstName)) {
        user.firstName.assign(value.begin(), value.end());
        return 0;
    }
    if (value.size() != 4) {
        return host::att::kInvalidAttributeValueLength;
    }
    user.changeIncrement = static_cast<uint32_t>(get16(value, 0) | (get16(value, 2) << 16));
    return 0;
}

void UserDataPart::onDisconnect() {
    m_controlPoint.reset();
    m_consented.reset();
    showConsentedUser();
}

void UserDataPart::onRequest(const std::vector<uint8_t>& request) {
    const std::span<const uint8_t> parameters = std::span(request).subspan(request.empty() ? 0 : 1);
    const uint8_t opCode = request.empty() ? 0 : request[0];
    switch (opCode) {
    case kRegisterNewUser:
        registerUser(parameters);
        return;
    case kConsent:
        consent(parameters);
        return;
    case kDeleteUserData:
        deleteUserData();
        return;
    default:
        respond(opCode, kOpCodeNotSupported);
        return;
    }
}

void UserDataPart::registerUser(std::span<const uint8_t> parameters) {
    if (parameters.size() != 2 || get16(parameters, 0) > kMaxConsentCode) {
        respond(kRegisterNewUser, kInvalidParameter);
        return;
    }
    for (size_t index = 0; index < kSlots; ++index) {
        if (!m_users[index]) {
            m_users[index] = User{get16(parameters, 0), {}, 0};
            respond(kRegisterNewUser, kSuccess, static_cast<uint8_t>(index));
            return;
        }
    }
    respond(kRegisterNewUser, kOperationFailed);
}

void UserDataPart::consent(std::span<const uint8_t> parameters) {
    if (m_context.now() < m_lockedUntil) {
        respond(kConsent, kOperationFailed);
        return;
    }
    if (parameters.size() != 3 || parameters[0] >= kSlots || !m_users[parameters[0]]) {
        respond(kConsent, kInvalidParameter);
        return;
    }
    if (m_users[parameters[0]]->consentCode != get16(parameters, 1)) {
        if (++m_wrongCodes >= kWrongCodesBeforeLockout) {
            m_wrongCodes = 0;
            m_lockedUntil = m_context.now() + kLockoutMs;
        }
        respond(kConsent, kUserNotAuthorized);
        return;
    }
    m_wrongCodes = 0;
    m_consented = parameters[0];
    showConsentedUser();
    respond(kConsent, kSuccess);
}

void UserDataPart::deleteUserData() {
    if (!m_consented) {
        respond(kDeleteUserData, kUserNotAuthorized);
        return;
    }
    m_users[*m_consented].reset();
    m_consented.reset();
    showConsentedUser();
    respond(kDeleteUserData, kSuccess);
}

void UserDataPart::respond(uint8_t requestOpCode, uint8_t result, std::optional<uint8_t> userIndex) {
    std::vector<uint8_t> response{kResponseCode, requestOpCode, result};
    if (userIndex) {
        response.push_back(*userIndex);
    }
    m_controlPoint.respond(response);
}

void UserDataPart::showConsentedUser() {
    const User* user = m_consented ? &*m_users[*m_consented] : nullptr;
    AttServer& attributes = m_context.attributes();
    if (PeerAttribute* name = attributes.attribute(m_context.valueHandle(kFirstName))) {
        name->value = user ? user->firstName : std::vector<uint8_t>{};
    }
    if (PeerAttribute* increment = attributes.attribute(m_context.valueHandle(kDatabaseChangeIncrement))) {
        increment->value = user ? le32(user->changeIncrement) : std::vector<uint8_t>{};
    }
    if (PeerAttribute* index = attributes.attribute(m_context.valueHandle(kUserIndex))) {
        index->value = {m_consented.value_or(kNoUser)};
    }
}

} // namespace orv::sim
