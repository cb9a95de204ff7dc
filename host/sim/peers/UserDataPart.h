// User Data service: the users a simulated household scale keeps, reached through its User Control
// Point.
#pragma once

#include "../World.h"
#include "IndicatedControlPoint.h"
#include "PeerContext.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace orv::sim {

// The User Data service a scale model serves beside its own: User Control Point (write, indicate),
// First Name and Database Change Increment (read, write; the increment also notifies) and User Index
// (read). Four user slots, kept while the world runs; slot 0 holds "Ann" with consent code 1234.
// Register New User takes a code of at most 9999 (else Invalid Parameter; a full table gives
// Operation Failed) and answers [20 01 01 index]. Consent to a user: an unknown index gives Invalid
// Parameter, a wrong code User Not Authorized, and after three wrong codes every consent gives
// Operation Failed for one virtual minute. Delete User Data (the consented user's slot) needs consent
// (else User Not Authorized). The user's name and increment answer ATT 0x80 to a client without
// consent on this link; consent ends with the link. Control-point writes are refused with 0xFD while
// indications are off and 0xFE while a request is being answered.
class UserDataPart {
public:
    static constexpr size_t kSlots = 4;
    static constexpr uint16_t kMaxConsentCode = 9999;
    static constexpr int kWrongCodesBeforeLockout = 3;
    static constexpr uint64_t kLockoutMs = 60000;
    static constexpr uint8_t kUserDataAccessNotPermitted = 0x80;
    static constexpr uint8_t kImproperlyConfigured = 0xFD;
    static constexpr uint8_t kProcedureAlreadyInProgress = 0xFE;
    static constexpr uint8_t kNoUser = 0xFF;

    explicit UserDataPart(PeerContext& context);

    GattServiceDescription service() const;
    // For the model's hooks: 0 when the handle is not the service's or the access is allowed, else
    // the ATT error.
    uint8_t onWrite(uint16_t handle, std::span<const uint8_t> value);
    uint8_t onRead(uint16_t handle) const;
    void onDisconnect();
    // The user the client on this link has consent for.
    std::optional<uint8_t> consentedUser() const { return m_consented; }

private:
    struct User {
        uint16_t consentCode = 0;
        std::vector<uint8_t> firstName;
        uint32_t changeIncrement = 0;
    };

    void onRequest(const std::vector<uint8_t>& request);
    void registerUser(std::span<const uint8_t> parameters);
    void consent(std::span<const uint8_t> parameters);
    void deleteUserData();
    void respond(uint8_t requestOpCode, uint8_t result, std::optional<uint8_t> userIndex = std::nullopt);
    // The user's values as the attributes serve them; empty without consent.
    void showConsentedUser();
    bool isUserValue(uint16_t handle) const;

    PeerContext& m_context;
    IndicatedControlPoint m_controlPoint;
    std::array<std::optional<User>, kSlots> m_users;
    std::optional<uint8_t> m_consented;
    int m_wrongCodes = 0;
    uint64_t m_lockedUntil = 0; // consents give Operation Failed until then
};

} // namespace orv::sim
